// The octree: where objects go, when leaves divide, what the tree owns and releases, and the
// culled walk that drawing and its count rest on. Placement is checked against a
// brute-force model for random and adversarial points, including odd box sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "octree/octree.h"
#include "tests/support/octree_check.h"

namespace
{
// Counts live instances, so a test sees every release without relying on the sanitizer.
class COUNTED_T : public IOBJECT_T
{
  public:
    explicit COUNTED_T(Vector3 position) : IOBJECT_T(position, Vector3{1.0f, 1.0f, 1.0f}) { live += 1; }
    ~COUNTED_T() override { live -= 1; }
    static int live;
};
int COUNTED_T::live = 0;

CUBOID Cube(float edge)
{
    return CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{edge, edge, edge});
}

// Inserts a new object at p; returns it if the tree took it, else frees it and returns null.
const IOBJECT_T *Add(OCTREE_T *tree, Vector3 p, std::vector<const IOBJECT_T *> *accepted)
{
    IOBJECT_T *object = new COUNTED_T(p);
    const bool inside = ContainsPoint(tree->box, p);
    tree->Insert(object);
    if (!inside)
    {
        delete object; // refused objects stay with the caller
        return nullptr;
    }
    accepted->push_back(object);
    return object;
}

// Uniform inside the half-open box, never on its upper faces.
float RandomIn(float lo, float hi, std::mt19937 *rng)
{
    const double t = std::uniform_real_distribution<double>(0.0, 1.0)(*rng);
    const float v = (float)((double)lo + t * ((double)hi - (double)lo));
    return (v < hi) ? v : std::nextafter(hi, lo);
}

Vector3 RandomPointIn(const CUBOID &box, std::mt19937 *rng)
{
    const float x = RandomIn(box.min.x, box.max.x, rng);
    const float y = RandomIn(box.min.y, box.max.y, rng);
    const float z = RandomIn(box.min.z, box.max.z, rng);
    return Vector3{x, y, z};
}

bool SubtreeHolds(const OCTREE_T *node, const IOBJECT_T *object)
{
    if (!node->divided)
    {
        for (uint64_t j = 0; j < node->objects.Count(); j++)
        {
            if (node->objects.Get(j) == object) return true;
        }
        return false;
    }
    for (int i = 0; i < 8; i++)
    {
        if (SubtreeHolds(node->children[i], object)) return true;
    }
    return false;
}

// Which child of the root holds object somewhere below it, or -1.
int ChildHolding(const OCTREE_T &root, const IOBJECT_T *object)
{
    for (int i = 0; i < 8; i++)
    {
        if (root.children[i] != nullptr && SubtreeHolds(root.children[i], object)) return i;
    }
    return -1;
}

// Points on the faces that every inner node's children share, and on its corners: after a
// tree has grown, these are the positions where rounded child faces would lose an object
// or store it twice.
std::vector<Vector3> PointsOnInnerFaces(const OCTREE_T &node, std::mt19937 *rng)
{
    std::vector<Vector3> points;
    if (!node.divided) return points;
    // The face the children share is the larger of two opposite children's lower faces
    // (whichever of them lies below on an axis with a negative extent).
    const CUBOID &a = node.children[0]->box, &b = node.children[7]->box;
    const Vector3 split = Vector3{std::fmax(a.min.x, b.min.x), std::fmax(a.min.y, b.min.y), std::fmax(a.min.z, b.min.z)};
    const Vector3 inside = RandomPointIn(node.box, rng);
    points.push_back(Vector3{split.x, inside.y, inside.z});
    points.push_back(Vector3{inside.x, split.y, inside.z});
    points.push_back(Vector3{inside.x, inside.y, split.z});
    points.push_back(split);
    points.push_back(Vector3{split.x, split.y, node.box.min.z});
    points.push_back(Vector3{node.box.min.x, split.y, split.z});
    for (int i = 0; i < 8; i++)
    {
        const std::vector<Vector3> below = PointsOnInnerFaces(*node.children[i], rng);
        points.insert(points.end(), below.begin(), below.end());
    }
    return points;
}

void FreeRemaining(OCTREE_T *tree)
{
    tree->Destroy();
    EXPECT_EQ(COUNTED_T::live, 0);
}
} // namespace

// Catches a leaf that divides at capacity instead of capacity + 1, a divided node that
// keeps objects in its own list, and a capacity-0 leaf that holds nothing.
TEST(Octree, LeafHoldsCapacityPlusOneAndDividesOnTheNext)
{
    OCTREE_T tree(Cube(512.0f), 8);
    std::vector<const IOBJECT_T *> accepted;
    std::mt19937 rng(1);
    for (int i = 0; i < 9; i++) Add(&tree, RandomPointIn(tree.box, &rng), &accepted);
    EXPECT_EQ(tree.divided, 0);
    EXPECT_EQ(tree.objects.Count(), 9u);
    EXPECT_EQ(tree.free_slots, -1);

    Add(&tree, RandomPointIn(tree.box, &rng), &accepted);
    EXPECT_EQ(tree.divided, 1);
    EXPECT_EQ(tree.objects.Count(), 0u);
    OCTREE_STATS_T stats;
    EXPECT_TRUE(OctreeHoldsExactly(tree, accepted, &stats));
    EXPECT_EQ(stats.objects, 10u);
    FreeRemaining(&tree);

    OCTREE_T zero(Cube(512.0f), 0);
    accepted.clear();
    Add(&zero, Vector3{1.0f, 1.0f, 1.0f}, &accepted);
    EXPECT_EQ(zero.divided, 0);
    EXPECT_EQ(zero.objects.Count(), 1u);
    Add(&zero, Vector3{-1.0f, -1.0f, -1.0f}, &accepted);
    EXPECT_EQ(zero.divided, 1);
    EXPECT_TRUE(OctreeHoldsExactly(zero, accepted));
    FreeRemaining(&zero);
}

// Catches a closed upper face on the root, a lost lower face, and a tree that frees (or
// keeps) objects it refused: the caller deletes them, so a stored one would be freed twice.
TEST(Octree, RootIsHalfOpenAndRefusedObjectsStayWithTheCaller)
{
    OCTREE_T tree(Cube(512.0f), 8);
    std::vector<const IOBJECT_T *> accepted;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_NE(Add(&tree, Vector3{-256.0f, 0.0f, 0.0f}, &accepted), nullptr);
    EXPECT_NE(Add(&tree, Vector3{-256.0f, -256.0f, -256.0f}, &accepted), nullptr);
    EXPECT_EQ(Add(&tree, Vector3{256.0f, 0.0f, 0.0f}, &accepted), nullptr);
    EXPECT_EQ(Add(&tree, Vector3{0.0f, 256.0f, 0.0f}, &accepted), nullptr);
    EXPECT_EQ(Add(&tree, Vector3{0.0f, 0.0f, 256.0f}, &accepted), nullptr);
    EXPECT_EQ(Add(&tree, Vector3{nan, 0.0f, 0.0f}, &accepted), nullptr);
    EXPECT_EQ(Add(&tree, Vector3{0.0f, -inf, 0.0f}, &accepted), nullptr);
    EXPECT_EQ(tree.objects.Count(), 2u);
    tree.Insert(nullptr); // not an object: nothing to store
    EXPECT_TRUE(OctreeHoldsExactly(tree, accepted));
    FreeRemaining(&tree);
}

// Catches octants counted as a plain binary number (children 5 and 6 swapped) and a centre
// point that lands in the lower children.
TEST(Octree, ChildrenFollowTheOctantTable)
{
    OCTREE_T tree(Cube(512.0f), 8);
    std::vector<const IOBJECT_T *> accepted;
    // Nine points in child 0's corner fill the root; the tenth insertion divides it.
    for (int i = 0; i < 9; i++) Add(&tree, Vector3{-200.0f + i, -200.0f, -200.0f}, &accepted);
    const IOBJECT_T *centre = Add(&tree, Vector3{0.0f, 0.0f, 0.0f}, &accepted);
    const IOBJECT_T *five = Add(&tree, Vector3{-1.0f, 5.0f, 5.0f}, &accepted);
    const IOBJECT_T *six = Add(&tree, Vector3{5.0f, -1.0f, 5.0f}, &accepted);
    const IOBJECT_T *one = Add(&tree, Vector3{5.0f, -1.0f, -5.0f}, &accepted);
    const IOBJECT_T *two = Add(&tree, Vector3{-5.0f, 1.0f, -5.0f}, &accepted);
    ASSERT_EQ(tree.divided, 1);
    EXPECT_EQ(ChildHolding(tree, centre), 7);
    EXPECT_EQ(ChildHolding(tree, five), 5);
    EXPECT_EQ(ChildHolding(tree, six), 6);
    EXPECT_EQ(ChildHolding(tree, one), 1);
    EXPECT_EQ(ChildHolding(tree, two), 2);
    EXPECT_EQ(ChildHolding(tree, accepted[0]), 0);
    EXPECT_TRUE(OctreeHoldsExactly(tree, accepted));
    FreeRemaining(&tree);
}

// Catches a direct route to the child that disagrees with asking all eight, a redistribution
// order other than last in first out, and child boxes that differ from the ones built from
// their own centres: on a power-of-two box the two must build the very same tree.
TEST(Octree, MatchesTheLiteralAlgorithmOnPowerOfTwoBoxes)
{
    for (int capacity : {0, 1, 8, 64})
    {
        OCTREE_T tree(Cube(512.0f), capacity);
        REFERENCE_NODE_T reference(Cube(512.0f), capacity);
        std::vector<const IOBJECT_T *> accepted;
        std::mt19937 rng(7 + capacity);
        std::uniform_real_distribution<float> coord(-300.0f, 300.0f);
        // Integer points land on many internal faces of a power-of-two tree.
        std::uniform_int_distribution<int> lattice(-256, 255);
        for (int i = 0; i < 6000; i++)
        {
            const Vector3 p = (i % 3 == 0) ? Vector3{(float)lattice(rng), (float)lattice(rng), (float)lattice(rng)}
                                           : Vector3{coord(rng), coord(rng), coord(rng)};
            const IOBJECT_T *object = Add(&tree, p, &accepted);
            if (object != nullptr) reference.Insert(object);
        }
        SCOPED_TRACE(capacity);
        OCTREE_STATS_T stats;
        EXPECT_TRUE(OctreeHoldsExactly(tree, accepted, &stats));
        EXPECT_EQ(stats.guard_leaves, 0u);
        EXPECT_TRUE(SameTree(tree, reference));
        FreeRemaining(&tree);
    }
}

// Catches sibling faces recomputed per child (a face point held by no child or by two),
// points on the root's faces handled wrongly, and coincident points that recurse without
// end or get lost. Odd and off-centre boxes make rounded faces disagree if they are not
// shared.
TEST(Octree, EveryAcceptedObjectSitsInExactlyOneContainingLeaf)
{
    const CUBOID boxes[] = {
        Cube(512.0f),
        Cube(300.0f),
        Cube(1000.1f),
        CUBOID(Vector3{3.3f, -7.7f, 0.1f}, Vector3{1000.1f, 300.0f, 77.7f}),
        CUBOID(Vector3{10.0f, 20.0f, 30.0f}, Vector3{-333.3f, 0.7f, 99.9f}), // negative extent
    };
    for (const CUBOID &box : boxes)
    {
        for (int capacity : {0, 8})
        {
            SCOPED_TRACE(capacity);
            OCTREE_T tree(box, capacity);
            std::vector<const IOBJECT_T *> accepted;
            size_t offered = 0;
            std::mt19937 rng(99);
            for (int i = 0; i < 5000; i++, offered++) Add(&tree, RandomPointIn(box, &rng), &accepted);

            // The faces of the tree as grown, then the root's own faces and corners.
            for (const Vector3 &p : PointsOnInnerFaces(tree, &rng))
            {
                Add(&tree, p, &accepted);
                offered++;
            }
            const Vector3 lo = box.min, hi = box.max, mid = RandomPointIn(box, &rng);
            for (const Vector3 &p : {lo, hi, Vector3{hi.x, mid.y, mid.z}, Vector3{mid.x, hi.y, mid.z},
                                     Vector3{mid.x, mid.y, hi.z}, Vector3{lo.x, mid.y, mid.z},
                                     Vector3{std::nextafter(hi.x, lo.x), mid.y, mid.z}})
            {
                Add(&tree, p, &accepted);
                offered++;
            }
            // Coincident clusters: one at a random point, one on an inner corner.
            const Vector3 cluster = RandomPointIn(box, &rng);
            for (int i = 0; i < 1000; i++, offered++) Add(&tree, cluster, &accepted);
            for (int i = 0; i < 1000; i++, offered++) Add(&tree, box.position, &accepted);
            const float nan = std::numeric_limits<float>::quiet_NaN();
            Add(&tree, Vector3{mid.x, nan, mid.z}, &accepted);

            OCTREE_STATS_T stats;
            EXPECT_TRUE(OctreeHoldsExactly(tree, accepted, &stats));
            EXPECT_EQ(stats.objects, accepted.size());
            EXPECT_GE(stats.guard_leaves, 2u); // both clusters ended at the guard
            // Only the four points on the root's upper faces are outside it.
            EXPECT_EQ(offered - accepted.size(), 4u);
            FreeRemaining(&tree);
        }
    }
}

// Catches a depth guard that drops objects, stores them twice, or lets a capacity-0 tree
// recurse on two identical points; also that objects arriving later at a guard leaf stay.
TEST(Octree, CoincidentObjectsStopAtTheDepthGuard)
{
    OCTREE_T tree(Cube(512.0f), 0);
    std::vector<const IOBJECT_T *> accepted;
    const Vector3 p = Vector3{17.25f, -3.5f, 100.0f};
    Add(&tree, p, &accepted);
    Add(&tree, p, &accepted);
    OCTREE_STATS_T stats;
    ASSERT_TRUE(OctreeHoldsExactly(tree, accepted, &stats));
    EXPECT_EQ(stats.deepest, OCTREE_MAX_DEPTH);
    EXPECT_EQ(stats.guard_leaves, 1u);
    for (int i = 0; i < 500; i++) Add(&tree, p, &accepted);
    Add(&tree, Vector3{-17.0f, 3.5f, -100.0f}, &accepted); // elsewhere: an ordinary leaf
    ASSERT_TRUE(OctreeHoldsExactly(tree, accepted, &stats));
    EXPECT_EQ(stats.deepest, OCTREE_MAX_DEPTH);
    FreeRemaining(&tree);
}

// Catches Clear that leaks objects or nodes, frees one twice, forgets to reset the root
// (divided, free_slots, parent, box), or leaves a tree that cannot be filled again; and
// Destroy or the destructor that leak.
TEST(Octree, ClearAndDestroyReleaseEveryObjectOnce)
{
    OCTREE_T tree(Cube(512.0f), 8);
    std::vector<const IOBJECT_T *> accepted;
    std::mt19937 rng(5);
    for (int i = 0; i < 3000; i++) Add(&tree, RandomPointIn(tree.box, &rng), &accepted);
    for (int i = 0; i < 40; i++) Add(&tree, Vector3{1.0f, 2.0f, 3.0f}, &accepted);
    ASSERT_EQ(COUNTED_T::live, (int)accepted.size());

    tree.Clear();
    EXPECT_EQ(COUNTED_T::live, 0);
    EXPECT_EQ(tree.divided, 0);
    EXPECT_EQ(tree.free_slots, 8);
    EXPECT_EQ(tree.parent, nullptr);
    EXPECT_EQ(tree.objects.Count(), 0u);
    EXPECT_EQ(tree.box.min.x, -256.0f);
    EXPECT_EQ(tree.box.max.z, 256.0f);
    for (int i = 0; i < 8; i++) EXPECT_EQ(tree.children[i], nullptr);

    accepted.clear();
    for (int i = 0; i < 100; i++) Add(&tree, RandomPointIn(tree.box, &rng), &accepted);
    EXPECT_TRUE(OctreeHoldsExactly(tree, accepted));
    tree.Destroy();
    EXPECT_EQ(COUNTED_T::live, 0);
    EXPECT_EQ(tree.objects.items, nullptr);

    {
        OCTREE_T *dropped = new OCTREE_T(Cube(64.0f), 2);
        for (int i = 0; i < 50; i++) dropped->Insert(new COUNTED_T(RandomPointIn(dropped->box, &rng)));
        delete dropped; // without Destroy: the destructor releases
    }
    EXPECT_EQ(COUNTED_T::live, 0);
}

namespace
{
struct VISITS_T
{
    std::vector<const OCTREE_T *> leaves;
};

void RecordLeaf(const OCTREE_T *leaf, void *context)
{
    ((VISITS_T *)context)->leaves.push_back(leaf);
}

FRUSTUM_T FrustumAt(Vector3 eye, Vector3 target, float angle)
{
    FRUSTUM_T frustum;
    frustum.SetInternals(angle, 1366.0f / 768.0f, 1.0f, 100000.0f);
    Camera3D camera = {};
    camera.position = eye;
    camera.target = target;
    camera.up = Vector3{0.0f, 1.0f, 0.0f};
    camera.fovy = 90.0f;
    camera.type = CAMERA_PERSPECTIVE;
    frustum.Update(camera);
    return frustum;
}
} // namespace

// Catches a walk that counts leaves the frustum excludes, counts objects of inner nodes,
// skips visible leaves, visits out of octant order, or adds when nothing is visible.
TEST(Octree, CulledWalkCountsExactlyTheObjectsInVisibleLeaves)
{
    OCTREE_T tree(Cube(512.0f), 8);
    std::vector<const IOBJECT_T *> accepted;
    std::mt19937 rng(11);
    for (int i = 0; i < 8000; i++) Add(&tree, RandomPointIn(tree.box, &rng), &accepted);
    std::vector<const OCTREE_T *> all;
    CollectLeaves(tree, &all);

    // From inside the box looking along +x: part of the tree is visible, part is not.
    const FRUSTUM_T frustum = FrustumAt(Vector3{0.0f, 0.0f, 0.0f}, Vector3{1.0f, 0.0f, 0.0f}, 60.0f);
    std::vector<const OCTREE_T *> visible;
    int32_t expected = 0;
    for (const OCTREE_T *leaf : all)
    {
        if (!frustum.BoxVisible(leaf->box.min, leaf->box.max)) continue;
        visible.push_back(leaf);
        expected += (int32_t)leaf->objects.Count();
    }
    ASSERT_GT(visible.size(), 0u);
    ASSERT_LT(visible.size(), all.size());

    // The walk only looks: the frame's drawn counter is the drawing's to raise.
    drawn_object_count = 12345;
    VISITS_T visits;
    EXPECT_EQ(tree.VisitVisibleLeaves(frustum, RecordLeaf, &visits), (uint64_t)expected);
    EXPECT_LT(expected, (int32_t)accepted.size());
    EXPECT_EQ(visits.leaves, visible);
    EXPECT_EQ(drawn_object_count, 12345);

    // Counting only (no visitor) takes the same walk; drawing adds what it drew, wrapping.
    CountDrawnObjects(tree.VisitVisibleLeaves(frustum, nullptr, nullptr));
    EXPECT_EQ(drawn_object_count, 12345 + expected);
    drawn_object_count = INT32_MAX;
    CountDrawnObjects(1);
    EXPECT_EQ(drawn_object_count, INT32_MIN);

    // A camera far outside, looking away: nothing visited, nothing counted.
    visits.leaves.clear();
    const FRUSTUM_T away = FrustumAt(Vector3{2000.0f, 0.0f, 0.0f}, Vector3{3000.0f, 0.0f, 0.0f}, 170.0f);
    EXPECT_EQ(tree.VisitVisibleLeaves(away, RecordLeaf, &visits), 0u);
    EXPECT_TRUE(visits.leaves.empty());
    FreeRemaining(&tree);
}

// Catches an undivided root that is skipped or counted twice, and an empty visible leaf
// that is not handed over (its wire box is still drawn).
TEST(Octree, UndividedRootIsOneLeafWhenVisibleAndNothingWhenNot)
{
    OCTREE_T tree(Cube(512.0f), 64);
    std::vector<const IOBJECT_T *> accepted;
    VISITS_T visits;
    const FRUSTUM_T facing = FrustumAt(Vector3{0.0f, 0.0f, 600.0f}, Vector3{0.0f, 0.0f, 0.0f}, 170.0f);
    EXPECT_EQ(tree.VisitVisibleLeaves(facing, RecordLeaf, &visits), 0u);
    EXPECT_EQ(visits.leaves.size(), 1u);

    std::mt19937 rng(3);
    for (int i = 0; i < 50; i++) Add(&tree, RandomPointIn(tree.box, &rng), &accepted);
    visits.leaves.clear();
    EXPECT_EQ(tree.VisitVisibleLeaves(facing, RecordLeaf, &visits), 50u);
    ASSERT_EQ(visits.leaves.size(), 1u);
    EXPECT_EQ(visits.leaves[0], &tree);

    const FRUSTUM_T behind = FrustumAt(Vector3{0.0f, 0.0f, 600.0f}, Vector3{0.0f, 0.0f, 1000.0f}, 170.0f);
    visits.leaves.clear();
    EXPECT_EQ(tree.VisitVisibleLeaves(behind, RecordLeaf, &visits), 0u);
    EXPECT_TRUE(visits.leaves.empty());
    FreeRemaining(&tree);
}
