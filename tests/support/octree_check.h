// Test helpers for octrees: a checker that walks a tree and proves every structural
// invariant and the placement of every object against a brute-force model, and a literal
// model of the insertion algorithm (ask all eight children, children built from their own
// centres) to compare whole trees with.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "octree/array_octree.h"
#include "octree/octree.h"

struct OCTREE_STATS_T
{
    size_t objects = 0;
    size_t leaves = 0;
    size_t inner_nodes = 0;
    size_t guard_leaves = 0;  // leaves at OCTREE_MAX_DEPTH holding more than capacity + 1
    int32_t deepest = 0;
};

// Success when root holds exactly the objects of expected, each once, in the one leaf whose
// box contains its position (found by asking all eight children at every level, each of
// which must answer for exactly one child), and every node satisfies the tree's invariants:
// leaf counts and free_slots, inner nodes empty with eight children, parent links, children
// built from their parent's box with shared faces. stats (optional) describes the tree.
::testing::AssertionResult OctreeHoldsExactly(const OCTREE_T &root, const std::vector<const IOBJECT_T *> &expected,
                                              OCTREE_STATS_T *stats = nullptr);

// All leaves in walk order (octant order, depth first).
void CollectLeaves(const OCTREE_T &node, std::vector<const OCTREE_T *> *leaves);

// The insertion algorithm exactly as first written down: every child asked in turn, each
// child box built as CUBOID(centre, half), no depth guard. It agrees with OCTREE_T wherever
// the children's faces come out exact (power-of-two boxes) and no leaf reaches the guard.
struct REFERENCE_NODE_T
{
    CUBOID box;
    std::vector<const IOBJECT_T *> objects;
    int32_t free_slots = 0;
    int32_t capacity = 0;
    bool divided = false;
    std::unique_ptr<REFERENCE_NODE_T> children[8];

    REFERENCE_NODE_T(const CUBOID &box, int32_t capacity) : box(box), free_slots(capacity), capacity(capacity) {}
    void Insert(const IOBJECT_T *object);
};

// A frustum that excludes no box: no plane and no corner test can reject anything.
FRUSTUM_T EverythingVisible(void);

// n cameras inside and around a 512-unit galaxy box, looking anywhere, narrow to wide; eyes
// (optional) receives where each one stands.
std::vector<FRUSTUM_T> RandomFrusta(std::mt19937 *rng, int n, std::vector<Vector3> *eyes = nullptr);

// Same shape, same boxes bit for bit, same objects in the same order in every leaf.
::testing::AssertionResult SameTree(const OCTREE_T &tree, const REFERENCE_NODE_T &reference);

// Inserts a copy of every position, one by one in order, into an OCTREE_T over tree's box and
// capacity, proves that tree with OctreeHoldsExactly, and then requires tree to match it: the
// same leaves in walk order with boxes bit for bit, each holding the same stars (by index into
// positions) in the same order, draw_positions to agree, and for every frustum the same
// visible leaves and the same visible count. stats (optional) describes the incremental tree.
::testing::AssertionResult SameCellsAsInsertion(const ARRAY_OCTREE_T &tree, const std::vector<Vector3> &positions,
                                                const std::vector<FRUSTUM_T> &frusta = {},
                                                OCTREE_STATS_T *stats = nullptr);
