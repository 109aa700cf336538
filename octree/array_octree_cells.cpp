// Making the cells' lines, and choosing a frame's share of them. An edge is kept as the axis it
// runs along, its two other coordinates and its span, each coordinate as bits that sort in
// numeric order, so that equal edges and edges meeting end to end are found by sorting.
#include "octree/array_octree_cells.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

#include "scene/usable_cores.h"

namespace
{

// A float's bits turned so that unsigned order is numeric order, and back.
uint32_t Ordered(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
}

float FromOrdered(uint32_t ordered)
{
    const uint32_t bits = (ordered & 0x80000000u) ? (ordered & 0x7FFFFFFFu) : ~ordered;
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A run along `axis` at the other two coordinates (lower axis first) in `line`, from lo to hi;
// `tag` is the leaf it came from, or how many leaves' edges cover it.
struct EDGE_T
{
    uint64_t line;
    uint32_t axis;
    uint32_t lo;
    uint32_t hi;
    uint32_t tag;
};

bool SameLine(const EDGE_T &a, const EDGE_T &b)
{
    return a.axis == b.axis && a.line == b.line;
}

struct EDGE_BEFORE_T
{
    bool operator()(const EDGE_T &a, const EDGE_T &b) const
    {
        if (a.axis != b.axis) return a.axis < b.axis;
        if (a.line != b.line) return a.line < b.line;
        if (a.lo != b.lo) return a.lo < b.lo;
        if (a.hi != b.hi) return a.hi < b.hi;
        return a.tag < b.tag;
    }
};

// The leaf's twelve edges, with its corners at centre +- half the size as the tree's immediate
// drawing puts them, in EDGE_BEFORE_T order.
void AddLeafEdges(const ARRAY_OCTREE_NODE_T &leaf, uint32_t tag, std::vector<EDGE_T> *edges)
{
    const float c[3] = {leaf.box.position.x, leaf.box.position.y, leaf.box.position.z};
    const float h[3] = {leaf.box.size.x / 2.0f, leaf.box.size.y / 2.0f, leaf.box.size.z / 2.0f};
    const size_t start = edges->size();
    for (uint32_t axis = 0; axis < 3; axis++)
    {
        const uint32_t a = axis == 0 ? 1 : 0;
        const uint32_t b = axis == 2 ? 1 : 2;
        for (int side = 0; side < 4; side++)
        {
            const float u = (side & 2) ? c[a] + h[a] : c[a] - h[a];
            const float v = (side & 1) ? c[b] + h[b] : c[b] - h[b];
            // A box of negative size has its ends the other way round.
            const uint32_t from = Ordered(c[axis] - h[axis]), to = Ordered(c[axis] + h[axis]);
            edges->push_back(EDGE_T{(uint64_t)Ordered(u) << 32 | Ordered(v), axis, std::min(from, to),
                                    std::max(from, to), tag});
        }
    }
    std::sort(edges->begin() + (std::ptrdiff_t)start, edges->end(), EDGE_BEFORE_T());
}

void AddLine(const EDGE_T &edge, uint32_t multiplicity, std::vector<CELL_VERTEX_T> *vertices)
{
    float p[3] = {0.0f, 0.0f, 0.0f};
    const uint32_t a = edge.axis == 0 ? 1 : 0;
    const uint32_t b = edge.axis == 2 ? 1 : 2;
    p[a] = FromOrdered((uint32_t)(edge.line >> 32));
    p[b] = FromOrdered((uint32_t)edge.line);
    p[edge.axis] = FromOrdered(edge.lo);
    vertices->push_back(CELL_VERTEX_T{Vector3{p[0], p[1], p[2]}, (float)multiplicity});
    p[edge.axis] = FromOrdered(edge.hi);
    vertices->push_back(CELL_VERTEX_T{Vector3{p[0], p[1], p[2]}, (float)multiplicity});
}

float AxisOf(Vector3 v, uint32_t axis)
{
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

// The shallowest depth whose cells have a face in the plane at value across axis. Children's
// boxes are halves of halves, so a face's place is an exact binary fraction of the root's edge
// down to any depth a float can tell apart; the tolerance absorbs the last bit.
uint8_t PlaneLevel(const CUBOID &root, uint32_t axis, uint32_t ordered)
{
    const double size = AxisOf(root.size, axis); // a box of negative size counts from its max
    if (!(std::fabs(size) > 0.0)) return 0;
    const double t = ((double)FromOrdered(ordered) - (double)AxisOf(root.min, axis)) / size;
    constexpr double TOLERANCE = 1e-6;
    for (uint8_t d = 0; d < CELL_LEVEL_MOST; d++)
    {
        const double scaled = std::ldexp(t, d);
        if (std::fabs(scaled - std::nearbyint(scaled)) <= std::ldexp(TOLERANCE, d)) return d;
    }
    return CELL_LEVEL_MOST;
}

// A line lies on the edges of the cells of the deeper of the two planes it runs in.
uint8_t LineLevel(const CUBOID &root, const EDGE_T &edge)
{
    const uint32_t a = edge.axis == 0 ? 1 : 0;
    const uint32_t b = edge.axis == 2 ? 1 : 2;
    const uint8_t u = PlaneLevel(root, a, (uint32_t)(edge.line >> 32));
    const uint8_t v = PlaneLevel(root, b, (uint32_t)edge.line);
    return u > v ? u : v;
}

// A line with its level and its place among the lines of one leaf or block.
struct LEVELLED_T
{
    uint8_t level;
    uint32_t place;
    const EDGE_T *edge;
    bool operator<(const LEVELLED_T &other) const
    {
        return level != other.level ? level < other.level : place < other.place;
    }
};

// The lines in *lines (a buffer the caller keeps, so a million leaves allocate nothing), in
// order of their level, shallowest first, each as AddLine puts it, with its level.
void AddLinesByLevel(const CUBOID &root, std::vector<LEVELLED_T> *lines, std::vector<CELL_VERTEX_T> *vertices,
                     std::vector<uint8_t> *levels)
{
    for (LEVELLED_T &line : *lines) line.level = LineLevel(root, *line.edge);
    std::sort(lines->begin(), lines->end());
    for (const LEVELLED_T &line : *lines)
    {
        AddLine(*line.edge, line.edge->tag, vertices);
        levels->push_back(line.level);
    }
}

// Each leaf's edges, every edge that several leaves share once with the first of them in walk
// order and the count of all, leaf after leaf.
void AddLeafLines(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_CELLS_T *cells)
{
    std::vector<EDGE_T> edges;
    edges.reserve((size_t)tree.LeafCount() * 12);
    for (const ARRAY_OCTREE_NODE_T &node : tree.nodes)
        if (node.children == 0) AddLeafEdges(node, node.leaf, &edges);
    // The two halves side by side, then merged: this sort is most of the leaves' share.
    const auto middle = edges.begin() + (std::ptrdiff_t)(edges.size() / 2);
    const auto sort_front = [&edges, middle] { std::sort(edges.begin(), middle, EDGE_BEFORE_T()); };
    std::thread helper;
    if (UsableCores() > 1) helper = std::thread(sort_front); // a page without threads sorts both here
    else sort_front();
    std::sort(middle, edges.end(), EDGE_BEFORE_T());
    if (helper.joinable()) helper.join();
    std::inplace_merge(edges.begin(), middle, edges.end(), EDGE_BEFORE_T());

    // The first of equal edges has the lowest leaf; it carries their count instead.
    std::vector<uint32_t> owner;
    size_t unique = 0;
    for (size_t i = 0; i < edges.size();)
    {
        size_t j = i + 1;
        while (j < edges.size() && SameLine(edges[i], edges[j]) && edges[i].lo == edges[j].lo &&
               edges[i].hi == edges[j].hi)
            j++;
        owner.push_back(edges[i].tag);
        edges[unique] = edges[i];
        edges[unique].tag = (uint32_t)(j - i);
        unique++;
        i = j;
    }
    edges.resize(unique);

    // Leaf by leaf, a counting sort.
    const size_t leaves = tree.LeafCount();
    std::vector<uint32_t> start(leaves + 1, 0);
    for (uint32_t leaf : owner) start[leaf + 1] += 1;
    for (size_t l = 0; l < leaves; l++) start[l + 1] += start[l];
    std::vector<uint32_t> order(unique);
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (uint32_t e = 0; e < (uint32_t)unique; e++) order[fill[owner[e]]++] = e;
    }
    cells->leaf_first.assign(leaves + 1, 0);
    cells->vertices.reserve(unique * 2);
    cells->line_level.reserve(unique);
    std::vector<LEVELLED_T> lines;
    for (size_t l = 0; l < leaves; l++)
    {
        cells->leaf_first[l] = (int32_t)cells->vertices.size();
        lines.clear();
        for (uint32_t k = start[l]; k < start[l + 1]; k++) lines.push_back(LEVELLED_T{0, k, &edges[order[k]]});
        AddLinesByLevel(tree.box, &lines, &cells->vertices, &cells->line_level);
    }
    cells->leaf_first[leaves] = (int32_t)cells->vertices.size();
}

// The runs of one line that `edges` (one line's, each tagged with its cover) cover, as maximal
// runs of the same cover, onto out.
void MergeLine(const EDGE_T *edges, size_t count, std::vector<std::pair<uint32_t, int32_t>> *events,
               std::vector<EDGE_T> *out)
{
    events->clear();
    for (size_t k = 0; k < count; k++)
    {
        events->push_back({edges[k].lo, (int32_t)edges[k].tag});
        events->push_back({edges[k].hi, -(int32_t)edges[k].tag});
    }
    std::sort(events->begin(), events->end());
    int32_t cover = 0;
    for (size_t e = 0; e < events->size();)
    {
        const uint32_t at = (*events)[e].first;
        while (e < events->size() && (*events)[e].first == at) cover += (*events)[e++].second;
        if (e == events->size() || cover <= 0) continue;
        const uint32_t to = (*events)[e].first;
        if (!out->empty() && SameLine(out->back(), edges[0]) && out->back().hi == at && out->back().tag == (uint32_t)cover)
            out->back().hi = to;
        else
            out->push_back(EDGE_T{edges[0].line, edges[0].axis, at, to, (uint32_t)cover});
    }
}

// The merged runs of the subtree at index, in EDGE_BEFORE_T order, into *runs; those of every
// block within it are stored in part (with part_blocks listing node, first vertex, count).
struct PART_T
{
    CUBOID root; // the tree's box, which the lines' levels are reckoned from
    std::vector<CELL_VERTEX_T> vertices;
    std::vector<uint8_t> levels;
    std::vector<int32_t> blocks; // node, first, count; first within vertices
};

void AddBlock(const std::vector<EDGE_T> &runs, PART_T *part)
{
    std::vector<LEVELLED_T> lines(runs.size());
    for (size_t k = 0; k < runs.size(); k++) lines[k] = LEVELLED_T{0, (uint32_t)k, &runs[k]};
    AddLinesByLevel(part->root, &lines, &part->vertices, &part->levels);
}

// Children's runs are each in order: merging them pairwise is cheaper than sorting them again.
void MergeSorted(std::vector<EDGE_T> *all, const size_t bounds[9])
{
    for (size_t width = 1; width < 8; width *= 2)
        for (size_t i = 0; i + width < 8; i += 2 * width)
        {
            const size_t end = i + 2 * width < 8 ? i + 2 * width : 8;
            std::inplace_merge(all->begin() + (std::ptrdiff_t)bounds[i], all->begin() + (std::ptrdiff_t)bounds[i + width],
                               all->begin() + (std::ptrdiff_t)bounds[end], EDGE_BEFORE_T());
        }
}

// Working storage for one depth of MergeBelow, kept so that nodes do not allocate their own:
// a node's children are merged one after the other at the depth below it.
struct SCRATCH_T
{
    std::vector<EDGE_T> all;
    std::vector<EDGE_T> runs;
    std::vector<std::pair<uint32_t, int32_t>> events;
};

// scratch has a depth more than the tree (never resized here, so pointers into it hold).
uint32_t MergeBelow(const std::vector<ARRAY_OCTREE_NODE_T> &nodes, uint32_t index, size_t depth,
                    std::vector<SCRATCH_T> *scratch, std::vector<EDGE_T> *runs, PART_T *part)
{
    const ARRAY_OCTREE_NODE_T &node = nodes[index];
    runs->clear();
    if (node.children == 0)
    {
        AddLeafEdges(node, 1, runs);
        return 1;
    }
    uint32_t leaves = 0;
    size_t bounds[9] = {};
    std::vector<EDGE_T> &all = (*scratch)[depth].all;
    const std::vector<EDGE_T> &child = (*scratch)[depth + 1].runs;
    all.clear();
    for (uint32_t i = 0; i < 8; i++)
    {
        leaves += MergeBelow(nodes, node.children + i, depth + 1, scratch, &(*scratch)[depth + 1].runs, part);
        all.insert(all.end(), child.begin(), child.end());
        bounds[i + 1] = all.size();
    }
    MergeSorted(&all, bounds);
    for (size_t i = 0; i < all.size();)
    {
        size_t j = i + 1;
        while (j < all.size() && SameLine(all[i], all[j])) j++;
        MergeLine(&all[i], j - i, &(*scratch)[depth].events, runs);
        i = j;
    }
    if (leaves >= CELL_BLOCK_LEAVES)
    {
        part->blocks.push_back((int32_t)index);
        part->blocks.push_back((int32_t)part->vertices.size());
        part->blocks.push_back((int32_t)runs->size() * 2);
        AddBlock(*runs, part);
    }
    return leaves;
}

// The leaves' lines take about this share of the making; the root's eight subtrees the rest.
constexpr uint32_t CELLS_PROGRESS_LEAVES = 400;
constexpr uint32_t CELLS_PROGRESS_SUBTREE = (CELLS_PROGRESS_DONE - CELLS_PROGRESS_LEAVES) / 8;

// Every block's merged lines. The root's children are merged on two threads, the root itself
// (a block when it has children) last.
void AddBlockLines(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_CELLS_T *cells, std::atomic<uint32_t> *progress)
{
    const std::vector<ARRAY_OCTREE_NODE_T> &nodes = tree.nodes;
    cells->block_first.assign(nodes.size(), -1);
    cells->block_count.assign(nodes.size(), 0);
    if (nodes.empty() || nodes[0].children == 0) return;

    PART_T parts[9];
    for (PART_T &part : parts) part.root = tree.box;
    std::vector<EDGE_T> runs[9];
    uint32_t leaves[9] = {};
    const uint32_t children = nodes[0].children;
    auto merge = [&](uint32_t from, uint32_t to) {
        // The root's children are at depth 1; the depth guard bounds the rest.
        std::vector<SCRATCH_T> scratch(OCTREE_MAX_DEPTH + 2);
        for (uint32_t i = from; i < to; i++)
        {
            leaves[i] = MergeBelow(nodes, children + i, 0, &scratch, &runs[i], &parts[i]);
            if (progress != nullptr) progress->fetch_add(CELLS_PROGRESS_SUBTREE);
        }
    };
    std::thread helper;
    if (UsableCores() > 1) helper = std::thread(merge, 0u, 4u);
    else merge(0, 4);
    merge(4, 8);
    if (helper.joinable()) helper.join();

    std::vector<EDGE_T> all;
    uint32_t total = 0;
    size_t bounds[9] = {};
    for (uint32_t i = 0; i < 8; i++)
    {
        all.insert(all.end(), runs[i].begin(), runs[i].end());
        bounds[i + 1] = all.size();
        runs[i] = std::vector<EDGE_T>();
        total += leaves[i];
    }
    MergeSorted(&all, bounds);
    std::vector<std::pair<uint32_t, int32_t>> events;
    for (size_t i = 0; i < all.size();)
    {
        size_t j = i + 1;
        while (j < all.size() && SameLine(all[i], all[j])) j++;
        MergeLine(&all[i], j - i, &events, &runs[8]);
        i = j;
    }
    if (total >= CELL_BLOCK_LEAVES)
    {
        parts[8].blocks = {0, 0, (int32_t)runs[8].size() * 2};
        AddBlock(runs[8], &parts[8]);
    }

    for (PART_T &part : parts)
    {
        const int32_t base = (int32_t)cells->vertices.size();
        for (size_t b = 0; b + 2 < part.blocks.size(); b += 3)
        {
            cells->block_first[(size_t)part.blocks[b]] = base + part.blocks[b + 1];
            cells->block_count[(size_t)part.blocks[b]] = part.blocks[b + 2];
        }
        cells->vertices.insert(cells->vertices.end(), part.vertices.begin(), part.vertices.end());
        cells->line_level.insert(cells->line_level.end(), part.levels.begin(), part.levels.end());
        part = PART_T();
    }
}

void AddRange(CELL_LINE_RANGES_T *ranges, int32_t first, int32_t count)
{
    if (count <= 0) return;
    if (!ranges->first.empty() && ranges->first.back() + ranges->count.back() == first)
    {
        ranges->count.back() += count;
        return;
    }
    ranges->first.push_back(first);
    ranges->count.push_back(count);
}

Vector3 Widened(Vector3 v, float by)
{
    return Vector3{v.x + by, v.y + by, v.z + by};
}

struct COLLECT_T
{
    const ARRAY_OCTREE_T *tree;
    const ARRAY_OCTREE_CELLS_T *cells;
    const FRUSTUM_T *frustum;
    const LOD_VIEW_T *view; // null: every line
    float root_edge;
};

// The eye's distance to the nearest and to the farthest point of box.
void BoxDistances(Vector3 eye, const CUBOID &box, float *nearest, float *farthest)
{
    float near2 = 0.0f, far2 = 0.0f;
    for (uint32_t axis = 0; axis < 3; axis++)
    {
        const float e = AxisOf(eye, axis), lo = AxisOf(box.min, axis), hi = AxisOf(box.max, axis);
        const float d = e < lo ? lo - e : (e > hi ? e - hi : 0.0f);
        const float f = std::fabs(e - lo) > std::fabs(e - hi) ? std::fabs(e - lo) : std::fabs(e - hi);
        near2 += d * d;
        far2 += f * f;
    }
    *nearest = std::sqrt(near2);
    *farthest = std::sqrt(far2);
}

// The leading part of the lines [first, first + count) (vertices) down to level.
int32_t LinesDownTo(const ARRAY_OCTREE_CELLS_T &cells, int32_t first, int32_t count, uint8_t level)
{
    const auto begin = cells.line_level.begin() + first / 2;
    return (int32_t)(std::upper_bound(begin, begin + count / 2, level) - begin) * 2;
}

void CollectBelow(const COLLECT_T &walk, uint32_t index, CELL_LINE_RANGES_T *ranges)
{
    const ARRAY_OCTREE_CELLS_T &cells = *walk.cells;
    const ARRAY_OCTREE_NODE_T &node = walk.tree->nodes[index];
    float nearest = 0.0f, farthest = 0.0f;
    if (walk.view != nullptr) BoxDistances(walk.view->eye, node.box, &nearest, &farthest);
    if (node.children == 0)
    {
        // The very test the culled walk makes.
        if (!walk.frustum->BoxVisible(node.box.min, node.box.max)) return;
        const int32_t first = cells.leaf_first[node.leaf];
        int32_t count = cells.leaf_first[node.leaf + 1] - first;
        if (walk.view != nullptr)
            count = LinesDownTo(cells, first, count, FinestCellLevel(*walk.view, walk.root_edge, nearest));
        AddRange(ranges, first, count);
        return;
    }
    if (!walk.frustum->BoxVisible(Widened(node.box.min, -FRUSTUM_ROUNDING_MARGIN),
                                  Widened(node.box.max, FRUSTUM_ROUNDING_MARGIN)))
        return;
    if (cells.block_first[index] >= 0 && walk.frustum->BoxInside(node.box.min, node.box.max, FRUSTUM_ROUNDING_MARGIN))
    {
        const int32_t first = cells.block_first[index];
        if (walk.view == nullptr)
        {
            AddRange(ranges, first, cells.block_count[index]);
            return;
        }
        // One level for the whole block is one for its nearest part: where its far side would be
        // drawn two levels finer than it needs, its children choose for themselves.
        const uint8_t finest = FinestCellLevel(*walk.view, walk.root_edge, nearest);
        if (finest <= FinestCellLevel(*walk.view, walk.root_edge, farthest) + 1)
        {
            AddRange(ranges, first, LinesDownTo(cells, first, cells.block_count[index], finest));
            return;
        }
    }
    for (uint32_t i = 0; i < 8; i++) CollectBelow(walk, node.children + i, ranges);
}
} // namespace

void BuildArrayOctreeCells(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_CELLS_T *cells, std::atomic<uint32_t> *progress)
{
    *cells = ARRAY_OCTREE_CELLS_T();
    cells->tree_version = tree.version;
    cells->built = true;
    if (progress != nullptr) progress->store(0);
    AddLeafLines(tree, cells);
    if (progress != nullptr) progress->store(CELLS_PROGRESS_LEAVES);
    AddBlockLines(tree, cells, progress);
    if (progress != nullptr) progress->store(CELLS_PROGRESS_DONE);
}

void CollectCellLineRanges(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_CELLS_T &cells,
                           const FRUSTUM_T &frustum, CELL_LINE_RANGES_T *ranges, const LOD_VIEW_T *view)
{
    ranges->first.clear();
    ranges->count.clear();
    if (!cells.built || cells.tree_version != tree.version || tree.nodes.empty()) return;
    if (cells.leaf_first.size() != (size_t)tree.LeafCount() + 1 || cells.block_first.size() != tree.nodes.size())
        return;
    if (cells.line_level.size() * 2 != cells.vertices.size()) return;
    const float edge =
        std::fmax(std::fabs(tree.box.size.x), std::fmax(std::fabs(tree.box.size.y), std::fabs(tree.box.size.z)));
    CollectBelow(COLLECT_T{&tree, &cells, &frustum, view, edge}, 0, ranges);
}

uint8_t FinestCellLevel(const LOD_VIEW_T &view, float root_edge, float distance)
{
    if (!(distance > 0.0f)) return CELL_LEVEL_MOST;
    const float ratio = view.pixels_per_unit * root_edge / (distance * view.apart_pixels);
    if (!(ratio >= 2.0f)) return 0;
    const float level = std::floor(std::log2(ratio));
    return level >= (float)CELL_LEVEL_MOST ? CELL_LEVEL_MOST : (uint8_t)level;
}
