// Gas lists for planet description: random mixes, lists by temperature band, and the
// filter that drops gases too light for a body to keep.
#include "systems/atmospheres.h"

#include <cmath>

#include "random/random.h"
#include "systems/dice.h"
#include "systems/gas_table.h"

namespace
{
// Highest start row of a four-row mix: the mix ends on the table's last row at most.
constexpr int LAST_MIX_START = GAS_COUNT - 4;

// Lists by temperature band (rows) and die band (columns: D 1 to 4, 5 or 6, 7 or 8, 9).
// D = 10 always defers to RandomGasMix, so it has no column.
constexpr const char *BAND_LISTS[5][4] = {
    {"N2,CO2,", "CO2,", "NO2,SO2,", "SO2,"},        // above 400 K
    {"N2,CO2,", "CO2,", "N2,CH4,", "CO2,CH4,NH3,"}, // 240 K to 400 K
    {"N2,CO2,", "CO2,", "N2,CH4,", "H2,He,"},       // 150 K to below 240 K
    {"N2,CH4,", "H2,He,N2,", "N2,CO,", "He,H2,"},   // 50 K to below 150 K
    {"H2,", "He,", "He,H2,", "Ne,"},                // below 50 K
};

// Each bound belongs to the warmer band below it: 400 K and 240 K to the second band,
// 150 K to the third, 50 K to the fourth. NaN falls through to the coldest band.
int TemperatureBand(double temperature)
{
    if (temperature > 400.0) return 0;
    if (temperature >= 240.0) return 1;
    if (temperature >= 150.0) return 2;
    if (temperature >= 50.0) return 3;
    return 4;
}

int DieBand(int die)
{
    if (die <= 4) return 0;
    if (die <= 6) return 1;
    if (die <= 8) return 2;
    return 3;
}

// First row whose formula is exactly item, or -1. Compares lengths first, so an item of any
// length (or with NULs in it) is never read past its end nor matched by a prefix.
int FindGas(std::string_view item)
{
    for (int row = 0; row < GAS_COUNT; row++)
    {
        if (item == std::string_view(GAS_TABLE[row].formula)) return row;
    }
    return -1;
}
} // namespace

std::string RandomGasMix(void)
{
    int start = (int)std::floor(RandomUnit() * (LAST_MIX_START + 1));
    if (start > LAST_MIX_START) start = LAST_MIX_START; // RandomUnit < 1, so only a guard

    std::string mix;
    for (int row = start; row < start + 4; row++)
    {
        mix += GAS_TABLE[row].formula;
        mix += ',';
    }
    return mix;
}

std::string AtmosphereGases(double temperature)
{
    const int die = RollDie(10);
    if (die == 10) return RandomGasMix();
    return BAND_LISTS[TemperatureBand(temperature)][DieBand(die)];
}

std::string RetainedGases(std::string_view list, double temperature, double escape_velocity)
{
    std::string kept;
    const double speed_squared = escape_velocity * escape_velocity;
    // A body without escape velocity holds nothing; the formula would give infinity or NaN.
    if (!(speed_squared > 0.0)) return kept;
    const double minimum = 0.02783 * temperature / speed_squared;

    size_t start = 0;
    for (size_t comma = list.find(','); comma != std::string_view::npos; comma = list.find(',', start))
    {
        const int row = FindGas(list.substr(start, comma - start));
        if (row >= 0 && (double)GAS_WEIGHTS[row] > minimum)
        {
            kept += GAS_TABLE[row].formula;
            kept += ',';
        }
        start = comma + 1;
    }
    return kept;
}
