// The viewer's command line as a user or a script meets it, with no display: the real
// program, its output, its exit status and the files it writes or leaves alone.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <nlohmann/json.hpp>

#include "files/star_export.h"
#include "files/system_json.h"
#include "galaxy/galaxy.h"
#include "galaxy/galaxy_code.h"
#include "galaxy/hubble_types.h"
#include "galaxy/star_system_on_demand.h"
#include "scene/viewer_pose.h"
#include "tests/support/temp_folder.h"

namespace
{
struct RUN_T
{
    int status = -1;
    std::string out, err;
};

const std::vector<std::string> NINE_FLAGS = {"--seed", "4242", "--arms", "5", "--curvature", "13",
                                             "--inner-radius", "-60", "--bulge-size", "40", "--bulge-offset0",
                                             "70", "--bulge-offset1", "20", "--size-y", "63", "--size-xz",
                                             "252"};

class CommandLine : public ::testing::Test
{
  protected:
    // The viewer with NINE_FLAGS (unless told otherwise) and these arguments, with no display.
    RUN_T Run(const std::vector<std::string> &args, bool nine_flags = true) const
    {
        std::string command = "env -u DISPLAY '" + std::string(GALAXY_VIEWER_PATH) + "'";
        if (nine_flags)
            for (const std::string &arg : NINE_FLAGS) command += " " + arg;
        for (const std::string &arg : args) command += " '" + arg + "'";
        command += " >'" + folder + "/.out' 2>'" + folder + "/.err'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileContents(folder + "/.out"),
                FileContents(folder + "/.err")};
    }
    std::string Code(const std::vector<std::string> &args, bool nine_flags = true) const
    {
        std::string out = Run(args, nine_flags).out;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
        return out;
    }

    TEMP_FOLDER_T temp;
    const std::string &folder = temp.path;
};
} // namespace

// Catches a code that does not carry every value (density included), an export that differs
// from the library's stars (order, precision, stars lost at the box; star_export_test holds
// that text to the very floats and the PLY header to the star count), and a density that
// does not multiply the stars or, at 1, changes the galaxy; a Hubble type whose preset or
// given values do not reach its code.
TEST_F(CommandLine, CodeRoundTripsAndExportsHoldTheLibrarysStars)
{
    const std::string code = Code({"--print-code"});
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.find('\n'), std::string::npos) << "one line";
    EXPECT_EQ(Code({"--code", code, "--print-code"}, false), code);

    const std::string csv = folder + "/stars.csv", ply = folder + "/stars.PLY", single = folder + "/1.PLY";
    ASSERT_EQ(Run({"--code", code, "--export", csv}, false).status, 0);
    ASSERT_EQ(Run({"--export", ply}).status, 0);
    ASSERT_EQ(Run({"--density", "1", "--export", single}).status, 0);
    GALAXY_SHAPE_T shape = MakeGalaxyShape(5, 13, -60, 70, 20, 40, 63, 252);
    shape.seed = 4242;
    GALAXY galaxy(VIEWER_GALAXY_EXTENT);
    GenerateGalaxy(&galaxy, shape);
    ASSERT_GT(galaxy.field.star_list.Count(), 10000u);
    EXPECT_EQ(FileContents(csv), StarFieldCsv(galaxy.field));
    EXPECT_EQ(FileContents(ply), StarFieldPly(galaxy.field));
    EXPECT_EQ(FileContents(single), FileContents(ply));

    // 40 at three arms is forty times as many stars.
    const std::string dense = folder + "/dense.ply";
    ASSERT_EQ(Run({"--density", "40", "--arms", "3", "--export", dense}, false).status, 0);
    EXPECT_NE(FileContents(dense).find("element vertex 324360\n"), std::string::npos);
    const std::string dense_code = Code({"--density", "40", "--print-code"});
    EXPECT_EQ(dense_code.rfind("GX2-", 0), 0u) << dense_code;
    EXPECT_EQ(Code({"--code", dense_code, "--print-code"}, false), dense_code);

    // A Hubble type: its preset, under the values given, travels in its code.
    const std::string typed = Code({"--type", "SBb", "--pitch", "17", "--arms", "3", "--print-code"}, false);
    GALAXY_SHAPE_T hubble = {};
    const char *why = nullptr;
    ASSERT_TRUE(DecodeGalaxyCode(typed.c_str(), &hubble, &why)) << typed << ": " << why;
    GALAXY_SHAPE_T defaults = {};
    ASSERT_TRUE(DecodeGalaxyCode(Code({"--print-code"}, false).c_str(), &defaults, &why));
    GALAXY_SHAPE_T expected = ApplyHubblePreset(defaults, HubbleModelByName("SBb"));
    expected.pitch = 17;
    expected.arms = 3;
    EXPECT_EQ(hubble, expected);
}

// Catches bad input that runs anyway, crashes, exits 0, says nothing or several lines, or
// touches a file (a galaxy with no stars, exported or asked for a system, among it); a missing display that crashes instead of saying so; and --help or
// --version that fail or say nothing useful.
TEST_F(CommandLine, BadInputExitsTwoWithOneLineAndChangesNoFile)
{
    const std::string code = Code({"--print-code"});
    ASSERT_GT(code.size(), 6u);
    const std::string kept = folder + "/kept.csv";
    PutFile(kept, "precious\n");
    std::vector<std::vector<std::string>> bad = {
        {"--arms", "banana"},   {"--frobnicate"},      {"--seed", "-5"},
        {"--seed", "2147483648"}, {"--debug", "maybe"}, {"--density", "0"},
        {"--density", "41"},    {"--export", folder + "/missing/stars.csv"},
        {"--export", folder + "/stars.txt"}, {"--arms", "100000"}, {"--size-xz", "-5"},
        {"--arms", "0", "--system", "0"}, {"--type", "Sx"}, {"--pitch", "12"},
        {"--system", "-1"},
    };
    // A link to a star the galaxy does not have, or no star number at all.
    bad.push_back({"--code", code + "#999999"});
    bad.push_back({"--code", code + "#x"});
    // Every single-character change in the code's last part is refused.
    for (size_t i = code.size() - 6; i < code.size(); i++)
    {
        std::string mistyped = code;
        mistyped[i] = (mistyped[i] == 'Q') ? 'R' : 'Q';
        bad.push_back({"--code", mistyped});
    }
    for (std::vector<std::string> &args : bad)
    {
        if (args[0] != "--export") args.insert(args.end(), {"--export", kept});
        const RUN_T run = Run(args, false);
        const std::string shown = args[0] + " " + args[1];
        EXPECT_EQ(run.status, 2) << shown << run.err;
        EXPECT_TRUE(run.out.empty()) << shown << run.out;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << shown << " not one line: " << run.err;
        EXPECT_GT(run.err.size(), 1u) << shown;
    }
    EXPECT_EQ(FileContents(kept), "precious\n");
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{".err", ".out", "kept.csv"}));
    EXPECT_NE(Run({"--system", "-1"}, false).err.find("never negative"), std::string::npos);
    const RUN_T empty = Run({"--arms", "100000", "--system", "0"}, false);
    EXPECT_NE(empty.err.find("arms 100000 is out of range"), std::string::npos) << empty.err;

    const RUN_T windowless = Run({"--code", code}, false);
    EXPECT_NE(windowless.status, 0);
    EXPECT_LT(windowless.status, 128) << "died from a signal";
    EXPECT_NE(windowless.err.find("window"), std::string::npos) << windowless.err;
    const RUN_T help = Run({"--help"}, false), version = Run({"--version"}, false);
    EXPECT_EQ(help.status + version.status, 0);
    for (const char *flag : {"--code", "--print-code", "--export", "--view", "--debug", "--size-xz", "--version"})
        EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
    EXPECT_EQ(version.out.rfind("galaxy_viewer ", 0), 0u);
}

// Catches a system that is not valid JSON, changes between runs, is the same for every star,
// has the unseeded name, no planets anywhere, moves the galaxy's stars, or is made for a star
// the galaxy does not have; a --find that misses a star by its name in another case, or that
// finds nothing yet exits 0.
TEST_F(CommandLine, SystemOfAStarIsStableJsonAndLeavesTheGalaxyAlone)
{
    std::vector<std::string> texts;
    int planets = 0;
    for (const char *index : {"0", "1", "7000"})
    {
        const RUN_T run = Run({"--system", index});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Run({"--system", index}).out, run.out) << "not the same on a second run";
        const nlohmann::json system = nlohmann::json::parse(run.out); // throws on invalid JSON
        const std::string name = system.at("name");
        EXPECT_GE(name.size(), 3u);
        EXPECT_NE(name.substr(1), std::string(name.size() - 1, 'a')) << "the unseeded name";
        EXPECT_TRUE(system.at("position").contains("x"));
        for (const auto &star : system.at("stars"))
            EXPECT_TRUE(star.at("class").is_string() && star.at("temperature").get<double>() > 0.0) << star;
        for (const auto &planet : system.at("planets"))
            EXPECT_TRUE(planet.at("moons").is_array() && planet.at("atmosphere").is_array()) << planet;
        planets += (int)system.at("planets").size();
        // --find with the name, in other case, lists that star.
        std::string shouted = name;
        for (char &c : shouted) c = (char)std::toupper((unsigned char)c);
        const RUN_T found = Run({"--find", shouted});
        EXPECT_EQ(found.status, 0) << found.err;
        EXPECT_NE(("\n" + found.out).find("\n" + std::string(index) + "\t" + name + "\n"), std::string::npos)
            << found.out;
        for (const std::string &other : texts) EXPECT_NE(other, run.out) << "two stars, one system";
        texts.push_back(run.out);
    }
    EXPECT_GT(planets, 0);

    const std::string alone = folder + "/alone.csv", with = folder + "/with.csv";
    ASSERT_EQ(Run({"--export", alone}).status, 0);
    ASSERT_EQ(Run({"--system", "3", "--export", with}).status, 0);
    EXPECT_EQ(FileContents(alone), FileContents(with));
    const RUN_T none = Run({"--find", "qqqzz"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.empty());
    EXPECT_NE(none.err.find("qqqzz"), std::string::npos) << none.err;
    const RUN_T past = Run({"--system", "999999"});
    EXPECT_EQ(past.status, 2);
    EXPECT_TRUE(past.out.empty());
    EXPECT_NE(past.err.find("999999"), std::string::npos) << past.err;
}

// Catches --system printing the pair's figure from its generation record (star 14 of seed 5:
// "4.7 years" for two stars 140 AU apart), one star of a pair given another period than the
// other, and a record whose own figure was changed along with what is printed.
TEST_F(CommandLine, SystemPrintsAPairsPeriodByKeplersLaw)
{
    const RUN_T run = Run({"--seed", "5", "--system", "14"}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json printed = nlohmann::json::parse(run.out);
    ASSERT_EQ(printed.at("stars").size(), 2u);
    for (const auto &star : printed.at("stars")) EXPECT_NEAR(star.at("orbit_period_years").get<double>(), 1156.4, 0.1);

    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252); // the command line's defaults
    shape.seed = 5;
    {
        STAR_SYSTEM_T record;
        GenerateStarSystem(shape, 14, Vector3{}, &record);
        EXPECT_NEAR(record.system.stars[0].orbit_period, 4.6649, 1e-4) << "the generation record changed";
    }
    // Kepler's law, P^2 (m0 + m1) = a^3, from the printed figures of every pair among many stars.
    int pairs = 0;
    for (uint64_t index = 0; index < 300; index++)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(shape, index, Vector3{}, &system);
        const nlohmann::json stars = nlohmann::json::parse(StarSystemJson(system)).at("stars");
        if (stars.size() != 2) continue;
        pairs += 1;
        const double period = stars[0].at("orbit_period_years");
        const double mass = stars[0].at("mass_solar").get<double>() + stars[1].at("mass_solar").get<double>();
        const double separation =
            std::fabs(stars[0].at("orbit_au").get<double>()) + std::fabs(stars[1].at("orbit_au").get<double>());
        EXPECT_NEAR(period * period * mass / (separation * separation * separation), 1.0, 1e-9) << "star " << index;
        EXPECT_EQ(stars[1].at("orbit_period_years"), stars[0].at("orbit_period_years")) << "star " << index;
    }
    EXPECT_GE(pairs, 20);
}
