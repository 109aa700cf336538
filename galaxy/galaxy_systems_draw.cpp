// Drawing of the star-system layer: every system (or bare star) as a camera-facing sprite of
// the galaxy's star texture, with an optional debug box. Runs inside a 3-D pass.
#include "galaxy/galaxy_systems.h"

namespace
{
void DrawDebugBox(const Vector3 &size)
{
    DrawCubeWires(Vector3{0.0f, 0.0f, 0.0f}, size.x * DEBUG_BOX_SCALE, size.y * DEBUG_BOX_SCALE,
                  size.z * DEBUG_BOX_SCALE, DEBUG_BOX_COLOR);
}
} // namespace

void GALAXY::DrawSystems(Camera3D &camera, bool debug)
{
    // The alternation of a pair's colours is timed in milliseconds.
    system_blink_ms += GetFrameTime() * 1000.0f;
    // Set once per call, not per system: a single star folds the time back by the period of
    // the last pair before it.
    int32_t period_ms = 1000;

    if (debug) DrawDebugBox(size);

    // No culling: every system is submitted every call.
    const uint64_t count = system_list.Count();
    for (uint64_t k = 0; k < count; k++)
    {
        const SYSTEM_T *system = (const SYSTEM_T *)system_list.Get(k);
        if (system == nullptr || system->stars == nullptr || system->star_count == 0) continue;
        const SPRITE_T sprite = SystemSprite(system, &system_blink_ms, &period_ms);
        DrawBillboard(camera, star_texture, sprite.position, sprite.size, sprite.tint);
    }
}

void GALAXY::DrawStars(Camera3D &camera, bool debug)
{
    if (debug) DrawDebugBox(size);

    const uint64_t count = star_list.Count();
    for (uint64_t k = 0; k < count; k++)
    {
        const IOBJECT_T *star = (const IOBJECT_T *)star_list.Get(k);
        if (star == nullptr) continue;
        DrawBillboard(camera, star_texture, star->position, SYSTEM_SPRITE_SIZE, STAR_SPRITE_TINT);
    }
}
