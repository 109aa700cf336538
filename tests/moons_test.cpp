// Moons: every die of GenerateMoon forced through the scripted stream (orbit, density, kind
// and size bands, rings, the kind-0 moon) and PruneMoons' removal from the front of the array.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "random/random.h"
#include "systems/moons.h"
#include "tests/support/scripted_random.h"

namespace
{
// Marks the end of a scripted sequence: reading it right after the call proves the call drew
// exactly the scripted dice, no more and no fewer.
constexpr uint32_t SENTINEL = SCRIPT_SENTINEL;

struct MOON_DICE
{
    int band = 10;     // orbit band X
    int orbit = 50;    // orbit value die (d100 for band 10, else d10)
    int density = 1;   // d10
    int roll = 50;     // Y, d100
    int size = 5;      // diameter die, d10
    int variation = 3; // integer 0 to 10
};

void ScriptMoon(const MOON_DICE &d)
{
    ScriptRandomWords({WordForInt(d.band, 1, 10), WordForInt(d.orbit, 1, d.band == 10 ? 100 : 10),
                       WordForInt(d.density, 1, 10), WordForInt(d.roll, 1, 100), WordForInt(d.size, 1, 10),
                       WordForInt(d.variation, 0, 10), SENTINEL});
}

struct PLANET_VALUES
{
    double frost_line = 5.0; // AU
    int32_t modifier = 0;
    double density = 1.0;      // earth = 1
    double orbit = 1.0;        // AU: inside the frost line
    double diameter = 12000.0; // kilometres
};

MOON_T MakeMoon(const MOON_DICE &dice, const PLANET_VALUES &planet = PLANET_VALUES())
{
    ScriptMoon(dice);
    MOON_T moon;
    GenerateMoon(&moon, planet.frost_line, 0.75, 1.4, planet.modifier, 4.6, 1.0, 1.0, planet.density,
                 planet.orbit, planet.diameter, 0);
    EXPECT_EQ(RandomNext32(), SENTINEL) << "GenerateMoon drew a different number of dice";
    return moon;
}
} // namespace

// Catches kind bands split at the wrong roll and diameter formulas swapped between kinds.
TEST(GenerateMoon, KindAndDiameterBands)
{
    struct CASE
    {
        int roll;
        int size;
        uint32_t kind;
        double diameter; // kilometres
    };
    const CASE cases[] = {
        {1, 7, 1, 70.0},    {64, 10, 1, 100.0},  {65, 3, 2, 300.0},  {84, 1, 2, 100.0},
        {85, 2, 3, 1200.0}, {94, 10, 3, 2000.0}, {95, 5, 4, 3000.0}, {99, 10, 4, 4000.0},
    };
    for (const CASE &c : cases)
    {
        MOON_DICE dice;
        dice.roll = c.roll;
        dice.size = c.size;
        const MOON_T moon = MakeMoon(dice); // orbit 195 planet diameters: far outside any Roche limit
        EXPECT_EQ(moon.kind, c.kind) << "Y = " << c.roll;
        EXPECT_EQ(moon.diameter, c.diameter) << "Y = " << c.roll;
    }

    // Kind 5 needs Y of 100 or more, which only a positive modifier reaches.
    MOON_DICE dice;
    dice.roll = 98;
    dice.size = 1;
    PLANET_VALUES young;
    young.modifier = 2;
    const MOON_T moon = MakeMoon(dice, young);
    EXPECT_EQ(moon.kind, 5u);
    EXPECT_EQ(moon.diameter, 4400.0);
}

// Catches the modifier applied once instead of twice when negative (or twice when positive).
TEST(GenerateMoon, NegativeModifierCountsTwicePositiveOnce)
{
    struct CASE
    {
        int32_t modifier;
        int roll;
        uint32_t kind;
    };
    const CASE cases[] = {
        {-3, 70, 1}, {-3, 71, 2}, // -3 lowers Y by 6: 64 and 65
        {-1, 66, 1}, {-1, 67, 2}, // -1 lowers it by 2
        {2, 62, 1},  {2, 63, 2},  // +2 raises it by 2
        {1, 64, 2},               // +1 by 1
        {-3, 2, 1},               // 2 - 6 = -4, still kind 1
    };
    for (const CASE &c : cases)
    {
        MOON_DICE dice;
        dice.roll = c.roll;
        PLANET_VALUES planet;
        planet.modifier = c.modifier;
        EXPECT_EQ(MakeMoon(dice, planet).kind, c.kind) << "Y " << c.roll << ", modifier " << c.modifier;
    }
}

// Catches NaN or infinity from 0 / 0 in gravity and from the division by a mass of 0 in the
// period, and a diameter die skipped for a kind-0 moon (it would shift every later draw).
TEST(GenerateMoon, KindZeroMoonHasNoSizeMassGravityOrPeriod)
{
    MOON_DICE dice;
    dice.roll = 1; // 1 - 6 = -5: below -4
    PLANET_VALUES old_star;
    old_star.modifier = -3;
    const MOON_T moon = MakeMoon(dice, old_star);
    EXPECT_EQ(moon.kind, 0u);
    EXPECT_EQ(moon.diameter, 0.0);
    EXPECT_EQ(moon.mass, 0.0);
    EXPECT_EQ(moon.gravity, 0.0);
    EXPECT_EQ(moon.orbit_period, 0.0);
    EXPECT_GT(moon.density, 0.0);
}

// Catches rings made of terrestrial moons, or small moons inside the limit left whole.
TEST(GenerateMoon, OnlySmallBodiesInsideTheRocheLimitBecomeRings)
{
    PLANET_VALUES dense;
    dense.density = 5.5;
    // Rocky moon of density 0.4: Roche limit (5.5 / 0.4)^0.33 * 2.456, about 5.8 diameters.
    const double roche = std::pow(5.5 / 0.4, 0.33) * 2.456;
    const int rolls[] = {10, 70, 90, 97};
    const uint32_t kinds_outside[] = {1, 2, 3, 4};
    const uint32_t kinds_inside[] = {6, 6, 6, 4};
    for (int i = 0; i < 4; i++)
    {
        MOON_DICE inside;
        inside.band = 1;
        inside.orbit = 1; // 1.5 diameters
        inside.roll = rolls[i];
        const MOON_T ring = MakeMoon(inside, dense);
        EXPECT_NEAR(ring.roche_limit, roche, 1e-12);
        EXPECT_EQ(ring.kind, kinds_inside[i]) << "Y " << rolls[i];
        EXPECT_GT(ring.diameter, 0.0); // a ring keeps the size it was drawn with

        MOON_DICE outside = inside;
        outside.band = 5;
        outside.orbit = 1; // 7 diameters
        EXPECT_EQ(MakeMoon(outside, dense).kind, kinds_outside[i]) << "Y " << rolls[i];
    }

    // Kind 5 inside the limit stays kind 5.
    MOON_DICE big;
    big.band = 1;
    big.orbit = 1;
    big.roll = 99;
    dense.modifier = 1;
    EXPECT_EQ(MakeMoon(big, dense).kind, 5u);
}

// Catches the orbit bands split at the wrong die or their formulas mixed up.
TEST(GenerateMoon, OrbitBands)
{
    struct CASE
    {
        int band;
        int value;
        double orbit; // planet diameters
    };
    const CASE cases[] = {{1, 1, 1.5},  {4, 10, 6.0},  {5, 1, 7.0},   {7, 10, 16.0},
                          {8, 1, 19.0}, {9, 10, 46.0}, {10, 1, 48.0}, {10, 100, 345.0}};
    for (const CASE &c : cases)
    {
        MOON_DICE dice;
        dice.band = c.band;
        dice.orbit = c.value;
        EXPECT_DOUBLE_EQ(MakeMoon(dice).orbit_radius, c.orbit) << "X " << c.band;
    }
}

// Catches the icy/rocky choice taken on the wrong side of the frost line: a planet exactly at
// the frost line has icy moons.
TEST(GenerateMoon, DensityByFrostLine)
{
    MOON_DICE dice;
    dice.density = 10;
    PLANET_VALUES planet;
    planet.orbit = 5.0;
    planet.frost_line = 5.0;
    EXPECT_DOUBLE_EQ(MakeMoon(dice, planet).density, 0.6);
    planet.frost_line = 5.01;
    EXPECT_DOUBLE_EQ(MakeMoon(dice, planet).density, 1.3);
}

// Catches a mass multiplied by the density (as a planet's is), a period from the planet's
// mass, and results that depend on arguments the moon ignores.
TEST(GenerateMoon, MassGravityAndPeriodComeFromTheMoonItself)
{
    MOON_DICE dice;
    dice.roll = 97;   // kind 4
    dice.size = 5;    // 3000 km
    dice.density = 1; // rocky: 0.4
    const MOON_T moon = MakeMoon(dice);
    const double relative = 3000.0 / 6380.0;
    EXPECT_NEAR(moon.mass, relative * relative * relative / 0.4, 1e-12);
    EXPECT_NEAR(moon.gravity, relative / 0.4, 1e-12);
    // Period squared times mass is fixed by the orbit: 195 diameters of 12000 km.
    const double x = 12000.0 * 195.0 / 400000.0;
    EXPECT_NEAR(moon.orbit_period * moon.orbit_period * moon.mass, x * x * x * 793.64, 1e-6);

    ScriptMoon(dice);
    MOON_T other;
    GenerateMoon(&other, 5.0, 0.1, 9.0, 0, 0.0, 123.0, 9999.0, 1.0, 1.0, 12000.0, 1);
    EXPECT_EQ(other.kind, moon.kind);
    EXPECT_EQ(other.orbit_radius, moon.orbit_radius);
    EXPECT_EQ(other.mass, moon.mass);
    EXPECT_EQ(other.gravity, moon.gravity);
    EXPECT_EQ(other.orbit_period, moon.orbit_period);
    EXPECT_EQ(other.roche_limit, moon.roche_limit);
    EXPECT_EQ(other.variation, moon.variation);
}

// Catches a variation off the 0 to 10 range or without its 0.33.
TEST(GenerateMoon, VariationIsAnIntegerPlusAThird)
{
    MOON_DICE dice;
    dice.variation = 0;
    EXPECT_DOUBLE_EQ(MakeMoon(dice).variation, 0.33);
    dice.variation = 10;
    EXPECT_DOUBLE_EQ(MakeMoon(dice).variation, 10.33);
}

// Catches a position that is overwritten rather than moved, moved off the orbital plane, or
// moved by a distance other than the moon's reach.
TEST(GenerateMoon, PositionMovesInThePlaneByItsReach)
{
    ScriptMoon(MOON_DICE());
    MOON_T moon;
    moon.position = Vector3{100.0f, 5.0f, -50.0f};
    GenerateMoon(&moon, 5.0, 0.75, 1.4, 0, 4.6, 1.0, 1.0, 1.0, 2.0, 12000.0, 0);
    const double reach = moon.orbit_radius + 2.0;
    EXPECT_EQ(moon.position.y, 5.0f);
    const double dx = moon.position.x - 100.0;
    const double dz = moon.position.z + 50.0;
    // The two clock readings are microseconds apart, so (sin t2, cos t1) is a unit vector to
    // well within this tolerance.
    EXPECT_NEAR(std::sqrt(dx * dx + dz * dz), reach, reach * 1e-3);
}

namespace
{
// A planet whose moons lie at the given orbits (planet diameters), each tagged in variation.
void GiveMoons(PLANET_T *planet, const std::vector<double> &orbits)
{
    AllocateMoons(planet, (uint32_t)orbits.size());
    for (size_t i = 0; i < orbits.size(); i++)
    {
        planet->moons[i].orbit_radius = orbits[i];
        planet->moons[i].variation = (double)i;
    }
}
} // namespace

// Catches pruning that skips ahead past a kept moon, compares with the diameter in kilometres,
// keeps a moon at exactly one diameter, or loses the order of the survivors.
TEST(PruneMoons, RemovesLeadingMoonsWithinOnePlanetDiameter)
{
    PLANET_T planet;
    planet.diameter = 12000.0;
    GiveMoons(&planet, {0.5, 1.0, 1.5, 0.7, 3.0});
    PruneMoons(&planet);
    ASSERT_EQ(planet.moon_count, 3u);
    ASSERT_NE(planet.moons, nullptr);
    EXPECT_EQ(RecordBlockCount(planet.moons), 3u);
    EXPECT_EQ(planet.moons[0].orbit_radius, 1.5);
    EXPECT_EQ(planet.moons[1].orbit_radius, 0.7); // only the front is pruned
    EXPECT_EQ(planet.moons[2].variation, 4.0);

    MOON_T *kept = planet.moons;
    PruneMoons(&planet); // nothing more to remove: the array is left alone
    EXPECT_EQ(planet.moons, kept);
    EXPECT_EQ(planet.moon_count, 3u);
    FreeMoons(&planet);
}

// Catches an empty array kept (or freed twice) when every moon goes, and a crash on a planet
// without moons.
TEST(PruneMoons, RemovingEveryMoonReleasesTheArray)
{
    PLANET_T planet;
    GiveMoons(&planet, {0.2, 1.0});
    PruneMoons(&planet);
    EXPECT_EQ(planet.moon_count, 0u);
    EXPECT_EQ(planet.moons, nullptr);

    PruneMoons(&planet);
    EXPECT_EQ(planet.moon_count, 0u);
    EXPECT_EQ(planet.moons, nullptr);
}
