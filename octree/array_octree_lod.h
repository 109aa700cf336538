// Level of detail over an array octree: every inner node keeps a few of its stars, picked
// evenly across its range of draw_order, each standing for count / samples of them. A culled
// walk then draws a node's sample where its stars are too close together on screen to be told
// apart and its children where they are not, fading from one to the other over a band of
// on-screen spacings so that nothing pops as the camera moves. Pure: no window, no GL.
#pragma once

#include <cstdint>
#include <vector>

#include "octree/array_octree.h"

// Stars kept per inner node: one leaf's worth.
constexpr uint32_t LOD_SAMPLE_SIZE = 8;
// A sample point stands for at most this many stars: a denser node is drawn by its children,
// so that the densest regions keep their grain instead of becoming a few flat discs.
constexpr float LOD_MOST_WEIGHT = 128.0f;
// Fades are drawn in this many steps (plus "not at all"), so a frame's ranges fall into a few
// batches with one opacity each.
constexpr int32_t LOD_FADE_LEVELS = 16;

struct ARRAY_OCTREE_LOD_T
{
    std::vector<uint32_t> sample_first; // per node: its sample is samples[sample_first[n]] onwards
    std::vector<uint32_t> sample_count; // per node; 0 for a leaf
    std::vector<uint32_t> samples;      // places in draw_order, node after node
    std::vector<float> sample_weight;   // per sample: how many stars it stands for
    std::vector<float> sample_extent;   // per sample: side of its share of the node, world units
    bool built = false;
    uint32_t tree_version = 0; // the tree's version it was built from
};

// Rebuilds lod from tree when it was built from another version of it (or never).
void UpdateArrayOctreeLod(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_LOD_T *lod);

// Where the camera is and how the screen magnifies: pixels_per_unit is the on-screen length in
// pixels of one world unit at distance 1 (half the viewport's height times the projection's
// vertical scale). Stars closer together than apart_pixels on screen cannot be told apart; at
// twice that they are drawn in full, and between the two the sample fades into the children.
struct LOD_VIEW_T
{
    Vector3 eye = {};
    float pixels_per_unit = 0.0f;
    float apart_pixels = 2.0f;
};

// Ranges in one vertex buffer, drawn with opacity level / LOD_FADE_LEVELS. Neighbouring
// ranges of one level are merged.
struct LOD_RANGES_T
{
    std::vector<int32_t> first;
    std::vector<int32_t> count;
};

// What one walk leaves to draw: stars as ranges of draw_order, samples as ranges of samples,
// each by fade level (index 0, fully faded, stays empty). Kept across frames for its storage.
struct LOD_SELECTION_T
{
    LOD_RANGES_T stars[LOD_FADE_LEVELS + 1];
    LOD_RANGES_T samples[LOD_FADE_LEVELS + 1];
};

// Replaces selection by what view and frustum ask of tree. Returns the stars in the leaves the
// frustum does not exclude: the same number CollectVisibleRanges gives, however few of them
// are drawn. lod must be up to date with tree.
uint64_t SelectArrayOctreeLod(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod,
                              const FRUSTUM_T &frustum, const LOD_VIEW_T &view, LOD_SELECTION_T *selection);

// How strongly each star is drawn so that a million stars do not wash the disc out: one for
// the default galaxy's 24,327 stars, less for more stars (by the ratio to the power 0.7, so
// that more stars still read as a somewhat brighter galaxy), never more than one.
float StarExposure(uint64_t star_count);

// Inside BeginMode3D/EndMode3D (array_octree_draw.cpp): the selection as soft round points
// added onto what is there, each in its colour (draw_colors: one per entry of draw_order),
// a sample point spreading the light of the stars it stands for. exposure scales every star's
// light. The colours are uploaded again when colors_stamp or the tree changes: only the ranges
// of colors_changed when it is given and the buffer holds the colours of colors_stamp - 1,
// all of them otherwise. Depth is neither tested nor written; raylib's state is left as it was.
void DrawArrayOctreeSoft(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod,
                         const LOD_SELECTION_T &selection, const Color *draw_colors, uint32_t colors_stamp,
                         const LOD_RANGES_T *colors_changed, float exposure, ARRAY_OCTREE_GPU_T *gpu);

// Pixels per world unit at distance 1 in the current 3-D pass (inside BeginMode3D), for
// LOD_VIEW_T.
float ScreenPixelsPerUnit(void);
