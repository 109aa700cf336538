// The galaxy's star field: how many stars, where they go (checked against positions worked
// out by hand from the arm formulas), the draw order of the random stream, the degenerate
// parameters, that the stars inside the box are indexed as inserting them one by one would,
// and that no call sequence releases a star twice or while it is listed.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "galaxy/galaxy.h"
#include "random/random.h"
#include "tests/support/octree_check.h"
#include "tests/support/scripted_random.h"

namespace
{
struct PARAMS_T
{
    int32_t arms, curvature, inner_radius, bulge_offset0, bulge_offset1, bulge_size, size_y, size_xz;
    int32_t density = 1;
};

void Generate(GALAXY *galaxy, const PARAMS_T &p)
{
    EXPECT_EQ(galaxy->Generate(p.arms, p.curvature, p.inner_radius, p.bulge_offset0, p.bulge_offset1, p.bulge_size,
                               p.size_y, p.size_xz, p.density),
              0);
}

const IOBJECT_T *Star(const GALAXY &galaxy, uint64_t index)
{
    return (const IOBJECT_T *)galaxy.field.star_list.Get(index);
}

std::vector<Vector3> Positions(const GALAXY &galaxy)
{
    std::vector<Vector3> positions;
    for (uint64_t k = 0; k < galaxy.field.star_list.Count(); k++) positions.push_back(Star(galaxy, k)->position);
    return positions;
}

// The galaxy's tree against inserting its listed stars one by one into an OCTREE_T.
::testing::AssertionResult TreeMatchesInsertion(const GALAXY &galaxy, OCTREE_STATS_T *stats = nullptr)
{
    return SameCellsAsInsertion(galaxy.field.tree, Positions(galaxy), {}, stats);
}

// Scripts the first 624 unit draws: every one 0.5 unless overridden by (word index, value).
void ScriptUnits(const std::vector<std::pair<int, double>> &overrides)
{
    std::vector<uint32_t> words(624, WordForUnit(0.5));
    for (const auto &entry : overrides) words[entry.first] = WordForUnit(entry.second);
    ScriptRandomWords(words);
}

constexpr PARAMS_T PANEL_LIKE = {9, 10, 0, 20, 80, 48, 64, 255};
} // namespace

// Catches a tree over the wrong box or capacity, a texture that needs a window, a wrong count
// per arm number (901 steps, three stars per arm and step), stars accumulating over
// generations instead of being replaced, stars lost at size_xz 1, and hidden state or
// reseeding in generation (the stream alone decides the positions, bit for bit).
TEST(Galaxy, CountsReplacesAndFollowsTheStreamAlone)
{
    GALAXY galaxy(256);
    EXPECT_EQ(galaxy.field.star_list.Count(), 0u);
    EXPECT_EQ(galaxy.field.tree.capacity, 8);
    EXPECT_EQ(galaxy.field.tree.box.min.x, -256.0f);
    EXPECT_EQ(galaxy.field.tree.box.max.z, 256.0f);

    RandomSeed(3.0);
    for (int32_t arms : {2, 5, 9, 2})
    {
        PARAMS_T p = PANEL_LIKE;
        p.arms = arms;
        Generate(&galaxy, p);
        EXPECT_EQ(galaxy.field.star_list.Count(), 901u * 3u * (uint64_t)arms);
    }
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
    // size_xz 1, the slider's minimum: computed from p and q the rim's radius rounds to just
    // above 1 at 16 of these angles, which would drop those stars.
    Generate(&galaxy, PARAMS_T{9, 22, 0, 20, 80, 48, 64, 1});
    EXPECT_EQ(galaxy.field.star_list.Count(), 24327u);

    RandomSeed(12345.0);
    Generate(&galaxy, PANEL_LIKE);
    const std::vector<Vector3> first = Positions(galaxy);
    Generate(&galaxy, PANEL_LIKE); // the stream moved on: a different galaxy
    const std::vector<Vector3> moved = Positions(galaxy);
    RandomSeed(12345.0);
    Generate(&galaxy, PANEL_LIKE);
    const std::vector<Vector3> again = Positions(galaxy);
    ASSERT_EQ(first.size(), again.size());
    EXPECT_EQ(std::memcmp(first.data(), again.data(), first.size() * sizeof(Vector3)), 0); // bit for bit
    size_t differs = 0;
    for (size_t k = 0; k < first.size(); k++) differs += first[k].y != moved[k].y;
    EXPECT_GT(differs, first.size() / 2);
}

// Positions worked out by hand; catches draws taken in x, y, z order, arithmetic in float, a
// wrong turn per step or spacing of the arms, a wrong radius law or scaling by size_xz, and
// density stars that do not share their spiral point (or its order), that share their draws
// or draw them in another order than z, y, x.
//  - Two arms, curvature 30 (3 degrees per step), size_xz 225, bulge_size 0: the spread is
//    0.2 * size_y = 2 everywhere and each star's offset on an axis is (r - 0.5) * 2.
//    Star 0 (step 0) sits on the origin: r2 = 0.5 + 2^-8 + 2^-31 gives y = 2^-7 + 2^-30, a
//    float only if r2 is not rounded to float first. Step 30 (stars 180 to 185): (30/900)^2
//    = 1/900, angle 90 + 180 j degrees, so the arm point is (-0.25, 0, 0) for odd j and
//    (0.25, 0, 0) for even j.
//  - size_y 0 leaves the arm point itself. Four arms, curvature 20, size_xz 100: step 450,
//    j = 1 is at 990 degrees, radius 25 (x = -25); step 900, j = 1 at 1890 degrees (x = 100),
//    j = 2 at 1980 degrees (z = -100).
TEST(Galaxy, PositionsMatchHandDerivedValuesAndTheZYXDrawOrder)
{
    GALAXY galaxy(256);
    const double fine = 0.5 + std::ldexp(1.0, -8) + std::ldexp(1.0, -31);
    ScriptUnits({{0, 0.75}, {1, fine}, {2, 0.25},              // star 0: r1, r2, r3
                 {540, 0.25}, {541, 0.125}, {542, 0.75},       // star 180: i = 30, j = 1
                 {543, 0.5}, {544, 0.5}, {545, 0.25}});        // star 181: i = 30, j = 2
    Generate(&galaxy, PARAMS_T{2, 30, 0, 0, 100, 0, 10, 225});
    ASSERT_EQ(galaxy.field.star_list.Count(), 5406u);
    const Vector3 s0 = Star(galaxy, 0)->position, s180 = Star(galaxy, 180)->position,
                  s181 = Star(galaxy, 181)->position;
    EXPECT_TRUE(s0.z == 0.5f && s0.x == -0.5f);
    EXPECT_EQ(s0.y, (float)(std::ldexp(1.0, -7) + std::ldexp(1.0, -30)));
    EXPECT_NE(s0.y, std::ldexp(1.0f, -7));
    EXPECT_TRUE(s180.x == -0.25f + 0.5f && s180.y == -0.75f && s180.z == -0.5f);
    EXPECT_TRUE(s181.x == 0.25f - 0.5f && s181.y == 0.0f);
    EXPECT_NEAR(s181.z, 0.0f, 1e-12f); // no offset: only the rounding of cos near 90 degrees

    // Density 2, spread 2: the second star at the centre takes draws 3, 4, 5.
    ScriptUnits({{3, 0.75}, {4, 0.25}, {5, 0.0}});
    Generate(&galaxy, PARAMS_T{2, 30, 0, 0, 100, 0, 10, 225, 2});
    ASSERT_EQ(galaxy.field.star_list.Count(), 2u * 5406u);
    EXPECT_EQ(Star(galaxy, 0)->position.x, 0.0f);
    const Vector3 second = Star(galaxy, 1)->position;
    EXPECT_TRUE(second.z == 0.5f && second.y == -0.5f && second.x == -1.0f);

    RandomSeed(77.0);
    Generate(&galaxy, PARAMS_T{4, 20, 0, 20, 80, 48, 0, 100});
    const uint64_t per_step = 12;
    const Vector3 a = Star(galaxy, 450 * per_step)->position, b = Star(galaxy, 900 * per_step)->position,
                  c = Star(galaxy, 900 * per_step + 1)->position, d = Star(galaxy, 900 * per_step + 4)->position;
    EXPECT_TRUE(a.x == -25.0f && a.y == 0.0f);
    EXPECT_NEAR(a.z, 0.0f, 1e-12f);
    EXPECT_EQ(b.x, 100.0f);
    EXPECT_NEAR(b.z, 0.0f, 1e-12f);
    EXPECT_EQ(c.z, -100.0f);
    EXPECT_NEAR(c.x, 0.0f, 1e-12f);
    EXPECT_NEAR(d.x, 100.0f, 1e-4f); // j + 4 of the same step coincides without spread

    // Without thickness density 3 repeats each star of density 1 three times in a row (up to
    // the sign of a zero offset).
    RandomSeed(5.0);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 20, 80, 48, 0, 255});
    const std::vector<Vector3> single = Positions(galaxy);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 20, 80, 48, 0, 255, 3});
    const std::vector<Vector3> triple = Positions(galaxy);
    ASSERT_EQ(triple.size(), 3 * single.size());
    for (size_t k = 0; k < triple.size(); k++)
    {
        const Vector3 t = triple[k], s = single[k / 3];
        ASSERT_TRUE(t.x == s.x && t.y == s.y && t.z == s.z) << k;
    }
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
}

// Catches a ramp that is not clamped, not reversed for e1 < e0, or lets NaN through; a step
// (e0 = e1) that treats the point on the step as 1 (0 / 0 counts as 0).
TEST(Galaxy, SmoothStepRampStepAndNaN)
{
    const struct { double x, e0, e1, want; } cases[] = {
        {0.5, 0.0, 1.0, 0.5},  {0.25, 0.0, 1.0, 0.15625}, {-3.0, 0.0, 1.0, 0.0}, {7.0, 0.0, 1.0, 1.0},
        {0.1, 0.8, 0.2, 1.0},  {0.9, 0.8, 0.2, 0.0},      {0.5, 0.8, 0.2, 0.5},  {0.4, 0.5, 0.5, 0.0},
        {0.5, 0.5, 0.5, 0.0},  {0.6, 0.5, 0.5, 1.0},      {std::nan(""), 0.0, 1.0, 0.0}};
    for (const auto &c : cases) EXPECT_EQ(SmoothStep(c.x, c.e0, c.e1), c.want) << c.x << " " << c.e0 << " " << c.e1;
}

// Catches a spread that depends on position when bulge_size is 0, a D = E ramp that is not a
// step in the generator, step 0 placed anywhere but around the origin (or piled on it), and
// size_xz 0 keeping more than step 0 (or dropping it). Every scripted r2 is 0, so each star's
// y is exactly -spread / 2.
TEST(Galaxy, SpreadIsUniformWithoutBulgeStepsWhereTheEdgesMeetAndCentresOnTheOrigin)
{
    std::vector<std::pair<int, double>> low_r2;
    for (int k = 0; k < 208; k++) low_r2.push_back({3 * k + 1, 0.0});
    GALAXY galaxy(256);
    ScriptUnits(low_r2);
    Generate(&galaxy, PARAMS_T{2, 10, 0, 0, 100, 0, 50, 200}); // bulge_size 0: spread 0.2 * 50
    for (int k = 0; k < 208; k++) ASSERT_EQ(Star(galaxy, k)->position.y, -5.0f) << k;

    // inner_radius 100 shifts the ramp by 0.5 and D = E = 50 puts the step there: at step 0
    // (|u| = |w| = 0) both factors are 0.01, beyond it both are 1 and the spread is size_y.
    ScriptUnits(low_r2);
    Generate(&galaxy, PARAMS_T{2, 10, 100, 50, 50, 64, 10, 200});
    const float centre = (float)(-0.5 * ((0.8 * (0.01 * 0.01 * 1.0) + 0.2) * 10.0));
    for (int k = 0; k < 6; k++) EXPECT_EQ(Star(galaxy, k)->position.y, centre) << k;
    for (int k = 6; k < 208; k++) ASSERT_EQ(Star(galaxy, k)->position.y, -5.0f) << k;

    RandomSeed(9.0);
    Generate(&galaxy, PARAMS_T{5, 10, 0, 20, 80, 64, 40, 0});
    ASSERT_EQ(galaxy.field.star_list.Count(), 15u);
    const float half_spread = (float)(0.5 * (0.8 * 0.0001 + 0.2) * 40.0);
    float furthest = 0.0f;
    for (uint64_t k = 0; k < 15; k++)
    {
        const Vector3 p = Star(galaxy, k)->position;
        EXPECT_TRUE(std::fabs(p.x) <= half_spread && std::fabs(p.y) <= half_spread && std::fabs(p.z) <= half_spread);
        furthest = std::fmax(furthest, std::fabs(p.x));
    }
    EXPECT_GT(furthest, 0.5f); // scattered, not piled on the origin
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
}

// Catches coincident stars (size_y 0 piles step 0 onto the origin and the three stars of each
// arm and step onto one point) recursing without end or getting lost; stars outside
// -256...256 that end up in the tree, are missing from the count or leak; and stars released
// according to where they are now: moving listed stars across the box's face, or clearing the
// tree directly, must lead no later Generate (or the destructor) to release a star twice or
// leave the list pointing at released stars (the sanitizer sees both); the list must also
// keep its stars readable after the tree is cleared.
TEST(Galaxy, TreeIndexesTheStarsInsideTheBoxAndNoneIsReleasedTwice)
{
    RandomSeed(4.0);
    GALAXY galaxy(256);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 20, 80, 48, 0, 100});
    ASSERT_EQ(galaxy.field.star_list.Count(), 24327u);
    for (uint64_t k = 0; k < 27; k++)
    {
        const Vector3 p = Star(galaxy, k)->position;
        EXPECT_TRUE(p.x == 0.0f && p.y == 0.0f && p.z == 0.0f) << k;
    }
    OCTREE_STATS_T stats;
    EXPECT_TRUE(TreeMatchesInsertion(galaxy, &stats));
    EXPECT_EQ(stats.objects, 24327u);
    EXPECT_GE(stats.guard_leaves, 1u);

    RandomSeed(8.0);
    const PARAMS_T wide = {9, 10, 0, 0, 100, 64, 64, 255};
    Generate(&galaxy, wide);
    ASSERT_EQ(galaxy.field.star_list.Count(), 24327u);
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
    size_t inside = 0;
    for (uint64_t k = 0; k < galaxy.field.star_list.Count(); k++)
    {
        IOBJECT_T *star = (IOBJECT_T *)galaxy.field.star_list.Get(k);
        const bool in = ContainsPoint(galaxy.field.tree.box, star->position);
        inside += in;
        star->position = in ? Vector3{256.0f, 0.0f, 0.0f} : Vector3{0.0f, 0.0f, 0.0f}; // across the face
    }
    EXPECT_TRUE(inside > 24000u && inside < 24327u) << inside;
    EXPECT_EQ(galaxy.field.tree.draw_order.size(), inside);
    Generate(&galaxy, wide);
    EXPECT_EQ(galaxy.field.star_list.Count(), 24327u);
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));

    galaxy.field.tree.Clear();
    double sum = 0.0;
    for (uint64_t k = 0; k < galaxy.field.star_list.Count(); k++) sum += std::fabs(Star(galaxy, k)->position.x);
    EXPECT_GT(sum, 0.0);
    Generate(&galaxy, wide);
    EXPECT_EQ(galaxy.field.star_list.Count(), 24327u);
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
    galaxy.field.tree.Clear(); // and left so for the destructor
}

// Catches parameters outside the panel's ranges that hang (arms <= 0 or huge), overflow, or
// leave stars unreleased; curvature 0 putting stars at NaN; a density out of range or a
// count beyond the cap that is generated anyway.
TEST(Galaxy, ParametersOutsideTheRangesStayHarmless)
{
    RandomSeed(6.0);
    GALAXY galaxy(256);
    for (int32_t arms : {0, -1, INT_MIN, GALAXY_MAX_ARMS + 1, INT_MAX})
    {
        Generate(&galaxy, PARAMS_T{arms, 10, 0, 20, 80, 48, 64, 255});
        EXPECT_EQ(galaxy.field.star_list.Count(), 0u) << arms;
    }
    Generate(&galaxy, PARAMS_T{1, 10, 0, 20, 80, 48, 64, 255});
    EXPECT_EQ(galaxy.field.star_list.Count(), 2703u);
    Generate(&galaxy, PARAMS_T{3, 0, 0, 20, 80, 48, 64, 255}); // curvature 0: nothing, like no arms
    EXPECT_EQ(galaxy.field.star_list.Count(), 0u);
    EXPECT_TRUE(galaxy.field.tree.draw_order.empty());

    // Extremes of every other parameter: no star is lost from the count, every star inside
    // the box is indexed once.
    const PARAMS_T extremes[] = {
        {3, -7, -200, 100, 0, -64, -10, 50},     {3, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {3, INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MIN, 1}, {3, 1, 0, 0, 0, 0, 64, -5},
    };
    for (const PARAMS_T &p : extremes)
    {
        Generate(&galaxy, p);
        EXPECT_EQ(galaxy.field.star_list.Count(), p.size_xz < 0 ? 0u : 8109u);
        EXPECT_TRUE(TreeMatchesInsertion(galaxy));
        for (uint64_t i = 0; i < galaxy.field.star_list.Count(); i++)
        {
            const Vector3 at = Star(galaxy, i)->position;
            ASSERT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z)) << i;
        }
    }

    const GALAXY_SHAPE_T panel = MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 255, 40);
    EXPECT_EQ(SpiralPointLimit(panel), 973080u);
    for (int32_t density : {0, -1, GALAXY_MAX_DENSITY + 1, INT_MIN, INT_MAX})
    {
        GALAXY_SHAPE_T shape = panel;
        shape.density = density;
        EXPECT_EQ(SpiralPointLimit(shape), 0u) << density;
    }
    GALAXY_SHAPE_T widest = panel;
    widest.arms = (int32_t)(GALAXY_MAX_SPIRAL_POINTS / (2703u * 40u));
    EXPECT_GT(SpiralPointLimit(widest), 0u);
    widest.arms += 1;
    EXPECT_EQ(SpiralPointLimit(widest), 0u);
    Generate(&galaxy, PARAMS_T{widest.arms, 10, 0, 20, 80, 48, 64, 255, 40});
    EXPECT_EQ(galaxy.field.star_list.Count(), 0u);
    EXPECT_EQ(SpiralPointLimit(MakeGalaxyShape(GALAXY_MAX_ARMS, 10, 0, 20, 80, 48, 64, 255)), 973080u);
}

// Two thousand regenerations with random parameters, in and out of the panel's ranges: under
// the sanitizers, any leak, double free or undefined behaviour fails the run. Every count
// must match the formula, and an empty field must say why; the tree is checked now and then
// and at the end. The sanitizers
// slow every star down, so most runs stay small and a few are full size.
TEST(Galaxy, SoakOfRegenerations)
{
    RandomSeed(2.0);
    std::mt19937 rng(2);
    std::uniform_int_distribution<int32_t> any(INT_MIN, INT_MAX);
    auto between = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    auto pick = [&](int32_t lo, int32_t hi) {
        // Mostly within the range, sometimes just outside, now and then anything at all.
        const int roll = between(0, 9);
        if (roll == 0) return any(rng);
        if (roll == 1) return between(lo - 100, hi + 100);
        return between(lo, hi);
    };
    GALAXY galaxy(256);
    for (int run = 0; run < 2000; run++)
    {
        PARAMS_T p;
        p.curvature = pick(1, 32);
        p.inner_radius = pick(-200, 200);
        p.bulge_offset0 = pick(0, 100);
        p.bulge_offset1 = pick(0, 100);
        p.bulge_size = pick(16, 64);
        p.size_y = pick(0, 64);
        p.size_xz = pick(0, 256);
        const int kind = run % 20;
        // Small densities where the walk is long, any at all where it is short.
        p.density = (kind < 4) ? between(1, 3) : pick(1, GALAXY_MAX_DENSITY);
        // Arms out of range (but for a 1 in 12 million chance), one arm, none or fewer, and
        // two to nine with size_xz -3 to 0 (step 0 only, or nothing).
        p.arms = kind == 0 ? any(rng) : kind < 4 ? 1 : kind < 10 ? between(-2, 0) : between(2, 9);
        if (kind >= 10) p.size_xz = between(-3, 0);
        if (run % 500 == 1) p = PANEL_LIKE; // full size: 24,327 stars, some beyond the tree's box
        Generate(&galaxy, p);

        uint64_t expected = 0;
        if (p.arms >= 1 && p.arms <= GALAXY_MAX_ARMS && p.density >= 1 && p.density <= GALAXY_MAX_DENSITY)
        {
            if (p.size_xz >= 1) expected = 901u * 3u * (uint64_t)p.arms * (uint64_t)p.density;
            if (p.size_xz == 0) expected = 3u * (uint64_t)p.arms * (uint64_t)p.density;
        }
        ASSERT_EQ(galaxy.field.star_list.Count(), expected) << "run " << run;
        // A field with no star always says why, and one with stars never claims a failure.
        ASSERT_EQ(galaxy.field.failure.empty(), expected > 0) << "run " << run << ": " << galaxy.field.failure;
        if (run % 250 == 1)
        {
            ASSERT_TRUE(TreeMatchesInsertion(galaxy));
        }
    }
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
}
