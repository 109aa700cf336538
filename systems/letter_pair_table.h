// Letter-pair statistics that drive the system-name generator: how often each letter a to z
// follows each other one in the body of text the table was made from. Constant data.
#pragma once

#include <cstdint>

constexpr int LETTERS = 26;

// Row = current letter, column = following letter (a = 0). -1 marks a pair that never occurs.
extern const int32_t LETTER_PAIR_COUNTS[LETTERS][LETTERS];
// Sum of each row's non-negative entries.
extern const int32_t LETTER_ROW_TOTALS[LETTERS];

// The acceptance test of the name sampler in whole stream words. A draw r = word * 2^-32
// exceeds the pair chance c = count / total exactly when word > floor(c * 2^32), because
// scaling by 2^32 is exact in double; so comparing words against this table gives the same
// answer as comparing the unit values, draw for draw. -1 for pairs that never occur.
struct LETTER_ACCEPT_LIMITS_T
{
    int64_t limit[LETTERS][LETTERS];
};
extern const LETTER_ACCEPT_LIMITS_T LETTER_PAIR_ACCEPT_LIMITS;
