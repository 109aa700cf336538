// Measuring a galaxy the way astronomers measure images of spirals: the 2-D Fourier transform
// of the top-down star positions over log-polar coordinates (Davis et al. 2012, ApJS 199, 33)
// gives each arm count m its strongest logarithmic spiral, whose amplitude says how much of
// the light is in arms and whose frequency gives the pitch angle; and the disc's surface
// density in rings, fitted with an exponential. Used by the tests and the benchmarks.
#pragma once

#include <cstdint>

#include "scene/object.h"

constexpr int SPIRAL_MEASURE_MAX_M = 9;

struct SPIRAL_MEASURE_T
{
    int32_t stars = 0;      // in the annulus measured
    int32_t strongest_m = 0; // the arm count with the largest amplitude
    double amplitude[SPIRAL_MEASURE_MAX_M + 1] = {}; // [m]: the largest |A(m, p)| over p
    double pitch_degrees[SPIRAL_MEASURE_MAX_M + 1] = {}; // [m]: the pitch of that p
    double scale_length = 0.0; // of the exponential fit of the surface density, world units
    double profile_r2 = 0.0;   // how well ln(density) follows a line in the radius (1: exactly)
};

// Measures the stars whose distance from the axis (y) lies within r_inner to r_outer.
SPIRAL_MEASURE_T MeasureSpiral(const IOBJECT_T *stars, uint64_t count, double r_inner, double r_outer);

// The spread of the stars along x, y and z (root mean square about the origin), for the
// axis ratios of ellipticals.
Vector3 AxisSpread(const IOBJECT_T *stars, uint64_t count);
