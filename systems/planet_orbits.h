// Orbit housekeeping of a star's planets: pruning the orbits a planet cannot keep and moving
// the planets of a two-star system out to orbit the pair. No dice: only the stored orbits,
// eccentricities and masses decide.
#pragma once

#include <cstdint>

#include "systems/stellar_object.h"

// Removes planets from the front of the star's array until the first one that lies outside
// the star, at least minimum_distance out (AU) and, for two_star = 1, in a stable zone of
// the pair (separation in AU). Removed planets' moons are released; removing the last planet
// releases the array.
STAR_T *PrunePlanets(STAR_T *star, double minimum_distance, uint8_t two_star, double separation);

// For two_star = 1: planets beyond a third of the star's distance from the pair's barycentre
// orbit the pair; they are marked, pushed out by separation (AU) and given the period around
// mass (the pair's total, solar masses). Every other planet is unmarked.
STAR_T *MovePairPlanets(STAR_T *star, uint8_t two_star, double separation, double mass);

// The same for one planet, with the limit taken from the planet's own orbit and eccentricity.
// Having no central mass at hand, the new period keeps the mass the old period implied.
PLANET_T *MovePairPlanet(PLANET_T *planet, uint8_t two_star, double separation);
