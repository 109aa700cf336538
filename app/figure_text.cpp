// Two significant digits are what a reader needs to compare figures; more decimals than that
// are added only where the usual ones would hide the value.
#include "app/figure_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
constexpr double DAYS_PER_YEAR = 365.25;
constexpr double HOURS_PER_DAY = 24.0;
// Below 1e-15 a figure is noise from a degenerate input; more decimals would not make it read.
constexpr int MOST_DECIMALS = 16;

std::string Fixed(double value, int decimals)
{
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
    std::vector<char> text((size_t)length + 1);
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    return text.data();
}

// The decimals that put `digits` significant digits on value (none for a value of at least
// 10^(digits - 1)).
int DecimalsFor(double value, int digits)
{
    const int magnitude = (int)std::floor(std::log10(std::fabs(value)));
    return std::min(MOST_DECIMALS, std::max(0, digits - 1 - magnitude));
}

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
} // namespace

std::string FigureText(double value, int decimals)
{
    if (!std::isfinite(value)) return "unknown";
    if (value == 0.0) return "0";
    return Fixed(value, std::max(decimals, DecimalsFor(value, 2)));
}

std::string SignificantText(double value, int digits)
{
    if (!std::isfinite(value)) return "unknown";
    if (value == 0.0) return "0";
    std::string text = FigureText(value, DecimalsFor(value, std::max(2, digits)));
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0' && SignificantDigits(text) > 2)
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string PeriodText(double years, int year_decimals)
{
    if (!std::isfinite(years)) return "unknown";
    const double days = years * DAYS_PER_YEAR;
    if (std::fabs(years) >= 1.0 || years == 0.0) return FigureText(years, year_decimals) + " years";
    if (std::fabs(days) >= 1.0) return FigureText(days, 0) + " days";
    return FigureText(days * HOURS_PER_DAY, 0) + " hours";
}

std::string CountText(uint64_t count)
{
    std::string digits = std::to_string(count);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}
