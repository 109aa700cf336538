// The die the star-system generators roll and the two helpers their formulas share. One copy,
// so that every generator reads the shared random stream the same way.
#pragma once

#include <cmath>
#include <cstdint>

#include "random/random.h"

inline constexpr double EARTH_DIAMETER = 6380.0; // kilometres

// A die of sides: 1 to sides with equal chances. One word of the shared stream per roll, so
// every roll moves every later result.
inline int32_t RollDie(int32_t sides)
{
    return RandomInt(1, sides);
}

// Quotients the formulas leave undefined (no diameter, no mass, no age, no rotation) are 0,
// never NaN or infinity.
inline double SafeDivide(double numerator, double denominator)
{
    return (denominator == 0.0) ? 0.0 : numerator / denominator;
}

// Roots of quantities a caller's star can make negative (a negative luminosity, age or mass):
// 0 rather than NaN, so one bad input never spreads NaN through a whole system. The same as
// std::sqrt for every value it is defined for.
inline double SafeSqrt(double value)
{
    return (value >= 0.0) ? std::sqrt(value) : 0.0;
}
