// ARRAY_OCTREE_T: the galaxy's octree, built in one pass over a finished star array instead
// of star by star. Its cells, leaves and per-leaf order are those that inserting the same
// stars one by one into an OCTREE_T of the same box and capacity gives, but its nodes live in
// one array (each node's eight children side by side) and it owns no star: a leaf is a range
// of draw_order, which lists the stars leaf after leaf in walk order.
#pragma once

#include <cstdint>
#include <vector>

#include "octree/octree.h"
#include "scene/frustum.h"
#include "scene/object.h"

struct ARRAY_OCTREE_NODE_T
{
    CUBOID box;
    uint32_t children = 0; // index of the first of the eight children; 0 for a leaf
    uint32_t first = 0;    // the node's stars: draw_order[first] onwards, below and in it
    uint32_t count = 0;
    uint32_t leaf = 0; // a leaf's place among the leaves in walk order
};

class ARRAY_OCTREE_T
{
  public:
    // An empty tree (one leaf) over a copy of box. A negative capacity counts as 0.
    ARRAY_OCTREE_T(const CUBOID &box, int32_t capacity);

    // Indexes stars[0] to stars[count - 1] from scratch; those outside the box (or with a NaN
    // coordinate) are left out. The stars are read, never kept or released. With threads
    // above 1 (0: one per core) the root's eight subtrees are built side by side: the tree is
    // the same, node for node, as on one thread.
    void Build(const IOBJECT_T *stars, uint32_t count, int threads = 1);
    // Back to one empty leaf; the storage stays for the next Build.
    void Clear(void);

    // Leaves in octant order, depth first; each leaf whose box the frustum does not exclude
    // is handed to visit (which may be null). Returns the stars those leaves hold.
    typedef void (*LEAF_VISITOR)(const ARRAY_OCTREE_NODE_T &leaf, void *context);
    uint64_t VisitVisibleLeaves(const FRUSTUM_T &frustum, LEAF_VISITOR visit, void *context) const;

    uint32_t LeafCount(void) const { return leaf_count; }

    CUBOID box;
    int32_t capacity = 0;
    std::vector<ARRAY_OCTREE_NODE_T> nodes; // nodes[0] is the root
    std::vector<uint32_t> draw_order;       // star indices, leaf by leaf in walk order
    std::vector<Vector3> draw_positions;    // their positions at Build, in the same order
    // New at every Build and Clear, and never the same as any other tree's in the process.
    uint32_t version = 0;

  private:
    void ResetToRoot(void); // one empty leaf; the draw arrays are left as they are
    struct ENTRY_T;
    // Nodes and leaves numbered by one builder: the whole tree, or one of the root's subtrees
    // (its node 0 standing for the subtree's top), joined in order afterwards.
    struct PART_T
    {
        std::vector<ARRAY_OCTREE_NODE_T> nodes;
        uint32_t leaves = 0;
    };
    void Split(PART_T *part, uint32_t node, int32_t depth, bool in_scratch, const uint32_t sizes[8], int threads);
    void EmitLeaf(PART_T *part, uint32_t node, const ENTRY_T *from);
    void PartitionApart(const ENTRY_T *from, const uint8_t *child_of, uint32_t count, ENTRY_T *to,
                        uint8_t *to_child_of, const uint32_t fill[8], const Vector3 child_split[8],
                        const Vector3 child_size[8], int threads, uint32_t (*below)[8]);
    uint32_t ArriveApart(const IOBJECT_T *stars, uint32_t count, Vector3 split, int threads, uint32_t sizes[8]);
    void SplitSubtreesApart(PART_T *part, uint32_t children, int32_t depth, bool in_scratch,
                            const uint32_t (*below)[8], const bool divides[8], int threads);

    uint32_t leaf_count = 1;
    // Build's working state: each star's position travels with its index, so partitioning
    // reads memory in order, and beside it the child it goes to in the node that holds it.
    struct ENTRY_T
    {
        Vector3 position;
        uint32_t star;
    };
    std::vector<ENTRY_T> entries;
    std::vector<ENTRY_T> scratch;
    std::vector<uint8_t> entry_octants;
    std::vector<uint8_t> scratch_octants;
    // The root's subtrees while they are built apart; kept, so a rebuild reuses their storage.
    PART_T subtrees[8];
};

// A leaf's wire box as lines: 12 edges, two vertices each.
constexpr int32_t CELL_LINE_VERTICES = 24;

// What one culled walk leaves to draw, as ranges of vertices for batched drawing: stars as
// ranges of draw_order (neighbouring visible leaves merged into one range), cells as ranges
// of the wire-box lines of the leaves in walk order. Kept across frames to reuse its storage.
struct ARRAY_OCTREE_RANGES_T
{
    std::vector<int32_t> star_first;
    std::vector<int32_t> star_count;
    std::vector<int32_t> cell_first;
    std::vector<int32_t> cell_count;
};

// Replaces ranges by what frustum leaves visible of tree. Returns the stars in the visible
// leaves, as VisitVisibleLeaves does.
uint64_t CollectVisibleRanges(const ARRAY_OCTREE_T &tree, const FRUSTUM_T &frustum,
                              ARRAY_OCTREE_RANGES_T *ranges);

// The GPU side of one array octree (array_octree_draw.cpp): its stars and its cells' wire
// boxes in two vertex buffers, uploaded when the tree has changed since the last draw, and
// the small shader that draws them.
struct ARRAY_OCTREE_GPU_T
{
    Shader shader = {};
    int mvp_location = -1;
    int color_location = -1;
    int point_scale_location = -1;
    unsigned int star_vao = 0;
    unsigned int star_vbo = 0;
    unsigned int cell_vao = 0;
    unsigned int cell_vbo = 0;
    int multiplicity_location = -1;
    bool uploaded = false;
    uint32_t uploaded_version = 0;
    // The cells' buffer is uploaded only when they are drawn (DEBUG), from this tree version.
    bool cells_uploaded = false;
    uint32_t cells_version = 0;
    // The soft look (array_octree_lod.h): its program, the stars' colours in draw order
    // beside their positions, and the level-of-detail samples with their weights and colours.
    Shader soft_shader = {};
    int soft_mvp_location = -1;
    int soft_point_scale_location = -1;
    int soft_exposure_location = -1;
    int soft_fade_location = -1;
    int soft_weight_location = -1;
    int soft_extent_location = -1;
    int soft_pixels_location = -1;
    unsigned int soft_star_vao = 0;
    unsigned int star_color_vbo = 0;
    unsigned int sample_vao = 0;
    unsigned int sample_vbo = 0;
    unsigned int sample_color_vbo = 0;
    bool soft_uploaded = false; // the colours and samples below are those of these versions
    uint32_t soft_tree_version = 0;
    uint32_t soft_colors_stamp = 0;
    std::vector<Color> sample_colors; // as uploaded, kept for the next partial upload
    bool samples_uploaded = false;    // sample_vbo holds the samples of this tree version
    uint32_t samples_tree_version = 0;
    // DEBUG through the level of detail (a million stars): its program, and the samples'
    // buffer seen through that program's attributes.
    Shader sampled_shader = {};
    int sampled_mvp_location = -1;
    int sampled_color_location = -1;
    int sampled_point_scale_location = -1;
    int sampled_pixels_location = -1;
    int sampled_fade_location = -1;
    int sampled_weight_location = -1;
    int sampled_extent_location = -1;
    unsigned int sampled_vao = 0;
};

struct ARRAY_OCTREE_CELLS_T;
struct CELL_LINE_RANGES_T;

// Inside BeginMode3D/EndMode3D: the visible stars as opaque points of color, sized on screen
// like cubes of edge 0.5, and with cells (the tree's, array_octree_cells.h) their lines in
// lines, the visible cells' wire boxes, in color (alpha included) over them. Raylib's pending
// batch is drawn first and its state left as it was.
void DrawArrayOctree(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_RANGES_T &visible,
                     ARRAY_OCTREE_GPU_T *gpu, Color color, const ARRAY_OCTREE_CELLS_T *cells = nullptr,
                     const CELL_LINE_RANGES_T *lines = nullptr);
struct ARRAY_OCTREE_LOD_T;
struct LOD_SELECTION_T;
// DrawArrayOctree's picture through the level of detail (array_octree_lod.h) for a galaxy too
// large to draw star by star: where stars crowd on screen, a sample's square in color stands for
// them, as opaque as they would cover it; then the lines as DrawArrayOctree draws them.
void DrawArrayOctreeSampled(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod,
                            const LOD_SELECTION_T &selection, ARRAY_OCTREE_GPU_T *gpu, Color color,
                            const ARRAY_OCTREE_CELLS_T *cells = nullptr,
                            const CELL_LINE_RANGES_T *lines = nullptr);
// Releases what DrawArrayOctree created; nothing (and no GL call) if it never drew.
void UnloadArrayOctreeGpu(ARRAY_OCTREE_GPU_T *gpu);
