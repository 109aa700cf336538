// Writing the user's files: complete replacement or none at all, names that are never taken
// twice even by racing threads, and the user's folders as the environment decides them.
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

// Catches a write that appends, stops at a NUL byte or leaves its temporary behind, and a
// failed write that truncates the old file, reports success or does not say what and why.
// The file size limit makes the write itself fail halfway, as a full disk would.
TEST(AtomicWrite, ReplacesWhollyOrNotAtAll)
{
    TEMP_FOLDER_T folder;
    const std::string target = folder.Path("stars.csv");
    const std::string binary("first\0version, longer\n", 22);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target.c_str(), binary, &error)) << error;
    EXPECT_EQ(FileContents(target), binary);
    ASSERT_TRUE(WriteFileAtomically(target.c_str(), "old", &error)) << error;
    {
        FILE_SIZE_LIMIT_T limit(4096);
        EXPECT_FALSE(WriteFileAtomically(target.c_str(), std::string(100000, 'n'), &error));
    }
    EXPECT_EQ(error, "cannot write " + target + ": File too large");
    PutFile(folder.Path("plain_file"), "x");
    mkdir(folder.Path("a_folder").c_str(), 0755);
    EXPECT_FALSE(WriteFileAtomically(folder.Path("a_folder").c_str(), "x", &error));
    EXPECT_EQ(error, "cannot write " + folder.Path("a_folder") + ": Is a directory");
    EXPECT_FALSE(WriteFileAtomically(folder.Path("plain_file/stars.csv").c_str(), "x", &error));
    EXPECT_EQ(FileContents(target), "old");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a_folder", "plain_file", "stars.csv"}));
}

// Catches an overwritten file, numbering that skips or repeats, and two threads handed the
// same name in a race.
TEST(AtomicWrite, ReservedNamesAreNeverTakenTwice)
{
    TEMP_FOLDER_T folder;
    PutFile(folder.Path("shot.png"), "keep");
    PutFile(folder.Path("shot-3.png"), "keep");
    std::string first, second, error;
    ASSERT_TRUE(ReserveUniquePath(folder.path.c_str(), "shot", "png", &first, &error)) << error;
    ASSERT_TRUE(ReserveUniquePath(folder.path.c_str(), "shot", ".png", &second, &error)) << error;
    EXPECT_EQ(first + " " + second, folder.Path("shot-2.png") + " " + folder.Path("shot-4.png"));
    EXPECT_EQ(FileContents(folder.Path("shot.png")) + FileContents(folder.Path("shot-3.png")), "keepkeep");
    EXPECT_FALSE(ReserveUniquePath(folder.Path("missing").c_str(), "shot", "png", &first, &error));
    EXPECT_EQ(error, "cannot create " + folder.Path("missing/shot.png") + ": No such file or directory");

    std::vector<std::vector<std::string>> taken(4);
    std::vector<std::thread> threads;
    for (auto &mine : taken)
        threads.emplace_back(
            [&folder, &mine]
            {
                std::string got, why;
                for (int i = 0; i < 25; i++)
                    if (ReserveUniquePath(folder.path.c_str(), "race", "csv", &got, &why))
                        mine.push_back(got);
            });
    for (std::thread &thread : threads)
        thread.join();
    std::set<std::string> distinct;
    for (const auto &mine : taken)
        distinct.insert(mine.begin(), mine.end());
    EXPECT_EQ(distinct.size(), 100u);
    EXPECT_TRUE(distinct.count(folder.Path("race.csv")) && distinct.count(folder.Path("race-100.csv")));
}

// Catches a relative XDG value being used (files landing wherever the program started), the
// wrong fallback order, and a Pictures folder assumed to exist.
TEST(UserFolders, FollowTheEnvironment)
{
    TEMP_FOLDER_T home;
    const std::string old_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path.c_str(), 1);
    setenv("XDG_DATA_HOME", "/data/home", 1);
    setenv("XDG_PICTURES_DIR", "relative/pictures", 1);
    EXPECT_EQ(UserDataFolder(), "/data/home/galaxy_viewer");
    EXPECT_EQ(UserPicturesFolder(), "/data/home/galaxy_viewer"); // no Pictures folder yet
    mkdir(home.Path("Pictures").c_str(), 0755);
    EXPECT_EQ(UserPicturesFolder(), home.Path("Pictures"));
    setenv("XDG_PICTURES_DIR", "/shots", 1);
    EXPECT_EQ(UserPicturesFolder(), "/shots");
    setenv("XDG_DATA_HOME", "data", 1);
    EXPECT_EQ(UserDataFolder(), home.Path(".local/share/galaxy_viewer"));
    unsetenv("HOME");
    EXPECT_EQ(UserDataFolder(), "");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_PICTURES_DIR");
    setenv("HOME", old_home.c_str(), 1);
}
