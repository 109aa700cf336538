// The orrery's layout and motion. Every drawn distance is measured from the parent's surface on
// a square-root scale, so the model stays readable from a hot Jupiter at 0.02 AU to a pair
// hundreds of AU apart; eccentricities are kept as they are, so ellipses read as ellipses.
#include "orrery/orrery.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "systems/stars.h"
#include "systems/temperature_color.h"

namespace
{
constexpr float PI_F = 3.14159265358979f;
constexpr float GOLDEN_ANGLE = 2.39996323f; // radians: neighbours never line up
constexpr double EARTH_DIAMETER_KM = 12742.0;
constexpr double DAYS_PER_YEAR = 365.25;
// Beyond this an ellipse would run its body through what it orbits on the drawn scale.
constexpr float MOST_ECCENTRICITY = 0.8f;

// The planet kinds' colours, lit side (1 asteroid belt, 2 terrestrial, 3 chunk, 4 giant,
// 5 jovian, 6 interloper).
constexpr Color PLANET_COLORS[7] = {{160, 160, 160, 255}, {150, 140, 130, 255}, {176, 120, 92, 255},
                                    {140, 128, 118, 255}, {110, 170, 215, 255}, {222, 186, 136, 255},
                                    {170, 150, 190, 255}};
constexpr Color LIVING_COLOR = {90, 150, 200, 255}; // a terrestrial planet in the habitable zone
constexpr Color MOON_COLOR = {185, 182, 176, 255};

float Finite(double value, float otherwise)
{
    return std::isfinite(value) ? (float)value : otherwise;
}

float CubeRootSize(double size, float unit, float least, float most)
{
    if (!(size > 0.0) || !std::isfinite(size)) return least;
    return std::min(most, std::max(least, unit * (float)std::cbrt(size)));
}

float RootAu(double au)
{
    return (au > 0.0 && std::isfinite(au)) ? ORRERY_UNITS_PER_ROOT_AU * (float)std::sqrt(au) : 0.0f;
}

std::string Format(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char *format, ...)
{
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// The point of an ellipse with semi-major axis a and eccentricity e, from its focus, at mean
// anomaly m: Kepler's equation solved by Newton's method, a few steps being plenty below e = 0.8.
Vector3 OnEllipse(float a, float e, float m, float perihelion)
{
    float anomaly = m + e * std::sin(m);
    for (int step = 0; step < 6; step++)
        anomaly -= (anomaly - e * std::sin(anomaly) - m) / (1.0f - e * std::cos(anomaly));
    const float x = a * (std::cos(anomaly) - e);
    const float z = a * std::sqrt(1.0f - e * e) * std::sin(anomaly);
    const float c = std::cos(perihelion), s = std::sin(perihelion);
    return Vector3{x * c - z * s, 0.0f, x * s + z * c};
}

ORRERY_BODY_T StarBody(const STAR_T &star, int32_t index)
{
    ORRERY_BODY_T body;
    body.kind = ORRERY_STAR;
    body.star = index;
    body.name = star.designation;
    body.radius = CubeRootSize(star.radius, ORRERY_STAR_RADIUS, 1.5f, 12.0f);
    body.temperature = Finite(star.temperature, 5800.0f);
    body.color = UnpackColor(TemperatureColor(body.temperature, 255));
    return body;
}
} // namespace

ORRERY_T MakeOrrery(const STAR_SYSTEM_T &system)
{
    ORRERY_T orrery;
    const SYSTEM_T &s = system.system;
    const uint32_t star_count = std::min<uint32_t>(s.star_count, 2);
    const std::string system_name = s.name;

    // The stars first, so that every planet's parent is already in place.
    float stars_reach = 0.0f; // how far the stars' drawn surfaces reach from the origin
    const double separation = star_count == 2 ? std::fabs(s.stars[0].orbit_radius) + std::fabs(s.stars[1].orbit_radius)
                                              : 0.0;
    for (uint32_t i = 0; i < star_count; i++)
    {
        ORRERY_BODY_T body = StarBody(s.stars[i], (int32_t)i);
        if (star_count == 2)
        {
            const float drawn_radii = StarBody(s.stars[0], 0).radius + StarBody(s.stars[1], 1).radius;
            // Each star's share of the drawn gap follows its share of the true one.
            const double share = separation > 0.0 ? std::fabs(s.stars[i].orbit_radius) / separation : 0.5;
            body.orbit = (RootAu(separation) + drawn_radii * 1.2f) * (float)share + body.radius * 0.2f;
            const double period = SystemPairPeriodYears(s);
            if (std::isfinite(period) && period > 0.0) body.period_years = period;
            body.phase = i == 0 ? 0.0f : PI_F;
        }
        stars_reach = std::max(stars_reach, body.orbit + body.radius);
        orrery.bodies.push_back(body);
    }

    for (uint32_t i = 0; i < star_count; i++)
    {
        const STAR_T &star = s.stars[i];
        const float star_radius = orrery.bodies[i].radius;
        if (star.habitable_outer > star.habitable_inner && star.habitable_inner > 0.0)
            orrery.zones.push_back(ORRERY_ZONE_T{(int32_t)i, star_radius + RootAu(star.habitable_inner),
                                                 star_radius + RootAu(star.habitable_outer)});
        for (uint32_t p = 0; p < star.planet_count; p++)
        {
            const PLANET_T &planet = star.planets[p];
            ORRERY_BODY_T body;
            body.kind = planet.kind == 1 ? ORRERY_BELT : ORRERY_PLANET;
            body.star = (int32_t)i;
            body.planet = (int32_t)p;
            body.name = Format("%s %c%s", system_name.c_str(), (char)('b' + std::min<uint32_t>(p, 24)),
                               star_count == 2 ? (i == 0 ? " (A)" : " (B)") : "");
            // Measured from what the planet must stay clear of: its star's surface, or for a
            // planet round the pair, the reach of both stars.
            const bool round_pair = planet.orbits_pair && star_count == 2;
            body.parent = round_pair ? -1 : (int32_t)i;
            const float inside = round_pair ? stars_reach * 1.15f : star_radius;
            const bool belt = body.kind == ORRERY_BELT;
            body.radius = belt ? std::max(0.3f, 0.06f * (inside + RootAu(planet.orbit_radius)))
                               : CubeRootSize(planet.diameter / EARTH_DIAMETER_KM, ORRERY_EARTH_RADIUS,
                                              ORRERY_SMALLEST, 5.0f);
            body.orbit = inside + body.radius + RootAu(planet.orbit_radius);
            // On the drawn scale a very eccentric orbit would carry its body through what it
            // orbits; such an ellipse is drawn rounder, just clear of it.
            const float clear = inside + body.radius;
            const float roundest = body.orbit > clear ? 1.0f - clear / body.orbit : 0.0f;
            body.eccentricity =
                std::min({MOST_ECCENTRICITY, roundest, std::max(0.0f, Finite(planet.eccentricity, 0.0f))});
            body.period_years = std::isfinite(planet.orbit_period) && planet.orbit_period > 0.0 ? planet.orbit_period : 0.0;
            body.phase = GOLDEN_ANGLE * (float)(p + 1) + 0.7f * (float)i;
            body.perihelion = GOLDEN_ANGLE * (float)(2 * p + 1);
            const bool living = planet.kind == 2 && planet.in_habitable_zone;
            body.color = living ? LIVING_COLOR : PLANET_COLORS[std::min<uint32_t>(planet.kind, 6)];
            const int32_t planet_body = (int32_t)orrery.bodies.size();
            orrery.bodies.push_back(body);
            if (body.kind == ORRERY_BELT) continue;

            // Moons in the order of their true distances, each a rank further out.
            std::vector<uint32_t> order(planet.moon_count);
            for (uint32_t m = 0; m < planet.moon_count; m++) order[m] = m;
            std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
                return planet.moons[a].orbit_radius < planet.moons[b].orbit_radius;
            });
            for (uint32_t rank = 0; rank < planet.moon_count; rank++)
            {
                const MOON_T &moon = planet.moons[order[rank]];
                ORRERY_BODY_T m;
                m.kind = ORRERY_MOON;
                m.star = (int32_t)i;
                m.planet = (int32_t)p;
                m.moon = (int32_t)order[rank];
                m.parent = planet_body;
                m.name = Format("%s, moon %u", body.name.c_str(), order[rank] + 1);
                m.radius = CubeRootSize(moon.diameter / EARTH_DIAMETER_KM, ORRERY_EARTH_RADIUS, ORRERY_SMALLEST * 0.6f,
                                        std::max(ORRERY_SMALLEST, body.radius * 0.5f));
                m.orbit = body.radius * (1.0f + ORRERY_MOON_SPACING * (float)(rank + 1)) + m.radius;
                m.period_years = std::isfinite(moon.orbit_period) && moon.orbit_period > 0.0
                                     ? moon.orbit_period / DAYS_PER_YEAR
                                     : 0.0;
                m.phase = GOLDEN_ANGLE * (float)(rank + 3);
                m.color = MOON_COLOR;
                orrery.bodies.push_back(m);
            }
        }
    }

    std::vector<float> reach(orrery.bodies.size(), 0.0f);
    for (size_t b = 0; b < orrery.bodies.size(); b++)
    {
        const ORRERY_BODY_T &body = orrery.bodies[b];
        const float own = body.orbit * (1.0f + body.eccentricity) + body.radius;
        reach[b] = (body.parent >= 0 ? reach[(size_t)body.parent] : 0.0f) + own;
        orrery.extent = std::max(orrery.extent, reach[b]);
    }
    for (const ORRERY_ZONE_T &zone : orrery.zones)
        orrery.extent = std::max(orrery.extent, reach[(size_t)zone.star_body] + zone.outer);
    orrery.scale_note = "Not to scale: distances as the square root of AU, sizes as the cube root, enlarged";
    return orrery;
}

void OrreryPositions(const ORRERY_T &orrery, double years, std::vector<Vector3> *positions)
{
    positions->assign(orrery.bodies.size(), Vector3{0.0f, 0.0f, 0.0f});
    for (size_t b = 0; b < orrery.bodies.size(); b++)
    {
        const ORRERY_BODY_T &body = orrery.bodies[b];
        double turns = body.period_years > 0.0 ? years / body.period_years : 0.0;
        turns -= std::floor(turns); // keeps the angle precise after many turns
        const float m = body.phase + 2.0f * PI_F * (float)turns;
        const Vector3 offset = OnEllipse(body.orbit, body.eccentricity, m, body.perihelion);
        const Vector3 centre = body.parent >= 0 ? (*positions)[(size_t)body.parent] : Vector3{0.0f, 0.0f, 0.0f};
        (*positions)[b] = Vector3{centre.x + offset.x, centre.y + offset.y, centre.z + offset.z};
    }
}

int32_t PickOrreryBody(const ORRERY_T &orrery, const std::vector<Vector3> &positions, Camera3D camera, int width,
                       int height, Vector2 pointer, float slack)
{
    const Vector3 forward = Vector3Normalize(Vector3Subtract(camera.target, camera.position));
    const float pixels_per_unit_at_one = (float)height / (2.0f * std::tan(camera.fovy * 0.5f * DEG2RAD));
    int32_t best = -1;
    float best_depth = 0.0f;
    for (size_t b = 0; b < orrery.bodies.size() && b < positions.size(); b++)
    {
        const ORRERY_BODY_T &body = orrery.bodies[b];
        if (body.kind == ORRERY_BELT) continue;
        const float depth = Vector3DotProduct(Vector3Subtract(positions[b], camera.position), forward);
        if (!(depth > 0.01f)) continue;
        const Vector2 at = GetWorldToScreenEx(positions[b], camera, width, height);
        const float reach = body.radius * pixels_per_unit_at_one / depth + slack;
        const float dx = at.x - pointer.x, dy = at.y - pointer.y;
        if (dx * dx + dy * dy > reach * reach) continue;
        if (best < 0 || depth < best_depth)
        {
            best = (int32_t)b;
            best_depth = depth;
        }
    }
    return best;
}

std::string OrreryDate(double years)
{
    if (!std::isfinite(years)) return "year ?";
    const double whole = std::floor(std::fabs(years));
    const int day = std::min(365, (int)((std::fabs(years) - whole) * DAYS_PER_YEAR));
    return Format("year %s%.0f, day %d", years < 0.0 ? "-" : "", whole, day);
}
