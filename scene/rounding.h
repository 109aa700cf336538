// Real to integer as the program converts everywhere: nearest, halves to even; NaN gives 0 and
// values beyond 32 bits saturate, so no conversion can be undefined.
#pragma once

#include <cmath>
#include <cstdint>

inline int32_t RoundToInt32(double value)
{
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0) return INT32_MAX;
    if (rounded <= -2147483648.0) return INT32_MIN;
    return (int32_t)rounded;
}
