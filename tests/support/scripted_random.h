// Makes the one random stream hand out words a test chooses, so a test can steer every die
// of a generator without any hook in the generator itself: the stream's state is filled
// with the inverse-tempered words, and the generator draws them in its own order.
#pragma once

#include <cstdint>
#include <vector>

// The next draws return exactly these words (at most 624), in order. The draws after them
// continue deterministically from the twisted state.
void ScriptRandomWords(const std::vector<uint32_t> &words);

// A word w for which RandomInt(a, b) returns value (a <= value <= b): the middle of the
// value's band, so the choice does not depend on rounding at a band edge.
uint32_t WordForInt(int32_t value, int32_t a, int32_t b);

// The word whose RandomUnit() is the largest multiple of 2^-32 not above u (0 <= u < 1).
uint32_t WordForUnit(double u);

// Inverse of the stream's tempering step.
uint32_t UntemperWord(uint32_t y);

// Read right after a scripted call, this word proves the call drew exactly the scripted dice.
constexpr uint32_t SCRIPT_SENTINEL = 0x5EA1AB1Eu;

// The dice a test wants, in the order the generator draws them:
// SCRIPTED_DICE_T().Die(97, 100).Die(3, 10).Int(2, 2, 4).Script();
struct SCRIPTED_DICE_T
{
    std::vector<uint32_t> words;

    // A die of sides: value from 1 to sides.
    SCRIPTED_DICE_T &Die(int32_t value, int32_t sides)
    {
        words.push_back(WordForInt(value, 1, sides));
        return *this;
    }
    // An integer from low to high, both ends included.
    SCRIPTED_DICE_T &Int(int32_t value, int32_t low, int32_t high)
    {
        words.push_back(WordForInt(value, low, high));
        return *this;
    }
    // Puts the words in the stream, followed by SCRIPT_SENTINEL when asked.
    void Script(bool sentinel = true) const
    {
        std::vector<uint32_t> all = words;
        if (sentinel) all.push_back(SCRIPT_SENTINEL);
        ScriptRandomWords(all);
    }
};
