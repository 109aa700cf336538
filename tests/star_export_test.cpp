// Star field export: the files read back to exactly the stars the galaxy holds, in creation
// order, and an export that cannot be written leaves the folder as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "files/star_export.h"
#include "galaxy/galaxy.h"
#include "tests/support/temp_folder.h"

namespace
{
// Reads the remaining lines as "[index,]x<sep>y<sep>z" with strtof; each must be star i of
// star_list to the bit, and there must be one per star.
void ExpectRowsAreTheStars(const GALAXY &galaxy, std::istream &rows, bool indexed, char separator)
{
    std::string line;
    uint64_t i = 0;
    for (; std::getline(rows, line); i++)
    {
        ASSERT_LT(i, galaxy.field.star_list.Count());
        const Vector3 held = ((const IOBJECT_T *)galaxy.field.star_list.Get(i))->position;
        const std::string prefix = indexed ? std::to_string(i) + "," : "";
        ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
        const float wanted[3] = {held.x, held.y, held.z};
        char *at = &line[prefix.size()];
        for (int axis = 0; axis < 3; axis++)
        {
            const float read = std::strtof(at, &at);
            ASSERT_EQ(std::memcmp(&read, &wanted[axis], sizeof read), 0) << "star " << i << ": " << line;
            ASSERT_EQ(*at++, axis < 2 ? separator : '\0') << line;
        }
    }
    EXPECT_EQ(i, galaxy.field.star_list.Count());
    EXPECT_GT(i, 1000u);
}
} // namespace

// Catches rounding in the printed coordinates, rows out of creation order, a missing or extra
// row, a CSV header other tools do not recognise, a PLY vertex count that disagrees with the
// rows (3-D tools then refuse the file or read garbage) or a malformed PLY header, the
// extension matched case-sensitively; and a failed export that creates a missing folder or a
// stray file, or writes an unknown format over a file of that name.
TEST(StarExport, FilesHoldTheExactStarsAndFailuresWriteNothing)
{
    GALAXY galaxy(256); // two arms: the fewest stars
    GALAXY_SHAPE_T shape = MakeGalaxyShape(2, 19, -150, 30, 40, 99, 64, 255);
    shape.seed = 1073741823u;
    GenerateGalaxy(&galaxy, shape);
    TEMP_FOLDER_T folder;
    std::string error, header, line;
    ASSERT_TRUE(ExportStarField(galaxy.field, folder.Path("stars.csv").c_str(), &error)) << error;
    ASSERT_TRUE(ExportStarField(galaxy.field, folder.Path("Stars.PLY").c_str(), &error)) << error;
    std::istringstream csv(FileContents(folder.Path("stars.csv")));
    std::istringstream ply(FileContents(folder.Path("Stars.PLY")));
    std::getline(csv, header);
    EXPECT_EQ(header, "index,x,y,z");
    ExpectRowsAreTheStars(galaxy, csv, true, ',');
    for (header.clear(); std::getline(ply, line) && line != "end_header";)
        header += line.rfind("comment ", 0) == 0 ? "comment\n" : line + "\n";
    EXPECT_EQ(header, "ply\nformat ascii 1.0\ncomment\nelement vertex " +
                          std::to_string(galaxy.field.star_list.Count()) +
                          "\nproperty float x\nproperty float y\nproperty float z\n");
    ExpectRowsAreTheStars(galaxy, ply, false, ' ');

    const std::string older = FileContents(folder.Path("stars.csv"));
    PutFile(folder.Path("stars.txt"), "notes\n");
    EXPECT_FALSE(ExportStarField(galaxy.field, folder.Path("missing/stars.csv").c_str(), &error));
    EXPECT_EQ(error, "cannot write " + folder.Path("missing/stars.csv") + ": No such file or directory");
    EXPECT_FALSE(ExportStarField(galaxy.field, folder.Path("stars.txt").c_str(), &error));
    EXPECT_EQ(error, "cannot export " + folder.Path("stars.txt") +
                         ": unknown export format \".txt\"; use .csv or .ply");
    EXPECT_FALSE(ExportStarField(galaxy.field, folder.Path("csv").c_str(), &error));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"Stars.PLY", "stars.csv", "stars.txt"}));
    EXPECT_EQ(FileContents(folder.Path("stars.csv")) + FileContents(folder.Path("stars.txt")),
              older + "notes\n");
}
