// GALAXY_BUILDER_T: generates galaxies too large for one frame on a worker thread, so the
// galaxy on screen stays drawn (and the frames keep coming) until the new one is ready and
// swapped in whole. Small galaxies are still generated at once, in the frame that asks.
#pragma once

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
    STAR_FIELD_T built; // the worker's alone while running, the collector's otherwise
    RANDOM_STATE_T built_stream;
};

// Puts the galaxy of shape into galaxy: at once when it has at most GALAXY_BUILDER_SYNC_POINTS
// points and nothing is being built (returns true), else through builder, whose Collect then
// swaps it in (returns false). A small request while a large one is built also goes through
// builder, so an older generation can never replace a newer one.
bool RequestGalaxy(GALAXY_BUILDER_T *builder, GALAXY *galaxy, const GALAXY_SHAPE_T &shape);
