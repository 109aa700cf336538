// The spiral walk: every star position of a generation, drawn from the random stream in the
// one order that makes a galaxy. Both the star field and the star-system layer walk it.
#include "galaxy/spiral_arms.h"

#include <cmath>
#include <string>

#include "random/random.h"

namespace
{
// raylib's PI macro is a float; the angle needs pi in double.
constexpr double PI_DOUBLE = 3.141592653589793;
} // namespace

double SmoothStep(double x, double e0, double e1)
{
    double t = (x - e0) / (e1 - e0);
    if (t > 1.0) t = 1.0;
    if (!(t >= 0.0)) t = 0.0; // also catches NaN
    return t * t * (3.0 - 2.0 * t);
}

uint64_t SpiralPointLimit(const GALAXY_SHAPE_T &shape)
{
    // The step count per arm position is 3 * arms, an unsigned bound: a non-positive or
    // huge count would run for billions of steps.
    if (shape.arms < 1 || shape.arms > GALAXY_MAX_ARMS) return 0;
    // Curvature 0 puts every point at infinity over infinity: no galaxy, like no arms.
    if (shape.curvature == 0) return 0;
    if (shape.density < 1 || shape.density > GALAXY_MAX_DENSITY) return 0;
    const uint64_t points = (uint64_t)(GALAXY_ARM_STEPS + 1) * 3u * (uint64_t)shape.arms * (uint64_t)shape.density;
    return points <= GALAXY_MAX_SPIRAL_POINTS ? points : 0;
}

void WalkSpiralArms(const GALAXY_SHAPE_T &shape, SPIRAL_POINTS_T which, STAR_SINK_FN sink, void *context)
{
    if (SpiralPointLimit(shape) == 0) return;

    const double curvature = (double)shape.curvature;
    const double curvature2 = std::pow(curvature, 2.0);
    const double n = 810000.0 / curvature2; // 900^2 / B^2: the raw radius at the rim
    const double turn = curvature / 10.0;    // degrees per step
    const double spacing = 360.0 / (double)shape.arms;
    const double radius = (double)shape.size_xz;
    const double shift = (double)shape.inner_radius / 200.0;
    const double edge0 = (double)shape.bulge_offset0 / 100.0;
    const double edge1 = (double)shape.bulge_offset1 / 100.0;
    const double bulge = (double)shape.bulge_size / 64.0;
    const double thickness = (double)shape.size_y;
    const uint32_t per_step = 3u * (uint32_t)shape.arms;
    const int32_t density = shape.density;

    for (uint32_t i = 0; i <= GALAXY_ARM_STEPS; i++)
    {
        const double i2 = (double)(i * i);
        for (uint32_t j = 1; j <= per_step; j++)
        {
            // j, j + arms and j + 2 * arms land on the same arm: three stars per arm and step.
            const double degrees = (double)i * turn + (double)j * spacing;
            const double angle = degrees / 180.0 * PI_DOUBLE;
            const double p = std::sin(angle) * i2 / curvature2;
            const double q = std::cos(angle) * i2 / curvature2;
            const double u = p / n;
            const double w = q / n;
            // The normalised radius: sqrt(p^2 + q^2) / n is (i/900)^2 in exact arithmetic, but
            // rounding lifts it above 1 at the rim for some angles, which would drop stars
            // at size_xz 1. Taken directly it is exactly 0 at the centre and 1 at the rim.
            const double rho = i2 / 810000.0;
            if (rho > radius && which == SPIRAL_POINTS_IN_DISC) continue; // no star and no draw

            const double sx = SmoothStep(std::fabs(u) + shift, edge0, edge1) * 0.99 + 0.01;
            const double sz = SmoothStep(std::fabs(w) + shift, edge0, edge1) * 0.99 + 0.01;
            const double b = sz * sx * bulge;
            const double spread = (0.8 * b + 0.2) * thickness;

            for (int32_t k = 0; k < density; k++)
            {
                // The draw order is part of the output: r1 offsets z, r2 y, r3 x.
                const double r1 = RandomUnit();
                const double r2 = RandomUnit();
                const double r3 = RandomUnit();
                const Vector3 position = Vector3{(float)(u * radius + (r3 - 0.5) * spread),
                                                 (float)((r2 - 0.5) * spread),
                                                 (float)(w * radius + (r1 - 0.5) * spread)};
                // Extreme values can still overflow a coordinate; such a point is drawn but never kept.
                if (std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(position.z))
                    sink(position, context);
            }
        }
    }
}

std::string SpiralShapeProblem(const GALAXY_SHAPE_T &shape)
{
    if (shape.arms < 1 || shape.arms > GALAXY_MAX_ARMS)
        return "arms " + std::to_string(shape.arms) + " is out of range (1 to " + std::to_string(GALAXY_MAX_ARMS) +
               ")";
    if (shape.curvature == 0) return "curvature 0 winds the arms out to infinity";
    if (shape.density < 1 || shape.density > GALAXY_MAX_DENSITY)
        return "density " + std::to_string(shape.density) + " is out of range (1 to " +
               std::to_string(GALAXY_MAX_DENSITY) + ")";
    if (SpiralPointLimit(shape) == 0)
    {
        const uint64_t points =
            (uint64_t)(GALAXY_ARM_STEPS + 1) * 3u * (uint64_t)shape.arms * (uint64_t)shape.density;
        return std::to_string(shape.arms) + " arms at density " + std::to_string(shape.density) + " make " +
               std::to_string(points) + " stars, more than the " + std::to_string(GALAXY_MAX_SPIRAL_POINTS) +
               " a galaxy may hold";
    }
    // The normalised radius runs from 0 at the centre to 1 at the rim; the walk keeps the
    // points at or inside size_xz, so a negative size keeps none.
    if (shape.size_xz < 0) return "size XZ " + std::to_string(shape.size_xz) + " leaves no star inside the disc";
    return std::string();
}
