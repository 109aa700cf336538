// The name index against the systems themselves and a brute-force search: every star's name is
// its system's, a search finds exactly the names that hold the text, best first, and the
// index is the same on any number of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>

#include "galaxy/hubble_types.h"
#include "galaxy/star_names.h"
#include "galaxy/star_system_on_demand.h"
#include "random/random.h"

namespace
{
std::string Lower(std::string text)
{
    for (char &c : text) c = (char)std::tolower((unsigned char)c);
    return text;
}
} // namespace

// Catches a name that differs from the card's (rolls left out or added before it), a stream
// moved by naming, slices joined out of order, a search that misses or invents a match or
// ignores case, and an order other than equal, then begins-with, then shorter, then lower star.
TEST(StarNames, TheIndexHoldsEachSystemsNameAndASearchFindsExactlyTheMatchesBestFirst)
{
    GALAXY_SHAPE_T classic = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252, 2);
    classic.seed = 9;
    GALAXY_SHAPE_T hubble = ApplyHubblePreset(classic, HubbleModelByName("Sb"));
    RandomSeed(1.0);
    const RANDOM_STATE_T before = RandomGetState();
    std::mt19937 random(22u);
    for (const GALAXY_SHAPE_T &shape : {classic, hubble})
        for (int i = 0; i < 40; i++)
        {
            const uint64_t star = random() % 20000u;
            STAR_SYSTEM_T system;
            GenerateStarSystem(shape, star, Vector3{}, &system);
            ASSERT_EQ(StarSystemName(shape, star), system.system.name) << star;
        }
    const RANDOM_STATE_T after = RandomGetState();
    EXPECT_TRUE(after.pos == before.pos && std::memcmp(after.mt, before.mt, sizeof after.mt) == 0);

    STAR_NAME_INDEX_T one, three;
    BuildStarNameIndex(classic, 9000, 1, &one);
    BuildStarNameIndex(classic, 9000, 3, &three);
    ASSERT_EQ(one.Count(), 9000u);
    EXPECT_EQ(one.text, three.text);
    EXPECT_EQ(one.start, three.start);
    EXPECT_EQ(one.Name(4321), StarSystemName(classic, 4321));

    for (uint64_t star : {17u, 4321u, 8999u})
    {
        const std::string name = one.Name(star);
        for (const std::string &text : {name, Lower(name.substr(0, 3)), Lower(name.substr(1, 2))})
        {
            const std::vector<uint32_t> found = FindStarNames(one, text, one.Count());
            std::vector<uint32_t> expected;
            for (uint32_t k = 0; k < one.Count(); k++)
                if (Lower(one.Name(k)).find(Lower(text)) != std::string::npos) expected.push_back(k);
            std::vector<uint32_t> sorted = found;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(sorted, expected) << text;
            auto rank = [&](uint32_t k) {
                const size_t at = Lower(one.Name(k)).find(Lower(text));
                return at > 0 ? 2 : (one.Name(k).size() == text.size() ? 0 : 1);
            };
            for (size_t i = 1; i < found.size(); i++)
            {
                const uint32_t a = found[i - 1], b = found[i];
                const bool ordered = rank(a) < rank(b) ||
                                     (rank(a) == rank(b) && (one.Name(a).size() < one.Name(b).size() ||
                                                             (one.Name(a).size() == one.Name(b).size() && a < b)));
                ASSERT_TRUE(ordered) << text << ": " << one.Name(a) << " before " << one.Name(b);
            }
            ASSERT_FALSE(found.empty());
            if (text == name)
            {
                EXPECT_EQ(one.Name(found[0]).size(), name.size()) << "an equal name comes first";
            }
            EXPECT_LE(FindStarNames(one, text, 2).size(), 2u);
        }
    }
    EXPECT_TRUE(FindStarNames(one, "", 10).empty());
}
