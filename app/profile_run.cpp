// Collecting and summarising the profile's samples.
#include "app/profile_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/viewer.h"
#include "galaxy/galaxy_builder.h"
#include "random/random.h"

namespace
{
double ThreadCpuSeconds(void)
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

// Nearest-rank percentile of sorted samples.
double Percentile(const std::vector<double> &sorted, double p)
{
    if (sorted.empty()) return 0.0;
    size_t rank = (size_t)std::ceil(p * (double)sorted.size());
    if (rank < 1) rank = 1;
    return sorted[std::min(rank, sorted.size()) - 1];
}
} // namespace

PROFILE_RUN_T MakeProfileRun(int32_t frames)
{
    PROFILE_RUN_T run;
    run.frames = frames;
    return run;
}

void AddProfileSample(PROFILE_RUN_T *run, const char *stage, double ms)
{
    for (PROFILE_SAMPLES_T &samples : run->stages)
    {
        if (samples.name == stage)
        {
            samples.ms.push_back(ms);
            return;
        }
    }
    run->stages.push_back(PROFILE_SAMPLES_T{stage, {ms}});
}

bool ProfileRecording(const PROFILE_RUN_T *run)
{
    return run->frames > 0 && run->seen > PROFILE_WARM_UP_FRAMES && run->seen <= PROFILE_WARM_UP_FRAMES + run->frames;
}

// Frames of the DEBUG phase begun so far, its warm-up included; 0 before it.
static int32_t DebugFrame(const PROFILE_RUN_T *run)
{
    const int32_t before = PROFILE_WARM_UP_FRAMES + run->frames;
    return (run->frames > 0 && run->seen > before) ? run->seen - before : 0;
}

static bool DebugRecording(const PROFILE_RUN_T *run)
{
    const int32_t frame = DebugFrame(run);
    return frame > PROFILE_WARM_UP_FRAMES && frame <= PROFILE_WARM_UP_FRAMES + run->frames;
}

// Frames of the regenerating phase begun so far; 0 before it.
static int32_t RegeneratingFrame(const PROFILE_RUN_T *run)
{
    const int32_t before = 2 * (PROFILE_WARM_UP_FRAMES + run->frames);
    return (run->frames > 0 && run->seen > before) ? run->seen - before : 0;
}

// Frames of the system-view phase begun so far, its warm-up included; 0 before it.
static int32_t SystemViewFrame(const PROFILE_RUN_T *run)
{
    const int32_t regenerating = RegeneratingFrame(run);
    return regenerating > PROFILE_REGENERATING_FRAMES ? regenerating - PROFILE_REGENERATING_FRAMES : 0;
}

bool ProfileFrameStart(PROFILE_RUN_T *run)
{
    const double now = ClockSeconds();
    const double cpu = ThreadCpuSeconds();
    if (ProfileRecording(run) && run->last_start >= 0.0)
    {
        AddProfileSample(run, "frame", (now - run->last_start) * 1000.0);
        AddProfileSample(run, "main_thread_cpu", (cpu - run->last_cpu_start) * 1000.0);
    }
    if (DebugRecording(run) && run->last_start >= 0.0)
    {
        AddProfileSample(run, "frame_debug", (now - run->last_start) * 1000.0);
        AddProfileSample(run, "main_thread_cpu_debug", (cpu - run->last_cpu_start) * 1000.0);
    }
    const int32_t system = SystemViewFrame(run);
    if (system > PROFILE_WARM_UP_FRAMES + 1 && system <= PROFILE_WARM_UP_FRAMES + run->frames + 1)
    {
        AddProfileSample(run, "system_frame", (now - run->last_start) * 1000.0);
        AddProfileSample(run, "system_main_thread_cpu", (cpu - run->last_cpu_start) * 1000.0);
    }
    // The frame that asked for the first regeneration counts too: it may be the one held.
    if (RegeneratingFrame(run) >= 1 && system == 0)
    {
        AddProfileSample(run, "frame_while_regenerating", (now - run->last_start) * 1000.0);
        // Apart from the wall time, which the worker's share of the cores also stretches.
        AddProfileSample(run, "main_thread_cpu_while_regenerating", (cpu - run->last_cpu_start) * 1000.0);
    }
    run->last_start = now;
    run->last_cpu_start = cpu;
    run->seen += 1;
    return run->frames > 0 && SystemViewFrame(run) > PROFILE_WARM_UP_FRAMES + run->frames + 1;
}

void ProfileDebug(PROFILE_RUN_T *run, VIEWER_T *viewer)
{
    const int32_t frame = DebugFrame(run);
    if (frame == 1)
    {
        run->debug_before = viewer->debug_flag;
        viewer->debug_flag = true;
    }
    else if (frame == PROFILE_WARM_UP_FRAMES + run->frames + 1)
        viewer->debug_flag = run->debug_before;
}

void ProfileSystemView(const PROFILE_RUN_T *run, VIEWER_T *viewer)
{
    if (SystemViewFrame(run) != 1 || viewer->galaxy == nullptr) return;
    // Of the first stars, the one with the most bodies to draw.
    const STAR_FIELD_T &field = viewer->galaxy->field;
    uint64_t busiest = 0;
    uint32_t most = 0;
    for (uint64_t star = 0; star < std::min<uint64_t>(64, field.StarCount()); star++)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(field.shape, star, field.stars[star].position, &system);
        uint32_t bodies = 0;
        for (uint32_t s = 0; s < system.system.star_count; s++)
        {
            bodies += 1 + system.system.stars[s].planet_count;
            for (uint32_t p = 0; p < system.system.stars[s].planet_count; p++)
                bodies += system.system.stars[s].planets[p].moon_count;
        }
        if (bodies > most) most = bodies, busiest = star;
    }
    if (field.StarCount() > 0) VisitViewerStar(viewer, busiest);
}

void ProfileRegenerating(const PROFILE_RUN_T *run, VIEWER_T *viewer, const GALAXY_SHAPE_T &shape)
{
    const int32_t frame = RegeneratingFrame(run);
    if (frame < 1 || frame > PROFILE_REGENERATING_FRAMES || (frame - 1) % PROFILE_REGENERATE_EVERY != 0 || viewer->galaxy == nullptr) return;
    GALAXY_SHAPE_T next = shape;
    next.seed = shape.seed + (uint32_t)(((frame - 1) / PROFILE_REGENERATE_EVERY) % 2 == 0 ? 1 : 0);
    RequestGalaxy(viewer->builder, viewer->galaxy, next);
}

void ProfileGenerations(PROFILE_RUN_T *run, VIEWER_T *viewer, const GALAXY_SHAPE_T &shape)
{
    if (viewer->galaxy == nullptr) return;
    for (int i = 0; i < PROFILE_GENERATIONS; i++)
    {
        GenerateGalaxy(viewer->galaxy, shape);
        AddProfileSample(run, "generate", viewer->galaxy->field.generate_ms);
        AddProfileSample(run, "index", viewer->galaxy->field.index_ms);
    }
}

void ProfileScene(PROFILE_RUN_T *run, const SCENE_TIMINGS_T &timings)
{
    if (RegeneratingFrame(run) >= 1 && SystemViewFrame(run) == 0)
    {
        AddProfileSample(run, "cull_while_regenerating", timings.cull_ms);
        AddProfileSample(run, "draw_while_regenerating", timings.draw_ms);
    }
    if (DebugRecording(run))
    {
        AddProfileSample(run, "cull_debug", timings.cull_ms);
        AddProfileSample(run, "draw_debug", timings.draw_ms);
    }
    if (!ProfileRecording(run)) return;
    AddProfileSample(run, "cull", timings.cull_ms);
    AddProfileSample(run, "draw", timings.draw_ms);
}

std::string FormatProfile(const PROFILE_RUN_T *run)
{
    std::string out;
    for (const PROFILE_SAMPLES_T &samples : run->stages)
    {
        std::vector<double> sorted = samples.ms;
        std::sort(sorted.begin(), sorted.end());
        char line[200];
        std::snprintf(line, sizeof line, "stage %s median_ms %.3f p95_ms %.3f max_ms %.3f\n", samples.name.c_str(),
                      Percentile(sorted, 0.5), Percentile(sorted, 0.95), sorted.empty() ? 0.0 : sorted.back());
        out += line;
    }
    return out;
}
