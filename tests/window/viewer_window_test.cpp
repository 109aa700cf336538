// The viewer in a real window on a private X server: what a person sees at start-up, and
// that Escape ends the run cleanly. Each case catches a fault no unit test can see.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/window/x_session.h"

using namespace std::chrono_literals;

namespace
{
const char *const TITLE = "raylib [core] and raygui test";

// Colours the frame promises: the cleared background and the heads-up text.
constexpr uint8_t BG_R = 16, BG_G = 16, BG_B = 64;
constexpr uint8_t HUD_R = 190, HUD_G = 33, HUD_B = 55;
// Tops of the heads-up lines in a 1366 x 768 window.
constexpr int HUD_Y[4] = {14, 38, 62, 86};

std::string OutputPath(const std::string &name)
{
    return std::string(WINDOW_TEST_OUTPUT_DIR) + "/" + name;
}

// Glyphs of a heads-up line, counted from the picture. The 10-pixel default font drawn at
// size 20 puts every glyph pixel in a 2x2 block aligned to the line's origin, and glyphs
// stand at least one block apart. A block counts only when all four pixels have the text
// colour, so the frustum's outline, drawn in the same colour but one pixel wide, adds no
// glyphs where it crosses the line.
int CountGlyphs(const SCREENSHOT_T &shot, int x0, int y0, int width)
{
    int glyphs = 0;
    bool previous = false;
    for (int cx = 0; cx < width / 2; cx++)
    {
        bool inked = false;
        for (int cy = 0; cy < 10 && !inked; cy++)
        {
            const int x = x0 + 2 * cx, y = y0 + 2 * cy;
            inked = shot.CountColor(x, y, x + 2, y + 2, HUD_R, HUD_G, HUD_B) == 4;
        }
        if (inked && !previous) glyphs++;
        previous = inked;
    }
    return glyphs;
}

// Full 2x2 blocks of the text colour anywhere in the area, at any alignment: text, not the
// one-pixel lines of the frustum's outline.
int CountTextBlocks(const SCREENSHOT_T &shot, int x0, int y0, int x1, int y1)
{
    int blocks = 0;
    for (int y = y0; y + 1 < y1; y++)
    {
        for (int x = x0; x + 1 < x1; x++) blocks += shot.CountColor(x, y, x + 2, y + 2, HUD_R, HUD_G, HUD_B) == 4;
    }
    return blocks;
}

// A frame has been presented once most of the window shows the background colour.
bool FramePresented(const SCREENSHOT_T &shot)
{
    if (shot.width == 0) return false;
    return shot.CountColor(0, 0, shot.width, shot.height, BG_R, BG_G, BG_B) > shot.width * shot.height / 4;
}

} // namespace

// One start of the viewer as a person runs it, checked from its pictures. Catches a wrong
// title or window size, a frame that never reaches the screen, and heads-up lines missing,
// misplaced or in the wrong colour; a "Points Inserted" figure that the frame loop does not
// raise, one that sticks, or one drawn once and never again; a screenshot key that reads the
// screen while the window shrinks (raylib's own capture did so from its key callback and
// crashed in the GL driver) and any file dropped into the current folder unannounced; a help
// card that F1's own release or repeat closes again; and an exit key that is ignored or a
// shutdown that crashes or hangs.
TEST(ViewerWindow, HeadsUpTextPointsScreenshotDuringShrinkAndEscape)
{
    // Whatever the viewer writes for the user (screenshots, saved galaxies) goes to a folder
    // of the test's own.
    USER_FOLDERS_T user;
    X_SERVER_T server;
    ASSERT_TRUE(server.Ok()) << "Xvfb did not start";
    PROCESS_T viewer(GALAXY_VIEWER_PATH, server.Display(), OutputPath("viewer.log"), VIEWER_LD_PRELOAD);
    ASSERT_TRUE(viewer.Started());
    const X_WINDOW_T window(server.Display(), TITLE, 60s);
    ASSERT_TRUE(window.Found()) << "no window titled '" << TITLE << "'\n" << viewer.Log();

    EXPECT_EQ(window.Title(), TITLE);
    int width = 0, height = 0;
    ASSERT_TRUE(window.Size(&width, &height));
    EXPECT_EQ(width, 1366);
    EXPECT_EQ(height, 768);

    bool presented = false;
    const SCREENSHOT_T shot = CaptureUntil(window, 60s, FramePresented, &presented);
    shot.SavePng(OutputPath("start.png"));
    ASSERT_TRUE(presented) << "the background colour never filled the window; see start.png";

    // The heads-up block at the top-right corner, lines 24 px apart from (1020, 14), on a light
    // band: "OCT Buildtime: ...", "Points Inserted: ...", "Objects Drawed: 0/0", the FPS.
    for (int line = 0; line < 3; line++)
        EXPECT_GT(shot.CountColor(1020, HUD_Y[line], 1366, HUD_Y[line] + 20, HUD_R, HUD_G, HUD_B), 100) << line;
    EXPECT_GT(shot.CountColor(1012, 8, 1358, 100, 235, 235, 235), 20000) << "no band behind the lines";
    // Text is told apart by its glyphs: "OCT Buildtime: 0.00xxxx" has 21, "Objects Drawed:
    // 0/0" 17 (the galaxy is still empty).
    EXPECT_EQ(CountGlyphs(shot, 1020, HUD_Y[0], 340), 21);
    EXPECT_EQ(CountGlyphs(shot, 1020, HUD_Y[2], 340), 17);
    // No text left of the block, where the DEBUG button and the panel stand.
    EXPECT_EQ(CountTextBlocks(shot, 0, 0, 1010, 110), 0);
    // The outline itself: the frustum is rebuilt from the camera and drawn every frame.
    EXPECT_GT(shot.CountColor(400, 100, 990, 760, HUD_R, HUD_G, HUD_B), 100);
    // The frames-per-second line, in dark green.
    EXPECT_GT(shot.CountColor(1020, HUD_Y[3], 1366, HUD_Y[3] + 20, 0, 117, 44), 20);

    // "Points Inserted" read by its number of digits: a later picture whose line holds more
    // glyphs shows a larger number. At start the figure has one or two digits, so it must
    // gain one within a few hundred frames.
    const int before = CountGlyphs(shot, 1020, HUD_Y[1], 340);
    EXPECT_GE(before, 16) << "\"Points Inserted:\" is 15 glyphs, then at least one digit";
    bool grew = false;
    const SCREENSHOT_T later = CaptureUntil(
        window, 120s, [&](const SCREENSHOT_T &s) { return CountGlyphs(s, 1020, HUD_Y[1], 340) > before; }, &grew);
    later.SavePng(OutputPath("points-later.png"));
    EXPECT_TRUE(grew) << "the number of points inserted did not grow; see start.png, points-later.png";

    // F12 and a shrink to 1 x 1 in the same event batch, four times; the viewer must live
    // through it and end cleanly.
    std::string shotsBefore, shotsAfter;
    RunCommand("ls screenshot*.png 2>/dev/null | wc -l", &shotsBefore);
    const std::string id = std::to_string(window.Id());
    for (int i = 0; i < 4; i++)
    {
        RunCommand("DISPLAY=" + server.Display() + " xdotool windowfocus --sync " + id + " key F12 windowsize " + id +
                   " 1 1 sleep 0.3 windowsize " + id + " 1366 768 sleep 0.5 >/dev/null 2>&1");
        ASSERT_TRUE(viewer.Running()) << "the viewer died in round " << i + 1 << "\n" << viewer.Log();
    }
    RunCommand("ls screenshot*.png 2>/dev/null | wc -l", &shotsAfter);
    EXPECT_EQ(shotsAfter, shotsBefore) << "raylib's own capture wrote into the current folder";

    // F1's help stays open after a 0.05 s tap, a 0.1 s tap and a 0.6 s hold, and another key
    // closes it: the release of F1 itself (raylib queues released keys as "pressed") and its
    // repeat must not.
    const auto helpShown = [](const SCREENSHOT_T &s) {
        return s.CountColor(400, 250, 960, 500, 245, 245, 245) > 50000; // the card, centred
    };
    for (const char *hold : {"0.05", "0.1", "0.6"})
    {
        ASSERT_EQ(RunCommand("DISPLAY=" + server.Display() + " xdotool windowfocus --sync " + id + " keydown F1 sleep " +
                             hold + " keyup F1 sleep 0.8 >/dev/null 2>&1"),
                  0);
        bool shown = false;
        SCREENSHOT_T open = CaptureUntil(window, 20s, helpShown, &shown);
        ASSERT_TRUE(shown) << "F1 held " << hold << " s showed no help";
        RunCommand("sleep 0.8");
        open = window.Capture();
        open.SavePng(OutputPath(std::string("help-after-") + hold + "s.png"));
        EXPECT_TRUE(helpShown(open)) << "F1 held " << hold << " s: the help closed by itself";
        ASSERT_EQ(RunCommand("DISPLAY=" + server.Display() + " xdotool windowfocus --sync " + id +
                             " keydown x sleep 0.1 keyup x >/dev/null 2>&1"),
                  0);
        bool closed = false;
        CaptureUntil(window, 20s, [&](const SCREENSHOT_T &s) { return !helpShown(s); }, &closed);
        EXPECT_TRUE(closed) << "another key did not close the help";
    }

    ASSERT_TRUE(window.Key("Escape"));
    EXPECT_EQ(viewer.WaitExit(30s), 0) << viewer.Log();
}

// Catches a --profile that hangs, fails, or leaves out a stage or its figures.
TEST(ViewerProfile, PrintsEveryStageAndEnds)
{
    X_SERVER_T server;
    ASSERT_TRUE(server.Ok());
    PROCESS_T viewer(GALAXY_VIEWER_PATH, server.Display(), OutputPath("profile.log"), VIEWER_LD_PRELOAD,
                     {"--arms", "3", "--profile", "12", "--debug", "off"});
    ASSERT_TRUE(viewer.Started());
    ASSERT_EQ(viewer.WaitExit(120s), 0) << viewer.Log();
    const std::string log = viewer.Log();
    for (const char *stage : {"frame", "cull", "draw", "generate", "index", "main_thread_cpu", "system_frame"})
    {
        const std::string head = std::string("stage ") + stage + " median_ms ";
        const size_t at = log.find(head);
        ASSERT_NE(at, std::string::npos) << stage << "\n" << log;
        double median = -1.0, p95 = -1.0;
        ASSERT_EQ(std::sscanf(log.c_str() + at + head.size(), "%lf p95_ms %lf", &median, &p95), 2) << stage;
        EXPECT_GE(median, 0.0);
        EXPECT_GE(p95, median) << stage;
    }
}
