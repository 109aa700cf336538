// The orrery against what a person watching it must be able to rely on, over hundreds of
// generated systems: every body comes back after its own period, never runs through what it
// orbits, stays inside the extent the camera frames, and is the body picked where it is drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "galaxy/galaxy_shape.h"
#include "orrery/orrery.h"

namespace
{
constexpr int SYSTEMS = 300;

GALAXY_SHAPE_T Shape()
{
    return MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
}

Vector3 FromParent(const ORRERY_T &orrery, const std::vector<Vector3> &at, size_t body)
{
    const int32_t parent = orrery.bodies[body].parent;
    return Vector3Subtract(at[body], parent >= 0 ? at[(size_t)parent] : Vector3{0.0f, 0.0f, 0.0f});
}
} // namespace

// Catches a body that does not come back after its period (a wrong mean motion or a Kepler
// solution that drifts), a drawn ellipse that runs a body through its star or its planet, a
// body outside the extent the view frames, and a pair whose stars are not opposite.
TEST(Orrery, BodiesComeBackStayClearAndInsideTheFrame)
{
    int bodies_seen = 0, pairs_seen = 0;
    for (uint64_t star = 0; star < SYSTEMS; star++)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(Shape(), star, Vector3{0.0f, 0.0f, 0.0f}, &system);
        const ORRERY_T orrery = MakeOrrery(system);
        ASSERT_FALSE(orrery.bodies.empty());
        std::vector<Vector3> start, later;
        OrreryPositions(orrery, 0.0, &start);
        for (size_t b = 0; b < orrery.bodies.size(); b++)
        {
            const ORRERY_BODY_T &body = orrery.bodies[b];
            ASSERT_LT(body.parent, (int32_t)b) << "a parent must come before its children";
            if (body.period_years <= 0.0) continue;
            // Whole turns later the body is back where it was, seen from its parent.
            OrreryPositions(orrery, 3.0 * body.period_years, &later);
            const Vector3 a = FromParent(orrery, start, b), c = FromParent(orrery, later, b);
            EXPECT_LT(Vector3Distance(a, c), 2e-3f * std::max(1.0f, body.orbit)) << "star " << star << " " << body.name;
            bodies_seen++;
        }
        if (system.system.star_count == 2)
        {
            pairs_seen++;
            const Vector3 sum = Vector3Add(Vector3Normalize(start[0]), Vector3Normalize(start[1]));
            EXPECT_LT(Vector3Length(sum), 1e-3f) << "the pair's stars are not opposite, star " << star;
        }
        // At many moments of the slowest planet's year nothing overlaps what it orbits.
        double slowest = 0.0;
        for (const ORRERY_BODY_T &body : orrery.bodies)
            if (body.kind == ORRERY_PLANET) slowest = std::max(slowest, body.period_years);
        for (int k = 0; k < 24; k++)
        {
            std::vector<Vector3> at;
            OrreryPositions(orrery, slowest * k / 23.0 + 0.37 * k, &at);
            for (size_t b = 0; b < orrery.bodies.size(); b++)
            {
                const ORRERY_BODY_T &body = orrery.bodies[b];
                EXPECT_LE(Vector3Length(at[b]), orrery.extent + 1e-3f) << body.name << " outside the framed extent";
                if (body.kind == ORRERY_STAR || body.kind == ORRERY_BELT) continue;
                // Planets round the pair must keep clear of both stars; the rest of their parent.
                for (size_t other = 0; other < orrery.bodies.size(); other++)
                {
                    const bool around = (int32_t)other == body.parent ||
                                        (body.parent < 0 && orrery.bodies[other].kind == ORRERY_STAR);
                    if (!around) continue;
                    EXPECT_GT(Vector3Distance(at[b], at[other]), body.radius + orrery.bodies[other].radius)
                        << body.name << " runs through " << orrery.bodies[other].name << ", star " << star;
                }
            }
        }
    }
    EXPECT_GT(bodies_seen, 1000);
    EXPECT_GT(pairs_seen, 10);
}

// Catches a pick that misses a body at its own centre or takes one behind another, and one
// that finds a body where none is drawn.
TEST(Orrery, PickFindsTheNearestBodyDrawnAtThePointer)
{
    constexpr int WIDTH = 1366, HEIGHT = 768;
    uint32_t state = 12345u;
    auto unit = [&]() {
        state = state * 1664525u + 1013904223u;
        return (float)(state >> 8) / 16777216.0f;
    };
    int checked = 0, empty_checked = 0;
    for (uint64_t star = 0; star < 40; star++)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(Shape(), star, Vector3{0.0f, 0.0f, 0.0f}, &system);
        const ORRERY_T orrery = MakeOrrery(system);
        std::vector<Vector3> at;
        OrreryPositions(orrery, 10.0 * unit(), &at);
        for (int view = 0; view < 5; view++)
        {
            const float yaw = 6.2831853f * unit(), pitch = -1.4f * unit(), distance = orrery.extent * (0.6f + 1.5f * unit());
            Camera3D camera = {};
            camera.position = Vector3{distance * std::cos(pitch) * std::sin(yaw), -distance * std::sin(pitch),
                                      distance * std::cos(pitch) * std::cos(yaw)};
            camera.up = Vector3{0.0f, 1.0f, 0.0f};
            camera.fovy = 90.0f;
            camera.type = CAMERA_PERSPECTIVE;
            const Vector3 forward = Vector3Normalize(Vector3Negate(camera.position));
            for (size_t b = 0; b < orrery.bodies.size(); b++)
            {
                if (orrery.bodies[b].kind == ORRERY_BELT) continue;
                const float depth = Vector3DotProduct(Vector3Subtract(at[b], camera.position), forward);
                if (depth < 1.0f) continue;
                const Vector2 centre = GetWorldToScreenEx(at[b], camera, WIDTH, HEIGHT);
                if (centre.x < 0 || centre.y < 0 || centre.x >= WIDTH || centre.y >= HEIGHT) continue;
                const int32_t picked = PickOrreryBody(orrery, at, camera, WIDTH, HEIGHT, centre, 0.0f);
                ASSERT_GE(picked, 0) << orrery.bodies[b].name << " not picked at its own centre";
                const float picked_depth = Vector3DotProduct(Vector3Subtract(at[(size_t)picked], camera.position), forward);
                EXPECT_LE(picked_depth, depth + 1e-3f) << "picked a body behind " << orrery.bodies[b].name;
                checked++;
            }
            // A corner no body's disc reaches picks nothing.
            const Vector2 corner = {2.0f, 2.0f};
            bool covered = false;
            const float per_unit = (float)HEIGHT / 2.0f; // tan(45 degrees) = 1
            for (size_t b = 0; b < orrery.bodies.size(); b++)
            {
                const float depth = Vector3DotProduct(Vector3Subtract(at[b], camera.position), forward);
                if (depth <= 0.01f || orrery.bodies[b].kind == ORRERY_BELT) continue;
                const Vector2 c = GetWorldToScreenEx(at[b], camera, WIDTH, HEIGHT);
                covered = covered || Vector2Distance(c, corner) <= orrery.bodies[b].radius * per_unit / depth + 6.0f;
            }
            if (covered) continue;
            EXPECT_EQ(PickOrreryBody(orrery, at, camera, WIDTH, HEIGHT, corner, 6.0f), -1);
            empty_checked++;
        }
    }
    EXPECT_GT(checked, 500);
    EXPECT_GT(empty_checked, 50);
}

TEST(Orrery, DateReadsAsYearsAndDays)
{
    EXPECT_EQ(OrreryDate(0.0), "year 0, day 0");
    EXPECT_EQ(OrreryDate(2.5), "year 2, day 182");
    EXPECT_EQ(OrreryDate(-1.25), "year -1, day 91");
}
