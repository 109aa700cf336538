// The gases an atmosphere can be made of: formula, name, molecular weight and boiling point.
// Gas lists are texts of these formulas, so the formula column is the key every atmosphere
// operation matches against; weights and boiling points sit in arrays of their own.
#pragma once

#include <cstdint>

constexpr int GAS_COUNT = 15;

struct GAS_T
{
    char formula[4]; // "H2", "CH4", ...: at most three characters
    char name[17];
};

extern const GAS_T GAS_TABLE[GAS_COUNT];
extern const int32_t GAS_WEIGHTS[GAS_COUNT];        // molecular weight, hydrogen atom = 1
extern const int32_t GAS_BOILING_POINTS[GAS_COUNT]; // kelvin
