// Parsing the viewer's flags with CLI11, and the actions that need no window.
#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include "app/progress_line.h"
#include "files/star_export.h"
#include "files/system_catalog.h"
#include "files/system_json.h"
#include "galaxy/galaxy.h"
#include "galaxy/galaxy_code.h"
#include "galaxy/hubble_types.h"
#include "galaxy/star_names.h"
#include "scene/viewer_pose.h"

GALAXY_SHAPE_T DefaultCommandLineShape(void)
{
    return DefaultGalaxyShape();
}

namespace
{
// CLI11's messages may span lines; the user gets one.
std::string OneLine(std::string text)
{
    for (char &c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

struct GALAXY_FLAG_T
{
    const char *name;
    const char *help;
    int32_t GALAXY_SHAPE_T::*field;
};

// Flag names follow the panel's labels.
constexpr GALAXY_FLAG_T GALAXY_FLAGS[] = {
    {"--arms", "number of spiral arms", &GALAXY_SHAPE_T::arms},
    {"--curvature", "arm curvature", &GALAXY_SHAPE_T::curvature},
    {"--inner-radius", "inner radius", &GALAXY_SHAPE_T::inner_radius},
    {"--bulge-size", "bulge size", &GALAXY_SHAPE_T::bulge_size},
    {"--bulge-offset0", "first bulge offset", &GALAXY_SHAPE_T::bulge_offset0},
    {"--bulge-offset1", "second bulge offset", &GALAXY_SHAPE_T::bulge_offset1},
    {"--size-y", "disc thickness, world units", &GALAXY_SHAPE_T::size_y},
    {"--size-xz", "disc radius, world units", &GALAXY_SHAPE_T::size_xz},
};

// The second model's own values: each starts from the --type's preset and needs a --type.
constexpr GALAXY_FLAG_T HUBBLE_FLAGS[] = {
    {"--pitch", "the arms' pitch angle, degrees, 5 to 40", &GALAXY_SHAPE_T::pitch},
    {"--bulge-share", "bulge-to-total ratio, percent, 0 to 100", &GALAXY_SHAPE_T::bulge_share},
    {"--bar-length", "the bar's half length, percent of the disc radius, 0 to 60", &GALAXY_SHAPE_T::bar_length},
    {"--arm-width", "an arm's spread, percent of the angle between arms, 2 to 40", &GALAXY_SHAPE_T::arm_width},
    {"--arm-contrast", "share of disc stars in the arms, percent, 0 to 100", &GALAXY_SHAPE_T::arm_contrast},
};

std::vector<std::string> HubbleTypeNames(void)
{
    std::vector<std::string> names;
    for (int32_t k = 0; k < HUBBLE_TYPE_COUNT; k++) names.push_back(HUBBLE_TYPES[k].name);
    return names;
}

// A --type's preset under the values the command line gave explicitly.
GALAXY_SHAPE_T MergeHubbleFlags(const GALAXY_SHAPE_T &given, int32_t model, bool arms_given,
                                const std::vector<CLI::Option *> &hubbleOptions)
{
    GALAXY_SHAPE_T merged = ApplyHubblePreset(given, model);
    if (arms_given) merged.arms = given.arms;
    for (size_t k = 0; k < hubbleOptions.size(); k++)
        if (hubbleOptions[k]->count() > 0) merged.*HUBBLE_FLAGS[k].field = given.*HUBBLE_FLAGS[k].field;
    return merged;
}
} // namespace

COMMAND_LINE_T ParseCommandLine(int argc, const char *const *argv)
{
    COMMAND_LINE_T result;
    VIEWER_OPTIONS_T &options = result.options;
    const GALAXY_SHAPE_T defaults = DefaultCommandLineShape();
    GALAXY_SHAPE_T shape = defaults;

    CLI::App app{"Interactive viewer of a procedurally generated spiral galaxy. Without options it opens on the "
                 "main menu with a random galaxy.",
                 VIEWER_PROGRAM_NAME};
    app.set_version_flag("--version", std::string(VIEWER_PROGRAM_NAME) + " " + VIEWER_VERSION);

    std::vector<CLI::Option *> galaxyOptions;
    // The seed box holds 0 to 2^31 - 1 (it reads larger seeds as negative and sets them to 0),
    // so a larger seed would open another galaxy on the panel than it exports.
    galaxyOptions.push_back(app.add_option("--seed", shape.seed, "seed of the random stream, 0 to 2147483647 (default 1)")
                                ->check(CLI::Range(0u, 2147483647u)));
    for (const GALAXY_FLAG_T &flag : GALAXY_FLAGS)
    {
        galaxyOptions.push_back(app.add_option(flag.name, shape.*flag.field,
                                               std::string(flag.help) + " (default " +
                                                   std::to_string(defaults.*flag.field) + ")"));
    }
    // Unlike the values above, which are used as given, the density is held to the slider's
    // range: the count of stars grows with it, and outside it there are none.
    galaxyOptions.push_back(app.add_option("--density", shape.density,
                                           "stars at every spiral point, 1 to " +
                                               std::to_string(GALAXY_MAX_DENSITY) + " (default 1)")
                                ->check(CLI::Range(1, GALAXY_MAX_DENSITY)));
    std::string type;
    std::string typeHelp = "a galaxy of a Hubble type instead of the classic spiral:";
    for (const std::string &name : HubbleTypeNames()) typeHelp += " " + name;
    CLI::Option *typeOption = app.add_option("--type", type, typeHelp)->check(CLI::IsMember(HubbleTypeNames()));
    galaxyOptions.push_back(typeOption);
    std::vector<CLI::Option *> hubbleOptions;
    for (const GALAXY_FLAG_T &flag : HUBBLE_FLAGS)
    {
        hubbleOptions.push_back(
            app.add_option(flag.name, shape.*flag.field, std::string(flag.help) + " (default: the --type's)")
                ->needs(typeOption));
        galaxyOptions.push_back(hubbleOptions.back());
    }
    std::string code;
    CLI::Option *codeOption = app.add_option(
        "--code", code, "the galaxy of a galaxy code (instead of the values); a star link CODE#N opens it at star N");
    for (CLI::Option *option : galaxyOptions) codeOption->excludes(option);

    app.add_flag("--print-code", options.print_code, "print the galaxy's code and exit (no window)");
    app.add_option("--export", options.export_path,
                   "write the galaxy's stars to FILE (.csv or .ply) and exit (no window)");
    app.add_option("--export-systems", options.catalog_path,
                   "write every star's system to FILE and exit (no window): .jsonl, one --system object a "
                   "line, or .csv, one summary row a system");
    CLI::Option *systemOption = app.add_option(
        "--system", options.system_index, "print the star system of star N (0 is the first) as JSON and exit (no window)");
    // An unsigned option would read -1 as the largest star number there is.
    const CLI::Validator starNumber(
        [](std::string &text) {
            const size_t at = text.find_first_not_of(" \t");
            return (at != std::string::npos && text[at] == '-') ? "a star number is never negative: " + text
                                                                 : std::string();
        },
        "N >= 0");
    systemOption->check(starNumber);
    app.add_option("--find", options.find_text,
                   "print index<TAB>name of every star whose system's name contains TEXT (any case), best "
                   "match first, and exit (no window); status 1 when none does")
        ->check(CLI::Validator([](std::string &text) { return text.empty() ? "the text is empty" : ""; }, "TEXT"));
    CLI::Option *viewOption = app.add_flag("--view", options.start_in_view, "start in the view, without menu or panel");
    uint64_t visitStar = 0;
    CLI::Option *starOption =
        app.add_option("--star", visitStar, "with --view: start in the system view of star N, its card open")
            ->needs(viewOption)
            ->check(starNumber);
    app.add_option("--profile", options.profile_frames,
                   "open the view, measure N frames after a warm-up, print one line per stage "
                   "(stage <name> median_ms <v> p95_ms <v>) and exit")
        ->check(CLI::Range(1, 1000000));
    app.add_flag("--unbatched", options.unbatched,
                 "draw cell by cell and each star as its own cube, the slow way, to compare with --profile");
    std::string debug = "on";
    app.add_option("--debug", debug, "the view's DEBUG state at start: on or off (default on)")
        ->check(CLI::IsMember({"on", "off"}));

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp &)
    {
        result.output = app.help();
        result.exit_status = 0;
        return result;
    }
    catch (const CLI::CallForVersion &)
    {
        result.output = std::string(VIEWER_PROGRAM_NAME) + " " + VIEWER_VERSION + "\n";
        result.exit_status = 0;
        return result;
    }
    catch (const CLI::ParseError &e)
    {
        result.error = std::string(VIEWER_PROGRAM_NAME) + ": " + OneLine(e.what()) + " (see --help)\n";
        result.exit_status = 2;
        return result;
    }

    if (typeOption->count() > 0)
        shape = MergeHubbleFlags(shape, HubbleModelByName(type.c_str()), galaxyOptions[1]->count() > 0, hubbleOptions);
    options.debug = debug == "on";
    options.print_system = systemOption->count() > 0;
    if (codeOption->count() > 0)
    {
        const char *why = "";
        if (!DecodeStarLink(code.c_str(), &shape, &options.link_given, &options.link_star, &why))
        {
            result.error = std::string(VIEWER_PROGRAM_NAME) + ": --code " + code + ": " + why + "\n";
            result.exit_status = 2;
            return result;
        }
        options.shape_given = true;
    }
    for (CLI::Option *option : galaxyOptions)
    {
        if (option->count() > 0) options.shape_given = true;
    }
    if (starOption->count() > 0)
    {
        options.link_given = true;
        options.link_star = visitStar;
        options.visit_star = true;
    }
    options.shape = shape;
    return result;
}

int RunWithoutWindow(const VIEWER_OPTIONS_T &options, std::string *out, std::string *err)
{
    if (!options.print_system && options.export_path.empty() && options.catalog_path.empty() &&
        options.find_text.empty() && !options.link_given)
    {
        if (options.print_code) *out += std::string(EncodeGalaxyCode(options.shape).text) + "\n";
        return 0;
    }
    // Before anything is made or written: a catalog refused only after the star export was
    // written would leave half of what was asked for.
    const std::string refused =
        options.catalog_path.empty() ? "" : SystemCatalogFormatProblem(options.catalog_path.c_str());
    if (!refused.empty())
    {
        *err += std::string(VIEWER_PROGRAM_NAME) + ": " + refused + "\n";
        return 2;
    }

    PROGRESS_LINE_T progress = MakeProgressLine();
    const bool writes = !options.export_path.empty() || !options.catalog_path.empty();
    if (writes) ShowProgressStep(&progress, "making the galaxy");
    GALAXY galaxy(VIEWER_GALAXY_EXTENT);
    GenerateGalaxy(&galaxy, options.shape);
    if (writes) ClearProgressLine(&progress);
    const STAR_FIELD_T &field = galaxy.field;
    const uint64_t stars = field.star_list.Count();
    if (stars == 0)
    {
        // A header with no rows, or a system of no star, would pass for a galaxy that exists.
        *err += std::string(VIEWER_PROGRAM_NAME) + ": the galaxy has no stars: " + field.failure + "\n";
        return 2;
    }
    if (options.link_given && options.link_star >= stars)
    {
        *err += std::string(VIEWER_PROGRAM_NAME) + ": --code ...#" + std::to_string(options.link_star) +
                ": the galaxy has no such star (" + std::to_string(stars) + " stars, numbered 0 to " +
                std::to_string(stars - 1) + ")\n";
        return 2;
    }
    if (options.print_system && options.system_index >= stars)
    {
        *err += std::string(VIEWER_PROGRAM_NAME) + ": --system " + std::to_string(options.system_index) +
                ": the galaxy has " + std::to_string(stars) + " stars, numbered 0 to " + std::to_string(stars - 1) +
                "\n";
        return 2;
    }
    if (options.print_code) *out += std::string(EncodeGalaxyCode(options.shape).text) + "\n";
    if (options.print_system)
    {
        STAR_SYSTEM_T system;
        const Vector3 position = ((const IOBJECT_T *)field.star_list.Get(options.system_index))->position;
        GenerateStarSystem(options.shape, options.system_index, position, &system);
        *out += StarSystemJson(system);
    }
    if (!options.find_text.empty())
    {
        STAR_NAME_INDEX_T names;
        BuildStarNameIndex(options.shape, stars, 0, &names);
        const std::vector<uint32_t> found = FindStarNames(names, options.find_text, names.Count());
        for (uint32_t star : found) *out += std::to_string(star) + "\t" + names.Name(star) + "\n";
        if (found.empty())
        {
            *err += std::string(VIEWER_PROGRAM_NAME) + ": no star's name contains \"" + options.find_text + "\"\n";
            return 1;
        }
    }

    std::string why;
    if (!options.export_path.empty())
    {
        const std::string what = "writing " + GroupedCount(stars) + " stars";
        const bool wrote = ExportStarField(field, options.export_path.c_str(), &why, [&](uint64_t done, uint64_t total) {
            ShowProgress(&progress, what, done, total);
        });
        EndProgressLine(&progress);
        if (!wrote)
        {
            *err += std::string(VIEWER_PROGRAM_NAME) + ": " + why + "\n";
            return 2;
        }
    }
    if (!options.catalog_path.empty())
    {
        const std::string what = "writing " + GroupedCount(stars) + " systems";
        const bool wrote =
            ExportSystemCatalog(field, options.catalog_path.c_str(), 0, &why, [&](uint64_t done, uint64_t total) {
                ShowProgress(&progress, what, done, total);
            });
        EndProgressLine(&progress);
        if (!wrote)
        {
            *err += std::string(VIEWER_PROGRAM_NAME) + ": " + why + "\n";
            return 2;
        }
    }
    return 0;
}
