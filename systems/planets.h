// Planets of a star: GeneratePlanet describes one planet (and its moons) from the star's data
// and the planet's orbit; the other operations prune and move a star's planets, give a star
// its planets, and search systems for a habitable one.
#pragma once

#include <cstdint>

#include "scene/arraylist.h"
#include "systems/stellar_object.h"

// A member of the groups FindHabitablePlanet walks: it begins with its list of SYSTEM_T.
class SYSTEM_GROUP_T : public OBJECT
{
  public:
    ARRAYLIST *systems = nullptr; // SYSTEM_T pointers, not owned
};

// One separately allocated index of FindHabitablePlanet's result.
class INDEX_T : public OBJECT
{
  public:
    explicit INDEX_T(int64_t value) : value(value) {}
    int64_t value = 0;
};

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

// (group, system, star, planet) of the first planet in the habitable zone of kind 2 or 3,
// walking every level in order; prints "found" when there is one. Four zeros when there is
// none. groups holds SYSTEM_GROUP_T pointers. The caller releases the entries with
// FreeIndexList.
ARRAYLIST FindHabitablePlanet(const ARRAYLIST &groups);
void FreeIndexList(ARRAYLIST *list);

// AU; water ice condenses beyond it.
double FrostLine(double luminosity);

// Gives a star without planets its planets: a count, orbits and periods, then each planet's
// description with its moons; see planets.cpp for the rule. For a pair, separation is the
// distance between the two stars (AU) and pair_mass their total mass (solar masses).
STAR_T *GeneratePlanets(STAR_T *star, uint8_t two_star, double separation, double pair_mass);

// GeneratePlanets for every star of a generated system.
SYSTEM_T *GenerateSystemPlanets(SYSTEM_T *system);
