// Galaxy construction, star-field generation along spiral arms, and release. Generation
// needs no window: only the sprite texture does, and that lives in galaxy_draw.cpp. A
// generation fills one star array in place and indexes it afterwards in one pass, so it
// allocates nothing per star and its stars are dropped all at once.
#include "galaxy/galaxy.h"

#include <cmath>
#include <new>
#include <utility>

#include "galaxy/star_color.h"
#include "random/random.h"

namespace
{
// raylib's PI macro is a float; the angle needs pi in double.
constexpr double PI_DOUBLE = 3.141592653589793;

// Where one generation goes: a galaxy's members or a GALAXY_GENERATION_T's, so that both are
// filled by the very same code.
struct STAR_FIELD_T
{
    IOBJECT_T **stars;
    uint64_t *capacity;
    ARRAYLIST *list;
    ARRAY_OCTREE_T *tree;
    double *generate_ms;
    double *index_ms;
};

void AddStar(Vector3 position, void *context)
{
    STAR_FIELD_T *field = (STAR_FIELD_T *)context;
    const uint64_t next = field->list->Count();
    if (next >= *field->capacity) return; // cannot happen: the array holds the walk's limit
    IOBJECT_T *star = &(*field->stars)[next];
    *star = IOBJECT_T(position, Vector3{1.0f, 1.0f, 1.0f});
    field->list->Push(star);
}

// Room for n stars; false when it cannot be had.
bool ReserveStars(STAR_FIELD_T *field, uint64_t n)
{
    // A much smaller galaxy after a huge one gives the memory back.
    if (n <= *field->capacity && n >= *field->capacity / 4) return true;
    delete[] *field->stars;
    *field->stars = (n > 0) ? new (std::nothrow) IOBJECT_T[n] : nullptr;
    *field->capacity = (*field->stars != nullptr) ? n : 0;
    return *field->capacity == n;
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

// Replaces the field's stars by the shape's, drawing from the calling thread's stream as it
// stands, and indexes them.
void GenerateField(STAR_FIELD_T *field, const GALAXY_SHAPE_T &shape)
{
    // The list's storage goes in one go rather than being resized for every star; the stars
    // themselves stay in their array.
    *field->list = ARRAYLIST();
    field->tree->Clear();
    const double start = ClockSeconds();
    const uint64_t limit = SpiralPointLimit(shape);
    if (!ReserveStars(field, limit)) return; // out of memory: an empty galaxy
    field->list->Reserve(limit);
    WalkSpiralArms(shape, SPIRAL_POINTS_IN_DISC, AddStar, field);
    *field->generate_ms = MillisecondsSince(start);

    const double indexing = ClockSeconds();
    field->tree->Build(*field->stars, (uint32_t)field->list->Count());
    *field->index_ms = MillisecondsSince(indexing);
}
} // namespace

double SmoothStep(double x, double e0, double e1)
{
    double t = (x - e0) / (e1 - e0);
    if (t > 1.0) t = 1.0;
    if (!(t >= 0.0)) t = 0.0; // also catches NaN
    return t * t * (3.0 - 2.0 * t);
}

uint64_t SpiralPointLimit(const GALAXY_SHAPE_T &shape)
{
    // The step count per arm position is 3 * arms, an unsigned bound: a non-positive or
    // huge count would run for billions of steps.
    if (shape.arms < 1 || shape.arms > GALAXY_MAX_ARMS) return 0;
    // Curvature 0 puts every point at infinity over infinity: no galaxy, like no arms.
    if (shape.curvature == 0) return 0;
    if (shape.density < 1 || shape.density > GALAXY_MAX_DENSITY) return 0;
    const uint64_t points = (uint64_t)(GALAXY_ARM_STEPS + 1) * 3u * (uint64_t)shape.arms * (uint64_t)shape.density;
    return points <= GALAXY_MAX_SPIRAL_POINTS ? points : 0;
}

void WalkSpiralArms(const GALAXY_SHAPE_T &shape, SPIRAL_POINTS_T which, STAR_SINK_FN sink, void *context)
{
    if (SpiralPointLimit(shape) == 0) return;

    const double curvature = (double)shape.curvature;
    const double curvature2 = std::pow(curvature, 2.0);
    const double n = 810000.0 / curvature2; // 900^2 / B^2: the raw radius at the rim
    const double turn = curvature / 10.0;    // degrees per step
    const double spacing = 360.0 / (double)shape.arms;
    const double radius = (double)shape.size_xz;
    const double shift = (double)shape.inner_radius / 200.0;
    const double edge0 = (double)shape.bulge_offset0 / 100.0;
    const double edge1 = (double)shape.bulge_offset1 / 100.0;
    const double bulge = (double)shape.bulge_size / 64.0;
    const double thickness = (double)shape.size_y;
    const uint32_t per_step = 3u * (uint32_t)shape.arms;
    const int32_t density = shape.density;

    for (uint32_t i = 0; i <= GALAXY_ARM_STEPS; i++)
    {
        const double i2 = (double)(i * i);
        for (uint32_t j = 1; j <= per_step; j++)
        {
            // j, j + arms and j + 2 * arms land on the same arm: three stars per arm and step.
            const double degrees = (double)i * turn + (double)j * spacing;
            const double angle = degrees / 180.0 * PI_DOUBLE;
            const double p = std::sin(angle) * i2 / curvature2;
            const double q = std::cos(angle) * i2 / curvature2;
            const double u = p / n;
            const double w = q / n;
            // The normalised radius: sqrt(p^2 + q^2) / n is (i/900)^2 in exact arithmetic, but
            // rounding lifts it above 1 at the rim for some angles, which would drop stars
            // at size_xz 1. Taken directly it is exactly 0 at the centre and 1 at the rim.
            const double rho = i2 / 810000.0;
            if (rho > radius && which == SPIRAL_POINTS_IN_DISC) continue; // no star and no draw

            const double sx = SmoothStep(std::fabs(u) + shift, edge0, edge1) * 0.99 + 0.01;
            const double sz = SmoothStep(std::fabs(w) + shift, edge0, edge1) * 0.99 + 0.01;
            const double b = sz * sx * bulge;
            const double spread = (0.8 * b + 0.2) * thickness;

            for (int32_t k = 0; k < density; k++)
            {
                // The draw order is part of the output: r1 offsets z, r2 y, r3 x.
                const double r1 = RandomUnit();
                const double r2 = RandomUnit();
                const double r3 = RandomUnit();
                const Vector3 position = Vector3{(float)(u * radius + (r3 - 0.5) * spread),
                                                 (float)((r2 - 0.5) * spread),
                                                 (float)(w * radius + (r1 - 0.5) * spread)};
                // Extreme values can still overflow a coordinate; such a point is drawn but never kept.
                if (std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(position.z))
                    sink(position, context);
            }
        }
    }
}

GALAXY::GALAXY(int32_t extent) : tree(TreeBox(extent), GALAXY_TREE_CAPACITY)
{
    star_texture = LoadStarTexture();
    position = Vector3{0.0f, 0.0f, 0.0f};
    size = Vector3{(float)extent, (float)extent, (float)extent};
}

GALAXY::~GALAXY()
{
    EmptySystems();
    EmptyStars();
    UnloadArrayOctreeGpu(&tree_gpu);
    delete[] stars;
    stars = nullptr;
    star_capacity = 0;
    size = Vector3{0.0f, 0.0f, 0.0f};
    UnloadStarTexture(&star_texture);
}

void GALAXY::EmptyStars(void)
{
    // The list's storage goes in one go rather than being resized for every star; the stars
    // themselves stay in their array.
    star_list = ARRAYLIST();
    tree.Clear();
}

int32_t GALAXY::Generate(const GALAXY_SHAPE_T &shape)
{
    this->shape = shape;
    STAR_FIELD_T field = {&stars, &star_capacity, &star_list, &tree, &last_generate_ms, &last_index_ms};
    GenerateField(&field, shape);
    FillStarColorsFromPositions(this);
    draw_prep.ready = false;
    return 0;
}

void GALAXY::TakeGeneration(GALAXY_GENERATION_T *generation)
{
    std::swap(stars, generation->stars);
    std::swap(star_capacity, generation->star_capacity);
    std::swap(star_list.items, generation->star_list.items);
    std::swap(star_list.count, generation->star_list.count);
    std::swap(star_list.capacity, generation->star_list.capacity);
    // Both trees count their own builds, so the new one's version may equal the one the GPU
    // holds; moving past it makes the next draw upload.
    const uint32_t shown = tree.version;
    std::swap(tree, generation->tree);
    tree.version = shown + 1;
    last_generate_ms = generation->generate_ms;
    last_index_ms = generation->index_ms;
    std::swap(shape, generation->shape);
    std::swap(star_colors, generation->star_colors);
    disc_radius = generation->disc_radius;
    star_colors_filled = (uint32_t)star_colors.size();
    star_colors_from_systems = 0;
    star_colors_version += 1;
    std::swap(draw_prep, generation->draw_prep);
    draw_prep.lod.tree_version = tree.version;
    draw_prep.colors_version = star_colors_version;
    generation->draw_prep.ready = false;
}

GALAXY_GENERATION_T::GALAXY_GENERATION_T(int32_t extent) : tree(TreeBox(extent), GALAXY_TREE_CAPACITY)
{
}

GALAXY_GENERATION_T::~GALAXY_GENERATION_T()
{
    Release();
}

void GALAXY_GENERATION_T::Release(void)
{
    star_list = ARRAYLIST();
    delete[] stars;
    stars = nullptr;
    star_capacity = 0;
    tree = ARRAY_OCTREE_T(tree.box, tree.capacity);
    std::vector<Color>().swap(star_colors);
    draw_prep = GALAXY_DRAW_PREP_T{};
}

void GenerateGalaxyApart(GALAXY_GENERATION_T *generation, const GALAXY_SHAPE_T &shape)
{
    RandomSeed((double)shape.seed);
    generation->shape = shape;
    STAR_FIELD_T field = {&generation->stars,     &generation->star_capacity, &generation->star_list,
                          &generation->tree,      &generation->generate_ms,   &generation->index_ms};
    GenerateField(&field, shape);
    generation->disc_radius =
        FillStarColors(generation->stars, (uint32_t)generation->star_list.Count(), &generation->star_colors);
    PrepareGalaxyDraw(generation->tree, generation->star_colors, generation->disc_radius, &generation->draw_prep);
}

int32_t GALAXY::Generate(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                         int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz,
                         int32_t density)
{
    return Generate(MakeGalaxyShape(arms, curvature, inner_radius, bulge_offset0, bulge_offset1, bulge_size, size_y,
                                    size_xz, density));
}

int32_t GenerateGalaxy(GALAXY *galaxy, const GALAXY_SHAPE_T &shape)
{
    RandomSeed((double)shape.seed);
    return galaxy->Generate(shape);
}
