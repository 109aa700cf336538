// The look on screen: the octree's soft points, then a glow over the core as a few
// camera-facing soft quads added onto the frame, sized by the disc so that any galaxy's bulge
// gets one in proportion, then the dust of a Hubble type's arms darkening all of it.
#include "galaxy/galaxy_look.h"

#include "galaxy/hubble_galaxy.h"
#include "rlgl.h"

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
// A dust cloud multiplies what lies under its middle by about 1 - (alpha - rgb) / 255 = 0.85,
// a brownish grey that fades out to nothing at its rim.
constexpr Color DUST_TINT = Color{22, 17, 12, 60};

// Each cloud a square of the soft texture lying in the disc's plane, as the dust does: seen
// edge on, a lane is thin. Neither side is culled, and the glow's quads, which wrote depth in
// that very plane, must not hide the clouds.
void DrawDustClouds(const std::vector<Vector3> &clouds, Texture2D texture, float size)
{
    const float h = size / 2.0f;
    rlDisableBackfaceCulling();
    rlDisableDepthTest();
    for (const Vector3 &c : clouds)
    {
        if (rlCheckBufferLimit(4)) rlglDraw();
        rlEnableTexture(texture.id);
        rlBegin(RL_QUADS);
        rlColor4ub(DUST_TINT.r, DUST_TINT.g, DUST_TINT.b, DUST_TINT.a);
        rlTexCoord2f(0.0f, 0.0f);
        rlVertex3f(c.x - h, c.y, c.z - h);
        rlTexCoord2f(0.0f, 1.0f);
        rlVertex3f(c.x - h, c.y, c.z + h);
        rlTexCoord2f(1.0f, 1.0f);
        rlVertex3f(c.x + h, c.y, c.z + h);
        rlTexCoord2f(1.0f, 0.0f);
        rlVertex3f(c.x + h, c.y, c.z - h);
        rlEnd();
        rlDisableTexture();
    }
    rlglDraw();
    rlEnableDepthTest();
    rlEnableBackfaceCulling();
}
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

    // Dust absorbs the light of everything drawn before it: the stars behind and the glow.
    if (field.dust.empty()) return;
    BeginBlendMode(BLEND_MULTIPLIED); // draws what the batch holds, the glow included
    DrawDustClouds(field.dust, look->glow, HUBBLE_DUST_SIZE * field.disc_radius);
    EndBlendMode(); // draws the clouds
}

void UnloadGalaxyLook(GALAXY_LOOK_T *look)
{
    if (look->glow.id != 0) UnloadTexture(look->glow);
    look->glow = Texture2D{};
}
