// The worker thread behind GALAXY_BUILDER_T. One mutex guards the few flags; the generation
// itself runs outside it, into a star field nobody else touches until it is ready.
#include "galaxy/galaxy_builder.h"

#include <utility>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

GALAXY_BUILDER_T::GALAXY_BUILDER_T(int32_t extent) : built(extent)
{
}

GALAXY_BUILDER_T::~GALAXY_BUILDER_T()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
    }
    wake.notify_all();
    if (worker.joinable()) worker.join();
}

void GALAXY_BUILDER_T::Request(const GALAXY_SHAPE_T &shape)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        request = shape;
        pending = true;
#if !defined(GALAXY_BUILDER_IN_FRAME)
        if (!worker.joinable()) worker = std::thread(&GALAXY_BUILDER_T::Work, this);
#endif
    }
    wake.notify_all();
}

bool GALAXY_BUILDER_T::Collect(GALAXY *galaxy)
{
#if defined(GALAXY_BUILDER_IN_FRAME)
    BuildInFrame();
#endif
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!ready) return false;
        std::swap(galaxy->field, built);
        RandomSetState(built_stream);
        ready = false;
        // Nothing waits: the old stars need not be kept for reuse. Freeing nearly a million
        // stars and their tree takes milliseconds, so the worker does it, not this frame.
        release = !pending;
    }
    wake.notify_all();
    return true;
}

bool GALAXY_BUILDER_T::Busy(void)
{
    std::lock_guard<std::mutex> lock(mutex);
    return pending || running || ready;
}

void GALAXY_BUILDER_T::WaitForReady(void)
{
#if defined(GALAXY_BUILDER_IN_FRAME)
    BuildInFrame();
    return;
#endif
    std::unique_lock<std::mutex> lock(mutex);
    finished.wait(lock, [this] { return ready || (!pending && !running); });
}

GALAXY_BUILD_PROGRESS_T GALAXY_BUILDER_T::Progress(void)
{
    std::lock_guard<std::mutex> lock(mutex);
    GALAXY_BUILD_PROGRESS_T progress;
    if (!running) return progress;
    progress.running = true;
    progress.seconds = ClockSeconds() - started;
    progress.stars = running_stars;
    const float field = (float)field_progress.load() / (float)STAR_FIELD_PROGRESS_DONE;
    const float cells = (float)cells_progress.load() / (float)CELLS_PROGRESS_DONE;
    progress.fraction = running_cells ? GALAXY_BUILD_FIELD_SHARE * field + (1.0f - GALAXY_BUILD_FIELD_SHARE) * cells
                                      : field;
    return progress;
}

void GALAXY_BUILDER_T::Work(void)
{
#ifdef __linux__
    // The thread that draws comes first: on two cores a software renderer otherwise loses one
    // to the worker and every frame of a regeneration grows. Gently, or the worker never runs.
    setpriority(PRIO_PROCESS, (id_t)syscall(SYS_gettid), GALAXY_BUILDER_NICENESS);
#endif
    std::unique_lock<std::mutex> lock(mutex);
    for (;;)
    {
        // A finished generation waits to be collected before the next one may reuse its storage.
        wake.wait(lock, [this] { return stop || (pending && !ready) || release; });
        if (stop) return;
        if (!pending)
        {
            // `built` is the worker's again: nothing is ready, and a request only reuses it.
            release = false;
            lock.unlock();
            built.Release();
            lock.lock();
            continue;
        }
        release = false; // the next generation reuses the storage instead
        const GALAXY_SHAPE_T shape = request;
        pending = false;
        running = true;
        started = ClockSeconds();
        running_stars = StarFieldLimit(shape);
        running_cells = make_cells.load();
        field_progress.store(0);
        cells_progress.store(0);
        const bool cells = running_cells;
        lock.unlock();

        // This thread's own stream: seeded here, so the main thread's draws meanwhile do not
        // interleave with these.
        MakeStarField(&built, shape, 0, &field_progress);
        const RANDOM_STATE_T stream = RandomGetState();
        if (cells) BuildArrayOctreeCells(built.tree, &built.cells, &cells_progress);

        lock.lock();
        built_stream = stream;
        running = false;
        ready = true;
        finished.notify_all();
    }
}

// What the worker does for one request, on the calling thread, when there is no worker. The
// stream is the caller's too, so it is kept around the generation as the worker's would be.
void GALAXY_BUILDER_T::BuildInFrame(void)
{
    if (release && !pending)
    {
        built.Release(); // the galaxy taken off screen; a frame later, as the worker would
        release = false;
    }
    if (!pending || ready) return;
    release = false;
    const GALAXY_SHAPE_T shape = request;
    pending = false;
    const RANDOM_STATE_T before = RandomGetState();
    MakeStarField(&built, shape);
    built_stream = RandomGetState();
    RandomSetState(before);
    ready = true;
}

bool RequestGalaxy(GALAXY_BUILDER_T *builder, GALAXY *galaxy, const GALAXY_SHAPE_T &shape)
{
    if (StarFieldLimit(shape) <= GALAXY_BUILDER_SYNC_POINTS && !builder->Busy())
    {
        GenerateGalaxy(galaxy, shape);
        return true;
    }
    builder->Request(shape);
    return false;
}
