// Figures for star-system generation: the system-name sampler (time and mean stream draws per
// name, for seed 0, which the galaxy's systems carry, and for random seeds) and the galaxy's
// GenerateSystems over nine arms (time per run and peak resident memory).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstring>

#include "galaxy/galaxy.h"
#include "galaxy/galaxy_systems.h"
#include "random/random.h"
#include "systems/system_name.h"

namespace
{
// Draws between two stream states, found by replaying from the first until the second is
// reached. Only the state's position changes between twists, so the full compare is rare.
double DrawsBetween(const RANDOM_STATE_T &before, const RANDOM_STATE_T &after)
{
    const RANDOM_STATE_T saved = RandomGetState();
    RandomSetState(before);
    double draws = 0.0;
    for (;;)
    {
        const RANDOM_STATE_T now = RandomGetState();
        if (now.pos == after.pos && std::memcmp(now.mt, after.mt, sizeof now.mt) == 0) break;
        RandomNext32();
        draws += 1.0;
    }
    RandomSetState(saved);
    return draws;
}

// Mean draws per name over a fixed number of names, outside the timed loop.
double MeanDraws(bool random_seeds, int names)
{
    RandomSeed(1.0);
    double total = 0.0;
    for (int i = 0; i < names; i++)
    {
        const uint32_t seed = random_seeds ? RandomNext32() : 0u;
        const RANDOM_STATE_T before = RandomGetState();
        benchmark::DoNotOptimize(GenerateSystemName(seed));
        total += DrawsBetween(before, RandomGetState());
    }
    return total / names;
}

double PeakResidentBytes(void)
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return (double)usage.ru_maxrss * 1024.0; // kilobytes on Linux
}
} // namespace

static void BM_SystemNameSeedZero(benchmark::State &state)
{
    state.counters["draws_per_name"] = MeanDraws(false, 300);
    RandomSeed(2.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateSystemName(0));
}
BENCHMARK(BM_SystemNameSeedZero)->Unit(benchmark::kMillisecond);

static void BM_SystemNameRandomSeeds(benchmark::State &state)
{
    state.counters["draws_per_name"] = MeanDraws(true, 20000);
    RandomSeed(2.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateSystemName(RandomNext32()));
}
BENCHMARK(BM_SystemNameRandomSeeds)->Unit(benchmark::kMicrosecond);

// The seeds the program chooses for system names: the slowest of 100,000 consecutive keys,
// and the mean, so a seed that stalls a frame would show as the worst case. Each seed's time
// is the best of three runs, so a preempted run is not taken for a slow seed.
static void BM_SystemNameChosenSeedsWorstOf100000(benchmark::State &state)
{
    double worst = 0.0, total = 0.0;
    uint64_t worstKey = 0;
    for (auto _ : state)
    {
        worst = 0.0;
        total = 0.0;
        for (uint64_t key = 0; key < 100000; key++)
        {
            const uint32_t seed = ChooseSystemNameSeed(key);
            double spent = 1e9;
            for (int run = 0; run < 3; run++)
            {
                const double start = ClockSeconds();
                benchmark::DoNotOptimize(GenerateSystemName(seed));
                spent = std::min(spent, ClockSeconds() - start);
            }
            total += spent;
            if (spent > worst)
            {
                worst = spent;
                worstKey = key;
            }
        }
    }
    state.counters["worst_us"] = worst * 1e6;
    state.counters["mean_us"] = total / 100000.0 * 1e6;
    state.counters["worst_key"] = (double)worstKey;
}
BENCHMARK(BM_SystemNameChosenSeedsWorstOf100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One full regeneration of the star-system layer with nine arms: 24,327 systems, each with a
// seed-0 name. Peak resident memory is the whole process's high-water mark; system_bytes is
// what the systems and their star arrays hold.
static void BM_GenerateSystemsNineArms(benchmark::State &state)
{
    SYSTEM_LAYER_T layer(256);
    RandomSeed(7.0);
    for (auto _ : state)
        layer.GenerateSystems(9, 10, 0, 20, 80, 32, 16, 255);

    double system_bytes = 0.0;
    for (uint64_t k = 0; k < layer.system_list.Count(); k++)
    {
        const SYSTEM_T *system = (const SYSTEM_T *)layer.system_list.Get(k);
        system_bytes += (double)sizeof(SYSTEM_T) + (double)system->star_count * (double)sizeof(STAR_T);
    }
    state.counters["systems"] = (double)layer.system_list.Count();
    state.counters["system_bytes"] = system_bytes;
    state.counters["peak_rss_bytes"] = PeakResidentBytes();
}
BENCHMARK(BM_GenerateSystemsNineArms)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(false);
