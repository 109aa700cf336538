// Moon generation and pruning. The order of the draws is part of the output: a planet's
// moons are generated one after another from the one random stream.
#include "systems/moons.h"

#include <cmath>

#include "random/random.h"
#include "systems/dice.h"

namespace
{
// Planet diameters out from the planet.
double RollMoonOrbit(void)
{
    const int band = RollDie(10);
    if (band <= 4) return RollDie(10) * 0.5 + 1.0;
    if (band <= 7) return RollDie(10) + 6.0;
    if (band <= 9) return 3.0 * RollDie(10) + 16.0;
    return 3.0 * RollDie(100) + 45.0;
}

// Kind and diameter (kilometres) from the adjusted roll; the diameter die is drawn even
// when the roll leaves no moon, so that every moon takes the same number of draws.
void RollMoonKindAndDiameter(MOON_T *moon, int32_t planet_modifier)
{
    int64_t roll = RollDie(100);
    if (planet_modifier < 0) roll += 2 * (int64_t)planet_modifier;
    if (planet_modifier > 0) roll += planet_modifier;
    const int die = RollDie(10);

    if (roll < -4) return; // kind 0, diameter 0
    if (roll <= 64)
    {
        moon->kind = 1;
        moon->diameter = 10.0 * die;
    }
    else if (roll <= 84)
    {
        moon->kind = 2;
        moon->diameter = 100.0 * die;
    }
    else if (roll <= 94)
    {
        moon->kind = 3;
        moon->diameter = 100.0 * die + 1000.0;
    }
    else if (roll <= 99)
    {
        moon->kind = 4;
        moon->diameter = 200.0 * die + 2000.0;
    }
    else
    {
        moon->kind = 5;
        moon->diameter = 400.0 * die + 4000.0;
    }
}
} // namespace

void GenerateMoon(MOON_T *moon, double frost_line, double, double, int32_t planet_modifier, double, double,
                  double, double planet_density, double planet_orbit, double planet_diameter, uint8_t)
{
    moon->orbit_radius = RollMoonOrbit();
    // Icy moons at and beyond the frost line, rocky ones inside it.
    moon->density = (frost_line <= planet_orbit) ? RollDie(10) * 0.05 + 0.1 : RollDie(10) * 0.1 + 0.3;
    moon->roche_limit = std::pow(planet_density / moon->density, 0.33) * 2.456;

    RollMoonKindAndDiameter(moon, planet_modifier);
    // Small bodies inside the Roche limit are torn into a ring; terrestrial moons hold together.
    if (moon->kind >= 1 && moon->kind <= 3 && moon->orbit_radius <= moon->roche_limit) moon->kind = 6;

    const double relative = moon->diameter / EARTH_DIAMETER;
    // Divided by the density, where a planet's mass is multiplied by it: the program's own rule.
    moon->mass = relative * relative * relative / moon->density;
    moon->gravity = SafeDivide(moon->mass, relative * relative);

    // Kepler's law scaled to days, with the moon's own mass as the program has it.
    const double distance = planet_diameter * moon->orbit_radius / 400000.0;
    moon->orbit_period = SafeSqrt(SafeDivide(distance * distance * distance * 793.64, moon->mass));

    // A place around the planet from two clock readings: the angle is arbitrary, the reach
    // mixes planet diameters and AU as the scene placement always has.
    const double t1 = ClockSeconds();
    const double t2 = ClockSeconds();
    const double reach = moon->orbit_radius + planet_orbit;
    moon->position = Vector3Add(moon->position,
                                Vector3{(float)(std::sin(t2) * reach), 0.0f, (float)(std::cos(t1) * reach)});

    moon->variation = RandomInt(0, 10) + 0.33;
}

// The orbit is counted in planet diameters, so "inside the planet's diameter" is an orbit of
// at most 1. All leading moons to go are counted first and the array is rebuilt once.
PLANET_T *PruneMoons(PLANET_T *planet)
{
    uint32_t removed = 0;
    while (removed < planet->moon_count && planet->moons != nullptr &&
           planet->moons[removed].orbit_radius <= 1.0)
    {
        removed++;
    }
    if (removed == 0) return planet;
    if (removed == planet->moon_count) return FreeMoons(planet);

    const uint32_t kept = planet->moon_count - removed;
    MOON_T *moons = NewMoonRecords(kept);
    if (moons == nullptr) return planet; // out of memory: the planet keeps all its moons
    for (uint32_t i = 0; i < kept; i++)
        moons[i] = planet->moons[removed + i];
    DeleteMoonRecords(planet->moons);
    planet->moons = moons;
    planet->moon_count = kept;
    return planet;
}
