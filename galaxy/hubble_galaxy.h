// The second galaxy model: galaxies of the Hubble types, built from the components real ones
// are measured to have. An exponential disc (thin and thick, each with a sech^2 vertical
// profile) with logarithmic arms and HII knots along them; a Hernquist bulge, whose projection
// follows de Vaucouleurs' law closely; a bar for SB types; a triaxial Hernquist spheroid for
// En; clumps for Irr. Each star is placed by its own dice (star_dice.h), so any range of stars
// can be placed on its own thread and the galaxy is the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "galaxy/galaxy_shape.h"
#include "scene/object.h"

// Stars of a galaxy of the second model at density 1: as many as the classic nine-armed disc.
constexpr uint64_t HUBBLE_STARS_PER_DENSITY = 24327;

// What each star of the second model is, kept in its IOBJECT_T::tag: its colour follows it.
enum STAR_POPULATION_T
{
    POPULATION_NONE = 0,  // a classic star
    POPULATION_OLD = 1,   // bulge, bar, elliptical: old, yellow-red
    POPULATION_DISC = 2,  // the disc between the arms: mixed ages, yellow-white
    POPULATION_YOUNG = 3, // in the arms: young, blue-white
    POPULATION_HII = 4,   // an HII knot in an arm: pink
};

// Why a shape of the second model has no stars, in words for the user; empty when it has.
std::string HubbleShapeProblem(const GALAXY_SHAPE_T &shape);
// Its star count: HUBBLE_STARS_PER_DENSITY * density, or 0 when HubbleShapeProblem says why.
uint64_t HubbleStarCount(const GALAXY_SHAPE_T &shape);

// Dust clouds of a spiral type lie along the inner (concave) edge of its arms, where gas is
// compressed ahead of the young stars; they are not stars (no system, never picked or
// exported) and only darken the soft look. Other types have none.
constexpr uint32_t HUBBLE_DUST_CLOUDS = 3000;
// A cloud's diameter over the disc radius.
constexpr float HUBBLE_DUST_SIZE = 0.035f;
// The clouds of shape into *clouds (emptied first): HUBBLE_DUST_CLOUDS for a spiral type with
// arms, none otherwise.
void PlaceHubbleDust(const GALAXY_SHAPE_T &shape, std::vector<Vector3> *clouds);

// Stars first to first + count - 1 of the galaxy of shape into out[0] to out[count - 1]:
// position, unit size and population tag. Touches no shared state.
void PlaceHubbleStars(const GALAXY_SHAPE_T &shape, uint64_t first, uint64_t count, IOBJECT_T *out);
