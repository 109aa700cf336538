// The array octree against the incremental one: built top-down from the same stars it must
// have the very same cells, leaves and per-leaf order, cull exactly like it, and hand out
// draw ranges that cover exactly the visible leaves.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "galaxy/galaxy.h"
#include "octree/array_octree.h"
#include "random/random.h"
#include "tests/support/octree_check.h"

namespace
{
const CUBOID GALAXY_BOX = CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{512.0f, 512.0f, 512.0f});

void CollectPosition(Vector3 position, void *context)
{
    ((std::vector<Vector3> *)context)->push_back(position);
}

// Marks the stars and the cell-line vertices of each visible leaf.
void MarkVisibleLeaf(const ARRAY_OCTREE_NODE_T &leaf, void *context)
{
    std::vector<bool> *marks = (std::vector<bool> *)context;
    for (uint32_t k = 0; k < leaf.count; k++)
        marks[0][leaf.first + k] = true;
    for (int32_t k = 0; k < CELL_LINE_VERTICES; k++)
        marks[1][leaf.leaf * CELL_LINE_VERTICES + k] = true;
}

// What the ranges cover, or nothing when they overlap, fall out of order or touch (touching
// ones should have been merged into one).
std::vector<bool> Covered(const std::vector<int32_t> &first, const std::vector<int32_t> &count, size_t size)
{
    std::vector<bool> covered(size, false);
    for (size_t r = 0; r < first.size(); r++)
    {
        if (count[r] <= 0 || (r > 0 && first[r] <= first[r - 1] + count[r - 1])) return {};
        for (int32_t k = 0; k < count[r]; k++)
            covered.at((size_t)(first[r] + k)) = true;
    }
    return covered;
}
} // namespace

// Star sets: the panel's largest galaxy (some stars beyond the box), one without thickness
// (coincident stars down to the depth guard), a small two-arm one, a thin tight one; and
// points on the faces of many cells (integer and power-of-two coordinates), on the root's
// own lower and upper faces, NaN and duplicates, in power-of-two and odd boxes with
// capacities 0, 1 and 8. Each tree is rebuilt for every set of its box.
// Catches leaves split at other counts, stars handed to children in another order than
// insertion hands them (the last held star first), a depth guard that differs, stars outside
// the box or on the root's upper face indexed, a face point routed to the wrong child, an odd
// box whose rounded faces the build treats differently, a rebuild that keeps something of the
// tree before, a Clear that keeps cells or the version, and a culled walk that counts other
// leaves; draw ranges that miss or repeat stars or cells of visible leaves, take in hidden
// ones, fail to merge neighbours into one draw, or a count that differs from the walk's.
TEST(ArrayOctree, BuildGivesTheCellsOfInsertionAndRangesCoverTheVisibleLeaves)
{
    std::mt19937 rng(21);
    const std::vector<FRUSTUM_T> frusta = RandomFrusta(&rng, 60);
    ARRAY_OCTREE_RANGES_T ranges;
    size_t partial = 0;
    auto check = [&](ARRAY_OCTREE_T &tree, const std::vector<Vector3> &positions)
    {
        std::vector<IOBJECT_T> stars;
        for (const Vector3 &p : positions)
            stars.push_back(IOBJECT_T(p, Vector3{1.0f, 1.0f, 1.0f}));
        tree.Build(stars.data(), (uint32_t)stars.size());
        EXPECT_TRUE(SameCellsAsInsertion(tree, positions, frusta))
            << positions.size() << " stars, capacity " << tree.capacity;
        for (const FRUSTUM_T &frustum : frusta)
        {
            const size_t cells = (size_t)tree.LeafCount() * CELL_LINE_VERTICES;
            std::vector<bool> marks[2] = {std::vector<bool>(tree.draw_order.size()),
                                          std::vector<bool>(cells)};
            const uint64_t visible = tree.VisitVisibleLeaves(frustum, MarkVisibleLeaf, marks);
            ASSERT_EQ(CollectVisibleRanges(tree, frustum, &ranges), visible);
            ASSERT_EQ(Covered(ranges.star_first, ranges.star_count, marks[0].size()), marks[0]);
            ASSERT_EQ(Covered(ranges.cell_first, ranges.cell_count, cells), marks[1]);
            partial += visible > 0 && visible < tree.draw_order.size();
        }
    };

    ARRAY_OCTREE_T tree(GALAXY_BOX, GALAXY_TREE_CAPACITY);
    double seed = 1.0;
    for (const GALAXY_SHAPE_T &shape :
         {MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 252), MakeGalaxyShape(9, 10, 0, 20, 80, 48, 0, 100),
          MakeGalaxyShape(2, 30, 50, 0, 100, 16, 8, 60), MakeGalaxyShape(5, 32, -200, 100, 0, 64, 1, 256)})
    {
        std::vector<Vector3> positions;
        RandomSeed(seed++);
        WalkSpiralArms(shape, SPIRAL_POINTS_IN_DISC, CollectPosition, &positions);
        check(tree, positions);
    }
    const uint32_t built = tree.version;
    tree.Clear(); // one empty leaf, and a version the GPU copy sees has changed
    EXPECT_NE(tree.version, built);
    EXPECT_EQ(tree.nodes.size(), 1u);
    EXPECT_TRUE(SameCellsAsInsertion(tree, {}));

    std::uniform_int_distribution<int> step(-17, 17);
    std::uniform_real_distribution<float> anywhere(-300.0f, 300.0f);
    for (const CUBOID &box :
         {GALAXY_BOX, CUBOID(Vector3{3.0f, -7.5f, 11.0f}, Vector3{300.3f, 300.3f, 300.3f}),
          CUBOID(Vector3{1.0f, 2.0f, 3.0f}, Vector3{-100.0f, 77.7f, 64.0f})})
    {
        std::vector<Vector3> positions(40, box.position);
        positions.push_back(Vector3{std::nanf(""), 0.0f, 0.0f});
        for (int i = 0; i < 3000; i++)
        {
            const float g = (i % 3 == 0) ? 16.0f : (i % 3 == 1) ? 1.0f : 4.0f;
            positions.push_back(Vector3{g * step(rng), g * step(rng), g * step(rng)});
        }
        for (int i = 0; i < 1000; i++)
            positions.push_back(Vector3{anywhere(rng), anywhere(rng), anywhere(rng)});
        for (int i = 0; i < 8; i++)
        {
            positions.push_back(box.min);
            positions.push_back(Vector3{box.max.x, box.position.y, box.position.z});
            positions.push_back(Vector3{box.position.x, box.min.y, box.max.z});
        }
        for (int32_t capacity : {0, 1, 8})
        {
            ARRAY_OCTREE_T odd(box, capacity);
            check(odd, positions);
        }
    }
    EXPECT_GT(partial, 50u); // the frusta did cull
}
