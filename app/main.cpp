// galaxy_viewer: reads its command line, then opens the window, builds the scene and runs the
// one frame loop until the window closes (Escape or the close button) or a screen asks to
// exit. What the command line asks without a window is done before any window is opened.
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/profile_run.h"
#include "app/viewer.h"
#include "random/random.h"

int main(int argc, char **argv)
{
    // Command line
    //--------------------------------------------------------------------------------------
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
    //--------------------------------------------------------------------------------------

    // Initialization
    //--------------------------------------------------------------------------------------
    RandomSeed(ClockSeconds()); // before anything draws from the stream
    if (command.options.profile_frames > 0) SetTraceLogLevel(LOG_WARNING); // its lines alone on stdout
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
    VIEWER_T viewer = CreateViewer();
    ApplyViewerOptions(&viewer, command.options);
    PROFILE_RUN_T profile = MakeProfileRun(command.options.profile_frames);
    if (profile.frames > 0) ProfileGenerations(&profile, &viewer, command.options.shape);
    //--------------------------------------------------------------------------------------

    // Main loop: a frame in which a screen sets STATE_EXIT is still finished and shown
    while (!WindowShouldClose() && viewer.menu_state != STATE_EXIT)
    {
        if (ProfileFrameStart(&profile)) break; // --profile has all its frames
        ProfileDebug(&profile, &viewer);
        ProfileRegenerating(&profile, &viewer, command.options.shape);
        ProfileSystemView(&profile, &viewer);
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
            ProfileScene(&profile, viewer.scene_timings);

            DrawOverlay(&viewer, &input);
            CaptureRequestedScreenshot(&viewer.file_actions); // the finished frame, before it is shown
            DrawFileNotice(&viewer.file_actions);
            DrawHelpOverlay(&viewer.help, GetScreenWidth(), GetScreenHeight());

        EndDrawing();
        //----------------------------------------------------------------------------------
    }

    // De-Initialization
    //--------------------------------------------------------------------------------------
    std::fputs(FormatProfile(&profile).c_str(), stdout);
    DestroyViewer(&viewer);
    CloseWindow();
    //--------------------------------------------------------------------------------------

    return 0;
}
