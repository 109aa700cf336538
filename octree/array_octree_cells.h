// The wire boxes of an array octree's leaves (DEBUG's cells) as one buffer of lines, made once
// per tree beside its other derived data, and the ranges of it that one frame draws. Needs no
// window: array_octree_draw.cpp uploads and draws it.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "octree/array_octree.h"
#include "octree/array_octree_lod.h"

// A subtree of at least this many leaves is a block: its leaves' edges are also stored merged,
// each straight run of edges that the same number of its leaves cover being one line. A block
// that lies wholly inside the frustum is drawn so: a software rasteriser pays per line far more
// than per pixel, and a block of 4 x 4 x 4 like leaves has 75 such lines against 300 edges.
// Blocks of 8 leaves and up took 2.4 times the leaves' own lines; of 64 and up, about half.
constexpr uint32_t CELL_BLOCK_LEAVES = 64;

struct CELL_VERTEX_T
{
    Vector3 position;
    // How many leaves' edges lie on this line: it is drawn once with the opacity of that many
    // faint lines laid over each other.
    float multiplicity;
};

struct ARRAY_OCTREE_CELLS_T
{
    // Leaf after leaf in walk order, each edge that several leaves share once (with the first
    // of them, counting all); then the blocks' merged lines. Two vertices a line.
    std::vector<CELL_VERTEX_T> vertices;
    // Per line (two vertices): the shallowest depth of the tree whose cells have an edge along
    // it, 0 for the root's own. Within a leaf's lines and within a block's they ascend, so the
    // lines down to a depth are a leading part of either.
    std::vector<uint8_t> line_level;
    std::vector<int32_t> leaf_first;  // where each leaf's lines start; one entry more than leaves
    std::vector<int32_t> block_first; // by node: its merged lines, or -1 when it is no block
    std::vector<int32_t> block_count;
    uint32_t tree_version = 0; // the tree these are the cells of
    bool built = false;
};

// This frame's lines as ranges of vertices (neighbours merged), for one multi-draw of lines.
struct CELL_LINE_RANGES_T
{
    std::vector<int32_t> first;
    std::vector<int32_t> count;
};

// The making's progress in thousandths, for another thread to watch.
constexpr uint32_t CELLS_PROGRESS_DONE = 1000;

// Replaces cells by tree's. Edges are compared by their ends exactly as the tree's boxes give
// them: siblings share their faces bit for bit, so shared and collinear edges meet exactly.
// With progress, it is raised to CELLS_PROGRESS_DONE as the work goes, never lowered.
void BuildArrayOctreeCells(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_CELLS_T *cells,
                           std::atomic<uint32_t> *progress = nullptr);

// Line levels run up to this (a line this deep or deeper counts as this deep).
constexpr uint8_t CELL_LEVEL_MOST = 40;

// The lines of the leaves VisitVisibleLeaves hands over for this frustum, no more and no fewer:
// a block certainly inside the frustum by its merged lines, every other visible leaf by its own.
// Nothing when cells are not tree's.
//
// With a view, lines of a depth whose cells are closer together than view->apart_pixels on
// screen where they are nearest the eye are left out: a grid finer than that is a faint haze
// of overlapping lines that a software rasteriser pays for line by line. The lines of the
// depths above it stay, so every cell still shows at the size it can be seen at; the root's own
// edges always do.
void CollectCellLineRanges(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_CELLS_T &cells,
                           const FRUSTUM_T &frustum, CELL_LINE_RANGES_T *ranges,
                           const LOD_VIEW_T *view = nullptr);

// The deepest level whose cells are at least view.apart_pixels wide on screen at distance from
// the eye, for a tree whose root is root_edge wide: CELL_LEVEL_MOST at the eye itself.
uint8_t FinestCellLevel(const LOD_VIEW_T &view, float root_edge, float distance);
