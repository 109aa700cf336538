// The star system of one star of a galaxy, made when someone asks for it (a click in the view,
// --system on the command line). It is a pure function of the galaxy's shape and the star's
// index: the same on every run and machine, different from star to star, and making it never
// moves the galaxy's own random stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "galaxy/galaxy_shape.h"
#include "scene/vector_math.h"
#include "systems/stellar_object.h"

// One gas of an atmosphere and its share of it (0 to 1; the shares of a planet add up to 1).
struct GAS_SHARE_T
{
    std::string formula;
    double share = 0.0;
};

struct STAR_SYSTEM_T
{
    uint64_t star_index = 0;
    Vector3 position = {}; // the star's place in the galaxy, world units
    SYSTEM_T system;       // its stars, their planets and moons; owned, released by the destructor
    // atmospheres[s][p]: the gases planet p of star s keeps, heaviest share first; empty for a
    // belt or a body too light or hot to hold any.
    std::vector<std::vector<std::vector<GAS_SHARE_T>>> atmospheres;

    STAR_SYSTEM_T() = default;
    ~STAR_SYSTEM_T();
    STAR_SYSTEM_T(const STAR_SYSTEM_T &) = delete;
    STAR_SYSTEM_T &operator=(const STAR_SYSTEM_T &) = delete;
};

// The key that names star star_index of the galaxy of shape: every value of the shape and the
// index move it.
uint64_t StarSystemKey(const GALAXY_SHAPE_T &shape, uint64_t star_index);

// Fills out (which must be fresh) with the system of star star_index at position: one or two
// stars as the star-system layer rolls them, their planets, moons and atmospheres, and a name
// from a seed the name sampler handles in microseconds. The random stream is saved first and
// restored after, so the galaxy and every later generation are as if nothing had happened.
void GenerateStarSystem(const GALAXY_SHAPE_T &shape, uint64_t star_index, Vector3 position, STAR_SYSTEM_T *out);

// The name GenerateStarSystem gives star star_index's system, from the rolls that come before
// it alone (the stars, not their planets). The stream is left as it was.
std::string StarSystemName(const GALAXY_SHAPE_T &shape, uint64_t star_index);

// The primary's surface temperature (kelvin) of the systems of stars first to first + count - 1,
// into kelvin[0] onwards: what GenerateStarSystem gives for stars[0].temperature, from each
// system's first few draws only, so a whole galaxy can take its stars' colours. The stream is
// left as it was.
void StarSystemPrimaryTemperatures(const GALAXY_SHAPE_T &shape, uint64_t first, uint32_t count, float *kelvin);
