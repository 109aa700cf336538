// The array octree's top-down build and its culled walk. The build reproduces insertion one
// star at a time: a node divides exactly when more than capacity + 1 stars fall in its box
// (above the depth guard), and the order in which stars reach a child is the order in which
// insertion would hand them over, so every leaf lists its stars as the incremental tree does.
#include "octree/array_octree.h"

#include <algorithm>

namespace
{
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
    nodes.clear();
    ARRAY_OCTREE_NODE_T root;
    root.box = box;
    nodes.push_back(root);
    draw_order.clear();
    draw_positions.clear();
    leaf_count = 1;
    version += 1;
}

void ARRAY_OCTREE_T::Build(const IOBJECT_T *stars, uint32_t count)
{
    Clear();
    // Creation order is the order of arrival at the root.
    entries.clear();
    for (uint32_t k = 0; k < count; k++)
    {
        if (ContainsPoint(box, stars[k].position)) entries.push_back(ENTRY_T{stars[k].position, k});
    }
    const size_t indexed = entries.size();
    nodes[0].count = (uint32_t)indexed;
    scratch.resize(indexed);
    octant.resize(indexed);
    leaf_count = 0;
    Split(0, 0, false);

    draw_order.resize(indexed);
    draw_positions.resize(indexed);
    for (size_t j = 0; j < indexed; j++)
    {
        draw_order[j] = entries[j].star;
        draw_positions[j] = entries[j].position;
    }
}

// nodes[index] holds entries[first] onwards (scratch[first] onwards when in_scratch) in the
// order the stars reached it. Each level partitions from one buffer into the other; a leaf
// that ends in scratch is copied back, so every leaf is in entries at the end.
void ARRAY_OCTREE_T::Split(uint32_t index, int32_t depth, bool in_scratch)
{
    const uint32_t first = nodes[index].first;
    const uint32_t count = nodes[index].count;
    ENTRY_T *from = in_scratch ? scratch.data() + first : entries.data() + first;
    const uint64_t full = (uint64_t)capacity + 1;
    if (count <= full || depth >= OCTREE_MAX_DEPTH)
    {
        nodes[index].leaf = leaf_count++;
        if (in_scratch) std::copy(from, from + count, entries.data() + first);
        return;
    }

    // A leaf holds its first capacity + 1 arrivals and divides on the next; division hands
    // the held ones on last first, then every later arrival follows in its own order.
    std::reverse(from, from + full);

    // Stable partition by child: the children's ranges lie side by side in child order, so
    // the leaves end up in walk order.
    const CUBOID parent = nodes[index].box;
    const Vector3 split = OctreeSplitPoint(parent);
    uint8_t *child_of = octant.data() + first;
    for (uint32_t j = 0; j < count; j++)
        child_of[j] = (uint8_t)OctreeChildIndexAt(split, parent.size, from[j].position);
    // Four tallies taken in turn: neighbours often go to the same child, and one tally
    // would make each count wait for the one before it.
    uint32_t tally[4][8] = {};
    uint32_t j = 0;
    for (; j + 4 <= count; j += 4)
    {
        tally[0][child_of[j]] += 1;
        tally[1][child_of[j + 1]] += 1;
        tally[2][child_of[j + 2]] += 1;
        tally[3][child_of[j + 3]] += 1;
    }
    for (; j < count; j++)
        tally[0][child_of[j]] += 1;
    uint32_t sizes[8];
    for (int i = 0; i < 8; i++)
        sizes[i] = tally[0][i] + tally[1][i] + tally[2][i] + tally[3][i];
    uint32_t starts[8];
    uint32_t next = first;
    for (int i = 0; i < 8; i++)
    {
        starts[i] = next;
        next += sizes[i];
    }
    ENTRY_T *to = in_scratch ? entries.data() : scratch.data();
    uint32_t fill[8];
    std::copy(starts, starts + 8, fill);
    for (j = 0; j < count; j++)
        to[fill[child_of[j]]++] = from[j];

    const uint32_t children = (uint32_t)nodes.size();
    for (int i = 0; i < 8; i++)
    {
        ARRAY_OCTREE_NODE_T child;
        child.box = OctreeChildBox(parent, i);
        child.first = starts[i];
        child.count = sizes[i];
        nodes.push_back(child);
    }
    nodes[index].children = children;
    for (uint32_t i = 0; i < 8; i++)
        Split(children + i, depth + 1, !in_scratch);
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
