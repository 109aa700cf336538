// One star's system, seeded from the galaxy's shape and the star's index.
#include "galaxy/star_system_on_demand.h"

#include <algorithm>
#include <cmath>

#include "random/random.h"
#include "systems/atmospheres.h"
#include "systems/planets.h"
#include "systems/stars.h"
#include "systems/system_generator.h"
#include "systems/system_name.h"

namespace
{
// Escape velocity is kept relative to the earth's, 11.2 km/s.
constexpr double EARTH_ESCAPE_VELOCITY = 11.2; // km/s

// The running hash folded with the next value.
uint64_t Mix(uint64_t h, uint64_t value)
{
    return MixBits64(h ^ (value + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2)));
}

// The gases a planet keeps, with shares rolled from the system's stream: one weight a gas,
// sorted so the list's first gas (the commonest of its band) gets the largest share.
std::vector<GAS_SHARE_T> RollAtmosphere(const PLANET_T &planet)
{
    std::vector<GAS_SHARE_T> gases;
    if (planet.kind < 2) return gases; // belts hold no air
    const std::string kept = RetainedGases(AtmosphereGases(planet.temperature), planet.temperature,
                                           planet.escape_velocity * EARTH_ESCAPE_VELOCITY);
    size_t start = 0;
    for (size_t comma = kept.find(','); comma != std::string::npos; comma = kept.find(',', start))
    {
        if (comma > start) gases.push_back(GAS_SHARE_T{kept.substr(start, comma - start), 0.0});
        start = comma + 1;
    }
    std::vector<double> weights;
    double total = 0.0;
    for (size_t i = 0; i < gases.size(); i++)
    {
        weights.push_back(RandomUnit() + 0.05);
        total += weights.back();
    }
    std::sort(weights.begin(), weights.end(), [](double a, double b) { return a > b; });
    for (size_t i = 0; i < gases.size(); i++) gases[i].share = weights[i] / total;
    return gases;
}
} // namespace

STAR_SYSTEM_T::~STAR_SYSTEM_T()
{
    FreeStars(&system);
}

uint64_t StarSystemKey(const GALAXY_SHAPE_T &shape, uint64_t star_index)
{
    uint64_t h = 0x5EED5EED5EED5EEDull;
    for (int64_t value : {(int64_t)shape.seed, (int64_t)shape.size_xz, (int64_t)shape.size_y,
                          (int64_t)shape.inner_radius, (int64_t)shape.bulge_size, (int64_t)shape.bulge_offset0,
                          (int64_t)shape.bulge_offset1, (int64_t)shape.arms, (int64_t)shape.curvature})
        h = Mix(h, (uint64_t)value);
    // Folded in only when it changes the stars: every system of a density-1 galaxy keeps the
    // key, and so the name, it had before galaxies had a density.
    if (shape.density != 1) h = Mix(h, (uint64_t)(int64_t)shape.density);
    // Likewise the second model's fields, which a classic galaxy leaves at 0.
    if (shape.model != 0)
        for (int64_t value : {(int64_t)shape.model, (int64_t)shape.pitch, (int64_t)shape.bulge_share,
                              (int64_t)shape.bar_length, (int64_t)shape.arm_width, (int64_t)shape.arm_contrast})
            h = Mix(h, (uint64_t)value);
    return Mix(h, star_index);
}

// One star or two, with the layer's chances (a pair 2 times in 7).
static uint32_t RollStarCount(void)
{
    return (uint32_t)std::floor(RandomUnit() * 1.4) + 1u;
}

// Both seed a system's stream the same way: it is what ties a star's colour to its card.
static double StarSystemSeed(const GALAXY_SHAPE_T &shape, uint64_t star_index)
{
    return (double)(uint32_t)(StarSystemKey(shape, star_index) >> 32);
}

void StarSystemPrimaryTemperatures(const GALAXY_SHAPE_T &shape, uint64_t first, uint32_t count, float *kelvin)
{
    const RANDOM_STATE_T saved = RandomGetState();
    for (uint32_t k = 0; k < count; k++)
    {
        // A primary takes at most eight words: the quick seeding makes only those.
        RandomSeedQuick(StarSystemSeed(shape, first + k));
        STAR_T primary;
        RollPrimaryClassOnly(&primary, RollStarCount());
        kelvin[k] = (float)primary.temperature;
    }
    RandomSetState(saved);
}

std::string StarSystemName(const GALAXY_SHAPE_T &shape, uint64_t star_index)
{
    const RANDOM_STATE_T saved = RandomGetState();
    RandomSeed(StarSystemSeed(shape, star_index));
    SYSTEM_T system;
    const uint32_t star_count = RollStarCount();
    system.name_seed = ChooseSystemNameSeed(StarSystemKey(shape, star_index));
    GenerateSystem(&system, star_count, Vector3{0.0f, 0.0f, 0.0f});
    std::string name = system.name;
    FreeStars(&system);
    RandomSetState(saved);
    return name;
}

void GenerateStarSystem(const GALAXY_SHAPE_T &shape, uint64_t star_index, Vector3 position, STAR_SYSTEM_T *out)
{
    const RANDOM_STATE_T saved = RandomGetState();
    const uint64_t key = StarSystemKey(shape, star_index);
    RandomSeed(StarSystemSeed(shape, star_index));

    out->star_index = star_index;
    out->position = position;
    const uint32_t star_count = RollStarCount();
    out->system.name_seed = ChooseSystemNameSeed(key);
    GenerateSystem(&out->system, star_count, position);
    GenerateSystemPlanets(&out->system);

    out->atmospheres.assign(out->system.star_count, {});
    for (uint32_t s = 0; s < out->system.star_count; s++)
    {
        const STAR_T &star = out->system.stars[s];
        for (uint32_t p = 0; p < star.planet_count; p++) out->atmospheres[s].push_back(RollAtmosphere(star.planets[p]));
    }
    RandomSetState(saved);
}
