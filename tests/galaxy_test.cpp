// The galaxy's star field: how many stars, where they go (checked against positions worked
// out by hand from the arm formulas), the draw order of the random stream, the degenerate
// parameters, that the stars inside the box are indexed as inserting them one by one would,
// and that no call sequence releases a star twice or while it is listed.
#include <gtest/gtest.h>

#include <chrono>
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
    return (const IOBJECT_T *)galaxy.star_list.Get(index);
}

std::vector<Vector3> Positions(const GALAXY &galaxy)
{
    std::vector<Vector3> positions;
    for (uint64_t k = 0; k < galaxy.star_list.Count(); k++) positions.push_back(Star(galaxy, k)->position);
    return positions;
}

// The stars the tree must hold: those inside its box.
std::vector<const IOBJECT_T *> StarsInsideTheBox(const GALAXY &galaxy)
{
    std::vector<const IOBJECT_T *> inside;
    for (uint64_t k = 0; k < galaxy.star_list.Count(); k++)
    {
        if (ContainsPoint(galaxy.tree.box, Star(galaxy, k)->position)) inside.push_back(Star(galaxy, k));
    }
    return inside;
}

// The galaxy's tree against inserting its listed stars one by one into an OCTREE_T.
::testing::AssertionResult TreeMatchesInsertion(const GALAXY &galaxy, OCTREE_STATS_T *stats = nullptr)
{
    return SameCellsAsInsertion(galaxy.tree, Positions(galaxy), {}, stats);
}

bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
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

// Catches a tree over the wrong box or capacity, and a texture that needs a window.
TEST(Galaxy, StartsEmptyWithItsTreeOverTheExtent)
{
    GALAXY galaxy(256);
    EXPECT_EQ(galaxy.star_list.Count(), 0u);
    EXPECT_EQ(galaxy.system_list.Count(), 0u);
    EXPECT_EQ(galaxy.size.x, 256.0f);
    EXPECT_EQ(galaxy.position.y, 0.0f);
    EXPECT_EQ(galaxy.tree.capacity, 8);
    EXPECT_EQ(galaxy.tree.box.min.x, -256.0f);
    EXPECT_EQ(galaxy.tree.box.max.z, 256.0f);
    EXPECT_EQ(galaxy.tree.nodes.size(), 1u);
    EXPECT_EQ(galaxy.star_texture.id, 0u); // no window here
}

// Catches a wrong count per arm number (901 steps, three stars per arm and step), stars
// accumulating over generations instead of being replaced, and stars lost at size_xz 1.
TEST(Galaxy, StarCountIs901TimesThreeTimesArmsAndNeverAccumulates)
{
    RandomSeed(3.0);
    GALAXY galaxy(256);
    for (int32_t arms = 2; arms <= 9; arms++)
    {
        PARAMS_T p = PANEL_LIKE;
        p.arms = arms;
        Generate(&galaxy, p);
        EXPECT_EQ(galaxy.star_list.Count(), 901u * 3u * (uint64_t)arms);
    }
    EXPECT_EQ(galaxy.star_list.Count(), 24327u);
    Generate(&galaxy, PANEL_LIKE);
    EXPECT_EQ(galaxy.star_list.Count(), 24327u);
    PARAMS_T two = PANEL_LIKE;
    two.arms = 2;
    Generate(&galaxy, two);
    EXPECT_EQ(galaxy.star_list.Count(), 5406u);
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));

    // size_xz 1, the slider's minimum: computed from p and q the rim's radius rounds to just
    // above 1 at 16 of these angles, which would drop those stars.
    Generate(&galaxy, PARAMS_T{9, 22, 0, 20, 80, 48, 64, 1});
    EXPECT_EQ(galaxy.star_list.Count(), 24327u);
}

// Catches hidden state or reseeding in generation: the stream alone decides the positions.
TEST(Galaxy, SameSeedSameParametersSamePositionsBitForBit)
{
    GALAXY galaxy(256);
    RandomSeed(12345.0);
    Generate(&galaxy, PANEL_LIKE);
    const std::vector<Vector3> first = Positions(galaxy);
    Generate(&galaxy, PANEL_LIKE); // the stream moved on: a different galaxy
    const std::vector<Vector3> moved = Positions(galaxy);
    RandomSeed(12345.0);
    Generate(&galaxy, PANEL_LIKE);
    const std::vector<Vector3> again = Positions(galaxy);

    ASSERT_EQ(first.size(), again.size());
    size_t same = 0, differs = 0;
    for (size_t k = 0; k < first.size(); k++)
    {
        same += SameBits(first[k].x, again[k].x) && SameBits(first[k].y, again[k].y) && SameBits(first[k].z, again[k].z);
        differs += !SameBits(first[k].y, moved[k].y);
    }
    EXPECT_EQ(same, first.size());
    EXPECT_GT(differs, first.size() / 2);
}

// Positions worked out by hand. Two arms, curvature 30 (3 degrees per step), size_xz 225,
// bulge_size 0 so that the spread is 0.2 * size_y = 2 everywhere; each star's offset on an
// axis is (r - 0.5) * 2.
//  - Star 0 (step 0): the arm point is the origin, so the position is the offsets alone.
//    r2 = 0.5 + 2^-8 + 2^-31 gives y = 2^-7 + 2^-30 exactly: a float, but only if r2 is not
//    rounded to float first (that would give 2^-7).
//  - Step 30 (stars 180 to 185): (30/900)^2 = 1/900, angle 90 + 180 j degrees, so the arm
//    point is (-0.25, 0, 0) for odd j and (0.25, 0, 0) for even j.
// Catches draws taken in x, y, z order, arithmetic in float, a wrong turn per step or spacing
// of the arms, and a wrong radius law.
TEST(Galaxy, PositionsMatchHandDerivedValuesAndTheZYXDrawOrder)
{
    GALAXY galaxy(256);
    const double fine = 0.5 + std::ldexp(1.0, -8) + std::ldexp(1.0, -31);
    ScriptUnits({{0, 0.75}, {1, fine}, {2, 0.25},              // star 0: r1, r2, r3
                 {540, 0.25}, {541, 0.125}, {542, 0.75},       // star 180: i = 30, j = 1
                 {543, 0.5}, {544, 0.5}, {545, 0.25}});        // star 181: i = 30, j = 2
    Generate(&galaxy, PARAMS_T{2, 30, 0, 0, 100, 0, 10, 225});
    ASSERT_EQ(galaxy.star_list.Count(), 5406u);

    const Vector3 s0 = Star(galaxy, 0)->position;
    EXPECT_EQ(s0.z, 0.5f);
    EXPECT_EQ(s0.y, (float)(std::ldexp(1.0, -7) + std::ldexp(1.0, -30)));
    EXPECT_NE(s0.y, std::ldexp(1.0f, -7));
    EXPECT_EQ(s0.x, -0.5f);

    const Vector3 s180 = Star(galaxy, 180)->position;
    EXPECT_EQ(s180.x, -0.25f + 0.5f);
    EXPECT_EQ(s180.y, -0.75f);
    EXPECT_EQ(s180.z, -0.5f);

    const Vector3 s181 = Star(galaxy, 181)->position;
    EXPECT_EQ(s181.x, 0.25f - 0.5f);
    EXPECT_EQ(s181.y, 0.0f);
    EXPECT_NEAR(s181.z, 0.0f, 1e-12f); // no offset: only the rounding of cos near 90 degrees
}

// With size_y 0 the random offsets vanish and every position is the arm point itself.
// Four arms, curvature 20 (2 degrees per step), size_xz 100:
//  - step 450, j = 1: angle 900 + 90 = 990 degrees (270), radius (450/900)^2 * 100 = 25:
//    x = -25, z = 0 (up to the rounding of cos near 270 degrees);
//  - step 900, j = 1: 1800 + 90 = 1890 degrees (90), radius 100: x = 100;
//  - step 900, j = 2: 1800 + 180 = 1980 degrees (180): z = -100.
// Catches the square law of the radius, the scaling by size_xz and the arm spacing.
TEST(Galaxy, ArmPointsFarOutMatchHandDerivedValues)
{
    RandomSeed(77.0);
    GALAXY galaxy(256);
    Generate(&galaxy, PARAMS_T{4, 20, 0, 20, 80, 48, 0, 100});
    const uint64_t per_step = 12;
    const Vector3 a = Star(galaxy, 450 * per_step + 0)->position;
    EXPECT_EQ(a.x, -25.0f);
    EXPECT_NEAR(a.z, 0.0f, 1e-12f);
    EXPECT_EQ(a.y, 0.0f);
    const Vector3 b = Star(galaxy, 900 * per_step + 0)->position;
    EXPECT_EQ(b.x, 100.0f);
    EXPECT_NEAR(b.z, 0.0f, 1e-12f);
    const Vector3 c = Star(galaxy, 900 * per_step + 1)->position;
    EXPECT_EQ(c.z, -100.0f);
    EXPECT_NEAR(c.x, 0.0f, 1e-12f);
    // The three stars of one arm and step (j, j + 4, j + 8) coincide when there is no spread.
    const Vector3 d = Star(galaxy, 900 * per_step + 4)->position;
    EXPECT_NEAR(d.x, 100.0f, 1e-4f);
}

// Catches density stars that do not share their spiral point (or its order), that share
// their draws, draw them in another order than z, y, x, or a count beyond the cap that is
// generated anyway.
TEST(Galaxy, DensityPlacesItsStarsOnEachSpiralPointWithTheirOwnDraws)
{
    // Without thickness every star sits on its spiral point: density 3 repeats each star of
    // density 1 three times in a row (up to the sign of a zero offset).
    GALAXY galaxy(256);
    RandomSeed(5.0);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 20, 80, 48, 0, 255});
    const std::vector<Vector3> single = Positions(galaxy);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 20, 80, 48, 0, 255, 3});
    const std::vector<Vector3> triple = Positions(galaxy);
    ASSERT_EQ(triple.size(), 3 * single.size());
    for (size_t k = 0; k < triple.size(); k++)
    {
        const Vector3 a = triple[k], b = single[k / 3];
        ASSERT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << k;
    }
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));

    // Spread 2 everywhere (bulge_size 0): the second star at the centre takes draws 3, 4, 5.
    ScriptUnits({{3, 0.75}, {4, 0.25}, {5, 0.0}});
    Generate(&galaxy, PARAMS_T{2, 30, 0, 0, 100, 0, 10, 225, 2});
    ASSERT_EQ(galaxy.star_list.Count(), 2u * 5406u);
    EXPECT_EQ(Star(galaxy, 0)->position.x, 0.0f);
    const Vector3 second = Star(galaxy, 1)->position;
    EXPECT_EQ(second.z, 0.5f);
    EXPECT_EQ(second.y, -0.5f);
    EXPECT_EQ(second.x, -1.0f);

    // Out of range or beyond the cap: nothing, like arms out of range.
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
    EXPECT_EQ(galaxy.star_list.Count(), 0u);
    EXPECT_EQ(SpiralPointLimit(MakeGalaxyShape(GALAXY_MAX_ARMS, 10, 0, 20, 80, 48, 64, 255)), 973080u);
}

// Catches a ramp that is not clamped, not reversed for e1 < e0, or lets NaN through.
TEST(Galaxy, SmoothStepRampStepAndNaN)
{
    EXPECT_EQ(SmoothStep(0.5, 0.0, 1.0), 0.5);
    EXPECT_EQ(SmoothStep(0.25, 0.0, 1.0), 0.15625);
    EXPECT_EQ(SmoothStep(-3.0, 0.0, 1.0), 0.0);
    EXPECT_EQ(SmoothStep(7.0, 0.0, 1.0), 1.0);
    EXPECT_EQ(SmoothStep(0.1, 0.8, 0.2), 1.0); // reversed: 1 below e1
    EXPECT_EQ(SmoothStep(0.9, 0.8, 0.2), 0.0);
    EXPECT_EQ(SmoothStep(0.5, 0.8, 0.2), 0.5);
    EXPECT_EQ(SmoothStep(0.4, 0.5, 0.5), 0.0); // a step at 0.5
    EXPECT_EQ(SmoothStep(0.5, 0.5, 0.5), 0.0); // 0 / 0 counts as 0
    EXPECT_EQ(SmoothStep(0.6, 0.5, 0.5), 1.0);
    EXPECT_EQ(SmoothStep(std::nan(""), 0.0, 1.0), 0.0);
}

// Catches a spread that depends on position when bulge_size is 0, and a D = E ramp that is
// not a step (or treats the point on the step as 1). Every scripted r2 is 0, so each star's
// y is exactly -spread / 2.
TEST(Galaxy, UniformSpreadWithoutBulgeAndAStepWhenTheEdgesMeet)
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
}

// Catches step 0 placed anywhere but around the origin, and size_xz 0 keeping more than
// step 0 (or dropping it).
TEST(Galaxy, StepZeroScattersAroundTheOriginAndSizeXZZeroKeepsOnlyIt)
{
    RandomSeed(9.0);
    GALAXY galaxy(256);
    Generate(&galaxy, PARAMS_T{5, 10, 0, 20, 80, 64, 40, 0});
    ASSERT_EQ(galaxy.star_list.Count(), 15u);
    // At the centre both thickness factors are 0.01: the spread is just above 0.2 * 40.
    const float half_spread = (float)(0.5 * (0.8 * 0.0001 + 0.2) * 40.0);
    float furthest = 0.0f;
    for (uint64_t k = 0; k < 15; k++)
    {
        const Vector3 p = Star(galaxy, k)->position;
        EXPECT_LE(std::fabs(p.x), half_spread);
        EXPECT_LE(std::fabs(p.y), half_spread);
        EXPECT_LE(std::fabs(p.z), half_spread);
        furthest = std::fmax(furthest, std::fabs(p.x));
    }
    EXPECT_GT(furthest, 0.5f); // scattered, not piled on the origin
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
}

// Catches coincident stars (size_y 0 piles step 0 onto the origin and the three stars of
// each arm and step onto one point) recursing without end or getting lost.
TEST(Galaxy, NoThicknessPilesStarsUpAndTheTreeStillHoldsThemAll)
{
    RandomSeed(4.0);
    GALAXY galaxy(256);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 20, 80, 48, 0, 100});
    ASSERT_EQ(galaxy.star_list.Count(), 24327u);
    for (uint64_t k = 0; k < 27; k++)
    {
        const Vector3 p = Star(galaxy, k)->position;
        EXPECT_TRUE(p.x == 0.0f && p.y == 0.0f && p.z == 0.0f) << k;
    }
    OCTREE_STATS_T stats;
    EXPECT_TRUE(TreeMatchesInsertion(galaxy, &stats));
    EXPECT_EQ(stats.objects, 24327u);
    EXPECT_GE(stats.guard_leaves, 1u);
}

// Catches stars outside -256...256 that end up in the tree, that are missing from the
// count, or that leak (the sanitizer's leak check sees the last case).
TEST(Galaxy, StarsBeyondTheBoxAreCountedButNotIndexed)
{
    RandomSeed(8.0);
    GALAXY galaxy(256);
    Generate(&galaxy, PARAMS_T{9, 10, 0, 0, 100, 64, 64, 255});
    ASSERT_EQ(galaxy.star_list.Count(), 24327u);
    const std::vector<const IOBJECT_T *> inside = StarsInsideTheBox(galaxy);
    EXPECT_LT(inside.size(), 24327u);
    EXPECT_GT(inside.size(), 24000u);
    EXPECT_EQ(galaxy.tree.draw_order.size(), inside.size());
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
    Generate(&galaxy, PARAMS_T{9, 10, 0, 0, 100, 64, 64, 255}); // releases the refused ones
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
}

// Catches parameters outside the panel's ranges that hang (arms <= 0 or huge), overflow, or
// leave stars unreleased, and a missing tree that crashes Generate.
TEST(Galaxy, ParametersOutsideTheRangesStayHarmless)
{
    RandomSeed(6.0);
    GALAXY galaxy(256);
    for (int32_t arms : {0, -1, INT_MIN, GALAXY_MAX_ARMS + 1, INT_MAX})
    {
        Generate(&galaxy, PARAMS_T{arms, 10, 0, 20, 80, 48, 64, 255});
        EXPECT_EQ(galaxy.star_list.Count(), 0u) << arms;
    }
    Generate(&galaxy, PARAMS_T{1, 10, 0, 20, 80, 48, 64, 255});
    EXPECT_EQ(galaxy.star_list.Count(), 2703u);

    // Curvature 0 would put every star at NaN: it generates nothing, like no arms.
    Generate(&galaxy, PARAMS_T{3, 0, 0, 20, 80, 48, 64, 255});
    EXPECT_EQ(galaxy.star_list.Count(), 0u);
    EXPECT_TRUE(galaxy.tree.draw_order.empty());
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));

    // Extremes of every other parameter: no star is lost from the count, every star inside
    // the box is indexed once.
    const PARAMS_T extremes[] = {
        {3, -7, -200, 100, 0, -64, -10, 50},     {3, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {3, INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MIN, 1}, {3, 1, 0, 0, 0, 0, 64, -5},
    };
    for (const PARAMS_T &p : extremes)
    {
        Generate(&galaxy, p);
        EXPECT_EQ(galaxy.star_list.Count(), p.size_xz < 0 ? 0u : 8109u);
        EXPECT_TRUE(TreeMatchesInsertion(galaxy));
        for (uint64_t i = 0; i < galaxy.star_list.Count(); i++)
        {
            const Vector3 at = Star(galaxy, i)->position;
            ASSERT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z)) << i;
        }
    }
}

// Catches stars released according to where they are now: moving listed stars across the
// box's face, or clearing the tree directly, must lead no later Generate (or the destructor)
// to release a star twice or leave the list pointing at released stars. The sanitizer sees
// both; the list must also keep its stars readable after the tree is cleared.
TEST(Galaxy, CallersCannotMakeTheGalaxyReleaseAStarTwice)
{
    RandomSeed(8.0);
    GALAXY galaxy(256);
    const PARAMS_T wide = {9, 10, 0, 0, 100, 64, 64, 255};
    Generate(&galaxy, wide);
    ASSERT_EQ(galaxy.star_list.Count(), 24327u);
    const std::vector<const IOBJECT_T *> inside = StarsInsideTheBox(galaxy);
    ASSERT_LT(inside.size(), 24327u);
    for (uint64_t k = 0; k < galaxy.star_list.Count(); k++)
    {
        IOBJECT_T *star = (IOBJECT_T *)galaxy.star_list.Get(k);
        const bool in = ContainsPoint(galaxy.tree.box, star->position);
        star->position = in ? Vector3{256.0f, 0.0f, 0.0f} : Vector3{0.0f, 0.0f, 0.0f}; // across the face
    }
    Generate(&galaxy, wide);
    EXPECT_EQ(galaxy.star_list.Count(), 24327u);
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));

    galaxy.tree.Clear();
    double sum = 0.0;
    for (uint64_t k = 0; k < galaxy.star_list.Count(); k++) sum += std::fabs(Star(galaxy, k)->position.x);
    EXPECT_GT(sum, 0.0);
    Generate(&galaxy, wide);
    EXPECT_EQ(galaxy.star_list.Count(), 24327u);
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
    galaxy.tree.Clear(); // and left so for the destructor
}

// Two thousand regenerations with random parameters, in and out of the panel's ranges: under
// the sanitizers, any leak, double free or undefined behaviour fails the run. Every count
// must match the formula; the tree is checked now and then and at the end. The sanitizers
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
    const auto start = std::chrono::steady_clock::now();
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
        if (run % 500 == 1)
        {
            p = PANEL_LIKE; // full size: 24,327 stars, some beyond the tree's box
        }
        else if (kind == 0)
        {
            p.arms = any(rng); // out of range but for a 1 in 12 million chance
        }
        else if (kind < 4)
        {
            p.arms = 1;
        }
        else if (kind < 10)
        {
            p.arms = between(-2, 0);
        }
        else
        {
            p.arms = between(2, 9);
            p.size_xz = between(-3, 0); // step 0 only, or nothing
        }
        Generate(&galaxy, p);

        uint64_t expected = 0;
        if (p.arms >= 1 && p.arms <= GALAXY_MAX_ARMS && p.density >= 1 && p.density <= GALAXY_MAX_DENSITY)
        {
            if (p.size_xz >= 1) expected = 901u * 3u * (uint64_t)p.arms * (uint64_t)p.density;
            if (p.size_xz == 0) expected = 3u * (uint64_t)p.arms * (uint64_t)p.density;
        }
        ASSERT_EQ(galaxy.star_list.Count(), expected) << "run " << run;
        if (run % 250 == 1)
        {
            ASSERT_TRUE(TreeMatchesInsertion(galaxy));
        }
    }
    EXPECT_TRUE(TreeMatchesInsertion(galaxy));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 240.0); // bounded: a hang would blow far past this
}
