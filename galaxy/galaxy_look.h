// The galaxy's look with DEBUG off: a star field's stars as soft coloured points through the
// tree's level of detail, and a faint glow over the dense core. The field holds everything
// derived from its stars (samples, draw-order colours); this record keeps only what the look
// itself needs across frames: this frame's selection and the glow's texture.
#pragma once

#include <cstdint>

#include "galaxy/star_field.h"
#include "octree/array_octree.h"
#include "octree/array_octree_lod.h"

// Stars closer together than this on screen, pixels, cannot be told apart: the soft points
// are at least 3 pixels wide and glow a little beyond. (At 2.5 a million stars drew 144,000
// points from the start view and the frame took five times the 24,327-star one.)
constexpr float GALAXY_LOOK_APART_PIXELS = 4.0f;

// Above this many stars DEBUG draws through the level of detail too: where stars crowd on
// screen a sample's square stands for them, and a cell narrower on screen than
// GALAXY_DEBUG_CELL_APART_PIXELS shows only the lines it shares with its coarser ancestors. A
// million stars' points and a deep 3-D grid seen through cost a software rasteriser six times
// an ordinary frame. Galaxies up to it are drawn star by star and line by line as always.
constexpr uint64_t GALAXY_DEBUG_DETAIL_STARS = 200000;
constexpr float GALAXY_DEBUG_CELL_APART_PIXELS = 24.0f;

struct GALAXY_LOOK_T
{
    LOD_SELECTION_T selection;
    Texture2D glow = {}; // made on the first draw
};

// Selects what to draw of field for view and frustum (its samples are made again only if its
// tree changed since they were). Returns the stars in the visible leaves, as
// CollectVisibleRanges does.
uint64_t SelectGalaxyLook(STAR_FIELD_T *field, const FRUSTUM_T &frustum, const LOD_VIEW_T &view, GALAXY_LOOK_T *look);

// galaxy_look_draw.cpp, inside BeginMode3D/EndMode3D: the selection through gpu (uploading what
// changed in field since gpu last saw it), then the core's glow.
void DrawGalaxyLook(const STAR_FIELD_T &field, ARRAY_OCTREE_GPU_T *gpu, Camera3D camera, GALAXY_LOOK_T *look);
// Releases the glow texture and nothing else (the galaxy owns the buffers).
void UnloadGalaxyLook(GALAXY_LOOK_T *look);
