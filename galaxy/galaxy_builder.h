// GALAXY_BUILDER_T: generates galaxies too large for one frame on a worker thread, so the
// galaxy on screen stays drawn (and the frames keep coming) until the new one is ready and
// swapped in whole. Small galaxies are still generated at once, in the frame that asks.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "galaxy/galaxy.h"
#include "random/random.h"

// Above this many spiral points a galaxy is generated on the worker: about 30 ms of placing
// and indexing on a desktop core, well inside the frame budget below it. Every density-1
// galaxy of the panel (at most 24,327 stars) stays synchronous, exactly as before.
constexpr uint64_t GALAXY_BUILDER_SYNC_POINTS = 200000;
// The worker's niceness above the thread that draws (Linux). At 8, frames while a million-star
// galaxy regenerates took 58 ms against 68 ms at 0 (ordinary frames 49 to 55 ms), and the new
// galaxies still arrived; at 10 and more they stopped arriving while a slider moved.
constexpr int GALAXY_BUILDER_NICENESS = 8;
// With cells asked for, the share of the progress figure the field itself fills; the cells
// fill the rest (at density 40 they take about twice as long as the field).
constexpr float GALAXY_BUILD_FIELD_SHARE = 0.3f;

// What the worker is doing, for a line that tells the user.
struct GALAXY_BUILD_PROGRESS_T
{
    bool running = false;
    double seconds = 0.0; // since this generation started
    uint64_t stars = 0;   // the most it places
    float fraction = 0.0f; // 0 to 1, never lower than before within one generation
};

// A browser page without shared memory has no second thread: there the builder makes the
// latest request in the frame that collects it, and the steps in between are still skipped.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define GALAXY_BUILDER_IN_FRAME 1
#endif

class GALAXY_BUILDER_T
{
  public:
    // For GALAXYs of this extent. The worker thread starts with the first request.
    explicit GALAXY_BUILDER_T(int32_t extent);
    // Waits for a generation that is running (it is not interrupted) and ends the worker; a
    // request not yet started is dropped.
    ~GALAXY_BUILDER_T();
    GALAXY_BUILDER_T(const GALAXY_BUILDER_T &) = delete;
    GALAXY_BUILDER_T &operator=(const GALAXY_BUILDER_T &) = delete;

    // Asks for the galaxy of shape; never waits. While one generation runs, the newest request
    // waits to run next, replacing an older one that has not started: there is never more
    // than one generation running, and the last request is always generated.
    void Request(const GALAXY_SHAPE_T &shape);

    // On the thread that draws, once a frame: when a generation is finished, swaps its star
    // field with the galaxy's, sets the calling thread's random stream to where the generation left the
    // worker's (so every later draw is what a synchronous GenerateGalaxy would have given)
    // and returns true. Starts the waiting request, if any. Never waits.
    bool Collect(GALAXY *galaxy);

    // A request not yet collected: running, waiting to run, or finished.
    bool Busy(void);

    // Waits until a generation is ready to collect, or nothing is asked; for tests and for a
    // caller that must have the result.
    void WaitForReady(void);

    // Whether the generations that start from now on also make their leaves' wire boxes
    // (DEBUG's cells), so the frame that shows one does not.
    void MakeCells(bool make) { make_cells.store(make); }

    // The generation running now, if any. Never waits for it.
    GALAXY_BUILD_PROGRESS_T Progress(void);

  private:
    void Work(void);
    void BuildInFrame(void);

    std::mutex mutex;
    std::condition_variable wake;     // the worker: a request to run, or stop
    std::condition_variable finished; // WaitForReady: a generation is done
    std::thread worker;
    bool stop = false;
    bool pending = false;  // `request` waits to run
    bool running = false;  // the worker fills `built`
    bool ready = false;    // `built` holds a finished generation not yet collected
    bool release = false;  // `built` holds a galaxy taken off screen, to be freed when idle
    GALAXY_SHAPE_T request = {};
    std::atomic<bool> make_cells{false};
    // The running generation: when it started, how many stars it places, whether it makes
    // cells, and its progress (STAR_FIELD_PROGRESS_*, then the cells).
    double started = 0.0;
    uint64_t running_stars = 0;
    bool running_cells = false;
    std::atomic<uint32_t> field_progress{0};
    std::atomic<uint32_t> cells_progress{0};
    STAR_FIELD_T built; // the worker's alone while running, the collector's otherwise
    RANDOM_STATE_T built_stream;
};

// Puts the galaxy of shape into galaxy: at once when it has at most GALAXY_BUILDER_SYNC_POINTS
// points and nothing is being built (returns true), else through builder, whose Collect then
// swaps it in (returns false). A small request while a large one is built also goes through
// builder, so an older generation can never replace a newer one.
bool RequestGalaxy(GALAXY_BUILDER_T *builder, GALAXY *galaxy, const GALAXY_SHAPE_T &shape);
