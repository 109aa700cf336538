// Star temperatures as colours. Needs no window: the colour is only a value here.
#pragma once

#include <cstdint>

#include "scene/vector_math.h"

// Black-body-like colour of a temperature in kelvin, packed as alpha << 24 | red << 16 |
// green << 8 | blue. Each channel is clamped to 0 to 255; a temperature with no meaningful
// colour (NaN) gives black at the given alpha.
uint32_t TemperatureColor(double kelvin, uint8_t alpha);

// The packed colour as raylib's Color.
Color UnpackColor(uint32_t packed);
