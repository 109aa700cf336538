// The star-system layer's logic: filling it with systems, and the sprite rules. Drawing itself is in galaxy_systems_draw.cpp.
#include "galaxy/galaxy_systems.h"

#include <cmath>

#include "galaxy/spiral_arms.h"
#include "random/random.h"
#include "scene/rounding.h"
#include "systems/system_generator.h"

namespace
{
// One system per spiral point: after the walk's three position draws, a fourth draw decides
// between one star (chance 1 / 1.4) and two.
void RollSystemAt(Vector3 position, void *context)
{
    SYSTEM_LAYER_T *layer = (SYSTEM_LAYER_T *)context;
    const uint32_t star_count = (uint32_t)std::floor(RandomUnit() * 1.4) + 1u;
    SYSTEM_T *system = new SYSTEM_T();
    GenerateSystem(system, star_count, position);
    layer->system_list.Push(system);
}

} // namespace

SYSTEM_LAYER_T::SYSTEM_LAYER_T(int32_t extent)
{
    star_texture = LoadStarTexture();
    position = Vector3{0.0f, 0.0f, 0.0f};
    size = Vector3{(float)extent, (float)extent, (float)extent};
}

SYSTEM_LAYER_T::~SYSTEM_LAYER_T()
{
    EmptySystems();
    UnloadStarTexture(&star_texture);
}

int32_t SYSTEM_LAYER_T::GenerateSystems(const GALAXY_SHAPE_T &shape)
{
    EmptySystems();
    WalkSpiralArms(shape, SPIRAL_POINTS_ALL, RollSystemAt, this);
    return 1;
}

int32_t SYSTEM_LAYER_T::GenerateSystems(int32_t arms, int32_t curvature, int32_t inner_radius,
                                        int32_t bulge_offset0, int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz)
{
    return GenerateSystems(
        MakeGalaxyShape(arms, curvature, inner_radius, bulge_offset0, bulge_offset1, bulge_size, size_y, size_xz));
}

void SYSTEM_LAYER_T::EmptySystems(void)
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
