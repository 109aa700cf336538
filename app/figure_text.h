// Figures as the system card writes them: never one that reads 0 because its decimals ran out,
// never an exponent, and periods in the unit that suits them. Needs no window.
#pragma once

#include <cstdint>
#include <string>

// value with `decimals` decimals, or as many more as it takes to show two significant digits:
// 1.43 stays "1.43", 0.0126 becomes "0.013", 0.0095 stays "0.0095". Zero is "0"; a value that
// is not finite is "unknown".
std::string FigureText(double value, int decimals);

// value to `digits` significant digits, with trailing zeros dropped as printf's %g drops them,
// but never below two significant digits and never with an exponent: digits left of the point
// are all kept (12345 stays "12345").
std::string SignificantText(double value, int digits);

// A period given in years, in the unit that reads best: years from one year up (with
// year_decimals decimals, as FigureText), days from one day, hours below: "1156.3 years",
// "88 days", "17 hours".
std::string PeriodText(double years, int year_decimals);

// A count with its thousands apart: 973080 becomes "973,080".
std::string CountText(uint64_t count);
