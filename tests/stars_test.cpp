// Star generation: every die forced through the random stream (scripted words), so each branch
// of the class, companion, orbit, correction, age and planet-modifier rules is reached, and the
// number of dice drawn is checked against a sentinel word placed after the script.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "random/random.h"
#include "systems/star_class_table.h"
#include "systems/stars.h"
#include "tests/support/scripted_random.h"

namespace
{
constexpr uint32_t SENTINEL = SCRIPT_SENTINEL;
using DICE_T = SCRIPTED_DICE_T;

// The five opening dice: P (d100), Q (d10), S (0-9), H (d10), K (0-43).
DICE_T Opening(int32_t p, int32_t q, int32_t s, int32_t h, int32_t k)
{
    DICE_T dice;
    dice.Die(p, 100).Die(q, 10).Int(s, 0, 9).Die(h, 10).Int(k, 0, 43);
    return dice;
}

class StarsTest : public ::testing::Test
{
  protected:
    void TearDown() override { FreeStars(&system); }

    // Runs the star steps over a fresh system and checks that exactly the scripted dice
    // were drawn: the next word of the stream must be the sentinel.
    void Generate(uint32_t count, DICE_T dice)
    {
        dice.Script();
        AllocateStars(&system, count);
        GenerateStars(&system);
        EXPECT_EQ(RandomNext32(), SENTINEL) << "the star steps drew a different number of dice";
    }

    const STAR_T &Star(int i) const { return system.stars[i]; }

    SYSTEM_T system;
};

bool IsEvolved(uint32_t row)
{
    return row >= ROW_A_IV && row <= ROW_M_III;
}
} // namespace

// Catches a wrong band edge in the primary table, the further row roll missing or drawn for
// P < 100, or a further 17 that is not turned into B V.
TEST_F(StarsTest, PrimaryClassFollowsEveryBandOfTheTable)
{
    struct CASE_T
    {
        int32_t p, q, further;
        uint32_t row;
    };
    const CASE_T cases[] = {
        {1, 6, 0, ROW_A_V},           {1, 7, 0, ROW_A_IV},           {2, 8, 0, ROW_F_V},
        {4, 9, 0, ROW_F_IV},          {5, 9, 0, ROW_G_V},            {12, 10, 0, ROW_G_IV},
        {13, 10, 0, ROW_K_V},         {26, 1, 0, ROW_K_V},           {27, 1, 0, ROW_WHITE_DWARF},
        {36, 10, 0, ROW_WHITE_DWARF}, {37, 10, 0, ROW_A_V},          {85, 1, 0, ROW_A_V},
        {86, 1, 0, ROW_BROWN_DWARF},  {98, 10, 0, ROW_BROWN_DWARF},  {99, 1, 0, ROW_F_III},
        {99, 2, 0, ROW_G_III},        {99, 3, 0, ROW_K_III},         {99, 5, 0, ROW_K_III},
        {99, 6, 0, ROW_M_III},        {99, 7, 0, ROW_M_III},         {99, 8, 0, ROW_K_IV},
        {99, 10, 0, ROW_K_IV},        {100, 1, 17, ROW_B_V},         {100, 1, 18, 18},
        {100, 10, 30, 30},            {100, 5, 43, 43},
    };
    for (const CASE_T &c : cases)
    {
        SCOPED_TRACE("P " + std::to_string(c.p) + " Q " + std::to_string(c.q));
        DICE_T dice = Opening(c.p, c.q, 3, 5, 0);
        if (c.p == 100) dice.Int(c.further, 17, 43);
        if (IsEvolved(c.row)) dice.Die(1, 10);
        dice.Die(1, 10).Die(1, 10).Die(1, 10);
        Generate(1, dice);
        EXPECT_EQ(Star(0).class_index, c.row);
        EXPECT_EQ(Star(0).subclass, c.row == ROW_K_IV ? 0u : 3u);
        EXPECT_EQ(Star(0).temperature, (double)STAR_CLASS_TABLE[c.row].temperature[Star(0).subclass]);
        FreeStars(&system);
    }
}

// Catches a twin companion that draws a subclass of its own or does not take the primary's
// subclass.
TEST_F(StarsTest, CompanionRuleOneTwinTakesThePrimarysClassAndSubclass)
{
    // K V primary (row 4), H = 1 and K = 2 < 4: a twin. No subclass die for the companion.
    Generate(2, Opening(13, 1, 6, 1, 2)
                    .Die(1, 10).Die(1, 2)   // separation 2 AU
                    .Die(1, 10).Die(5, 10)  // eccentricity 0.05
                    .Die(3, 10).Die(4, 10)  // ages
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(Star(0).class_index, ROW_K_V);
    EXPECT_EQ(Star(1).class_index, ROW_K_V);
    EXPECT_EQ(Star(1).subclass, 6u);
    EXPECT_STREQ(Star(1).designation, "K6V");
    EXPECT_DOUBLE_EQ(Star(0).mass_share, 0.5);
    EXPECT_DOUBLE_EQ(Star(0).orbit_radius, 1.0);
    EXPECT_DOUBLE_EQ(Star(1).orbit_radius, -1.0);
    EXPECT_DOUBLE_EQ(Star(0).eccentricity, 0.05);
}

// Catches a division by zero or undefined value for a companion of the all-zero row 17, which
// rule one reaches when K is at or after the primary's row.
TEST_F(StarsTest, CompanionRuleOneCanReachThePlaceholderRowSafely)
{
    Generate(2, Opening(50, 1, 0, 2, 17)
                    .Int(4, 0, 9)           // the companion's own subclass
                    .Die(4, 10).Die(5, 5)   // separation 15 AU
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    const STAR_T &primary = Star(0);
    const STAR_T &companion = Star(1);
    EXPECT_EQ(primary.class_index, ROW_A_V);
    EXPECT_EQ(companion.class_index, ROW_PLACEHOLDER);
    EXPECT_STREQ(companion.designation, "S4");
    EXPECT_EQ(companion.temperature, 0.0);
    EXPECT_EQ(companion.mass, 0.0);
    EXPECT_EQ(companion.lifetime, 0.0);
    EXPECT_EQ(companion.luminosity, 0.0);
    EXPECT_DOUBLE_EQ(companion.orbit_radius, -15.0);
    EXPECT_EQ(primary.orbit_period, 0.0);
    const double values[] = {companion.lifetime,     companion.age,        companion.habitable_inner,
                             companion.habitable_outer, primary.orbit_period, primary.companion_zone,
                             companion.position.x,   companion.position.z};
    for (double v : values) EXPECT_TRUE(std::isfinite(v));
}

// Catches the wrong row for rules two and three, a missing subclass die, and a heavier
// companion left in second place.
TEST_F(StarsTest, CompanionRulesTwoAndThreeAndTheExchangeByMass)
{
    // F V 0 primary (1.6 solar masses), H = 5 and K = 7: an F IV companion of subclass 2
    // (2.3 solar masses), which is heavier and becomes star 0.
    Generate(2, Opening(2, 1, 0, 5, 7)
                    .Int(2, 0, 9)
                    .Die(1, 10).Die(2, 2)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10)             // first pass: star 0 is now the subgiant
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(Star(0).class_index, ROW_F_IV);
    EXPECT_EQ(Star(0).subclass, 2u);
    EXPECT_EQ(Star(1).class_index, ROW_F_V);
    EXPECT_DOUBLE_EQ(Star(0).mass_share, 1.6 / (2.3 + 1.6));
    EXPECT_GT(Star(0).orbit_radius, 0.0);
    EXPECT_LT(Star(1).orbit_radius, 0.0);
    FreeStars(&system);

    // H = 3 and K = 12: rule three gives a brown dwarf with its own subclass (rule one would
    // have given row 12).
    Generate(2, Opening(5, 1, 2, 3, 12)
                    .Int(3, 0, 9)
                    .Die(1, 10).Die(1, 2)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(Star(0).class_index, ROW_G_V);
    EXPECT_EQ(Star(1).class_index, ROW_BROWN_DWARF);
    EXPECT_STREQ(Star(1).designation, "BD3");
    FreeStars(&system);

    // K = 10 is the first row that rule two no longer takes.
    Generate(2, Opening(5, 1, 2, 10, 10)
                    .Int(8, 0, 9)
                    .Die(1, 10).Die(1, 2)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(Star(1).class_index, ROW_BROWN_DWARF);
}

// Catches an exchange on equal masses (the comparison must be strict).
TEST_F(StarsTest, EqualMassesKeepTheirOrder)
{
    // F V 0 and G IV 0 both weigh 1.6 solar masses.
    Generate(2, Opening(3, 1, 0, 4, 8)
                    .Int(0, 0, 9)
                    .Die(1, 10).Die(1, 2)
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10)             // first pass: star 1, the subgiant
                    .Die(1, 10).Die(1, 10)
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(Star(0).class_index, ROW_F_V);
    EXPECT_EQ(Star(1).class_index, ROW_G_IV);
    EXPECT_DOUBLE_EQ(Star(0).mass_share, 0.5);
    EXPECT_DOUBLE_EQ(Star(1).orbit_radius, -1.0);
}

// Catches a wrong multiplier or die size in any separation band.
TEST_F(StarsTest, SeparationBands)
{
    struct CASE_T
    {
        int32_t band, value, sides;
        double separation;
    };
    const CASE_T cases[] = {{1, 2, 2, 4.0},    {3, 1, 2, 2.0},     {4, 1, 5, 3.0},     {6, 5, 5, 15.0},
                            {7, 10, 10, 50.0}, {8, 1, 10, 5.0},    {9, 10, 10, 200.0}, {10, 1, 10, 200.0},
                            {10, 10, 10, 2000.0}};
    for (const CASE_T &c : cases)
    {
        SCOPED_TRACE("band " + std::to_string(c.band));
        // Two G V 2 stars of equal mass: each sits at half the separation.
        Generate(2, Opening(5, 1, 2, 5, 3)
                        .Int(2, 0, 9)
                        .Die(c.band, 10).Die(c.value, c.sides)
                        .Die(1, 10).Die(1, 10)
                        .Die(1, 10).Die(1, 10)
                        .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
        EXPECT_DOUBLE_EQ(Star(0).orbit_radius - Star(1).orbit_radius, c.separation);
        EXPECT_DOUBLE_EQ(Star(0).orbit_radius, c.separation * 0.5);
        FreeStars(&system);
    }
}

// Catches a wrong offset or step in any eccentricity band, or the band and value dice swapped.
TEST_F(StarsTest, EccentricityBands)
{
    struct CASE_T
    {
        int32_t band, value;
        double eccentricity;
    };
    const CASE_T cases[] = {{1, 1, 0.01},  {2, 10, 0.1},  {3, 1, 0.11},  {4, 10, 0.2},
                            {5, 5, 0.25},  {6, 2, 0.22},  {7, 1, 0.31},  {8, 10, 0.4},
                            {9, 5, 0.45},  {10, 1, 0.54}, {10, 10, 0.9}};
    for (const CASE_T &c : cases)
    {
        SCOPED_TRACE("band " + std::to_string(c.band) + " value " + std::to_string(c.value));
        Generate(2, Opening(5, 1, 2, 5, 3)
                        .Int(2, 0, 9)
                        .Die(1, 10).Die(1, 2)
                        .Die(c.band, 10).Die(c.value, 10)
                        .Die(1, 10).Die(1, 10)
                        .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
        EXPECT_NEAR(Star(0).eccentricity, c.eccentricity, 1e-12);
        EXPECT_EQ(Star(1).eccentricity, Star(0).eccentricity);
        FreeStars(&system);
    }
}

// Catches pair fields computed per star instead of shared, the wrong mass in the shares or
// the period, a companion zone from the wrong star, and the age not copied to star 1.
TEST_F(StarsTest, PairSharesPeriodEccentricityZoneAndAge)
{
    // G V 2 (1.02 solar masses, 1.09 luminosities) with a K V 0 companion (0.82, 0.46), 10 AU.
    Generate(2, Opening(5, 1, 2, 3, 4)
                    .Int(0, 0, 9)
                    .Die(7, 10).Die(2, 10)
                    .Die(3, 10).Die(4, 10)
                    .Die(7, 10).Die(2, 10)  // ages 7 and 2; star 1 ends with 7
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    const STAR_T &a = Star(0);
    const STAR_T &b = Star(1);
    const double share = 0.82 / (1.02 + 0.82);
    EXPECT_DOUBLE_EQ(a.mass_share, share);
    EXPECT_DOUBLE_EQ(b.mass_share, 1.0 - share);
    EXPECT_DOUBLE_EQ(a.orbit_radius, share * 10.0);
    EXPECT_DOUBLE_EQ(b.orbit_radius, -(1.0 - share) * 10.0);
    EXPECT_DOUBLE_EQ(a.orbit_period, std::sqrt(std::pow(share * 10.0, 3.0) / 1.84));
    EXPECT_EQ(b.orbit_period, a.orbit_period);
    EXPECT_NEAR(a.eccentricity, 0.14, 1e-12);
    EXPECT_EQ(b.eccentricity, a.eccentricity);
    EXPECT_DOUBLE_EQ(a.companion_zone, 4.0 * std::sqrt(1.09));
    EXPECT_EQ(b.companion_zone, a.companion_zone);
    EXPECT_EQ(a.age, 7.0);
    EXPECT_EQ(b.age, 7.0);

    // Each star's place is its orbit seen at some clock angle around the barycentre.
    for (int i = 0; i < 2; i++)
    {
        const STAR_T &s = Star(i);
        const double r = std::fabs(s.orbit_radius) + 1e-5;
        EXPECT_EQ(s.position.y, 0.0f);
        EXPECT_LE(std::fabs(s.position.x - s.mass_share), r);
        EXPECT_LE(std::fabs(s.position.z), r);
    }
}

// Catches any two-star field set for a single star, or a die drawn for a companion that
// does not exist.
TEST_F(StarsTest, SingleStarKeepsTheTwoStarFieldsAtZero)
{
    Generate(1, Opening(5, 1, 2, 1, 40).Die(6, 10).Die(1, 10).Die(1, 10));
    const STAR_T &s = Star(0);
    EXPECT_STREQ(s.designation, "G2V");
    EXPECT_EQ(s.mass_share, 0.0);
    EXPECT_EQ(s.orbit_radius, 0.0);
    EXPECT_EQ(s.orbit_period, 0.0);
    EXPECT_EQ(s.eccentricity, 0.0);
    EXPECT_EQ(s.companion_zone, 0.0);
    EXPECT_EQ(s.position.x, 0.0f);
    EXPECT_EQ(s.position.y, 0.0f);
    EXPECT_EQ(s.position.z, 0.0f);
    EXPECT_DOUBLE_EQ(s.lifetime, 1.02 / 1.09 * 10.0);
    EXPECT_EQ(s.age, 6.0);
    EXPECT_DOUBLE_EQ(s.habitable_inner, std::sqrt(1.09) * 0.75);
    EXPECT_DOUBLE_EQ(s.habitable_outer, std::sqrt(1.09) * 1.4);
}

// Catches a K IV star that keeps its drawn subclass, and the subgiant correction applied with
// the wrong table or die entry.
TEST_F(StarsTest, SubgiantKIsAlwaysK0IVAndIsCorrected)
{
    Generate(1, Opening(99, 8, 7, 1, 0).Die(3, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    const STAR_T &s = Star(0);
    EXPECT_STREQ(s.designation, "K0IV");
    EXPECT_EQ(s.subclass, 0u);
    EXPECT_EQ(s.temperature, 4700.0);
    EXPECT_DOUBLE_EQ(s.mass, 1.4 * 0.9);
    EXPECT_DOUBLE_EQ(s.lifetime, 1.4 * 0.9 / (4.0 * 0.8) * 10.0);
    EXPECT_DOUBLE_EQ(s.radius, std::sqrt(4.0 * 0.8) * std::pow(5800.0 / 4700.0, 2.0));
}

// Catches the giant correction using the subgiant tables or deriving the radius from the
// uncorrected luminosity.
TEST_F(StarsTest, GiantCorrection)
{
    // G III 4: mass 2.6, luminosity 70, 5400 K; roll 9: mass x 1.25, luminosity x 1.5.
    Generate(1, Opening(99, 2, 4, 1, 0).Die(9, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    const STAR_T &s = Star(0);
    EXPECT_STREQ(s.designation, "G4III");
    EXPECT_DOUBLE_EQ(s.mass, 2.6 * 1.25);
    EXPECT_DOUBLE_EQ(s.radius, std::sqrt(70.0 * 1.5) * std::pow(5800.0 / 5400.0, 2.0));
    EXPECT_EQ(s.age, 1.0);
}

// Catches the dwarfs left with the table's zero luminosity (and an infinite lifetime).
TEST_F(StarsTest, DwarfLuminosityFromRadiusAndTemperature)
{
    Generate(1, Opening(27, 1, 0, 1, 0).Die(4, 10).Die(1, 10).Die(1, 10));
    EXPECT_STREQ(Star(0).designation, "WD0VII");
    EXPECT_NEAR(Star(0).luminosity, 0.0114, 0.0001);
    EXPECT_DOUBLE_EQ(Star(0).luminosity, 0.004 * 0.004 * std::pow(30000.0 / 5800.0, 4.0));
    EXPECT_EQ(Star(0).age, 4.0);
    FreeStars(&system);

    Generate(1, Opening(90, 1, 3, 1, 0).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_STREQ(Star(0).designation, "BD3");
    EXPECT_DOUBLE_EQ(Star(0).luminosity, 0.1 * 0.1 * std::pow(1600.0 / 5800.0, 4.0));
    EXPECT_DOUBLE_EQ(Star(0).lifetime, 0.052 / Star(0).luminosity * 10.0);
}

// Catches the wrong age table for a letter or subclass half, the late luminosity factor applied
// to early subclasses, the lifetime taken after the factor, and an age die skipped for rows
// that are not aged.
TEST_F(StarsTest, AgeAndItsLuminosityFactor)
{
    struct CASE_T
    {
        int32_t p, q, s, further, roll;
        double age, luminosity;
    };
    const CASE_T cases[] = {
        {50, 1, 7, 0, 1, 0.2, 14.0 * 0.8},  // A V 7: late A table, factor 0.8
        {50, 1, 4, 0, 10, 0.6, 29.0},       // A V 4: early A table, no factor
        {2, 1, 2, 0, 10, 3.2, 4.7},         // F V 2: early F table
        {3, 1, 8, 0, 3, 1.5, 1.85 * 0.9},   // F V 8: late F table
        {5, 1, 9, 0, 8, 8.0, 0.51 * 1.1},   // G V 9: G table, late factor
        {20, 1, 5, 0, 10, 10.0, 0.19 * 1.2}, // K V 5
        {100, 1, 0, 18, 7, 0.0, 2000000.0}, // O V: not aged, die still drawn
        {100, 1, 0, 17, 7, 0.0, 13000.0},   // B V: not aged
    };
    for (const CASE_T &c : cases)
    {
        SCOPED_TRACE("P " + std::to_string(c.p) + " S " + std::to_string(c.s));
        DICE_T dice = Opening(c.p, c.q, c.s, 1, 0);
        if (c.p == 100) dice.Int(c.further, 17, 43);
        dice.Die(c.roll, 10).Die(1, 10).Die(1, 10);
        Generate(1, dice);
        const STAR_T &s = Star(0);
        EXPECT_DOUBLE_EQ(s.age, c.age);
        EXPECT_DOUBLE_EQ(s.luminosity, c.luminosity);
        const uint32_t row = s.class_index;
        const STAR_CLASS_T &table = STAR_CLASS_TABLE[row];
        EXPECT_DOUBLE_EQ(s.lifetime, table.mass[c.s] / table.luminosity[c.s] * 10.0);
        EXPECT_DOUBLE_EQ(s.habitable_inner, std::sqrt(c.luminosity) * 0.75);
        FreeStars(&system);
    }
}

// Catches a wrong edge in the planet-modifier bands or the age left out of the total.
TEST_F(StarsTest, PlanetModifierBands)
{
    struct CASE_T
    {
        int32_t age_roll, first, second, modifier;
    };
    // A G V star's age is its age roll; the total is the two dice plus that age.
    const CASE_T cases[] = {{1, 1, 1, 2},  {1, 4, 4, 2},  {1, 5, 4, 1},  {1, 6, 5, 1},  {1, 6, 6, 0},
                            {5, 6, 7, 0},  {5, 7, 7, -1}, {5, 8, 8, -1}, {10, 6, 6, -3}, {10, 10, 10, -3}};
    for (const CASE_T &c : cases)
    {
        SCOPED_TRACE("total " + std::to_string(c.age_roll + c.first + c.second));
        Generate(1, Opening(5, 1, 2, 1, 0).Die(c.age_roll, 10).Die(c.first, 10).Die(c.second, 10));
        EXPECT_EQ(Star(0).planet_modifier, c.modifier);
        FreeStars(&system);
    }
    // An unaged O star can total 2, which is in no band: the field keeps 0.
    Generate(1, Opening(100, 1, 0, 1, 0).Int(18, 17, 43).Die(1, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(Star(0).planet_modifier, 0);
}

// Catches rules broken somewhere in the ordinary stream: primaries that the table never
// gives, designations that disagree with their row, unshared pair fields, non-finite values.
TEST_F(StarsTest, FixedSeedStreamKeepsTheRules)
{
    RandomSeed(2024.0);
    std::set<uint32_t> primaries;
    for (int n = 0; n < 3000; n++)
    {
        const uint32_t count = (n % 3 == 0) ? 2u : 1u;
        AllocateStars(&system, count);
        GenerateStars(&system);
        for (uint32_t i = 0; i < count; i++)
        {
            const STAR_T &s = Star((int)i);
            const STAR_CLASS_T &row = STAR_CLASS_TABLE[s.class_index];
            EXPECT_EQ(std::strncmp(s.designation, row.letter, std::strlen(row.letter)), 0) << s.designation;
            if (s.class_index == ROW_K_IV)
            {
                EXPECT_STREQ(s.designation, "K0IV");
            }
            const double values[] = {s.mass, s.luminosity, s.radius, s.lifetime, s.age, s.orbit_period,
                                     s.habitable_inner, s.companion_zone};
            for (double v : values) EXPECT_TRUE(std::isfinite(v) && v >= 0.0) << s.designation;
        }
        if (count == 1)
        {
            primaries.insert(Star(0).class_index);
        }
        else
        {
            // Star 0 was the heavier when the shares were taken (corrections come later).
            EXPECT_LE(Star(0).mass_share, 0.5);
            EXPECT_DOUBLE_EQ(Star(0).mass_share + Star(1).mass_share, 1.0);
            EXPECT_LT(Star(1).orbit_radius, 0.0);
            EXPECT_EQ(Star(1).age, Star(0).age);
            EXPECT_EQ(Star(1).eccentricity, Star(0).eccentricity);
            EXPECT_GE(Star(0).eccentricity, 0.01 - 1e-12);
            EXPECT_LE(Star(0).eccentricity, 0.9 + 1e-12);
        }
        FreeStars(&system);
    }
    EXPECT_EQ(primaries.count(ROW_M_V), 0u);
    EXPECT_EQ(primaries.count(ROW_A_III), 0u);
    EXPECT_EQ(primaries.count(ROW_PLACEHOLDER), 0u);
    // The common classes all turn up over three thousand draws.
    for (uint32_t row : {ROW_A_V, ROW_F_V, ROW_G_V, ROW_K_V, ROW_WHITE_DWARF, ROW_BROWN_DWARF})
    {
        EXPECT_EQ(primaries.count(row), 1u) << "row " << row;
    }
}

// Catches a pair period taken from one star's distance instead of the separation (the record's
// own figure, off by 4x to 250x), a mass left out of the sum, and a period given to a single
// star or to a pair without separation or mass.
TEST_F(StarsTest, PairPeriodFollowsKeplersLaw)
{
    // Observed periods: the Earth and Jupiter round the Sun, Sirius B round Sirius A.
    EXPECT_NEAR(PairPeriodYears(1.0, 1.0 + 3.0e-6), 1.0, 1e-5);
    EXPECT_NEAR(PairPeriodYears(5.2026, 1.0 + 9.55e-4), 11.862, 0.01);
    EXPECT_NEAR(PairPeriodYears(19.8, 2.063 + 1.018), 50.13, 0.5);
    EXPECT_EQ(PairPeriodYears(0.0, 2.0), 0.0);
    EXPECT_EQ(PairPeriodYears(10.0, 0.0), 0.0);
    EXPECT_EQ(PairPeriodYears(std::nan(""), 1.0), 0.0);

    // The G V 2 and K V 0 pair 10 AU apart of the case above; its record keeps a figure for
    // star 0's distance alone, 6.9 years against the pair's 23.
    Generate(2, Opening(5, 1, 2, 3, 4)
                    .Int(0, 0, 9)
                    .Die(7, 10).Die(2, 10)
                    .Die(3, 10).Die(4, 10)
                    .Die(7, 10).Die(2, 10)
                    .Die(1, 10).Die(1, 10).Die(1, 10).Die(1, 10));
    const double period = SystemPairPeriodYears(system);
    EXPECT_NEAR(period * period * (Star(0).mass + Star(1).mass), 10.0 * 10.0 * 10.0, 1e-9);
    EXPECT_NEAR(Star(0).orbit_period, 6.94, 0.01) << "the record's figure changed";
    FreeStars(&system);

    Generate(1, Opening(5, 1, 2, 1, 40).Die(6, 10).Die(1, 10).Die(1, 10));
    EXPECT_EQ(SystemPairPeriodYears(system), 0.0);
}
