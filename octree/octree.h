// OCTREE_T: the spatial index of positioned objects. A leaf keeps objects until it holds one
// more than its capacity; the next insertion splits it into eight children of half the size.
// The tree owns every object it accepts. Drawing with frustum culling is in octree_draw.cpp.
#pragma once

#include <cstdint>

#include "scene/arraylist.h"
#include "scene/frustum.h"
#include "scene/object.h"

// A leaf this many levels below the root no longer divides but keeps accepting objects past
// its capacity: objects at one position (or closer than float can separate) would otherwise
// make division recurse without end. The largest galaxy's tree is about ten levels deep,
// far from it.
constexpr int32_t OCTREE_MAX_DEPTH = 32;

// Objects drawn in the current frame. The frame resets it; drawing raises it.
extern int32_t drawn_object_count;

class OCTREE_T
{
  public:
    // A leaf over a copy of box. A negative capacity counts as 0.
    OCTREE_T(const CUBOID &box, int32_t capacity);
    // Releases what Destroy releases, so a tree dropped without Destroy leaks nothing.
    ~OCTREE_T();
    OCTREE_T(const OCTREE_T &) = delete;
    OCTREE_T &operator=(const OCTREE_T &) = delete;

    // Stores object in the leaf whose box contains its position, dividing as needed. An
    // object outside this node's box (or with a NaN coordinate) is not stored and stays
    // with the caller; ContainsPoint(box, position) tells beforehand which way it goes.
    void Insert(IOBJECT_T *object);
    // Releases every stored object and every descendant; the node becomes an empty leaf
    // over the same box.
    void Clear(void);
    // As Clear, then releases the node's own list storage. The caller releases the node.
    void Destroy(void);

    // The culled walk: leaves in octant order, depth first. Each leaf whose box the frustum
    // does not exclude is handed to visit (which may be null: count only). Returns the number
    // of objects those leaves hold; it changes no counter, so a walk that only looks is not
    // counted as drawing.
    typedef void (*LEAF_VISITOR)(const OCTREE_T *leaf, void *context);
    uint64_t VisitVisibleLeaves(const FRUSTUM_T &frustum, LEAF_VISITOR visit, void *context) const;

    // Each visible leaf as a wire box in color, its objects as opaque cubes of edge 0.5; adds
    // the objects drawn to drawn_object_count.
    void Draw(const FRUSTUM_T &frustum, Color color) const;

    CUBOID box;
    ARRAYLIST objects;      // while a leaf: pointers to IOBJECT_T
    int32_t free_slots;     // objects a leaf still accepts before dividing; -1 when full
    int32_t capacity;
    uint8_t divided;        // 1 once the node has its eight children
    OCTREE_T *children[8];  // octant order: see OCTANT_SIGNS
    OCTREE_T *parent;       // null for a root and after Clear
};

// Sign of each child's offset from its parent's centre, per axis (x, y, z), by child index.
// Not a binary count: children 5 and 6 have the x and y signs exchanged relative to one.
constexpr int8_t OCTANT_SIGNS[8][3] = {
    {-1, -1, -1}, {+1, -1, -1}, {-1, +1, -1}, {+1, +1, -1},
    {-1, -1, +1}, {-1, +1, +1}, {+1, -1, +1}, {+1, +1, +1},
};

// Adds objects drawn to drawn_object_count, wrapping: the count is a statistic, never worth
// undefined behaviour.
void CountDrawnObjects(uint64_t objects);

// The one child of a box that a point inside it goes to, and the box of child index: shared
// faces are exact, so every point of a box lies in exactly one child.
int OctreeChildIndex(const CUBOID &box, Vector3 p);
CUBOID OctreeChildBox(const CUBOID &box, int index);
// All eight, children[i] exactly OctreeChildBox(box, i), the split point computed once.
void OctreeChildBoxes(const CUBOID &box, CUBOID children[8]);

// OctreeChildIndex in two steps, for routing many points through one box: the faces the
// children share (the box's centre, kept within its bounds), then the child for a point.
Vector3 OctreeSplitPoint(const CUBOID &box);
inline int OctreeChildIndexAt(Vector3 split, Vector3 size, Vector3 p)
{
    // Child index for each combination of upper halves, x in bit 0, y in bit 1, z in bit 2.
    // A negative extent on an axis puts the child with the "+" offset below the centre.
    constexpr int OCTANT_OF_CODE[8] = {0, 1, 2, 3, 4, 6, 5, 7};
    const int ux = (p.x >= split.x) != (size.x < 0.0f);
    const int uy = (p.y >= split.y) != (size.y < 0.0f);
    const int uz = (p.z >= split.z) != (size.z < 0.0f);
    return OCTANT_OF_CODE[ux | (uy << 1) | (uz << 2)];
}

// Levels between node and its root (0 for a root).
int32_t OctreeDepth(const OCTREE_T *node);
