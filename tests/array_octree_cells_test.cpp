// DEBUG's cell lines against brute force: every block's merged lines must lay exactly as many
// faint lines on every stretch as its leaves' edges do, and a frame's ranges must draw the
// visible leaves, each once, and no others.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "galaxy/galaxy.h"
#include "octree/array_octree_cells.h"
#include "random/random.h"
#include "scene/viewer_pose.h"
#include "tests/support/octree_check.h"

namespace
{
// Lines by the axis they run along and their two other coordinates; on each, (place, change
// of cover) events.
typedef std::tuple<int, float, float> LINE_KEY_T;
typedef std::map<LINE_KEY_T, std::vector<std::pair<float, int>>> COVER_T;
// The stretches drawn of each line, in order of their starts.
typedef std::map<LINE_KEY_T, std::vector<std::pair<float, float>>> DRAWN_T;

// The line from a to b by its key, and its stretch [*lo, *hi] along it; false for a line that
// runs along no axis.
bool LineOf(Vector3 a, Vector3 b, LINE_KEY_T *key, float *lo, float *hi)
{
    const float pa[3] = {a.x, a.y, a.z}, pb[3] = {b.x, b.y, b.z};
    int axis = 0;
    while (axis < 2 && pa[axis] == pb[axis]) axis++;
    const int u = axis == 0 ? 1 : 0, v = axis == 2 ? 1 : 2;
    *key = LINE_KEY_T{axis, pa[u], pa[v]};
    *lo = std::min(pa[axis], pb[axis]);
    *hi = std::max(pa[axis], pb[axis]);
    return pa[u] == pb[u] && pa[v] == pb[v];
}

void AddRun(COVER_T *cover, Vector3 a, Vector3 b, int weight)
{
    LINE_KEY_T key;
    float lo = 0.0f, hi = 0.0f;
    ASSERT_TRUE(LineOf(a, b, &key, &lo, &hi)) << "a line off the axes";
    (*cover)[key].push_back({lo, weight});
    (*cover)[key].push_back({hi, -weight});
}

// The leaf's twelve edges as the tree's immediate drawing gives them: corners at centre +- half.
void AddLeafEdges(COVER_T *cover, const ARRAY_OCTREE_NODE_T &leaf, int weight)
{
    const Vector3 c = leaf.box.position;
    const Vector3 h = Vector3{leaf.box.size.x / 2.0f, leaf.box.size.y / 2.0f, leaf.box.size.z / 2.0f};
    auto corner = [&](int k) {
        return Vector3{(k & 1) ? c.x + h.x : c.x - h.x, (k & 2) ? c.y + h.y : c.y - h.y, (k & 4) ? c.z + h.z : c.z - h.z};
    };
    for (int k = 0; k < 8; k++)
        for (int axis = 1; axis < 8; axis <<= 1)
            if (!(k & axis)) AddRun(cover, corner(k), corner(k | axis), weight);
}

// Whether the events cancel on every stretch of every line.
bool Cancels(COVER_T *cover)
{
    for (auto &line : *cover)
    {
        std::sort(line.second.begin(), line.second.end());
        int sum = 0;
        for (size_t e = 0; e < line.second.size(); e++)
        {
            sum += line.second[e].second;
            if (sum != 0 && (e + 1 == line.second.size() || line.second[e + 1].first != line.second[e].first))
                return false;
        }
    }
    return true;
}

void LeavesBelow(const ARRAY_OCTREE_T &tree, uint32_t node, std::vector<uint32_t> *leaves)
{
    if (tree.nodes[node].children == 0)
    {
        leaves->push_back(tree.nodes[node].leaf);
        return;
    }
    for (uint32_t i = 0; i < 8; i++) LeavesBelow(tree, tree.nodes[node].children + i, leaves);
}

void MarkLeaf(const ARRAY_OCTREE_NODE_T &leaf, void *context)
{
    (*(std::vector<bool> *)context)[leaf.leaf] = true;
}

void CollectPosition(Vector3 position, void *context)
{
    ((std::vector<Vector3> *)context)->push_back(position);
}
// A small two-arm galaxy, and random and grid points in an odd box and in one of negative
// size, at capacities 0 and 8.
std::vector<ARRAY_OCTREE_T> TestTrees(std::mt19937 *rng)
{
    std::vector<ARRAY_OCTREE_T> trees;
    {
        std::vector<Vector3> positions;
        RandomSeed(1.0);
        WalkSpiralArms(MakeGalaxyShape(2, 30, 50, 0, 100, 16, 8, 60), SPIRAL_POINTS_IN_DISC, CollectPosition,
                       &positions);
        trees.emplace_back(CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{512.0f, 512.0f, 512.0f}), GALAXY_TREE_CAPACITY);
        std::vector<IOBJECT_T> stars;
        for (const Vector3 &p : positions) stars.push_back(IOBJECT_T(p, Vector3{1.0f, 1.0f, 1.0f}));
        trees.back().Build(stars.data(), (uint32_t)stars.size());
    }
    std::uniform_int_distribution<int> step(-17, 17);
    std::uniform_real_distribution<float> anywhere(-300.0f, 300.0f);
    for (const CUBOID &box : {CUBOID(Vector3{3.0f, -7.5f, 11.0f}, Vector3{300.3f, 300.3f, 300.3f}),
                              CUBOID(Vector3{1.0f, 2.0f, 3.0f}, Vector3{-100.0f, 77.7f, 64.0f})})
        for (int32_t capacity : {0, 8})
        {
            std::vector<IOBJECT_T> stars;
            for (int i = 0; i < 800; i++)
            {
                const float g = (i % 2 == 0) ? 4.0f : 1.0f;
                stars.push_back(IOBJECT_T(Vector3{g * step(*rng), g * step(*rng), g * step(*rng)}, Vector3{1, 1, 1}));
                stars.push_back(IOBJECT_T(Vector3{anywhere(*rng), anywhere(*rng), anywhere(*rng)}, Vector3{1, 1, 1}));
            }
            trees.emplace_back(box, capacity);
            trees.back().Build(stars.data(), (uint32_t)stars.size());
        }
    return trees;
}

// The depth of the shallowest of the leaf's ancestors (itself included) that has the line from
// a to b on one of its box's edges: both of the line's other coordinates on the box's faces.
// -1 for a leaf deeper than 12, where a float's rounding is no longer far below a cell's size.
int AncestorLevel(const ARRAY_OCTREE_T &tree, Vector3 a, Vector3 b, Vector3 inside)
{
    LINE_KEY_T key;
    float lo_end = 0.0f, hi_end = 0.0f;
    LineOf(a, b, &key, &lo_end, &hi_end);
    const int axis = std::get<0>(key);
    const float pa[3] = {a.x, a.y, a.z};
    const float tolerance = 1e-5f * std::fabs(tree.box.size.x);
    int level = -1;
    uint32_t node = 0;
    for (int depth = 0; depth <= 12; depth++)
    {
        const CUBOID &box = tree.nodes[node].box;
        const float lo[3] = {box.min.x, box.min.y, box.min.z}, hi[3] = {box.max.x, box.max.y, box.max.z};
        bool on_edge = true;
        for (int k = 0; k < 3; k++)
            if (k != axis && std::fabs(pa[k] - lo[k]) > tolerance && std::fabs(pa[k] - hi[k]) > tolerance)
                on_edge = false;
        if (on_edge && level < 0) level = depth;
        if (tree.nodes[node].children == 0) return level;
        // Down to the child that holds the middle of the leaf the line came from.
        const uint32_t first = tree.nodes[node].children;
        for (uint32_t i = 0; i < 8; i++)
            if (ContainsPoint(tree.nodes[first + i].box, inside)) node = first + i;
        if (node < first) return -1; // no child holds it: a box too thin for floats
    }
    return -1;
}

// Whether the drawn lines cover the whole run from a to b.
bool Covered(const DRAWN_T &drawn, Vector3 a, Vector3 b)
{
    LINE_KEY_T key;
    float reached = 0.0f, end = 0.0f;
    LineOf(a, b, &key, &reached, &end);
    const auto found = drawn.find(key);
    if (found == drawn.end()) return false;
    for (const auto &run : found->second)
        if (run.first <= reached && run.second > reached) reached = run.second;
    return reached >= end;
}
} // namespace

// Trees: a small two-arm galaxy, and random and grid points in an odd box and in one of
// negative size, at capacities 0 and 8. Catches a block whose lines drop, double or
// mis-weight a stretch (wrong cover where leaves meet, runs joined across a change of cover,
// ends turned round), leaf lines that lose or repeat edges, and a frame that draws a block
// not wholly visible, a leaf twice, a hidden leaf or misses a visible one.
// With a view (the level of detail for a million stars): lines are levelled by the depth whose
// cells first have them (checked against the tree's own boxes) and ascend within each leaf and
// block; a view keeps, of every visible leaf, at least the lines of every depth whose cells are
// as wide on screen as asked where that leaf is farthest, and from very far, with the eye
// outside the tree, only the root's edges. Catches a wrong level, lines out of order (a prefix
// that drops coarse lines), a block drawn at its far side's depth, and one that keeps lines
// too fine to see.
TEST(ArrayOctreeCells, BlocksCoverAsTheirLeavesAndFramesDrawTheVisibleLeaves)
{
    std::mt19937 rng(5);
    std::vector<Vector3> eyes;
    std::vector<FRUSTUM_T> frusta = RandomFrusta(&rng, 16, &eyes);
    frusta.push_back(MakeViewerFrustum(MakeViewerCamera()));
    eyes.push_back(MakeViewerCamera().position);
    const std::vector<ARRAY_OCTREE_T> trees = TestTrees(&rng);

    size_t blocks_drawn = 0, leaves_drawn = 0, kept = 0, left_out = 0, levels_checked = 0;
    CELL_LINE_RANGES_T ranges;
    for (const ARRAY_OCTREE_T &tree : trees)
    {
        ARRAY_OCTREE_CELLS_T cells;
        BuildArrayOctreeCells(tree, &cells);
        ASSERT_EQ(cells.leaf_first.size(), (size_t)tree.LeafCount() + 1);
        ASSERT_EQ(cells.block_first.size(), tree.nodes.size());

        // Leaf lines: each edge once with the count of the leaves that have it, so all cancel.
        COVER_T leaf_cover;
        for (const ARRAY_OCTREE_NODE_T &node : tree.nodes)
            if (node.children == 0) AddLeafEdges(&leaf_cover, node, 1);
        for (int32_t k = 0; k < cells.leaf_first.back(); k += 2)
            AddRun(&leaf_cover, cells.vertices[k].position, cells.vertices[k + 1].position,
                   -(int)cells.vertices[k].multiplicity);
        EXPECT_TRUE(Cancels(&leaf_cover));

        std::vector<uint32_t> leaf_node(tree.LeafCount());
        for (uint32_t node = 0; node < tree.nodes.size(); node++)
            if (tree.nodes[node].children == 0) leaf_node[tree.nodes[node].leaf] = node;
        // Every vertex's owner: a leaf, or a block by its node.
        std::vector<int64_t> owner(cells.vertices.size(), -1);
        for (uint32_t leaf = 0; leaf < tree.LeafCount(); leaf++)
            for (int32_t k = cells.leaf_first[leaf]; k < cells.leaf_first[leaf + 1]; k++) owner[k] = leaf;
        size_t blocks = 0;
        for (uint32_t node = 0; node < tree.nodes.size(); node++)
        {
            if (cells.block_first[node] < 0) continue;
            blocks++;
            std::vector<uint32_t> leaves;
            LeavesBelow(tree, node, &leaves);
            EXPECT_GE(leaves.size(), CELL_BLOCK_LEAVES);
            COVER_T cover;
            for (uint32_t leaf : leaves) AddLeafEdges(&cover, tree.nodes[leaf_node[leaf]], 1);
            for (int32_t k = cells.block_first[node]; k < cells.block_first[node] + cells.block_count[node]; k += 2)
            {
                ASSERT_EQ(owner[k], -1) << "blocks overlap";
                owner[k] = owner[k + 1] = (int64_t)tree.LeafCount() + node;
                AddRun(&cover, cells.vertices[k].position, cells.vertices[k + 1].position,
                       -(int)cells.vertices[k].multiplicity);
            }
            ASSERT_TRUE(Cancels(&cover)) << "block at node " << node;
        }
        EXPECT_GT(blocks, 0u);

        ASSERT_EQ(cells.line_level.size() * 2, cells.vertices.size());
        for (const ARRAY_OCTREE_NODE_T &leaf : tree.nodes)
        {
            if (leaf.children != 0) continue;
            for (int32_t k = cells.leaf_first[leaf.leaf]; k < cells.leaf_first[leaf.leaf + 1]; k += 2)
            {
                if (k > cells.leaf_first[leaf.leaf])
                {
                    ASSERT_LE(cells.line_level[k / 2 - 1], cells.line_level[k / 2]);
                }
                const int level =
                    AncestorLevel(tree, cells.vertices[k].position, cells.vertices[k + 1].position, leaf.box.position);
                if (level < 0) continue;
                ASSERT_EQ(cells.line_level[k / 2], level) << "leaf " << leaf.leaf;
                levels_checked++;
            }
        }
        for (uint32_t node = 0; node < tree.nodes.size(); node++)
            for (int32_t k = cells.block_first[node] + 2;
                 cells.block_first[node] >= 0 && k < cells.block_first[node] + cells.block_count[node]; k += 2)
                ASSERT_LE(cells.line_level[k / 2 - 1], cells.line_level[k / 2]) << "block " << node;

        const float root_edge = std::fabs(tree.box.size.x);

        for (size_t f = 0; f < frusta.size(); f++)
        {
            const FRUSTUM_T &frustum = frusta[f];
            std::vector<bool> visible(tree.LeafCount(), false);
            tree.VisitVisibleLeaves(frustum, MarkLeaf, &visible);
            CollectCellLineRanges(tree, cells, frustum, &ranges);
            std::vector<bool> drawn(cells.vertices.size(), false);
            for (size_t r = 0; r < ranges.first.size(); r++)
                for (int32_t k = ranges.first[r]; k < ranges.first[r] + ranges.count[r]; k++)
                {
                    ASSERT_FALSE(drawn.at(k)) << "a line drawn twice";
                    drawn[k] = true;
                }
            // The leaves drawn by blocks, whole blocks only, each leaf once.
            std::vector<bool> by_block(tree.LeafCount(), false);
            for (uint32_t node = 0; node < tree.nodes.size(); node++)
            {
                if (cells.block_first[node] < 0 || !drawn[cells.block_first[node]]) continue;
                for (int32_t k = cells.block_first[node]; k < cells.block_first[node] + cells.block_count[node]; k++)
                    ASSERT_TRUE(drawn[k]) << "part of a block";
                std::vector<uint32_t> leaves;
                LeavesBelow(tree, node, &leaves);
                for (uint32_t leaf : leaves)
                {
                    ASSERT_TRUE(visible[leaf]) << "a block with a hidden leaf";
                    ASSERT_FALSE(by_block[leaf]) << "a leaf in two blocks drawn";
                    by_block[leaf] = true;
                }
                blocks_drawn++;
            }
            // Every other visible leaf by its own lines, and nothing else.
            for (uint32_t leaf = 0; leaf < tree.LeafCount(); leaf++)
            {
                const bool own = visible[leaf] && !by_block[leaf];
                leaves_drawn += own;
                for (int32_t k = cells.leaf_first[leaf]; k < cells.leaf_first[leaf + 1]; k++)
                    ASSERT_EQ(drawn[k], own) << "leaf " << leaf;
            }

            for (float apart : {2.0f, 24.0f, 1e9f})
            {
                const LOD_VIEW_T view = {eyes[f], 900.0f, apart};
                CELL_LINE_RANGES_T view_ranges;
                CollectCellLineRanges(tree, cells, frustum, &view_ranges, &view);
                DRAWN_T detailed;
                for (size_t r = 0; r < view_ranges.first.size(); r++)
                    for (int32_t k = view_ranges.first[r]; k < view_ranges.first[r] + view_ranges.count[r]; k += 2)
                    {
                        if (apart > 1e8f && !ContainsPoint(tree.box, eyes[f]))
                        {
                            ASSERT_EQ(cells.line_level[k / 2], 0) << "a fine line from afar";
                        }
                        LINE_KEY_T key;
                        float lo = 0.0f, hi = 0.0f;
                        LineOf(cells.vertices[k].position, cells.vertices[k + 1].position, &key, &lo, &hi);
                        detailed[key].push_back({lo, hi});
                    }
                for (auto &line : detailed) std::sort(line.second.begin(), line.second.end());

                for (const ARRAY_OCTREE_NODE_T &leaf : tree.nodes)
                {
                    if (leaf.children != 0 || !visible[leaf.leaf]) continue;
                    float farthest = 0.0f;
                    for (int c = 0; c < 8; c++)
                    {
                        const Vector3 corner = {(c & 1) ? leaf.box.max.x : leaf.box.min.x,
                                                (c & 2) ? leaf.box.max.y : leaf.box.min.y,
                                                (c & 4) ? leaf.box.max.z : leaf.box.min.z};
                        farthest = std::max(farthest, Vector3Distance(corner, eyes[f]));
                    }
                    const uint8_t needed = FinestCellLevel(view, root_edge, farthest);
                    for (int32_t k = cells.leaf_first[leaf.leaf]; k < cells.leaf_first[leaf.leaf + 1]; k += 2)
                    {
                        const bool covered = Covered(detailed, cells.vertices[k].position, cells.vertices[k + 1].position);
                        if (cells.line_level[k / 2] <= needed)
                        {
                            ASSERT_TRUE(covered)
                                << "leaf " << leaf.leaf << " lost a line of level " << (int)cells.line_level[k / 2];
                        }
                        if (apart == 24.0f) (covered ? kept : left_out)++;
                    }
                }
            }
        }
    }
    // Both ways of drawing were seen, and the views both kept and left out lines.
    EXPECT_GT(blocks_drawn, 0u);
    EXPECT_GT(leaves_drawn, 0u);
    EXPECT_GT(levels_checked, 1000u);
    EXPECT_GT(kept, 0u);
    EXPECT_GT(left_out, 0u);
}

