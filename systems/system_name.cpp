// The system-name generator. Proposals come from r * seed, the acceptance test from the
// letter-pair chances; the draw order here is part of every later generator's output.
#include "systems/system_name.h"

#include <cmath>

#include "random/random.h"
#include "systems/letter_pair_table.h"

namespace
{
// A letter from r * seed rounded half to even (the default rounding mode), modulo 26.
// r * seed is below 2^32, so the rounded value always fits.
inline uint32_t RollProposedLetter(double seed)
{
    return (uint32_t)((uint64_t)std::nearbyint(RandomUnit() * seed) % (uint64_t)LETTERS);
}
} // namespace

std::string GenerateSystemName(uint32_t seed)
{
    const double scale = (double)seed;
    uint32_t current = RollProposedLetter(scale);
    uint32_t next = current;
    // No pair is pending at the start of a step: -1 makes the first comparison fail for sure.
    int64_t limit = -1;

    const int32_t length = (int32_t)std::floor(RandomUnit() * 4.0) + (int32_t)(seed % 4u) + 2;

    std::string name;
    name.reserve((size_t)length + 1);
    for (int32_t k = 0; k <= length; k++)
    {
        int32_t repeats = 0;
        // Stay while the draw exceeds the pending pair's chance; compared in whole words,
        // which gives the same answer as the unit value draw for draw (see the table).
        while ((int64_t)RandomNext32() > limit)
        {
            next = RollProposedLetter(scale);
            limit = LETTER_PAIR_ACCEPT_LIMITS.limit[current][next];
            if (next == current) repeats++;
        }
        if (repeats > 1)
        {
            // Doubled letters are thrown away and the step retried. The pending pair is kept
            // on purpose: the retry's first draw is tested against it.
            k--;
            continue;
        }
        name.push_back((char)('a' + current));
        current = next;
        limit = -1;
    }
    name[0] = (char)(name[0] - 32);
    return name;
}

uint64_t MixBits64(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t ChooseSystemNameSeed(uint64_t key)
{
    const uint64_t z = MixBits64(key + 0x9E3779B97F4A7C15ull);
    const uint64_t span = (uint64_t)UINT32_MAX - FAST_NAME_SEED_MIN + 1u;
    return FAST_NAME_SEED_MIN + (uint32_t)((z >> 32) % span);
}
