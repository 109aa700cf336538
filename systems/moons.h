// Moons of a planet: GenerateMoon describes one moon from its planet's values and the
// random stream, PruneMoons drops the moons that orbit inside their planet.
#pragma once

#include <cstdint>

#include "systems/stellar_object.h"

// Fills a zero-state moon. Its orbit_radius and roche_limit are in planet diameters, its
// orbit_period in days, diameter in kilometres, mass in earth masses. Only frost_line,
// planet_modifier, planet_density, planet_orbit (AU) and planet_diameter (kilometres)
// change the result; the other arguments keep the planet generator's argument list whole.
// Six draws, always: orbit band, orbit value, density, kind roll, diameter, variation.
void GenerateMoon(MOON_T *moon, double frost_line, double habitable_inner, double habitable_outer,
                  int32_t planet_modifier, double star_age, double star_luminosity, double planet_mass,
                  double planet_density, double planet_orbit, double planet_diameter, uint8_t planet_locked);

// Removes moons from the front of the planet's array while they orbit at most one planet
// diameter out, and stops at the first moon beyond that. Removing the last moon releases
// the array.
PLANET_T *PruneMoons(PLANET_T *planet);
