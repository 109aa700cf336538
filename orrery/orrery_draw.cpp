// Drawing the orrery with rlgl in the caller's 3-D mode. Spheres are built here rather than
// with DrawSphere so that each vertex can take its light from the body's star: a lit half and a
// dark half read as a sphere, a flat disc does not. The galaxy drawn before keeps its colours
// as a backdrop; only its depth is cleared, so the system is never hidden in it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "orrery/orrery.h"
#include "scene/opaque_picture.h"
#include "rlgl.h"
#include "scene/gl_calls.h"

namespace
{
constexpr float PI_F = 3.14159265358979f;
constexpr float GOLDEN_ANGLE = 2.39996323f;
constexpr int ORBIT_SEGMENTS = 120;
constexpr int BELT_PARTICLES = 420;
constexpr int MIN_RINGS = 3;
constexpr int MAX_RINGS = 16;
constexpr Color ORBIT_COLOR = {120, 135, 160, 120};
constexpr Color MOON_ORBIT_COLOR = {120, 135, 160, 60};
constexpr Color ZONE_COLOR = {60, 200, 90, 46};
constexpr Color BELT_COLOR = {175, 165, 150, 220};
constexpr Color HOVER_COLOR = {255, 255, 255, 230};
constexpr float DARK_SIDE = 0.10f; // the share of light the unlit half keeps, so it is not lost

unsigned char Alpha(unsigned char a, float fade)
{
    return (unsigned char)((float)a * fade);
}

// A unit sphere's triangles as vertex directions, counter-clockwise seen from outside, made
// once per ring count: the sines and cosines were most of a system frame's CPU time.
const std::vector<Vector3> &UnitSphere(int rings)
{
    static std::vector<Vector3> made[MAX_RINGS + 1];
    std::vector<Vector3> &sphere = made[rings];
    if (!sphere.empty()) return sphere;
    const int slices = rings * 2;
    sphere.reserve((size_t)(rings * slices * 6));
    for (int i = 0; i < rings; i++)
    {
        const float t0 = PI_F * (float)i / (float)rings, t1 = PI_F * (float)(i + 1) / (float)rings;
        for (int j = 0; j < slices; j++)
        {
            const float p0 = 2.0f * PI_F * (float)j / (float)slices, p1 = 2.0f * PI_F * (float)(j + 1) / (float)slices;
            const Vector3 n[4] = {{std::sin(t0) * std::cos(p0), std::cos(t0), std::sin(t0) * std::sin(p0)},
                                  {std::sin(t1) * std::cos(p0), std::cos(t1), std::sin(t1) * std::sin(p0)},
                                  {std::sin(t1) * std::cos(p1), std::cos(t1), std::sin(t1) * std::sin(p1)},
                                  {std::sin(t0) * std::cos(p1), std::cos(t0), std::sin(t0) * std::sin(p1)}};
            for (int k : {0, 2, 1, 0, 3, 2}) sphere.push_back(n[k]);
        }
    }
    return sphere;
}

// The stride through the orbits' segment ends for an orbit of this size on screen, so that a
// segment spans a few pixels: one of 1, 2, 3, 5 or 10 (each divides the segment count).
int OrbitStride(float radius, Vector3 centre, const Camera3D &camera, float pixels_per_unit_at_one)
{
    const float distance = std::max(1e-3f, Vector3Distance(centre, camera.position));
    const float circumference = 2.0f * PI_F * radius * pixels_per_unit_at_one / distance;
    const float wanted = circumference / 6.0f; // segments of about 6 pixels
    for (int stride : {10, 5, 3, 2})
        if ((float)(ORBIT_SEGMENTS / stride) >= wanted) return stride;
    return 1;
}

// As many rings as the sphere's size on screen asks for, up to `most`: a moon a few pixels
// across looks the same with four rings as with eight, at a fraction of the vertices.
int RingsFor(float radius, Vector3 centre, const Camera3D &camera, float pixels_per_unit_at_one, int most)
{
    const float distance = std::max(1e-3f, Vector3Distance(centre, camera.position));
    const float pixels = radius * pixels_per_unit_at_one / distance;
    return std::max(MIN_RINGS, std::min(most, (int)std::ceil(3.0f * std::sqrt(std::max(0.0f, pixels)))));
}

// A sphere whose vertices are lit from `light` (a unit vector from the centre to the star).
void DrawLitSphere(Vector3 centre, float radius, Color color, Vector3 light, bool lit, float fade, int rings)
{
    const std::vector<Vector3> &sphere = UnitSphere(rings);
    if (rlCheckBufferLimit((int)sphere.size())) rlglDraw();
    const unsigned char alpha = Alpha(color.a, fade);
    rlBegin(RL_TRIANGLES);
    for (const Vector3 &n : sphere)
    {
        float shade = 1.0f;
        if (lit) shade = DARK_SIDE + (1.0f - DARK_SIDE) * std::max(0.0f, Vector3DotProduct(n, light));
        rlColor4ub((unsigned char)((float)color.r * shade), (unsigned char)((float)color.g * shade),
                   (unsigned char)((float)color.b * shade), alpha);
        rlVertex3f(centre.x + radius * n.x, centre.y + radius * n.y, centre.z + radius * n.z);
    }
    rlEnd();
}

// The cosines and sines of the orbits' segment ends, once.
struct ORBIT_ANGLES_T
{
    float cos[ORBIT_SEGMENTS + 1], sin[ORBIT_SEGMENTS + 1];
};

const ORBIT_ANGLES_T &OrbitAngles()
{
    static const ORBIT_ANGLES_T angles = [] {
        ORBIT_ANGLES_T made = {};
        for (int i = 0; i <= ORBIT_SEGMENTS; i++)
        {
            const float a = 2.0f * PI_F * (float)i / ORBIT_SEGMENTS;
            made.cos[i] = std::cos(a);
            made.sin[i] = std::sin(a);
        }
        return made;
    }();
    return angles;
}

// A circle in the plane of `right` and `up`.
void DrawLoop(Vector3 centre, float radius, Vector3 right, Vector3 up, Color color)
{
    if (rlCheckBufferLimit(2 * ORBIT_SEGMENTS)) rlglDraw();
    rlBegin(RL_LINES);
    rlColor4ub(color.r, color.g, color.b, color.a);
    const ORBIT_ANGLES_T &angles = OrbitAngles();
    for (int i = 0; i < ORBIT_SEGMENTS; i++)
        for (int k : {i, i + 1})
            rlVertex3f(centre.x + radius * (angles.cos[k] * right.x + angles.sin[k] * up.x),
                       centre.y + radius * (angles.cos[k] * right.y + angles.sin[k] * up.y),
                       centre.z + radius * (angles.cos[k] * right.z + angles.sin[k] * up.z));
    rlEnd();
}

// Every `stride`-th of the orbit's segment ends: a moon's orbit a few pixels wide reads the same
// with a tenth of the segments, and a crowded system has hundreds of them.
void DrawEllipse(Vector3 centre, const ORRERY_BODY_T &body, Color color, int stride)
{
    const float a = body.orbit, e = body.eccentricity;
    const float b = a * std::sqrt(1.0f - e * e);
    const float c = std::cos(body.perihelion), s = std::sin(body.perihelion);
    if (rlCheckBufferLimit(2 * ORBIT_SEGMENTS)) rlglDraw();
    rlBegin(RL_LINES);
    rlColor4ub(color.r, color.g, color.b, color.a);
    const ORBIT_ANGLES_T &angles = OrbitAngles();
    Vector3 last = {};
    for (int i = 0; i <= ORBIT_SEGMENTS; i += stride)
    {
        const float x = a * (angles.cos[i] - e), z = b * angles.sin[i];
        const Vector3 at = {centre.x + x * c - z * s, centre.y, centre.z + x * s + z * c};
        if (i > 0)
        {
            rlVertex3f(last.x, last.y, last.z);
            rlVertex3f(at.x, at.y, at.z);
        }
        last = at;
    }
    rlEnd();
}

void DrawZone(Vector3 centre, float inner, float outer, Color color)
{
    constexpr int SEGMENTS = 96;
    if (rlCheckBufferLimit(6 * SEGMENTS)) rlglDraw();
    rlBegin(RL_TRIANGLES);
    rlColor4ub(color.r, color.g, color.b, color.a);
    for (int i = 0; i < SEGMENTS; i++)
    {
        const float a0 = 2.0f * PI_F * (float)i / SEGMENTS, a1 = 2.0f * PI_F * (float)(i + 1) / SEGMENTS;
        const Vector3 p[4] = {{centre.x + inner * std::cos(a0), centre.y, centre.z + inner * std::sin(a0)},
                              {centre.x + outer * std::cos(a0), centre.y, centre.z + outer * std::sin(a0)},
                              {centre.x + outer * std::cos(a1), centre.y, centre.z + outer * std::sin(a1)},
                              {centre.x + inner * std::cos(a1), centre.y, centre.z + inner * std::sin(a1)}};
        const int order[6] = {0, 1, 2, 0, 2, 3};
        for (int k : order) rlVertex3f(p[k].x, p[k].y, p[k].z);
    }
    rlEnd();
}

// A belt's stones, spread over its width and a little above and below the plane, turning with
// the belt's year; each a small square facing the camera.
void DrawBelt(Vector3 centre, Vector3 at, const ORRERY_BODY_T &body, Vector3 right, Vector3 up, float fade)
{
    const float turned = std::atan2(at.z - centre.z, at.x - centre.x);
    const float size = 0.06f + 0.004f * body.orbit;
    if (rlCheckBufferLimit(6 * BELT_PARTICLES)) rlglDraw();
    rlBegin(RL_TRIANGLES);
    rlColor4ub(BELT_COLOR.r, BELT_COLOR.g, BELT_COLOR.b, Alpha(BELT_COLOR.a, fade));
    for (int k = 0; k < BELT_PARTICLES; k++)
    {
        // A fixed spread from the particle's number alone, so the belt keeps its look.
        uint32_t h = (uint32_t)k * 2654435761u;
        h ^= h >> 15;
        h *= 2246822519u;
        h ^= h >> 13;
        const float u = (float)(h & 0xffffu) / 65535.0f - 0.5f;
        const float v = (float)(h >> 16) / 65535.0f - 0.5f;
        const float angle = turned + GOLDEN_ANGLE * (float)k;
        const float r = body.orbit + 2.0f * body.radius * u;
        const Vector3 p = {centre.x + r * std::cos(angle), centre.y + body.radius * 0.3f * v,
                           centre.z + r * std::sin(angle)};
        const Vector3 q[4] = {
            {p.x - size * (right.x + up.x), p.y - size * (right.y + up.y), p.z - size * (right.z + up.z)},
            {p.x + size * (right.x - up.x), p.y + size * (right.y - up.y), p.z + size * (right.z - up.z)},
            {p.x + size * (right.x + up.x), p.y + size * (right.y + up.y), p.z + size * (right.z + up.z)},
            {p.x - size * (right.x - up.x), p.y - size * (right.y - up.y), p.z - size * (right.z - up.z)}};
        const int order[6] = {0, 1, 2, 0, 2, 3};
        for (int i : order) rlVertex3f(q[i].x, q[i].y, q[i].z);
    }
    rlEnd();
}
} // namespace

void DrawOrrery(const ORRERY_T &orrery, const std::vector<Vector3> &positions, Camera3D camera,
                const ORRERY_DRAW_T &how)
{
    const int32_t hovered = how.hovered;
    const float fade = how.fade;
    if (positions.size() != orrery.bodies.size() || !(fade > 0.0f)) return;
    rlglDraw();
    // raylib's 3-D mode leaves the depth test as it finds it, and its 2-D mode turns it off.
    // rlgl's state calls act at once while its vertices wait in the batch, so each change
    // below follows a draw of what came before.
    rlEnableDepthTest();
    rlEnableDepthMask();
    if (how.clear_depth) glClear(GL_DEPTH_BUFFER_BIT);
    const float pixels_per_unit_at_one =
        0.5f * (float)std::max(1, how.screen_height) / std::max(1e-3f, std::tan(0.5f * camera.fovy * DEG2RAD));

    const Vector3 forward = Vector3Normalize(Vector3Subtract(camera.target, camera.position));
    const Vector3 right = Vector3Normalize(Vector3CrossProduct(forward, camera.up));
    const Vector3 up = Vector3CrossProduct(right, forward);
    auto parent_at = [&](const ORRERY_BODY_T &body) {
        return body.parent >= 0 ? positions[(size_t)body.parent] : Vector3{0.0f, 0.0f, 0.0f};
    };

    // Solid bodies first, writing depth, so lines and glows behind them are hidden.
    for (size_t b = 0; b < orrery.bodies.size(); b++)
    {
        const ORRERY_BODY_T &body = orrery.bodies[b];
        if (body.kind == ORRERY_BELT) continue;
        const bool star = body.kind == ORRERY_STAR;
        Vector3 light = {0.0f, 1.0f, 0.0f};
        if (!star && body.star >= 0 && (size_t)body.star < positions.size())
            light = Vector3Normalize(Vector3Subtract(positions[(size_t)body.star], positions[b]));
        const int most = star ? MAX_RINGS : (body.kind == ORRERY_PLANET ? 12 : 8);
        const int rings = RingsFor(body.radius, positions[b], camera, pixels_per_unit_at_one, most);
        DrawLitSphere(positions[b], body.radius, body.color, light, !star, fade, rings);
    }

    rlglDraw();
    rlDisableDepthMask();
    rlDisableBackfaceCulling(); // the zones and belts are flat and seen from either side
    // Large soft areas need no edge smoothing; a software rasteriser then blends each pixel
    // once instead of once per sample.
    EnableMultisample(false);
    for (const ORRERY_ZONE_T &zone : orrery.zones)
        DrawZone(positions[(size_t)zone.star_body], zone.inner, zone.outer,
                 Color{ZONE_COLOR.r, ZONE_COLOR.g, ZONE_COLOR.b, Alpha(ZONE_COLOR.a, fade)});
    for (size_t b = 0; b < orrery.bodies.size(); b++)
    {
        const ORRERY_BODY_T &body = orrery.bodies[b];
        const Color line = body.kind == ORRERY_MOON ? MOON_ORBIT_COLOR : ORBIT_COLOR;
        if (body.kind == ORRERY_BELT)
            DrawBelt(parent_at(body), positions[b], body, right, up, fade);
        else if (body.orbit > 0.0f)
            DrawEllipse(parent_at(body), body, Color{line.r, line.g, line.b, Alpha(line.a, fade)},
                        OrbitStride(body.orbit, parent_at(body), camera, pixels_per_unit_at_one));
    }
    if (hovered >= 0 && (size_t)hovered < orrery.bodies.size())
    {
        const ORRERY_BODY_T &body = orrery.bodies[(size_t)hovered];
        DrawLoop(positions[(size_t)hovered], body.radius * 1.35f + 0.15f, right, up,
                 Color{HOVER_COLOR.r, HOVER_COLOR.g, HOVER_COLOR.b, Alpha(HOVER_COLOR.a, fade)});
    }

    // Stars glow: shells of their colour added over what is behind them, their near halves alone.
    rlglDraw();
    rlEnableBackfaceCulling();
    BeginBlendMode(BLEND_ADDITIVE);
    for (size_t b = 0; b < orrery.bodies.size(); b++)
    {
        const ORRERY_BODY_T &body = orrery.bodies[b];
        if (body.kind != ORRERY_STAR) continue;
        const float shells[3] = {1.35f, 1.9f, 2.8f};
        const unsigned char strength[3] = {110, 55, 25};
        for (int k = 0; k < 3; k++)
        {
            const float radius = body.radius * shells[k];
            DrawLitSphere(positions[b], radius, Color{body.color.r, body.color.g, body.color.b, strength[k]},
                          Vector3{0.0f, 1.0f, 0.0f}, false, fade,
                          RingsFor(radius, positions[b], camera, pixels_per_unit_at_one, 10));
        }
    }
    EndBlendMode(); // draws the glow first
    EnableMultisample(true);
    rlEnableBackfaceCulling();
    rlEnableDepthMask();
    rlglDraw();
    rlDisableDepthTest();
}

void DimBackdrop(int screen_width, int screen_height, float share)
{
    if (!(share > 0.0f)) return;
    rlglDraw();
    EnableMultisample(false); // one blend per pixel, not per sample, over the whole window
    DrawRectangle(0, 0, screen_width, screen_height, Fade(BLACK, std::min(1.0f, share)));
    rlglDraw();
    EnableMultisample(true);
}

void DrawBackdropPicture(Texture2D picture, int screen_width, int screen_height)
{
    (void)screen_width;
    (void)screen_height;
    DrawOpaquePicture(picture, Vector2{0.0f, 0.0f});
}
