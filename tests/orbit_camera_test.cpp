// The orbit camera without a window: start pose, steering, limits, centring, and motion that
// depends only on elapsed time, never on how it is cut into frames.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "scene/orbit_camera.h"
#include "scene/viewer_pose.h"

namespace
{
void Settle(ORBIT_CAMERA_T *cam, float seconds)
{
    for (float t = 0.0f; t < seconds; t += 0.05f) OrbitCameraUpdate(cam, 0.05f);
}

Vector3 Eye(const ORBIT_CAMERA_T &cam)
{
    return OrbitCameraToCamera3D(cam).position;
}
} // namespace

// Catches a changed start view; the automatic orbit turning the other way, at another speed
// than raylib's orbital mode at 60 Hz (0.01 radians a frame), changing height or distance as
// it turns, or not standing still while steering pauses it or Space stops it; a disc pick or
// centring that misses the point under the pointer; T not looking straight down; and R that
// misses the start or goes the long way round after many orbits.
TEST(OrbitCamera, StartsAtTheViewerPoseOrbitsCentresOnThePickAndResets)
{
    const Camera3D start = MakeViewerCamera();
    ORBIT_CAMERA_T cam = MakeOrbitCamera(start);
    const Camera3D back = OrbitCameraToCamera3D(cam);
    EXPECT_LT(Vector3Distance(back.position, start.position) + Vector3Distance(back.target, start.target), 1e-3f);
    EXPECT_TRUE(back.up.y == 1.0f && back.fovy == start.fovy && back.type == start.type);

    const Vector3 from = Vector3Subtract(back.position, back.target);
    for (int i = 0; i < 60; i++) OrbitCameraUpdate(&cam, 1.0f / 60.0f);
    const Vector3 eye = Eye(cam), to = Vector3Subtract(eye, cam.current.target);
    EXPECT_NEAR(atan2f(Vector3CrossProduct(from, to).y, from.x * to.x + from.z * to.z), 60 * 0.01f, 1e-4f);
    EXPECT_TRUE(fabsf(to.y - from.y) < 1e-3f && fabsf(Vector3Length(to) - Vector3Length(from)) < 1e-3f);
    OrbitCameraPan(&cam, 0.0f, 0.0f, 768.0f);
    Settle(&cam, ORBIT_STEER_PAUSE - 0.1f);
    EXPECT_LT(Vector3Distance(Eye(cam), eye), 1e-3f);
    OrbitCameraToggleAutoOrbit(&cam);
    Settle(&cam, 1.0f);
    EXPECT_LT(Vector3Distance(Eye(cam), eye), 1e-3f);

    const Vector3 star = Vector3{-80.0f, 0.0f, 35.0f};
    Vector3 pick = {};
    EXPECT_FALSE(PickPointOnDisc(Ray{eye, Vector3{1.0f, 0.0f, 0.0f}}, &pick) ||
                 PickPointOnDisc(Ray{eye, Vector3{0.0f, 1.0f, 0.0f}}, &pick) ||
                 PickPointOnDisc(Ray{eye, Vector3{NAN, -1.0f, 0.0f}}, &pick));
    ASSERT_TRUE(PickPointOnDisc(Ray{eye, Vector3Normalize(Vector3Subtract(star, eye))}, &pick));
    OrbitCameraCentreOn(&cam, pick);
    Settle(&cam, 2.0f);
    EXPECT_LT(Vector3Distance(OrbitCameraToCamera3D(cam).target, star), 1e-3f);
    EXPECT_NEAR(Vector3Distance(Eye(cam), star), Vector3Length(from), 1e-3f);
    OrbitCameraTopDown(&cam);
    OrbitCameraZoom(&cam, 5.0f);
    Settle(&cam, 2.0f);
    EXPECT_GT(Eye(cam).y - cam.current.target.y, 0.9998f * cam.current.distance); // straight down, from above
    for (int i = 1; i <= 24; i++)
    {
        ORBIT_CAMERA_T later = cam;
        OrbitCameraSetAutoOrbit(&later, true);
        Settle(&later, 0.5f * i);
        OrbitCameraReset(&later, start);
        ASSERT_LE(fabsf(later.goal.yaw - later.current.yaw), PI);
    }
    OrbitCameraReset(&cam, start);
    OrbitCameraSetAutoOrbit(&cam, false);
    Settle(&cam, 3.0f);
    EXPECT_LT(Vector3Distance(Eye(cam), start.position), 1e-2f);
}

// Catches a drag that changes the distance, tips the camera over the pole (the up vector
// would flip) or lets the goal lead by over half a turn (the camera would turn back); a pan
// off the screen plane, at the wrong rate or the wrong way (by raylib's own projection the old
// target must end up under the pointer, the camera moving with it); a zoom that drifts (in and
// out again must come home), escapes its limits or is too slow for a few notches to reach one
// arm; and NaN or infinity (a glitching device, a zero-sized window) reaching the pose, from
// which the camera would never recover.
TEST(OrbitCamera, SteeringStaysWithinTheLimitsFollowsThePointerAndSurvivesGarbage)
{
    ORBIT_CAMERA_T cam = MakeOrbitCamera(MakeViewerCamera());
    OrbitCameraSetAutoOrbit(&cam, false);
    const float start = cam.goal.distance;
    OrbitCameraZoom(&cam, 9.0f);
    EXPECT_LT(cam.goal.distance, 40.0f);
    OrbitCameraZoom(&cam, -9.0f);
    EXPECT_NEAR(cam.goal.distance, start, 1e-3f * start);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> pixels(-300.0f, 300.0f);
    for (int i = 0; i < 100; i++)
    {
        const float distance = cam.current.distance;
        OrbitCameraRotate(&cam, 20.0f * pixels(rng), 20.0f * pixels(rng));
        OrbitCameraUpdate(&cam, 0.02f);
        const Vector3 back = Vector3Subtract(Eye(cam), cam.current.target);
        ASSERT_NEAR(Vector3Length(back), distance, 1e-4f * distance);
        ASSERT_TRUE(fabsf(cam.current.pitch) <= ORBIT_PITCH_LIMIT && fabsf(cam.goal.yaw - cam.current.yaw) <= PI);
        ASSERT_LE(back.y * cam.current.pitch, 0.0f); // above the target when looking down
        OrbitCameraZoom(&cam, pixels(rng) / 100.0f);
        Settle(&cam, 5.0f);
        const Camera3D before = OrbitCameraToCamera3D(cam);
        const float dx = pixels(rng), dy = pixels(rng);
        OrbitCameraPan(&cam, dx, dy, 768.0f);
        Settle(&cam, 5.0f);
        const Vector3 moved = Vector3Subtract(cam.current.target, before.target);
        EXPECT_LT(Vector3Distance(Vector3Add(before.position, moved), Eye(cam)), 1e-2f);
        const Vector2 seen = GetWorldToScreenEx(before.target, OrbitCameraToCamera3D(cam), 1366, 768);
        EXPECT_TRUE(fabsf(seen.x - 683.0f - dx) < 0.5f && fabsf(seen.y - 384.0f - dy) < 0.5f) << i;
    }
    for (const float v : {100.0f, -100.0f, 1e30f, -1e30f, NAN, INFINITY, -INFINITY, 0.0f})
    {
        OrbitCameraZoom(&cam, v);
        OrbitCameraRotate(&cam, v, -v);
        OrbitCameraPan(&cam, v, v, 768.0f);
        OrbitCameraPan(&cam, 10.0f, 10.0f, v);
        OrbitCameraCentreOn(&cam, Vector3{v, v, v});
        OrbitCameraUpdate(&cam, v);
        Settle(&cam, 3.0f);
        const float distance = Vector3Distance(Eye(cam), cam.current.target);
        ASSERT_TRUE(std::isfinite(Vector3Length(cam.current.target)) && std::isfinite(distance)) << v;
        const float limit = (v > 0.0f) ? ORBIT_MIN_DISTANCE : ORBIT_MAX_DISTANCE;
        EXPECT_TRUE(!(fabsf(v) >= 100.0f) || std::isinf(v) || fabsf(distance - limit) < 0.01f * limit) << v;
    }
}

// Catches motion that depends on the frame rate (smoothing by a fixed fraction per frame, an
// orbit by a fixed angle per frame, a steering pause counted in frames) and smoothing that
// overshoots: random uneven splits of a time must end where 10 ms frames end, and without
// the orbit no frame may carry a value past its goal or away from it.
TEST(OrbitCamera, PoseDependsOnElapsedTimeNotOnFrames)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int trial = 0; trial < 200; trial++)
    {
        ORBIT_CAMERA_T cam = MakeOrbitCamera(MakeViewerCamera());
        OrbitCameraSetAutoOrbit(&cam, trial % 2 == 0);
        OrbitCameraRotate(&cam, 400.0f * unit(rng), 200.0f * unit(rng));
        OrbitCameraPan(&cam, 100.0f * unit(rng), 100.0f * unit(rng), 600.0f);
        OrbitCameraZoom(&cam, 10.0f * unit(rng));
        if (trial % 3 == 0) OrbitCameraCentreOn(&cam, Vector3{100.0f * unit(rng), 0.0f, -50.0f});
        if (trial % 5 == 0) OrbitCameraTopDown(&cam);
        ORBIT_CAMERA_T even = cam;
        const int steps = 1 + (int)(rng() % 300);
        for (int i = 0; i < steps; i++) OrbitCameraUpdate(&even, 0.01f);
        for (float left = 0.01f * steps; left > 0.0f;)
        {
            const float dt = fminf(left, 0.25f * fabsf(unit(rng) * unit(rng)));
            left -= dt;
            const ORBIT_POSE_T was = cam.current;
            OrbitCameraUpdate(&cam, dt);
            for (const auto value : {&ORBIT_POSE_T::yaw, &ORBIT_POSE_T::pitch, &ORBIT_POSE_T::distance})
            {
                const float before = was.*value - cam.goal.*value, after = cam.current.*value - cam.goal.*value;
                ASSERT_TRUE(cam.auto_orbit || (fabsf(after) <= fabsf(before) + 1e-5f && after * before >= 0.0f));
            }
        }
        EXPECT_LT(Vector3Distance(Eye(cam), Eye(even)), 1e-3f * Vector3Length(Eye(even))) << trial;
    }
}
