// The random stream: its seeding, the twist and tempering, and the range operations. Every
// generator's output depends on these words, so any slip here changes every galaxy.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <utility>

#include <cmath>
#include <random>
#include <sstream>

#include "random/random.h"
#include "tests/support/scripted_random.h"

namespace
{
std::vector<uint32_t> Draw(int n)
{
    std::vector<uint32_t> words(n);
    for (uint32_t &w : words) w = RandomNext32();
    return words;
}

std::vector<uint32_t> DrawAfterSeed(double seed, int n)
{
    RandomSeed(seed);
    return Draw(n);
}

void PlaceNextWord(uint32_t word)
{
    ScriptRandomWords({word});
}
} // namespace

// Catches the reference MT19937 seeding (or any other) in place of the linear recurrence,
// and any slip in twist or tempering: these are the stream's first words.
TEST(RandomStream, FirstWordsForSeedsZeroAndOne)
{
    EXPECT_EQ(DrawAfterSeed(0.0, 3), (std::vector<uint32_t>{0x5481674Du, 0x543BDDA3u, 0x8850CA87u}));
    EXPECT_EQ(DrawAfterSeed(1.0, 3), (std::vector<uint32_t>{0x795F26A8u, 0x88418262u, 0xA40CFB36u}));
}

// Catches a twist that differs from MT19937's anywhere in the state, including the in-place
// reads of already-replaced words and the second twist: the standard library's engine, given
// the same 624 seeded words, must hand out the same words for three full twists.
TEST(RandomStream, TwistAndTemperingMatchTheStandardEngine)
{
    for (double seed : {0.0, 1.0, 19650218.0, 4294967295.0})
    {
        RandomSeed(seed);
        const RANDOM_STATE_T state = RandomGetState();
        std::stringstream text;
        for (uint32_t word : state.mt) text << word << ' ';
        std::mt19937 reference;
        text >> reference;

        for (int i = 0; i < 3 * 624 + 5; i++) ASSERT_EQ(RandomNext32(), (uint32_t)reference()) << "draw " << i;
    }
}

// Catches seeding that does not replace the whole state or that keeps the position.
TEST(RandomStream, ReseedingRepeatsTheStream)
{
    const std::vector<uint32_t> first = DrawAfterSeed(12345.0, 700);
    Draw(100);
    EXPECT_EQ(DrawAfterSeed(12345.0, 700), first);
}

// Catches conversions that saturate, round, or keep more than the low 32 bits.
TEST(RandomStream, SeedIsTruncatedTowardZeroModulo2To32)
{
    const std::vector<uint32_t> zero = DrawAfterSeed(0.0, 8);
    EXPECT_EQ(DrawAfterSeed(4294967296.0, 8), zero);
    EXPECT_EQ(DrawAfterSeed(0.9, 8), zero);
    EXPECT_EQ(DrawAfterSeed(-0.5, 8), zero);
    EXPECT_EQ(DrawAfterSeed(-2.5, 8), DrawAfterSeed(4294967294.0, 8)); // word 0xFFFFFFFE
    EXPECT_EQ(DrawAfterSeed(7.99, 8), DrawAfterSeed(7.0, 8));
    EXPECT_EQ(DrawAfterSeed(3.0 * 4294967296.0 + 7.0, 8), DrawAfterSeed(7.0, 8));
    EXPECT_EQ(DrawAfterSeed(-2.0 * 4294967296.0 - 1.0, 8), DrawAfterSeed(4294967295.0, 8));
    EXPECT_NE(DrawAfterSeed(1.0, 8), zero);
}

// Catches undefined behaviour on seeds without a 64-bit integer value: they stay defined
// (NaN and the infinities seed like 0; huge finite seeds keep their exact low 32 bits).
TEST(RandomStream, SeedsOutsideTheIntegerRangeAreDefined)
{
    const std::vector<uint32_t> zero = DrawAfterSeed(0.0, 4);
    EXPECT_EQ(DrawAfterSeed(std::nan(""), 4), zero);
    EXPECT_EQ(DrawAfterSeed(INFINITY, 4), zero);
    EXPECT_EQ(DrawAfterSeed(-INFINITY, 4), zero);
    EXPECT_EQ(DrawAfterSeed(1e300, 4), zero); // a multiple of 2^32
    EXPECT_EQ(DrawAfterSeed(std::ldexp(1.0, 70) + std::ldexp(1.0, 20), 4), DrawAfterSeed(1048576.0, 4));
}

// Catches a clock seed that is not taken from the clock (the same stream every start) or
// that is mistaken for the integer -1.
TEST(RandomStream, MinusOneSeedsFromTheClock)
{
    const std::vector<uint32_t> minus_one_word = DrawAfterSeed(4294967295.0, 4);
    const std::vector<uint32_t> first = DrawAfterSeed(-1.0, 4);
    EXPECT_NE(first, minus_one_word);

    const double start = ClockSeconds();
    while (ClockSeconds() - start < 0.002) {}
    EXPECT_NE(DrawAfterSeed(-1.0, 4), first);
}

// Catches a stream that hands out zeros (an all-zero state) when nobody seeded it.
TEST(RandomStream, UnseededFirstDrawSeedsWithZero)
{
    RandomSetState(RANDOM_STATE_T{});
    EXPECT_EQ(RandomNext32(), 0x5481674Du);
    EXPECT_EQ(RandomNext32(), 0x543BDDA3u);
}

// Catches an off-by-one in when the state is twisted again.
TEST(RandomStream, SecondTwistComesWithThe625thDraw)
{
    RandomSeed(42.0);
    Draw(1);
    const RANDOM_STATE_T after_first_twist = RandomGetState();
    Draw(623);
    const RANDOM_STATE_T after_624 = RandomGetState();
    EXPECT_EQ(after_624.pos, 624u);
    EXPECT_TRUE(std::equal(std::begin(after_624.mt), std::end(after_624.mt), std::begin(after_first_twist.mt)));

    Draw(1);
    const RANDOM_STATE_T after_625 = RandomGetState();
    EXPECT_EQ(after_625.pos, 1u);
    EXPECT_FALSE(std::equal(std::begin(after_625.mt), std::end(after_625.mt), std::begin(after_624.mt)));
}

// Catches a divisor of 2^32 - 1 (which could return 1.0) or any rounding of the product.
TEST(RandomStream, UnitIsTheWordTimes2ToMinus32)
{
    PlaceNextWord(0xFFFFFFFFu);
    const double largest = RandomUnit();
    EXPECT_EQ(largest, 0.99999999976716935634613037109375);
    EXPECT_LT(largest, 1.0);

    PlaceNextWord(0u);
    EXPECT_EQ(RandomUnit(), 0.0);

    PlaceNextWord(0x80000000u);
    EXPECT_EQ(RandomUnit(), 0.5);

    RandomSeed(0.0);
    EXPECT_EQ(RandomUnit(), (double)0x5481674Du / 4294967296.0);
}

// Catches truncation toward zero in place of floor: with seed 0, u = 0x5481674D / 2^32
// = 0.330099..., so RandomInt(-10, -1) forms -10 + 10u = -6.699 and must give -7.
TEST(RandomStream, IntFloorsTowardMinusInfinity)
{
    RandomSeed(0.0);
    EXPECT_EQ(RandomInt(-10, -1), -7);
    RandomSeed(0.0);
    EXPECT_EQ(RandomInt(1, 10), 4); // 1 + 3.30099
    RandomSeed(0.0);
    EXPECT_EQ(RandomInt(-5, 5), -2); // -5 + 3.6311
}

// Catches values outside [a, b] and a range operation that skips or doubles a word.
TEST(RandomStream, IntStaysInRangeAndConsumesOneWord)
{
    RandomSeed(7.0);
    bool seen[12] = {};
    for (int i = 0; i < 20000; i++)
    {
        const int32_t v = RandomInt(1, 10);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 10);
        seen[v] = true;
    }
    for (int v = 1; v <= 10; v++) EXPECT_TRUE(seen[v]) << v;

    RandomSeed(7.0);
    const std::vector<uint32_t> words = Draw(3);
    RandomSeed(7.0);
    EXPECT_EQ(RandomInt(5, 5), 5);
    EXPECT_EQ(RandomNext32(), words[1]);

    PlaceNextWord(0xFFFFFFFFu);
    EXPECT_EQ(RandomInt(5, 5), 5);
}

// Catches signed overflow in b - a + 1 for the widest ranges (UB the sanitizer run traps).
TEST(RandomStream, IntCoversTheWholeIntegerRange)
{
    PlaceNextWord(0u);
    EXPECT_EQ(RandomInt(INT32_MIN, INT32_MAX), INT32_MIN);
    PlaceNextWord(0xFFFFFFFFu);
    EXPECT_EQ(RandomInt(INT32_MIN, INT32_MAX), INT32_MAX);
    PlaceNextWord(0x80000000u);
    EXPECT_EQ(RandomInt(INT32_MIN, INT32_MAX), 0);
}

// Catches a scripting helper that would steer generator tests wrongly: the scripted words
// come out in order, and a word chosen for a value makes RandomInt return that value.
TEST(RandomStream, ScriptedWordsComeOutInOrder)
{
    ScriptRandomWords({1u, 0xDEADBEEFu, 0xFFFFFFFFu});
    EXPECT_EQ(RandomNext32(), 1u);
    EXPECT_EQ(RandomNext32(), 0xDEADBEEFu);
    EXPECT_EQ(RandomNext32(), 0xFFFFFFFFu);
    for (int32_t v = 1; v <= 100; v++)
    {
        ScriptRandomWords({WordForInt(v, 1, 100)});
        EXPECT_EQ(RandomInt(1, 100), v);
    }
    ScriptRandomWords({WordForInt(-3, -3, 2), WordForInt(2, -3, 2)});
    EXPECT_EQ(RandomInt(-3, 2), -3);
    EXPECT_EQ(RandomInt(-3, 2), 2);
}

// Catches real ranges that draw a different number of words or compute in float first.
TEST(RandomStream, RealRangesScaleOneUnitDraw)
{
    RandomSeed(0.0);
    const double u0 = (double)0x5481674Du / 4294967296.0;
    const double u1 = (double)0x543BDDA3u / 4294967296.0;
    EXPECT_EQ(RandomDouble(-3.0, 5.0), -3.0 + u0 * 8.0);
    EXPECT_EQ(RandomSingle(100.0f, 100.5f), (float)(100.0 + u1 * 0.5));

    PlaceNextWord(0xFFFFFFFFu);
    EXPECT_LT(RandomDouble(0.0, 1.0), 1.0);
    PlaceNextWord(0u);
    EXPECT_EQ(RandomSingle(2.5f, 9.0f), 2.5f);
}

// Catches a clock that runs backwards, stands still, or is not in seconds.
TEST(Clock, IsMonotonicInSeconds)
{
    const double a = ClockSeconds();
    const double b = ClockSeconds();
    EXPECT_LE(a, b);
    struct timespec pause = {0, 30 * 1000 * 1000};
    nanosleep(&pause, nullptr);
    const double c = ClockSeconds();
    EXPECT_GT(c - b, 0.025);
    EXPECT_LT(c - b, 1.0);
}

// Catches a real range whose width overflows (finite ends more than DBL_MAX apart) giving an
// infinity or a value outside its ends.
TEST(RandomStream, RealRangeWiderThanTheLargestDoubleStaysInside)
{
    RandomSeed(12.0);
    const double big = std::numeric_limits<double>::max();
    for (const auto &ends : {std::pair<double, double>{-big, big}, {big, -big}, {-big, big / 2.0}, {big, big}})
    {
        const double low = std::min(ends.first, ends.second), high = std::max(ends.first, ends.second);
        for (int i = 0; i < 2000; i++)
        {
            const double value = RandomDouble(ends.first, ends.second);
            ASSERT_TRUE(std::isfinite(value));
            ASSERT_GE(value, low);
            ASSERT_LE(value, high);
        }
    }
}

// Catches a quick seeding whose first words or whose words after the deferred rest (the
// twist that follows them, the second twist) differ from a full seeding's.
TEST(RandomStream, QuickSeedingGivesTheWordsOfAFullOne)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> any(-1e10, 1e10);
    for (int n = 0; n < 200; n++)
    {
        const double seed = (n < 3) ? (double)n - 1.0 : (n % 2 ? std::floor(any(rng)) : (double)(rng() & 0xFFFFu));
        RandomSeed(seed == -1.0 ? 4294967295.0 : seed);
        std::vector<uint32_t> full(1300);
        for (uint32_t &word : full) word = RandomNext32();
        RandomSeedQuick(seed);
        for (size_t k = 0; k < full.size(); k++) ASSERT_EQ(RandomNext32(), full[k]) << "seed " << seed << " word " << k;
    }
}
