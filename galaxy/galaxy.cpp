// Galaxy construction and release. Generation is the star field's; the galaxy only holds the
// field and its GPU copy, which lives in the GL context and so goes with the galaxy.
#include "galaxy/galaxy.h"

GALAXY::GALAXY(int32_t extent) : field(extent)
{
    position = Vector3{0.0f, 0.0f, 0.0f};
    size = Vector3{(float)extent, (float)extent, (float)extent};
}

GALAXY::~GALAXY()
{
    UnloadArrayOctreeGpu(&tree_gpu);
}

int32_t GALAXY::Generate(const GALAXY_SHAPE_T &shape)
{
    FillStarField(&field, shape);
    return 0;
}

int32_t GALAXY::Generate(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                         int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz,
                         int32_t density)
{
    return Generate(MakeGalaxyShape(arms, curvature, inner_radius, bulge_offset0, bulge_offset1, bulge_size, size_y,
                                    size_xz, density));
}

int32_t GenerateGalaxy(GALAXY *galaxy, const GALAXY_SHAPE_T &shape)
{
    MakeStarField(&galaxy->field, shape);
    return 0;
}
