// The saved galaxies file: entries with any name come back as saved, a damaged or newer file
// gives up only the lines it cannot read and keeps those through every later save, and the
// first save over such a file keeps the original beside it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/saved_galaxies.h"
#include "galaxy/galaxy_code.h"
#include "tests/support/temp_folder.h"

namespace
{
constexpr time_t DECEMBER_8_2026 = 1796774103; // 2026-12-08T23:55:03Z

GALAXY_SHAPE_T Shape(uint32_t seed, int32_t arms)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(arms, 10, -150, 20, 80, 99, 64, 255);
    shape.seed = seed;
    return shape;
}

std::string Line(const GALAXY_SHAPE_T &shape, const std::string &name)
{
    return std::string(EncodeGalaxyCode(shape).text) + "\t2026-01-02T03:04:05Z\t" + name;
}

// Every field of every entry; the shape by its code, which is one to one.
std::vector<std::string> Fields(const SAVED_GALAXIES_T &list)
{
    std::vector<std::string> fields;
    for (const SAVED_GALAXY_T &e : list.entries)
        fields.push_back(e.name + "|" + e.date + "|" + e.code + "|" + EncodeGalaxyCode(e.shape).text);
    return fields;
}
} // namespace

// Catches names that break the line format (tab, line end) or are cut inside a UTF-8
// character, fields that change on the way through the file, and a clean file taken for a
// damaged one. The thousand random entries make the file larger than one read.
TEST(SavedGalaxies, EntriesComeBackAsSaved)
{
    TEMP_FOLDER_T folder;
    const std::string path = folder.Path("data/galaxy_viewer/galaxies.txt");
    SAVED_GALAXIES_T list;
    const std::string long_name = std::string(62, 'a') + "銀河"; // a cut at 64 bytes would split 銀
    const char *names[] = {"Spiral\tone", "two\nlines\r\n", "Ωmega 🌌", "", nullptr, long_name.c_str()};
    for (int i = 0; i < 6; i++)
        AddSavedGalaxy(&list, names[i], Shape(4000000000u + i, i), DECEMBER_8_2026 + i);
    EXPECT_EQ(list.entries[0].name + "|" + list.entries[0].date, "Spiral one|2026-12-08T23:55:03Z");
    EXPECT_EQ(list.entries[1].name + "|" + list.entries[5].name, "two lines  |" + std::string(62, 'a'));
    const char *pieces[] = {"a", " ", "\t", "\n", "\x01", "\x7f", "é", "銀", "🌌"};
    std::mt19937 random(5u);
    for (int i = 0; i < 1000; i++)
    {
        std::string name;
        for (unsigned k = random() % 50u; k > 0; k--)
            name += pieces[random() % 9u];
        GALAXY_SHAPE_T shape = Shape(random(), (int32_t)random());
        shape.density = (int32_t)(random() % 41u); // density 1 travels in version 1 codes, others in 2
        AddSavedGalaxy(&list, name.c_str(), shape, (time_t)random());
        EXPECT_LE(list.entries.back().name.size(), SAVED_GALAXY_NAME_MAX_BYTES);
    }
    std::string error;
    ASSERT_TRUE(StoreSavedGalaxies(path.c_str(), list, &error)) << error;
    SAVED_GALAXIES_T read;
    ASSERT_TRUE(LoadSavedGalaxies(path.c_str(), &read, &error)) << error;
    EXPECT_EQ(Fields(read), Fields(list));
    EXPECT_TRUE(read.unreadable_lines.empty() && read.problem.empty() && read.file_version == 1);
    ASSERT_TRUE(StoreSavedGalaxies(path.c_str(), read, &error)) << error;
    EXPECT_FALSE(PathExists(path + ".bak"));
}

// Catches a damaged file read as empty, lost lines on the next save (the user's only copy of
// them), a CRLF file read as all bad, and a backup that a later save overwrites.
TEST(SavedGalaxies, ADamagedFileKeepsWhatItCannotRead)
{
    TEMP_FOLDER_T folder;
    const std::string path = folder.Path("galaxies.txt");
    const std::vector<std::string> bad = {"hello world\r",
                                          "GX1-SQ687PGBZR1R0080C0MA008J2GZF3\t2026-01-02T03:04:05Z\tmistyped",
                                          "\x01\xff\xfe binary\tjunk",
                                          Line(Shape(3, 3), "four\tfields"),
                                          std::string(EncodeGalaxyCode(Shape(4, 4)).text) + "\tno name",
                                          std::string(EncodeGalaxyCode(Shape(5, 5)).text).substr(0, 20)};
    const std::string original = "galaxy_viewer saved galaxies 1\r\n" + Line(Shape(1, 2), "first") + "\r\n" +
                                 bad[0] + "\n" + bad[1] + "\n\n" + bad[2] + "\n" +
                                 Line(Shape(2, 9), "second") + "\n" + bad[3] + "\n" + bad[4] + "\n" + bad[5];
    PutFile(path, original);
    SAVED_GALAXIES_T list;
    std::string error;
    ASSERT_TRUE(LoadSavedGalaxies(path.c_str(), &list, &error)) << error;
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].name + "|" + list.entries[1].code,
              std::string("first|") + EncodeGalaxyCode(Shape(2, 9)).text);
    EXPECT_EQ(list.problem, "6 lines could not be read and will be kept as they are");

    AddSavedGalaxy(&list, "third", Shape(6, 6), DECEMBER_8_2026);
    ASSERT_TRUE(DeleteSavedGalaxy(&list, 0));
    EXPECT_FALSE(DeleteSavedGalaxy(&list, 2));
    for (int round = 0; round < 2; round++)
    {
        ASSERT_TRUE(StoreSavedGalaxies(path.c_str(), list, &error)) << error;
        EXPECT_EQ(FileContents(path + ".bak"), original);
        SAVED_GALAXIES_T again;
        ASSERT_TRUE(LoadSavedGalaxies(path.c_str(), &again, &error)) << error;
        EXPECT_EQ(Fields(again), Fields(list));
        EXPECT_EQ(again.unreadable_lines, bad);
        list = again;
    }
}

// Catches a newer file's unknown lines dropped or its readable entries ignored, a file
// without a header read as empty, a first run (no file yet) reported as an error, and
// failures reported as success.
TEST(SavedGalaxies, UnusualFilesAreReadAsFarAsPossibleAndFailuresSaySo)
{
    const std::vector<std::string> later = {"GX2-ABCDEFGH\t2030-01-01T00:00:00Z\tfrom the future",
                                            Line(Shape(8, 8), "named") + "\t40"};
    const SAVED_GALAXIES_T newer =
        ParseSavedGalaxies("galaxy_viewer saved galaxies 7\n" + Line(Shape(7, 7), "old") + "\n" + later[0] +
                           "\n" + later[1] + "\n");
    EXPECT_EQ(newer.file_version, 7);
    EXPECT_EQ(newer.entries.size(), 1u);
    EXPECT_EQ(newer.problem,
              "the saved galaxies file is from a newer version (7); 2 lines could not be read and "
              "will be kept as they are");
    const SAVED_GALAXIES_T rewritten = ParseSavedGalaxies(FormatSavedGalaxies(newer));
    EXPECT_EQ(Fields(rewritten), Fields(newer));
    EXPECT_EQ(rewritten.unreadable_lines, later);

    const SAVED_GALAXIES_T headerless = ParseSavedGalaxies(Line(Shape(9, 2), "no header") + "\n");
    EXPECT_EQ(headerless.entries.size(), 1u);
    EXPECT_EQ(headerless.file_version, 0);
    EXPECT_EQ(headerless.problem, "the saved galaxies file has no header line");
    const SAVED_GALAXIES_T empty = ParseSavedGalaxies("");
    EXPECT_TRUE(empty.entries.empty() && empty.problem.empty() && empty.file_version == 1);

    TEMP_FOLDER_T folder;
    SAVED_GALAXIES_T list;
    std::string error;
    AddSavedGalaxy(&list, "kept", Shape(1, 2), DECEMBER_8_2026);
    ASSERT_TRUE(LoadSavedGalaxies(folder.Path("none/galaxies.txt").c_str(), &list, &error)) << error;
    EXPECT_TRUE(list.entries.empty() && list.problem.empty());
    EXPECT_FALSE(LoadSavedGalaxies(folder.path.c_str(), &list, &error));
    EXPECT_EQ(error, "cannot read " + folder.path + ": Is a directory");
    PutFile(folder.Path("file"), "x");
    EXPECT_FALSE(StoreSavedGalaxies(folder.Path("file/galaxies.txt").c_str(), list, &error));
    EXPECT_EQ(error, "cannot create folder " + folder.Path("file") + ": Not a directory");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"file"});
}

// Catches bookmarks lost or changed on the way through the file, a file without bookmarks
// written back other than byte for byte, one star kept twice, bookmark-like lines that do not
// name a star taken for bookmarks (they are kept as they stand), and an entry replaced out of
// its place or under another name.
TEST(SavedGalaxies, BookmarksComeBackAndOlderFilesStayAsTheyWere)
{
    const std::string older = "galaxy_viewer saved galaxies 1\n" + Line(Shape(1, 2), "first") + "\n" +
                              Line(Shape(2, 9), "second") + "\n" + Line(Shape(1, 2), "first again") + "\n";
    SAVED_GALAXIES_T list = ParseSavedGalaxies(older);
    EXPECT_TRUE(list.bookmarks.empty() && list.problem.empty());
    EXPECT_EQ(FormatSavedGalaxies(list), older);

    AddBookmark(&list, Shape(2, 9), 42, "by the\tdust lane");
    AddBookmark(&list, Shape(1, 2), 0, "");
    AddBookmark(&list, Shape(7, 7), 973079, "Ωmega 🌌");
    AddBookmark(&list, Shape(2, 9), 42, "near the bar"); // the same star: a new note, no new line
    ASSERT_EQ(list.bookmarks.size(), 3u);
    const std::string code = EncodeGalaxyCode(Shape(2, 9)).text;
    const std::vector<std::string> odd = {"bookmark\t" + code + "\tno star", "bookmark\tGX9-NOPE#3\tnote",
                                          "bookmark\t" + code + "#5\tnote\textra"};
    for (const std::string &line : odd) list.unreadable_lines.push_back(line);

    TEMP_FOLDER_T folder;
    const std::string path = folder.Path("galaxies.txt");
    std::string error;
    PutFile(path, older);
    ASSERT_TRUE(StoreSavedGalaxies(path.c_str(), list, &error)) << error;
    const std::string text = FileContents(path);
    EXPECT_EQ(text.compare(0, older.size(), older), 0) << "the older lines moved:\n" << text;
    EXPECT_NE(text.find("\nbookmark\t" + code + "#42\tnear the bar\n"), std::string::npos) << text;
    SAVED_GALAXIES_T read;
    ASSERT_TRUE(LoadSavedGalaxies(path.c_str(), &read, &error)) << error;
    EXPECT_EQ(Fields(read), Fields(list));
    ASSERT_EQ(read.bookmarks.size(), 3u);
    for (size_t i = 0; i < 3; i++)
    {
        const SAVED_BOOKMARK_T &a = read.bookmarks[i], &b = list.bookmarks[i];
        EXPECT_EQ(a.code + "#" + std::to_string(a.star) + "|" + a.note,
                  std::string(EncodeGalaxyCode(b.shape).text) + "#" + std::to_string(b.star) + "|" + b.note);
    }
    EXPECT_EQ(read.bookmarks[0].note, "near the bar");
    EXPECT_EQ(read.unreadable_lines, odd);
    EXPECT_EQ(FormatSavedGalaxies(read), text);

    EXPECT_EQ(FindSavedGalaxy(read, "first again"), 2);
    EXPECT_EQ(FindSavedGalaxy(read, "first\nagain"), 2) << "a name is found as it would be stored";
    EXPECT_EQ(FindSavedGalaxy(read, "third"), -1);
    ASSERT_TRUE(ReplaceSavedGalaxy(&read, 0, Shape(3, 3), DECEMBER_8_2026));
    EXPECT_FALSE(ReplaceSavedGalaxy(&read, 3, Shape(3, 3), DECEMBER_8_2026));
    const std::string replaced = EncodeGalaxyCode(Shape(3, 3)).text;
    EXPECT_EQ(Fields(read)[0], "first|2026-12-08T23:55:03Z|" + replaced + "|" + replaced);
    EXPECT_EQ(read.entries.size(), 3u);
    ASSERT_TRUE(DeleteBookmark(&read, 1));
    EXPECT_FALSE(DeleteBookmark(&read, 2));
    EXPECT_EQ(read.bookmarks[1].star, 973079u);
}
