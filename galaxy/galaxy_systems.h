// The galaxy's star-system layer: one generated star system per point of the spiral, drawn as
// camera-facing sprites tinted by the colour of their stars' temperature. GenerateSystems,
// DrawSystems and DrawStars are GALAXY operations (declared with the class); this header adds
// the colour function and the per-sprite rules, which need no window.
#pragma once

#include <cstdint>

#include "galaxy/galaxy.h"
#include "scene/vector_math.h"
#include "systems/stellar_object.h"

// Black-body-like colour of a temperature in kelvin, packed as alpha << 24 | red << 16 |
// green << 8 | blue. Each channel is clamped to 0 to 255; a temperature with no meaningful
// colour (NaN) gives black at the given alpha.
uint32_t TemperatureColor(double kelvin, uint8_t alpha);

// The packed colour as raylib's Color.
Color UnpackColor(uint32_t packed);

// One billboard of the layer: where, how large (world units) and in which tint.
struct SPRITE_T
{
    Vector3 position = {};
    float size = 0.0f;
    Color tint = {};
};

// Sprite size of systems and stars, world units.
constexpr float SYSTEM_SPRITE_SIZE = 1.0f;
// The colour DrawStars gives every bare star.
constexpr Color STAR_SPRITE_TINT = {128, 0, 255, 255};

// The sprite of one system (with at least one star) in DrawSystems' walk. blink_ms is the
// running time in milliseconds and period_ms the alternation period last set by a two-star
// system in this walk: a pair shows its first star's colour for period_ms (the temperature
// ratio times 1000) and then its second star's, and every system folds blink_ms back by the
// period once it passes it.
SPRITE_T SystemSprite(const SYSTEM_T *system, float *blink_ms, int32_t *period_ms);

// Debug box of the layer: a wire cube around the origin, 3.27 times the galaxy's size.
constexpr float DEBUG_BOX_SCALE = 3.27f;
constexpr Color DEBUG_BOX_COLOR = {190, 33, 55, 255};
