// Atmospheres: the gas-list filter, the temperature bands and the random mix, with a fuzz
// run of the filter over arbitrary bytes (meaningful under the sanitizer build).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "random/random.h"
#include "systems/atmospheres.h"
#include "systems/gas_table.h"
#include "tests/support/scripted_random.h"

namespace
{
// Splits a well-formed gas list into its items; fails the test on text after the last comma.
std::vector<std::string> ListItems(const std::string &list)
{
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t comma = list.find(','); comma != std::string::npos; comma = list.find(',', start))
    {
        items.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    EXPECT_EQ(start, list.size()) << "gas list does not end with a comma: " << list;
    return items;
}

int GasRow(const std::string &formula)
{
    for (int row = 0; row < GAS_COUNT; row++)
    {
        if (formula == GAS_TABLE[row].formula) return row;
    }
    return -1;
}
} // namespace

// Catches a wrong constant, a wrong power of the escape velocity or >= in place of >.
TEST(RetainedGases, KeepsOnlyGasesHeavierThanTheMinimum)
{
    EXPECT_EQ(RetainedGases("H2,He,N2,", 300.0, 1.0), "N2,");
    EXPECT_EQ(RetainedGases("H2,He,N2,", 300.0, 11.2), "H2,He,N2,");
    EXPECT_EQ(RetainedGases("H2,He,N2,", 300.0, 0.5), "");
    EXPECT_EQ(RetainedGases("", 300.0, 1.0), "");
    // List order is kept, and a gas listed twice is kept twice.
    EXPECT_EQ(RetainedGases("SO2,H2,CO2,SO2,", 300.0, 1.0), "SO2,CO2,SO2,");
}

// Catches >= in place of >: N2 and CO weigh exactly the minimum and must go, O2 stays.
TEST(RetainedGases, WeightEqualToTheMinimumIsDropped)
{
    // A temperature for which 0.02783 * T is exactly 28 in double precision.
    double temperature = 28.0 / 0.02783;
    for (int step = 0; step < 64 && 0.02783 * temperature != 28.0; step++)
    {
        temperature = std::nextafter(temperature, 0.02783 * temperature < 28.0 ? 2000.0 : 0.0);
    }
    ASSERT_EQ(0.02783 * temperature, 28.0);

    EXPECT_EQ(RetainedGases("Ne,N2,CO,O2,", temperature, 1.0), "O2,");
    EXPECT_EQ(RetainedGases("Ne,N2,CO,O2,", temperature * 0.999999, 1.0), "N2,CO,O2,");
}

// Catches prefix matching, reads past a short item or past the end of the text, and text
// after the last comma counted as an item.
TEST(RetainedGases, MalformedItemsAddNothing)
{
    const double cold = 1.0; // minimum far below every weight: only matching decides
    EXPECT_EQ(RetainedGases("N2,CO2", cold, 10.0), "N2,");
    EXPECT_EQ(RetainedGases("CO2X,N2N2N2N2N2N2,Nitrogen,CO,", cold, 10.0), "CO,");
    EXPECT_EQ(RetainedGases("C,CO,CO2,O,", cold, 10.0), "CO,CO2,");
    EXPECT_EQ(RetainedGases(",,Xe,n2, N2,N2 ,", cold, 10.0), "");
    EXPECT_EQ(RetainedGases(std::string("N2\0,He,", 7), cold, 10.0), "He,");
    EXPECT_EQ(RetainedGases("no commas at all", cold, 10.0), "");
}

// Catches a NaN or infinite minimum leaking into the comparison for a body that has no
// escape velocity (a belt): nothing is retained rather than "everything" or garbage.
TEST(RetainedGases, NoEscapeVelocityRetainsNothing)
{
    EXPECT_EQ(RetainedGases("H2,SO2,", 300.0, 0.0), "");
    EXPECT_EQ(RetainedGases("H2,SO2,", 0.0, 0.0), "");
}

// Catches buffer overruns and malformed output on arbitrary input: every result is a
// well-formed list of table gases above the minimum, taken from the input in order, and
// filtering the result again changes nothing.
TEST(RetainedGases, FuzzArbitraryBytes)
{
    std::mt19937 bytes(20240607u);
    const std::vector<std::string> pieces = {",", "H2", "He", "N2", "CO", "CO2", "SO2", "O", "2", "\0", ",,"};
    for (int round = 0; round < 4000; round++)
    {
        std::string list;
        const int length = (int)(bytes() % 48u);
        for (int i = 0; i < length; i++)
        {
            if (bytes() % 2u == 0u)
                list += (char)(bytes() & 0xFFu);
            else
                list += pieces[bytes() % pieces.size()];
        }
        const double temperature = (double)(bytes() % 1000u);
        const double velocity = (double)(bytes() % 200u) * 0.05;

        const std::string kept = RetainedGases(list, temperature, velocity);
        ASSERT_LE(kept.size(), list.size());
        const double minimum = 0.02783 * temperature / (velocity * velocity);
        size_t from = 0;
        for (const std::string &item : ListItems(kept))
        {
            const int row = GasRow(item);
            ASSERT_GE(row, 0) << item;
            EXPECT_GT((double)GAS_WEIGHTS[row], minimum);
            // Taken from the input, in order, as a whole comma-terminated item.
            const std::string needle = item + ",";
            const size_t at = list.find(needle, from);
            ASSERT_NE(at, std::string::npos);
            from = at + needle.size();
        }
        EXPECT_EQ(RetainedGases(kept, temperature, velocity), kept);
    }
}

// Catches a band test on the wrong side of a bound: each bound belongs to the band given
// in the comment, and a hair beyond it falls in the neighbouring band.
TEST(AtmosphereGases, TemperatureBoundsBelongToTheRightBand)
{
    struct CASE
    {
        double temperature;
        int die;
        const char *list;
    };
    const CASE cases[] = {
        {400.0, 7, "N2,CH4,"},      // 400 K: second band
        {400.001, 7, "NO2,SO2,"},   // above 400 K: first band
        {240.0, 9, "CO2,CH4,NH3,"}, // 240 K: second band
        {239.999, 9, "H2,He,"},     // just below: third band
        {150.0, 9, "H2,He,"},       // 150 K: third band
        {149.999, 9, "He,H2,"},     // just below: fourth band
        {50.0, 5, "H2,He,N2,"},     // 50 K: fourth band
        {49.999, 5, "He,"},         // below 50 K: fifth band
        {3.0, 9, "Ne,"},
    };
    for (const CASE &c : cases)
    {
        ScriptRandomWords({WordForInt(c.die, 1, 10)});
        EXPECT_EQ(AtmosphereGases(c.temperature), c.list) << c.temperature << " K, die " << c.die;
    }
}

// Catches die bands split at the wrong face (4|5, 6|7, 8|9) and a die 10 that does not defer
// to the random mix (whose draw must come after the die).
TEST(AtmosphereGases, DieBandsAndTheRandomMix)
{
    const int dice[] = {1, 4, 5, 6, 7, 8, 9};
    const char *lists[] = {"H2,", "H2,", "He,", "He,", "He,H2,", "He,H2,", "Ne,"};
    for (int i = 0; i < 7; i++)
    {
        ScriptRandomWords({WordForInt(dice[i], 1, 10)});
        EXPECT_EQ(AtmosphereGases(20.0), lists[i]) << "die " << dice[i];
    }

    ScriptRandomWords({WordForInt(10, 1, 10), 0u});
    EXPECT_EQ(AtmosphereGases(300.0), "H2,He,CH4,NH3,");
    ScriptRandomWords({WordForInt(10, 1, 10), 0xFFFFFFFFu});
    EXPECT_EQ(AtmosphereGases(300.0), "Ar,CO2,NO2,SO2,");
}

// Catches a mix that runs off the table (start row 12 or more) or skips a row, and a mix
// that draws more or less than one word.
TEST(RandomGasMix, FourNeighbouringRowsNeverPastTheLast)
{
    ScriptRandomWords({0u, 0x12345678u});
    EXPECT_EQ(RandomGasMix(), "H2,He,CH4,NH3,");
    EXPECT_EQ(RandomNext32(), 0x12345678u);

    ScriptRandomWords({0xFFFFFFFFu});
    EXPECT_EQ(RandomGasMix(), "Ar,CO2,NO2,SO2,");

    RandomSeed(7.0);
    bool seen_first = false;
    bool seen_last = false;
    for (int i = 0; i < 2000; i++)
    {
        const std::vector<std::string> items = ListItems(RandomGasMix());
        ASSERT_EQ(items.size(), 4u);
        const int start = GasRow(items[0]);
        ASSERT_GE(start, 0);
        ASSERT_LE(start, 11);
        for (int k = 1; k < 4; k++)
            EXPECT_EQ(GasRow(items[k]), start + k);
        seen_first = seen_first || start == 0;
        seen_last = seen_last || start == 11;
    }
    EXPECT_TRUE(seen_first);
    EXPECT_TRUE(seen_last);
}
