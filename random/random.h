// The one pseudo-random stream and the monotonic clock.
// Everything the program generates draws from this single stream, so the order of draws
// is part of every generator's output: reproducing a result means replaying every draw
// since the last RandomSeed. Each thread has its own copy of the stream (a worker that
// generates a galaxy hands its final state to the main thread with RandomSetState).
#pragma once

#include <cstdint>

// Mersenne Twister state. The twist and tempering are MT19937's, but the state is filled
// from the seed by a linear congruential recurrence, not by MT19937's reference seeding.
struct RANDOM_STATE_T
{
    static constexpr int WORDS = 624;

    uint32_t mt[WORDS] = {};
    uint32_t pos = WORDS; // next word to hand out; WORDS means "twist before the next draw"
    bool seeded = false;  // a draw before any seeding seeds with 0.0 first
    // RandomSeedQuick: the first words wait at the end of mt, and the seed for the rest here.
    bool deferred = false;
    uint32_t deferred_seed = 0;
};

// How many words RandomSeedQuick makes at once.
constexpr uint32_t RANDOM_QUICK_WORDS = 16;

// Replaces the whole state. -1.0 takes the seed from the clock; any other value is
// truncated toward zero and reduced modulo 2^32 (so 4294967296.0 seeds like 0.0).
void RandomSeed(double seed);

// Gives exactly the words RandomSeed(seed) gives, but makes only the first RANDOM_QUICK_WORDS
// of them now and the rest when a draw first needs them: for callers that reseed for every item
// and usually draw only a few words (a star's colour from its system's first dice). Unlike
// RandomSeed, -1.0 is an ordinary seed here.
void RandomSeedQuick(double seed);

uint32_t RandomNext32(void);

// u = word * 2^-32, exactly: 0 <= u <= 1 - 2^-32, never 1.0.
double RandomUnit(void);

// floor(u * (b - a + 1) + a): every value of [a, b] for a <= b. Consumes one word.
int32_t RandomInt(int32_t a, int32_t b);

// a + u * (b - a), formed in double; RandomSingle rounds once to float. Each consumes one word.
float RandomSingle(float a, float b);
double RandomDouble(double a, double b);

// Monotonic clock in seconds; the origin is arbitrary.
double ClockSeconds(void);

// The stream's state, for tests that need to save and restore it around a draw sequence.
RANDOM_STATE_T RandomGetState(void);
void RandomSetState(const RANDOM_STATE_T &state);
