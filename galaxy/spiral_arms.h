// The spiral walk behind every galaxy: where the stars go along the arms, in the order they are
// drawn from the random stream, and the limits beyond which a shape makes no stars at all.
#pragma once

#include <cstdint>
#include <string>

#include "galaxy/galaxy_shape.h"
#include "scene/vector_math.h"

// Steps along each arm from the centre (i = 0) to the rim (i = 900).
constexpr uint32_t GALAXY_ARM_STEPS = 900;
// Arms beyond this many generate nothing, like arms <= 0: 360 arms already make 973,080
// stars (a process of about 145 MB with their tree), and the count grows with the value
// without bound.
constexpr int32_t GALAXY_MAX_ARMS = 360;
// Stars placed at every spiral point: a density outside 1 to this many generates nothing.
constexpr int32_t GALAXY_MAX_DENSITY = 40;
// A walk that would give more points than this generates nothing, like arms out of range:
// arms and density multiply (360 arms at density 40 would be 39 million stars, some 4 GB).
// Four million stars, a little over four times the largest density-1 galaxy, take about
// half a gigabyte with their tree; every panel galaxy (9 arms, density 40: 973,080) fits.
constexpr uint64_t GALAXY_MAX_SPIRAL_POINTS = 4000000;

// Which spiral points a walk keeps: the star field stops at the disc's rim (size_xz), the
// star-system layer takes every point.
enum SPIRAL_POINTS_T
{
    SPIRAL_POINTS_IN_DISC,
    SPIRAL_POINTS_ALL,
};

// Clamped cubic ramp from e0 to e1; reversed when e1 < e0, a step when e0 == e1. A NaN ramp
// position (x == e0 == e1, or a NaN x) counts as 0.
double SmoothStep(double x, double e0, double e1);

// Every star position of one generation, in creation order: three unit draws from the
// random stream per star (r1, r2, r3 for z, y, x), each position computed in double and
// rounded once to float. At each spiral point the walk places density stars one after the
// other, each with its own three draws around the same point and spread, so density 1 is
// exactly the walk without density. Generation places its stars here; benchmarks time it alone.
typedef void (*STAR_SINK_FN)(Vector3 position, void *context);
// The most points a walk of this shape can give: 901 * 3 * arms * density; 0 for arms,
// curvature or density out of range, or a product above GALAXY_MAX_SPIRAL_POINTS.
uint64_t SpiralPointLimit(const GALAXY_SHAPE_T &shape);
void WalkSpiralArms(const GALAXY_SHAPE_T &shape, SPIRAL_POINTS_T which, STAR_SINK_FN sink, void *context);

// Why the star field of shape would hold no star, in words for the user ("arms 100000 is out
// of range (1 to 360)"); empty when the walk places stars inside the disc.
std::string SpiralShapeProblem(const GALAXY_SHAPE_T &shape);
