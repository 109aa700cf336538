// Star class table and correction tables against the published values: block corners,
// rows the generator treats specially, and the row labels that make up designations.
#include <gtest/gtest.h>

#include <string>

#include "systems/star_class_table.h"

namespace
{
struct CORNER_T
{
    uint32_t row;
    uint32_t subclass;
    uint32_t temperature;
    double luminosity;
    double mass;
    double radius;
};
} // namespace

// Catches a transcription slip, a row shifted by one or subclasses out of order: the first and
// last subclass of the first and last row of every block.
TEST(StarClassTable, BlockCornersMatchThePublishedValues)
{
    const CORNER_T corners[] = {
        {0, 0, 28000, 13000.0, 17.5, 4.9},     {0, 9, 11000, 130.0, 4.0, 3.2},
        {5, 0, 3500, 0.08, 0.46, 0.8},         {5, 9, 2200, 0.0002, 0.08, 0.11},
        {6, 0, 9700, 156.0, 6.0, 4.5},         {6, 9, 7500, 23.0, 2.7, 2.9},
        {9, 0, 4700, 4.0, 1.4, 3.0},           {9, 9, 4700, 4.0, 1.4, 3.0},
        {10, 0, 9500, 280.0, 12.0, 6.2},       {10, 9, 7350, 63.0, 8.3, 4.9},
        {14, 0, 3400, 470.0, 6.2, 63.0},       {14, 9, 2200, 2700.0, 9.3, 360.0},
        {15, 0, 30000, 0.0, 1.3, 0.004},       {15, 9, 4000, 0.0, 0.35, 0.016},
        {16, 0, 2200, 0.0, 0.07, 0.07},        {16, 9, 700, 0.0, 0.014, 0.12},
        {18, 0, 50000, 2000000.0, 80.0, 19.0}, {18, 9, 30000, 20000.0, 20.0, 5.3},
        {22, 0, 26000, 100000.0, 25.0, 15.7},  {22, 9, 10600, 360.0, 12.5, 5.7},
        {23, 0, 46000, 3500000.0, 80.0, 30.0}, {29, 9, 2100, 16200.0, 18.0, 970.0},
        {30, 0, 45000, 3750000.0, 80.0, 32.0}, {36, 9, 2000, 115000.0, 25.0, 2850.0},
        {37, 0, 44000, 4000000.0, 80.0, 35.0}, {43, 9, 1900, 141000.0, 30.0, 3500.0},
        {3, 2, 5800, 1.09, 1.02, 1.0},         {27, 7, 4950, 740.0, 10.5, 39.0},
    };
    for (const CORNER_T &c : corners)
    {
        const STAR_CLASS_T &row = STAR_CLASS_TABLE[c.row];
        SCOPED_TRACE("row " + std::to_string(c.row) + " subclass " + std::to_string(c.subclass));
        EXPECT_EQ(row.temperature[c.subclass], c.temperature);
        EXPECT_EQ(row.luminosity[c.subclass], c.luminosity);
        EXPECT_EQ(row.mass[c.subclass], c.mass);
        EXPECT_EQ(row.radius[c.subclass], c.radius);
    }
}

// Catches stray values in the placeholder row (a companion of row 17 must be all zero) and a
// K IV row that varies by subclass (the generator relies on it being constant).
TEST(StarClassTable, PlaceholderRowIsZeroAndSubgiantKRowIsConstant)
{
    for (int s = 0; s < STAR_SUBCLASSES; s++)
    {
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_PLACEHOLDER].temperature[s], 0u);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_PLACEHOLDER].luminosity[s], 0.0);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_PLACEHOLDER].mass[s], 0.0);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_PLACEHOLDER].radius[s], 0.0);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_K_IV].temperature[s], 4700u);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_K_IV].mass[s], 1.4);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_WHITE_DWARF].luminosity[s], 0.0);
        EXPECT_EQ(STAR_CLASS_TABLE[ROW_BROWN_DWARF].luminosity[s], 0.0);
    }
}

// Catches a wrong letter or luminosity class in any row: these labels become the designation.
TEST(StarClassTable, RowLabels)
{
    const char *labels[STAR_CLASS_ROWS] = {
        "B V",   "A V",   "F V",   "G V",   "K V",    "M V",  "A IV", "F IV", "G IV", "K IV", "A III",
        "F III", "G III", "K III", "M III", "WD VII", "BD ",  "S ",   "O V",  "O IV", "B IV", "O III",
        "B III", "O II",  "B II",  "A II",  "F II",   "G II", "K II", "M II", "O Ib", "B Ib", "A Ib",
        "F Ib",  "G Ib",  "K Ib",  "M Ib",  "O Ia",   "B Ia", "A Ia", "F Ia", "G Ia", "K Ia", "M Ia"};
    for (int r = 0; r < STAR_CLASS_ROWS; r++)
    {
        const std::string label =
            std::string(STAR_CLASS_TABLE[r].letter) + " " + STAR_CLASS_TABLE[r].luminosity_class;
        EXPECT_EQ(label, labels[r]) << "row " << r;
    }
}

// Catches temperatures out of order within the main blocks (a swapped pair of columns): hotter
// subclasses come first in every row except the constant K IV row and the placeholder.
TEST(StarClassTable, TemperaturesFallWithSubclass)
{
    for (int r = 0; r < STAR_CLASS_ROWS; r++)
    {
        if (r == (int)ROW_K_IV || r == (int)ROW_PLACEHOLDER) continue;
        for (int s = 1; s < STAR_SUBCLASSES; s++)
        {
            EXPECT_LE(STAR_CLASS_TABLE[r].temperature[s], STAR_CLASS_TABLE[r].temperature[s - 1])
                << "row " << r << " subclass " << s;
        }
    }
}

// Catches a slip in the correction tables at their ends and turning points.
TEST(StarClassTable, CorrectionTables)
{
    EXPECT_EQ(SUBGIANT_MASS_FACTOR[0], 1.0);
    EXPECT_EQ(SUBGIANT_MASS_FACTOR[5], 0.6);
    EXPECT_EQ(SUBGIANT_MASS_FACTOR[9], 1.4);
    EXPECT_EQ(SUBGIANT_LUMINOSITY_FACTOR[5], 0.2);
    EXPECT_EQ(SUBGIANT_LUMINOSITY_FACTOR[9], 1.8);
    EXPECT_EQ(GIANT_MASS_FACTOR[0], 0.3);
    EXPECT_EQ(GIANT_MASS_FACTOR[8], 1.25);
    EXPECT_EQ(GIANT_LUMINOSITY_FACTOR[8], 1.5);
    EXPECT_EQ(GIANT_LUMINOSITY_FACTOR[9], 2.0);
    EXPECT_EQ(AGE_A_EARLY[0], 0.1);
    EXPECT_EQ(AGE_A_EARLY[9], 0.6);
    EXPECT_EQ(AGE_A_LATE[0], 0.2);
    EXPECT_EQ(AGE_A_LATE[9], 1.2);
    EXPECT_EQ(AGE_F_EARLY[3], 1.3);
    EXPECT_EQ(AGE_F_EARLY[9], 3.2);
    EXPECT_EQ(AGE_F_LATE[9], 5.0);
    EXPECT_EQ(AGE_LUMINOSITY_FACTOR_LATE[0], 0.8);
    EXPECT_EQ(AGE_LUMINOSITY_FACTOR_LATE[9], 1.2);
    const double *plain[] = {AGE_G, AGE_K, AGE_M, AGE_WHITE_DWARF, AGE_BROWN_DWARF};
    for (int i = 0; i < 10; i++)
    {
        for (const double *table : plain)
            EXPECT_EQ(table[i], i + 1.0);
        EXPECT_EQ(AGE_LUMINOSITY_FACTOR_OTHER[i], 1.0);
    }
}
