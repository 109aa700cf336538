// Drawing of the star-system layer: every system (or bare star) as a camera-facing sprite of
// the layer's star texture, with an optional debug box. Runs inside a 3-D pass. Uploading the
// texture needs a window (a GL context); without one the layer keeps an empty texture, so
// generation and its tests run anywhere.
#include "galaxy/galaxy_systems.h"

namespace
{
void DrawDebugBox(const Vector3 &size)
{
    DrawCubeWires(Vector3{0.0f, 0.0f, 0.0f}, size.x * DEBUG_BOX_SCALE, size.y * DEBUG_BOX_SCALE,
                  size.z * DEBUG_BOX_SCALE, DEBUG_BOX_COLOR);
}
} // namespace

Texture2D LoadStarTexture(void)
{
    if (!IsWindowReady()) return Texture2D{};
    const Image image = GenImageGradientRadial(512, 512, 0.25f, Color{255, 255, 255, 255}, Color{0, 0, 0, 0});
    const Texture2D texture = LoadTextureFromImage(image);
    UnloadImage(image); // the pixels live on the GPU now
    return texture;
}

void UnloadStarTexture(Texture2D *texture)
{
    if (texture->id != 0) UnloadTexture(*texture);
    *texture = Texture2D{};
}

void SYSTEM_LAYER_T::DrawSystems(Camera3D &camera, bool debug)
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

void SYSTEM_LAYER_T::DrawStars(Camera3D &camera, const STAR_FIELD_T &field, bool debug)
{
    if (debug) DrawDebugBox(size);

    const uint64_t count = field.star_list.Count();
    for (uint64_t k = 0; k < count; k++)
    {
        const IOBJECT_T *star = (const IOBJECT_T *)field.star_list.Get(k);
        if (star == nullptr) continue;
        DrawBillboard(camera, star_texture, star->position, SYSTEM_SPRITE_SIZE, STAR_SPRITE_TINT);
    }
}
