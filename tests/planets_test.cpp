// Planets: GeneratePlanet with every die forced through the scripted stream (kind bands, the
// diameter table, belts, tidal locking, the step-12 mass, moon counts, undefined quotients),
// the pruning and pair moves of a star's planets, the habitable search and the planet-giving
// caller on generated systems.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "random/random.h"
#include "systems/habitable_search.h"
#include "systems/planet_orbits.h"
#include "systems/planets.h"
#include "systems/system_generator.h"
#include "tests/support/scripted_random.h"

namespace
{
constexpr uint32_t SENTINEL = SCRIPT_SENTINEL;
using DICE = SCRIPTED_DICE_T;

// A sun-like star: frost line 5 AU, habitable zone 0.75 to 1.4 AU, age 5, luminosity 1,
// mass 1.
struct STAR_VALUES
{
    double frost_line = 5.0;
    double inner = 0.75;
    double outer = 1.4;
    int32_t modifier = 0;
    double age = 5.0;
    double luminosity = 1.0;
    double mass = 1.0;
};

void Generate(PLANET_T *planet, double orbit, const STAR_VALUES &star = STAR_VALUES())
{
    planet->orbit_radius = orbit;
    planet->orbit_period = std::sqrt(orbit * orbit * orbit / star.mass);
    GeneratePlanet(planet, star.frost_line, star.inner, star.outer, star.modifier, star.age, star.luminosity,
                   star.mass);
}

// The draws of a planet at 1 AU (inside the frost line) or 10 AU (beyond it) around the sun-
// like star, neither locked, all dice 1 except the moon-count die m and the count die. Kept
// step by step so that a die drawn out of place shows up as a wrong draw count.
DICE PlanetDice(uint32_t kind, bool beyond, int m, int count_die)
{
    const int p_inside[6] = {0, 1, 40, 75, 90, 97};
    const int p_beyond[6] = {0, 1, 20, 30, 50, 95};
    DICE dice;
    // 1. P, Q; 2. size (kind 5: band, value)
    dice.Die(beyond ? p_beyond[kind] : p_inside[kind], 100).Die(1, 10);
    if (kind >= 2 && kind <= 4) dice.Die(1, 10);
    if (kind == 5) dice.Die(1, 10).Die(1, 10);
    // 3. density, one die per line that applies
    const int density_lines[6] = {0, 1, 2, 3, 4, 4};
    for (int i = 0; i < density_lines[kind]; i++)
        dice.Die(1, 10);
    // 5. lock; 6. eccentricity band, value; 7. tilt band, value; 8. rotation band, value
    dice.Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10);
    if (kind == 2 || kind == 3) dice.Die(1, 10);
    if (kind >= 4) dice.Die(1, 5);
    // 10. activity, Z, W, V (rocky kinds); 11. W, V; 12. s, u, w; 15. m
    if (kind == 2 || kind == 3) dice.Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10);
    dice.Die(1, 10).Die(1, 10);
    dice.Die(1, 10).Die(1, 10).Die(1, 10);
    dice.Die(m, 10);
    if (count_die > 0)
    {
        const int total = m + (beyond ? 5 : 0);
        int sides = 10;
        if (kind == 2 && total <= 9) sides = 2;
        if (kind == 2 && total >= 10 && total <= 13) sides = 5;
        if (kind >= 4 && total <= 5) sides = 5;
        dice.Die(count_die, sides);
    }
    return dice;
}

bool AllFinite(const PLANET_T &p)
{
    const double values[] = {p.orbit_radius,    p.orbit_period,    p.diameter,    p.mass,
                             p.eccentricity,    p.rotation_period, p.axial_tilt,  p.gravity,
                             p.escape_velocity, p.density,         p.tidal_force, p.activity,
                             p.field_index,     p.field_strength,  p.temperature, p.solar_day};
    for (double v : values)
    {
        if (!std::isfinite(v)) return false;
    }
    for (uint32_t i = 0; i < p.moon_count; i++)
    {
        const MOON_T &m = p.moons[i];
        const double moon_values[] = {m.orbit_radius, m.orbit_period, m.diameter,    m.mass,
                                      m.density,      m.gravity,      m.roche_limit, m.variation};
        for (double v : moon_values)
        {
            if (!std::isfinite(v)) return false;
        }
    }
    return true;
}
} // namespace

// Catches kind bands split at the wrong P, the frost line compared the wrong way, and P = 100
// not drawing its kind from 2 to 4.
TEST(GeneratePlanet, KindBandsInsideAndBeyondTheFrostLine)
{
    struct CASE
    {
        double orbit; // AU; the frost line is at 5
        int p;
        uint32_t kind;
    };
    const CASE cases[] = {
        {1.0, 21, 1},  {1.0, 22, 2},  {1.0, 72, 2},  {1.0, 73, 3},  {1.0, 82, 3},
        {1.0, 83, 4},  {1.0, 94, 4},  {1.0, 95, 5},  {1.0, 99, 5},  {10.0, 17, 1},
        {10.0, 18, 2}, {10.0, 27, 2}, {10.0, 28, 3}, {10.0, 40, 3}, {10.0, 41, 4},
        {10.0, 89, 4}, {10.0, 90, 5}, {10.0, 99, 5}, {5.0, 18, 1}, // exactly at the frost line is not beyond
                                                                   // it
    };
    for (const CASE &c : cases)
    {
        DICE().Die(c.p, 100).Die(5, 10).Script(false);
        PLANET_T planet;
        Generate(&planet, c.orbit);
        EXPECT_EQ(planet.kind, c.kind) << "P " << c.p << " at " << c.orbit << " AU";
        FreeMoons(&planet);
    }
    for (int further = 2; further <= 4; further++)
    {
        DICE().Die(100, 100).Die(5, 10).Int(further, 2, 4).Script(false);
        PLANET_T planet;
        Generate(&planet, 1.0);
        EXPECT_EQ(planet.kind, (uint32_t)further);
        FreeMoons(&planet);
    }
}

// Catches wrong bases or steps in the diameter table, the die Q misapplied, and a kind-5
// diameter that ignores the star's age or takes the band die as its value.
TEST(GeneratePlanet, DiameterTable)
{
    struct CASE
    {
        int p;
        int q;
        int die;
        double diameter; // kilometres
    };
    const CASE cases[] = {
        {40, 1, 1, 2100.0},   {40, 8, 10, 8000.0}, {40, 9, 10, 10000.0},
        {40, 10, 1, 10500.0}, {75, 1, 9, 200.0},   {75, 10, 1, 2000.0},
        {90, 5, 10, 30000.0}, {90, 6, 1, 31000.0}, {90, 10, 10, 80000.0},
    };
    for (const CASE &c : cases)
    {
        DICE().Die(c.p, 100).Die(c.q, 10).Die(c.die, 10).Script(false);
        PLANET_T planet;
        Generate(&planet, 1.0);
        EXPECT_EQ(planet.diameter, c.diameter) << "P " << c.p << ", Q " << c.q << ", die " << c.die;
        FreeMoons(&planet);
    }
    STAR_VALUES star;
    star.age = 4.0;
    for (int band : {1, 10})
    {
        DICE().Die(97, 100).Die(3, 10).Die(band, 10).Die(7, 10).Script(false);
        PLANET_T jovian;
        Generate(&jovian, 1.0, star);
        EXPECT_EQ(jovian.kind, 5u);
        EXPECT_EQ(jovian.diameter, (7.0 - 2.0) * 2000.0 + 60000.0) << "band " << band;
        FreeMoons(&jovian);
    }
}

// Catches a belt given a size, NaN from its 0 / 0 gravity, and the rotation band die or the
// moon-count die skipped for belts (which would shift every later draw of the system).
TEST(GeneratePlanet, BeltHasNoDiameterNoMassAndDrawsEveryBandDie)
{
    DICE dice;
    dice.Die(1, 100).Die(5, 10);            // kind 1
    dice.Die(5, 10);                         // density, one line
    dice.Die(1, 10);                         // lock: no
    dice.Die(1, 10).Die(4, 10);             // eccentricity 4 * 0.005
    dice.Die(3, 10).Die(2, 10);             // tilt 2 + 10
    dice.Die(4, 10);                         // rotation band, no value for a belt
    dice.Die(1, 10).Die(1, 10);             // W, V
    dice.Die(5, 10).Die(7, 10).Die(3, 10); // s, u, w
    dice.Die(10, 10);                        // moon-count die
    dice.Script();

    PLANET_T belt;
    Generate(&belt, 1.0);
    EXPECT_EQ(RandomNext32(), SENTINEL);
    EXPECT_EQ(belt.kind, 1u);
    EXPECT_EQ(belt.diameter, 0.0);
    // Mass 0 before step 12 shows in the values computed from it.
    EXPECT_EQ(belt.gravity, 0.0);
    EXPECT_EQ(belt.escape_velocity, 0.0);
    EXPECT_EQ(belt.rotation_period, 0.0);
    EXPECT_EQ(belt.solar_day, 0.0);
    EXPECT_DOUBLE_EQ(belt.axial_tilt, 12.0);
    EXPECT_DOUBLE_EQ(belt.eccentricity, 0.02);
    EXPECT_NEAR(belt.density, 0.127 / std::pow(1.4, 0.67) * 5.0 + 0.3, 1e-12);
    EXPECT_DOUBLE_EQ(belt.mass, 3.0 * 0.001); // step 12: u = 7 - 1
    EXPECT_EQ(belt.body_class, 2);            // s = 5 - 2 for a density of 0.8 to 1.0
    EXPECT_EQ(belt.moon_count, 0u);
    EXPECT_EQ(belt.moons, nullptr);
    EXPECT_EQ(belt.in_habitable_zone, 1);
    EXPECT_DOUBLE_EQ(belt.temperature, 255.0);
    EXPECT_TRUE(AllFinite(belt));
}

// Catches gravity, escape velocity, activity or field values computed from the final mass,
// and step 12 not replacing the mass at all.
TEST(GeneratePlanet, Step12ReplacesTheMassAfterEverythingElseUsedTheFirst)
{
    DICE dice;
    dice.Die(40, 100).Die(10, 10).Die(4, 10); // kind 2, 4 * 500 + 10000 km
    dice.Die(2, 10).Die(7, 10);                // density: two lines, the second wins
    dice.Die(1, 10);                            // lock: no
    dice.Die(10, 10).Die(2, 10);               // eccentricity 2 * 0.04 + 0.25
    dice.Die(9, 10).Die(50, 100);              // tilt 50 * 1.4 + 40
    dice.Die(6, 10).Die(20, 100);              // rotation band 6 to 8: 20 + 30
    dice.Die(5, 10).Die(2, 10);                // activity die, Z
    dice.Die(8, 10).Die(5, 10);                // field W, V
    dice.Die(3, 10).Die(3, 10);                // step 11 W, V
    dice.Die(4, 10).Die(9, 10).Die(6, 10);    // s, u, w
    dice.Die(8, 10).Die(2, 2);                 // moon count: die of 2 gives 2
    for (int moon = 0; moon < 2; moon++)
    {
        dice.Die(5, 10).Die(3, 10).Die(4, 10).Die(50, 100).Die(5, 10).Int(3, 0, 10);
    }
    dice.Script();

    PLANET_T planet;
    Generate(&planet, 1.0);
    EXPECT_EQ(RandomNext32(), SENTINEL);
    ASSERT_EQ(planet.kind, 2u);
    EXPECT_EQ(planet.diameter, 12000.0);
    const double density = 0.127 / std::pow(1.4, 0.67) * 7.0 + 0.3;
    EXPECT_NEAR(planet.density, density, 1e-12);

    const double relative = 12000.0 / 6380.0;
    const double first_mass = relative * relative * relative * density;
    EXPECT_NEAR(planet.gravity, relative * density, 1e-12);
    EXPECT_NEAR(planet.escape_velocity, std::sqrt(12000.0 * relative * density * 19600.0) / 11200.0, 1e-12);
    // Rotation: t = 5 * tidal - 2 because the first mass exceeds 4 earth masses.
    const double t = 5.0 * planet.tidal_force - 2.0;
    EXPECT_NEAR(planet.rotation_period, (0.1 * t + 1.0) * 50.0, 1e-9);
    EXPECT_NEAR(planet.activity, 10.0 * std::sqrt(first_mass) / 5.0, 1e-9);
    EXPECT_EQ(planet.activity_class, 4); // activity above 5, Z = 2
    EXPECT_NEAR(planet.field_index,
                10.0 / std::sqrt(planet.rotation_period / 24.0) * density * density * std::sqrt(first_mass) /
                    5.0,
                1e-9);
    EXPECT_DOUBLE_EQ(planet.field_strength, 5 * 0.3); // field index 2 to 4, W = 8
    EXPECT_DOUBLE_EQ(planet.eccentricity, 0.33);
    EXPECT_DOUBLE_EQ(planet.axial_tilt, 110.0);

    EXPECT_DOUBLE_EQ(planet.mass, 6 * 0.01); // u = 9 - 1
    EXPECT_EQ(planet.body_class, 2);         // s = 4 - 3 for a density of 1.0 to 1.2
    ASSERT_EQ(planet.moon_count, 2u);
    for (uint32_t i = 0; i < 2; i++)
    {
        EXPECT_EQ(planet.moons[i].kind, 1u);
        EXPECT_EQ(planet.moons[i].orbit_radius, 9.0);
        EXPECT_NEAR(planet.moons[i].roche_limit, std::pow(density / 0.7, 0.33) * 2.456, 1e-12);
    }
    FreeMoons(&planet);
}

// Catches tilt, rotation or moon dice drawn for a locked planet, and its field index taken
// from the orbital period in years as if it were hours.
TEST(GeneratePlanet, TidallyLockedPlanetHasNoTiltRotationOrMoons)
{
    DICE dice;
    dice.Die(80, 100).Die(4, 10).Die(3, 10); // kind 3, 800 km
    dice.Die(1, 10).Die(1, 10).Die(6, 10);   // density: three lines
    dice.Die(1, 10);                           // lock die
    dice.Die(1, 10).Die(1, 10);               // eccentricity
    dice.Die(5, 10).Die(3, 10);               // activity die, Z
    dice.Die(4, 10).Die(4, 10);               // field W, V
    dice.Die(1, 10).Die(1, 10);               // step 11 W, V
    dice.Die(1, 10).Die(1, 10).Die(1, 10);   // s, u, w
    dice.Script();

    PLANET_T planet;
    Generate(&planet, 0.05); // tidal force 3330
    EXPECT_EQ(RandomNext32(), SENTINEL);
    EXPECT_EQ(planet.tidally_locked, 1);
    EXPECT_EQ(planet.axial_tilt, 0.0);
    EXPECT_EQ(planet.rotation_period, 0.0);
    EXPECT_EQ(planet.solar_day, 0.0);
    EXPECT_EQ(planet.moon_count, 0u);
    EXPECT_EQ(planet.moons, nullptr);

    const double density = 0.127 / std::pow(0.45, 0.67) * 6.0 + 0.3;
    const double relative = 800.0 / 6380.0;
    const double first_mass = relative * relative * relative * density;
    EXPECT_NEAR(planet.activity, 10.0 * std::sqrt(first_mass) / 5.0 * 1.25 * 0.5, 1e-12);
    const double turn_hours = std::sqrt(0.05 * 0.05 * 0.05) * 8766.0;
    EXPECT_NEAR(planet.field_index,
                10.0 / std::sqrt(turn_hours / 24.0) * density * density * std::sqrt(first_mass) / 5.0, 1e-12);
    EXPECT_TRUE(AllFinite(planet));
}

// Catches moon-count bands split at the wrong m, the +5 beyond the frost line forgotten, a
// count die drawn where the band gives a fixed count, and moons not generated after the count.
TEST(GeneratePlanet, MoonCountBands)
{
    struct CASE
    {
        uint32_t kind;
        bool beyond;
        int m;
        int count_die; // 0: the band draws no die
        uint32_t moons;
    };
    const CASE cases[] = {
        {1, false, 10, 0, 0}, {1, true, 10, 0, 0}, {2, false, 5, 0, 0},   {2, false, 6, 0, 1},
        {2, false, 7, 0, 1},  {2, false, 8, 2, 2}, {2, false, 10, 5, 5},  {2, true, 8, 5, 5},
        {2, true, 9, 10, 10}, {3, false, 9, 0, 0}, {3, false, 10, 0, 1},  {3, true, 4, 0, 0},
        {3, true, 5, 0, 1},   {4, false, 1, 3, 3}, {4, false, 5, 5, 5},   {4, false, 6, 10, 10},
        {4, false, 8, 1, 6},  {4, true, 1, 4, 4},  {4, true, 3, 4, 9},    {4, true, 5, 4, 14},
        {4, true, 9, 4, 24},  {5, false, 7, 2, 2}, {5, true, 10, 10, 30},
    };
    for (const CASE &c : cases)
    {
        DICE dice = PlanetDice(c.kind, c.beyond, c.m, c.count_die);
        // Each moon takes six dice; no scripted moon dice means the moons draw from the stream.
        const bool check_draws = c.moons == 0;
        dice.Script(check_draws);
        PLANET_T planet;
        Generate(&planet, c.beyond ? 10.0 : 1.0);
        const std::string label = "kind " + std::to_string(c.kind) + (c.beyond ? " beyond" : " inside") +
                                  ", m " + std::to_string(c.m);
        EXPECT_EQ(planet.kind, c.kind) << label;
        EXPECT_EQ(planet.moon_count, c.moons) << label;
        if (check_draws)
        {
            EXPECT_EQ(RandomNext32(), SENTINEL) << label;
        }
        for (uint32_t i = 0; i < planet.moon_count; i++)
        {
            EXPECT_GE(planet.moons[i].kind, 1u) << label; // the sun-like star's modifier 0 gives no kind 0
            EXPECT_LE(planet.moons[i].kind, 6u) << label;
        }
        FreeMoons(&planet);
    }
}

// Catches a planet described twice writing its new moons into its old, shorter moon array
// (a heap overflow under the sanitizer) or leaking the old one.
TEST(GeneratePlanet, DescribingAPlanetAgainReplacesItsMoons)
{
    PLANET_T planet;
    PlanetDice(4, true, 1, 1).Script(false); // one moon
    Generate(&planet, 10.0);
    ASSERT_EQ(planet.moon_count, 1u);
    PlanetDice(4, true, 9, 4).Script(false); // 24 moons
    Generate(&planet, 10.0);
    ASSERT_EQ(planet.moon_count, 24u);
    EXPECT_EQ(RecordBlockCount(planet.moons), 24u);
    EXPECT_GE(planet.moons[23].kind, 1u);
    FreeMoons(&planet);
}

// Catches a draw order that differs between kinds: every kind draws its step dice in the
// stated order, and a moon's six dice follow the count.
TEST(GeneratePlanet, EveryKindDrawsItsDiceInOrder)
{
    for (uint32_t kind = 1; kind <= 5; kind++)
    {
        for (bool beyond : {false, true})
        {
            // m = 1: giants draw a die of 5 (here 1), a kind 2 beyond the frost line gets
            // one moon without a die (1 + 5), everything else none.
            const bool giant = kind >= 4;
            const uint32_t moons = (giant || (kind == 2 && beyond)) ? 1u : 0u;
            DICE dice = PlanetDice(kind, beyond, 1, giant ? 1 : 0);
            if (moons == 1) dice.Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 100).Die(1, 10).Int(0, 0, 10);
            dice.Script();
            PLANET_T planet;
            Generate(&planet, beyond ? 10.0 : 1.0);
            EXPECT_EQ(planet.kind, kind);
            EXPECT_EQ(planet.moon_count, moons);
            EXPECT_EQ(RandomNext32(), SENTINEL) << "kind " << kind << (beyond ? " beyond" : " inside");
            FreeMoons(&planet);
        }
    }
}

// Catches NaN or infinity from a star of age 0 (activity and field index divide by it), a
// star of luminosity 0, or any other corner of the formulas, over many random planets.
TEST(GeneratePlanet, NoNaNOrInfinityForAnyStarOrOrbit)
{
    RandomSeed(11.0);
    for (int i = 0; i < 400; i++)
    {
        STAR_VALUES star;
        star.age = (i % 4 == 0) ? 0.0 : RandomDouble(0.1, 12.0);
        star.luminosity = (i % 7 == 0) ? 0.0 : RandomDouble(0.0001, 1000.0);
        star.mass = RandomDouble(0.1, 20.0);
        star.modifier = RandomInt(-3, 2);
        const double orbit = std::exp(RandomDouble(std::log(0.01), std::log(200.0)));
        PLANET_T planet;
        Generate(&planet, orbit, star);
        EXPECT_TRUE(AllFinite(planet)) << "planet " << i;
        if (star.age == 0.0)
        {
            EXPECT_EQ(planet.activity, 0.0);
            EXPECT_EQ(planet.field_index, 0.0);
            EXPECT_EQ(planet.tidally_locked, 0);
        }
        FreeMoons(&planet);
    }
}

// Catches hours and years mixed in the day length (a negative day for the earth) and
// infinities where rotation is absent or keeps pace with the orbit.
TEST(SolarDay, HoursThroughoutAndZeroWhereUndefined)
{
    EXPECT_NEAR(SolarDay(23.934, 1.0), 24.0, 0.01); // the earth
    EXPECT_EQ(SolarDay(0.0, 1.0), 0.0);
    EXPECT_EQ(SolarDay(8766.0, 1.0), 0.0); // one turn per orbit: the sun never moves
    EXPECT_EQ(SolarDay(10.0, 0.0), 10.0);  // no orbital motion: the day is the rotation
}

namespace
{
// A star whose planets lie at the given orbits (AU), each with two moons and a tag in
// variation.
void GivePlanets(STAR_T *star, const std::vector<double> &orbits)
{
    AllocatePlanets(star, (uint32_t)orbits.size());
    for (size_t i = 0; i < orbits.size(); i++)
    {
        star->planets[i].orbit_radius = orbits[i];
        star->planets[i].variation = (double)i;
        AllocateMoons(&star->planets[i], 2);
    }
}
} // namespace

// Catches the star's radius compared with orbits without converting solar radii to AU,
// pruning past the first planet that stays, and moons of removed planets leaked (sanitizer)
// or survivors' moons lost.
TEST(PrunePlanets, RemovesLeadingPlanetsInsideTheStarOrTheMinimum)
{
    STAR_T star;
    star.radius = 1.0; // 0.00465 AU
    GivePlanets(&star, {0.001, 0.004, 0.008, 0.5, 0.009});
    MOON_T *survivor_moons = star.planets[3].moons;
    PrunePlanets(&star, 0.01, 0, 0.0);
    ASSERT_EQ(star.planet_count, 2u);
    EXPECT_EQ(RecordBlockCount(star.planets), 2u);
    EXPECT_EQ(star.planets[0].orbit_radius, 0.5);
    EXPECT_EQ(star.planets[0].moons, survivor_moons);
    EXPECT_EQ(star.planets[0].moon_count, 2u);
    EXPECT_EQ(star.planets[1].orbit_radius, 0.009); // behind a kept planet: stays

    // A giant of 200 solar radii reaches 0.93 AU.
    star.radius = 200.0;
    PrunePlanets(&star, 0.0, 0, 0.0);
    ASSERT_EQ(star.planet_count, 0u);
    EXPECT_EQ(star.planets, nullptr);
    PrunePlanets(&star, 0.0, 0, 0.0); // no planets: nothing happens
    EXPECT_EQ(star.planet_count, 0u);
}

// Catches the stable zones of a pair taken with the wrong bounds or applied to single stars.
TEST(PrunePlanets, PairKeepsOnlyStableOrbits)
{
    STAR_T star;
    star.radius = 1.0;
    star.eccentricity = 0.1;
    // Separation 10 AU: stable inside 1.1 * 10 / 3 = 3.67 AU or beyond 3 * 10 * 0.9 = 27 AU.
    GivePlanets(&star, {5.0, 20.0, 27.5, 2.0});
    PrunePlanets(&star, 0.01, 1, 10.0);
    ASSERT_EQ(star.planet_count, 2u);
    EXPECT_EQ(star.planets[0].orbit_radius, 27.5);

    STAR_T near;
    near.radius = 1.0;
    near.eccentricity = 0.1;
    GivePlanets(&near, {3.6, 5.0});
    PrunePlanets(&near, 0.01, 1, 10.0);
    EXPECT_EQ(near.planet_count, 2u);
    PrunePlanets(&near, 0.01, 0, 100.0); // not a pair: the separation plays no part
    EXPECT_EQ(near.planet_count, 2u);

    FreePlanets(&star);
    FreePlanets(&near);
}

// Catches a negative orbit_radius (the second star of a pair) marking every planet, planet
// masses added to solar masses unconverted, and planets left marked when not moved.
TEST(MovePairPlanets, MarksAndMovesPlanetsBeyondAThirdOfTheStarsOrbit)
{
    STAR_T star;
    star.orbit_radius = -4.0; // second star, 4 AU from the barycentre
    star.eccentricity = 0.25; // limit (1 - 0.25) * 4 / 3 = 1 AU
    GivePlanets(&star, {0.5, 1.0, 2.0});
    star.planets[0].orbits_pair = 1;
    star.planets[2].mass = 10.0; // earth masses
    MovePairPlanets(&star, 1, 12.0, 3.0);
    EXPECT_EQ(star.planets[0].orbits_pair, 0);
    EXPECT_EQ(star.planets[0].orbit_radius, 0.5);
    EXPECT_EQ(star.planets[1].orbits_pair, 0);
    EXPECT_EQ(star.planets[1].orbit_radius, 1.0);
    EXPECT_EQ(star.planets[2].orbits_pair, 1);
    EXPECT_EQ(star.planets[2].orbit_radius, 14.0);
    EXPECT_NEAR(star.planets[2].orbit_period, std::sqrt(14.0 * 14.0 * 14.0 / 3.0), 1e-3);

    MovePairPlanets(&star, 0, 12.0, 3.0); // not a pair: nothing orbits two stars
    EXPECT_EQ(star.planets[2].orbits_pair, 0);
    EXPECT_EQ(star.planets[2].orbit_radius, 14.0);
    FreePlanets(&star);
}

// Catches MovePairPlanet ignoring two_star, or a period that does not follow the new orbit.
TEST(MovePairPlanets, SinglePlanetUsesItsOwnOrbitAndKeepsItsCentralMass)
{
    PLANET_T planet;
    planet.orbit_radius = 2.0;
    planet.orbit_period = std::sqrt(8.0 / 2.0); // around 2 solar masses
    planet.eccentricity = 0.1;
    MovePairPlanet(&planet, 1, 7.0);
    EXPECT_EQ(planet.orbits_pair, 1);
    EXPECT_EQ(planet.orbit_radius, 9.0);
    EXPECT_NEAR(planet.orbit_period, std::sqrt(729.0 / 2.0), 1e-9);

    PLANET_T alone;
    alone.orbit_radius = 2.0;
    alone.orbits_pair = 1;
    MovePairPlanet(&alone, 0, 7.0);
    EXPECT_EQ(alone.orbits_pair, 0);
    EXPECT_EQ(alone.orbit_radius, 2.0);
}

namespace
{
// Two groups of systems; every planet starts outside the habitable zone.
struct GALAXY_FIXTURE
{
    std::vector<SYSTEM_T *> systems;
    ARRAYLIST lists[2];
    SYSTEM_GROUP_T members[2];
    ARRAYLIST groups;

    GALAXY_FIXTURE()
    {
        for (int g = 0; g < 2; g++)
        {
            for (int s = 0; s < 2; s++)
            {
                SYSTEM_T *system = new SYSTEM_T();
                AllocateStars(system, 2);
                for (uint32_t t = 0; t < 2; t++)
                {
                    AllocatePlanets(&system->stars[t], 3);
                    for (uint32_t p = 0; p < 3; p++)
                        system->stars[t].planets[p].kind = 2;
                }
                systems.push_back(system);
                lists[g].Push(system);
            }
            members[g].systems = &lists[g];
            groups.Push(&members[g]);
        }
    }
    ~GALAXY_FIXTURE()
    {
        for (SYSTEM_T *system : systems)
        {
            FreeStars(system);
            delete system;
        }
    }
    PLANET_T &Planet(int g, int s, int t, int p) { return systems[g * 2 + s]->stars[t].planets[p]; }
};

std::vector<int64_t> Indices(ARRAYLIST &list)
{
    std::vector<int64_t> values;
    for (uint64_t i = 0; i < list.Count(); i++)
        values.push_back(static_cast<INDEX_T *>(list.Get(i))->value);
    FreeIndexList(&list);
    return values;
}
} // namespace

// Catches indices counted from 1, a walk in the wrong order, kinds other than 2 and 3
// accepted, and a miss that returns anything but four zeros.
TEST(FindHabitablePlanet, ReturnsTheFirstQualifyingPlanetOrFourZeros)
{
    GALAXY_FIXTURE galaxy;
    testing::internal::CaptureStdout();
    ARRAYLIST none = FindHabitablePlanet(galaxy.groups);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Indices(none), (std::vector<int64_t>{0, 0, 0, 0}));

    galaxy.Planet(0, 1, 0, 0).in_habitable_zone = 1;
    galaxy.Planet(0, 1, 0, 0).kind = 4; // a giant in the zone does not count
    galaxy.Planet(1, 1, 1, 1).in_habitable_zone = 1;
    galaxy.Planet(1, 1, 1, 1).kind = 3;
    galaxy.Planet(1, 1, 1, 2).in_habitable_zone = 1;
    testing::internal::CaptureStdout();
    ARRAYLIST found = FindHabitablePlanet(galaxy.groups);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "found\n");
    EXPECT_EQ(Indices(found), (std::vector<int64_t>{1, 1, 1, 1}));

    galaxy.Planet(1, 0, 0, 2).in_habitable_zone = 1; // an earlier system wins
    testing::internal::CaptureStdout();
    ARRAYLIST earlier = FindHabitablePlanet(galaxy.groups);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "found\n");
    EXPECT_EQ(Indices(earlier), (std::vector<int64_t>{1, 0, 0, 2}));

    galaxy.Planet(0, 0, 0, 0).in_habitable_zone = 1; // the very first planet: four zeros
    testing::internal::CaptureStdout();
    ARRAYLIST first = FindHabitablePlanet(galaxy.groups);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "found\n");
    EXPECT_EQ(Indices(first), (std::vector<int64_t>{0, 0, 0, 0}));

    ARRAYLIST empty_groups;
    ARRAYLIST nothing = FindHabitablePlanet(empty_groups);
    EXPECT_EQ(Indices(nothing), (std::vector<int64_t>{0, 0, 0, 0}));
}

namespace
{
STAR_T SunLikeStar(int32_t modifier)
{
    STAR_T star;
    star.mass = 1.02;
    star.luminosity = 1.09;
    star.radius = 1.0;
    star.age = 4.6;
    star.planet_modifier = modifier;
    star.habitable_inner = 0.75 * std::sqrt(1.09);
    star.habitable_outer = 1.4 * std::sqrt(1.09);
    return star;
}
} // namespace

// Catches a count that ignores planet_modifier or goes negative, orbits that do not grow
// outward from the habitable zone, periods off Kepler's law, and a massless star given planets.
TEST(GeneratePlanets, CountOrbitsAndPeriodsOfASingleStar)
{
    STAR_T old_star = SunLikeStar(-3);
    DICE().Die(2, 10).Script();
    GeneratePlanets(&old_star, 0, 0.0, 0.0);
    EXPECT_EQ(RandomNext32(), SENTINEL); // no planets: only the count die
    EXPECT_EQ(old_star.planet_count, 0u);
    EXPECT_EQ(old_star.planets, nullptr);

    STAR_T young_star = SunLikeStar(2);
    DICE().Die(3, 10).Die(8, 10).Die(1, 10).Die(10, 10).Die(5, 10).Die(5, 10).Script(false);
    GeneratePlanets(&young_star, 0, 0.0, 0.0);
    ASSERT_EQ(young_star.planet_count, 5u);
    const double spacing[5] = {1.0, 1.5, 2.4, 1.9, 1.9};
    double orbit = young_star.habitable_inner * 1.0; // 0.2 + 0.1 * 8
    for (uint32_t i = 0; i < 5; i++)
    {
        orbit *= spacing[i];
        const PLANET_T &planet = young_star.planets[i];
        EXPECT_NEAR(planet.orbit_radius, orbit, 1e-12) << "planet " << i;
        EXPECT_NEAR(planet.orbit_period, std::sqrt(orbit * orbit * orbit / 1.02), 1e-12);
        EXPECT_GE(planet.kind, 1u);
        EXPECT_LE(planet.kind, 5u);
        EXPECT_EQ(planet.orbits_pair, 0);
        EXPECT_EQ(planet.in_habitable_zone,
                  young_star.habitable_inner <= orbit && orbit <= young_star.habitable_outer ? 1 : 0);
        EXPECT_TRUE(AllFinite(planet));
    }
    FreePlanets(&young_star);

    STAR_T nothing; // the empty companion row: no mass
    DICE().Script();
    GeneratePlanets(&nothing, 0, 0.0, 0.0);
    EXPECT_EQ(RandomNext32(), SENTINEL);
    EXPECT_EQ(nothing.planet_count, 0u);
}

// Catches a system that cannot be described down to its moons: generated systems of one and
// two stars get planets and moons with finite values, pair planets are marked only in pairs,
// and the whole tree is released by FreeStars (sanitizer).
TEST(GeneratePlanets, GeneratedSystemsDownToTheirMoons)
{
    RandomSeed(2024.0);
    uint32_t planets = 0;
    uint32_t moons = 0;
    uint32_t pair_planets = 0;
    for (int i = 0; i < 40; i++)
    {
        SYSTEM_T system;
        GenerateSystem(&system, 1u + (uint32_t)(i % 2), Vector3{});
        GenerateSystemPlanets(&system);
        for (uint32_t t = 0; t < system.star_count; t++)
        {
            const STAR_T &star = system.stars[t];
            for (uint32_t p = 0; p < star.planet_count; p++)
            {
                const PLANET_T &planet = star.planets[p];
                EXPECT_GE(planet.kind, 1u);
                EXPECT_LE(planet.kind, 5u);
                EXPECT_TRUE(AllFinite(planet));
                if (system.star_count == 1)
                {
                    EXPECT_EQ(planet.orbits_pair, 0);
                }
                pair_planets += planet.orbits_pair;
                moons += planet.moon_count;
            }
            if (star.planet_count > 0)
            {
                EXPECT_GT(star.planets[0].orbit_radius, star.radius * 0.00465047);
                EXPECT_GE(star.planets[0].orbit_radius, 0.01);
            }
            planets += star.planet_count;
        }
        FreeStars(&system);
    }
    EXPECT_GT(planets, 40u);
    EXPECT_GT(moons, 0u);
    EXPECT_GT(pair_planets, 0u);
    RecordProperty("planets", (int)planets);
    RecordProperty("moons", (int)moons);
    RecordProperty("pair_planets", (int)pair_planets);
}

// Catches a star with a negative luminosity or age (a caller's value, not the generator's)
// turning a planet's or its moons' figures into NaN or infinity instead of 0.
TEST(Planet, NegativeLuminosityOrAgeGivesFiniteFigures)
{
    RandomSeed(77.0);
    for (const STAR_VALUES &star : {STAR_VALUES{5.0, 0.75, 1.4, 0, 5.0, -1.0, 1.0},
                                    STAR_VALUES{5.0, 0.75, 1.4, 0, -3.0, 1.0, 1.0},
                                    STAR_VALUES{5.0, 0.75, 1.4, 0, -0.5, -0.01, 1.0}})
    {
        for (int i = 0; i < 400; i++)
        {
            PLANET_T planet;
            Generate(&planet, (i % 40) * 0.25 + 0.05, star);
            const double figures[] = {planet.diameter,     planet.density,  planet.mass,
                                      planet.gravity,      planet.escape_velocity, planet.temperature,
                                      planet.field_index,  planet.activity, planet.rotation_period,
                                      planet.solar_day,    planet.tidal_force};
            for (double figure : figures) ASSERT_TRUE(std::isfinite(figure)) << "planet " << i;
            for (uint32_t m = 0; m < planet.moon_count; m++)
            {
                const MOON_T &moon = planet.moons[m];
                for (double figure : {moon.diameter, moon.mass, moon.density, moon.gravity, moon.orbit_period})
                    ASSERT_TRUE(std::isfinite(figure)) << "moon of planet " << i;
            }
            FreeMoons(&planet);
        }
    }
}
