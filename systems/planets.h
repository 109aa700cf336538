// Planets of a star: GeneratePlanet describes one planet (and its moons) from the star's data
// and the planet's orbit; GeneratePlanets gives a star its planets, GenerateSystemPlanets
// every star of a system. Orbit pruning and pair moves are in planet_orbits.h.
#pragma once

#include <cstdint>

#include "systems/stellar_object.h"

// Describes a planet whose orbit_radius (AU), orbit_period (years) and orbits_pair the
// caller has set; the rest of the record is zero. Star values are in the units of the star
// record (AU, thousand million years, solar luminosities, solar masses). Allocates and
// describes the planet's moons. Quotients with no defined value (a belt's gravity, a star
// of age 0, a rotation period of 0) come out as 0.
void GeneratePlanet(PLANET_T *planet, double frost_line, double habitable_inner, double habitable_outer,
                    int32_t planet_modifier, double star_age, double star_luminosity, double star_mass);

// Hours from one noon to the next for a rotation period in hours and an orbital period in
// years; 0 when there is no rotation or the rotation keeps pace with the orbit.
double SolarDay(double rotation_period, double orbit_period);

// AU; water ice condenses beyond it.
double FrostLine(double luminosity);

// Gives a star without planets its planets: a count, orbits and periods, then each planet's
// description with its moons; see planets.cpp for the rule. For a pair, separation is the
// distance between the two stars (AU) and pair_mass their total mass (solar masses).
STAR_T *GeneratePlanets(STAR_T *star, uint8_t two_star, double separation, double pair_mass);

// GeneratePlanets for every star of a generated system.
SYSTEM_T *GenerateSystemPlanets(SYSTEM_T *system);
