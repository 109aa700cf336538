// Star colours. Position-made ones come first and at once: the bulge's old population is warm,
// the arms' young one blue; a small per-star scatter, hashed from the position's bits, keeps
// neighbours from being one flat tint without drawing from the shared random stream (whose
// order is the galaxy's).
#include "galaxy/star_color.h"

#include <cmath>
#include <cstring>


namespace
{
// Fractions of the disc radius: inside BULGE_END the colour is the bulge's, beyond ARM_START
// the arms'; between them it blends smoothly (a cubic ramp over the squared distance, so no
// star needs a square root).
constexpr float BULGE_END = 0.08f;
constexpr float ARM_START = 0.45f;
constexpr float BULGE_RGB[3] = {255.0f, 214.0f, 160.0f};
constexpr float ARM_RGB[3] = {168.0f, 198.0f, 255.0f};
// The blend in steps from the bulge's colour (0) to the arms' (BLEND_STEPS); the scatter
// moves it by up to SCATTER_STEPS either way, about 0.35 of the whole way end to end.
constexpr int BLEND_STEPS = 255;
constexpr int SCATTER_STEPS = 44;

struct PALETTE_T
{
    Color color[BLEND_STEPS + 1];
};

constexpr unsigned char Channel(float a, float b, float t)
{
    return (unsigned char)(a + (b - a) * t + 0.5f);
}

constexpr PALETTE_T MakePalette(void)
{
    PALETTE_T palette = {};
    for (int i = 0; i <= BLEND_STEPS; i++)
    {
        const float t = (float)i / (float)BLEND_STEPS;
        palette.color[i] = Color{Channel(BULGE_RGB[0], ARM_RGB[0], t), Channel(BULGE_RGB[1], ARM_RGB[1], t),
                                 Channel(BULGE_RGB[2], ARM_RGB[2], t), 255};
    }
    return palette;
}

constexpr PALETTE_T PALETTE = MakePalette();

// The ramp for one disc radius: x = r^2 * scale - offset runs from 0 at BULGE_END to 1 at
// ARM_START.
struct RAMP_T
{
    float scale;
    float offset;
};

RAMP_T MakeRamp(float disc_radius)
{
    const float a = BULGE_END * disc_radius;
    const float b = ARM_START * disc_radius;
    const float span = b * b - a * a;
    // No usable radius: the arms' colour everywhere (x is 1 for every star).
    if (!(disc_radius > 0.0f) || !std::isfinite(disc_radius) || !(span > 0.0f) || !std::isfinite(span))
        return RAMP_T{0.0f, -1.0f};
    return RAMP_T{1.0f / span, a * a / span};
}

// One multiply per coordinate's bits and the top byte of their mix: enough to keep
// neighbours apart, and the same star always gets the same scatter.
inline int ScatterSteps(Vector3 p)
{
    uint32_t bits[3] = {0, 0, 0};
    std::memcpy(bits, &p, sizeof bits);
    const uint32_t h = bits[0] * 0x9e3779b1u ^ bits[1] * 0x85ebca77u ^ bits[2] * 0xc2b2ae3du;
    const uint32_t mixed = (h ^ (h >> 15)) * 0x2c1b3c6du;
    return (int)((mixed >> 24) * (2 * SCATTER_STEPS + 1) >> 8) - SCATTER_STEPS;
}

// Populations' colours, indexed by STAR_POPULATION_T.
constexpr Color POPULATION_COLORS[] = {
    {255, 255, 255, 255}, // none: never used, a classic star takes its position's colour
    {255, 190, 130, 255}, // old
    {255, 228, 196, 255}, // disc
    {165, 195, 255, 255}, // young
    {255, 110, 170, 255}, // HII
};
constexpr int32_t POPULATION_COUNT = (int32_t)(sizeof POPULATION_COLORS / sizeof POPULATION_COLORS[0]);

inline unsigned char Scattered(unsigned char channel, int steps)
{
    const int value = (int)channel + steps;
    return (unsigned char)(value < 0 ? 0 : (value > 255 ? 255 : value));
}

inline Color TintAt(const RAMP_T &ramp, Vector3 p)
{
    float x = (p.x * p.x + p.z * p.z) * ramp.scale - ramp.offset;
    x = x < 1.0f ? x : 1.0f; // a NaN distance counts as the arms'
    x = x > 0.0f ? x : 0.0f;
    const float t = x * x * (3.0f - 2.0f * x);
    int step = (int)(t * (float)BLEND_STEPS + 0.5f) + ScatterSteps(p);
    step = step < 0 ? 0 : (step > BLEND_STEPS ? BLEND_STEPS : step);
    return PALETTE.color[step];
}
} // namespace

float FarthestFromAxis(const IOBJECT_T *stars, uint32_t count)
{
    // By squared distance: the root of the largest square is the largest root.
    float farthest2 = 0.0f;
    for (uint32_t k = 0; k < count; k++)
    {
        const Vector3 p = stars[k].position;
        const float r2 = p.x * p.x + p.z * p.z;
        farthest2 = r2 > farthest2 ? r2 : farthest2; // NaN never wins
    }
    return std::sqrt(farthest2);
}

void ColorStarsFromPositions(const IOBJECT_T *stars, uint32_t count, float disc_radius, Color *out)
{
    const RAMP_T ramp = MakeRamp(disc_radius);
    for (uint32_t k = 0; k < count; k++) out[k] = TintAt(ramp, stars[k].position);
}

void ColorStarsFromPopulations(const IOBJECT_T *stars, uint32_t count, float disc_radius, Color *out)
{
    const RAMP_T ramp = MakeRamp(disc_radius);
    for (uint32_t k = 0; k < count; k++)
    {
        const int32_t population = stars[k].tag;
        if (population <= 0 || population >= POPULATION_COUNT)
        {
            out[k] = TintAt(ramp, stars[k].position);
            continue;
        }
        // The same hashed scatter as the classic colours, as a brightness step on every channel.
        const int steps = ScatterSteps(stars[k].position) / 2;
        const Color base = POPULATION_COLORS[population];
        out[k] = Color{Scattered(base.r, steps), Scattered(base.g, steps), Scattered(base.b, steps), 255};
    }
}

Color StarColorFromPosition(Vector3 position, float disc_radius)
{
    return TintAt(MakeRamp(disc_radius), position);
}

float FillStarColors(const IOBJECT_T *stars, uint32_t count, std::vector<Color> *colors)
{
    const float radius = FarthestFromAxis(stars, count);
    colors->resize(count);
    ColorStarsFromPositions(stars, count, radius, colors->data());
    return radius;
}

Color PopulationColor(int32_t population)
{
    return (population >= 0 && population < POPULATION_COUNT) ? POPULATION_COLORS[population] : POPULATION_COLORS[0];
}

float FillPopulationColors(const IOBJECT_T *stars, uint32_t count, std::vector<Color> *colors)
{
    const float radius = FarthestFromAxis(stars, count);
    colors->resize(count);
    ColorStarsFromPopulations(stars, count, radius, colors->data());
    return radius;
}
