// STAR_FIELD_T: one generation's stars as a value. Their array and list in creation order, the
// octree that indexes them, their colours, what drawing derives from tree and colours, and the
// shape and timings they came from, all made by one function, MakeStarField, whether in the
// frame that asks or on the builder's worker. A galaxy owns exactly one; a finished build is
// taken by swapping two fields whole. Needs no window.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "galaxy/galaxy_shape.h"
#include "galaxy/spiral_arms.h"
#include "octree/array_octree.h"
#include "octree/array_octree_cells.h"
#include "octree/array_octree_lod.h"
#include "scene/arraylist.h"
#include "scene/object.h"

constexpr int32_t GALAXY_TREE_CAPACITY = 8;
// A star the tree left out (outside its box, or a NaN coordinate) has no place in draw order.
constexpr uint32_t GALAXY_NOT_DRAWN = UINT32_MAX;
// Changed colours are reported in blocks of this many draw places: a block any of whose stars
// changed is uploaded again whole.
constexpr uint32_t STAR_FIELD_COLOR_BLOCK = 1024;
// A field's making in thousandths: placing the stars takes the first STAR_FIELD_PROGRESS_PLACED
// (they are counted as they come), indexing them up to STAR_FIELD_PROGRESS_INDEXED, the rest is
// colouring and preparing the drawing.
constexpr uint32_t STAR_FIELD_PROGRESS_DONE = 1000;
constexpr uint32_t STAR_FIELD_PROGRESS_PLACED = 400;
constexpr uint32_t STAR_FIELD_PROGRESS_INDEXED = 850;

struct STAR_FIELD_T
{
    // No stars; its tree covers -extent to +extent on every axis.
    explicit STAR_FIELD_T(int32_t extent);
    STAR_FIELD_T(STAR_FIELD_T &&) = default;
    STAR_FIELD_T &operator=(STAR_FIELD_T &&) = default;
    STAR_FIELD_T(const STAR_FIELD_T &) = delete;
    STAR_FIELD_T &operator=(const STAR_FIELD_T &) = delete;

    // Empties star_list and clears tree. The star array is kept for the next generation and
    // released only with the field, so nothing a caller does to a star or to the tree can
    // make a star be released twice or while listed.
    void Empty(void);
    // Gives all the memory back: a new field of the same extent.
    void Release(void);
    uint64_t StarCount(void) const { return star_list.Count(); }

    int32_t extent = 0;
    std::unique_ptr<IOBJECT_T[]> stars; // star_list[k] is &stars[k]
    uint64_t star_capacity = 0;         // length of the stars array
    ARRAYLIST star_list;                // the stars in creation order: pointers into stars
    ARRAY_OCTREE_T tree;                // the stars inside -extent...+extent

    // Each star's colour in creation order, the one place a colour is set: from the star's
    // position when the field is made, later from its system (SetStarColors).
    std::vector<Color> colors;
    uint32_t colors_from_systems = 0; // how many from the front have their system's colour
    float disc_radius = 0.0f;         // the farthest star from the axis (y), world units

    // Derived from tree and colors for drawing, made with them and kept in step by SetStarColors.
    ARRAY_OCTREE_LOD_T lod;         // level-of-detail samples of tree
    // The leaves' wire boxes (DEBUG), made by the builder's worker when asked, else by the
    // first frame that draws them.
    ARRAY_OCTREE_CELLS_T cells;
    std::vector<uint32_t> places;   // places[star] = j where tree.draw_order[j] == star
    std::vector<Color> draw_colors; // colors in the tree's draw order: what the GPU takes
    // Raised by every change of colors. colors_changed lists the ranges of draw_colors (whole
    // blocks) that differ from those of colors_version - 1; a new field lists none, and its new
    // tree version tells the GPU that everything changed.
    uint32_t colors_version = 0;
    LOD_RANGES_T colors_changed;

    // Dust clouds over the stars (a spiral Hubble type's lanes): drawn darkening, never picked.
    std::vector<Vector3> dust;

    GALAXY_SHAPE_T shape = {}; // what it was made from, seed included: what names its systems
    double generate_ms = 0.0;  // milliseconds placing the stars, then indexing them
    double index_ms = 0.0;
    // Why the field holds no star, in words for the user; empty when it holds some.
    std::string failure;
};

// The most stars a field of shape holds (the classic walk's limit, or a Hubble type's count);
// 0 when StarFieldProblem says why it holds none.
uint64_t StarFieldLimit(const GALAXY_SHAPE_T &shape);
std::string StarFieldProblem(const GALAXY_SHAPE_T &shape);

// Replaces field's stars by those of shape, then indexes them, colours them (from their
// positions, or a Hubble type's from their populations) and prepares their drawing. The
// classic model draws from the calling thread's random stream as it stands; a Hubble type
// places its stars on `threads` threads (0: one per core), the same stars however many. A star
// whose coordinates would not be finite is never stored. A shape that places no star, or
// memory that cannot be had, leaves the field empty with the reason in failure.
// With progress, it is raised from 0 to STAR_FIELD_PROGRESS_DONE as the work goes (placing the
// stars, then indexing and preparing them), never lowered, for another thread to watch.
void FillStarField(STAR_FIELD_T *field, const GALAXY_SHAPE_T &shape, int threads = 0,
                   std::atomic<uint32_t> *progress = nullptr);

// Seeds the calling thread's random stream with shape.seed, then FillStarField: the same shape
// gives the same field on every run and every thread.
void MakeStarField(STAR_FIELD_T *field, const GALAXY_SHAPE_T &shape, int threads = 0,
                   std::atomic<uint32_t> *progress = nullptr);

// Stars first to first + count - 1 take colors[0...count - 1]; draw_colors follows, the changed
// blocks go into colors_changed and colors_version rises by one. Stars beyond the field are
// ignored.
void SetStarColors(STAR_FIELD_T *field, uint32_t first, uint32_t count, const Color *colors);

// places becomes the inverse of tree.draw_order over star_count stars.
void FindDrawPlaces(const ARRAY_OCTREE_T &tree, uint32_t star_count, std::vector<uint32_t> *places);
// draw_colors becomes colors (creation order) in tree's draw order.
void GatherDrawColors(const ARRAY_OCTREE_T &tree, const std::vector<Color> &colors, std::vector<Color> *draw_colors);
