// Octree insertion, division, release and the culled leaf walk. Children share their faces
// exactly, so a point in a node lies in exactly one child and can be routed to it directly.
#include "octree/octree.h"

#include <new>

int32_t drawn_object_count = 0;

namespace
{
// The face that the children share on each axis: the node's centre. Constructed boxes
// always have their centre between their bounds; the clamp only keeps a box built by hand
// from splitting outside itself.
inline float SplitFace(float centre, float lo, float hi)
{
    if (centre < lo) return lo;
    if (centre > hi) return hi;
    return centre;
}

inline Vector3 SplitPoint(const CUBOID &box)
{
    return Vector3{SplitFace(box.position.x, box.min.x, box.max.x), SplitFace(box.position.y, box.min.y, box.max.y),
                   SplitFace(box.position.z, box.min.z, box.max.z)};
}

// One axis of a child box. Centre and size are those of a box of half the size around the
// offset centre; the bounds are the parent's own outer face and the shared split face, so
// siblings meet exactly whatever rounding does to the centres. The side is decided exactly
// as OctreeChildIndex decides it.
inline void ChildAxis(float centre, float size, float lo, float split, float hi, int sign, float *child_centre,
                      float *child_size, float *child_lo, float *child_hi)
{
    const float half = size * 0.5f;
    const float quarter = half * 0.5f;
    *child_centre = (sign > 0) ? centre + quarter : centre - quarter;
    *child_size = half;
    const bool lower = (sign < 0) != (size < 0.0f);
    *child_lo = lower ? lo : split;
    *child_hi = lower ? split : hi;
}

void StoreInLeaf(OCTREE_T *leaf, IOBJECT_T *object)
{
    leaf->objects.Push(object);
    // A leaf held past its capacity (at the depth guard) stays at -1.
    if (leaf->free_slots >= 0) leaf->free_slots -= 1;
}

bool Divide(OCTREE_T *node);

// Stores object somewhere below node, whose box contains the object's position.
void InsertBelow(OCTREE_T *node, IOBJECT_T *object, int32_t depth)
{
    const Vector3 p = object->position;
    for (;;)
    {
        if (node->divided)
        {
            node = node->children[OctreeChildIndex(node->box, p)];
            depth += 1;
            continue;
        }
        if (node->free_slots >= 0 || depth >= OCTREE_MAX_DEPTH)
        {
            StoreInLeaf(node, object);
            return;
        }
        // Full leaf: after division the loop routes the object into a child. If the
        // children cannot be allocated the leaf keeps it, past its capacity.
        if (!Divide(node))
        {
            StoreInLeaf(node, object);
            return;
        }
    }
}

// The eight children of a node live in one block: one allocation per division instead of
// eight, and siblings side by side in memory for the descent. children[0] is the block.
OCTREE_T *AllocateChildren(const OCTREE_T *node)
{
    OCTREE_T *block = (OCTREE_T *)::operator new(8 * sizeof(OCTREE_T), std::nothrow);
    if (block == nullptr) return nullptr;
    for (int i = 0; i < 8; i++) new (&block[i]) OCTREE_T(OctreeChildBox(node->box, i), node->capacity);
    return block;
}

void FreeChildren(OCTREE_T *block)
{
    for (int i = 0; i < 8; i++) block[i].~OCTREE_T();
    ::operator delete(block);
}

bool Divide(OCTREE_T *node)
{
    OCTREE_T *block = AllocateChildren(node);
    if (block == nullptr) return false;
    for (int i = 0; i < 8; i++)
    {
        block[i].parent = node;
        node->children[i] = &block[i];
    }
    node->divided = 1;
    node->free_slots = -1;

    // Last in, first out: the held objects reach the children in the reverse order of their
    // arrival, which fixes the order inside each child's list. Reading the list from its end
    // and dropping it afterwards is popping it empty without resizing it at every step.
    const int32_t child_depth = OctreeDepth(node) + 1;
    for (uint64_t k = node->objects.Count(); k > 0; k--)
    {
        IOBJECT_T *object = (IOBJECT_T *)node->objects.Get(k - 1);
        InsertBelow(node->children[OctreeChildIndex(node->box, object->position)], object, child_depth);
    }
    node->objects = ARRAYLIST();
    return true;
}

// Everything below and in node: descendants destroyed and freed, objects freed (last stored
// first, as popping would), the node's list left empty.
void ReleaseContents(OCTREE_T *node)
{
    if (node->divided)
    {
        // Each child's destructor destroys it (and so everything below it) first.
        OCTREE_T *block = node->children[0];
        for (int i = 0; i < 8; i++) node->children[i] = nullptr;
        if (block != nullptr) FreeChildren(block);
    }
    for (uint64_t k = node->objects.Count(); k > 0; k--) delete node->objects.Get(k - 1);
    node->objects = ARRAYLIST();
}
} // namespace

int OctreeChildIndex(const CUBOID &box, Vector3 p)
{
    return OctreeChildIndexAt(SplitPoint(box), box.size, p);
}

Vector3 OctreeSplitPoint(const CUBOID &box)
{
    return SplitPoint(box);
}

namespace
{
CUBOID ChildBoxAt(const CUBOID &box, Vector3 split, int index)
{
    const int8_t *sign = OCTANT_SIGNS[index];
    CUBOID child;
    ChildAxis(box.position.x, box.size.x, box.min.x, split.x, box.max.x, sign[0], &child.position.x, &child.size.x,
              &child.min.x, &child.max.x);
    ChildAxis(box.position.y, box.size.y, box.min.y, split.y, box.max.y, sign[1], &child.position.y, &child.size.y,
              &child.min.y, &child.max.y);
    ChildAxis(box.position.z, box.size.z, box.min.z, split.z, box.max.z, sign[2], &child.position.z, &child.size.z,
              &child.min.z, &child.max.z);
    return child;
}
} // namespace

CUBOID OctreeChildBox(const CUBOID &box, int index)
{
    return ChildBoxAt(box, SplitPoint(box), index);
}

void OctreeChildBoxes(const CUBOID &box, CUBOID children[8])
{
    const Vector3 split = SplitPoint(box);
    for (int i = 0; i < 8; i++) children[i] = ChildBoxAt(box, split, i);
}

int32_t OctreeDepth(const OCTREE_T *node)
{
    int32_t depth = 0;
    for (const OCTREE_T *up = node->parent; up != nullptr; up = up->parent) depth += 1;
    return depth;
}

OCTREE_T::OCTREE_T(const CUBOID &box, int32_t capacity)
    : box(box), objects(), free_slots(capacity < 0 ? 0 : capacity), capacity(capacity < 0 ? 0 : capacity),
      divided(0), children{}, parent(nullptr)
{
}

OCTREE_T::~OCTREE_T()
{
    Destroy();
}

void OCTREE_T::Insert(IOBJECT_T *object)
{
    if (object == nullptr || !ContainsPoint(box, object->position)) return;
    InsertBelow(this, object, OctreeDepth(this));
}

void OCTREE_T::Clear(void)
{
    ReleaseContents(this);
    divided = 0;
    free_slots = capacity;
    parent = nullptr;
}

void OCTREE_T::Destroy(void)
{
    ReleaseContents(this); // leaves the list without storage too
    divided = 0;
    free_slots = capacity;
}

uint64_t OCTREE_T::VisitVisibleLeaves(const FRUSTUM_T &frustum, LEAF_VISITOR visit, void *context) const
{
    if (divided)
    {
        uint64_t count = 0;
        for (int i = 0; i < 8; i++)
        {
            if (children[i] != nullptr) count += children[i]->VisitVisibleLeaves(frustum, visit, context);
        }
        return count;
    }
    if (!frustum.BoxVisible(box.min, box.max)) return 0;
    if (visit != nullptr) visit(this, context);
    return objects.Count();
}

void CountDrawnObjects(uint64_t objects)
{
    drawn_object_count = (int32_t)((uint32_t)drawn_object_count + (uint32_t)objects);
}
