// The galaxy's star-system layer: one generated star system per point of the spiral, drawn as
// camera-facing sprites tinted by the colour of their stars' temperature. It lives beside the
// galaxy's star field and shares nothing with it but the spiral walk. The per-sprite rules
// need no window; only the sprite texture does.
#pragma once

#include <cstdint>

#include "galaxy/galaxy_shape.h"
#include "galaxy/star_field.h"
#include "scene/arraylist.h"
#include "scene/object.h"
#include "scene/vector_math.h"
#include "systems/stellar_object.h"
#include "systems/temperature_color.h"

class SYSTEM_LAYER_T : public IOBJECT_T
{
  public:
    // Centred on the origin with size (extent, extent, extent), as the galaxy it lies over. The
    // sprite texture is made only when a window exists.
    explicit SYSTEM_LAYER_T(int32_t extent);
    ~SYSTEM_LAYER_T() override;
    SYSTEM_LAYER_T(const SYSTEM_LAYER_T &) = delete;
    SYSTEM_LAYER_T &operator=(const SYSTEM_LAYER_T &) = delete;

    // One generated system per spiral point in system_list, replacing those before. Returns 1.
    // Draws from the random stream as it stands.
    int32_t GenerateSystems(const GALAXY_SHAPE_T &shape);
    int32_t GenerateSystems(int32_t arms, int32_t curvature, int32_t inner_radius, int32_t bulge_offset0,
                            int32_t bulge_offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz);
    // Pops every system off system_list and releases it with its stars.
    void EmptySystems(void);
    // Both run inside BeginMode3D/EndMode3D: every system, or every bare star of field, as a
    // sprite.
    void DrawSystems(Camera3D &camera, bool debug);
    void DrawStars(Camera3D &camera, const STAR_FIELD_T &field, bool debug);

    ARRAYLIST system_list; // SYSTEM_T records, owned
    Texture2D star_texture = {};
    float system_blink_ms = 0.0f; // DrawSystems' running time, milliseconds; never reset
};

// The sprite (galaxy_systems_draw.cpp): a white disc solid in its inner quarter and fading to
// transparent at the rim. Without a window: an empty texture.
Texture2D LoadStarTexture(void);
void UnloadStarTexture(Texture2D *texture);

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
