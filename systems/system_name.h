// Pronounceable system names from a letter chain: each following letter is picked by a
// rejection sampler over the letter-pair table. Slow by design for some seeds (hundreds of
// thousands of draws per name); every draw is part of the stream's history, so none is skipped.
#pragma once

#include <cstdint>
#include <string>

// 3 to 9 letters, the first a capital: (seed mod 4) + 3 to (seed mod 4) + 6 letters. Seed 0
// proposes only the letter a, so its names are "A" and two to five "a".
std::string GenerateSystemName(uint32_t seed);
