// Picking against brute force: the walk may open only the cells near the pointer's ray, so
// any cell it wrongly skips shows up as a star that looking at every star finds and it misses.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "galaxy/galaxy.h"
#include "octree/array_octree_pick.h"

namespace
{
STAR_PICK_T PickByLookingAtEveryStar(const ARRAY_OCTREE_T &tree, const PICK_VIEW_T &view, Vector2 pointer,
                                     float radius)
{
    STAR_PICK_T best;
    for (size_t k = 0; k < tree.draw_order.size(); k++)
    {
        Vector2 screen;
        float depth;
        if (!ProjectToScreen(view, tree.draw_positions[k], &screen, &depth)) continue;
        const float pixels = Vector2Distance(screen, pointer);
        if (pixels > radius) continue;
        if (!best.found || pixels < best.pixels || (pixels == best.pixels && depth < best.depth))
            best = STAR_PICK_T{true, tree.draw_order[k], pixels, depth};
    }
    return best;
}
} // namespace

// Catches a cone test that is too tight (near the camera, off the screen's centre, in narrow
// and wide views), stars behind the camera picked, and a projection that is not the window's.
TEST(StarPick, FindsWhatLookingAtEveryStarFinds)
{
    GALAXY galaxy(256);
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 1;
    GenerateGalaxy(&galaxy, shape);
    const ARRAY_OCTREE_T &tree = galaxy.field.tree;
    ASSERT_GT(tree.draw_order.size(), 10000u);

    std::mt19937 rng(7);
    std::uniform_real_distribution<float> at(-400.0f, 400.0f), fovy(20.0f, 120.0f), jitter(-6.0f, 6.0f);
    std::uniform_int_distribution<size_t> star(0, tree.draw_order.size() - 1);
    int found = 0;
    for (int n = 0; n < 300; n++)
    {
        const PICK_VIEW_T view = {Camera3D{Vector3{at(rng), at(rng) / 2.0f, at(rng)},
                                           Vector3{at(rng) / 8.0f, 0.0f, at(rng) / 8.0f}, Vector3{0.0f, 1.0f, 0.0f},
                                           fovy(rng), CAMERA_PERSPECTIVE},
                                  (n % 3 == 0) ? 800 : 1366, 768};
        // Aim near a real star most of the time, so most picks have candidates.
        Vector2 pointer = {jitter(rng) * 100.0f + 683.0f, jitter(rng) * 60.0f + 384.0f};
        Vector2 screen;
        float depth;
        if (ProjectToScreen(view, tree.draw_positions[star(rng)], &screen, &depth))
        {
            pointer = Vector2{screen.x + jitter(rng), screen.y + jitter(rng)};
            const Vector2 raylib = GetWorldToScreenEx(tree.draw_positions[0], view.camera, view.width, view.height);
            Vector2 ours;
            if (ProjectToScreen(view, tree.draw_positions[0], &ours, &depth) && std::fabs(ours.x) < 1e5f)
            {
                EXPECT_NEAR(Vector2Distance(ours, raylib), 0.0f, 0.05f + 1e-5f * std::fabs(ours.x + ours.y));
            }
        }
        const float radius = (n % 4 == 0) ? 30.0f : (n % 2 == 0) ? 6.0f : 2.0f;
        const STAR_PICK_T expected = PickByLookingAtEveryStar(tree, view, pointer, radius);
        const STAR_PICK_T picked = PickStar(tree, view, pointer, radius);
        ASSERT_EQ(picked.found, expected.found) << "view " << n;
        if (!expected.found) continue;
        found += 1;
        EXPECT_EQ(picked.star, expected.star) << "view " << n;
        EXPECT_LE(picked.pixels, radius);
    }
    EXPECT_GT(found, 150);

    const PICK_VIEW_T broken = {Camera3D{Vector3{1, 1, 1}, Vector3{1, 1, 1}, Vector3{0, 1, 0}, 90.0f, 0}, 1366, 768};
    EXPECT_FALSE(PickStar(tree, broken, Vector2{683, 384}, 8.0f).found);
    const PICK_VIEW_T flat = {Camera3D{Vector3{0, 300, 1}, Vector3{0, 0, 0}, Vector3{0, 1, 0}, 90.0f, 0}, 1366, 0};
    EXPECT_FALSE(PickStar(tree, flat, Vector2{683, 384}, 8.0f).found);
    const PICK_VIEW_T top = {flat.camera, 1366, 768};
    EXPECT_FALSE(PickStar(tree, top, Vector2{NAN, 384}, 8.0f).found);
    EXPECT_TRUE(PickStar(tree, top, Vector2{683, 384}, 40.0f).found);
}

namespace
{
// Where the 3-D pass puts a point: the view matrix, then the projection it loads, then the
// viewport. Independent of the dot products the pick works with.
bool DrawnAt(const PICK_VIEW_T &view, Vector3 p, Vector2 *screen)
{
    const Matrix m = MatrixMultiply(MatrixLookAt(view.camera.position, view.camera.target, view.camera.up),
                                    PickViewProjection(view));
    const float x = m.m0 * p.x + m.m4 * p.y + m.m8 * p.z + m.m12;
    const float y = m.m1 * p.x + m.m5 * p.y + m.m9 * p.z + m.m13;
    const float w = m.m3 * p.x + m.m7 * p.y + m.m11 * p.z + m.m15;
    if (!(w > 0.01f)) return false;
    *screen = Vector2{(x / w + 1.0f) * 0.5f * (float)view.width, (1.0f - y / w) * 0.5f * (float)view.height};
    return true;
}
} // namespace

// A picture slid sideways (the galaxy beside a panel or a card) must be picked where it is
// drawn. Catches a drawn projection that is not raylib's when unshifted, a shift that moves
// the drawing and the pick apart or by another amount, or the other way, and a pointer ray
// (the double click's) that misses the point drawn under the pointer.
TEST(StarPick, AShiftedViewIsDrawnPickedAndAimedAlike)
{
    GALAXY galaxy(256);
    GALAXY_SHAPE_T shape = MakeGalaxyShape(3, 12, -40, 60, 30, 40, 50, 200);
    shape.seed = 4242;
    GenerateGalaxy(&galaxy, shape);
    const ARRAY_OCTREE_T &tree = galaxy.field.tree;
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> at(-400.0f, 400.0f), fovy(30.0f, 110.0f), shift(-400.0f, 400.0f);
    std::uniform_int_distribution<size_t> star(0, tree.draw_order.size() - 1);
    int compared = 0;
    for (int n = 0; n < 200; n++)
    {
        const Camera3D camera = {Vector3{at(rng), at(rng) / 2.0f, at(rng)}, Vector3{at(rng) / 8.0f, 0.0f, at(rng) / 8.0f},
                                 Vector3{0.0f, 1.0f, 0.0f}, fovy(rng), CAMERA_PERSPECTIVE};
        const int32_t width = (n % 2 == 0) ? 820 : 1366, height = (n % 2 == 0) ? 520 : 768;
        const PICK_VIEW_T plain = {camera, width, height};
        const PICK_VIEW_T shifted = {camera, width, height, (n % 5 == 0) ? 0.0f : shift(rng)};
        const Vector3 p = tree.draw_positions[star(rng)];
        Vector2 ours, drawn, unshifted;
        float depth = 0.0f;
        if (!ProjectToScreen(shifted, p, &ours, &depth) || !DrawnAt(shifted, p, &drawn) || std::fabs(ours.x) > 1e4f)
            continue;
        compared++;
        const float slack = 0.05f + 1e-5f * (std::fabs(ours.x) + std::fabs(ours.y));
        EXPECT_NEAR(Vector2Distance(ours, drawn), 0.0f, slack) << n;
        ASSERT_TRUE(ProjectToScreen(plain, p, &unshifted, &depth));
        EXPECT_NEAR(ours.x - unshifted.x, shifted.shift_x, slack) << n;
        EXPECT_NEAR(ours.y, unshifted.y, slack) << n;
        const Vector2 raylib = GetWorldToScreenEx(p, camera, width, height);
        EXPECT_NEAR(Vector2Distance(unshifted, raylib), 0.0f, slack) << n;

        Ray ray = {};
        ASSERT_TRUE(PickViewRay(shifted, ours, &ray));
        const Vector3 to = Vector3Subtract(p, ray.position);
        const Vector3 off = Vector3Subtract(to, Vector3Scale(ray.direction, Vector3DotProduct(to, ray.direction)));
        EXPECT_LT(Vector3Length(off), 1e-3f * Vector3Length(to) + 1e-3f) << n;

        const STAR_PICK_T there = PickStar(tree, shifted, Vector2{unshifted.x + shifted.shift_x, unshifted.y}, 6.0f);
        const STAR_PICK_T before = PickStar(tree, plain, unshifted, 6.0f);
        ASSERT_TRUE(there.found && before.found) << n;
        EXPECT_EQ(there.star, before.star) << n;
    }
    EXPECT_GT(compared, 60);
}
