// What drawing derives from a finished tree and its stars' colours alone: the level-of-detail
// samples, each star's place in draw order and the colours in that order. For a large galaxy
// the builder's worker makes them beside the tree, so the frame that swaps it in only takes them.
#pragma once

#include <cstdint>
#include <vector>

#include "octree/array_octree.h"
#include "octree/array_octree_lod.h"

// A star the tree left out (outside its box, or a NaN coordinate) has no place in draw order.
constexpr uint32_t GALAXY_NOT_DRAWN = UINT32_MAX;

struct GALAXY_DRAW_PREP_T
{
    ARRAY_OCTREE_LOD_T lod;
    std::vector<uint32_t> places;   // places[star] = j where draw_order[j] == star
    std::vector<Color> draw_colors; // the stars' colours in draw order
    bool ready = false;             // made for the tree it travels with, and not taken yet
    uint32_t colors_version = 0;    // the galaxy's star_colors_version draw_colors shows
};

// places becomes the inverse of tree.draw_order over star_count stars.
void FindDrawPlaces(const ARRAY_OCTREE_T &tree, uint32_t star_count, std::vector<uint32_t> *places);

// draw_colors becomes star_colors in tree's draw order; a star from filled on (no colour yet)
// takes StarColorFromPosition's against disc_radius.
void GatherDrawColors(const ARRAY_OCTREE_T &tree, const std::vector<Color> &star_colors, uint32_t filled,
                      float disc_radius, std::vector<Color> *draw_colors);

// Samples, places and colours for tree and every one of star_colors; sets ready.
void PrepareGalaxyDraw(const ARRAY_OCTREE_T &tree, const std::vector<Color> &star_colors, float disc_radius,
                       GALAXY_DRAW_PREP_T *prep);
