// The systems catalog: the same bytes whatever the number of threads, progress that reaches the
// end, and a write that fails halfway leaving the old file and no stray piece behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "files/system_catalog.h"
#include "files/system_json.h"
#include "galaxy/galaxy_shape.h"
#include "tests/support/temp_folder.h"

namespace
{
// The first stars of a one-armed galaxy: a few pieces more than two workers may hold ahead of
// the writer, and few enough to make their systems quickly.
STAR_FIELD_T SmallField(uint64_t stars)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(1, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 77;
    STAR_FIELD_T field(256);
    MakeStarField(&field, shape);
    while (field.star_list.Count() > stars) field.star_list.Pop();
    return field;
}
} // namespace

// Catches systems that depend on which thread made them (a shared random stream), pieces written
// out of order, lost or twice, workers that stall when they run ahead of the writer, and progress
// that goes back or stops short of the end.
TEST(SystemCatalog, SameBytesOnAnyNumberOfThreads)
{
    const STAR_FIELD_T field = SmallField(1300);
    ASSERT_EQ(field.StarCount(), 1300u);
    TEMP_FOLDER_T folder;
    std::vector<std::string> texts;
    for (int threads : {1, 2})
    {
        // CSV, whose rows are quick to make: a stream shared between threads shows in them as
        // well, since every system draws its planets and air from it in turn.
        const std::string path = folder.Path(std::to_string(threads) + ".csv");
        std::vector<uint64_t> heard;
        std::string error;
        ASSERT_TRUE(ExportSystemCatalog(field, path.c_str(), threads, &error,
                                        [&](uint64_t done, uint64_t total) {
                                            EXPECT_EQ(total, field.StarCount());
                                            heard.push_back(done);
                                        }))
            << error;
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.front(), 0u);
        for (size_t k = 1; k < heard.size(); k++) EXPECT_GT(heard[k], heard[k - 1]);
        EXPECT_EQ(heard.back(), field.StarCount());
        texts.push_back(FileContents(path));
    }
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ((uint64_t)std::count(texts[0].begin(), texts[0].end(), '\n'), field.StarCount() + 1);
}

// Catches a streamed write that truncates the old file when the disk fills halfway, leaves its
// temporary behind, reports success or hangs with workers waiting on a writer that gave up.
TEST(SystemCatalog, AWriteThatFailsHalfwayLeavesTheOldFile)
{
    const STAR_FIELD_T field = SmallField(2703);
    TEMP_FOLDER_T folder;
    const std::string path = folder.Path("systems.csv");
    PutFile(path, "precious\n");
    std::string error;
    {
        FILE_SIZE_LIMIT_T limit(40000); // a few pieces of the CSV's rows
        EXPECT_FALSE(ExportSystemCatalog(field, path.c_str(), 2, &error));
    }
    EXPECT_EQ(error, "cannot write " + path + ": File too large");
    EXPECT_EQ(FileContents(path), "precious\n");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"systems.csv"}));
}

// A catalog line is written straight as text, not built as an object: it must be, byte for
// byte, the library's own compact dump of the object --system prints, over many systems (every
// kind of body, air and moon, pairs, figures without a value) and for names that need escaping.
TEST(SystemCatalog, AJsonLineIsTheCompactFormOfWhatSystemPrints)
{
    const STAR_FIELD_T field = SmallField(600);
    const char *const odd_names[] = {"Quo\"te", "back\\slash", "tab\there", "\x01" "bell", "caf\xc3\xa9", ""};
    for (uint64_t star = 0; star < field.StarCount(); star++)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(field.shape, star, ((const IOBJECT_T *)field.star_list.Get(star))->position, &system);
        if (star < sizeof odd_names / sizeof odd_names[0]) std::strcpy(system.system.name, odd_names[star]);
        const std::string expected = nlohmann::ordered_json::parse(StarSystemJson(system)).dump() + "\n";
        ASSERT_EQ(StarSystemJsonLine(system), expected) << "star " << star;
    }
}
