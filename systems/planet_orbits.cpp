// Pruning and pair moves of a star's planets. Kept apart from planet description: nothing
// here draws from the random stream, so these can run on any planet list, generated or not.
#include "systems/planet_orbits.h"

#include <cmath>

#include "systems/dice.h"

namespace
{
constexpr double EARTH_MASSES_PER_SUN = 332946.0;  // planet masses are earth masses, star masses solar
constexpr double AU_PER_SOLAR_RADIUS = 0.00465047; // star radii are solar radii, orbits AU

// Replaces the star's array by its planets from index first on; the removed planets'
// moons are released. Returns false (and changes nothing) when memory runs out.
bool DropLeadingPlanets(STAR_T *star, uint32_t first)
{
    if (first == 0) return true;
    if (first >= star->planet_count)
    {
        FreePlanets(star);
        return true;
    }
    const uint32_t kept = star->planet_count - first;
    PLANET_T *planets = NewPlanetRecords(kept);
    if (planets == nullptr) return false;
    for (uint32_t i = 0; i < first; i++)
        FreeMoons(&star->planets[i]);
    // The copies take over the moon arrays; deleting the old records releases no moons.
    for (uint32_t i = 0; i < kept; i++)
        planets[i] = star->planets[first + i];
    DeletePlanetRecords(star->planets);
    star->planets = planets;
    star->planet_count = kept;
    return true;
}

bool PlanetStays(const STAR_T *star, double d, double minimum, uint8_t two_star, double separation)
{
    if (!(d > star->radius * AU_PER_SOLAR_RADIUS) || !(d >= minimum)) return false;
    if (two_star != 1) return true;
    const double e = star->eccentricity;
    return d < (1.0 + e) * separation / 3.0 || d > 3.0 * separation * (1.0 - e);
}
} // namespace

// The star's radius is in solar radii and the orbits in AU: the radius is converted, so that
// "inside the star" means inside its surface.
STAR_T *PrunePlanets(STAR_T *star, double minimum_distance, uint8_t two_star, double separation)
{
    uint32_t first = 0;
    while (first < star->planet_count && star->planets != nullptr &&
           !PlanetStays(star, star->planets[first].orbit_radius, minimum_distance, two_star, separation))
    {
        first++;
    }
    DropLeadingPlanets(star, first);
    return star;
}

// The limit uses the star's distance from the barycentre: the second star of a pair carries
// a negative orbit_radius by convention, which would otherwise mark every one of its planets.
// Planet masses are earth masses, the pair's mass solar masses.
STAR_T *MovePairPlanets(STAR_T *star, uint8_t two_star, double separation, double mass)
{
    const double limit = (1.0 - star->eccentricity) * std::fabs(star->orbit_radius) / 3.0;
    for (uint32_t i = 0; i < star->planet_count && star->planets != nullptr; i++)
    {
        PLANET_T *planet = &star->planets[i];
        if (two_star == 1 && planet->orbit_radius > limit)
        {
            planet->orbits_pair = 1;
            planet->orbit_radius += separation;
            const double d = planet->orbit_radius;
            planet->orbit_period =
                std::sqrt(SafeDivide(d * d * d, planet->mass / EARTH_MASSES_PER_SUN + mass));
        }
        else
        {
            planet->orbits_pair = 0;
        }
    }
    return star;
}

PLANET_T *MovePairPlanet(PLANET_T *planet, uint8_t two_star, double separation)
{
    const double old_orbit = planet->orbit_radius;
    if (two_star == 1 && old_orbit > old_orbit * (1.0 + planet->eccentricity) / 3.0)
    {
        planet->orbits_pair = 1;
        planet->orbit_radius += separation;
        // Kepler's third law with the central mass unchanged: the period grows as the orbit^1.5.
        planet->orbit_period *= std::pow(SafeDivide(planet->orbit_radius, old_orbit), 1.5);
    }
    else
    {
        planet->orbits_pair = 0;
    }
    return planet;
}
