// The fifteen gases, lightest first. The row order matters: a random gas mix takes four
// neighbouring rows, so neighbours are gases of similar weight.
#include "systems/gas_table.h"

constexpr GAS_T GAS_TABLE[GAS_COUNT] = {
    {"H2", "Hydrogen"},
    {"He", "Helium"},
    {"CH4", "Methane"},
    {"NH3", "Ammonia"},
    {"H2O", "Water"},
    {"Ne", "Neon"},
    {"N2", "Nitrogen"},
    {"CO", "Carbon Monox"},
    {"NO", "Nitrogen Oxide"},
    {"O2", "Oxygen"},
    {"H2S", "Hydrogen Sulfide"},
    {"Ar", "Argon"},
    {"CO2", "Carbon Dioxide"},
    {"NO2", "Nitrogen Dioxide"},
    {"SO2", "Sulfur Dioxide"},
};

constexpr int32_t GAS_WEIGHTS[GAS_COUNT] = {2, 4, 16, 17, 18, 20, 28, 28, 30, 32, 34, 40, 44, 46, 64};

constexpr int32_t GAS_BOILING_POINTS[GAS_COUNT] = {20,  4,  109, 240, 373, 27,  77, 82,
                                                   121, 90, 212, 87,  195, 294, 263};
