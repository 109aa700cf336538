// Star colours. Position-made ones come first and at once: the bulge's old population is warm,
// the arms' young one blue; a small per-star scatter, hashed from the position's bits, keeps
// neighbours from being one flat tint without drawing from the shared random stream (whose
// order is the galaxy's). Each star's own colour, from its system, replaces them over a few
// frames.
#include "galaxy/star_color.h"

#include <cmath>
#include <cstring>

#include "galaxy/galaxy.h"
#include "galaxy/galaxy_systems.h"
#include "galaxy/star_system_on_demand.h"
#include "random/random.h"

namespace
{
// Fractions of the disc radius: inside BULGE_END the colour is the bulge's, beyond ARM_START
// the arms'; between them it blends smoothly.
constexpr float BULGE_END = 0.08f;
constexpr float ARM_START = 0.45f;
constexpr float BULGE_RGB[3] = {255.0f, 214.0f, 160.0f};
constexpr float ARM_RGB[3] = {168.0f, 198.0f, 255.0f};
// How far the scatter moves the blend, as a fraction of the whole way from bulge to arm.
constexpr float SCATTER = 0.35f;

uint32_t HashPosition(Vector3 p)
{
    uint32_t bits[3] = {0, 0, 0};
    std::memcpy(bits, &p, sizeof bits);
    uint32_t h = 2166136261u;
    for (uint32_t b : bits)
        h = (h ^ b) * 16777619u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return h;
}

unsigned char Channel(float a, float b, float t)
{
    const float v = a + (b - a) * t;
    return (unsigned char)(v < 0.0f ? 0.0f : (v > 255.0f ? 255.0f : v + 0.5f));
}
} // namespace

Color StarColorFromPosition(Vector3 position, float disc_radius)
{
    float t = 1.0f;
    const float r = std::sqrt(position.x * position.x + position.z * position.z);
    if (disc_radius > 0.0f && std::isfinite(disc_radius) && std::isfinite(r))
    {
        const float x = (r / disc_radius - BULGE_END) / (ARM_START - BULGE_END);
        const float c = x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
        t = c * c * (3.0f - 2.0f * c);
    }
    // Scatter in -SCATTER/2 .. +SCATTER/2 around the blend, kept inside the two end colours.
    const float scatter = ((float)(HashPosition(position) & 0xffffu) / 65535.0f - 0.5f) * SCATTER;
    float s = t + scatter;
    s = s < 0.0f ? 0.0f : (s > 1.0f ? 1.0f : s);
    return Color{Channel(BULGE_RGB[0], ARM_RGB[0], s), Channel(BULGE_RGB[1], ARM_RGB[1], s),
                 Channel(BULGE_RGB[2], ARM_RGB[2], s), 255};
}

float FillStarColors(const IOBJECT_T *stars, uint32_t count, std::vector<Color> *colors)
{
    float radius = 0.0f;
    for (uint32_t k = 0; k < count; k++)
    {
        const Vector3 p = stars[k].position;
        const float r = std::sqrt(p.x * p.x + p.z * p.z);
        if (r > radius) radius = r; // NaN never wins
    }
    colors->resize(count);
    for (uint32_t k = 0; k < count; k++)
        (*colors)[k] = StarColorFromPosition(stars[k].position, radius);
    return radius;
}

void FillStarColorsFromPositions(GALAXY *galaxy)
{
    const uint32_t count = (uint32_t)galaxy->star_list.Count();
    galaxy->disc_radius = FillStarColors(galaxy->stars, count, &galaxy->star_colors);
    galaxy->star_colors_filled = count;
    galaxy->star_colors_from_systems = 0;
    galaxy->star_colors_version += 1;
}

bool ColorStarsFromSystems(GALAXY *galaxy, double budget_ms)
{
    // About a third of a millisecond a chunk, so the budget is kept to within one chunk.
    constexpr uint32_t CHUNK = 2048;
    const uint32_t count = (uint32_t)galaxy->star_colors.size();
    if (galaxy->star_colors_from_systems >= count) return true;
    const double end = ClockSeconds() + budget_ms / 1000.0;
    float kelvin[CHUNK];
    do
    {
        const uint32_t first = galaxy->star_colors_from_systems;
        const uint32_t n = (count - first < CHUNK) ? count - first : CHUNK;
        StarSystemPrimaryTemperatures(galaxy->shape, first, n, kelvin);
        for (uint32_t k = 0; k < n; k++) galaxy->star_colors[first + k] = UnpackColor(TemperatureColor(kelvin[k], 255));
        galaxy->star_colors_from_systems = first + n;
    } while (galaxy->star_colors_from_systems < count && ClockSeconds() < end);
    galaxy->star_colors_version += 1;
    return galaxy->star_colors_from_systems >= count;
}
