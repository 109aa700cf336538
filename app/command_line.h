// The viewer's command line: flags in, one options record out. Without options the viewer
// behaves as it always has; with them it can open on a given galaxy, print its code, export
// its stars without a window, or start straight in the view.
#pragma once

#include <cstdint>
#include <string>

#include "galaxy/galaxy_shape.h"

constexpr const char *VIEWER_PROGRAM_NAME = "galaxy_viewer";
constexpr const char *VIEWER_VERSION = "1.1.0";

// The galaxy of a command line that names some values and not others: the unnamed ones take
// these. A four-armed disc of the largest size, with its thickness coupled as the panel does.
GALAXY_SHAPE_T DefaultCommandLineShape(void);

struct VIEWER_OPTIONS_T
{
    GALAXY_SHAPE_T shape = {}; // the galaxy the flags or --code name (defaults filled in)
    bool shape_given = false;  // any galaxy flag or --code: open on this galaxy
    bool print_code = false;   // print the galaxy's code and exit, without a window
    std::string export_path;   // write the star field here and exit, without a window
    std::string catalog_path;  // write every star's system here and exit, without a window
    bool print_system = false; // print the system of star system_index as JSON and exit
    uint64_t system_index = 0;
    bool link_given = false;   // --code named a star (CODE#N): open the galaxy at it
    uint64_t link_star = 0;
    bool visit_star = false;   // --star N: open the system view of link_star
    std::string find_text;     // --find: print the stars whose names contain it, and exit
    bool start_in_view = false;
    bool debug = true; // the view's DEBUG state at start
    int32_t profile_frames = 0; // --profile N: measure N frames in the view, print, exit
    bool unbatched = false;     // draw cell by cell and star by star, for comparison

    bool NeedsWindow() const
    {
        return !print_code && export_path.empty() && catalog_path.empty() && !print_system && find_text.empty();
    }
};

struct COMMAND_LINE_T
{
    VIEWER_OPTIONS_T options;
    // -1: go on and run; otherwise exit at once with this status after printing `output`
    // (to stdout for --help and --version) or `error` (one line, to stderr).
    int exit_status = -1;
    std::string output;
    std::string error;
};

COMMAND_LINE_T ParseCommandLine(int argc, const char *const *argv);

// What --print-code, --system, --find, --export and --export-systems do, with no window: writes
// to out and err, returns the exit status (0, or 2 when the galaxy has no stars, a star index is
// past it or a file cannot be written; err then says why). Long writes show a progress line on
// stderr as they go, when it is a terminal.
int RunWithoutWindow(const VIEWER_OPTIONS_T &options, std::string *out, std::string *err);
