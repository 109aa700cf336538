// The tables planet description reads with its dice: kind limits, diameters, activity classes
// and magnetic-field factors. Pure constant data, kept apart from the generator that reads it;
// each table's comment says which band or die picks its row and column.
#pragma once

#include <cstdint>

// Highest die of 100 (P) that gives kind 1 to 5 (column kind - 1), inside the frost line (row
// 0) and beyond it (row 1). P = 100 draws the kind from 2 to 4 instead.
extern const int PLANET_KIND_P_LIMIT[2][5];

// Diameter (kilometres) = (die of 10) * step + base, by kind 2 to 4 (row kind - 2) and the die
// Q (column Q - 1).
struct PLANET_DIAMETER_ROW_T
{
    double base[10];
    double step[10];
};
extern const PLANET_DIAMETER_ROW_T PLANET_DIAMETER_TABLE[3];

// Activity class of a rocky planet by activity band (rows: below 0.5, 1, 2, 3, 5, and above)
// and the die Z (column Z - 1).
extern const int32_t PLANET_ACTIVITY_CLASS[6][10];

// A rocky planet's field strength = V * factor, by field-index band (rows: below 0.05, 0.5, 1,
// 2, 4, and above) and the die W in groups (columns: 1 to 3, 4 and 5, 6 and 7, 8 and 9, 10).
extern const double ROCKY_FIELD_FACTOR[6][5];

// A giant's field strength = V * factor, by mass band (rows: earth masses below 50, 200, 500,
// and above) and the die W in groups (columns: 1, 2 to 4, 5 to 7, 8 and 9, 10).
extern const double GIANT_FIELD_FACTOR[4][5];
