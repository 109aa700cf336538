// The galaxy's star-system layer without a window: the temperature colour, the sprite rules of
// DrawSystems (alternation of a pair's colours, the placeholder companion), and GenerateSystems
// (count, draw order, replacement of stars and of earlier systems without leaks).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "galaxy/galaxy.h"
#include "galaxy/star_color.h"
#include "galaxy/system_colors.h"
#include "galaxy/galaxy_systems.h"
#include "galaxy/star_system_on_demand.h"
#include "random/random.h"
#include "systems/system_generator.h"

namespace
{
struct RGB_T
{
    uint32_t r, g, b;
};

RGB_T Channels(uint32_t packed)
{
    return RGB_T{(packed >> 16) & 0xFFu, (packed >> 8) & 0xFFu, packed & 0xFFu};
}

// A system record with the given star temperatures (0 or 1 entries of second for a single star).
class SPRITE_SYSTEM_T
{
  public:
    SPRITE_SYSTEM_T(double first, double second, uint32_t count)
    {
        AllocateStars(&system, count);
        system.stars[0].temperature = first;
        if (count > 1) system.stars[1].temperature = second;
        system.galaxy_position = Vector3{4.0f, -5.0f, 6.0f};
    }
    ~SPRITE_SYSTEM_T() { FreeStars(&system); }

    SYSTEM_T system;
};

bool SameColor(Color a, uint32_t packed)
{
    const Color b = UnpackColor(packed);
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
} // namespace

// Catches a wrong coefficient, a wrong band edge or a missing clamp in the colour fit.
TEST(TemperatureColor, KnownTemperatures)
{
    struct CASE_T
    {
        double kelvin;
        RGB_T rgb;
    };
    const CASE_T cases[] = {{1000.0, {255, 68, 0}},     {3000.0, {255, 177, 110}},
                            {5800.0, {255, 243, 231}},  {6600.0, {255, 255, 255}},
                            {10000.0, {186, 188, 255}}, {30000.0, {136, 153, 255}}};
    for (const CASE_T &c : cases)
    {
        const RGB_T rgb = Channels(TemperatureColor(c.kelvin, 255));
        EXPECT_EQ(rgb.r, c.rgb.r) << c.kelvin << " K";
        EXPECT_EQ(rgb.g, c.rgb.g) << c.kelvin << " K";
        EXPECT_EQ(rgb.b, c.rgb.b) << c.kelvin << " K";
    }
}

// Catches the alpha byte computed instead of passed through, channels packed in the wrong
// order, and 0 K (or no temperature at all) producing a logarithm of 0 or NaN in a channel.
TEST(TemperatureColor, AlphaPassesThroughAndZeroKelvinIsRed)
{
    EXPECT_EQ(TemperatureColor(5800.0, 0) >> 24, 0u);
    EXPECT_EQ(TemperatureColor(5800.0, 77) >> 24, 77u);
    EXPECT_EQ(TemperatureColor(5800.0, 255) & 0x00FFFFFFu, TemperatureColor(5800.0, 77) & 0x00FFFFFFu);
    EXPECT_EQ(TemperatureColor(0.0, 200), 0xC8FF0000u);
    EXPECT_EQ(TemperatureColor(std::nan(""), 255) >> 24, 255u);
    EXPECT_EQ(TemperatureColor(-500.0, 255), 0xFFFF0000u);

    const Color c = UnpackColor(0x11223344u);
    EXPECT_EQ(c.a, 0x11);
    EXPECT_EQ(c.r, 0x22);
    EXPECT_EQ(c.g, 0x33);
    EXPECT_EQ(c.b, 0x44);
}

// Catches a pair that never shows its second colour (time counted in seconds against a period
// in thousandths), a period not rounded from the temperature ratio, and the fold-back missing.
TEST(SystemSprite, PairAlternatesItsColoursInMilliseconds)
{
    SPRITE_SYSTEM_T pair(6000.0, 4000.0, 2); // period 1500 ms
    float blink_ms = 1499.0f;
    int32_t period_ms = 1000;
    SPRITE_T sprite = SystemSprite(&pair.system, &blink_ms, &period_ms);
    EXPECT_EQ(period_ms, 1500);
    EXPECT_TRUE(SameColor(sprite.tint, TemperatureColor(6000.0, 255)));
    EXPECT_EQ(blink_ms, 1499.0f);

    blink_ms = 1600.0f;
    sprite = SystemSprite(&pair.system, &blink_ms, &period_ms);
    EXPECT_TRUE(SameColor(sprite.tint, TemperatureColor(4000.0, 255)));
    EXPECT_EQ(blink_ms, 100.0f);

    EXPECT_EQ(sprite.position.x, 4.0f);
    EXPECT_EQ(sprite.position.y, -5.0f);
    EXPECT_EQ(sprite.position.z, 6.0f);
    EXPECT_EQ(sprite.size, 1.0f);

    SPRITE_SYSTEM_T twins(5000.0, 5000.0, 2);
    const SPRITE_T same = SystemSprite(&twins.system, &blink_ms, &period_ms);
    EXPECT_EQ(period_ms, 1000);
    EXPECT_TRUE(SameColor(same.tint, TemperatureColor(5000.0, 255)));

    // 2/3 of 1000 rounds to 667.
    SPRITE_SYSTEM_T reversed(4000.0, 6000.0, 2);
    SystemSprite(&reversed.system, &blink_ms, &period_ms);
    EXPECT_EQ(period_ms, 667);

    // A ratio past 32 bits saturates instead of reaching an undefined conversion.
    SPRITE_SYSTEM_T extreme(1e15, 1.0, 2);
    SystemSprite(&extreme.system, &blink_ms, &period_ms);
    EXPECT_EQ(period_ms, INT32_MAX);
}

// Catches a single star resetting the period, or single stars skipping the fold-back.
TEST(SystemSprite, SingleStarKeepsThePeriodOfTheLastPair)
{
    SPRITE_SYSTEM_T pair(6000.0, 3000.0, 2); // period 2000 ms
    SPRITE_SYSTEM_T single(3000.0, 0.0, 1);
    float blink_ms = 0.0f;
    int32_t period_ms = 1000;
    SystemSprite(&pair.system, &blink_ms, &period_ms);
    blink_ms = 2500.0f;
    const SPRITE_T sprite = SystemSprite(&single.system, &blink_ms, &period_ms);
    EXPECT_EQ(period_ms, 2000);
    EXPECT_EQ(blink_ms, 500.0f);
    EXPECT_TRUE(SameColor(sprite.tint, TemperatureColor(3000.0, 255)));
}

// Catches a division by the placeholder companion's temperature of 0: such a pair is shown as
// its first star and leaves the period alone.
TEST(SystemSprite, PairWithoutSecondTemperatureShowsAsSingleStar)
{
    SPRITE_SYSTEM_T pair(9000.0, 0.0, 2);
    float blink_ms = 5000.0f;
    int32_t period_ms = 1200;
    const SPRITE_T sprite = SystemSprite(&pair.system, &blink_ms, &period_ms);
    EXPECT_EQ(period_ms, 1200);
    EXPECT_EQ(blink_ms, 3800.0f);
    EXPECT_TRUE(SameColor(sprite.tint, TemperatureColor(9000.0, 255)));
}

// Catches a count that depends on size_xz (points skipped as in the star field), a draw order
// other than three position draws, the star-count draw and GenerateSystem per system, a layer
// that touches the galaxy's star field beside it, and systems that accumulate or leak on
// regeneration (sanitizer). Each system's seed-0 name takes about a hundred thousand draws:
// two generations only.
TEST(GalaxySystems, GenerateSystemsFillsOneSystemPerSpiralPoint)
{
    GALAXY galaxy(256);
    galaxy.Generate(2, 10, 0, 20, 80, 32, 16, 200);
    ASSERT_EQ(galaxy.field.star_list.Count(), 5406u);
    const std::vector<uint32_t> order = galaxy.field.tree.draw_order;

    SYSTEM_LAYER_T layer(256);
    EXPECT_EQ(layer.star_texture.id, 0u); // no window here
    RandomSeed(99.0);
    const RANDOM_STATE_T start = RandomGetState();
    // bulge_size 0 gives the uniform spread 0.2 * size_y = 2 world units.
    EXPECT_EQ(layer.GenerateSystems(2, 10, 0, 20, 80, 0, 10, 0), 1);
    ASSERT_EQ(layer.system_list.Count(), 5406u);
    EXPECT_EQ(galaxy.field.star_list.Count(), 5406u);
    EXPECT_EQ(galaxy.field.tree.draw_order, order);

    // Replay the first systems: three position words, the star-count word, then GenerateSystem.
    RandomSetState(start);
    for (uint64_t k = 0; k < 12; k++)
    {
        const SYSTEM_T *made = (const SYSTEM_T *)layer.system_list.Get(k);
        const double r1 = RandomUnit();
        const double r2 = RandomUnit();
        const double r3 = RandomUnit();
        const uint32_t count = (uint32_t)std::floor(RandomUnit() * 1.4) + 1u;
        SYSTEM_T replay;
        GenerateSystem(&replay, count, made->galaxy_position);
        ASSERT_EQ(made->star_count, count) << "system " << k;
        EXPECT_STREQ(made->name, replay.name);
        for (uint32_t s = 0; s < count; s++)
            EXPECT_STREQ(made->stars[s].designation, replay.stars[s].designation);
        if (k < 6) // step 0: every point of the centre is offset from the origin alone
        {
            EXPECT_FLOAT_EQ(made->galaxy_position.x, (float)((r3 - 0.5) * 2.0));
            EXPECT_FLOAT_EQ(made->galaxy_position.y, (float)((r2 - 0.5) * 2.0));
            EXPECT_FLOAT_EQ(made->galaxy_position.z, (float)((r1 - 0.5) * 2.0));
        }
        FreeStars(&replay);
    }

    // Regeneration replaces the systems (the old ones are released, not kept or leaked).
    layer.GenerateSystems(2, 10, 0, 20, 80, 32, 16, 255);
    EXPECT_EQ(layer.system_list.Count(), 5406u);
    uint64_t pairs = 0;
    for (uint64_t k = 0; k < layer.system_list.Count(); k++)
    {
        const SYSTEM_T *system = (const SYSTEM_T *)layer.system_list.Get(k);
        ASSERT_TRUE(system->star_count == 1 || system->star_count == 2);
        if (system->star_count == 2) pairs++;
        EXPECT_EQ(system->name[0], 'A');
    }
    // Two stars with chance 1 - 1/1.4, about 29 %.
    EXPECT_NEAR((double)pairs / 5406.0, 0.4 / 1.4, 0.03);
}

// Catches EmptySystems leaving systems behind or failing on an empty list.
TEST(GalaxySystems, EmptySystemsReleasesEverySystem)
{
    SYSTEM_LAYER_T layer(256);
    layer.EmptySystems();
    for (int i = 0; i < 3; i++)
    {
        SYSTEM_T *system = new SYSTEM_T();
        system->name_seed = 1000u + (uint32_t)i;
        GenerateSystem(system, 2, Vector3{});
        layer.system_list.Push(system);
    }
    layer.EmptySystems();
    EXPECT_EQ(layer.system_list.Count(), 0u);
    // What is left at destruction is released too (a leak in the sanitizer run otherwise).
    SYSTEM_T *kept = new SYSTEM_T();
    kept->name_seed = 99u;
    GenerateSystem(kept, 1, Vector3{});
    layer.system_list.Push(kept);
}

// Catches a system made on demand that moves the galaxy's random stream (every later
// generation would change), or that differs between two makings of the same star.
TEST(StarSystemOnDemand, LeavesTheStreamWhereItWasAndRepeatsItself)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 99;
    RandomSeed(1234.0);
    RandomUnit();
    const RANDOM_STATE_T before = RandomGetState();
    STAR_SYSTEM_T first, second, other;
    GenerateStarSystem(shape, 17, Vector3{1.0f, 2.0f, 3.0f}, &first);
    const RANDOM_STATE_T after = RandomGetState();
    EXPECT_EQ(before.pos, after.pos);
    EXPECT_EQ(std::memcmp(before.mt, after.mt, sizeof before.mt), 0);

    GenerateStarSystem(shape, 17, Vector3{1.0f, 2.0f, 3.0f}, &second);
    GenerateStarSystem(shape, 18, Vector3{1.0f, 2.0f, 3.0f}, &other);
    EXPECT_STREQ(first.system.name, second.system.name);
    ASSERT_EQ(first.system.star_count, second.system.star_count);
    EXPECT_EQ(first.system.stars[0].mass, second.system.stars[0].mass);
    EXPECT_EQ(first.system.stars[0].planet_count, second.system.stars[0].planet_count);
    EXPECT_NE(StarSystemKey(shape, 17), StarSystemKey(shape, 18));
    // Density 1 keeps the key (and so the name) the star had before galaxies had a density:
    // the number was taken from that build. Any other density moves it.
    EXPECT_EQ(StarSystemKey(shape, 17), 15857046196955482189ull);
    GALAXY_SHAPE_T denser = shape;
    denser.density = 2;
    EXPECT_NE(StarSystemKey(denser, 17), StarSystemKey(shape, 17));
    shape.curvature += 1;
    EXPECT_NE(StarSystemKey(shape, 17), StarSystemKey(MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252), 17));
}

// Catches a star colour that is not its card's: the short roll must read the primary from
// exactly the draws the whole system takes it from (the rare bright rows roll once more).
TEST(StarSystemOnDemand, PrimaryTemperaturesAreThoseOfTheWholeSystems)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(9, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 5;
    std::vector<float> kelvin(600);
    StarSystemPrimaryTemperatures(shape, 1000, (uint32_t)kelvin.size(), kelvin.data());
    std::set<float> kinds;
    for (uint32_t k = 0; k < kelvin.size(); k++)
    {
        STAR_SYSTEM_T whole;
        GenerateStarSystem(shape, 1000 + k, Vector3{}, &whole);
        ASSERT_EQ(kelvin[k], (float)whole.system.stars[0].temperature) << "star " << 1000 + k;
        kinds.insert(kelvin[k]);
    }
    EXPECT_GT(kinds.size(), 20u);
}

// Catches a field colour that is not the star's own system's, a budget that lets one frame
// colour everything (or nothing), and a regeneration that keeps the old galaxy's colours.
TEST(StarSystemOnDemand, TheFieldTakesItsStarsColoursAFewChunksAFrame)
{
    GALAXY galaxy(256);
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 3;
    GenerateGalaxy(&galaxy, shape);
    const uint32_t version = galaxy.field.colors_version;
    EXPECT_FALSE(ColorStarsFromSystems(&galaxy.field, 0.0));
    EXPECT_GT(galaxy.field.colors_from_systems, 0u);
    EXPECT_LT(galaxy.field.colors_from_systems, galaxy.field.star_list.Count());
    EXPECT_NE(galaxy.field.colors_version, version);
    while (!ColorStarsFromSystems(&galaxy.field, 1.0)) {}
    for (uint32_t star = 0; star < galaxy.field.star_list.Count(); star += 997)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(galaxy.field.shape, star, galaxy.field.stars[star].position, &system);
        const Color own = UnpackColor(TemperatureColor(system.system.stars[0].temperature, 255));
        const Color field = galaxy.field.colors[star];
        EXPECT_TRUE(own.r == field.r && own.g == field.g && own.b == field.b) << "star " << star;
    }
    GenerateGalaxy(&galaxy, shape);
    EXPECT_EQ(galaxy.field.colors_from_systems, 0u);
}
