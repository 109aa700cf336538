// The samples are taken evenly across a node's range of draw_order, which lists its leaves in
// walk order, so they spread over the node's occupied cells rather than bunching in one.
// The walk classifies each box against the frustum once: a box wholly inside leaves every
// descendant visible, one outside leaves none, so only boxes across the frustum's boundary
// are followed down to their leaves just to count them.
#include "octree/array_octree_lod.h"

#include <cmath>

namespace
{
enum BOX_SIDE_T
{
    BOX_OUTSIDE,
    BOX_ACROSS,
    BOX_INSIDE,
};

float AxisOf(Vector3 v, int axis)
{
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

// Outside exactly when BoxVisible says so. Inside only when BoxVisible must pass every box
// within it: every corner in front of every plane, and the frustum's corners reaching past the
// box on every axis (its own second test). Both tests only grow stricter for a smaller box, so
// the answers hold for all descendants, exactly, in floating point too.
BOX_SIDE_T Classify(const FRUSTUM_T &frustum, const CUBOID &box)
{
    if (!frustum.BoxVisible(box.min, box.max)) return BOX_OUTSIDE;
    for (int i = 0; i < 6; i++)
    {
        const Vector4 pl = frustum.planes[i];
        for (int k = 0; k < 8; k++)
        {
            const float cx = (k & 1) ? box.max.x : box.min.x;
            const float cy = (k & 2) ? box.max.y : box.min.y;
            const float cz = (k & 4) ? box.max.z : box.min.z;
            if (pl.x * cx + pl.y * cy + pl.z * cz + pl.w < 0.0f) return BOX_ACROSS;
        }
    }
    for (int axis = 0; axis < 3; axis++)
    {
        bool below = false, above = false;
        for (int k = 0; k < 8; k++)
        {
            const float v = AxisOf(frustum.corners[k], axis);
            if (v <= AxisOf(box.min, axis)) below = true;
            if (v >= AxisOf(box.max, axis)) above = true;
        }
        if (!below || !above) return BOX_ACROSS;
    }
    return BOX_INSIDE;
}

void AddRange(LOD_RANGES_T *ranges, uint32_t first, uint32_t count)
{
    if (count == 0) return;
    if (!ranges->first.empty() && (uint32_t)(ranges->first.back() + ranges->count.back()) == first)
    {
        ranges->count.back() += (int32_t)count;
        return;
    }
    ranges->first.push_back((int32_t)first);
    ranges->count.push_back((int32_t)count);
}

struct WALK_T
{
    const ARRAY_OCTREE_T *tree;
    const ARRAY_OCTREE_LOD_T *lod;
    const FRUSTUM_T *frustum;
    LOD_VIEW_T view;
    LOD_SELECTION_T *selection;
};

// The stars of the visible leaves below a node, nothing drawn.
uint64_t CountVisible(const WALK_T &walk, uint32_t index, bool inside)
{
    const ARRAY_OCTREE_NODE_T &node = walk.tree->nodes[index];
    if (node.count == 0) return 0;
    if (!inside)
    {
        const BOX_SIDE_T side = Classify(*walk.frustum, node.box);
        if (side == BOX_OUTSIDE) return 0;
        inside = side == BOX_INSIDE;
    }
    if (inside || node.children == 0) return node.count;
    uint64_t count = 0;
    for (uint32_t i = 0; i < 8; i++)
        count += CountVisible(walk, node.children + i, false);
    return count;
}

// 0 where the node's stars cannot be told apart on screen, 1 where they can, between in the
// band. Their spacing on screen is taken as the box's projected edge over the square root of
// the count: the stars lie in a disc, whose cells they fill more like a plane than a volume.
float Detail(const LOD_VIEW_T &view, const ARRAY_OCTREE_NODE_T &node)
{
    float dd = 0.0f; // squared distance from the eye to the box
    for (int axis = 0; axis < 3; axis++)
    {
        const float e = AxisOf(view.eye, axis);
        const float lo = AxisOf(node.box.min, axis), hi = AxisOf(node.box.max, axis);
        const float d = e < lo ? lo - e : (e > hi ? e - hi : 0.0f);
        dd += d * d;
    }
    const float edge = node.box.size.x > node.box.size.y ? node.box.size.x : node.box.size.y;
    const float spacing = view.pixels_per_unit * edge / (std::sqrt(dd) * std::sqrt((float)node.count));
    if (!(spacing < 2.0f * view.apart_pixels)) return 1.0f; // also an eye in the box (0 / 0)
    const float t = (spacing - view.apart_pixels) / view.apart_pixels;
    return t < 0.0f ? 0.0f : t;
}

int32_t FadeLevel(float alpha)
{
    const float level = std::floor(alpha * (float)LOD_FADE_LEVELS + 0.5f);
    return level < 0.0f ? 0 : (level > (float)LOD_FADE_LEVELS ? LOD_FADE_LEVELS : (int32_t)level);
}

uint64_t Select(const WALK_T &walk, uint32_t index, bool inside, float alpha)
{
    const ARRAY_OCTREE_NODE_T &node = walk.tree->nodes[index];
    if (node.count == 0) return 0;
    // Nothing of this node would show: count it and go no further.
    if (FadeLevel(alpha) == 0) return CountVisible(walk, index, inside);
    if (!inside)
    {
        const BOX_SIDE_T side = Classify(*walk.frustum, node.box);
        if (side == BOX_OUTSIDE) return 0;
        inside = side == BOX_INSIDE;
    }
    if (node.children == 0)
    {
        AddRange(&walk.selection->stars[FadeLevel(alpha)], node.first, node.count);
        return node.count;
    }
    const float t = (walk.lod->sample_count[index] > 0) ? Detail(walk.view, node) : 1.0f;
    if (t < 1.0f)
    {
        const int32_t level = FadeLevel(alpha * (1.0f - t));
        if (level > 0)
            AddRange(&walk.selection->samples[level], walk.lod->sample_first[index],
                     walk.lod->sample_count[index]);
    }
    uint64_t count = 0;
    for (uint32_t i = 0; i < 8; i++)
        count += Select(walk, node.children + i, inside, alpha * t);
    return count;
}
} // namespace

void UpdateArrayOctreeLod(const ARRAY_OCTREE_T &tree, ARRAY_OCTREE_LOD_T *lod)
{
    if (lod->built && lod->tree_version == tree.version) return;
    const size_t n = tree.nodes.size();
    lod->sample_first.assign(n, 0);
    lod->sample_count.assign(n, 0);
    lod->samples.clear();
    lod->sample_weight.clear();
    lod->sample_extent.clear();
    for (size_t i = 0; i < n; i++)
    {
        const ARRAY_OCTREE_NODE_T &node = tree.nodes[i];
        lod->sample_first[i] = (uint32_t)lod->samples.size();
        if (node.children == 0 || node.count == 0) continue;
        const uint32_t take = node.count < LOD_SAMPLE_SIZE ? node.count : LOD_SAMPLE_SIZE;
        if ((float)node.count / (float)take > LOD_MOST_WEIGHT) continue;
        // The middle of each of take equal parts of the range, so the weights add up to count.
        for (uint32_t k = 0; k < take; k++)
        {
            lod->samples.push_back(node.first + (uint32_t)(((2ull * k + 1ull) * node.count) / (2ull * take)));
            lod->sample_weight.push_back((float)node.count / (float)take);
            lod->sample_extent.push_back(node.box.size.x / std::sqrt((float)take));
        }
        lod->sample_count[i] = take;
    }
    lod->built = true;
    lod->tree_version = tree.version;
}

uint64_t SelectArrayOctreeLod(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod,
                              const FRUSTUM_T &frustum, const LOD_VIEW_T &view, LOD_SELECTION_T *selection)
{
    for (int32_t level = 0; level <= LOD_FADE_LEVELS; level++)
    {
        selection->stars[level].first.clear();
        selection->stars[level].count.clear();
        selection->samples[level].first.clear();
        selection->samples[level].count.clear();
    }
    if (lod.sample_first.size() != tree.nodes.size())
        return CountVisible(WALK_T{&tree, &lod, &frustum, view, selection}, 0, false);
    const WALK_T walk = {&tree, &lod, &frustum, view, selection};
    return Select(walk, 0, false, 1.0f);
}

float StarExposure(uint64_t star_count)
{
    constexpr double REFERENCE_STARS = 24327.0;
    if (star_count <= (uint64_t)REFERENCE_STARS) return 1.0f;
    return (float)std::pow(REFERENCE_STARS / (double)star_count, 0.7);
}
