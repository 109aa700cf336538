// The shell's own bookkeeping that needs no window.
#include <gtest/gtest.h>

#include "app/viewer.h"
#include "random/random.h"

namespace
{
void Tally(const OCTREE_T *node, uint64_t *nodes, uint64_t *points)
{
    *nodes += 1;
    *points += node->objects.Count();
    if (node->divided)
        for (const OCTREE_T *child : node->children)
            if (child != nullptr) Tally(child, nodes, points);
}
} // namespace

// Catches a test octree that grows for the whole run: a quarter of a million frames' worth of
// points (over an hour at 60 frames a second) keep "Points Inserted" counting every frame,
// while the tree never holds more than its bound and its nodes and points stay within the
// memory the README states.
TEST(Viewer, TestOctreeStaysBoundedOverALongRun)
{
    VIEWER_T viewer;
    viewer.test_octree = new OCTREE_T(CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{512.0f, 512.0f, 512.0f}), 64);
    RandomSeed(3.0);
    uint64_t largest = 0;
    for (uint32_t frame = 1; frame <= 250000; frame++)
    {
        FeedRolledTestPoint(&viewer);
        ASSERT_EQ(viewer.points_inserted, frame);
        ASSERT_LE(viewer.test_points_held, TEST_OCTREE_MAX_POINTS);
        if (viewer.test_points_held != TEST_OCTREE_MAX_POINTS) continue;
        uint64_t nodes = 0, points = 0;
        Tally(viewer.test_octree, &nodes, &points);
        EXPECT_EQ(points, (uint64_t)TEST_OCTREE_MAX_POINTS);
        // Each point, its pointer in a leaf's list, and each node with its list storage.
        const uint64_t bytes = points * (sizeof(IOBJECT_T) + sizeof(void *)) + nodes * sizeof(OCTREE_T);
        largest = std::max(largest, bytes);
    }
    EXPECT_GT(largest, 0u) << "the bound was never reached";
    EXPECT_LE(largest, 10u * 1024u * 1024u);
    DestroyViewer(&viewer);
}
