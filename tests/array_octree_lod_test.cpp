// The level-of-detail walk against the plain culled walk: the same count of visible stars
// whatever it draws, the galaxy's whole light kept, full detail up close, a handful of points
// from afar, and fades that change gradually as the camera moves.
#include <gtest/gtest.h>

#include <algorithm>
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

// The light drawn, in stars (a sample gives that of the stars it stands for), and the points.
double Light(const ARRAY_OCTREE_LOD_T &lod, const FADES_T &fades, size_t *points = nullptr)
{
    double total = 0.0;
    size_t drawn = 0;
    for (double f : fades.stars)
    {
        total += f;
        drawn += f > 0.0;
    }
    for (size_t k = 0; k < fades.samples.size(); k++)
    {
        total += fades.samples[k] * lod.sample_weight[k];
        drawn += fades.samples[k] > 0.0;
    }
    if (points != nullptr) *points = drawn;
    return total;
}
} // namespace

// Three galaxies, each seen by random cameras and by one gliding from far away to inside the
// disc in steps of 1% of its distance. Catches a walk that culls inner boxes more or less
// than the leaves' own test, counts a drawn sample as its stars when some of its leaves are
// out of view, or counts a faded-out node's stars wrongly (the count must equal
// CollectVisibleRanges' and no culled star may be drawn); samples whose weights do not add up
// to their node's stars, a fade that drops or doubles light between a node and its children
// (the whole light kept at every distance), samples drawn beside full detail up close, a
// selection that does not reduce (from far away under a tenth of the stars' points); and
// popping: no point's opacity may change by more than two fade steps per glide step (a hard
// switch between a node's sample and its children would turn points fully on or off at once).
TEST(ArrayOctreeLod, CountsLikeTheCulledWalkKeepsTheLightAndFadesGradually)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> scale(1.0f, 3000.0f);
    LOD_SELECTION_T selection;
    ARRAY_OCTREE_RANGES_T ranges;
    for (const int arms : {2, 9, 40})
    {
        GALAXY galaxy(256);
        RandomSeed(3.0 + arms);
        galaxy.Generate(arms, 20, -100, 60, 20, 48, 63, 252);
        const ARRAY_OCTREE_T &tree = galaxy.field.tree;
        const double stars = (double)tree.draw_order.size();
        ARRAY_OCTREE_LOD_T lod;
        UpdateArrayOctreeLod(tree, &lod);

        std::vector<Vector3> eyes;
        const std::vector<FRUSTUM_T> frusta = RandomFrusta(&rng, 60, &eyes);
        for (size_t n = 0; n < frusta.size(); n++)
        {
            const uint64_t visible = CollectVisibleRanges(tree, frusta[n], &ranges);
            const LOD_VIEW_T view = {eyes[n], scale(rng), 2.5f};
            ASSERT_EQ(SelectArrayOctreeLod(tree, lod, frusta[n], view, &selection), visible)
                << arms << " arms, " << n;
            std::vector<bool> in_view(tree.draw_order.size(), false);
            for (size_t r = 0; r < ranges.star_first.size(); r++)
                for (int32_t j = 0; j < ranges.star_count[r]; j++)
                    in_view[ranges.star_first[r] + j] = true;
            const FADES_T fades = Fades(tree, lod, selection);
            for (size_t j = 0; j < fades.stars.size(); j++)
                ASSERT_TRUE(in_view[j] || fades.stars[j] == 0.0) << "a culled star is drawn";
        }

        FADES_T before;
        int changes = 0;
        const double step = 2.0 / LOD_FADE_LEVELS + 1e-9;
        for (float distance = 30000.0f; distance > 20.0f; distance *= 0.99f)
        {
            const LOD_VIEW_T view = {Vector3{distance * 0.6f, distance * 0.5f, distance * 0.3f}, 384.0f,
                                     2.5f};
            SelectArrayOctreeLod(tree, lod, EverythingVisible(), view, &selection);
            const FADES_T now = Fades(tree, lod, selection);
            // A fade is rounded to 1/16 at every node on the way, so a little light may go astray.
            ASSERT_NEAR(Light(lod, now), stars, stars * 0.03) << arms << " arms at distance " << distance;
            for (size_t j = 0; j < now.stars.size() && !before.stars.empty(); j++)
                ASSERT_LE(std::fabs(now.stars[j] - before.stars[j]), step)
                    << "star " << j << " at " << distance;
            for (size_t k = 0; k < now.samples.size() && !before.samples.empty(); k++)
                ASSERT_LE(std::fabs(now.samples[k] - before.samples[k]), step)
                    << "sample " << k << " at " << distance;
            changes += !before.stars.empty() && now.stars != before.stars;
            before = now;
        }
        EXPECT_GT(changes, 50) << arms << " arms: the detail hardly changed from afar to up close";

        size_t points = 0;
        SelectArrayOctreeLod(tree, lod, EverythingVisible(),
                             LOD_VIEW_T{Vector3{0.0f, 300.0f, 0.0f}, 1e9f, 2.5f}, &selection);
        const FADES_T near = Fades(tree, lod, selection);
        EXPECT_EQ(Light(lod, near), stars) << "samples drawn beside the full detail";
        EXPECT_EQ(*std::min_element(near.stars.begin(), near.stars.end()), 1.0) << "a star not drawn in full";
        SelectArrayOctreeLod(tree, lod, EverythingVisible(),
                             LOD_VIEW_T{Vector3{0.0f, 1e6f, 0.0f}, 384.0f, 2.5f}, &selection);
        Light(lod, Fades(tree, lod, selection), &points);
        EXPECT_TRUE(points > 0 && points <= stars / 10.0)
            << points << " points for a galaxy a speck on screen";
    }
}
