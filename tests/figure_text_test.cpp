// The card's figures over many magnitudes: checked by reading the text back, not by a table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "app/figure_text.h"

namespace
{
int SignificantDigits(const std::string &text)
{
    int count = 0;
    bool started = false;
    for (char c : text)
    {
        if (c < '0' || c > '9') continue;
        started = started || c != '0';
        if (started) count += 1;
    }
    return count;
}

int Decimals(const std::string &text)
{
    const size_t point = text.find('.');
    return point == std::string::npos ? 0 : (int)(text.size() - point - 1);
}

bool PlainNumber(const std::string &text)
{
    return !text.empty() && text.find_first_not_of("-0123456789.") == std::string::npos;
}
} // namespace

// Catches a figure that reads 0 or shows one digit, an exponent, fewer decimals than the card
// asks for (its usual look lost), decimals added where none were needed, and a rounding off by
// more than half the last digit shown.
TEST(FigureText, EveryMagnitudeShowsTwoSignificantDigitsRoundedCorrectly)
{
    std::mt19937 random(26);
    std::uniform_real_distribution<double> exponent(-9.0, 9.0);
    for (int i = 0; i < 20000; i++)
    {
        const double value = (i % 2 == 0 ? 1.0 : -1.0) * std::pow(10.0, exponent(random));
        for (int decimals : {0, 1, 2})
        {
            const std::string text = FigureText(value, decimals);
            SCOPED_TRACE(std::to_string(value) + " with " + std::to_string(decimals) + " decimals: " + text);
            ASSERT_TRUE(PlainNumber(text));
            EXPECT_GE(SignificantDigits(text), 2);
            EXPECT_GE(Decimals(text), decimals);
            // More decimals than asked only to reach two digits (three after a carry: 0.0996 is "0.100").
            EXPECT_TRUE(Decimals(text) == decimals || SignificantDigits(text) <= 3);
            EXPECT_LE(std::fabs(std::stod(text) - value), 0.5000001 * std::pow(10.0, -Decimals(text)));
        }
        const std::string text = SignificantText(value, 3);
        SCOPED_TRACE(std::to_string(value) + " to three digits: " + text);
        ASSERT_TRUE(PlainNumber(text));
        EXPECT_GE(SignificantDigits(text), 2);
        EXPECT_TRUE(SignificantDigits(text) <= 3 || Decimals(text) == 0) << "digits beyond the three asked";
        // Three digits are within half a per cent; whole numbers within half a unit.
        EXPECT_LE(std::fabs(std::stod(text) - value), std::max(std::fabs(value) * 0.005, 0.5) * 1.000001);
    }
    // The habitable zone the user saw as "0.01 to 0.01 AU".
    EXPECT_EQ(FigureText(0.0095, 2) + " to " + FigureText(0.0126, 2), "0.0095 to 0.013");
    EXPECT_EQ(FigureText(0.0, 2), "0");
    EXPECT_EQ(FigureText(std::nan(""), 2), "unknown");
    EXPECT_EQ(SignificantText(1.6, 3), "1.6");
}

// Catches a period that reads 0 years, a unit chosen the wrong way round (hours for a long
// period), a figure of "0.4 days" where hours read better, and a wrong conversion between units.
TEST(FigureText, PeriodsTakeTheUnitThatReadsAndConvertBack)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> exponent(-5.0, 5.0);
    for (int i = 0; i < 20000; i++)
    {
        const double years = std::pow(10.0, exponent(random));
        const std::string text = PeriodText(years, 1);
        SCOPED_TRACE(std::to_string(years) + " years: " + text);
        const size_t space = text.find(' ');
        ASSERT_NE(space, std::string::npos);
        const std::string number = text.substr(0, space), unit = text.substr(space + 1);
        ASSERT_TRUE(PlainNumber(number));
        EXPECT_GE(SignificantDigits(number), 2);
        double back = std::stod(number);
        if (unit == "years")
            EXPECT_GE(years, 1.0);
        else if (unit == "days")
        {
            EXPECT_LT(years, 1.0);
            EXPECT_GE(back, 1.0);
            back /= 365.25;
        }
        else
        {
            ASSERT_EQ(unit, "hours");
            EXPECT_LT(years * 365.25, 1.0);
            back /= 365.25 * 24.0;
        }
        EXPECT_LE(std::fabs(back / years - 1.0), 0.05) << "reads back as " << back << " years";
    }
    EXPECT_EQ(PeriodText(1156.4, 1), "1156.4 years");
    EXPECT_EQ(PeriodText(0.0, 1), "0 years");
}
