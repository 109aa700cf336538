// Throughput of the random stream: the star-system name generator draws about 136,000
// words per name, so words per second bound how fast systems can be generated.
#include <benchmark/benchmark.h>

#include "random/random.h"

static void BM_RandomNext32(benchmark::State &state)
{
    RandomSeed(0.0);
    for (auto _ : state) benchmark::DoNotOptimize(RandomNext32());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomNext32);

static void BM_RandomInt(benchmark::State &state)
{
    RandomSeed(0.0);
    for (auto _ : state) benchmark::DoNotOptimize(RandomInt(1, 26));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomInt);

static void BM_RandomUnit(benchmark::State &state)
{
    RandomSeed(0.0);
    for (auto _ : state) benchmark::DoNotOptimize(RandomUnit());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomUnit);
