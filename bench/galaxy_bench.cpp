// Generation of the largest galaxy (nine arms, 24,327 stars) on a galaxy that holds the
// previous generation, so that releasing it is counted, beside the same positions computed
// alone (same formulas and draws, no objects, no tree). Their ratio is the cost of the star
// objects, the list and the tree. Run with --benchmark_filter=Galaxy.
#include <benchmark/benchmark.h>

#include <vector>

#include "galaxy/galaxy.h"
#include "random/random.h"

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
    state.counters["stars"] = (double)galaxy.star_list.Count();
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
} // namespace
