// The octree at galaxy scale: inserting and clearing the 24,327 stars of a nine-arm galaxy in
// a capacity-8 tree over -256...256, and one culled walk with the frame's frustum, counting
// only. Run with --benchmark_filter=Octree; the medians are the figures to quote.
#include <benchmark/benchmark.h>

#include <vector>

#include "galaxy/galaxy.h"
#include "galaxy/galaxy_look.h"
#include "octree/array_octree_lod.h"
#include "octree/octree.h"
#include "random/random.h"
#include "scene/viewer_pose.h"

namespace
{
// Nine arms, sized so that every star lies inside the tree's box.
GALAXY_SHAPE_T LayoutShape(void)
{
    // arms, curvature, inner radius, bulge offsets 0 and 1, bulge size, size y, size xz
    return MakeGalaxyShape(9, 10, 0, 20, 80, 48, 32, 220);
}

void CollectPosition(Vector3 position, void *context)
{
    ((std::vector<Vector3> *)context)->push_back(position);
}

std::vector<Vector3> MakeLayout(void)
{
    std::vector<Vector3> positions;
    RandomSeed(1.0);
    WalkSpiralArms(LayoutShape(), SPIRAL_POINTS_IN_DISC, CollectPosition, &positions);
    return positions;
}

CUBOID RootBox(void)
{
    return CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{512.0f, 512.0f, 512.0f});
}

void MakeObjects(const std::vector<Vector3> &layout, std::vector<IOBJECT_T *> *objects)
{
    objects->resize(layout.size());
    for (size_t k = 0; k < layout.size(); k++) (*objects)[k] = new IOBJECT_T(layout[k], Vector3{1.0f, 1.0f, 1.0f});
}

void BM_OctreeInsertGalaxy(benchmark::State &state)
{
    const std::vector<Vector3> layout = MakeLayout();
    OCTREE_T tree(RootBox(), GALAXY_TREE_CAPACITY);
    std::vector<IOBJECT_T *> objects;
    for (auto _ : state)
    {
        state.PauseTiming();
        MakeObjects(layout, &objects);
        state.ResumeTiming();
        for (IOBJECT_T *object : objects) tree.Insert(object);
        state.PauseTiming();
        tree.Clear();
        state.ResumeTiming();
    }
    state.counters["points"] = (double)layout.size();
}
BENCHMARK(BM_OctreeInsertGalaxy)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_OctreeClearGalaxy(benchmark::State &state)
{
    const std::vector<Vector3> layout = MakeLayout();
    OCTREE_T tree(RootBox(), GALAXY_TREE_CAPACITY);
    std::vector<IOBJECT_T *> objects;
    for (auto _ : state)
    {
        state.PauseTiming();
        MakeObjects(layout, &objects);
        for (IOBJECT_T *object : objects) tree.Insert(object);
        state.ResumeTiming();
        tree.Clear();
    }
}
BENCHMARK(BM_OctreeClearGalaxy)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The frame's frustum (170 degrees, 1366/768) from the camera's starting pose.
void BM_OctreeCulledWalkCountOnly(benchmark::State &state)
{
    const std::vector<Vector3> layout = MakeLayout();
    OCTREE_T tree(RootBox(), GALAXY_TREE_CAPACITY);
    std::vector<IOBJECT_T *> objects;
    MakeObjects(layout, &objects);
    for (IOBJECT_T *object : objects) tree.Insert(object);

    const FRUSTUM_T frustum = MakeViewerFrustum(MakeViewerCamera());
    uint64_t visible = 0;
    for (auto _ : state)
    {
        visible = tree.VisitVisibleLeaves(frustum, nullptr, nullptr);
        benchmark::DoNotOptimize(visible);
    }
    state.counters["drawn"] = (double)visible;
    tree.Destroy();
}
BENCHMARK(BM_OctreeCulledWalkCountOnly)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);
} // namespace

// The level-of-detail walk from the viewer's start view (768-pixel-high window, fovy 90) at
// nine arms, density 1 (24,327 stars) and 40 (973,080), against the plain culled walk that
// lists every visible leaf.
void BM_LodSelect(benchmark::State &state)
{
    GALAXY galaxy(256);
    RandomSeed(1.0);
    GALAXY_SHAPE_T shape = MakeGalaxyShape(9, 20, -100, 60, 20, 48, 63, 252);
    shape.density = (int32_t)state.range(0);
    galaxy.Generate(shape);
    ARRAY_OCTREE_LOD_T lod;
    UpdateArrayOctreeLod(galaxy.field.tree, &lod);
    const Camera3D camera = MakeViewerStartView();
    const FRUSTUM_T frustum = MakeViewerFrustum(camera);
    const LOD_VIEW_T view = {camera.position, 384.0f, GALAXY_LOOK_APART_PIXELS};
    LOD_SELECTION_T selection;
    ARRAY_OCTREE_RANGES_T ranges;
    uint64_t visible = 0;
    for (auto _ : state)
    {
        visible = state.range(1) ? SelectArrayOctreeLod(galaxy.field.tree, lod, frustum, view, &selection)
                                 : CollectVisibleRanges(galaxy.field.tree, frustum, &ranges);
        benchmark::DoNotOptimize(visible);
    }
    size_t points = 0;
    for (int level = 1; level <= LOD_FADE_LEVELS; level++)
    {
        for (int32_t c : selection.stars[level].count) points += (size_t)c;
        for (int32_t c : selection.samples[level].count) points += (size_t)c;
    }
    state.counters["stars"] = (double)galaxy.field.tree.draw_order.size();
    state.counters["visible"] = (double)visible;
    state.counters["points"] = state.range(1) ? (double)points : (double)visible;
}
BENCHMARK(BM_LodSelect)->ArgsProduct({{1, 40}, {0, 1}})->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
