// Star field export: the files read back to exactly the stars the galaxy holds, in creation
// order, and an export that cannot be written leaves the folder as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "files/star_export.h"
#include "tests/support/temp_folder.h"

namespace
{
// A real galaxy of two arms (the fewest stars), generated once for all cases.
struct StarExport : ::testing::Test
{
    static void SetUpTestSuite()
    {
        galaxy = new GALAXY(256);
        GALAXY_SHAPE_T shape = MakeGalaxyShape(2, 19, -150, 30, 40, 99, 64, 255);
        shape.seed = 1073741823u;
        GenerateGalaxy(galaxy, shape);
    }
    static void TearDownTestSuite() { delete galaxy; }
    static GALAXY *galaxy;
};
GALAXY *StarExport::galaxy = nullptr;

const GALAXY &SmallGalaxy(void)
{
    return *StarExport::galaxy;
}

bool SameFloat(float read, float held)
{
    return std::memcmp(&read, &held, sizeof read) == 0;
}

// Reads "x<sep>y<sep>z" with strtof and compares each to star index bit for bit.
::testing::AssertionResult RowMatchesStar(const char *row, char separator, uint64_t index)
{
    const Vector3 held = ((const IOBJECT_T *)SmallGalaxy().star_list.Get(index))->position;
    const float wanted[3] = {held.x, held.y, held.z};
    const char *at = row;
    for (int axis = 0; axis < 3; axis++)
    {
        char *end = nullptr;
        const float value = std::strtof(at, &end);
        if (end == at || !SameFloat(value, wanted[axis]))
            return ::testing::AssertionFailure() << "star " << index << " axis " << axis << ": " << row;
        at = end;
        if (axis < 2 && *at++ != separator) return ::testing::AssertionFailure() << "separator: " << row;
    }
    if (*at != '\0') return ::testing::AssertionFailure() << "trailing text: " << row;
    return ::testing::AssertionSuccess();
}

// The file an export under this name writes into a fresh folder.
std::string Exported(const char *name)
{
    TEMP_FOLDER_T folder;
    std::string error;
    EXPECT_TRUE(ExportStarField(SmallGalaxy(), folder.Path(name).c_str(), &error)) << error;
    return FileContents(folder.Path(name));
}
} // namespace

// Catches rounding in the printed coordinates, rows out of creation order, a missing or
// extra row, and a header other tools do not recognise.
TEST_F(StarExport, CsvReadsBackToTheExactStars)
{
    std::istringstream csv(Exported("stars.csv"));
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "index,x,y,z");
    uint64_t rows = 0;
    while (std::getline(csv, line))
    {
        const size_t comma = line.find(',');
        ASSERT_EQ(line.substr(0, comma), std::to_string(rows));
        ASSERT_TRUE(RowMatchesStar(line.c_str() + comma + 1, ',', rows));
        rows++;
    }
    EXPECT_GT(rows, 1000u);
    EXPECT_EQ(rows, SmallGalaxy().star_list.Count());
}

// Catches a vertex count that disagrees with the rows (3-D tools then refuse the file or
// read garbage), a malformed header, and the extension matched case-sensitively.
TEST_F(StarExport, PlyIsAPointCloudOfTheStars)
{
    std::istringstream ply(Exported("Stars.PLY"));
    std::string line;
    std::vector<std::string> header;
    while (std::getline(ply, line) && line != "end_header")
        header.push_back(line);
    ASSERT_EQ(header.size(), 7u);
    EXPECT_EQ(header[0], "ply");
    EXPECT_EQ(header[1], "format ascii 1.0");
    EXPECT_EQ(header[2].rfind("comment ", 0), 0u);
    EXPECT_EQ(header[3], "element vertex " + std::to_string(SmallGalaxy().star_list.Count()));
    EXPECT_EQ(header[4] + header[5] + header[6], "property float xproperty float yproperty float z");
    uint64_t rows = 0;
    while (std::getline(ply, line))
        ASSERT_TRUE(RowMatchesStar(line.c_str(), ' ', rows++));
    EXPECT_EQ(rows, SmallGalaxy().star_list.Count());
}

// Catches an export that creates a missing folder or a stray file, writes an unknown format,
// or truncates the file it was about to replace when the write fails halfway.
TEST_F(StarExport, AFailedExportWritesNothing)
{
    TEMP_FOLDER_T folder;
    PutFile(folder.Path("stars.csv"), "an older export\n");
    PutFile(folder.Path("stars.txt"), "notes\n");
    std::string error;
    EXPECT_FALSE(ExportStarField(SmallGalaxy(), folder.Path("missing/stars.csv").c_str(), &error));
    EXPECT_EQ(error, "cannot write " + folder.Path("missing/stars.csv") + ": No such file or directory");
    EXPECT_FALSE(ExportStarField(SmallGalaxy(), folder.Path("stars.txt/stars.ply").c_str(), &error));
    EXPECT_FALSE(ExportStarField(SmallGalaxy(), folder.Path("stars.txt").c_str(), &error));
    EXPECT_EQ(error, "cannot export " + folder.Path("stars.txt") +
                         ": unknown export format \".txt\"; use .csv or .ply");
    EXPECT_FALSE(ExportStarField(SmallGalaxy(), folder.Path("csv").c_str(), &error));
    EXPECT_NE(error.find("(no extension)"), std::string::npos) << error;
    {
        FILE_SIZE_LIMIT_T limit(1000);
        EXPECT_FALSE(ExportStarField(SmallGalaxy(), folder.Path("stars.csv").c_str(), &error));
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"stars.csv", "stars.txt"}));
    EXPECT_EQ(FileContents(folder.Path("stars.csv")), "an older export\n");
    EXPECT_EQ(FileContents(folder.Path("stars.txt")), "notes\n");
}
