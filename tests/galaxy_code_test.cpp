// Galaxy codes: every shape comes back from its code, every single wrong symbol and every cut
// is refused, garbage is harmless, and the format does not drift between builds.
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
// A value of random width, so that every varint length (1 to 5 bytes) and both signs occur.
uint32_t RandomWord(std::mt19937 &random)
{
    const uint32_t word = random();
    const int bits = (int)(random() % 33u);
    return bits == 32 ? word : word & ((1u << bits) - 1u);
}

GALAXY_SHAPE_T RandomShape(std::mt19937 &random)
{
    GALAXY_SHAPE_T shape =
        MakeGalaxyShape((int32_t)RandomWord(random), (int32_t)RandomWord(random), (int32_t)RandomWord(random),
                        (int32_t)RandomWord(random), (int32_t)RandomWord(random), (int32_t)RandomWord(random),
                        (int32_t)RandomWord(random), (int32_t)RandomWord(random));
    shape.seed = RandomWord(random);
    return shape;
}

GALAXY_SHAPE_T Sentinel(void)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(-7, -7, -7, -7, -7, -7, -7, -7);
    shape.seed = 77;
    return shape;
}

// Refused, with a reason, and the caller's shape untouched.
::testing::AssertionResult Refused(const char *text)
{
    GALAXY_SHAPE_T shape = Sentinel();
    const char *why = nullptr;
    if (DecodeGalaxyCode(text, &shape, &why)) return ::testing::AssertionFailure() << "accepted";
    if (!why || !*why) return ::testing::AssertionFailure() << "no reason given";
    if (shape != Sentinel()) return ::testing::AssertionFailure() << "shape changed";
    return ::testing::AssertionSuccess() << why;
}

// What the user typed, spelled as the encoder spells it.
std::string Canonical(const std::string &text)
{
    std::string canonical;
    for (char c : text)
    {
        c = (char)std::toupper((unsigned char)c);
        if (c == 'O') c = '0';
        if (c == 'I' || c == 'L') c = '1';
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && (c != '-' || canonical.size() == 3))
            canonical += c;
    }
    return canonical;
}

const char *Why(const std::string &text)
{
    GALAXY_SHAPE_T shape;
    const char *why = nullptr;
    DecodeGalaxyCode(text.c_str(), &shape, &why);
    return why ? why : "";
}

// The panel's typical shape, one beyond the slider ranges and the extremes.
std::vector<GALAXY_SHAPE_T> SampleShapes(void)
{
    GALAXY_SHAPE_T typical = MakeGalaxyShape(9, 10, 0, 20, 80, 48, 64, 255);
    typical.seed = 3141592653u;
    GALAXY_SHAPE_T odd = MakeGalaxyShape(2, 19, -150, 30, 40, 99, 1, 4);
    odd.seed = 1073741823u;
    GALAXY_SHAPE_T low = MakeGalaxyShape(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN,
                                         INT32_MIN, INT32_MIN);
    GALAXY_SHAPE_T high = MakeGalaxyShape(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX,
                                          INT32_MAX, INT32_MAX);
    high.seed = UINT32_MAX;
    return {typical, odd, low, high, GALAXY_SHAPE_T()};
}
} // namespace

// Catches a field dropped, swapped or narrowed on its way through the code, and codes that
// outgrow the text or change with the spelling a user may type.
TEST(GalaxyCode, EveryShapeComesBackFromItsCode)
{
    std::mt19937 random(20261208u);
    std::vector<GALAXY_SHAPE_T> shapes = SampleShapes();
    for (int i = 0; i < 20000; i++)
        shapes.push_back(RandomShape(random));
    for (const GALAXY_SHAPE_T &shape : shapes)
    {
        const GALAXY_CODE_TEXT_T code = EncodeGalaxyCode(shape);
        ASSERT_LE(std::strlen(code.text), (size_t)GALAXY_CODE_MAX_CHARS);
        GALAXY_SHAPE_T back = Sentinel();
        const char *why = "unset";
        ASSERT_TRUE(DecodeGalaxyCode(code.text, &back, &why)) << code.text << ": " << why;
        ASSERT_EQ(back, shape) << code.text;

        // Lower case, hyphens and spaces in the body, and surrounding white space.
        std::string typed = std::string(" \t") + code.text + "\n";
        for (char &c : typed)
            c = (char)std::tolower((unsigned char)c);
        typed.insert(9, "- ");
        back = Sentinel();
        ASSERT_TRUE(DecodeGalaxyCode(typed.c_str(), &back, nullptr)) << typed;
        ASSERT_EQ(back, shape);
    }
    EXPECT_LE(std::strlen(EncodeGalaxyCode(SampleShapes()[0]).text), 33u);
}

// Pins the format: a build that encodes differently would give old codes other galaxies.
// The expected texts were worked out independently of this code from the written format.
TEST(GalaxyCode, FormatIsStable)
{
    const std::vector<GALAXY_SHAPE_T> shapes = SampleShapes();
    EXPECT_STREQ(EncodeGalaxyCode(shapes[0]).text, "GX1-SQ687PGBZR1R0080C0MA008J2GZF2");
    EXPECT_STREQ(EncodeGalaxyCode(shapes[1]).text, "GX1-ZZZZZZR3101AP0P604Y50116R250");
    EXPECT_STREQ(EncodeGalaxyCode(shapes[4]).text, "GX1-000000000000000RE8");
}

// Catches a mistyped symbol that silently decodes to another galaxy: every symbol of the
// code replaced by every other character is refused or, for the accepted look-alikes (O for
// 0, I and L for 1, lower case), gives exactly the same shape.
TEST(GalaxyCode, EverySingleSubstitutionIsRefused)
{
    std::string replacements = "0123456789ABCDEFGHJKMNPQRSTVWXYZabcxyzOoIiLlUu!~*.";
    replacements += '\x80';
    replacements += '\xff';
    for (const GALAXY_SHAPE_T &shape : SampleShapes())
    {
        const std::string code = EncodeGalaxyCode(shape).text;
        for (size_t at = 0; at < code.size(); at++)
        {
            for (char c : replacements)
            {
                std::string typo = code;
                typo[at] = c;
                GALAXY_SHAPE_T back = Sentinel();
                if (DecodeGalaxyCode(typo.c_str(), &back, nullptr))
                    EXPECT_EQ(Canonical(typo), code) << typo;
                else
                    EXPECT_EQ(back, Sentinel()) << typo;
            }
        }
    }
}

// Catches a cut code decoding to a galaxy built from whatever bytes are left, and a dropped
// symbol slipping through.
TEST(GalaxyCode, CutAndShortenedCodesAreRefused)
{
    for (const GALAXY_SHAPE_T &shape : SampleShapes())
    {
        const std::string code = EncodeGalaxyCode(shape).text;
        for (size_t length = 0; length < code.size(); length++)
            EXPECT_TRUE(Refused(code.substr(0, length).c_str())) << code.substr(0, length);
        for (size_t at = 4; at < code.size(); at++)
        {
            EXPECT_TRUE(Refused((code.substr(0, at) + code.substr(at + 1)).c_str())) << "without " << at;
            std::string spaced = code;
            spaced[at] = ' ';
            EXPECT_TRUE(Refused(spaced.c_str())) << spaced;
        }
        EXPECT_STREQ(Why(code.substr(0, code.size() - 3)), "the code is cut short");
    }
}

// Catches codes of another version or of something else being read as version 1, and a
// version 1 code carrying a field a later version adds.
TEST(GalaxyCode, OtherVersionsAndForeignTextsAreRefused)
{
    const std::string code = EncodeGalaxyCode(SampleShapes()[0]).text;
    EXPECT_STREQ(Why("GX2" + code.substr(3)), "unknown code version");
    EXPECT_STREQ(Why("GX01" + code.substr(3)), "unknown code version");
    EXPECT_STREQ(Why("XG1" + code.substr(3)), "not a galaxy code");
    EXPECT_TRUE(Refused((code + "0").c_str()));
    EXPECT_TRUE(Refused((code + "00000").c_str()));
    // Valid checks over what no encoder writes: ten varints, a seed 0 spelled 80 00, a
    // 33-bit seed.
    EXPECT_STREQ(Why("GX1-Q5GFW0W004060A50049182MZH8"), "the code is too long");
    EXPECT_STREQ(Why("GX1-G0000000000000000M6G"), "the code holds values no galaxy code can");
    EXPECT_STREQ(Why("GX1-ZZZZZZRZ00000000000007X5"), "the code holds values no galaxy code can");
    EXPECT_TRUE(Refused(nullptr));
    EXPECT_TRUE(Refused(""));
    EXPECT_TRUE(Refused("GX1-"));
    EXPECT_TRUE(Refused("GX1-0"));
    EXPECT_STREQ(Why("GX1-" + std::string(1000000, '0')), "the code is too long");
    EXPECT_STREQ(Why(code.substr(0, 6) + "U" + code.substr(7)),
                 "the code holds a character that no galaxy code has");
    GALAXY_SHAPE_T shape;
    EXPECT_FALSE(DecodeGalaxyCode(code.c_str(), nullptr, nullptr));
    EXPECT_TRUE(DecodeGalaxyCode(code.c_str(), &shape, nullptr));
}

// Catches reads past the text or past the byte buffer (under ASan), and refusals that
// change the caller's shape: random bytes, random symbol strings after a valid prefix.
TEST(GalaxyCode, GarbageNeverDecodesUnsafely)
{
    std::mt19937 random(7u);
    const std::string symbols = "0123456789ABCDEFGHJKMNPQRSTVWXYZ- ";
    for (int i = 0; i < 20000; i++)
    {
        std::string text = (i % 2) ? "GX1-" : "";
        const size_t length = random() % 120u;
        for (size_t k = 0; k < length; k++)
            text += (i % 2) ? symbols[random() % symbols.size()] : (char)(1 + random() % 255u);
        GALAXY_SHAPE_T back = Sentinel();
        const char *why = nullptr;
        if (DecodeGalaxyCode(text.c_str(), &back, &why))
        {
            EXPECT_EQ(Canonical(text), EncodeGalaxyCode(back).text); // one galaxy, one code
        }
        else
        {
            ASSERT_NE(why, nullptr);
            ASSERT_EQ(back, Sentinel());
        }
    }
}
