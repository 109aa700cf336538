// Scripted random words for tests: see scripted_random.h.
#include "tests/support/scripted_random.h"

#include <cmath>

#include "random/random.h"

uint32_t UntemperWord(uint32_t y)
{
    y ^= y >> 18;
    y ^= (y << 15) & 0xEFC60000u;
    // y ^= (y << 7) & mask needs five rounds to recover all 32 bits, y ^= y >> 11 three.
    uint32_t x = y;
    for (int i = 0; i < 5; i++) x = y ^ ((x << 7) & 0x9D2C5680u);
    y = x;
    for (int i = 0; i < 3; i++) x = y ^ (x >> 11);
    return x;
}

void ScriptRandomWords(const std::vector<uint32_t> &words)
{
    RANDOM_STATE_T state = {};
    const size_t n = words.size() < (size_t)RANDOM_STATE_T::WORDS ? words.size() : (size_t)RANDOM_STATE_T::WORDS;
    for (size_t i = 0; i < n; i++) state.mt[i] = UntemperWord(words[i]);
    state.pos = 0;
    state.seeded = true;
    RandomSetState(state);
}

uint32_t WordForInt(int32_t value, int32_t a, int32_t b)
{
    const double n = (double)b - (double)a + 1.0;
    const double u = ((double)value - (double)a + 0.5) / n;
    return WordForUnit(u);
}

uint32_t WordForUnit(double u)
{
    const double w = std::floor(u * 4294967296.0);
    if (w <= 0.0) return 0u;
    if (w >= 4294967295.0) return 0xFFFFFFFFu;
    return (uint32_t)w;
}
