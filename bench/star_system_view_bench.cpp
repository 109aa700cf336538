// Figures for pointing at stars and opening their systems: a pick through the octree from the
// viewer's start pose, one on-demand system, and the field's colours from the systems'
// primaries, at the nine-arm galaxy (24,327 stars) and at about a million stars.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "galaxy/galaxy.h"
#include "galaxy/star_names.h"
#include "galaxy/star_system_on_demand.h"
#include "octree/array_octree_pick.h"
#include "random/random.h"
#include "scene/viewer_pose.h"

namespace
{
// arg 9: the panel's nine arms, 24,327 stars; arg 360: 973,080 stars along the same kind of arms.
GALAXY_SHAPE_T BenchShape(int64_t arms)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape((int32_t)arms, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 1;
    return shape;
}

struct BENCH_GALAXY_T
{
    std::unique_ptr<GALAXY> galaxy;
    GALAXY_SHAPE_T shape;
};

const BENCH_GALAXY_T &Galaxy(int64_t arms)
{
    static BENCH_GALAXY_T made[2];
    BENCH_GALAXY_T &slot = made[arms == 9 ? 0 : 1];
    if (!slot.galaxy)
    {
        slot.shape = BenchShape(arms);
        slot.galaxy.reset(new GALAXY(VIEWER_GALAXY_EXTENT));
        GenerateGalaxy(slot.galaxy.get(), slot.shape);
    }
    return slot;
}
} // namespace

// The pointer goes to where stars are: each pick aims near a different star seen from the
// start pose, so the walk opens the cells a real hover opens.
static void BM_PickStar(benchmark::State &state)
{
    const BENCH_GALAXY_T &bench = Galaxy(state.range(0));
    const PICK_VIEW_T view = {MakeViewerStartView(), 1366, 768};
    std::vector<Vector2> pointers;
    for (size_t k = 0; k < bench.galaxy->field.tree.draw_positions.size() && pointers.size() < 512; k += 97)
    {
        Vector2 screen;
        float depth;
        if (ProjectToScreen(view, bench.galaxy->field.tree.draw_positions[k], &screen, &depth))
            pointers.push_back(Vector2{screen.x + 2.0f, screen.y - 1.0f});
    }
    size_t n = 0, found = 0;
    for (auto _ : state)
    {
        const STAR_PICK_T pick = PickStar(bench.galaxy->field.tree, view, pointers[n++ % pointers.size()], 6.0f);
        found += pick.found ? 1 : 0;
        benchmark::DoNotOptimize(pick);
    }
    state.counters["stars"] = (double)bench.galaxy->field.star_list.Count();
    state.counters["found_share"] = (double)found / (double)n;
}
BENCHMARK(BM_PickStar)->Arg(9)->Arg(360)->Unit(benchmark::kMicrosecond);

// One star's whole system: stars, planets, moons, atmospheres and its name.
static void BM_GenerateStarSystem(benchmark::State &state)
{
    const BENCH_GALAXY_T &bench = Galaxy(state.range(0));
    const uint64_t count = bench.galaxy->field.star_list.Count();
    uint64_t index = 0;
    for (auto _ : state)
    {
        STAR_SYSTEM_T system;
        index = (index + 7919) % count;
        GenerateStarSystem(bench.shape, index, Vector3{}, &system);
        benchmark::DoNotOptimize(system.system.name);
    }
    state.counters["stars"] = (double)count;
}
BENCHMARK(BM_GenerateStarSystem)->Arg(9)->Arg(360)->Unit(benchmark::kMicrosecond);

// Every star's primary temperature, the whole galaxy at once: what colouring the field costs.
static void BM_StarPrimaryTemperatures(benchmark::State &state)
{
    const BENCH_GALAXY_T &bench = Galaxy(state.range(0));
    std::vector<float> kelvin(bench.galaxy->field.star_list.Count());
    for (auto _ : state)
        StarSystemPrimaryTemperatures(bench.shape, 0, (uint32_t)kelvin.size(), kelvin.data());
    state.counters["stars"] = (double)kelvin.size();
    state.counters["time_per_star"] = benchmark::Counter((double)kelvin.size(), benchmark::Counter::kIsIterationInvariantRate |
                                                                                benchmark::Counter::kInvert);
}
BENCHMARK(BM_StarPrimaryTemperatures)->Arg(9)->Arg(360)->Unit(benchmark::kMillisecond);

// Every star's system name into the search index, on every core: what the search waits for
// before it can answer.
static void BM_StarNameIndex(benchmark::State &state)
{
    const BENCH_GALAXY_T &bench = Galaxy(state.range(0));
    STAR_NAME_INDEX_T index;
    for (auto _ : state) BuildStarNameIndex(bench.shape, bench.galaxy->field.StarCount(), 0, &index);
    state.counters["stars"] = (double)index.Count();
    state.counters["bytes"] = (double)(index.text.size() + index.start.size() * sizeof(uint32_t));
}
BENCHMARK(BM_StarNameIndex)->Arg(9)->Arg(360)->Unit(benchmark::kMillisecond)->Iterations(1);

// One search as the user types it: three letters, every match ranked, the best 20 kept.
static void BM_FindStarNames(benchmark::State &state)
{
    const BENCH_GALAXY_T &bench = Galaxy(state.range(0));
    static STAR_NAME_INDEX_T index[2];
    STAR_NAME_INDEX_T &names = index[state.range(0) == 9 ? 0 : 1];
    if (names.Count() == 0) BuildStarNameIndex(bench.shape, bench.galaxy->field.StarCount(), 0, &names);
    size_t found = 0;
    for (auto _ : state) found = FindStarNames(names, "ara", 20).size();
    state.counters["kept"] = (double)found;
}
BENCHMARK(BM_FindStarNames)->Arg(9)->Arg(360)->Unit(benchmark::kMillisecond);
