// Planet generation: one planet's description and the caller that gives a star its planets.
// Every die is drawn in the order of the steps below; that order is part of the
// output, so a die that picks a band is drawn even where its band changes nothing.
#include "systems/planets.h"

#include <cmath>

#include "random/random.h"
#include "systems/dice.h"
#include "systems/moons.h"
#include "systems/planet_orbits.h"
#include "systems/planet_tables.h"

namespace
{
constexpr double HOURS_PER_YEAR = 8766.0; // 365.25 days

// ---- helpers ------------------------------------------------------------------------------

uint32_t RollPlanetKind(int p, bool beyond)
{
    if (p == 100) return (uint32_t)RandomInt(2, 4);
    for (uint32_t kind = 1; kind <= 5; kind++)
    {
        if (p <= PLANET_KIND_P_LIMIT[beyond ? 1 : 0][kind - 1]) return kind;
    }
    return 5;
}

int RockyFieldGroup(int w)
{
    if (w <= 3) return 0;
    if (w <= 5) return 1;
    if (w <= 7) return 2;
    if (w <= 9) return 3;
    return 4;
}

int GiantFieldGroup(int w)
{
    if (w <= 1) return 0;
    if (w <= 4) return 1;
    if (w <= 7) return 2;
    if (w <= 9) return 3;
    return 4;
}

int ActivityBand(double activity)
{
    if (activity < 0.5) return 0;
    if (activity < 1.0) return 1;
    if (activity < 2.0) return 2;
    if (activity < 3.0) return 3;
    if (activity < 5.0) return 4;
    return 5;
}

int FieldIndexBand(double field_index)
{
    if (field_index < 0.05) return 0;
    if (field_index < 0.5) return 1;
    if (field_index < 1.0) return 2;
    if (field_index < 2.0) return 3;
    if (field_index < 4.0) return 4;
    return 5;
}

int GiantMassBand(double mass)
{
    if (mass < 50.0) return 0;
    if (mass < 200.0) return 1;
    if (mass < 500.0) return 2;
    return 3;
}

// Step 2, kilometres. Belts (kind 1) have no diameter.
double RollPlanetDiameter(uint32_t kind, int q, double star_age)
{
    if (kind >= 2 && kind <= 4)
    {
        const PLANET_DIAMETER_ROW_T &row = PLANET_DIAMETER_TABLE[kind - 2];
        return RollDie(10) * row.step[q - 1] + row.base[q - 1];
    }
    if (kind == 5)
    {
        RollDie(10); // the band die: drawn, but every band has the same formula
        return (RollDie(10) - 0.5 * star_age) * 2000.0 + 60000.0;
    }
    return 0.0;
}

// Step 3: one die per line that applies, in the order of the lines; the last line wins.
double RollPlanetDensity(uint32_t kind, bool beyond, double scaled_orbit)
{
    double density = 0.0;
    if (beyond)
    {
        if (kind >= 1) density = 0.05 * RollDie(10) + 0.1;
        if (kind >= 3) density = 0.05 * RollDie(10) + 0.1;
        if (kind >= 2) density = 0.05 * RollDie(10) + 0.1;
        if (kind >= 4) density = 0.025 * RollDie(10) + 0.08;
    }
    else
    {
        const double rocky = 0.127 / std::pow(scaled_orbit + 0.4, 0.67);
        if (kind >= 1) density = rocky * RollDie(10) + 0.3;
        if (kind >= 3) density = rocky * RollDie(10) + 0.3;
        if (kind >= 2) density = rocky * RollDie(10) + 0.3;
        if (kind >= 4) density = 0.025 * RollDie(10) + 0.1;
    }
    return density;
}

// Step 7, degrees.
double RollAxialTilt(void)
{
    const int band = RollDie(10);
    if (band <= 8) return RollDie(10) + 10.0 * ((band - 1) / 2);
    return RollDie(100) * 1.4 + 40.0;
}

// Step 8, hours. Belts draw the band die and keep a rotation of 0.
double RollRotationPeriod(const PLANET_T *planet, double star_age)
{
    double t = star_age * planet->tidal_force;
    const int band = RollDie(10);
    double value = 0.0;
    switch (planet->kind)
    {
    case 2:
        if (planet->mass > 4.0) t -= 2.0;
        if (band <= 5)
            value = 2.0 * RollDie(10) + 10.0;
        else if (band <= 8)
            value = RollDie(100) + 30.0;
        else
            value = RollDie(100) * 48.0;
        break;
    case 3:
        if (band <= 5)
            value = 2.0 * RollDie(10);
        else if (band <= 8)
            value = 24.0 * RollDie(10) + 10.0;
        else
            value = 24.0 * RollDie(100) + 20.0;
        break;
    case 4:
    case 5:
        if (planet->mass < 50.0) t += 2.0;
        if (band <= 5)
            value = RollDie(5) + 6.0;
        else if (band <= 7)
            value = RollDie(5) + 11.0;
        else if (band <= 9)
            value = RollDie(10) + 16.0;
        else
            value = RollDie(10) + 26.0;
        break;
    default:
        return 0.0;
    }
    return (0.1 * t + 1.0) * value;
}

// Step 10 for kinds 2 and 3: the class from density, activity, field index and strength,
// all from the mass of step 4.
void RollRockyBodyTraits(PLANET_T *planet, bool beyond, double star_age)
{
    const double density = planet->density;
    if (beyond)
    {
        if (density >= 0.15 && density < 0.3) planet->body_class = 1;
        if (density >= 0.3 && density < 0.45) planet->body_class = 2;
        if (density >= 0.45 && density <= 0.6) planet->body_class = 3;
    }
    else
    {
        if (density >= 0.4 && density < 0.7) planet->body_class = 3;
        if (density >= 0.7 && density < 1.0) planet->body_class = 4;
        if (density >= 1.0 && density <= 1.3) planet->body_class = 5;
    }
    const bool light = planet->body_class == 1 || planet->body_class == 2;

    double activity = SafeDivide((RollDie(10) + 5) * SafeSqrt(planet->mass), star_age);
    if (light) activity *= density;
    if (planet->rotation_period < 18.0) activity *= 1.25;
    if (planet->rotation_period > 100.0) activity *= 1.25;
    if (planet->tidally_locked) activity *= 0.5;
    planet->activity = activity;
    planet->activity_class = PLANET_ACTIVITY_CLASS[ActivityBand(activity)][RollDie(10) - 1];

    // Hours per turn: a locked planet turns once per orbit (years, converted).
    const double turn =
        planet->tidally_locked ? planet->orbit_period * HOURS_PER_YEAR : planet->rotation_period;
    double field_index = SafeDivide(10.0, SafeSqrt(turn / 24.0)) * density * density *
                         SafeDivide(SafeSqrt(planet->mass), star_age);
    if (light) field_index *= 0.5;
    planet->field_index = field_index;

    const int w = RollDie(10);
    const int v = RollDie(10);
    planet->field_strength = v * ROCKY_FIELD_FACTOR[FieldIndexBand(field_index)][RockyFieldGroup(w)];
}

// Step 12: the final class and the mass (earth masses) that replaces step 4's.
void RollFinalClassAndMass(PLANET_T *planet, bool beyond, double habitable_inner, int32_t planet_modifier,
                           double star_age)
{
    int64_t s = RollDie(10);
    if (beyond) s += 6;
    if (planet->orbit_radius < habitable_inner) s -= 2;
    const double density = planet->density;
    if (density >= 0.6 && density < 0.8) s -= 1;
    if (density >= 0.8 && density < 1.0) s -= 2;
    if (density >= 1.0 && density < 1.2) s -= 3;
    if (density >= 1.2) s -= 5;
    if (s < -1)
        planet->body_class = 1;
    else if (s <= 5)
        planet->body_class = 2;
    else if (s <= 10)
        planet->body_class = 3;
    else
        planet->body_class = 4;

    int64_t u = RollDie(10);
    const int w = RollDie(10);
    u += beyond ? 2 : -1;
    if (planet->orbits_pair) u += 2;
    if (star_age > 7.0) u -= 1;
    u += planet_modifier;
    if (u < 5)
        planet->mass = w * 0.0001;
    else if (u <= 6)
        planet->mass = w * 0.001;
    else if (u <= 8)
        planet->mass = w * 0.01;
    else if (u <= 10)
        planet->mass = w * 0.1;
    else
        planet->mass = w;
}

// Step 15. Locked planets draw nothing and get no moons.
uint32_t RollMoonCount(uint32_t kind, bool beyond)
{
    const int m = RollDie(10) + (beyond ? 5 : 0);
    switch (kind)
    {
    case 2:
        if (m <= 5) return 0;
        if (m <= 7) return 1;
        if (m <= 9) return (uint32_t)RollDie(2);
        if (m <= 13) return (uint32_t)RollDie(5);
        return (uint32_t)RollDie(10);
    case 3:
        return (m >= 10) ? 1 : 0;
    case 4:
    case 5:
        if (m <= 0) return 0;
        if (m <= 5) return (uint32_t)RollDie(5);
        if (m <= 7) return (uint32_t)RollDie(10);
        if (m <= 9) return (uint32_t)RollDie(10) + 5;
        if (m <= 13) return (uint32_t)RollDie(10) + 10;
        return (uint32_t)RollDie(10) + 20;
    default:
        return 0;
    }
}

// ---- the planet-giving rule ---------------------------------------------------------------

// Innermost orbit considered for a planet (AU); also the floor under the habitable zone of a
// star too faint to have one, so that orbits never start at 0.
constexpr double MIN_PLANET_ORBIT = 0.01;
} // namespace

void GeneratePlanet(PLANET_T *planet, double frost_line, double habitable_inner, double habitable_outer,
                    int32_t planet_modifier, double star_age, double star_luminosity, double star_mass)
{
    const double orbit = planet->orbit_radius;
    const bool beyond = orbit > frost_line;
    // Orbit relative to the distance at which the star gives the earth's insolation.
    const double scaled_orbit = SafeDivide(orbit, SafeSqrt(star_luminosity));

    // 1. kind
    const int p = RollDie(100);
    const int q = RollDie(10);
    planet->kind = RollPlanetKind(p, beyond);

    // 2. to 4. size, density, and the mass, gravity and escape velocity that follow from them
    planet->diameter = RollPlanetDiameter(planet->kind, q, star_age);
    planet->density = RollPlanetDensity(planet->kind, beyond, scaled_orbit);
    const double relative = planet->diameter / EARTH_DIAMETER;
    planet->mass = relative * relative * relative * planet->density;
    planet->gravity = SafeDivide(planet->mass, relative * relative);
    planet->escape_velocity = SafeSqrt(planet->diameter * planet->gravity * 19600.0) / 11200.0;

    // 5. tides
    planet->tidal_force = SafeDivide(26640000.0 * star_mass, orbit * orbit * orbit * 64000000.0);
    const double lock = (RollDie(10) * 0.03 + 0.83) * planet->tidal_force * star_age / 6.6;
    planet->tidally_locked = (lock > 1.0) ? 1 : 0;

    // 6. eccentricity
    const int eccentricity_band = RollDie(10);
    const int eccentricity_value = RollDie(10);
    if (eccentricity_band <= 5)
        planet->eccentricity = eccentricity_value * 0.005;
    else if (eccentricity_band <= 7)
        planet->eccentricity = eccentricity_value * 0.01 + 0.05;
    else if (eccentricity_band <= 9)
        planet->eccentricity = eccentricity_value * 0.01 + 0.15;
    else
        planet->eccentricity = eccentricity_value * 0.04 + 0.25;

    // 7. to 9. a locked planet turns once per orbit: no tilt and no rotation of its own
    if (!planet->tidally_locked)
    {
        planet->axial_tilt = RollAxialTilt();
        planet->rotation_period = RollRotationPeriod(planet, star_age);
    }
    planet->solar_day = SolarDay(planet->rotation_period, planet->orbit_period);

    // 10. rocky bodies
    if (planet->kind == 2 || planet->kind == 3) RollRockyBodyTraits(planet, beyond, star_age);

    // 11. giants' field; both dice are drawn for every kind
    const int w = RollDie(10);
    const int v = RollDie(10);
    if (planet->kind == 4 || planet->kind == 5)
    {
        planet->field_strength = v * GIANT_FIELD_FACTOR[GiantMassBand(planet->mass)][GiantFieldGroup(w)];
    }

    // 12. final class and mass; everything above used the mass of step 4
    if (planet->kind != 0) RollFinalClassAndMass(planet, beyond, habitable_inner, planet_modifier, star_age);

    // 13. and 14.
    planet->in_habitable_zone = (habitable_inner <= orbit && orbit <= habitable_outer) ? 1 : 0;
    planet->temperature = SafeDivide(255.0, SafeSqrt(scaled_orbit));

    // 15. and 16. moons
    const uint32_t moon_count = planet->tidally_locked ? 0 : RollMoonCount(planet->kind, beyond);
    // A planet described a second time would otherwise keep its old, possibly shorter, array
    // under the new count.
    FreeMoons(planet);
    AllocateMoons(planet, moon_count);
    if (planet->moons == nullptr) planet->moon_count = 0; // out of memory: no moons
    for (uint32_t i = 0; i < planet->moon_count; i++)
    {
        GenerateMoon(&planet->moons[i], frost_line, habitable_inner, habitable_outer, planet_modifier,
                     star_age, star_luminosity, planet->mass, planet->density, planet->orbit_radius,
                     planet->diameter, planet->tidally_locked);
    }
}

// The rotation period is in hours and the orbital period in years: both are taken in hours
// before they are combined; mixed, nearly every day would come out negative.
double SolarDay(double rotation_period, double orbit_period)
{
    if (rotation_period == 0.0) return 0.0;
    const double spin = 1.0 / rotation_period;
    const double orbit = SafeDivide(1.0, orbit_period * HOURS_PER_YEAR);
    return SafeDivide(1.0, spin - orbit);
}

// Snow line of the classic star-system recipes, 4.85 AU for the sun's luminosity.
double FrostLine(double luminosity)
{
    return 4.85 * SafeSqrt(luminosity);
}

// How a star gets its planets, in draw order:
//  1. count = (die of 10) + planet_modifier, at least 0: young stars get more, old ones fewer.
//  2. The innermost orbit is (0.2 + 0.1 * die of 10) times the habitable zone's inner edge
//     (0.3 to 1.2 of it, the edge floored at MIN_PLANET_ORBIT); each further orbit is
//     (1.4 + 0.1 * die of 10) times the one before, so the orbits spread outward through and
//     past the habitable zone, roughly one per zone width.
//  3. Periods in years from Kepler's third law around the star's mass.
//  4. For a pair, planets far enough out are moved to orbit both stars (MovePairPlanets);
//     then planets inside the star, inside MIN_PLANET_ORBIT or, for a pair, in an unstable
//     zone are pruned from the front (PrunePlanets).
//  5. Each remaining planet is described with GeneratePlanet, in order, which adds its moons.
// A star without mass (the empty companion row) gets no planets and draws nothing. Any
// planets the star had are released first.
STAR_T *GeneratePlanets(STAR_T *star, uint8_t two_star, double separation, double pair_mass)
{
    FreePlanets(star);
    if (!(star->mass > 0.0)) return star;

    const int64_t count = RollDie(10) + (int64_t)star->planet_modifier;
    if (count <= 0) return star;
    AllocatePlanets(star, (uint32_t)count);
    if (star->planets == nullptr)
    {
        star->planet_count = 0;
        return star;
    }

    const double zone = std::fmax(star->habitable_inner, MIN_PLANET_ORBIT);
    double orbit = zone * (0.2 + 0.1 * RollDie(10));
    for (uint32_t i = 0; i < star->planet_count; i++)
    {
        if (i > 0) orbit *= 1.4 + 0.1 * RollDie(10);
        PLANET_T *planet = &star->planets[i];
        planet->orbit_radius = orbit;
        planet->orbit_period = SafeSqrt(orbit * orbit * orbit / star->mass);
    }

    if (two_star == 1) MovePairPlanets(star, two_star, separation, pair_mass);
    PrunePlanets(star, MIN_PLANET_ORBIT, two_star, separation);

    const double frost_line = FrostLine(star->luminosity);
    for (uint32_t i = 0; i < star->planet_count; i++)
    {
        GeneratePlanet(&star->planets[i], frost_line, star->habitable_inner, star->habitable_outer,
                       star->planet_modifier, star->age, star->luminosity, star->mass);
    }
    return star;
}

// The pair's separation is the distance between the two stars: star 1 sits on the far side of
// the barycentre with a negative orbit_radius.
SYSTEM_T *GenerateSystemPlanets(SYSTEM_T *system)
{
    if (system->stars == nullptr) return system;
    const uint8_t two_star = (system->star_count == 2) ? 1 : 0;
    double separation = 0.0;
    double pair_mass = 0.0;
    if (two_star)
    {
        separation = system->stars[0].orbit_radius - system->stars[1].orbit_radius;
        pair_mass = system->stars[0].mass + system->stars[1].mass;
    }
    for (uint32_t i = 0; i < system->star_count; i++)
    {
        GeneratePlanets(&system->stars[i], two_star, separation, pair_mass);
    }
    return system;
}
