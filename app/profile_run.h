// --profile N: the viewer measures itself. After a short warm-up it records N frames (wall time
// from one frame's start to the next's, the scene's cull and draw times, the main thread's CPU
// time) and a few regenerations of the galaxy; then as many again with DEBUG on, after their own
// warm-up (the same stages with "_debug"); then PROFILE_REGENERATING_FRAMES more frames
// while the galaxy is regenerated every PROFILE_REGENERATE_EVERY frames, as a dragged slider
// does. It prints one line per stage as
//   stage <name> median_ms <value> p95_ms <value> max_ms <value>
// and ends the run. Last, it opens the system view of a star with many bodies and records as
// many frames again there, after PROFILE_WARM_UP_FRAMES for the glide ("system_frame").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int PROFILE_WARM_UP_FRAMES = 30;
constexpr int PROFILE_GENERATIONS = 9;
constexpr int PROFILE_REGENERATING_FRAMES = 60;
constexpr int PROFILE_REGENERATE_EVERY = 10;

struct PROFILE_SAMPLES_T
{
    std::string name;
    std::vector<double> ms;
};

struct PROFILE_RUN_T
{
    int32_t frames = 0;  // frames to record; 0: not profiling
    int32_t seen = 0;    // frames begun so far, warm-up included
    double last_start = -1.0;     // wall clock, seconds
    double last_cpu_start = -1.0; // this thread's CPU clock, seconds
    bool debug_before = false;    // the viewer's DEBUG state, given back after the DEBUG frames
    std::vector<PROFILE_SAMPLES_T> stages;
};

PROFILE_RUN_T MakeProfileRun(int32_t frames);

// Adds one sample to the named stage.
void AddProfileSample(PROFILE_RUN_T *run, const char *stage, double ms);

// At the start of every frame: closes the previous frame's wall and CPU time. Returns whether
// the run has recorded all its frames.
bool ProfileFrameStart(PROFILE_RUN_T *run);

// Whether the frame now running is one to record (past the warm-up, before the regenerating
// frames).
bool ProfileRecording(const PROFILE_RUN_T *run);

struct VIEWER_T;
struct SCENE_TIMINGS_T;
struct GALAXY_SHAPE_T;

// Before the frames: regenerates the viewer's galaxy PROFILE_GENERATIONS times (seeded as
// always, so it ends as the same galaxy) and records the "generate" and "index" stages.
void ProfileGenerations(PROFILE_RUN_T *run, VIEWER_T *viewer, const GALAXY_SHAPE_T &shape);

// At the start of every frame, after ProfileFrameStart: in the regenerating frames, asks for
// the galaxy again every PROFILE_REGENERATE_EVERY frames, with the seed alternately one more,
// the way the panel asks (through the viewer's galaxy builder when the galaxy is large).
void ProfileRegenerating(const PROFILE_RUN_T *run, VIEWER_T *viewer, const GALAXY_SHAPE_T &shape);

// At the start of every frame, after ProfileFrameStart: turns DEBUG on for the DEBUG frames and
// back to what it was after them.
void ProfileDebug(PROFILE_RUN_T *run, VIEWER_T *viewer);

// At the start of every frame, after ProfileFrameStart: opens the system view when its phase
// begins.
void ProfileSystemView(const PROFILE_RUN_T *run, VIEWER_T *viewer);

// After the scene is drawn: its cull and draw times, once past the warm-up.
void ProfileScene(PROFILE_RUN_T *run, const SCENE_TIMINGS_T &timings);

// The stage lines; the median, the 95th percentile (nearest rank) and the largest of each stage.
std::string FormatProfile(const PROFILE_RUN_T *run);
