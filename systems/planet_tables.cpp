// Planet description tables, transcribed value for value. Diameters in kilometres; the field
// factors multiply a die of 10.
#include "systems/planet_tables.h"

extern constexpr int PLANET_KIND_P_LIMIT[2][5] = {
    {21, 72, 82, 94, 99}, // inside the frost line
    {17, 27, 40, 89, 99}, // beyond it
};

extern constexpr PLANET_DIAMETER_ROW_T PLANET_DIAMETER_TABLE[3] = {
    {{2000, 2000, 3000, 3000, 4000, 5000, 6000, 7000, 8000, 10000},
     {100, 100, 100, 100, 100, 100, 100, 100, 200, 500}},
    {{200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {{15000, 18000, 21000, 24000, 27000, 30000, 40000, 50000, 60000, 70000},
     {300, 300, 300, 300, 300, 1000, 1000, 1000, 1000, 1000}},
};

extern constexpr int32_t PLANET_ACTIVITY_CLASS[6][10] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 2, 2, 3}, {1, 2, 2, 2, 2, 3, 3, 3, 3, 4},
    {2, 2, 3, 3, 3, 3, 4, 4, 4, 4}, {2, 3, 3, 4, 4, 4, 4, 4, 5, 5}, {3, 4, 5, 5, 5, 5, 5, 6, 6, 6},
};

extern constexpr double ROCKY_FIELD_FACTOR[6][5] = {
    {0, 0, 0, 0, 0},
    {0, 0, 0.001, 0.002, 0.01},
    {0, 0.001, 0.002, 0.01, 0.05},
    {0.001, 0.002, 0.01, 0.05, 0.1},
    {0.05, 0.1, 0.2, 0.3, 0.5},
    {0.1, 0.2, 0.3, 0.5, 1.0},
};

extern constexpr double GIANT_FIELD_FACTOR[4][5] = {
    {0.1, 0.25, 0.5, 0.75, 1.0},
    {0.25, 0.5, 0.75, 1.0, 1.5},
    {0.5, 1.0, 1.5, 2.0, 3.0},
    {1.5, 2.5, 5.0, 10.0, 25.0},
};
