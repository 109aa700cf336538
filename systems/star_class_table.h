// The star class table (44 rows of spectral class data, indexed by class_index and subclass)
// and the correction tables the star generator applies by a die of 10. Pure constant data,
// kept apart from the generator that reads it.
#pragma once

#include <cstdint>

constexpr int STAR_CLASS_ROWS = 44;
constexpr int STAR_SUBCLASSES = 10;

// One row: a spectral class at one luminosity class, with its ten subclasses 0 to 9.
struct STAR_CLASS_T
{
    char letter[3];                        // "B", "WD", "BD", ...
    char luminosity_class[4];              // "V", "IV", "Ia", ...; empty for rows 16 and 17
    uint32_t temperature[STAR_SUBCLASSES]; // kelvin
    double luminosity[STAR_SUBCLASSES];    // solar luminosities
    double mass[STAR_SUBCLASSES];          // solar masses
    double radius[STAR_SUBCLASSES];        // solar radii
};

// Rows named by the generator. Row 17 is a placeholder of zeros that only a companion can
// land on; the primary's "further row 17" is turned into row 0.
constexpr uint32_t ROW_B_V = 0;
constexpr uint32_t ROW_A_V = 1;
constexpr uint32_t ROW_F_V = 2;
constexpr uint32_t ROW_G_V = 3;
constexpr uint32_t ROW_K_V = 4;
constexpr uint32_t ROW_M_V = 5;
constexpr uint32_t ROW_A_IV = 6;
constexpr uint32_t ROW_F_IV = 7;
constexpr uint32_t ROW_G_IV = 8;
constexpr uint32_t ROW_K_IV = 9;
constexpr uint32_t ROW_A_III = 10;
constexpr uint32_t ROW_F_III = 11;
constexpr uint32_t ROW_G_III = 12;
constexpr uint32_t ROW_K_III = 13;
constexpr uint32_t ROW_M_III = 14;
constexpr uint32_t ROW_WHITE_DWARF = 15;
constexpr uint32_t ROW_BROWN_DWARF = 16;
constexpr uint32_t ROW_PLACEHOLDER = 17;

extern const STAR_CLASS_T STAR_CLASS_TABLE[STAR_CLASS_ROWS];

// Correction tables, each indexed by a die of 10 minus one (entry for a roll of 1 first).
// Mass and luminosity factors for subgiants (rows 6 to 9) and giants (rows 10 to 14).
extern const double SUBGIANT_MASS_FACTOR[10];
extern const double SUBGIANT_LUMINOSITY_FACTOR[10];
extern const double GIANT_MASS_FACTOR[10];
extern const double GIANT_LUMINOSITY_FACTOR[10];

// Ages in thousand million years, by spectral letter and, for A and F, by subclass half.
extern const double AGE_A_EARLY[10]; // subclass 0 to 4
extern const double AGE_A_LATE[10];  // subclass 5 to 9
extern const double AGE_F_EARLY[10];
extern const double AGE_F_LATE[10];
extern const double AGE_G[10];
extern const double AGE_K[10];
extern const double AGE_M[10];
extern const double AGE_WHITE_DWARF[10];
extern const double AGE_BROWN_DWARF[10];

// Luminosity factor that comes with the age roll: subclass 5 to 9 of A, F, G and K stars
// brighten or dim with age; every other aged star keeps its luminosity.
extern const double AGE_LUMINOSITY_FACTOR_LATE[10];
extern const double AGE_LUMINOSITY_FACTOR_OTHER[10];
