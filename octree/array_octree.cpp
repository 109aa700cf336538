// The array octree's top-down build and its culled walk. The build reproduces insertion one
// star at a time: a node divides exactly when more than capacity + 1 stars fall in its box
// (above the depth guard), and the order in which stars reach a child is the order in which
// insertion would hand them over, so every leaf lists its stars as the incremental tree does.
#include "octree/array_octree.h"

#include <algorithm>
#include <atomic>

namespace
{
// One count for every tree of the process, so that a tree swapped in from elsewhere never
// carries the version another tree had when its GPU copy was made.
std::atomic<uint32_t> last_version{0};

uint64_t VisitBelow(const std::vector<ARRAY_OCTREE_NODE_T> &nodes, uint32_t index, const FRUSTUM_T &frustum,
                    ARRAY_OCTREE_T::LEAF_VISITOR visit, void *context)
{
    const ARRAY_OCTREE_NODE_T &node = nodes[index];
    if (node.children != 0)
    {
        uint64_t count = 0;
        for (uint32_t i = 0; i < 8; i++)
            count += VisitBelow(nodes, node.children + i, frustum, visit, context);
        return count;
    }
    if (!frustum.BoxVisible(node.box.min, node.box.max)) return 0;
    if (visit != nullptr) visit(node, context);
    return node.count;
}

// A node with these many stars at this depth is a leaf: the incremental tree divides a leaf
// only on the arrival after capacity + 1, and never at the depth guard.
inline bool StaysLeaf(uint32_t count, int32_t capacity, int32_t depth)
{
    return count <= (uint64_t)capacity + 1 || depth >= OCTREE_MAX_DEPTH;
}

// Extends the last range when the new one starts where it ends.
void AddRange(std::vector<int32_t> *first, std::vector<int32_t> *count, int32_t start, int32_t length)
{
    if (length == 0) return;
    if (!first->empty() && first->back() + count->back() == start)
    {
        count->back() += length;
        return;
    }
    first->push_back(start);
    count->push_back(length);
}

void AddLeafRanges(const ARRAY_OCTREE_NODE_T &leaf, void *context)
{
    ARRAY_OCTREE_RANGES_T *ranges = (ARRAY_OCTREE_RANGES_T *)context;
    AddRange(&ranges->star_first, &ranges->star_count, (int32_t)leaf.first, (int32_t)leaf.count);
    AddRange(&ranges->cell_first, &ranges->cell_count, (int32_t)leaf.leaf * CELL_LINE_VERTICES,
             CELL_LINE_VERTICES);
}
} // namespace

ARRAY_OCTREE_T::ARRAY_OCTREE_T(const CUBOID &box, int32_t capacity)
    : box(box), capacity(capacity < 0 ? 0 : capacity)
{
    Clear();
}

void ARRAY_OCTREE_T::Clear(void)
{
    ResetToRoot();
    draw_order.clear();
    draw_positions.clear();
}

void ARRAY_OCTREE_T::ResetToRoot(void)
{
    nodes.clear();
    ARRAY_OCTREE_NODE_T root;
    root.box = box;
    nodes.push_back(root);
    leaf_count = 1;
    version = last_version.fetch_add(1, std::memory_order_relaxed) + 1;
}

void ARRAY_OCTREE_T::Build(const IOBJECT_T *stars, uint32_t count)
{
    // draw_order and draw_positions keep their length: the leaves write every element again,
    // and emptying them would make growing them back fill megabytes of zeros first.
    ResetToRoot();
    // The buffers only grow, so a rebuild of the same size touches no fresh memory.
    if (entries.size() < count)
    {
        entries.resize(count);
        entry_octants.resize(count);
    }
    // Creation order is the order of arrival at the root; the root's children are tallied
    // on the way in.
    const Vector3 split = OctreeSplitPoint(box);
    uint32_t sizes[8] = {};
    uint32_t indexed = 0;
    for (uint32_t k = 0; k < count; k++)
    {
        const Vector3 p = stars[k].position;
        if (!ContainsPoint(box, p)) continue;
        const uint8_t child = (uint8_t)OctreeChildIndexAt(split, box.size, p);
        entries[indexed] = ENTRY_T{p, k};
        entry_octants[indexed] = child;
        sizes[child] += 1;
        indexed += 1;
    }
    nodes[0].count = indexed;
    if (scratch.size() < indexed)
    {
        scratch.resize(indexed);
        scratch_octants.resize(indexed);
    }
    draw_order.resize(indexed);
    draw_positions.resize(indexed);
    leaf_count = 0;
    if (StaysLeaf(indexed, capacity, 0))
        EmitLeaf(0, entries.data());
    else
        Split(0, 0, false, sizes);
}

// A leaf's stars, in the order they reached it, into draw_order and draw_positions.
void ARRAY_OCTREE_T::EmitLeaf(uint32_t index, const ENTRY_T *from)
{
    ARRAY_OCTREE_NODE_T &node = nodes[index];
    node.leaf = leaf_count++;
    uint32_t *order = draw_order.data() + node.first;
    Vector3 *positions = draw_positions.data() + node.first;
    for (uint32_t j = 0; j < node.count; j++)
    {
        order[j] = from[j].star;
        positions[j] = from[j].position;
    }
}

// nodes[index], which divides, holds entries[first] onwards (scratch[first] onwards when
// in_scratch) in the order the stars reached it, each with the child it goes to beside it,
// and sizes the stars each child gets. Each level partitions from one buffer into the other
// and, in the same pass, routes every star through its child's box, so a level reads its
// stars once. Leaves are finished here, without a call of their own: most nodes are leaves.
void ARRAY_OCTREE_T::Split(uint32_t index, int32_t depth, bool in_scratch, const uint32_t sizes[8])
{
    const uint32_t first = nodes[index].first;
    const uint32_t count = nodes[index].count;
    ENTRY_T *from = (in_scratch ? scratch.data() : entries.data()) + first;
    uint8_t *child_of = (in_scratch ? scratch_octants.data() : entry_octants.data()) + first;

    // A leaf holds its first capacity + 1 arrivals and divides on the next; division hands
    // the held ones on last first, then every later arrival follows in its own order.
    const uint32_t full = (uint32_t)capacity + 1;
    std::reverse(from, from + full);
    std::reverse(child_of, child_of + full);

    // The children's ranges lie side by side in child order, so the leaves end up in walk
    // order. Only a child that divides needs its stars routed one level further; the others
    // route theirs anywhere, unread.
    CUBOID boxes[8];
    OctreeChildBoxes(nodes[index].box, boxes);
    const uint32_t children = (uint32_t)nodes.size();
    nodes.resize(children + 8);
    nodes[index].children = children;
    uint32_t fill[8];
    Vector3 child_split[8];
    Vector3 child_size[8];
    bool divides[8];
    uint32_t next = first;
    for (int i = 0; i < 8; i++)
    {
        ARRAY_OCTREE_NODE_T &child = nodes[children + i];
        child.box = boxes[i];
        child.first = next;
        child.count = sizes[i];
        fill[i] = next;
        next += sizes[i];
        divides[i] = !StaysLeaf(sizes[i], capacity, depth + 1);
        child_split[i] = divides[i] ? OctreeSplitPoint(boxes[i]) : Vector3{0.0f, 0.0f, 0.0f};
        child_size[i] = boxes[i].size;
    }

    // Stable partition by child; each star's child in its child's box is tallied for the
    // level below.
    ENTRY_T *to = in_scratch ? entries.data() : scratch.data();
    uint8_t *to_child_of = in_scratch ? entry_octants.data() : scratch_octants.data();
    uint32_t below[8][8] = {};
    for (uint32_t j = 0; j < count; j++)
    {
        const uint32_t c = child_of[j];
        const uint32_t at = fill[c]++;
        to[at] = from[j];
        const uint8_t g = (uint8_t)OctreeChildIndexAt(child_split[c], child_size[c], from[j].position);
        to_child_of[at] = g;
        below[c][g] += 1;
    }

    for (uint32_t i = 0; i < 8; i++)
    {
        if (divides[i])
            Split(children + i, depth + 1, !in_scratch, below[i]);
        else
            EmitLeaf(children + i, to + nodes[children + i].first);
    }
}

uint64_t ARRAY_OCTREE_T::VisitVisibleLeaves(const FRUSTUM_T &frustum, LEAF_VISITOR visit, void *context) const
{
    return VisitBelow(nodes, 0, frustum, visit, context);
}

uint64_t CollectVisibleRanges(const ARRAY_OCTREE_T &tree, const FRUSTUM_T &frustum,
                              ARRAY_OCTREE_RANGES_T *ranges)
{
    ranges->star_first.clear();
    ranges->star_count.clear();
    ranges->cell_first.clear();
    ranges->cell_count.clear();
    return tree.VisitVisibleLeaves(frustum, AddLeafRanges, ranges);
}
