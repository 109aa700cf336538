// The galaxy's look with DEBUG off: its stars as soft coloured points through the tree's level
// of detail, and a faint glow over the dense core. This record keeps what the look needs
// across frames: the samples, this frame's selection, the stars' colours in draw order.
#pragma once

#include <cstdint>
#include <vector>

#include "galaxy/galaxy.h"
#include "octree/array_octree_lod.h"

// Stars closer together than this on screen, pixels, cannot be told apart: the soft points
// are at least 3 pixels wide and glow a little beyond. (At 2.5 a million stars drew 144,000
// points from the start view and the frame took five times the 24,327-star one.)
constexpr float GALAXY_LOOK_APART_PIXELS = 4.0f;

// Colours are followed into draw order in blocks of this many: a block any of whose stars
// changed is uploaded again whole.
constexpr uint32_t GALAXY_LOOK_COLOR_BLOCK = 1024;

struct GALAXY_LOOK_T
{
    ARRAY_OCTREE_LOD_T lod;
    LOD_SELECTION_T selection;
    std::vector<Color> draw_colors; // star_colors in the tree's draw order
    uint32_t colors_stamp = 0;      // raised whenever draw_colors changes
    bool colors_made = false;
    uint32_t colors_version = 0;      // the galaxy's star_colors_version draw_colors follows
    uint32_t colors_tree_version = 0; // and the tree's version
    uint32_t colors_from_systems = 0; // and its star_colors_from_systems
    // Where each star is in draw order, for colours that change a few at a time.
    std::vector<uint32_t> places;
    bool places_made = false;
    uint32_t places_tree_version = 0;
    // The ranges of draw_colors that differ from those of colors_stamp - 1 (whole blocks);
    // meaningful only when colors_partial is set, otherwise every colour may have changed.
    LOD_RANGES_T colors_changed;
    bool colors_partial = false;
    std::vector<uint8_t> block_changed; // scratch, one per GALAXY_LOOK_COLOR_BLOCK
    Texture2D glow = {};                // made on the first draw
};

// Brings the samples and draw_colors up to date with the galaxy (a star with no colour yet
// takes StarColorFromPosition's), taking what the builder's worker prepared when it is there,
// then selects what to draw for view and frustum. Returns the stars in the visible leaves, as
// CollectVisibleRanges does.
uint64_t SelectGalaxyLook(GALAXY *galaxy, const FRUSTUM_T &frustum, const LOD_VIEW_T &view, GALAXY_LOOK_T *look);

// galaxy_look_draw.cpp, inside BeginMode3D/EndMode3D: the selection, then the core's glow.
void DrawGalaxyLook(GALAXY *galaxy, Camera3D camera, GALAXY_LOOK_T *look);
// Releases the glow texture and nothing else (the galaxy owns the buffers).
void UnloadGalaxyLook(GALAXY_LOOK_T *look);
