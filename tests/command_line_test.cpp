// The viewer's command line as a user or a script meets it, with no display: the real
// program, its output, its exit status and the files it writes or leaves alone.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
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

namespace
{
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start))
    {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "the last line is not ended";
    return lines;
}

std::vector<std::string> CsvFields(const std::string &row)
{
    std::vector<std::string> fields(1);
    for (char c : row)
    {
        if (c == ',') fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}
} // namespace

// Catches a catalog line that is not what --system prints for that star (another star, other
// figures, indented), lines missing, doubled or out of order; a CSV row that disagrees with its
// system (place, class, temperature, counts), in a spiral and in a Hubble type; anything on
// stdout or on a stderr that is not a terminal; and a terminal that is shown no progress.
TEST_F(CommandLine, CatalogLineKIsTheSystemOfStarK)
{
    // Row k + 1 of the CSV against the system of star k as JSON.
    const auto expectRowAgrees = [](const std::string &text, const nlohmann::json &system, size_t k) {
        const std::vector<std::string> row = CsvFields(text);
        ASSERT_EQ(row.size(), 9u) << text;
        EXPECT_EQ(row[0], system.at("name")) << text;
        EXPECT_EQ(row[1], std::to_string(k));
        EXPECT_EQ(system.at("star_index"), k);
        const char *axes[3] = {"x", "y", "z"};
        for (int axis = 0; axis < 3; axis++)
            EXPECT_EQ(std::strtof(row[2 + axis].c_str(), nullptr), system.at("position").at(axes[axis]).get<float>())
                << text;
        EXPECT_EQ(row[5], system.at("stars")[0].at("class")) << text;
        EXPECT_EQ(row[6], system.at("stars")[0].at("temperature").dump()) << text;
        EXPECT_EQ(row[7], std::to_string(system.at("planets").size())) << text;
        int zone = 0;
        for (const auto &planet : system.at("planets")) zone += planet.at("in_habitable_zone").get<bool>() ? 1 : 0;
        EXPECT_EQ(row[8], std::to_string(zone)) << text;
    };
    const std::vector<std::vector<std::string>> galaxies = {{"--seed", "4242", "--arms", "1"},
                                                            {"--seed", "7", "--type", "SBb"}};
    for (const std::vector<std::string> &galaxy : galaxies)
    {
        const std::string shown = galaxy[2] + " " + galaxy[3];
        const auto with = [&](std::vector<std::string> args) {
            args.insert(args.begin(), galaxy.begin(), galaxy.end());
            return args;
        };
        // The JSON Lines of the spiral only: its lines are long, and what differs between the
        // models, the stars' places and order and the shape that seeds their systems, the CSV shows.
        const bool lines_too = galaxy[2] == "--arms";
        const RUN_T run =
            Run(with({"--export-systems", folder + "/all.CSV", "--export", folder + "/stars.csv"}), false);
        ASSERT_EQ(run.status, 0) << shown << run.err;
        EXPECT_EQ(run.out + run.err, "") << shown;
        if (lines_too)
        {
            ASSERT_EQ(Run(with({"--export-systems", folder + "/all.jsonl"}), false).status, 0);
        }

        const std::vector<std::string> rows = Lines(FileContents(folder + "/all.CSV"));
        const std::vector<std::string> lines =
            lines_too ? Lines(FileContents(folder + "/all.jsonl")) : std::vector<std::string>();
        const size_t stars = Lines(FileContents(folder + "/stars.csv")).size() - 1;
        ASSERT_GT(stars, 2000u) << shown;
        ASSERT_EQ(rows.size(), stars + 1) << shown;
        EXPECT_EQ(rows[0], "name,index,x,y,z,class,temperature_k,planets,habitable_planets");
        if (lines_too)
        {
            ASSERT_EQ(lines.size(), stars) << shown;
        }
        for (size_t k : {(size_t)0, (size_t)1, stars / 2, stars - 1})
        {
            const RUN_T system = Run(with({"--system", std::to_string(k)}), false);
            ASSERT_EQ(system.status, 0) << shown << system.err;
            if (lines_too)
            {
                EXPECT_EQ(lines[k], nlohmann::ordered_json::parse(system.out).dump()) << "star " << k;
            }
            expectRowAgrees(rows[k + 1], nlohmann::json::parse(system.out), k);
        }
        for (size_t k = 0; k < lines.size(); k++)
            ASSERT_NE(lines[k].find(",\"star_index\":" + std::to_string(k) + ","), std::string::npos) << k;
        // A sample of the lines: each is long, and parsing all of them is slow under the sanitizers.
        int habitable = 0;
        for (size_t k = 0; k < lines.size() && !HasFailure(); k += 37)
        {
            const nlohmann::json line = nlohmann::json::parse(lines[k]);
            expectRowAgrees(rows[k + 1], line, k);
            for (const auto &planet : line.at("planets")) habitable += planet.at("in_habitable_zone").get<bool>();
        }
        if (lines_too)
        {
            EXPECT_GT(habitable, 0) << shown;
        }
    }

    // On a terminal (script gives the viewer one), the progress of both writes.
    const std::string log = folder + "/terminal.log";
    const std::string command = "script -qec \"env -u DISPLAY '" + std::string(GALAXY_VIEWER_PATH) +
                                "' --arms 1 --export '" + folder + "/t.ply' --export-systems '" + folder +
                                "/t.csv'\" '" + log + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string shown = FileContents(log);
    EXPECT_NE(shown.find("\rwriting 2,703 stars\u2026 100%"), std::string::npos) << shown;
    EXPECT_NE(shown.find("writing 2,703 systems\u2026 0%"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\rwriting 2,703 systems\u2026 100%"), std::string::npos) << shown;
}

// Catches a catalog refused after something was written, a refusal that exits 0 or says
// nothing or several lines, a catalog of a galaxy without stars or over a folder, and a flag
// --help leaves out.
TEST_F(CommandLine, BadCatalogExitsTwoAndWritesNothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--export-systems", folder + "/systems.txt", "--export", folder + "/stars.csv"},
        {"--export-systems", folder + "/systems"},
        {"--export-systems", folder + "/missing/systems.jsonl"},
        {"--export-systems", folder + "/.err/systems.csv"},
        {"--export-systems", folder + "/taken.jsonl"},
        {"--arms", "100000", "--export-systems", folder + "/systems.jsonl"},
        {"--type", "SBb", "--size-xz", "-5", "--export-systems", folder + "/systems.jsonl"},
    };
    mkdir((folder + "/taken.jsonl").c_str(), 0755);
    for (const std::vector<std::string> &args : bad)
    {
        const RUN_T run = Run(args, false);
        EXPECT_EQ(run.status, 2) << args[1] << run.err;
        EXPECT_TRUE(run.out.empty()) << args[1];
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << args[1] << " not one line: " << run.err;
        EXPECT_EQ(run.err.rfind("galaxy_viewer: ", 0), 0u) << run.err;
    }
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{".err", ".out", "taken.jsonl"}));
    EXPECT_NE(Run(bad[0], false).err.find("unknown catalog format \".txt\""), std::string::npos);
    EXPECT_NE(Run(bad[5], false).err.find("arms 100000 is out of range"), std::string::npos);
    EXPECT_NE(Run(bad[4], false).err.find("Is a directory"), std::string::npos);
    EXPECT_NE(Run({"--help"}, false).out.find("--export-systems"), std::string::npos);
}
