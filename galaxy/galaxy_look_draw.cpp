// The look on screen: the octree's soft points, then a glow over the core as a few
// camera-facing soft quads added onto the frame, sized by the disc so that any galaxy's bulge
// gets one in proportion.
#include "galaxy/galaxy_look.h"

namespace
{
// Diameter as a fraction of the disc's radius, and strength (0-255) of each layer.
struct GLOW_LAYER_T
{
    float diameter;
    unsigned char strength;
};
constexpr GLOW_LAYER_T GLOW_LAYERS[] = {{1.6f, 22}, {0.7f, 30}, {0.3f, 40}};
constexpr Color GLOW_TINT = Color{255, 200, 140, 255};
} // namespace

void DrawGalaxyLook(const STAR_FIELD_T &field, ARRAY_OCTREE_GPU_T *gpu, Camera3D camera, GALAXY_LOOK_T *look)
{
    DrawArrayOctreeSoft(field.tree, field.lod, look->selection, field.draw_colors.data(), field.colors_version,
                        &field.colors_changed, StarExposure(field.tree.draw_order.size()), gpu);
    if (field.tree.draw_order.empty() || !(field.disc_radius > 0.0f)) return;
    if (look->glow.id == 0)
    {
        // Density 0: the light falls off linearly from the centre to the rim.
        const Image image = GenImageGradientRadial(256, 256, 0.0f, WHITE, BLANK);
        look->glow = LoadTextureFromImage(image);
        UnloadImage(image);
        SetTextureFilter(look->glow, FILTER_BILINEAR);
    }
    BeginBlendMode(BLEND_ADDITIVE);
    for (const GLOW_LAYER_T &layer : GLOW_LAYERS)
    {
        const Color tint = Color{GLOW_TINT.r, GLOW_TINT.g, GLOW_TINT.b, layer.strength};
        DrawBillboard(camera, look->glow, Vector3{0.0f, 0.0f, 0.0f}, layer.diameter * field.disc_radius,
                      tint);
    }
    EndBlendMode();
}

void UnloadGalaxyLook(GALAXY_LOOK_T *look)
{
    if (look->glow.id != 0) UnloadTexture(look->glow);
    look->glow = Texture2D{};
}
