// galaxy_viewer: reads its command line, then opens the window, builds the scene and runs the
// one frame loop until the window closes (Escape or the close button) or a screen asks to
// exit. What the command line asks without a window is done before any window is opened.
// In a browser the page's address stands for the command line and the page runs the loop.
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/profile_run.h"
#include "app/viewer.h"
#include "random/random.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

#include "web/web_page.h"
#endif

namespace
{
// What lives from one frame to the next. On the desktop it sits on main's stack; a browser
// calls the frame from its own loop, so there it must outlive main.
struct RUN_T
{
    VIEWER_OPTIONS_T options;
    VIEWER_T viewer;
    PROFILE_RUN_T profile;
};

// One pass of the main loop; false once the run is to end (--profile has all its frames).
bool RunFrame(RUN_T *run)
{
    VIEWER_T &viewer = run->viewer;
    if (ProfileFrameStart(&run->profile)) return false;
    ProfileDebug(&run->profile, &viewer);
    ProfileRegenerating(&run->profile, &viewer, run->options.shape);
    ProfileSystemView(&run->profile, &viewer);
    // Update
    //----------------------------------------------------------------------------------
    GUI_INPUT_T input = ReadGuiInput(); // once a frame; every control decides from it
    UpdateViewer(&viewer, &input);
    //----------------------------------------------------------------------------------

    // Draw
    //----------------------------------------------------------------------------------
    BeginDrawing();

        ClearBackground(SCENE_BACKGROUND_COLOR);

        BeginSceneMode3D(&viewer);
            DrawScene(&viewer);
        EndMode3D();
        ProfileScene(&run->profile, viewer.scene_timings);

        DrawOverlay(&viewer, &input);
        CaptureRequestedScreenshot(&viewer.file_actions); // the finished frame, before it is shown
        DrawFileNotice(&viewer.file_actions);
        DrawHelpOverlay(&viewer.help, GetScreenWidth(), GetScreenHeight());

    EndDrawing();
    //----------------------------------------------------------------------------------
    return true;
}

void EndRun(RUN_T *run)
{
    std::fputs(FormatProfile(&run->profile).c_str(), stdout);
    DestroyViewer(&run->viewer);
    CloseWindow();
}

#if defined(__EMSCRIPTEN__)
// The browser's frame: the page follows the galaxy shown; Escape does not end a page.
void RunPageFrame(void *argument)
{
    RUN_T *run = (RUN_T *)argument;
    FollowPageSize();
    if (RunFrame(run) && run->viewer.menu_state != STATE_EXIT)
    {
        SyncPage(&run->viewer);
        return;
    }
    emscripten_cancel_main_loop();
    EndRun(run);
    std::fflush(stdout);
    EndPage();
    delete run;
}
#endif
} // namespace

int main(int argc, char **argv)
{
    // Command line
    //--------------------------------------------------------------------------------------
#if defined(__EMSCRIPTEN__)
    (void)argc;
    (void)argv;
    const PAGE_START_T start = ReadPageAddress();
    RUN_T *run = new RUN_T();
    run->options = start.options;
#else
    const COMMAND_LINE_T command = ParseCommandLine(argc, argv);
    std::fputs(command.output.c_str(), stdout);
    std::fputs(command.error.c_str(), stderr);
    if (command.exit_status >= 0) return command.exit_status;
    if (!command.options.NeedsWindow())
    {
        std::string out, err;
        const int status = RunWithoutWindow(command.options, &out, &err);
        std::fputs(out.c_str(), stdout);
        std::fputs(err.c_str(), stderr);
        return status;
    }
    RUN_T run_on_stack;
    RUN_T *run = &run_on_stack;
    run->options = command.options;
#endif
    //--------------------------------------------------------------------------------------

    // Initialization
    //--------------------------------------------------------------------------------------
    RandomSeed(ClockSeconds()); // before anything draws from the stream
    if (run->options.profile_frames > 0) SetTraceLogLevel(LOG_WARNING); // its lines alone on stdout
    SetConfigFlags(VIEWER_CONFIG_FLAGS);
    InitWindow(SCREEN_WIDTH, SCREEN_HEIGHT, WINDOW_TITLE);
    if (!IsWindowReady())
    {
        std::fprintf(stderr, "%s: cannot open a window (is a display reachable? DISPLAY=%s); "
                             "--print-code and --export work without one\n",
                     VIEWER_PROGRAM_NAME, std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        return 1;
    }
    SetWindowMinSize(VIEWER_MIN_WIDTH, VIEWER_MIN_HEIGHT); // a window manager keeps to it
    InstallInputLatch();
    run->viewer = CreateViewer();
    ApplyViewerOptions(&run->viewer, run->options);
    run->profile = MakeProfileRun(run->options.profile_frames);
    if (run->profile.frames > 0) ProfileGenerations(&run->profile, &run->viewer, run->options.shape);
    //--------------------------------------------------------------------------------------

#if defined(__EMSCRIPTEN__)
    StartPage(&run->viewer, start);
    // Main loop: the browser's, a frame each time it paints; main returns at once.
    emscripten_set_main_loop_arg(RunPageFrame, run, 0, 0);
#else
    // Main loop: a frame in which a screen sets STATE_EXIT is still finished and shown
    while (!WindowShouldClose() && run->viewer.menu_state != STATE_EXIT)
    {
        if (!RunFrame(run)) break; // --profile has all its frames
    }

    // De-Initialization
    //--------------------------------------------------------------------------------------
    EndRun(run);
    //--------------------------------------------------------------------------------------
#endif

    return 0;
}
