// Making a star field. A generation fills one star array in place and indexes it afterwards in
// one pass, so it allocates nothing per star and its stars are dropped all at once; everything
// drawing needs is derived right after, in the same call, so that a field made on the
// builder's worker is ready to draw the moment it is swapped in. Each pass over the stars is
// split among the machine's cores.
#include "galaxy/star_field.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>
#include <vector>

#include "galaxy/hubble_galaxy.h"
#include "galaxy/hubble_types.h"
#include "galaxy/star_color.h"
#include "random/random.h"
#include "scene/usable_cores.h"

namespace
{
// Stars are counted in steps of this many, so watching costs nothing per star.
constexpr uint64_t PROGRESS_STEP = 16384;

// Slices report out of order: progress only ever goes up.
void NoteStage(std::atomic<uint32_t> *progress, uint32_t reached)
{
    if (progress == nullptr) return;
    uint32_t seen = progress->load(std::memory_order_relaxed);
    while (seen < reached && !progress->compare_exchange_weak(seen, reached, std::memory_order_relaxed))
    {
    }
}

// The placing share of placed out of limit stars.
void NotePlaced(std::atomic<uint32_t> *progress, uint64_t placed, uint64_t limit)
{
    if (limit == 0) return;
    NoteStage(progress, (uint32_t)((placed < limit ? placed : limit) * STAR_FIELD_PROGRESS_PLACED / limit));
}

struct ADDING_T
{
    STAR_FIELD_T *field;
    std::atomic<uint32_t> *progress;
    uint64_t limit;
};

void AddStar(Vector3 position, void *context)
{
    const ADDING_T *adding = (const ADDING_T *)context;
    STAR_FIELD_T *field = adding->field;
    const uint64_t next = field->star_list.Count();
    if (next >= field->star_capacity) return; // cannot happen: the array holds the walk's limit
    IOBJECT_T *star = &field->stars[next];
    *star = IOBJECT_T(position, Vector3{1.0f, 1.0f, 1.0f});
    field->star_list.Push(star);
    if ((next + 1) % PROGRESS_STEP == 0) NotePlaced(adding->progress, next + 1, adding->limit);
}

// Room for n stars; false when it cannot be had.
bool ReserveStars(STAR_FIELD_T *field, uint64_t n)
{
    // A much smaller galaxy after a huge one gives the memory back.
    if (n <= field->star_capacity && n >= field->star_capacity / 4) return true;
    field->stars.reset();
    field->stars.reset((n > 0) ? new (std::nothrow) IOBJECT_T[n] : nullptr);
    field->star_capacity = (field->stars != nullptr) ? n : 0;
    return field->star_capacity == n;
}

CUBOID TreeBox(int32_t extent)
{
    const float edge = (float)(2.0 * (double)extent);
    return CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{edge, edge, edge});
}

double MillisecondsSince(double start)
{
    return (ClockSeconds() - start) * 1000.0;
}

// Calls work(first, count) for one slice of [0, total) on each of `threads` threads (the
// calling thread takes the last) and waits for them all.
template <typename WORK> void ForSlices(uint64_t total, int threads, WORK work)
{
    if (threads <= 0) threads = UsableCores();
    if (threads <= 0) threads = 1;
    // Below a few thousand items a thread costs more than it saves.
    const uint64_t slices = total < 8192 ? 1 : (uint64_t)threads;
    std::vector<std::thread> helpers;
    for (uint64_t s = 0; s < slices; s++)
    {
        const uint64_t first = total * s / slices;
        const uint64_t count = total * (s + 1) / slices - first;
        if (s + 1 < slices)
            helpers.emplace_back(work, first, count);
        else
            work(first, count);
    }
    for (std::thread &helper : helpers) helper.join();
}

void PlaceStars(STAR_FIELD_T *field, const GALAXY_SHAPE_T &shape, uint64_t limit, int threads,
                std::atomic<uint32_t> *progress)
{
    if (shape.model == GALAXY_MODEL_CLASSIC)
    {
        ADDING_T adding = {field, progress, limit};
        WalkSpiralArms(shape, SPIRAL_POINTS_IN_DISC, AddStar, &adding);
        return;
    }
    IOBJECT_T *stars = field->stars.get();
    OBJECT **list = field->star_list.items; // reserved for limit stars
    std::atomic<uint64_t> placed{0};
    ForSlices(limit, threads, [&shape, stars, list, progress, limit, &placed](uint64_t first, uint64_t count) {
        // Each star has its own dice, so placing a slice in steps gives the same stars.
        for (uint64_t from = first; from < first + count; from += PROGRESS_STEP)
        {
            const uint64_t n = first + count - from < PROGRESS_STEP ? first + count - from : PROGRESS_STEP;
            PlaceHubbleStars(shape, from, n, stars + from);
            for (uint64_t k = from; k < from + n; k++) list[k] = &stars[k];
            NotePlaced(progress, placed.fetch_add(n) + n, limit);
        }
    });
    field->star_list.count = limit;
}

// The colours from the stars' places and what drawing derives from the tree, the passes over
// every star split among `threads` threads.
void PrepareColorsAndDrawing(STAR_FIELD_T *field, int threads)
{
    if (threads <= 0) threads = UsableCores(); // the samples below start a thread unless this is 1
    const uint32_t count = (uint32_t)field->star_list.Count();
    const IOBJECT_T *stars = field->stars.get();
    std::vector<float> farthest((size_t)threads + 1, 0.0f);
    std::atomic<size_t> slice{0};
    ForSlices(count, threads, [&](uint64_t first, uint64_t n) {
        farthest[slice.fetch_add(1)] = FarthestFromAxis(stars + first, (uint32_t)n);
    });
    float radius = 0.0f;
    for (float r : farthest) radius = r > radius ? r : radius;
    field->disc_radius = radius;
    field->colors.resize(count);
    const bool populations = field->shape.model != GALAXY_MODEL_CLASSIC;
    Color *colors = field->colors.data();
    ForSlices(count, threads, [=](uint64_t first, uint64_t n) {
        if (populations)
            ColorStarsFromPopulations(stars + first, (uint32_t)n, radius, colors + first);
        else
            ColorStarsFromPositions(stars + first, (uint32_t)n, radius, colors + first);
    });
    field->colors_from_systems = 0;
    const std::vector<uint32_t> &order = field->tree.draw_order;
    field->places.resize(count);
    field->draw_colors.resize(order.size());
    // The samples need only the tree: they are made beside the draw order's passes (after the
    // last allocation that may fail, so no thread is left running when one does).
    field->lod.built = false; // whatever it held was another tree's
    bool samples_failed = false;
    auto sample = [field, &samples_failed] {
        try
        {
            UpdateArrayOctreeLod(field->tree, &field->lod);
        }
        catch (const std::bad_alloc &)
        {
            samples_failed = true; // told to the caller, as on one thread
        }
    };
    std::thread samples;
    if (threads == 1)
        sample();
    else
        samples = std::thread(sample);

    // Each star has one place in draw order, so the slices write apart.
    uint32_t *places = field->places.data();
    ForSlices(count, threads, [=](uint64_t first, uint64_t n) {
        std::fill(places + first, places + first + n, GALAXY_NOT_DRAWN);
    });
    Color *draw_colors = field->draw_colors.data();
    ForSlices(order.size(), threads, [=, &order](uint64_t first, uint64_t n) {
        for (uint64_t j = first; j < first + n; j++)
        {
            const uint32_t star = order[j];
            if (star >= count) continue;
            places[star] = (uint32_t)j;
            draw_colors[j] = colors[star];
        }
    });
    if (samples.joinable()) samples.join();
    if (samples_failed) throw std::bad_alloc();
    field->colors_version += 1;
    field->colors_changed.first.clear();
    field->colors_changed.count.clear();
}
} // namespace

STAR_FIELD_T::STAR_FIELD_T(int32_t extent) : extent(extent), tree(TreeBox(extent), GALAXY_TREE_CAPACITY)
{
}

void STAR_FIELD_T::Empty(void)
{
    // The list's storage goes in one go rather than being resized for every star; the stars
    // themselves stay in their array.
    star_list = ARRAYLIST();
    tree.Clear();
    cells = ARRAY_OCTREE_CELLS_T();
}

void STAR_FIELD_T::Release(void)
{
    *this = STAR_FIELD_T(extent);
}

uint64_t StarFieldLimit(const GALAXY_SHAPE_T &shape)
{
    return shape.model == GALAXY_MODEL_CLASSIC ? SpiralPointLimit(shape) : HubbleStarCount(shape);
}

std::string StarFieldProblem(const GALAXY_SHAPE_T &shape)
{
    return shape.model == GALAXY_MODEL_CLASSIC ? SpiralShapeProblem(shape) : HubbleShapeProblem(shape);
}

void FillStarField(STAR_FIELD_T *field, const GALAXY_SHAPE_T &shape, int threads, std::atomic<uint32_t> *progress)
{
    field->shape = shape;
    field->Empty();
    field->failure = StarFieldProblem(shape);
    const double start = ClockSeconds();
    const uint64_t limit = StarFieldLimit(shape);
    try
    {
        if (!ReserveStars(field, limit)) throw std::bad_alloc();
        field->star_list.Reserve(limit);
        if (field->star_list.capacity < limit) throw std::bad_alloc();
        PlaceStars(field, shape, limit, threads, progress);
        field->generate_ms = MillisecondsSince(start);
        NoteStage(progress, STAR_FIELD_PROGRESS_PLACED);

        const double indexing = ClockSeconds();
        field->tree.Build(field->stars.get(), (uint32_t)field->star_list.Count(), threads);
        field->index_ms = MillisecondsSince(indexing);
        NoteStage(progress, STAR_FIELD_PROGRESS_INDEXED);
        PrepareColorsAndDrawing(field, threads);
        if (shape.model == GALAXY_MODEL_CLASSIC)
            field->dust.clear();
        else
            PlaceHubbleDust(shape, &field->dust);
    }
    catch (const std::bad_alloc &)
    {
        // Half a field would be a galaxy nobody asked for: none, and why.
        field->Release();
        field->shape = shape;
        field->failure = "not enough memory for " + std::to_string(limit) + " stars";
        PrepareColorsAndDrawing(field, 1);
        NoteStage(progress, STAR_FIELD_PROGRESS_DONE);
        return;
    }
    NoteStage(progress, STAR_FIELD_PROGRESS_DONE);
    if (field->star_list.Count() == 0 && field->failure.empty())
        field->failure = "no star of this shape has finite coordinates";
}

void MakeStarField(STAR_FIELD_T *field, const GALAXY_SHAPE_T &shape, int threads, std::atomic<uint32_t> *progress)
{
    RandomSeed((double)shape.seed);
    FillStarField(field, shape, threads, progress);
}

void SetStarColors(STAR_FIELD_T *field, uint32_t first, uint32_t count, const Color *colors)
{
    const uint64_t stars = field->colors.size();
    const uint32_t end = (uint64_t)first + count < stars ? first + count : (uint32_t)stars;
    const size_t blocks = (field->draw_colors.size() + STAR_FIELD_COLOR_BLOCK - 1) / STAR_FIELD_COLOR_BLOCK;
    std::vector<uint8_t> changed(blocks, 0);
    for (uint32_t star = first; star < end; star++)
    {
        const Color color = colors[star - first];
        field->colors[star] = color;
        const uint32_t place = star < field->places.size() ? field->places[star] : GALAXY_NOT_DRAWN;
        if (place == GALAXY_NOT_DRAWN) continue;
        field->draw_colors[place] = color;
        changed[place / STAR_FIELD_COLOR_BLOCK] = 1;
    }

    LOD_RANGES_T &ranges = field->colors_changed;
    ranges.first.clear();
    ranges.count.clear();
    for (size_t b = 0; b < blocks; b++)
    {
        if (changed[b] == 0) continue;
        const size_t begin = b * STAR_FIELD_COLOR_BLOCK;
        const size_t stop = begin + STAR_FIELD_COLOR_BLOCK < field->draw_colors.size() ? begin + STAR_FIELD_COLOR_BLOCK
                                                                                     : field->draw_colors.size();
        if (!ranges.first.empty() && (size_t)(ranges.first.back() + ranges.count.back()) == begin)
            ranges.count.back() += (int32_t)(stop - begin);
        else
        {
            ranges.first.push_back((int32_t)begin);
            ranges.count.push_back((int32_t)(stop - begin));
        }
    }
    field->colors_version += 1;
}

void FindDrawPlaces(const ARRAY_OCTREE_T &tree, uint32_t star_count, std::vector<uint32_t> *places)
{
    places->assign(star_count, GALAXY_NOT_DRAWN);
    for (size_t j = 0; j < tree.draw_order.size(); j++)
    {
        const uint32_t star = tree.draw_order[j];
        if (star < star_count) (*places)[star] = (uint32_t)j;
    }
}

void GatherDrawColors(const ARRAY_OCTREE_T &tree, const std::vector<Color> &colors, std::vector<Color> *draw_colors)
{
    draw_colors->resize(tree.draw_order.size());
    for (size_t j = 0; j < tree.draw_order.size(); j++)
    {
        const uint32_t star = tree.draw_order[j];
        (*draw_colors)[j] = star < colors.size() ? colors[star] : Color{255, 255, 255, 255};
    }
}
