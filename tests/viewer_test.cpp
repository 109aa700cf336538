// The shell's own bookkeeping that needs no window, and its steering of the camera.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/heads_up.h"
#include "app/viewer.h"
#include "random/random.h"

namespace
{
void Tally(const OCTREE_T *node, uint64_t *nodes, uint64_t *points)
{
    *nodes += 1;
    *points += node->objects.Count();
    if (node->divided)
        for (const OCTREE_T *child : node->children)
            if (child != nullptr) Tally(child, nodes, points);
}
} // namespace

// Catches a test octree that grows for the whole run: a quarter of a million frames' worth of
// points (over an hour at 60 frames a second) keep "Points Inserted" counting every frame,
// while the tree never holds more than its bound and its nodes and points stay within the
// memory the README states.
TEST(Viewer, TestOctreeStaysBoundedOverALongRun)
{
    VIEWER_T viewer;
    viewer.test_octree = new OCTREE_T(CUBOID(Vector3{0.0f, 0.0f, 0.0f}, Vector3{512.0f, 512.0f, 512.0f}), 64);
    RandomSeed(3.0);
    uint64_t largest = 0;
    for (uint32_t frame = 1; frame <= 250000; frame++)
    {
        FeedRolledTestPoint(&viewer);
        ASSERT_EQ(viewer.points_inserted, frame);
        ASSERT_LE(viewer.test_points_held, TEST_OCTREE_MAX_POINTS);
        if (viewer.test_points_held != TEST_OCTREE_MAX_POINTS) continue;
        uint64_t nodes = 0, points = 0;
        Tally(viewer.test_octree, &nodes, &points);
        EXPECT_EQ(points, (uint64_t)TEST_OCTREE_MAX_POINTS);
        // Each point, its pointer in a leaf's list, and each node with its list storage.
        const uint64_t bytes = points * (sizeof(IOBJECT_T) + sizeof(void *)) + nodes * sizeof(OCTREE_T);
        largest = std::max(largest, bytes);
    }
    EXPECT_GT(largest, 0u) << "the bound was never reached";
    EXPECT_LE(largest, 10u * 1024u * 1024u);
    DestroyViewer(&viewer);
}

namespace
{
// The pointer's ray as raylib's GetMouseRay makes it, but through the projection the 3-D pass
// loads: unprojected from the near and the far plane.
Ray UnprojectedRay(const PICK_VIEW_T &view, Vector2 pointer)
{
    const Matrix projection = PickViewProjection(view);
    const Matrix look = MatrixLookAt(view.camera.position, view.camera.target, view.camera.up);
    const float x = 2.0f * pointer.x / (float)view.width - 1.0f, y = 1.0f - 2.0f * pointer.y / (float)view.height;
    const Vector3 near = Vector3Unproject(Vector3{x, y, 0.0f}, projection, look);
    const Vector3 far = Vector3Unproject(Vector3{x, y, 1.0f}, projection, look);
    return Ray{view.camera.position, Vector3Normalize(Vector3Subtract(far, near))};
}
} // namespace

// A double click on a disc seen from anywhere. Catches the new user's lost galaxy: a click
// near the horizon of the start view, at (683, 256) or (683, 300), that sends the centre far
// beyond the stars; a centre outside the disc for any ray; a ray that meets the plane behind
// the camera or grazes it and still moves the camera; and a shifted picture whose clicks land
// where the unshifted one would have them.
TEST(CameraControl, DoubleClicksCentreWithinTheDiscOrNotAtAll)
{
    GUI_INPUT_T input = {};
    input.double_click = input.left_pressed = input.left_down = true;
    CAMERA_SCENE_T scene;
    scene.disc_radius = 252.0f;
    scene.width = 1366;
    scene.height = 768;
    const Camera3D start = MakeViewerStartView();
    CAMERA_CONTROL_T control = MakeCameraControl(start);
    input.mouse = Vector2{683.0f, 256.0f};
    SteerCamera(&control, &input, true, true, 0.0f, scene);
    EXPECT_LT(Vector3Distance(control.orbit.goal.target, start.target), 1e-6f) << "the horizon moved the camera";
    input.mouse = Vector2{683.0f, 300.0f};
    SteerCamera(&control, &input, true, true, 0.0f, scene);
    const Vector3 rim = control.orbit.goal.target;
    EXPECT_NEAR(hypotf(rim.x, rim.z), 252.0f, 0.01f) << "beyond the disc, its rim is the nearest place";

    std::mt19937 rng(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), at(-600.0f, 600.0f);
    int moved = 0, kept = 0;
    for (int n = 0; n < 3000; n++)
    {
        const Camera3D camera = {Vector3{at(rng), at(rng), at(rng)}, Vector3{at(rng) / 4.0f, at(rng) / 8.0f, at(rng) / 4.0f},
                                 Vector3{0.0f, 1.0f, 0.0f}, 30.0f + 90.0f * unit(rng), CAMERA_PERSPECTIVE};
        control = MakeCameraControl(camera);
        scene.disc_radius = (n % 10 == 0) ? 0.0f : 300.0f * unit(rng);
        scene.shift_x = (n % 3 == 0) ? 0.0f : 600.0f * unit(rng) - 300.0f;
        input.mouse = Vector2{1366.0f * unit(rng), 768.0f * unit(rng)};
        const Vector3 before = control.orbit.goal.target;
        SteerCamera(&control, &input, true, true, 0.0f, scene);
        const Vector3 after = control.orbit.goal.target;

        const PICK_VIEW_T view = {OrbitCameraToCamera3D(control.orbit), scene.width, scene.height, scene.shift_x};
        const Ray ray = UnprojectedRay(view, input.mouse);
        const float elevation = asinf(fabsf(ray.direction.y)) - DISC_PICK_MIN_ELEVATION;
        if (fabsf(elevation) < 1e-3f) continue; // on the edge of grazing: either answer is right
        const bool ahead = ray.direction.y * ray.position.y < 0.0f;
        if (!ahead || elevation < 0.0f)
        {
            ASSERT_EQ(Vector3Distance(after, before), 0.0f) << n;
            kept++;
            continue;
        }
        moved++;
        const float t = -ray.position.y / ray.direction.y;
        const Vector3 meet = Vector3Add(ray.position, Vector3Scale(ray.direction, t));
        const float out = hypotf(meet.x, meet.z);
        const float pull = out > scene.disc_radius ? scene.disc_radius / out : 1.0f;
        ASSERT_EQ(after.y, 0.0f) << n;
        ASSERT_LE(hypotf(after.x, after.z), scene.disc_radius * 1.0001f + 1e-3f) << n;
        // The unprojected ray's direction is good to a few 1e-3 in float (near plane 0.01); on
        // the plane that grows as the ray flattens.
        const float slack = 0.05f + 4e-3f * t / fabsf(ray.direction.y);
        EXPECT_LT(Vector3Distance(after, Vector3{meet.x * pull, 0.0f, meet.z * pull}), slack) << n;
    }
    EXPECT_TRUE(moved > 300 && kept > 300) << moved << " moved, " << kept << " kept";
}

// Catches a heads-up block that runs under the panel beside it (as it did at 640 pixels wide),
// leaves the window, shrinks when it has room, or grows lines out of its band: over every
// window width the viewer allows and a few panel edges.
TEST(HeadsUp, TheBlockKeepsClearOfAPanelAndShrinksOnlyWhenItMust)
{
    const HUD_LAYOUT_T full = HeadsUpLayout(1366, 768);
    EXPECT_EQ(full.font_size, HUD_FONT_SIZE);
    for (int width = 640; width <= 2560; width++)
        for (float left : {0.0f, 360.0f, 480.0f})
        {
            const HUD_LAYOUT_T layout = HeadsUpLayout(width, 480, left);
            const Rectangle band = layout.band;
            ASSERT_GE(layout.font_size, HUD_LEAST_FONT_SIZE);
            ASSERT_LE(layout.font_size, HUD_FONT_SIZE);
            ASSERT_GE(band.x, 0.0f) << width;
            ASSERT_LE(band.x + band.width, (float)width) << width;
            // Text of the full block's width at the full size fits at this one.
            ASSERT_GE(band.width - 16.0f, (float)(HUD_BLOCK_WIDTH * layout.font_size / HUD_FONT_SIZE)) << width;
            ASSERT_LE(layout.line[HUD_LINE_COUNT - 1].y + (float)layout.line_height, band.y + band.height);
            const bool room = (float)width - 2.0f * (HUD_MARGIN + 8) - left >= (float)HUD_BLOCK_WIDTH;
            if (left == 0.0f || room)
            {
                ASSERT_EQ(layout.font_size, HUD_FONT_SIZE) << width << " " << left;
                ASSERT_EQ(band.x, (float)width - (full.band.width + 8.0f)) << width;
            }
            else if (layout.font_size > HUD_LEAST_FONT_SIZE)
            {
                ASSERT_GE(band.x, left + (float)HUD_MARGIN) << width << " " << left;
            }
        }
    // 640 wide beside the panel: a smaller font, clear of it.
    const HUD_LAYOUT_T small = HeadsUpLayout(640, 480, 360.0f);
    EXPECT_LT(small.font_size, HUD_FONT_SIZE);
    EXPECT_GE(small.band.x, 360.0f + (float)HUD_MARGIN);
}
