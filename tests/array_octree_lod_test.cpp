// The level-of-detail walk against the plain culled walk: the same count of visible stars
// whatever it draws, the galaxy's whole light kept, full detail up close, a handful of points
// from afar, and fades that change gradually as the camera moves.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "galaxy/galaxy.h"
#include "octree/array_octree_lod.h"
#include "random/random.h"
#include "tests/support/octree_check.h"

namespace
{
// Every point's opacity on screen: the stars' (draw order) then the samples'.
struct FADES_T
{
    std::vector<double> stars;
    std::vector<double> samples;
};

FADES_T Fades(const ARRAY_OCTREE_T &tree, const ARRAY_OCTREE_LOD_T &lod, const LOD_SELECTION_T &s)
{
    FADES_T fades = {std::vector<double>(tree.draw_order.size(), 0.0),
                     std::vector<double>(lod.samples.size(), 0.0)};
    for (int level = 1; level <= LOD_FADE_LEVELS; level++)
    {
        const double fade = (double)level / LOD_FADE_LEVELS;
        for (size_t r = 0; r < s.stars[level].first.size(); r++)
            for (int32_t j = 0; j < s.stars[level].count[r]; j++)
                fades.stars[s.stars[level].first[r] + j] += fade;
        for (size_t r = 0; r < s.samples[level].first.size(); r++)
            for (int32_t k = 0; k < s.samples[level].count[r]; k++)
                fades.samples[s.samples[level].first[r] + k] += fade;
    }
    return fades;
}

// The light drawn, in stars: a sample gives that of the stars it stands for.
double Light(const ARRAY_OCTREE_LOD_T &lod, const FADES_T &fades)
{
    double total = 0.0;
    for (double f : fades.stars)
        total += f;
    for (size_t k = 0; k < fades.samples.size(); k++)
        total += fades.samples[k] * lod.sample_weight[k];
    return total;
}

} // namespace

// Catches a walk that culls inner boxes more or less than the leaves' own test, counts a
// drawn sample as its stars when some of its leaves are out of view, or counts a faded-out
// node's stars wrongly: over random frusta and views of three galaxies, the count equals
// CollectVisibleRanges' and every drawn star range lies in visible leaves.
TEST(ArrayOctreeLod, CountsTheVisibleLeavesStarsWhateverItDraws)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> at(-600.0f, 600.0f), angle(20.0f, 170.0f), scale(1.0f, 3000.0f);
    for (const int arms : {2, 9, 40})
    {
        GALAXY galaxy(256);
        RandomSeed(3.0 + arms);
        galaxy.Generate(arms, 20, -100, 60, 20, 48, 63, 252);
        ARRAY_OCTREE_LOD_T lod;
        UpdateArrayOctreeLod(galaxy.tree, &lod);
        LOD_SELECTION_T selection;
        ARRAY_OCTREE_RANGES_T ranges;
        for (int n = 0; n < 60; n++)
        {
            FRUSTUM_T frustum;
            frustum.SetInternals(angle(rng), 1366.0f / 768.0f, 1.0f, 100000.0f);
            const Camera3D camera = {Vector3{at(rng), at(rng) / 3.0f, at(rng)},
                                     Vector3{at(rng) / 4.0f, 0.0f, at(rng) / 4.0f}, Vector3{0.0f, 1.0f, 0.0f},
                                     90.0f, CAMERA_PERSPECTIVE};
            frustum.Update(camera);
            const LOD_VIEW_T view = {camera.position, scale(rng), 2.5f};
            const uint64_t visible = CollectVisibleRanges(galaxy.tree, frustum, &ranges);
            ASSERT_EQ(SelectArrayOctreeLod(galaxy.tree, lod, frustum, view, &selection), visible)
                << arms << " arms, frustum " << n;
            std::vector<bool> in_view(galaxy.tree.draw_order.size(), false);
            for (size_t r = 0; r < ranges.star_first.size(); r++)
                for (int32_t j = 0; j < ranges.star_count[r]; j++)
                    in_view[ranges.star_first[r] + j] = true;
            for (int level = 1; level <= LOD_FADE_LEVELS; level++)
                for (size_t r = 0; r < selection.stars[level].first.size(); r++)
                    for (int32_t j = 0; j < selection.stars[level].count[r]; j++)
                        ASSERT_TRUE(in_view[selection.stars[level].first[r] + j]) << "a culled star is drawn";
        }
    }
}

// Catches samples whose weights do not add up to their node's stars, a fade that drops or
// doubles light between a node and its children, and a selection that does not reduce: the
// whole galaxy's light is kept at every distance, all of it as the stars themselves up close,
// and from far away it costs under a tenth of the stars' points.
TEST(ArrayOctreeLod, KeepsTheLightFullDetailNearAndFewPointsFar)
{
    GALAXY galaxy(256);
    RandomSeed(11.0);
    galaxy.Generate(9, 20, -100, 60, 20, 48, 63, 252);
    const double stars = (double)galaxy.tree.draw_order.size();
    ARRAY_OCTREE_LOD_T lod;
    UpdateArrayOctreeLod(galaxy.tree, &lod);
    LOD_SELECTION_T selection;
    for (const float distance : {30.0f, 100.0f, 300.0f, 1000.0f, 3000.0f, 30000.0f})
    {
        const LOD_VIEW_T view = {Vector3{0.0f, distance, distance / 2.0f}, 384.0f, 2.5f};
        SelectArrayOctreeLod(galaxy.tree, lod, EverythingVisible(), view, &selection);
        // A fade is rounded to 1/16 at every node on the way, so a little light may go astray.
        EXPECT_NEAR(Light(lod, Fades(galaxy.tree, lod, selection)), stars, stars * 0.03)
            << "at distance " << distance;
    }

    SelectArrayOctreeLod(galaxy.tree, lod, EverythingVisible(),
                         LOD_VIEW_T{Vector3{0.0f, 300.0f, 0.0f}, 1e9f, 2.5f}, &selection);
    const FADES_T near = Fades(galaxy.tree, lod, selection);
    for (size_t j = 0; j < near.stars.size(); j++)
        ASSERT_EQ(near.stars[j], 1.0) << "star " << j << " not drawn in full";
    EXPECT_EQ(Light(lod, near), stars) << "samples drawn beside the full detail";

    SelectArrayOctreeLod(galaxy.tree, lod, EverythingVisible(),
                         LOD_VIEW_T{Vector3{0.0f, 1e6f, 0.0f}, 384.0f, 2.5f}, &selection);
    size_t points = 0;
    for (int level = 1; level <= LOD_FADE_LEVELS; level++)
    {
        for (int32_t c : selection.stars[level].count)
            points += (size_t)c;
        for (int32_t c : selection.samples[level].count)
            points += (size_t)c;
    }
    EXPECT_LE((double)points, stars / 10.0) << "a galaxy a speck on screen still draws many points";
    EXPECT_GT(points, 0u);
}

// Catches popping: a camera gliding from far away to inside the disc in steps of 1% of its
// distance changes no point's opacity by more than two fade steps (a hard switch between a
// node's sample and its children would turn points fully on or off at once).
TEST(ArrayOctreeLod, DetailChangesGraduallyAsTheCameraMoves)
{
    GALAXY galaxy(256);
    RandomSeed(5.0);
    galaxy.Generate(4, 20, -100, 60, 20, 48, 63, 252);
    ARRAY_OCTREE_LOD_T lod;
    UpdateArrayOctreeLod(galaxy.tree, &lod);
    LOD_SELECTION_T selection;
    FADES_T before;
    int steps = 0, changes = 0;
    const double step = 2.0 / LOD_FADE_LEVELS + 1e-9;
    for (float distance = 4000.0f; distance > 20.0f; distance *= 0.99f, steps++)
    {
        const LOD_VIEW_T view = {Vector3{distance * 0.6f, distance * 0.5f, distance * 0.3f}, 384.0f, 2.5f};
        SelectArrayOctreeLod(galaxy.tree, lod, EverythingVisible(), view, &selection);
        const FADES_T now = Fades(galaxy.tree, lod, selection);
        if (!before.stars.empty())
        {
            for (size_t j = 0; j < now.stars.size(); j++)
                ASSERT_LE(std::fabs(now.stars[j] - before.stars[j]), step)
                    << "star " << j << " at " << distance;
            for (size_t k = 0; k < now.samples.size(); k++)
                ASSERT_LE(std::fabs(now.samples[k] - before.samples[k]), step)
                    << "sample " << k << " at " << distance;
            changes += now.stars != before.stars;
        }
        before = now;
    }
    EXPECT_GT(steps, 500);
    EXPECT_GT(changes, 50) << "the detail hardly changed from afar to up close";
}
