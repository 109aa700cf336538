// Star generation: nine steps in a fixed order over a system's one or two star records. The
// order of the dice is part of the output, so every step draws exactly what it always draws,
// even where the value goes unused.
#include "systems/stars.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "random/random.h"
#include "systems/dice.h"
#include "systems/star_class_table.h"

namespace
{
// Sun-like reference temperature, kelvin: radius and luminosity corrections are relative to it.
constexpr double SUN_TEMPERATURE = 5800.0;

struct OPENING_DICE_T
{
    int32_t p = 0; // die of 100: primary class
    int32_t q = 0; // die of 10: refines the primary class
    int32_t s = 0; // 0 to 9: primary subclass
    int32_t h = 0; // die of 10: companion rule
    int32_t k = 0; // 0 to 43: companion row
};

OPENING_DICE_T RollOpeningDice(void)
{
    OPENING_DICE_T dice;
    dice.p = RollDie(100);
    dice.q = RollDie(10);
    dice.s = RandomInt(0, 9);
    dice.h = RollDie(10);
    dice.k = RandomInt(0, 43);
    return dice;
}

// Main-sequence A to K stars dominate; M V and A III never become a primary.
uint32_t RollPrimaryClass(int32_t p, int32_t q)
{
    if (p <= 1) return (q >= 7) ? ROW_A_IV : ROW_A_V;
    if (p <= 4) return (q >= 9) ? ROW_F_IV : ROW_F_V;
    if (p <= 12) return (q == 10) ? ROW_G_IV : ROW_G_V;
    if (p <= 26) return ROW_K_V;
    if (p <= 36) return ROW_WHITE_DWARF;
    if (p <= 85) return ROW_A_V;
    if (p <= 98) return ROW_BROWN_DWARF;
    if (p == 99)
    {
        if (q == 1) return ROW_F_III;
        if (q == 2) return ROW_G_III;
        if (q <= 5) return ROW_K_III;
        if (q <= 7) return ROW_M_III;
        return ROW_K_IV;
    }
    // The rare bright rows; the placeholder row 17 stands for B V here.
    const int32_t row = RandomInt(17, 43);
    return (row == (int32_t)ROW_PLACEHOLDER) ? ROW_B_V : (uint32_t)row;
}

void TakeClass(STAR_T *star, uint32_t row, uint32_t subclass)
{
    const STAR_CLASS_T &entry = STAR_CLASS_TABLE[row];
    star->class_index = row;
    star->subclass = subclass;
    star->temperature = (double)entry.temperature[subclass];
    star->luminosity = entry.luminosity[subclass];
    star->mass = entry.mass[subclass];
    star->radius = entry.radius[subclass];
}

// Rule 1 (H = 1 or 2) can pair the primary with a twin or with any row at or after its own,
// the placeholder row 17 included; otherwise a companion is a main-sequence-to-subgiant star
// or a brown dwarf.
void RollCompanion(STAR_T *companion, const STAR_T &primary, const OPENING_DICE_T &dice)
{
    if (dice.h <= 2)
    {
        if ((uint32_t)dice.k < primary.class_index)
        {
            TakeClass(companion, primary.class_index, (uint32_t)dice.s);
            return;
        }
        TakeClass(companion, (uint32_t)dice.k, (uint32_t)RandomInt(0, 9));
        return;
    }
    const uint32_t subclass = (uint32_t)RandomInt(0, 9);
    TakeClass(companion, (dice.k < 10) ? (uint32_t)dice.k : ROW_BROWN_DWARF, subclass);
}

// Separation of the pair, astronomical units (2 to 2000).
double RollSeparation(void)
{
    const int32_t band = RollDie(10);
    if (band <= 3) return 2.0 * RollDie(2);
    if (band <= 6) return 3.0 * RollDie(5);
    if (band <= 8) return 5.0 * RollDie(10);
    if (band == 9) return 20.0 * RollDie(10);
    return 200.0 * RollDie(10);
}

// Eccentricity 0.01 to 0.9: the band die first, then the value die.
double RollEccentricity(void)
{
    const int32_t band = RollDie(10);
    const int32_t value = RollDie(10);
    if (band <= 2) return value * 0.01;
    if (band <= 4) return value * 0.01 + 0.1;
    if (band <= 6) return value * 0.01 + 0.2;
    if (band <= 8) return value * 0.01 + 0.3;
    if (band == 9) return value * 0.01 + 0.4;
    return value * 0.04 + 0.5;
}

// Star 0 ends up the heavier one; each star's distance from the barycentre is its share of
// the separation, star 1 on the far side (negative).
void RollPairOrbit(STAR_T *stars)
{
    if (stars[0].mass < stars[1].mass) std::swap(stars[0], stars[1]);

    const double separation = RollSeparation();
    const double m0 = stars[0].mass;
    const double m1 = stars[1].mass;
    stars[0].mass_share = m1 / (m0 + m1);
    stars[0].orbit_radius = stars[0].mass_share * separation;
    stars[1].mass_share = 1.0 - stars[0].mass_share;
    stars[1].orbit_radius = -(stars[1].mass_share * separation);

    // The generation's own figure, part of every system as generated: from star 0's distance
    // to the centre rather than the separation, so it is not the pair's period. What is shown
    // and animated comes from SystemPairPeriodYears.
    const double period = std::sqrt(std::pow(stars[0].orbit_radius, 3.0) / (m0 + m1));
    stars[0].orbit_period = period;
    stars[1].orbit_period = period;

    const double eccentricity = RollEccentricity();
    stars[0].eccentricity = eccentricity;
    stars[1].eccentricity = eccentricity;

    const double zone = 4.0 * std::sqrt(stars[0].luminosity);
    stars[0].companion_zone = zone;
    stars[1].companion_zone = zone;
}

// Scales mass and luminosity by one roll and derives the radius from the new luminosity.
void RollEvolvedStarCorrection(STAR_T *star, const double *mass_factor, const double *luminosity_factor)
{
    const int32_t roll = RollDie(10);
    star->mass *= mass_factor[roll - 1];
    star->luminosity *= luminosity_factor[roll - 1];
    star->radius = std::sqrt(star->luminosity) * std::pow(SUN_TEMPERATURE / star->temperature, 2.0);
}

void RollFirstPass(STAR_T *star)
{
    const uint32_t row = star->class_index;
    if (row == ROW_K_IV) star->subclass = 0;

    if (row >= ROW_A_IV && row <= ROW_K_IV)
    {
        RollEvolvedStarCorrection(star, SUBGIANT_MASS_FACTOR, SUBGIANT_LUMINOSITY_FACTOR);
    }
    else if (row >= ROW_A_III && row <= ROW_M_III)
    {
        RollEvolvedStarCorrection(star, GIANT_MASS_FACTOR, GIANT_LUMINOSITY_FACTOR);
    }
    else if (row == ROW_WHITE_DWARF || row == ROW_BROWN_DWARF)
    {
        // The table holds no luminosity for dwarfs: Stefan-Boltzmann from radius and temperature.
        star->luminosity = star->radius * star->radius * std::pow(star->temperature / SUN_TEMPERATURE, 4.0);
    }

    const STAR_CLASS_T &entry = STAR_CLASS_TABLE[row];
    std::snprintf(star->designation, sizeof star->designation, "%s%u%s", entry.letter,
                  (unsigned)star->subclass, entry.luminosity_class);
}

// The age table of a row and the luminosity factors that come with it; null for rows that
// are not aged (O and B stars, the bright giants, the placeholder).
struct AGE_RULE_T
{
    const double *age = nullptr;
    const double *luminosity_factor = nullptr;
};

AGE_RULE_T AgeRule(uint32_t row, uint32_t subclass)
{
    const bool late = subclass >= 5;
    const double *late_factor = late ? AGE_LUMINOSITY_FACTOR_LATE : AGE_LUMINOSITY_FACTOR_OTHER;
    switch (row)
    {
    case ROW_A_V:
    case ROW_A_IV:
    case ROW_A_III:
        return {late ? AGE_A_LATE : AGE_A_EARLY, late_factor};
    case ROW_F_V:
    case ROW_F_IV:
    case ROW_F_III:
        return {late ? AGE_F_LATE : AGE_F_EARLY, late_factor};
    case ROW_G_V:
    case ROW_G_IV:
    case ROW_G_III:
        return {AGE_G, late_factor};
    case ROW_K_V:
    case ROW_K_IV:
    case ROW_K_III:
        return {AGE_K, late_factor};
    case ROW_M_V:
    case ROW_M_III:
        return {AGE_M, AGE_LUMINOSITY_FACTOR_OTHER};
    case ROW_WHITE_DWARF:
        return {AGE_WHITE_DWARF, AGE_LUMINOSITY_FACTOR_OTHER};
    case ROW_BROWN_DWARF:
        return {AGE_BROWN_DWARF, AGE_LUMINOSITY_FACTOR_OTHER};
    default:
        return {};
    }
}

void RollSecondPass(STAR_T *star)
{
    // Lifetime from the luminosity before the age factor. The placeholder row has neither
    // mass nor luminosity; its lifetime is 0 rather than 0 / 0.
    star->lifetime = (star->luminosity > 0.0) ? star->mass / star->luminosity * 10.0 : 0.0;

    // A snapshot of the orbit at the moment of generation; a single star (share and radius 0)
    // sits at the origin.
    const double t1 = ClockSeconds();
    const double t2 = ClockSeconds();
    star->position = Vector3{(float)(star->mass_share + star->orbit_radius * std::sin(t2)), 0.0f,
                             (float)(star->orbit_radius * std::cos(t1))};

    const int32_t roll = RollDie(10);
    const AGE_RULE_T rule = AgeRule(star->class_index, star->subclass);
    if (rule.age == nullptr) return;
    star->age = rule.age[roll - 1];
    star->luminosity *= rule.luminosity_factor[roll - 1];
}

int32_t PlanetModifier(int32_t total)
{
    if (total <= 2) return 0; // two dice and an age of 0: unreachable as a band, field stays 0
    if (total <= 9) return 2;
    if (total <= 12) return 1;
    if (total <= 18) return 0;
    if (total <= 21) return -1;
    return -3;
}

void RollThirdPass(STAR_T *star)
{
    const int32_t first = RollDie(10);
    const int32_t second = RollDie(10);
    const int32_t total = first + second + (int32_t)std::floor(0.5 + star->age);
    star->planet_modifier = PlanetModifier(total);

    const double root = std::sqrt(star->luminosity);
    star->habitable_inner = root * 0.75;
    star->habitable_outer = root * 1.4;
}
} // namespace

void RollPrimaryClassOnly(STAR_T *primary, uint32_t star_count)
{
    const OPENING_DICE_T dice = RollOpeningDice();
    TakeClass(primary, RollPrimaryClass(dice.p, dice.q), (uint32_t)dice.s);
    if (star_count != 2) return;
    // The pair's orbit puts the heavier star first, before any correction moves a mass.
    STAR_T companion;
    RollCompanion(&companion, *primary, dice);
    if (primary->mass < companion.mass) TakeClass(primary, companion.class_index, companion.subclass);
}

void GenerateStars(SYSTEM_T *system)
{
    if (system->stars == nullptr || system->star_count == 0) return;
    STAR_T *stars = system->stars;
    const uint32_t count = system->star_count;

    const OPENING_DICE_T dice = RollOpeningDice();
    TakeClass(&stars[0], RollPrimaryClass(dice.p, dice.q), (uint32_t)dice.s);

    if (count == 2)
    {
        RollCompanion(&stars[1], stars[0], dice);
        RollPairOrbit(stars);
    }

    for (uint32_t i = 0; i < count; i++)
        RollFirstPass(&stars[i]);
    for (uint32_t i = 0; i < count; i++)
        RollSecondPass(&stars[i]);
    if (count == 2) stars[1].age = stars[0].age;
    for (uint32_t i = 0; i < count; i++)
        RollThirdPass(&stars[i]);
}

double PairPeriodYears(double separation_au, double total_mass_suns)
{
    const bool valid = std::isfinite(separation_au) && separation_au > 0.0 &&
                       std::isfinite(total_mass_suns) && total_mass_suns > 0.0;
    if (!valid) return 0.0;
    return std::sqrt(separation_au * separation_au * separation_au / total_mass_suns);
}

double SystemPairPeriodYears(const SYSTEM_T &system)
{
    if (system.star_count != 2 || system.stars == nullptr) return 0.0;
    const STAR_T &a = system.stars[0];
    const STAR_T &b = system.stars[1];
    return PairPeriodYears(std::fabs(a.orbit_radius) + std::fabs(b.orbit_radius), a.mass + b.mass);
}
