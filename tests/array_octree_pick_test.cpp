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
