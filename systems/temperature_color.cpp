// Black-body colours of star temperatures: what a star's swatch, its sprite and its place in
// the galaxy's look are tinted with.
#include "systems/temperature_color.h"

#include <cmath>

namespace
{
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
