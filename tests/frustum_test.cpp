// The view frustum: its sizes, its planes, and above all that it never hides a box the
// camera can see, checked against raylib's own projection of random camera poses.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "scene/frustum.h"

namespace
{
constexpr float FRAME_RATIO = 1366.0f / 768.0f;

Camera3D CameraAt(Vector3 position, Vector3 target, float fovy)
{
    Camera3D camera = {};
    camera.position = position;
    camera.target = target;
    camera.up = Vector3{0.0f, 1.0f, 0.0f};
    camera.fovy = fovy;
    camera.type = CAMERA_PERSPECTIVE;
    return camera;
}

FRUSTUM_T FrustumFor(Camera3D camera, float angle, float ratio, float near, float far)
{
    FRUSTUM_T frustum;
    frustum.SetInternals(angle, ratio, near, far);
    frustum.Update(camera);
    return frustum;
}

float PlaneValue(Vector4 plane, Vector3 p)
{
    return plane.x * p.x + plane.y * p.y + plane.z * p.z + plane.w;
}
} // namespace

// Catches a default frustum that rejects boxes before the first Update, or one whose
// zero corners do not limit the corner test to boxes around the origin.
TEST(Frustum, NeutralFrustumPassesExactlyTheBoxesAroundTheOrigin)
{
    const FRUSTUM_T frustum;
    for (int i = 0; i < 6; i++) EXPECT_EQ(frustum.planes[i].w, 1.0f);
    EXPECT_EQ(frustum.corners[7].x, 0.0f);
    EXPECT_EQ(frustum.angle, 0.0f);
    EXPECT_TRUE(frustum.BoxVisible(Vector3{-1.0f, -1.0f, -1.0f}, Vector3{1.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(frustum.BoxVisible(Vector3{0.0f, 0.0f, 0.0f}, Vector3{0.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(frustum.BoxVisible(Vector3{1.0f, -1.0f, -1.0f}, Vector3{2.0f, 1.0f, 1.0f}));
    EXPECT_FALSE(frustum.BoxVisible(Vector3{-1.0f, -1.0f, -2.0f}, Vector3{1.0f, 1.0f, -1.0f}));
}

// Catches the half-angle taken as the full angle (or radians as degrees), the ratio applied
// to the height, and near and far mixed up.
TEST(Frustum, InternalsGiveTheRectangleSizes)
{
    FRUSTUM_T frustum;
    frustum.SetInternals(170.0f, FRAME_RATIO, 1.0f, 100000.0f);
    EXPECT_NEAR(2.0f * frustum.near_half_width, 40.7f, 0.05f);
    EXPECT_NEAR(2.0f * frustum.near_half_height, 22.9f, 0.05f);
    EXPECT_NEAR(frustum.far_half_height, 1143005.2f, 1.0f);
    EXPECT_EQ(frustum.ratio, FRAME_RATIO);
    EXPECT_EQ(frustum.angle, 170.0f);
    EXPECT_EQ(frustum.near_distance, 1.0f);
    EXPECT_EQ(frustum.far_distance, 100000.0f);

    frustum.SetInternals(90.0f, 2.0f, 3.0f, 10.0f);
    EXPECT_NEAR(frustum.near_half_height, 3.0f, 1e-6f);
    EXPECT_NEAR(frustum.near_half_width, 6.0f, 1e-6f);
    EXPECT_NEAR(frustum.far_half_width, 20.0f, 1e-5f);
}

// Catches corners built from the wrong matrix fields or the apex at the world origin, and
// planes whose normals point outward.
TEST(Frustum, CornersSitInFrontOfTheCameraAndPlanesPointInward)
{
    // Camera at (0, 0, 50) looking toward -z: right is +x, up is +y.
    const FRUSTUM_T frustum = FrustumFor(CameraAt(Vector3{0.0f, 0.0f, 50.0f}, Vector3{0.0f, 0.0f, 0.0f}, 90.0f),
                                         90.0f, 2.0f, 1.0f, 20.0f);
    const Vector3 ntl = frustum.corners[NEAR_TOP_LEFT];
    EXPECT_NEAR(ntl.x, -2.0f, 1e-5f);
    EXPECT_NEAR(ntl.y, 1.0f, 1e-5f);
    EXPECT_NEAR(ntl.z, 49.0f, 1e-5f);
    const Vector3 fbr = frustum.corners[FAR_BOTTOM_RIGHT];
    EXPECT_NEAR(fbr.x, 40.0f, 1e-4f);
    EXPECT_NEAR(fbr.y, -20.0f, 1e-4f);
    EXPECT_NEAR(fbr.z, 30.0f, 1e-4f);

    // A point on the axis between near and far is inside every plane; points beyond each
    // face are outside exactly that one.
    const Vector3 inside = Vector3{0.0f, 0.0f, 40.0f};
    for (int i = 0; i < 6; i++)
    {
        EXPECT_GT(PlaneValue(frustum.planes[i], inside), 0.0f) << "plane " << i;
        const Vector3 n = Vector3{frustum.planes[i].x, frustum.planes[i].y, frustum.planes[i].z};
        EXPECT_NEAR(Vector3Length(n), 1.0f, 1e-6f);
    }
    EXPECT_LT(PlaneValue(frustum.planes[FRUSTUM_PLANE_TOP], Vector3{0.0f, 15.0f, 40.0f}), 0.0f);
    EXPECT_LT(PlaneValue(frustum.planes[FRUSTUM_PLANE_BOTTOM], Vector3{0.0f, -15.0f, 40.0f}), 0.0f);
    EXPECT_LT(PlaneValue(frustum.planes[FRUSTUM_PLANE_LEFT], Vector3{-25.0f, 0.0f, 40.0f}), 0.0f);
    EXPECT_LT(PlaneValue(frustum.planes[FRUSTUM_PLANE_RIGHT], Vector3{25.0f, 0.0f, 40.0f}), 0.0f);
    EXPECT_LT(PlaneValue(frustum.planes[FRUSTUM_PLANE_NEAR], Vector3{0.0f, 0.0f, 49.5f}), 0.0f);
    EXPECT_LT(PlaneValue(frustum.planes[FRUSTUM_PLANE_FAR], Vector3{0.0f, 0.0f, 29.0f}), 0.0f);
}

// Catches a test that needs every corner inside (straddling boxes lost), one that lets
// boxes behind the camera through, and a missing corner-extent step.
TEST(Frustum, BoxCases)
{
    const FRUSTUM_T frustum = FrustumFor(CameraAt(Vector3{0.0f, 0.0f, 50.0f}, Vector3{0.0f, 0.0f, 0.0f}, 90.0f),
                                         90.0f, 1.0f, 1.0f, 20.0f);
    // Inside, straddling the left plane, straddling the far plane.
    EXPECT_TRUE(frustum.BoxVisible(Vector3{-1.0f, -1.0f, 39.0f}, Vector3{1.0f, 1.0f, 41.0f}));
    EXPECT_TRUE(frustum.BoxVisible(Vector3{-30.0f, -1.0f, 39.0f}, Vector3{-5.0f, 1.0f, 41.0f}));
    EXPECT_TRUE(frustum.BoxVisible(Vector3{-1.0f, -1.0f, 20.0f}, Vector3{1.0f, 1.0f, 35.0f}));
    // Wholly behind the near plane (between eye and near plane, and behind the eye).
    EXPECT_FALSE(frustum.BoxVisible(Vector3{-0.2f, -0.2f, 49.2f}, Vector3{0.2f, 0.2f, 49.8f}));
    EXPECT_FALSE(frustum.BoxVisible(Vector3{-5.0f, -5.0f, 60.0f}, Vector3{5.0f, 5.0f, 70.0f}));
    // Beyond the far plane; wholly to one side.
    EXPECT_FALSE(frustum.BoxVisible(Vector3{-1.0f, -1.0f, 0.0f}, Vector3{1.0f, 1.0f, 29.0f}));
    EXPECT_FALSE(frustum.BoxVisible(Vector3{30.0f, -1.0f, 39.0f}, Vector3{40.0f, 1.0f, 41.0f}));
    // A box that contains the whole frustum.
    EXPECT_TRUE(frustum.BoxVisible(Vector3{-100.0f, -100.0f, -100.0f}, Vector3{100.0f, 100.0f, 100.0f}));
    // Beyond the frustum's reach on one axis: all eight corners have x below the box.
    EXPECT_FALSE(frustum.BoxVisible(Vector3{21.0f, 21.0f, 29.0f}, Vector3{30.0f, 30.0f, 31.0f}));
}

// Catches a test that claims to be exact: a box wholly outside the frustum, which every
// plane on its own sees partly in front and which lies within the frustum's extent on every
// axis, is reported visible. Outside-ness is proven here by sampling the box densely.
TEST(Frustum, ConservativeNearAnEdge)
{
    const FRUSTUM_T frustum = FrustumFor(CameraAt(Vector3{0.0f, 0.0f, 0.0f}, Vector3{1.0f, -0.5f, -1.0f}, 90.0f),
                                         90.0f, 1.0f, 1.0f, 20.0f);
    const Vector3 lo = Vector3{27.0f, -13.0f, -1.0f}, hi = Vector3{31.0f, -9.0f, 3.0f};
    for (int i = 0; i <= 20; i++)
    {
        for (int j = 0; j <= 20; j++)
        {
            for (int k = 0; k <= 20; k++)
            {
                const Vector3 p = Vector3{lo.x + 0.2f * i, lo.y + 0.2f * j, lo.z + 0.2f * k};
                bool outside = false;
                for (int n = 0; n < 6; n++) outside = outside || PlaneValue(frustum.planes[n], p) < 0.0f;
                ASSERT_TRUE(outside);
            }
        }
    }
    for (int n = 0; n < 6; n++)
    {
        float best = -1e30f;
        for (int k = 0; k < 8; k++)
        {
            const Vector3 c = Vector3{(k & 1) ? hi.x : lo.x, (k & 2) ? hi.y : lo.y, (k & 4) ? hi.z : lo.z};
            best = std::fmax(best, PlaneValue(frustum.planes[n], c));
        }
        EXPECT_GE(best, 0.0f) << "plane " << n << " alone would exclude the box";
    }
    EXPECT_TRUE(frustum.BoxVisible(lo, hi));
}

// The central promise: any box with a point that raylib projects inside the viewport, in
// front of the camera and within the frustum's depth, is reported visible. Run for the
// frame's own set-up (170 degree frustum, 90 degree camera) and for a frustum that matches
// the camera exactly, over random poses. Catches the apex at the world origin, swapped
// axes, inverted planes and a corner test that excludes too much.
TEST(Frustum, NeverHidesWhatTheCameraProjectsOnScreen)
{
    struct SETUP_T
    {
        float angle;
        float fovy;
        int width;
        int height;
    };
    const SETUP_T setups[] = {{170.0f, 90.0f, 1366, 768}, {60.0f, 60.0f, 800, 600}, {90.0f, 90.0f, 1366, 768}};
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> place(-400.0f, 400.0f);
    std::uniform_real_distribution<float> extent(0.5f, 60.0f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);

    for (const SETUP_T &setup : setups)
    {
        SCOPED_TRACE(setup.angle);
        const float ratio = (float)setup.width / (float)setup.height;
        const float near = 1.0f, far = 600.0f;
        int on_screen = 0, hidden = 0;
        for (int pose = 0; pose < 200; pose++)
        {
            const Camera3D camera =
                CameraAt(Vector3{place(rng), place(rng), place(rng)}, Vector3{place(rng), place(rng), place(rng)},
                         setup.fovy);
            const FRUSTUM_T frustum = FrustumFor(camera, setup.angle, ratio, near, far);
            const Vector3 forward = Vector3Normalize(Vector3Subtract(camera.target, camera.position));
            for (int n = 0; n < 100; n++)
            {
                const Vector3 lo = Vector3{place(rng), place(rng), place(rng)};
                const Vector3 hi = Vector3{lo.x + extent(rng), lo.y + extent(rng), lo.z + extent(rng)};
                bool projects = false;
                for (int s = 0; s < 40 && !projects; s++)
                {
                    // Corners first, then points inside the box.
                    const Vector3 p = (s < 8) ? Vector3{(s & 1) ? hi.x : lo.x, (s & 2) ? hi.y : lo.y,
                                                        (s & 4) ? hi.z : lo.z}
                                              : Vector3{lo.x + unit(rng) * (hi.x - lo.x),
                                                        lo.y + unit(rng) * (hi.y - lo.y),
                                                        lo.z + unit(rng) * (hi.z - lo.z)};
                    const float depth = Vector3DotProduct(Vector3Subtract(p, camera.position), forward);
                    if (depth < near * 1.01f || depth > far * 0.99f) continue;
                    const Vector2 screen = GetWorldToScreenEx(p, camera, setup.width, setup.height);
                    projects = screen.x > 1.0f && screen.x < setup.width - 1.0f && screen.y > 1.0f &&
                               screen.y < setup.height - 1.0f;
                }
                const bool visible = frustum.BoxVisible(lo, hi);
                if (projects)
                {
                    on_screen++;
                    EXPECT_TRUE(visible) << "box " << lo.x << "," << lo.y << "," << lo.z << " pose " << pose;
                }
                if (!visible) hidden++;
            }
        }
        // Both outcomes occur, so the check above was not vacuous.
        EXPECT_GT(on_screen, 1000);
        EXPECT_GT(hidden, 1000);
    }
}
