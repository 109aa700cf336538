// The random stream (a Mersenne Twister with its own seeding), one per thread, and the clock.
// Speed matters: the star-system name generator draws hundreds of thousands of words per
// name, so the hot path is one branch, one load and the tempering.
#include "random/random.h"

#include <cmath>
#include <cstring>
#include <ctime>

namespace
{
// One stream per thread. A galaxy too large to generate inside one frame is generated on a
// worker thread, which seeds and draws while the main thread goes on drawing its test point
// every frame; with a single shared state those draws would race and interleave, making both
// results depend on timing. The worker hands its final state back (RandomSetState), so the
// main thread's stream ends where a generation on it would have left it. Linked into the
// executable, the state is addressed straight off the thread pointer: a draw costs the same.
thread_local RANDOM_STATE_T stream;

constexpr int MT_SHIFT = 397;
constexpr uint32_t MT_MATRIX = 0x9908B0DFu;
constexpr uint32_t UPPER_MASK = 0x80000000u;
constexpr uint32_t LOWER_MASK = 0x7FFFFFFFu;

inline uint32_t TwistWord(uint32_t current, uint32_t next, uint32_t partner)
{
    const uint32_t y = (current & UPPER_MASK) | (next & LOWER_MASK);
    return partner ^ (y >> 1) ^ ((y & 1u) ? MT_MATRIX : 0u);
}

// In-place twist, k ascending. Words from k = 227 on read partners that this same pass has
// already replaced, and the last word reads the new mt[0]; the three loops only split the
// index arithmetic, the order of updates is the plain ascending one.
void Twist(uint32_t *mt)
{
    const int n = RANDOM_STATE_T::WORDS;
    int k = 0;
    for (; k < n - MT_SHIFT; k++) mt[k] = TwistWord(mt[k], mt[k + 1], mt[k + MT_SHIFT]);
    for (; k < n - 1; k++) mt[k] = TwistWord(mt[k], mt[k + 1], mt[k + MT_SHIFT - n]);
    mt[n - 1] = TwistWord(mt[n - 1], mt[0], mt[MT_SHIFT - 1]);
}

// The seeding recurrence mt[i] = mt[i - 1] * LCG_MULTIPLIER + LCG_INCREMENT, and its jump of
// MT_SHIFT steps at once: mt[i + MT_SHIFT] = mt[i] * JUMP.multiplier + JUMP.increment.
constexpr uint32_t LCG_MULTIPLIER = 1664525u;
constexpr uint32_t LCG_INCREMENT = 1013904223u;
struct LCG_JUMP_T
{
    uint32_t multiplier;
    uint32_t increment;
};
constexpr LCG_JUMP_T LcgJump(int steps)
{
    LCG_JUMP_T jump = {1u, 0u};
    for (int i = 0; i < steps; i++)
        jump = LCG_JUMP_T{jump.multiplier * LCG_MULTIPLIER, jump.increment * LCG_MULTIPLIER + LCG_INCREMENT};
    return jump;
}
constexpr LCG_JUMP_T SHIFT_JUMP = LcgJump(MT_SHIFT);

// Truncation toward zero, then the low 32 bits. Done through fmod so that seeds beyond the
// 64-bit integer range stay defined (their low 32 bits, as exact integers); NaN and the
// infinities have no integer value and seed like 0.
uint32_t SeedWord(double seed)
{
    if (!std::isfinite(seed)) return 0u;
    double low = std::fmod(std::trunc(seed), 4294967296.0);
    if (low < 0.0) low += 4294967296.0;
    return (uint32_t)low;
}
} // namespace

void RandomSeed(double seed)
{
    if (seed == -1.0)
    {
        const double now = ClockSeconds();
        uint64_t bits = 0;
        std::memcpy(&bits, &now, sizeof bits);
        seed = (double)((uint32_t)bits ^ (uint32_t)(bits >> 32));
    }

    uint32_t *mt = stream.mt;
    mt[0] = SeedWord(seed);
    for (int i = 1; i < RANDOM_STATE_T::WORDS; i++) mt[i] = mt[i - 1] * LCG_MULTIPLIER + LCG_INCREMENT;
    stream.pos = RANDOM_STATE_T::WORDS;
    stream.seeded = true;
    stream.deferred = false;
}

void RandomSeedQuick(double seed)
{
    // The first twist's word k (k < 227) reads only seeding words k, k + 1 and k + 397, so the
    // first words need a few steps of the recurrence and one jump each, not all 624 words.
    constexpr uint32_t n = RANDOM_QUICK_WORDS;
    uint32_t low[n + 1];
    low[0] = SeedWord(seed);
    for (uint32_t i = 1; i <= n; i++) low[i] = low[i - 1] * LCG_MULTIPLIER + LCG_INCREMENT;
    // They wait at the end of the state, so the ordinary draw hands them out in order and
    // reaches the twist, where the rest is made, right after the last of them.
    const uint32_t first = RANDOM_STATE_T::WORDS - n;
    for (uint32_t k = 0; k < n; k++)
        stream.mt[first + k] =
            TwistWord(low[k], low[k + 1], low[k] * SHIFT_JUMP.multiplier + SHIFT_JUMP.increment);
    stream.pos = first;
    stream.seeded = true;
    stream.deferred = true;
    stream.deferred_seed = low[0];
}

uint32_t RandomNext32(void)
{
    if (stream.pos >= (uint32_t)RANDOM_STATE_T::WORDS)
    {
        if (!stream.seeded) RandomSeed(0.0);
        if (stream.deferred)
        {
            // A quick seeding's first words are spent: make the whole state and go on after them.
            RandomSeed((double)stream.deferred_seed);
            Twist(stream.mt);
            stream.pos = RANDOM_QUICK_WORDS;
        }
        else
        {
            Twist(stream.mt);
            stream.pos = 0;
        }
    }

    uint32_t y = stream.mt[stream.pos++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

double RandomUnit(void)
{
    return (double)RandomNext32() * (1.0 / 4294967296.0);
}

int32_t RandomInt(int32_t a, int32_t b)
{
    // The width is taken in 64 bits: b - a + 1 overflows 32 bits for ranges wider than
    // 2^31, and for every range that fits it is the same number.
    const int64_t n = (int64_t)b - (int64_t)a + 1;
    double r = std::floor(RandomUnit() * (double)n + (double)a);
    // Only a reversed range (a > b, outside the contract) can leave the 32-bit range.
    if (r < (double)INT32_MIN) r = (double)INT32_MIN;
    if (r > (double)INT32_MAX) r = (double)INT32_MAX;
    return (int32_t)r;
}

float RandomSingle(float a, float b)
{
    const double u = RandomUnit();
    return (float)((double)a + u * ((double)b - (double)a));
}

double RandomDouble(double a, double b)
{
    const double u = RandomUnit();
    const double width = b - a;
    if (std::isfinite(width) || !std::isfinite(a) || !std::isfinite(b)) return a + u * width;
    // The ends are finite but so far apart that their difference overflows: weigh the ends
    // instead, and keep the rounding of that sum from stepping outside them.
    const double value = a * (1.0 - u) + b * u;
    const double low = (a < b) ? a : b;
    const double high = (a < b) ? b : a;
    return (value < low) ? low : (value > high) ? high : value;
}

double ClockSeconds(void)
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

RANDOM_STATE_T RandomGetState(void)
{
    return stream;
}

void RandomSetState(const RANDOM_STATE_T &state)
{
    stream = state;
}
