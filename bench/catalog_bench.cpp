// The systems catalog of the densest panel galaxy (nine arms, density 40: 973,080 systems),
// as --export-systems writes it: the whole run, from making the galaxy to the renamed file, in a
// child process, so its peak resident memory (ru_maxrss) is the job's own. The JSON Lines file
// is some 16 GB while it lasts; it goes to $TMPDIR (or /tmp) and is removed. Run with
// --benchmark_filter=SystemCatalog.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/system_catalog.h"
#include "galaxy/galaxy.h"
#include "scene/viewer_pose.h"

namespace
{
// The shape the other density-40 figures use.
GALAXY_SHAPE_T CatalogShape(void)
{
    // arms, curvature, inner radius, bulge offsets 0 and 1, bulge size, size y, size xz
    GALAXY_SHAPE_T shape = MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 252);
    shape.density = 40;
    return shape;
}

void CatalogRun(benchmark::State &state, const char *extension)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/catalog_bench-XXXXXX";
    if (!mkdtemp(&folder[0]))
    {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = folder + "/systems" + extension;
    double seconds = 0.0, peak_mb = 0.0, file_mb = 0.0;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0)
        {
            GALAXY galaxy(VIEWER_GALAXY_EXTENT);
            GenerateGalaxy(&galaxy, CatalogShape());
            std::string error;
            const bool wrote = ExportSystemCatalog(galaxy.field, path.c_str(), 0, &error);
            if (!wrote) std::fprintf(stderr, "%s\n", error.c_str());
            _exit(wrote ? 0 : 1);
        }
        int status = 0;
        struct rusage usage = {};
        wait4(child, &status, 0, &usage);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the catalog was not written");
        peak_mb = (double)usage.ru_maxrss / 1024.0; // kilobytes on Linux
        struct stat info = {};
        if (stat(path.c_str(), &info) == 0) file_mb = (double)info.st_size / 1e6;
        unlink(path.c_str());
    }
    rmdir(folder.c_str());
    const uint64_t stars = StarFieldLimit(CatalogShape());
    state.counters["systems"] = (double)stars;
    state.counters["peak_MB"] = peak_mb;
    state.counters["file_MB"] = file_mb;
    state.counters["us_per_system"] = stars ? seconds * 1e6 / (double)stars : 0.0;
}

void BM_SystemCatalogDensity40Jsonl(benchmark::State &state)
{
    CatalogRun(state, ".jsonl");
}
BENCHMARK(BM_SystemCatalogDensity40Jsonl)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void BM_SystemCatalogDensity40Csv(benchmark::State &state)
{
    CatalogRun(state, ".csv");
}
BENCHMARK(BM_SystemCatalogDensity40Csv)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
} // namespace
