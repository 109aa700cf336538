// GALAXY: the scene object holding a procedurally generated spiral galaxy: one star field (its
// stars, their tree, colours and what drawing derives from them) and that field's copy on the
// GPU, through which the viewer draws it.
#pragma once

#include <cstdint>

#include "galaxy/galaxy_shape.h"
#include "galaxy/spiral_arms.h"
#include "galaxy/star_field.h"
#include "octree/array_octree.h"
#include "scene/object.h"

class GALAXY : public IOBJECT_T
{
  public:
    // Centred on the origin with size (extent, extent, extent); its field's tree covers
    // -extent to +extent on every axis.
    explicit GALAXY(int32_t extent);
    ~GALAXY() override;
    GALAXY(const GALAXY &) = delete;
    GALAXY &operator=(const GALAXY &) = delete;

    // Replaces the field by 901 * 3 * arms * density new stars (fewer when size_xz < 1; none,
    // with field.failure saying why, when SpiralPointLimit is 0) and indexes them. Returns 0.
    // Draws from the random stream as it stands: the shape's seed is not used here (see
    // GenerateGalaxy, which seeds first).
    int32_t Generate(const GALAXY_SHAPE_T &shape);
    int32_t Generate(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                     int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz,
                     int32_t density = 1);

    STAR_FIELD_T field;
    // The field's stars and cells on the GPU, once a window draws them; a field swapped in
    // brings a tree version the GPU has not seen, so it is uploaded again.
    ARRAY_OCTREE_GPU_T tree_gpu;
};

// Seeds the random stream with shape.seed, then generates: the same shape gives the same
// stars on every run. What the panel and the command line both use.
int32_t GenerateGalaxy(GALAXY *galaxy, const GALAXY_SHAPE_T &shape);
