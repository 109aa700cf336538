// The array octree against the incremental one: built top-down from the same stars it must
// have the very same cells, leaves and per-leaf order, and cull exactly like it.
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
CUBOID Cube(Vector3 centre, float edge)
{
    return CUBOID(centre, Vector3{edge, edge, edge});
}

std::vector<IOBJECT_T> Objects(const std::vector<Vector3> &positions)
{
    std::vector<IOBJECT_T> objects;
    for (const Vector3 &p : positions) objects.push_back(IOBJECT_T(p, Vector3{1.0f, 1.0f, 1.0f}));
    return objects;
}

void CollectPosition(Vector3 position, void *context)
{
    ((std::vector<Vector3> *)context)->push_back(position);
}

std::vector<Vector3> GalaxyPositions(const GALAXY_SHAPE_T &shape, double seed)
{
    std::vector<Vector3> positions;
    RandomSeed(seed);
    WalkSpiralArms(shape, SPIRAL_POINTS_IN_DISC, CollectPosition, &positions);
    return positions;
}

// Cameras inside and around the galaxy's box, looking anywhere, narrow to wide.
std::vector<FRUSTUM_T> RandomFrusta(std::mt19937 *rng, int n)
{
    std::uniform_real_distribution<float> coordinate(-600.0f, 600.0f);
    std::uniform_real_distribution<float> angle(20.0f, 170.0f);
    std::vector<FRUSTUM_T> frusta;
    for (int i = 0; i < n; i++)
    {
        FRUSTUM_T frustum;
        frustum.SetInternals(angle(*rng), 1366.0f / 768.0f, 1.0f, 100000.0f);
        Camera3D camera = {};
        camera.position = Vector3{coordinate(*rng), coordinate(*rng) / 3.0f, coordinate(*rng)};
        camera.target = Vector3{coordinate(*rng) / 4.0f, 0.0f, coordinate(*rng) / 4.0f};
        camera.up = Vector3{0.0f, 1.0f, 0.0f};
        camera.fovy = 90.0f;
        camera.type = CAMERA_PERSPECTIVE;
        frustum.Update(camera);
        frusta.push_back(frustum);
    }
    return frusta;
}
} // namespace

// Catches leaves split at other counts, stars handed to children in another order than
// insertion hands them (the last held star first), a depth guard that differs, stars outside
// the box indexed, and a culled walk that counts other leaves. Galaxies: the panel's largest
// (some stars beyond the box), no thickness (coincident stars down to the depth guard), a
// small two-arm one and a tightly wound thin one.
TEST(ArrayOctree, GalaxiesGiveTheCellsOfInsertionOneByOne)
{
    std::mt19937 rng(21);
    const std::vector<FRUSTUM_T> frusta = RandomFrusta(&rng, 60);
    const GALAXY_SHAPE_T shapes[] = {
        MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 252), MakeGalaxyShape(9, 10, 0, 20, 80, 48, 0, 100),
        MakeGalaxyShape(2, 30, 50, 0, 100, 16, 8, 60), MakeGalaxyShape(5, 32, -200, 100, 0, 64, 1, 256)};
    ARRAY_OCTREE_T tree(Cube(Vector3{0.0f, 0.0f, 0.0f}, 512.0f), GALAXY_TREE_CAPACITY);
    double seed = 1.0;
    for (const GALAXY_SHAPE_T &shape : shapes)
    {
        const std::vector<Vector3> positions = GalaxyPositions(shape, seed++);
        const std::vector<IOBJECT_T> stars = Objects(positions);
        tree.Build(stars.data(), (uint32_t)stars.size()); // over the previous galaxy's tree
        EXPECT_TRUE(SameCellsAsInsertion(tree, positions, frusta)) << "shape with " << shape.arms << " arms";
    }
    EXPECT_LT(tree.draw_order.size(), 24327u + 1u);
}

// Points on the faces of many cells (integer and power-of-two coordinates), on the root's
// own lower and upper faces, NaN, and duplicates, in power-of-two and odd boxes and with
// capacities 0, 1 and 8. Catches a face point routed to the wrong child, a point on the
// root's upper face indexed, or an odd box whose rounded faces the build treats differently.
TEST(ArrayOctree, StarsOnCellFacesAndOddBoxesLandAsInsertionPutsThem)
{
    std::mt19937 rng(5);
    const std::vector<FRUSTUM_T> frusta = RandomFrusta(&rng, 20);
    const CUBOID boxes[] = {Cube(Vector3{0.0f, 0.0f, 0.0f}, 512.0f), Cube(Vector3{3.0f, -7.5f, 11.0f}, 300.3f),
                            CUBOID(Vector3{1.0f, 2.0f, 3.0f}, Vector3{-100.0f, 77.7f, 64.0f})};
    std::uniform_int_distribution<int> step(-17, 17);
    std::uniform_real_distribution<float> anywhere(-300.0f, 300.0f);
    for (const CUBOID &box : boxes)
    {
        std::vector<Vector3> positions;
        for (int i = 0; i < 3000; i++)
        {
            const float g = (i % 3 == 0) ? 16.0f : (i % 3 == 1) ? 1.0f : 4.0f;
            positions.push_back(Vector3{g * step(rng), g * step(rng), g * step(rng)});
        }
        for (int i = 0; i < 1000; i++) positions.push_back(Vector3{anywhere(rng), anywhere(rng), anywhere(rng)});
        for (int i = 0; i < 8; i++)
        {
            positions.push_back(box.min);
            positions.push_back(Vector3{box.max.x, box.position.y, box.position.z});
            positions.push_back(Vector3{box.position.x, box.min.y, box.max.z});
        }
        positions.push_back(Vector3{std::nanf(""), 0.0f, 0.0f});
        for (int i = 0; i < 40; i++) positions.push_back(box.position);
        const std::vector<IOBJECT_T> stars = Objects(positions);
        for (int32_t capacity : {0, 1, 8})
        {
            ARRAY_OCTREE_T tree(box, capacity);
            tree.Build(stars.data(), (uint32_t)stars.size());
            EXPECT_TRUE(SameCellsAsInsertion(tree, positions, frusta)) << "capacity " << capacity;
        }
    }
}

// Catches a Clear that leaves cells, stars or positions behind or keeps the version, and an
// empty build that is not one empty visible leaf.
TEST(ArrayOctree, ClearLeavesOneEmptyLeafAndBuildStartsAfresh)
{
    ARRAY_OCTREE_T tree(Cube(Vector3{0.0f, 0.0f, 0.0f}, 512.0f), 8);
    const std::vector<Vector3> positions = GalaxyPositions(MakeGalaxyShape(3, 10, 0, 20, 80, 48, 16, 200), 4.0);
    const std::vector<IOBJECT_T> stars = Objects(positions);
    tree.Build(stars.data(), (uint32_t)stars.size());
    ASSERT_GT(tree.nodes.size(), 100u);
    const uint32_t built = tree.version;

    tree.Clear();
    EXPECT_NE(tree.version, built);
    EXPECT_EQ(tree.nodes.size(), 1u);
    EXPECT_EQ(tree.nodes[0].children, 0u);
    EXPECT_EQ(tree.nodes[0].count, 0u);
    EXPECT_TRUE(tree.draw_order.empty());
    EXPECT_TRUE(tree.draw_positions.empty());
    EXPECT_TRUE(SameCellsAsInsertion(tree, {}));

    tree.Build(stars.data(), 0);
    EXPECT_TRUE(SameCellsAsInsertion(tree, {}));
    tree.Build(stars.data(), (uint32_t)stars.size());
    EXPECT_TRUE(SameCellsAsInsertion(tree, positions));
}

namespace
{
struct EXPECTED_RANGES_T
{
    std::vector<bool> star; // per draw_order entry: in a visible leaf
    std::vector<bool> cell; // per cell-line vertex: of a visible leaf
};

void MarkVisibleLeaf(const ARRAY_OCTREE_NODE_T &leaf, void *context)
{
    EXPECTED_RANGES_T *expected = (EXPECTED_RANGES_T *)context;
    for (uint32_t k = 0; k < leaf.count; k++) expected->star[leaf.first + k] = true;
    for (int32_t k = 0; k < CELL_LINE_VERTICES; k++) expected->cell[leaf.leaf * CELL_LINE_VERTICES + k] = true;
}

// The entries the ranges cover, each at most once, with ranges in rising order and never
// touching (touching ones should have been merged).
::testing::AssertionResult Covered(const std::vector<int32_t> &first, const std::vector<int32_t> &count,
                                   std::vector<bool> *covered)
{
    int64_t end = -1;
    for (size_t r = 0; r < first.size(); r++)
    {
        if (count[r] <= 0 || first[r] <= end) return ::testing::AssertionFailure() << "range " << r << " is out of order";
        for (int32_t k = 0; k < count[r]; k++) covered->at((size_t)(first[r] + k)) = true;
        end = (int64_t)first[r] + count[r];
    }
    return ::testing::AssertionSuccess();
}
} // namespace

// Catches ranges that miss or repeat stars or cells of visible leaves, take in hidden ones,
// fail to merge neighbours into one draw, or a count that differs from the walk's.
TEST(ArrayOctree, VisibleRangesCoverExactlyTheVisibleLeaves)
{
    std::mt19937 rng(9);
    ARRAY_OCTREE_T tree(Cube(Vector3{0.0f, 0.0f, 0.0f}, 512.0f), GALAXY_TREE_CAPACITY);
    const std::vector<IOBJECT_T> stars = Objects(GalaxyPositions(MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 252), 3.0));
    tree.Build(stars.data(), (uint32_t)stars.size());
    ARRAY_OCTREE_RANGES_T ranges;
    size_t partial = 0;
    for (const FRUSTUM_T &frustum : RandomFrusta(&rng, 40))
    {
        EXPECTED_RANGES_T expected;
        expected.star.assign(tree.draw_order.size(), false);
        expected.cell.assign((size_t)tree.LeafCount() * CELL_LINE_VERTICES, false);
        const uint64_t visible = tree.VisitVisibleLeaves(frustum, MarkVisibleLeaf, &expected);
        EXPECT_EQ(CollectVisibleRanges(tree, frustum, &ranges), visible);

        std::vector<bool> stars_covered(expected.star.size(), false), cells_covered(expected.cell.size(), false);
        ASSERT_TRUE(Covered(ranges.star_first, ranges.star_count, &stars_covered));
        ASSERT_TRUE(Covered(ranges.cell_first, ranges.cell_count, &cells_covered));
        EXPECT_EQ(stars_covered, expected.star);
        EXPECT_EQ(cells_covered, expected.cell);
        partial += visible > 0 && visible < tree.draw_order.size();
    }
    EXPECT_GT(partial, 5u); // the frusta did cull
}
