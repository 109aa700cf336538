// Generation of the largest galaxy (nine arms, 24,327 stars) on a galaxy that holds the
// previous generation, so that releasing it is counted, beside the same positions computed
// alone (same formulas and draws, no objects, no tree). Their ratio is the cost of the star
// objects, the list and the tree; BM_GalaxyGenerateOverPositions times both in every
// iteration and prints it. Then the galaxy's stages alone: building its tree, clearing a
// generation, and the frame's culled walk into draw ranges. At star density 40 (973,080
// stars): generation against its bare positions, what the galaxy builder's worker runs, its
// tree and colours apart, the main thread's swap, and the memory a star takes. Run with
// --benchmark_filter=Galaxy.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "galaxy/galaxy_builder.h"

#include "galaxy/galaxy.h"
#include "galaxy/galaxy_look.h"
#include "galaxy/star_color.h"
#include "octree/array_octree_cells.h"
#include "random/random.h"
#include "scene/viewer_pose.h"

namespace
{
// Panel-like values; with size_xz 252 and size_y 64 a few stars fall outside the tree.
GALAXY_SHAPE_T BenchShape(void)
{
    // arms, curvature, inner radius, bulge offsets 0 and 1, bulge size, size y, size xz
    return MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 252);
}

void BM_GalaxyGenerateNineArms(benchmark::State &state)
{
    RandomSeed(1.0);
    const GALAXY_SHAPE_T s = BenchShape();
    GALAXY galaxy(256);
    galaxy.Generate(s);
    for (auto _ : state)
    {
        galaxy.Generate(s);
    }
    state.counters["stars"] = (double)galaxy.field.star_list.Count();
    state.counters["place_ms"] = galaxy.field.generate_ms;
    state.counters["index_ms"] = galaxy.field.index_ms;
}
BENCHMARK(BM_GalaxyGenerateNineArms)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

struct POSITIONS_T
{
    std::vector<Vector3> out;
    size_t next = 0;
};

void StorePosition(Vector3 position, void *context)
{
    POSITIONS_T *positions = (POSITIONS_T *)context;
    positions->out[positions->next++] = position;
}

void BM_GalaxyPositionsOnlyNineArms(benchmark::State &state)
{
    RandomSeed(1.0);
    POSITIONS_T positions;
    positions.out.resize(901 * 3 * 9);
    for (auto _ : state)
    {
        positions.next = 0;
        WalkSpiralArms(BenchShape(), SPIRAL_POINTS_IN_DISC, StorePosition, &positions);
        benchmark::DoNotOptimize(positions.out.data());
    }
    state.counters["stars"] = (double)positions.next;
}
BENCHMARK(BM_GalaxyPositionsOnlyNineArms)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

double MillisecondsOf(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Both in every iteration, so the ratio compares like with like on a shared machine. The
// time reported is Generate's.
void GenerateOverPositions(benchmark::State &state, const GALAXY_SHAPE_T &s)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(s);
    POSITIONS_T positions;
    positions.out.resize(SpiralPointLimit(s));
    double generate_ms = 0.0, positions_ms = 0.0;
    for (auto _ : state)
    {
        auto start = std::chrono::steady_clock::now();
        positions.next = 0;
        WalkSpiralArms(s, SPIRAL_POINTS_IN_DISC, StorePosition, &positions);
        benchmark::DoNotOptimize(positions.out.data());
        positions_ms += MillisecondsOf(start);

        start = std::chrono::steady_clock::now();
        galaxy.Generate(s);
        const double ms = MillisecondsOf(start);
        generate_ms += ms;
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["ratio"] = generate_ms / positions_ms;
    state.counters["stars"] = (double)galaxy.field.star_list.Count();
}

void BM_GalaxyGenerateOverPositions(benchmark::State &state)
{
    GenerateOverPositions(state, BenchShape());
}
BENCHMARK(BM_GalaxyGenerateOverPositions)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The densest panel galaxy: nine arms at density 40.
GALAXY_SHAPE_T DenseShape(void)
{
    GALAXY_SHAPE_T shape = BenchShape();
    shape.density = 40;
    return shape;
}

void BM_GalaxyDensity40GenerateOverPositions(benchmark::State &state)
{
    GenerateOverPositions(state, DenseShape());
}
BENCHMARK(BM_GalaxyDensity40GenerateOverPositions)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What the galaxy builder's worker runs for one request: seeding, placing, indexing, colouring
// and preparing the drawing, into a star field that holds the previous one.
void BM_GalaxyDensity40Apart(benchmark::State &state)
{
    const GALAXY_SHAPE_T s = DenseShape();
    STAR_FIELD_T field(256);
    MakeStarField(&field, s);
    for (auto _ : state) MakeStarField(&field, s);
    state.counters["place_ms"] = field.generate_ms;
    state.counters["index_ms"] = field.index_ms;
}
BENCHMARK(BM_GalaxyDensity40Apart)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The two stages after placing, apart, over the generated density-40 galaxy's own stars:
// its tree rebuilt (reusing its storage, as a regeneration does) and the colours from the
// stars' places.
void BM_GalaxyDensity40TreeBuild(benchmark::State &state)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(DenseShape());
    ARRAY_OCTREE_T tree(galaxy.field.tree.box, GALAXY_TREE_CAPACITY);
    // A repetition may be one iteration: the first build, into fresh memory, is not timed.
    tree.Build(galaxy.field.stars.get(), (uint32_t)galaxy.field.star_list.Count());
    for (auto _ : state)
    {
        tree.Build(galaxy.field.stars.get(), (uint32_t)galaxy.field.star_list.Count());
        benchmark::DoNotOptimize(tree.nodes.data());
    }
    state.counters["nodes"] = (double)tree.nodes.size();
}
BENCHMARK(BM_GalaxyDensity40TreeBuild)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_GalaxyDensity40StarColors(benchmark::State &state)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(DenseShape());
    std::vector<Color> colors;
    FillStarColors(galaxy.field.stars.get(), (uint32_t)galaxy.field.star_list.Count(), &colors);
    for (auto _ : state)
    {
        FillStarColors(galaxy.field.stars.get(), (uint32_t)galaxy.field.star_list.Count(), &colors);
        benchmark::DoNotOptimize(colors.data());
    }
}
BENCHMARK(BM_GalaxyDensity40StarColors)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The main thread's share of a regeneration through the builder: Collect swaps the finished
// galaxy in and releases the one it replaces. Only Collect is timed; the worker's generation
// runs between iterations.
void BM_GalaxyDensity40BuilderCollect(benchmark::State &state)
{
    GALAXY galaxy(256);
    GALAXY_BUILDER_T builder(256);
    GALAXY_SHAPE_T s = DenseShape();
    for (auto _ : state)
    {
        s.seed += 1;
        builder.Request(s);
        builder.WaitForReady();
        const auto start = std::chrono::steady_clock::now();
        builder.Collect(&galaxy);
        state.SetIterationTime(MillisecondsOf(start) / 1000.0);
    }
    state.counters["stars"] = (double)galaxy.field.star_list.Count();
}
BENCHMARK(BM_GalaxyDensity40BuilderCollect)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

size_t HeapBytesInUse(void)
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Bytes per star of a generated density-40 galaxy: its star array, the list of pointers, the
// tree's nodes, draw order and draw positions, the colours, and each star's draw place and
// colour in draw order, from their capacities; and all the heap it
// holds, the tree's build buffers included, from the allocator. No time is measured.
void BM_GalaxyDensity40MemoryPerStar(benchmark::State &state)
{
    const size_t before = HeapBytesInUse();
    GALAXY *galaxy = new GALAXY(256);
    GenerateGalaxy(galaxy, DenseShape());
    const double heap = (double)(HeapBytesInUse() - before);
    for (auto _ : state) benchmark::DoNotOptimize(galaxy->field.star_list.Count());
    const double stars = (double)galaxy->field.star_list.Count();
    const ARRAY_OCTREE_T &tree = galaxy->field.tree;
    const double array = (double)(galaxy->field.star_capacity * sizeof(IOBJECT_T));
    const double list = (double)(galaxy->field.star_list.capacity * sizeof(void *));
    const double nodes = (double)(tree.nodes.capacity() * sizeof(ARRAY_OCTREE_NODE_T));
    const double order = (double)(tree.draw_order.capacity() * sizeof(uint32_t));
    const double positions = (double)(tree.draw_positions.capacity() * sizeof(Vector3));
    const double colors = (double)(galaxy->field.colors.capacity() * sizeof(Color));
    const double places = (double)(galaxy->field.places.capacity() * sizeof(uint32_t));
    const double draw_colors = (double)(galaxy->field.draw_colors.capacity() * sizeof(Color));
    state.counters["stars"] = stars;
    state.counters["star_array_B"] = array / stars;
    state.counters["star_list_B"] = list / stars;
    state.counters["tree_nodes_B"] = nodes / stars;
    state.counters["draw_order_B"] = order / stars;
    state.counters["draw_positions_B"] = positions / stars;
    state.counters["star_colors_B"] = colors / stars;
    state.counters["draw_places_B"] = places / stars;
    state.counters["draw_colors_B"] = draw_colors / stars;
    state.counters["sum_B"] = (array + list + nodes + order + positions + colors + places + draw_colors) / stars;
    state.counters["heap_B"] = heap / stars;
    delete galaxy;
}
BENCHMARK(BM_GalaxyDensity40MemoryPerStar)->Iterations(1)->Unit(benchmark::kMillisecond);

// The tree alone, rebuilt over the galaxy's own star array, reusing its storage as Generate
// does.
void BM_GalaxyTreeBuildNineArms(benchmark::State &state)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(BenchShape());
    ARRAY_OCTREE_T tree(galaxy.field.tree.box, GALAXY_TREE_CAPACITY);
    for (auto _ : state)
    {
        tree.Build(galaxy.field.stars.get(), (uint32_t)galaxy.field.star_list.Count());
        benchmark::DoNotOptimize(tree.nodes.data());
    }
    state.counters["stars"] = (double)tree.draw_order.size();
    state.counters["nodes"] = (double)tree.nodes.size();
}
BENCHMARK(BM_GalaxyTreeBuildNineArms)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Dropping a generation: what Generate spends before it places a star.
void BM_GalaxyClearNineArms(benchmark::State &state)
{
    RandomSeed(1.0);
    const GALAXY_SHAPE_T s = BenchShape();
    GALAXY galaxy(256);
    for (auto _ : state)
    {
        galaxy.Generate(s); // untimed: manual time covers the clearing only
        const auto start = std::chrono::steady_clock::now();
        galaxy.field.Empty();
        state.SetIterationTime(MillisecondsOf(start) / 1000.0);
    }
}
// A fixed count: with manual time the library would otherwise run Generate until the few
// microseconds of clearing add up to its minimum time.
BENCHMARK(BM_GalaxyClearNineArms)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The frame's culled walk into draw ranges, with the frustum of the starting pose.
void BM_GalaxyVisibleRangesNineArms(benchmark::State &state)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(BenchShape());
    const FRUSTUM_T frustum = MakeViewerFrustum(MakeViewerCamera());
    ARRAY_OCTREE_RANGES_T ranges;
    uint64_t visible = 0;
    for (auto _ : state)
    {
        visible = CollectVisibleRanges(galaxy.field.tree, frustum, &ranges);
        benchmark::DoNotOptimize(visible);
    }
    state.counters["drawn"] = (double)visible;
    state.counters["star_ranges"] = (double)ranges.star_first.size();
}
BENCHMARK(BM_GalaxyVisibleRangesNineArms)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);
// DEBUG's cells at density 40: making their lines once per tree (on the builder's worker), then
// what a DEBUG frame adds on the CPU from the starting pose: the walk that picks the visible
// leaves' lines. Its counters compare the lines handed to the renderer with those the visible
// leaves give drawn one by one (each shared edge once), as before blocks.
void BM_GalaxyDensity40CellsBuild(benchmark::State &state)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(DenseShape());
    ARRAY_OCTREE_CELLS_T cells;
    for (auto _ : state)
    {
        BuildArrayOctreeCells(galaxy.field.tree, &cells);
        benchmark::DoNotOptimize(cells.vertices.data());
    }
    state.counters["leaves"] = (double)galaxy.field.tree.LeafCount();
    state.counters["leaf_lines"] = (double)cells.leaf_first.back() / 2.0;
    state.counters["lines"] = (double)cells.vertices.size() / 2.0;
    state.counters["MB"] = (double)(cells.vertices.size() * sizeof(CELL_VERTEX_T)) / 1e6;
}
BENCHMARK(BM_GalaxyDensity40CellsBuild)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_GalaxyDensity40DebugLines(benchmark::State &state)
{
    RandomSeed(1.0);
    GALAXY galaxy(256);
    galaxy.Generate(DenseShape());
    ARRAY_OCTREE_CELLS_T cells;
    BuildArrayOctreeCells(galaxy.field.tree, &cells);
    const FRUSTUM_T frustum = MakeViewerFrustum(MakeViewerCamera());
    CELL_LINE_RANGES_T lines;
    for (auto _ : state)
    {
        CollectCellLineRanges(galaxy.field.tree, cells, frustum, &lines);
        benchmark::DoNotOptimize(lines.first.data());
    }
    ARRAY_OCTREE_RANGES_T visible;
    CollectVisibleRanges(galaxy.field.tree, frustum, &visible);
    double leaf_lines = 0.0;
    for (size_t r = 0; r < visible.cell_first.size(); r++)
    {
        const size_t leaf = (size_t)visible.cell_first[r] / CELL_LINE_VERTICES;
        const size_t end = leaf + (size_t)visible.cell_count[r] / CELL_LINE_VERTICES;
        leaf_lines += (double)(cells.leaf_first[end] - cells.leaf_first[leaf]) / 2.0;
    }
    double drawn = 0.0;
    for (int32_t c : lines.count) drawn += (double)c / 2.0;
    state.counters["lines"] = drawn;
    // What DEBUG draws of a galaxy this large: the view's pixels per unit in a 768-pixel-high window.
    const Camera3D camera = MakeViewerCamera();
    const LOD_VIEW_T view = {camera.position, 384.0f / std::tan(camera.fovy * DEG2RAD / 2.0f),
                             GALAXY_DEBUG_CELL_APART_PIXELS};
    CELL_LINE_RANGES_T detailed;
    CollectCellLineRanges(galaxy.field.tree, cells, frustum, &detailed, &view);
    double detailed_lines = 0.0;
    for (int32_t c : detailed.count)
        detailed_lines += (double)c / 2.0;
    state.counters["lines_detailed"] = detailed_lines;
    state.counters["leaf_lines"] = leaf_lines;
    state.counters["ranges"] = (double)lines.first.size();
}
BENCHMARK(BM_GalaxyDensity40DebugLines)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
} // namespace
