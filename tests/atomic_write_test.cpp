// Writing the user's files: complete replacement or none at all, failures that leave the old
// file whole and no temporary behind, names that are never taken twice even by racing
// threads, and the user's folders as the environment decides them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "files/atomic_write.h"
#include "files/user_folders.h"
#include "tests/support/temp_folder.h"

namespace
{
// Sets (or with null, unsets) an environment variable for one scope.
struct SCOPED_VARIABLE_T
{
    SCOPED_VARIABLE_T(const char *name, const char *value) : name(name)
    {
        const char *old = std::getenv(name);
        had = old != nullptr;
        if (had) previous = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~SCOPED_VARIABLE_T()
    {
        if (had)
            setenv(name, previous.c_str(), 1);
        else
            unsetenv(name);
    }
    const char *name;
    bool had = false;
    std::string previous;
};
} // namespace

// Catches a write that appends instead of replacing, stops at a NUL byte, or leaves its
// temporary file beside the target.
TEST(AtomicWrite, ReplacesTheWholeFileAndLeavesNothingElse)
{
    TEMP_FOLDER_T folder;
    const std::string target = folder.Path("galaxies.txt");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target.c_str(), std::string("first\0version, longer\n", 22), &error))
        << error;
    EXPECT_EQ(FileContents(target), std::string("first\0version, longer\n", 22));
    ASSERT_TRUE(WriteFileAtomically(target.c_str(), "second", &error)) << error;
    EXPECT_EQ(FileContents(target), "second");
    ASSERT_TRUE(WriteFileAtomically(target.c_str(), "", &error)) << error;
    EXPECT_EQ(FileContents(target), "");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"galaxies.txt"});
}

// Catches a failed write that truncates or removes the old file, leaves a temporary behind,
// or reports success; and messages that do not say what failed and why. The file size limit
// makes the write itself fail halfway, as a full disk would.
TEST(AtomicWrite, AFailedWriteLeavesTheOldFileWhole)
{
    TEMP_FOLDER_T folder;
    const std::string target = folder.Path("stars.csv");
    PutFile(target, "old contents\n");
    PutFile(folder.Path("plain_file"), "x");
    mkdir(folder.Path("a_folder").c_str(), 0755);
    std::string error;

    {
        FILE_SIZE_LIMIT_T limit(4096);
        EXPECT_FALSE(WriteFileAtomically(target.c_str(), std::string(100000, 'n'), &error));
    }
    EXPECT_EQ(error, "cannot write " + target + ": File too large");
    EXPECT_EQ(FileContents(target), "old contents\n");

    EXPECT_FALSE(WriteFileAtomically(folder.Path("a_folder").c_str(), "x", &error));
    EXPECT_EQ(error, "cannot write " + folder.Path("a_folder") + ": Is a directory");
    EXPECT_FALSE(WriteFileAtomically(folder.Path("missing/stars.csv").c_str(), "x", &error));
    EXPECT_EQ(error, "cannot write " + folder.Path("missing/stars.csv") + ": No such file or directory");
    EXPECT_FALSE(WriteFileAtomically(folder.Path("plain_file/stars.csv").c_str(), "x", &error));
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a_folder", "plain_file", "stars.csv"}));
    EXPECT_EQ(FileContents(folder.Path("plain_file")), "x");
}

// Catches a folder chain that stops after one level, an existing folder taken for an error,
// and a file in the way taken for a folder.
TEST(AtomicWrite, MakeFoldersCreatesTheWholeChain)
{
    TEMP_FOLDER_T folder;
    std::string error;
    const std::string deep = folder.Path("a/b/c");
    ASSERT_TRUE(MakeFolders(deep.c_str(), &error)) << error;
    ASSERT_TRUE(MakeFolders((deep + "/").c_str(), &error)) << error;
    struct stat info = {};
    EXPECT_TRUE(stat(deep.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
    PutFile(folder.Path("a/file"), "x");
    EXPECT_FALSE(MakeFolders(folder.Path("a/file/d").c_str(), &error));
    EXPECT_EQ(error, "cannot create folder " + folder.Path("a/file") + ": Not a directory");
}

// Catches an overwritten file, numbering that skips or repeats, and two threads handed the
// same name in a race.
TEST(AtomicWrite, ReservedNamesAreNeverTakenTwice)
{
    TEMP_FOLDER_T folder;
    PutFile(folder.Path("shot.png"), "keep");
    PutFile(folder.Path("shot-3.png"), "keep too");
    std::string path, error;
    ASSERT_TRUE(ReserveUniquePath(folder.path.c_str(), "shot", "png", &path, &error)) << error;
    EXPECT_EQ(path, folder.Path("shot-2.png"));
    ASSERT_TRUE(ReserveUniquePath(folder.path.c_str(), "shot", ".png", &path, &error)) << error;
    EXPECT_EQ(path, folder.Path("shot-4.png"));
    EXPECT_EQ(FileContents(folder.Path("shot.png")), "keep");
    EXPECT_EQ(FileContents(folder.Path("shot-3.png")), "keep too");

    std::vector<std::vector<std::string>> taken(4);
    std::vector<std::thread> threads;
    for (auto &mine : taken)
        threads.emplace_back(
            [&folder, &mine]
            {
                for (int i = 0; i < 25; i++)
                {
                    std::string got, why;
                    if (ReserveUniquePath(folder.path.c_str(), "race", "csv", &got, &why))
                        mine.push_back(got);
                }
            });
    for (std::thread &thread : threads)
        thread.join();
    std::set<std::string> distinct;
    for (const auto &mine : taken)
        distinct.insert(mine.begin(), mine.end());
    EXPECT_EQ(distinct.size(), 100u);
    EXPECT_TRUE(distinct.count(folder.Path("race.csv")) && distinct.count(folder.Path("race-100.csv")));

    EXPECT_FALSE(ReserveUniquePath(folder.Path("missing").c_str(), "shot", "png", &path, &error));
    EXPECT_EQ(error, "cannot create " + folder.Path("missing/shot.png") + ": No such file or directory");
}

// Catches a missing file that cannot be told from an unreadable one.
TEST(AtomicWrite, ReadWholeFileTellsAMissingFileApart)
{
    TEMP_FOLDER_T folder;
    std::string contents, error;
    bool missing = false;
    EXPECT_FALSE(ReadWholeFile(folder.Path("none").c_str(), &contents, &missing, &error));
    EXPECT_TRUE(missing);
    EXPECT_FALSE(ReadWholeFile(folder.path.c_str(), &contents, &missing, &error));
    EXPECT_FALSE(missing);
    EXPECT_EQ(error, "cannot read " + folder.path + ": Is a directory");
    PutFile(folder.Path("big"), std::string(200000, 'b') + '\0' + "end");
    ASSERT_TRUE(ReadWholeFile(folder.Path("big").c_str(), &contents, &missing, &error)) << error;
    EXPECT_EQ(contents, FileContents(folder.Path("big")));
}

// Catches a relative XDG value being used (files landing wherever the program started), the
// wrong fallback order, and a Pictures folder assumed to exist.
TEST(UserFolders, FollowTheEnvironment)
{
    TEMP_FOLDER_T home;
    SCOPED_VARIABLE_T home_variable("HOME", home.path.c_str());
    SCOPED_VARIABLE_T data("XDG_DATA_HOME", "/data/home");
    SCOPED_VARIABLE_T pictures("XDG_PICTURES_DIR", "relative/pictures");
    EXPECT_EQ(UserDataFolder(), "/data/home/galaxy_viewer");
    EXPECT_EQ(UserPicturesFolder(), "/data/home/galaxy_viewer"); // no Pictures folder yet
    mkdir(home.Path("Pictures").c_str(), 0755);
    EXPECT_EQ(UserPicturesFolder(), home.Path("Pictures"));
    setenv("XDG_PICTURES_DIR", "/shots", 1);
    EXPECT_EQ(UserPicturesFolder(), "/shots");
    setenv("XDG_DATA_HOME", "data", 1);
    EXPECT_EQ(UserDataFolder(), home.Path(".local/share/galaxy_viewer"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataFolder(), home.Path(".local/share/galaxy_viewer"));
    unsetenv("HOME");
    EXPECT_EQ(UserDataFolder(), "");
}
