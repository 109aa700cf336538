// Pronounceable system names from a letter chain: each following letter is picked by a
// rejection sampler over the letter-pair table. Slow by design for some seeds (hundreds of
// thousands of draws per name); every draw is part of the stream's history, so none is skipped.
#pragma once

#include <cstdint>
#include <string>

// 3 to 9 letters, the first a capital: (seed mod 4) + 3 to (seed mod 4) + 6 letters. Seed 0
// proposes only the letter a, so its names are "A" and two to five "a".
std::string GenerateSystemName(uint32_t seed);

// The smallest name seed ChooseSystemNameSeed gives. Below a few hundred, r * seed reaches
// only a few letters, and the sampler waits (up to hundreds of millions of draws) for the
// rare pairs among them; from here on every letter is proposed about equally often and a name
// takes a few hundred draws.
constexpr uint32_t FAST_NAME_SEED_MIN = 1u << 24;

// A name seed for whatever key identifies a system (for example a galaxy's seed and a star's
// index): the same key gives the same seed on every machine, different keys scatter over
// FAST_NAME_SEED_MIN to 2^32 - 1, and no such seed is slow for the sampler.
uint32_t ChooseSystemNameSeed(uint64_t key);

// splitmix64's finaliser: every bit of z moves about half of the result's bits. The hash
// behind chosen name seeds and the keys of systems made on demand.
uint64_t MixBits64(uint64_t z);
