// The process-wide random stream (a Mersenne Twister with its own seeding) and the clock.
// Speed matters: the star-system name generator draws hundreds of thousands of words per
// name, so the hot path is one branch, one load and the tempering.
#include "random/random.h"

#include <cmath>
#include <cstring>
#include <ctime>

namespace
{
RANDOM_STATE_T stream;

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
    for (int i = 1; i < RANDOM_STATE_T::WORDS; i++) mt[i] = mt[i - 1] * 1664525u + 1013904223u;
    stream.pos = RANDOM_STATE_T::WORDS;
    stream.seeded = true;
}

uint32_t RandomNext32(void)
{
    if (stream.pos >= (uint32_t)RANDOM_STATE_T::WORDS)
    {
        if (!stream.seeded) RandomSeed(0.0);
        Twist(stream.mt);
        stream.pos = 0;
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
