// GALAXY_SHAPE_T: the seed, the eight values that shape a galaxy and the star density, as one
// record. It is everything needed to make the same stars again, so it is what the panel edits,
// what a galaxy code encodes and what generation takes; loose integers can be swapped silently.
#pragma once

#include <cstdint>

struct GALAXY_SHAPE_T
{
    uint32_t seed = 0;         // seeds the random stream before the stars are drawn
    int32_t size_xz = 0;       // disc radius, world units
    int32_t size_y = 0;        // thickness scale, world units
    int32_t inner_radius = 0;  // shifts the thickness ramp by inner_radius / 200
    int32_t bulge_size = 0;    // scales the thickness factor by bulge_size / 64
    int32_t bulge_offset0 = 0; // first edge of the thickness ramp, / 100
    int32_t bulge_offset1 = 0; // second edge of the thickness ramp, / 100
    int32_t arms = 0;          // number of spiral arms
    int32_t curvature = 0;     // the arms turn curvature / 10 degrees per step
    int32_t density = 1;       // stars placed at every spiral point, 1 to GALAXY_MAX_DENSITY
    // The model: 0 is the classic spiral walk above, which ignores every field below; any other
    // value is a Hubble type (hubble_types.h), whose stars take the sizes, arms and density above
    // and the fields below, and ignore curvature, inner radius and the bulge values above.
    int32_t model = 0;
    int32_t pitch = 0;        // the arms' pitch angle, degrees
    int32_t bulge_share = 0;  // bulge-to-total ratio, percent of the stars
    int32_t bar_length = 0;   // the bar's half length, percent of the disc radius; 0: no bar
    int32_t arm_width = 0;    // an arm's spread across, percent of the angle between two arms
    int32_t arm_contrast = 0; // the share of disc stars that lie in the arms, percent
};

// The eight values in the order Generate and GenerateSystems take them, then the density;
// the seed is left 0. The one place that turns that positional order into the record.
GALAXY_SHAPE_T MakeGalaxyShape(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                               int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz,
                               int32_t density = 1);

// The galaxy a command line that names no value opens on, and what unnamed values take: a
// four-armed disc of the largest size, with its thickness coupled as the panel does, seed 1.
GALAXY_SHAPE_T DefaultGalaxyShape(void);

bool operator==(const GALAXY_SHAPE_T &a, const GALAXY_SHAPE_T &b);
inline bool operator!=(const GALAXY_SHAPE_T &a, const GALAXY_SHAPE_T &b)
{
    return !(a == b);
}
