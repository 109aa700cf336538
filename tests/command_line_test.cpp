// The viewer's command line as a user or a script meets it, with no display: the real
// program, its output, its exit status and the files it writes or leaves alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <nlohmann/json.hpp>

#include "files/star_export.h"
#include "galaxy/galaxy.h"
#include "scene/viewer_pose.h"
#include "tests/support/temp_folder.h"

namespace
{
struct RUN_T
{
    int status = -1;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test
{
  protected:
    // The viewer with these arguments (single-quoted for the shell) and no display.
    RUN_T Run(const std::vector<std::string> &args) const
    {
        std::string command = "env -u DISPLAY '" + std::string(GALAXY_VIEWER_PATH) + "'";
        for (const std::string &arg : args) command += " '" + arg + "'";
        command += " >'" + folder + "/.out' 2>'" + folder + "/.err'";
        RUN_T run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = FileContents(folder + "/.out");
        run.err = FileContents(folder + "/.err");
        return run;
    }

    TEMP_FOLDER_T temp;
    const std::string &folder = temp.path;
};

const std::vector<std::string> NINE_FLAGS = {"--seed", "4242", "--arms", "5", "--curvature", "13",
                                             "--inner-radius", "-60", "--bulge-size", "40", "--bulge-offset0",
                                             "70", "--bulge-offset1", "20", "--size-y", "63", "--size-xz",
                                             "252"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string> &more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}
} // namespace

// Catches a code that does not carry every value, an export that differs from the library's
// stars (order, precision, stars lost at the box), and a PLY header that lies about its size.
TEST_F(CommandLine, CodeRoundTripsAndExportsHoldTheLibrarysStars)
{
    const RUN_T printed = Run(With(NINE_FLAGS, {"--print-code"}));
    ASSERT_EQ(printed.status, 0) << printed.err;
    const std::string code = Trimmed(printed.out);
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.find('\n'), std::string::npos) << "one line";
    const RUN_T again = Run({"--code", code, "--print-code"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Trimmed(again.out), code);

    const std::string csv = folder + "/stars.csv";
    const std::string ply = folder + "/stars.PLY";
    ASSERT_EQ(Run({"--code", code, "--export", csv}).status, 0);
    ASSERT_EQ(Run(With(NINE_FLAGS, {"--export", ply})).status, 0);

    GALAXY_SHAPE_T shape = MakeGalaxyShape(5, 13, -60, 70, 20, 40, 63, 252);
    shape.seed = 4242;
    GALAXY galaxy(VIEWER_GALAXY_EXTENT);
    GenerateGalaxy(&galaxy, shape);
    const uint64_t count = galaxy.star_list.Count();
    ASSERT_GT(count, 10000u);

    // Byte for byte what the library writes for those stars; that text reads back to the very
    // floats in creation order (star_export_test).
    EXPECT_EQ(FileContents(csv), StarFieldCsv(galaxy));
    EXPECT_EQ(FileContents(ply), StarFieldPly(galaxy));
    EXPECT_NE(FileContents(ply).find("element vertex " + std::to_string(count) + "\n"), std::string::npos);

    // Density 1 is the galaxy without the flag; 40 at three arms is forty times as many stars,
    // and its code carries the density.
    const std::string single = folder + "/single.PLY", dense = folder + "/dense.ply";
    ASSERT_EQ(Run(With(NINE_FLAGS, {"--density", "1", "--export", single})).status, 0);
    EXPECT_EQ(FileContents(single), FileContents(ply));
    ASSERT_EQ(Run({"--density", "40", "--arms", "3", "--export", dense}).status, 0);
    EXPECT_NE(FileContents(dense).find("element vertex 324360\n"), std::string::npos);
    const std::string dense_code = Trimmed(Run(With(NINE_FLAGS, {"--density", "40", "--print-code"})).out);
    EXPECT_EQ(dense_code.rfind("GX2-", 0), 0u) << dense_code;
    EXPECT_EQ(Trimmed(Run({"--code", dense_code, "--print-code"}).out), dense_code);
}

// Catches bad input that runs anyway, crashes, exits 0, says nothing or several lines, or
// touches a file; and a missing display that crashes instead of saying so.
TEST_F(CommandLine, BadInputExitsTwoWithOneLineAndChangesNoFile)
{
    const std::string code = Trimmed(Run(With(NINE_FLAGS, {"--print-code"})).out);
    ASSERT_GT(code.size(), 6u);
    const std::string kept = folder + "/kept.csv";
    PutFile(kept, "precious\n");

    std::vector<std::vector<std::string>> bad = {
        {"--arms", "banana", "--export", kept},
        {"--frobnicate", "--export", kept},
        {"--seed", "-5", "--export", kept},
        {"--seed", "2147483648", "--export", kept},
        {"--debug", "maybe"},
        {"--density", "0", "--export", kept},
        {"--density", "41", "--export", kept},
        {"--export", folder + "/missing/stars.csv"},
        {"--export", folder + "/stars.txt"},
    };
    // Every single-character change in the code's last part is refused.
    for (size_t i = code.size() - 6; i < code.size(); i++)
    {
        std::string mistyped = code;
        mistyped[i] = (mistyped[i] == 'Q') ? 'R' : 'Q';
        bad.push_back({"--code", mistyped, "--export", kept});
    }
    for (const std::vector<std::string> &args : bad)
    {
        const RUN_T run = Run(args);
        std::string shown;
        for (const std::string &arg : args) shown += arg + " ";
        EXPECT_EQ(run.status, 2) << shown << run.err;
        EXPECT_TRUE(run.out.empty()) << shown << run.out;
        EXPECT_FALSE(run.err.empty()) << shown;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << shown << "not one line: " << run.err;
    }
    EXPECT_EQ(FileContents(kept), "precious\n");
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{".err", ".out", "kept.csv"}));

    const RUN_T windowless = Run({"--code", code});
    EXPECT_NE(windowless.status, 0);
    EXPECT_LT(windowless.status, 128) << "died from a signal";
    EXPECT_NE(windowless.err.find("window"), std::string::npos) << windowless.err;

    const RUN_T help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char *flag : {"--code", "--print-code", "--export", "--view", "--debug", "--size-xz", "--version"})
        EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
    const RUN_T version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("galaxy_viewer ", 0), 0u);
}

// Catches a system that is not valid JSON, changes between runs, is the same for every star,
// has the unseeded name, no planets anywhere, moves the galaxy's stars, or is made for a star
// the galaxy does not have.
TEST_F(CommandLine, SystemOfAStarIsStableJsonAndLeavesTheGalaxyAlone)
{
    std::vector<std::string> texts;
    int planets = 0;
    for (const char *index : {"0", "1", "7000"})
    {
        const RUN_T run = Run(With(NINE_FLAGS, {"--system", index}));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Run(With(NINE_FLAGS, {"--system", index})).out, run.out) << "not the same on a second run";
        const nlohmann::json system = nlohmann::json::parse(run.out); // throws on invalid JSON
        const std::string name = system.at("name");
        EXPECT_GE(name.size(), 3u);
        EXPECT_NE(name.substr(1), std::string(name.size() - 1, 'a')) << "the unseeded name";
        EXPECT_TRUE(system.at("position").contains("x"));
        for (const auto &star : system.at("stars"))
        {
            EXPECT_TRUE(star.at("class").is_string());
            EXPECT_GT(star.at("temperature").get<double>(), 0.0);
        }
        for (const auto &planet : system.at("planets"))
        {
            EXPECT_TRUE(planet.at("moons").is_array());
            EXPECT_TRUE(planet.at("atmosphere").is_array());
            planets++;
        }
        for (const std::string &other : texts) EXPECT_NE(other, run.out) << "two stars, one system";
        texts.push_back(run.out);
    }
    EXPECT_GT(planets, 0);

    const std::string alone = folder + "/alone.csv", with = folder + "/with.csv";
    ASSERT_EQ(Run(With(NINE_FLAGS, {"--export", alone})).status, 0);
    ASSERT_EQ(Run(With(NINE_FLAGS, {"--system", "3", "--export", with})).status, 0);
    EXPECT_EQ(FileContents(alone), FileContents(with));

    const RUN_T past = Run(With(NINE_FLAGS, {"--system", "999999"}));
    EXPECT_EQ(past.status, 2);
    EXPECT_TRUE(past.out.empty());
    EXPECT_NE(past.err.find("999999"), std::string::npos) << past.err;
}
