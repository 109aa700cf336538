// Galaxy codes: every shape comes back from its code, every single typing error is refused,
// garbage is harmless, and the format does not drift between builds.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "galaxy/galaxy_code.h"

namespace
{
// A word of random width, so that every varint length (1 to 5 bytes) and both signs occur.
uint32_t RandomWord(std::mt19937 &random)
{
    const uint32_t bits = random() % 33u;
    return bits == 32 ? random() : random() & ((1u << bits) - 1u);
}

GALAXY_SHAPE_T Shape(uint32_t seed, int32_t arms, int32_t curvature, int32_t inner_radius, int32_t offset0,
                     int32_t offset1, int32_t bulge_size, int32_t size_y, int32_t size_xz, int32_t density = 1)
{
    GALAXY_SHAPE_T shape =
        MakeGalaxyShape(arms, curvature, inner_radius, offset0, offset1, bulge_size, size_y, size_xz, density);
    shape.seed = seed;
    return shape;
}

// The panel's typical shape, one beyond the slider ranges, all zero, and the extremes, at
// density 1 (version 1 codes) and others (version 2).
const GALAXY_SHAPE_T SAMPLES[] = {
    Shape(3141592653u, 9, 10, 0, 20, 80, 48, 64, 255), Shape(1073741823u, 2, 19, -150, 30, 40, 99, 1, 4),
    Shape(0, 0, 0, 0, 0, 0, 0, 0, 0),
    Shape(0, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN),
    Shape(UINT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX),
    Shape(3141592653u, 9, 10, 0, 20, 80, 48, 64, 255, 40), Shape(0, 0, 0, 0, 0, 0, 0, 0, 0, 2),
    Shape(UINT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MIN)};
constexpr int SAMPLE_COUNT = (int)(sizeof SAMPLES / sizeof SAMPLES[0]);

// "" when the text decodes (into *shape); else the reason, after checking that a refusal
// leaves the caller's shape alone.
std::string Decode(const std::string &text, GALAXY_SHAPE_T *shape)
{
    const GALAXY_SHAPE_T untouched = Shape(7, -7, -7, -7, -7, -7, -7, -7, -7, -7);
    *shape = untouched;
    const char *why = nullptr;
    if (DecodeGalaxyCode(text.c_str(), shape, &why)) return "";
    EXPECT_EQ(*shape, untouched) << text;
    return why && *why ? why : "(no reason)";
}

// What the user typed, spelled as the encoder spells it.
std::string Canonical(const std::string &text)
{
    std::string canonical;
    for (char c : text)
    {
        c = (char)std::toupper((unsigned char)c);
        c = c == 'O' ? '0' : c == 'I' || c == 'L' ? '1' : c;
        if (!std::isspace((unsigned char)c) && (c != '-' || canonical.size() == 3)) canonical += c;
    }
    return canonical;
}
} // namespace

// Catches a field dropped, swapped or narrowed on its way through the code (a Hubble type's
// included), codes that outgrow their text, and spellings a user may type (lower case, hyphens, spaces) refused.
TEST(GalaxyCode, EveryShapeComesBackFromItsCode)
{
    std::mt19937 random(20261208u);
    for (int i = 0; i < 20000; i++)
    {
        GALAXY_SHAPE_T shape = i < SAMPLE_COUNT ? SAMPLES[i] : Shape(RandomWord(random), 0, 0, 0, 0, 0, 0, 0, 0);
        for (int32_t *value : {&shape.size_xz, &shape.size_y, &shape.inner_radius, &shape.bulge_size,
                               &shape.bulge_offset0, &shape.bulge_offset1, &shape.arms, &shape.curvature})
            if (i >= SAMPLE_COUNT) *value = (int32_t)RandomWord(random);
        if (i >= SAMPLE_COUNT && i % 2) shape.density = (int32_t)RandomWord(random); // else 1
        // Every third a galaxy of the second model, any model but the classic one.
        if (i >= SAMPLE_COUNT && i % 3 == 2)
            for (int32_t *value : {&shape.model, &shape.pitch, &shape.bulge_share, &shape.bar_length,
                                   &shape.arm_width, &shape.arm_contrast})
                *value = (int32_t)RandomWord(random);
        if (i >= SAMPLE_COUNT && i % 3 == 2 && shape.model == 0) shape.model = 1;
        const std::string code = EncodeGalaxyCode(shape).text;
        ASSERT_LE(code.size(), (size_t)GALAXY_CODE_MAX_CHARS);
        ASSERT_EQ(code.substr(0, 4), shape.model != 0 ? "GX3-" : shape.density == 1 ? "GX1-" : "GX2-") << code;
        std::string typed = " \t" + code + "\n";
        for (char &c : typed)
            c = (char)std::tolower((unsigned char)c);
        typed.insert(9, "- ");
        GALAXY_SHAPE_T back;
        ASSERT_EQ(Decode(code, &back), "") << code;
        ASSERT_EQ(back, shape) << code;
        ASSERT_EQ(Decode(typed, &back), "") << typed;
        ASSERT_EQ(back, shape) << typed;
    }
}

// Pins the format: a build that encodes differently would give old codes other galaxies.
// The texts were worked out apart from this code, from the written format, including codes
// with a valid check over what no encoder writes (ten varints in version 1, seed 0 spelled
// 80 00, a 33-bit seed, density 1 in version 2).
TEST(GalaxyCode, FormatAndVersionsArePinned)
{
    EXPECT_STREQ(EncodeGalaxyCode(SAMPLES[0]).text, "GX1-SQ687PGBZR1R0080C0MA008J2GZF2");
    EXPECT_STREQ(EncodeGalaxyCode(SAMPLES[1]).text, "GX1-ZZZZZZR3101AP0P604Y50116R250");
    EXPECT_STREQ(EncodeGalaxyCode(SAMPLES[2]).text, "GX1-000000000000000RE8");
    EXPECT_STREQ(EncodeGalaxyCode(SAMPLES[5]).text, "GX2-SQ687PGBZR1R0080C0MA008J2H87RT0");
    EXPECT_STREQ(EncodeGalaxyCode(SAMPLES[6]).text, "GX2-0000000000000004M6YG");
    GALAXY_SHAPE_T shape;
    EXPECT_EQ(Decode("GX1-Q5GFW0W004060A50049182MZH8", &shape), "the code is too long");
    EXPECT_EQ(Decode("GX2-Q5GFW0W004060A50049182MZH8", &shape), "");
    EXPECT_EQ(shape, Shape(12345, 9, 10, 0, 20, 80, 48, 64, 255, 5));
    EXPECT_EQ(Decode("GX2-SQ687PGBZR1R0080C0MA008J2G10DQR", &shape), "the code holds values no galaxy code can");
    EXPECT_EQ(Decode("GX1-G0000000000000000M6G", &shape), "the code holds values no galaxy code can");
    EXPECT_EQ(Decode("GX1-ZZZZZZRZ00000000000007X5", &shape), "the code holds values no galaxy code can");
    EXPECT_EQ(Decode("GX4-SQ687PGBZR1R0080C0MA008J2GZF2", &shape), "unknown code version");
    EXPECT_EQ(Decode("GX3-SQ687PGBZR1R0080C0MA008J2GZF2", &shape), "the code is cut short");
    EXPECT_EQ(Decode("GX2-SQ687PGBZR1R0080C0MA008J2GZF2", &shape), "the code is cut short");
    EXPECT_EQ(Decode("GX01-SQ687PGBZR1R0080C0MA008J2GZF2", &shape), "unknown code version");
    EXPECT_EQ(Decode("GX1-SQ687PGBZR1R0080C0MA008J", &shape), "the code is cut short");
    EXPECT_EQ(Decode("GX1-" + std::string(1000000, '0'), &shape), "the code is too long");
    EXPECT_FALSE(DecodeGalaxyCode(nullptr, &shape, nullptr));
    EXPECT_FALSE(DecodeGalaxyCode(EncodeGalaxyCode(SAMPLES[0]).text, nullptr, nullptr));
}

// Catches a mistyped code that silently decodes to another galaxy: every symbol replaced by
// every other character (a space or hyphen drops it), every symbol dropped, every cut and
// every extra symbol is refused, unless it is an accepted spelling of the same code (O for
// 0, I and L for 1, lower case). Catches also reads past the text or the byte buffer (under
// ASan) on random bytes and random symbols after a valid prefix; whatever decodes must be the
// one spelling of its shape.
TEST(GalaxyCode, TyposAndGarbageAreRefusedUnlessTheySpellTheSameCode)
{
    const std::string replacements = "0123456789ABCDEFGHJKMNPQRSTVWXYZabxyzOoIiLlUu- !~\x80\xff";
    GALAXY_SHAPE_T back;
    for (const GALAXY_SHAPE_T &sample : SAMPLES)
    {
        const std::string code = EncodeGalaxyCode(sample).text;
        std::vector<std::string> typos = {code + "0", code + "00000"};
        for (size_t at = 0; at < code.size(); at++)
        {
            typos.push_back(code.substr(0, at));
            typos.push_back(code.substr(0, at) + code.substr(at + 1));
            for (char c : replacements) typos.push_back(code.substr(0, at) + c + code.substr(at + 1));
        }
        for (const std::string &typo : typos)
            EXPECT_TRUE(Decode(typo, &back) != "" || Canonical(typo) == code) << typo;
    }

    std::mt19937 random(7u);
    const std::string symbols = "0123456789ABCDEFGHJKMNPQRSTVWXYZ- ";
    for (int i = 0; i < 20000; i++)
    {
        std::string text = (i % 2) ? ((i % 4 == 1) ? "GX1-" : "GX2-") : "";
        for (size_t k = random() % 120u; k > 0; k--)
            text += (i % 2) ? symbols[random() % symbols.size()] : (char)(1 + random() % 255u);
        EXPECT_TRUE(Decode(text, &back) != "" || Canonical(text) == EncodeGalaxyCode(back).text) << text;
    }
}

// Catches a star link that loses its galaxy or its star on the way, a star number read from
// garbage, a negative or oversized one, and a link whose code part is broken but accepted.
TEST(GalaxyCode, StarLinksCarryTheGalaxyAndTheStar)
{
    std::mt19937 random(22u);
    for (int i = 0; i < 500; i++)
    {
        const GALAXY_SHAPE_T shape = i < SAMPLE_COUNT ? SAMPLES[i] : Shape(RandomWord(random), 3, 7, -5, 60, 20, 48, 63, 252);
        const uint64_t star = i % 3 == 0 ? random() % 1000u : (uint64_t)random() % 4000000u;
        const std::string link = EncodeStarLink(shape, star);
        ASSERT_EQ(link, std::string(EncodeGalaxyCode(shape).text) + "#" + std::to_string(star));
        GALAXY_SHAPE_T back;
        bool has_star = false;
        uint64_t read = 0;
        const char *why = nullptr;
        ASSERT_TRUE(DecodeStarLink(link.c_str(), &back, &has_star, &read, &why)) << link << ": " << why;
        ASSERT_TRUE(has_star && read == star && back == shape) << link;
    }
    const std::string code = EncodeGalaxyCode(SAMPLES[0]).text;
    GALAXY_SHAPE_T shape = SAMPLES[1];
    bool has_star = true;
    uint64_t star = 7;
    const char *why = nullptr;
    ASSERT_TRUE(DecodeStarLink((code + " # 42 \n").c_str(), &shape, &has_star, &star, &why));
    EXPECT_TRUE(has_star && star == 42 && shape == SAMPLES[0]);
    ASSERT_TRUE(DecodeStarLink(code.c_str(), &shape, &has_star, &star, &why));
    EXPECT_FALSE(has_star);
    for (const std::string &bad : {code + "#", code + "#x1", code + "#-1", code + "#12a", code + "#4294967296",
                                   code + "#1#2", code.substr(0, code.size() - 1) + "#3"})
    {
        shape = SAMPLES[1];
        star = 7;
        why = nullptr;
        EXPECT_FALSE(DecodeStarLink(bad.c_str(), &shape, &has_star, &star, &why)) << bad;
        EXPECT_TRUE(why != nullptr && *why != '\0') << bad;
        EXPECT_TRUE(shape == SAMPLES[1] && star == 7) << bad << ": a refused link changed the caller's values";
    }
}
