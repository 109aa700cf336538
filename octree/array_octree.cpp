// The array octree's top-down build and its culled walk. The build reproduces insertion one
// star at a time: a node divides exactly when more than capacity + 1 stars fall in its box
// (above the depth guard), and the order in which stars reach a child is the order in which
// insertion would hand them over, so every leaf lists its stars as the incremental tree does.
#include "octree/array_octree.h"
#include "scene/usable_cores.h"

#include <algorithm>
#include <atomic>
#include <thread>

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

// Below this many stars a pass stays on one thread: a thread costs more than it saves.
constexpr uint32_t PARALLEL_STARS = 4096;

// work(slice, first, end) for `slices` consecutive slices of [0, count), side by side (the
// calling thread takes the last); returns when all are done.
template <typename WORK> void ForEachSlice(uint32_t count, int slices, WORK work)
{
    std::vector<std::thread> helpers;
    for (int s = 0; s < slices; s++)
    {
        const uint32_t first = (uint32_t)((uint64_t)count * (uint64_t)s / (uint64_t)slices);
        const uint32_t end = (uint32_t)((uint64_t)count * (uint64_t)(s + 1) / (uint64_t)slices);
        if (s + 1 < slices)
            helpers.emplace_back(work, s, first, end);
        else
            work(s, first, end);
    }
    for (std::thread &helper : helpers) helper.join();
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

void ARRAY_OCTREE_T::Build(const IOBJECT_T *stars, uint32_t count, int threads)
{
    if (threads <= 0) threads = UsableCores();
    if (threads <= 0) threads = 1;
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
    if (threads > 1 && count >= PARALLEL_STARS)
        indexed = ArriveApart(stars, count, split, threads, sizes);
    else
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
    PART_T whole;
    whole.nodes.swap(nodes);
    if (StaysLeaf(indexed, capacity, 0))
        EmitLeaf(&whole, 0, entries.data());
    else
        Split(&whole, 0, 0, false, sizes, threads);
    nodes.swap(whole.nodes);
    leaf_count = whole.leaves;
}

// The root's arrivals on several threads: each slice of the stars first finds its stars'
// octants (255: outside the box) and counts them, then writes its arrivals where the slices
// before it end, so the order is creation order as on one thread. Returns the stars indexed.
uint32_t ARRAY_OCTREE_T::ArriveApart(const IOBJECT_T *stars, uint32_t count, Vector3 split, int threads,
                                     uint32_t sizes[8])
{
    constexpr uint8_t OUTSIDE = 255;
    std::vector<uint8_t> octant(count);
    std::vector<uint32_t> slice_sizes((size_t)threads * 8, 0);
    std::vector<uint32_t> slice_start((size_t)threads + 1, 0);
    ForEachSlice(count, threads, [&](int s, uint32_t first, uint32_t end) {
        uint32_t *tally = &slice_sizes[(size_t)s * 8];
        uint32_t inside = 0;
        for (uint32_t k = first; k < end; k++)
        {
            const Vector3 p = stars[k].position;
            octant[k] = ContainsPoint(box, p) ? (uint8_t)OctreeChildIndexAt(split, box.size, p) : OUTSIDE;
            if (octant[k] == OUTSIDE) continue;
            tally[octant[k]] += 1;
            inside += 1;
        }
        slice_start[(size_t)s + 1] = inside;
    });
    for (int s = 0; s < threads; s++)
    {
        slice_start[(size_t)s + 1] += slice_start[(size_t)s];
        for (int c = 0; c < 8; c++) sizes[c] += slice_sizes[(size_t)s * 8 + (size_t)c];
    }
    ForEachSlice(count, threads, [&](int s, uint32_t first, uint32_t end) {
        uint32_t at = slice_start[(size_t)s];
        for (uint32_t k = first; k < end; k++)
        {
            if (octant[k] == OUTSIDE) continue;
            entries[at] = ENTRY_T{stars[k].position, k};
            entry_octants[at] = octant[k];
            at += 1;
        }
    });
    return slice_start[(size_t)threads];
}

// Split's partition on several threads: each slice of the stars fills its own part of every
// child's range, after the slices before it, so the partition stays stable, and tallies the
// grandchildren on its own.
void ARRAY_OCTREE_T::PartitionApart(const ENTRY_T *from, const uint8_t *child_of, uint32_t count, ENTRY_T *to,
                                    uint8_t *to_child_of, const uint32_t fill[8], const Vector3 child_split[8],
                                    const Vector3 child_size[8], int threads, uint32_t (*below)[8])
{
    std::vector<uint32_t> slice_fill((size_t)threads * 8, 0);
    std::vector<uint32_t> slice_below((size_t)threads * 64, 0);
    ForEachSlice(count, threads, [&](int s, uint32_t a, uint32_t b) {
        for (uint32_t j = a; j < b; j++) slice_fill[(size_t)s * 8 + child_of[j]] += 1;
    });
    for (int c = 0; c < 8; c++)
    {
        uint32_t next = fill[c];
        for (int s = 0; s < threads; s++)
        {
            const uint32_t n = slice_fill[(size_t)s * 8 + (size_t)c];
            slice_fill[(size_t)s * 8 + (size_t)c] = next;
            next += n;
        }
    }
    ForEachSlice(count, threads, [&](int s, uint32_t a, uint32_t b) {
        uint32_t *at_child = &slice_fill[(size_t)s * 8];
        uint32_t *tally = &slice_below[(size_t)s * 64];
        for (uint32_t j = a; j < b; j++)
        {
            const uint32_t c = child_of[j];
            const uint32_t at = at_child[c]++;
            to[at] = from[j];
            const uint8_t g = (uint8_t)OctreeChildIndexAt(child_split[c], child_size[c], from[j].position);
            to_child_of[at] = g;
            tally[c * 8 + g] += 1;
        }
    });
    for (int s = 0; s < threads; s++)
        for (int c = 0; c < 8; c++)
            for (int g = 0; g < 8; g++) below[c][g] += slice_below[(size_t)s * 64 + (size_t)c * 8 + (size_t)g];
}

// A leaf's stars, in the order they reached it, into draw_order and draw_positions.
void ARRAY_OCTREE_T::EmitLeaf(PART_T *part, uint32_t index, const ENTRY_T *from)
{
    ARRAY_OCTREE_NODE_T &node = part->nodes[index];
    node.leaf = part->leaves++;
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
void ARRAY_OCTREE_T::Split(PART_T *part, uint32_t index, int32_t depth, bool in_scratch, const uint32_t sizes[8],
                           int threads)
{
    std::vector<ARRAY_OCTREE_NODE_T> &nodes = part->nodes;
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
    if (threads > 1 && count >= PARALLEL_STARS)
        PartitionApart(from, child_of, count, to, to_child_of, fill, child_split, child_size, threads, below);
    else
        for (uint32_t j = 0; j < count; j++)
        {
            const uint32_t c = child_of[j];
            const uint32_t at = fill[c]++;
            to[at] = from[j];
            const uint8_t g = (uint8_t)OctreeChildIndexAt(child_split[c], child_size[c], from[j].position);
            to_child_of[at] = g;
            below[c][g] += 1;
        }

    // The root's subtrees hold disjoint ranges of every buffer, so they can be built side by
    // side; below a few thousand stars a thread costs more than it saves.
    if (threads > 1 && count >= 4096)
    {
        SplitSubtreesApart(part, children, depth + 1, !in_scratch, below, divides, threads);
        return;
    }
    for (uint32_t i = 0; i < 8; i++)
    {
        if (divides[i])
            Split(part, children + i, depth + 1, !in_scratch, below[i], 1);
        else
            EmitLeaf(part, children + i, to + part->nodes[children + i].first);
    }
}

// The eight children of part's nodes[children...] built as apart parts on up to `threads`
// threads, then joined in child order, renumbered as one builder would have numbered them:
// a child's subtree is allocated after the subtrees of the children before it.
void ARRAY_OCTREE_T::SplitSubtreesApart(PART_T *part, uint32_t children, int32_t depth, bool in_scratch,
                                        const uint32_t (*below)[8], const bool divides[8], int threads)
{
    PART_T *parts = subtrees;
    for (uint32_t i = 0; i < 8; i++)
    {
        parts[i].nodes.clear();
        parts[i].leaves = 0;
        if (divides[i]) parts[i].nodes.push_back(part->nodes[children + i]);
    }
    std::atomic<uint32_t> next{0};
    auto work = [&]() {
        for (uint32_t i = next.fetch_add(1); i < 8; i = next.fetch_add(1))
            if (divides[i]) Split(&parts[i], 0, depth, in_scratch, below[i], 1);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads && t < 8; t++) helpers.emplace_back(work);
    work();
    for (std::thread &helper : helpers) helper.join();

    const ENTRY_T *to = in_scratch ? scratch.data() : entries.data();
    for (uint32_t i = 0; i < 8; i++)
    {
        if (!divides[i])
        {
            EmitLeaf(part, children + i, to + part->nodes[children + i].first);
            continue;
        }
        // Local node j > 0 becomes base + j - 1; local node 0 is the child itself.
        const uint32_t base = (uint32_t)part->nodes.size();
        const uint32_t leaf_base = part->leaves;
        for (ARRAY_OCTREE_NODE_T &node : parts[i].nodes)
        {
            if (node.children != 0) node.children = base + node.children - 1;
            if (node.children == 0) node.leaf += leaf_base;
        }
        part->nodes[children + i] = parts[i].nodes[0];
        part->nodes.insert(part->nodes.end(), parts[i].nodes.begin() + 1, parts[i].nodes.end());
        part->leaves += parts[i].leaves;
    }
}

uint64_t ARRAY_OCTREE_T::VisitVisibleLeaves(const FRUSTUM_T &frustum, LEAF_VISITOR visit, void *context) const
{
    return VisitBelow(nodes, 0, frustum, visit, context);
}

namespace
{
Vector3 Widened(Vector3 v, float by)
{
    return Vector3{v.x + by, v.y + by, v.z + by};
}

// The leaf walk's ranges without visiting every leaf: a node certainly outside the frustum
// gives nothing, one certainly inside gives all its stars and leaves, which lie side by side.
uint64_t RangesBelow(const std::vector<ARRAY_OCTREE_NODE_T> &nodes, uint32_t index, const FRUSTUM_T &frustum,
                     ARRAY_OCTREE_RANGES_T *ranges)
{
    const ARRAY_OCTREE_NODE_T &node = nodes[index];
    if (node.children == 0)
    {
        if (!frustum.BoxVisible(node.box.min, node.box.max)) return 0;
        AddLeafRanges(node, ranges);
        return node.count;
    }
    if (!frustum.BoxVisible(Widened(node.box.min, -FRUSTUM_ROUNDING_MARGIN),
                            Widened(node.box.max, FRUSTUM_ROUNDING_MARGIN)))
        return 0;
    if (frustum.BoxInside(node.box.min, node.box.max, FRUSTUM_ROUNDING_MARGIN))
    {
        const ARRAY_OCTREE_NODE_T *first = &node;
        while (first->children != 0) first = &nodes[first->children];
        const ARRAY_OCTREE_NODE_T *last = &node;
        while (last->children != 0) last = &nodes[last->children + 7];
        AddRange(&ranges->star_first, &ranges->star_count, (int32_t)node.first, (int32_t)node.count);
        AddRange(&ranges->cell_first, &ranges->cell_count, (int32_t)first->leaf * CELL_LINE_VERTICES,
                 (int32_t)(last->leaf - first->leaf + 1) * CELL_LINE_VERTICES);
        return node.count;
    }
    uint64_t count = 0;
    for (uint32_t i = 0; i < 8; i++) count += RangesBelow(nodes, node.children + i, frustum, ranges);
    return count;
}
} // namespace

uint64_t CollectVisibleRanges(const ARRAY_OCTREE_T &tree, const FRUSTUM_T &frustum,
                              ARRAY_OCTREE_RANGES_T *ranges)
{
    ranges->star_first.clear();
    ranges->star_count.clear();
    ranges->cell_first.clear();
    ranges->cell_count.clear();
    if (tree.nodes.empty()) return 0;
    return RangesBelow(tree.nodes, 0, frustum, ranges);
}
