// The systems catalog: workers make pieces of consecutive systems, each piece formatted into a
// string of its own, and the calling thread writes them in order. A worker may run only so
// many pieces ahead of the writer, which is what keeps the memory flat.
#include "files/system_catalog.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <nlohmann/json.hpp>
#include <strings.h>
#include <thread>
#include <vector>

#include "files/system_json.h"

namespace
{
// Systems a piece: large enough that handing pieces over costs nothing, small enough that the
// pieces in flight (a JSON line is a few kilobytes) stay a few megabytes each.
constexpr uint64_t CATALOG_PIECE_STARS = 256;
// Pieces made but not yet written, per worker: one being made, one waiting.
constexpr uint64_t CATALOG_PIECES_PER_WORKER = 2;
// More workers than this would only hold more pieces in memory for a writer that cannot keep up.
constexpr int CATALOG_MOST_WORKERS = 64;

// A CSV field, quoted only when it must be.
std::string CsvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
    {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The text the JSON writer gives the same figure, so both formats agree to the digit; nothing
// for a figure without a value (null in the JSON).
std::string JsonNumberText(double value)
{
    return std::isfinite(value) ? nlohmann::json(value).dump() : std::string();
}

std::string MakePiece(const STAR_FIELD_T &field, SYSTEM_CATALOG_FORMAT_T format, uint64_t first, uint64_t end)
{
    std::string text;
    for (uint64_t star = first; star < end; star++)
    {
        const Vector3 position = ((const IOBJECT_T *)field.star_list.Get(star))->position;
        STAR_SYSTEM_T system;
        GenerateStarSystem(field.shape, star, position, &system);
        text += format == SYSTEM_CATALOG_CSV ? SystemCatalogCsvRow(system) : StarSystemJsonLine(system);
    }
    return text;
}

// The pieces between the workers and the writer. Piece p waits in slot p % slots.
struct PIECES_T
{
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::string> text;
    std::vector<uint64_t> held; // the piece number a slot holds, or NONE
    uint64_t claimed = 0;       // pieces handed to workers
    uint64_t written = 0;       // pieces the writer has taken
    bool stop = false;          // the writer has failed: make no more
    static constexpr uint64_t NONE = UINT64_MAX;
};

// Pieces are claimed in order, so the one the writer waits for is always being made.
void MakePieces(const STAR_FIELD_T &field, SYSTEM_CATALOG_FORMAT_T format, uint64_t pieces, PIECES_T *shared)
{
    const uint64_t stars = field.star_list.Count();
    const uint64_t slots = shared->text.size();
    for (;;)
    {
        uint64_t piece = 0;
        {
            std::unique_lock<std::mutex> hold(shared->lock);
            piece = shared->claimed++;
            if (piece >= pieces) return;
            shared->changed.wait(hold, [&] { return shared->stop || piece < shared->written + slots; });
            if (shared->stop) return;
        }
        const uint64_t first = piece * CATALOG_PIECE_STARS;
        std::string text = MakePiece(field, format, first, std::min(stars, first + CATALOG_PIECE_STARS));
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            shared->text[piece % slots] = std::move(text);
            shared->held[piece % slots] = piece;
        }
        shared->changed.notify_all();
    }
}
} // namespace

SYSTEM_CATALOG_FORMAT_T SystemCatalogFormat(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    const char *dot = std::strrchr(slash ? slash : path, '.');
    if (dot && strcasecmp(dot, ".jsonl") == 0) return SYSTEM_CATALOG_JSONL;
    if (dot && strcasecmp(dot, ".csv") == 0) return SYSTEM_CATALOG_CSV;
    return SYSTEM_CATALOG_UNKNOWN;
}

std::string SystemCatalogFormatProblem(const char *path)
{
    if (SystemCatalogFormat(path) != SYSTEM_CATALOG_UNKNOWN) return std::string();
    const char *slash = std::strrchr(path, '/');
    const char *dot = std::strrchr(slash ? slash : path, '.');
    return std::string("cannot export ") + path + ": unknown catalog format " +
           (dot ? std::string("\"") + dot + "\"" : std::string("(no extension)")) + "; use .jsonl or .csv";
}

std::string SystemCatalogCsvHeader(void)
{
    return "name,index,x,y,z,class,temperature_k,planets,habitable_planets\n";
}

std::string SystemCatalogCsvRow(const STAR_SYSTEM_T &star_system)
{
    const SYSTEM_T &system = star_system.system;
    uint32_t planets = 0, habitable = 0;
    for (uint32_t s = 0; s < system.star_count; s++)
    {
        planets += system.stars[s].planet_count;
        for (uint32_t p = 0; p < system.stars[s].planet_count; p++)
            habitable += system.stars[s].planets[p].in_habitable_zone != 0 ? 1u : 0u;
    }
    char place[128];
    std::snprintf(place, sizeof place, ",%" PRIu64 ",%.9g,%.9g,%.9g,", star_system.star_index,
                  (double)star_system.position.x, (double)star_system.position.y, (double)star_system.position.z);
    const std::string primary = system.star_count > 0 ? CsvField(system.stars[0].designation) : std::string();
    const std::string kelvin = system.star_count > 0 ? JsonNumberText(system.stars[0].temperature) : std::string();
    return CsvField(system.name) + place + primary + "," + kelvin + "," + std::to_string(planets) + "," +
           std::to_string(habitable) + "\n";
}

bool ExportSystemCatalog(const STAR_FIELD_T &field, const char *path, int threads, std::string *error,
                         const WRITE_PROGRESS_T &progress)
{
    const SYSTEM_CATALOG_FORMAT_T format = SystemCatalogFormat(path);
    if (format == SYSTEM_CATALOG_UNKNOWN)
    {
        if (error) *error = SystemCatalogFormatProblem(path);
        return false;
    }
    const uint64_t stars = field.star_list.Count();
    if (stars == 0)
    {
        // An empty catalog would pass for a galaxy that exists.
        if (error) *error = std::string("cannot export ") + path + ": the galaxy has no stars";
        return false;
    }
    ATOMIC_FILE_T file;
    if (!OpenAtomicFile(&file, path, error)) return false;
    if (format == SYSTEM_CATALOG_CSV) AppendAtomicFile(&file, SystemCatalogCsvHeader());

    if (threads <= 0) threads = (int)std::thread::hardware_concurrency();
    const uint64_t pieces = (stars + CATALOG_PIECE_STARS - 1) / CATALOG_PIECE_STARS;
    const int workers = (int)std::max<uint64_t>(1, std::min<uint64_t>({(uint64_t)std::max(threads, 1),
                                                                        (uint64_t)CATALOG_MOST_WORKERS, pieces}));
    PIECES_T shared;
    shared.text.resize((size_t)workers * CATALOG_PIECES_PER_WORKER);
    shared.held.assign(shared.text.size(), PIECES_T::NONE);
    const uint64_t slots = shared.text.size();
    std::vector<std::thread> team;
    for (int w = 0; w < workers; w++)
        team.emplace_back(MakePieces, std::cref(field), format, pieces, &shared);

    if (progress) progress(0, stars);
    for (uint64_t piece = 0; piece < pieces; piece++)
    {
        std::string text;
        {
            std::unique_lock<std::mutex> hold(shared.lock);
            shared.changed.wait(hold, [&] { return shared.held[piece % slots] == piece; });
            text.swap(shared.text[piece % slots]);
            shared.held[piece % slots] = PIECES_T::NONE;
        }
        const bool wrote = AppendAtomicFile(&file, text);
        {
            std::lock_guard<std::mutex> hold(shared.lock);
            shared.written = piece + 1;
            shared.stop = !wrote;
        }
        shared.changed.notify_all();
        if (!wrote) break;
        if (progress) progress(std::min(stars, (piece + 1) * CATALOG_PIECE_STARS), stars);
    }
    for (std::thread &worker : team) worker.join();
    return CommitAtomicFile(&file, error);
}
