// The public face <galaxy_core.h> as another program uses it: from several threads at once,
// between draws of its own from the random stream, and with the Hubble types' own fields.
// Equality with the command line's output is checked on the installed package (tests/package).
#include <gtest/gtest.h>

#include <galaxy_core.h>

#include <cstring>
#include <thread>

#include "random/random.h"

namespace
{
// Field by field: a Star's padding byte is never set.
bool SameStars(const std::vector<galaxy_core::Star> &a, const std::vector<galaxy_core::Star> &b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
    {
        if (std::memcmp(&a[i].x, &b[i].x, 3 * sizeof(float)) != 0 || a[i].r != b[i].r || a[i].g != b[i].g ||
            a[i].b != b[i].b)
            return false;
    }
    return true;
}

// Catches a facade that leaves the caller's random stream moved (a game seeding its own
// world would get another one after asking for a galaxy), or shares one stream between threads.
TEST(GalaxyCoreApi, CallsLeaveTheCallersStreamAndAgreeAcrossThreads)
{
    const galaxy_core::Shape spiral = galaxy_core::DefaultShape();
    const galaxy_core::Shape hubble = galaxy_core::WithModel(spiral, galaxy_core::ModelByName("SBb"));
    const std::vector<galaxy_core::Star> alone = galaxy_core::Stars(spiral);
    ASSERT_GT(alone.size(), 1000u);

    RandomSeed(77.0);
    const uint32_t expected = RandomNext32();
    RandomSeed(77.0);
    std::vector<galaxy_core::Star> other;
    std::thread worker([&] { other = galaxy_core::Stars(hubble); });
    const std::vector<galaxy_core::Star> again = galaxy_core::Stars(spiral);
    EXPECT_FALSE(galaxy_core::SystemJson(spiral, 3).empty());
    EXPECT_FALSE(galaxy_core::Find(spiral, "a", 5).empty());
    worker.join();
    EXPECT_EQ(RandomNext32(), expected);

    EXPECT_TRUE(SameStars(alone, again));
    EXPECT_TRUE(SameStars(other, galaxy_core::Stars(hubble)));
    EXPECT_FALSE(SameStars(alone, other));
}

// Catches a Hubble type's fields lost on the way through a code, and failures without a reason.
TEST(GalaxyCoreApi, CodesKeepEveryFieldAndRefusalsSayWhy)
{
    for (int32_t model = 0; model <= galaxy_core::ModelCount(); model++)
    {
        galaxy_core::Shape shape = galaxy_core::WithModel(galaxy_core::DefaultShape(), model);
        shape.seed = 2147483647u;
        shape.density = 3;
        galaxy_core::Shape read;
        std::string why;
        ASSERT_TRUE(galaxy_core::DecodeCode(galaxy_core::EncodeCode(shape), &read, &why)) << why;
        EXPECT_EQ(read, shape) << galaxy_core::ModelName(model);
        EXPECT_EQ(galaxy_core::ModelByName(galaxy_core::ModelName(model)), model);
    }

    const std::string code = galaxy_core::EncodeCode(galaxy_core::DefaultShape());
    galaxy_core::Shape untouched;
    std::string why;
    EXPECT_FALSE(galaxy_core::DecodeCode(code + std::string(1, '\0') + "X", &untouched, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(untouched, galaxy_core::Shape());

    galaxy_core::Shape empty = galaxy_core::DefaultShape();
    empty.arms = 0;
    std::vector<galaxy_core::Star> stars;
    why.clear();
    EXPECT_FALSE(galaxy_core::MakeStars(empty, &stars, &why));
    EXPECT_NE(why.find("no stars"), std::string::npos) << why;
    std::string json;
    why.clear();
    EXPECT_FALSE(galaxy_core::MakeSystemJson(galaxy_core::DefaultShape(), UINT64_MAX, &json, &why));
    EXPECT_TRUE(json.empty());
    EXPECT_NE(why.find("numbered 0 to"), std::string::npos) << why;
}
} // namespace
