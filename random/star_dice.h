// STAR_DICE_T: a small counter-based random source for one star. Every star of a galaxy made
// this way has its own dice, seeded from the galaxy and the star's number alone, so stars can
// be placed in any order and on any number of threads and still come out the same. The one
// shared random stream (random.h) stays the classic galaxy's; these dice never touch it.
#pragma once

#include <cstdint>

struct STAR_DICE_T
{
    uint64_t state = 0;
};

// SplitMix64's finaliser: every bit of the input moves about half of the output's.
inline uint64_t MixBits(uint64_t x)
{
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The dice of item `index` of the set named by key (a galaxy's seed and shape, mixed).
inline STAR_DICE_T MakeStarDice(uint64_t key, uint64_t index)
{
    return STAR_DICE_T{MixBits(key ^ MixBits(index + 0x9E3779B97F4A7C15ull))};
}

// Uniform on [0, 1), 53 bits.
inline double RollDiceUnit(STAR_DICE_T *dice)
{
    dice->state += 0x9E3779B97F4A7C15ull;
    return (double)(MixBits(dice->state) >> 11) * (1.0 / 9007199254740992.0);
}
