// The star-system layer's logic: filling the galaxy with systems, the temperature colour and
// the sprite rules. Drawing itself is in galaxy_systems_draw.cpp.
#include "galaxy/galaxy_systems.h"

#include <cmath>

#include "random/random.h"
#include "scene/rounding.h"
#include "systems/system_generator.h"

namespace
{
// One system per spiral point: after the walk's three position draws, a fourth draw decides
// between one star (chance 1 / 1.4) and two.
void RollSystemAt(Vector3 position, void *context)
{
    GALAXY *galaxy = (GALAXY *)context;
    const uint32_t star_count = (uint32_t)std::floor(RandomUnit() * 1.4) + 1u;
    SYSTEM_T *system = new SYSTEM_T();
    GenerateSystem(system, star_count, position);
    galaxy->system_list.Push(system);
}

// Round half to even (the default rounding mode), as the colour fit's integer steps require.
double RoundEven(double value)
{
    return std::nearbyint(value);
}

// NaN and negative values become 0 rather than reaching an integer conversion.
uint32_t Channel(double value)
{
    if (!(value > 0.0)) return 0u;
    if (value >= 255.0) return 255u;
    return (uint32_t)RoundEven(value);
}
} // namespace

int32_t GALAXY::GenerateSystems(const GALAXY_SHAPE_T &shape)
{
    // Systems replace the bare stars; nothing goes into the tree.
    EmptyStars();
    EmptySystems();
    WalkSpiralArms(shape, SPIRAL_POINTS_ALL, RollSystemAt, this);
    return 1;
}

int32_t GALAXY::GenerateSystems(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                                int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz)
{
    return GenerateSystems(
        MakeGalaxyShape(arms, curvature, inner_radius, bulge_offset0, bulge_offset1, bulge_size, size_y, size_xz));
}

void GALAXY::EmptySystems(void)
{
    const uint64_t count = system_list.Count();
    for (uint64_t k = 0; k < count; k++)
    {
        SYSTEM_T *system = (SYSTEM_T *)system_list.Pop();
        if (system == nullptr) continue;
        FreeStars(system);
        delete system;
    }
}

// A fit of black-body colours in steps of 100 K; t is the temperature in hundreds of kelvin.
uint32_t TemperatureColor(double kelvin, uint8_t alpha)
{
    const double t = kelvin / 100.0;

    double red = 255.0;
    if (!(t < 66.0))
    {
        const double x = RoundEven(t - 60.0);
        red = 0.114206453784165 * x + 329.698727466 - 40.25366309332127 * std::log(x);
    }

    double green = 0.0;
    if (t <= 66.0)
    {
        const double x = RoundEven(t);
        green = (x == 0.0) ? 0.0 : 99.4708025861 * std::log(x) - 161.1195681661;
    }
    else
    {
        const double x = RoundEven(t - 60.0);
        green = 0.07943456536662342 * x + 288.1221695283 - 28.0852963507957 * std::log(x);
    }

    double blue = 0.0;
    if (t >= 66.0)
    {
        blue = 255.0;
    }
    else if (t > 19.0)
    {
        const double x = RoundEven(t - 10.0);
        blue = 138.5177312231 * std::log(x) - 305.0447927307;
    }

    return ((uint32_t)alpha << 24) | (Channel(red) << 16) | (Channel(green) << 8) | Channel(blue);
}

Color UnpackColor(uint32_t packed)
{
    return Color{(unsigned char)(packed >> 16), (unsigned char)(packed >> 8), (unsigned char)packed,
                 (unsigned char)(packed >> 24)};
}

SPRITE_T SystemSprite(const SYSTEM_T *system, float *blink_ms, int32_t *period_ms)
{
    const STAR_T &first = system->stars[0];
    uint32_t color = TemperatureColor(first.temperature, 255);

    // A companion without temperature (the all-zero placeholder row) has no colour and would
    // divide by zero: such a pair shows as a single star.
    if (system->star_count > 1 && system->stars[1].temperature > 0.0)
    {
        const STAR_T &second = system->stars[1];
        // Saturating: an extreme temperature ratio never reaches an undefined conversion.
        *period_ms = RoundToInt32(first.temperature / second.temperature * 1000.0);
        if (!(*blink_ms < (float)*period_ms)) color = TemperatureColor(second.temperature, 255);
    }
    if (*blink_ms > (float)*period_ms) *blink_ms -= (float)*period_ms;

    SPRITE_T sprite;
    sprite.position = system->galaxy_position;
    sprite.size = SYSTEM_SPRITE_SIZE;
    sprite.tint = UnpackColor(color);
    return sprite;
}
