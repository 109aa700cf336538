// The viewer in a real window on a private X server: what a person sees at start-up, and
// that Escape ends the run cleanly. Each case catches a fault no unit test can see.
#include <gtest/gtest.h>

#include "tests/window/x_session.h"

using namespace std::chrono_literals;

namespace
{
const char *const TITLE = "raylib [core] and raygui test";

// Colours the frame promises: the cleared background and the heads-up text.
constexpr uint8_t BG_R = 16, BG_G = 16, BG_B = 64;
constexpr uint8_t HUD_R = 190, HUD_G = 33, HUD_B = 55;

std::string OutputPath(const std::string &name)
{
    return std::string(WINDOW_TEST_OUTPUT_DIR) + "/" + name;
}

// A frame has been presented once most of the window shows the background colour.
bool FramePresented(const SCREENSHOT_T &shot)
{
    if (shot.width == 0) return false;
    return shot.CountColor(0, 0, shot.width, shot.height, BG_R, BG_G, BG_B) > shot.width * shot.height / 4;
}

class ViewerWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Ok()) << "Xvfb did not start";
        viewer = std::make_unique<PROCESS_T>(GALAXY_VIEWER_PATH, server.Display(), OutputPath(LogName()),
                                             VIEWER_LD_PRELOAD);
        ASSERT_TRUE(viewer->Started());
        window = std::make_unique<X_WINDOW_T>(server.Display(), TITLE, 60s);
        ASSERT_TRUE(window->Found()) << "no window titled '" << TITLE << "'\n" << viewer->Log();
    }

    static std::string LogName()
    {
        return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log";
    }

    X_SERVER_T server;
    std::unique_ptr<PROCESS_T> viewer;
    std::unique_ptr<X_WINDOW_T> window;
};
} // namespace

// Catches a wrong title or window size, a frame that never reaches the screen, and
// heads-up lines missing, misplaced or in the wrong colour.
TEST_F(ViewerWindow, OpensWithTitleSizeAndHeadsUpText)
{
    EXPECT_EQ(window->Title(), TITLE);
    int width = 0, height = 0;
    ASSERT_TRUE(window->Size(&width, &height));
    EXPECT_EQ(width, 1366);
    EXPECT_EQ(height, 768);

    bool presented = false;
    const SCREENSHOT_T shot = CaptureUntil(*window, 60s, FramePresented, &presented);
    shot.SavePng(OutputPath("start.png"));
    ASSERT_TRUE(presented) << "the background colour never filled the window; see start.png";

    // "OCT Buildtime: ..." at (40, 40), "Points Inserted: ..." at (40, 60), 20 px high.
    EXPECT_GT(shot.CountColor(40, 40, 400, 60, HUD_R, HUD_G, HUD_B), 100);
    EXPECT_GT(shot.CountColor(40, 60, 400, 80, HUD_R, HUD_G, HUD_B), 100);
    // "Objects Drawed: 0/0" at (1000, 300).
    EXPECT_GT(shot.CountColor(1000, 300, 1366, 320, HUD_R, HUD_G, HUD_B), 100);
    // Nothing of that colour where no line stands (left of the first lines' start).
    EXPECT_EQ(shot.CountColor(0, 30, 38, 90, HUD_R, HUD_G, HUD_B), 0);
    EXPECT_EQ(shot.CountColor(400, 100, 990, 760, HUD_R, HUD_G, HUD_B), 0);

    // The frames-per-second counter: raylib draws it in lime at (10, 10).
    EXPECT_GT(shot.CountColor(10, 10, 120, 30, 0, 158, 47), 20);

    ASSERT_TRUE(window->Key("Escape"));
    EXPECT_EQ(viewer->WaitExit(30s), 0) << viewer->Log();
}

// Catches an exit key that is ignored or a shutdown that crashes or hangs.
TEST_F(ViewerWindow, EscapeEndsTheRunWithStatusZero)
{
    bool presented = false;
    CaptureUntil(*window, 60s, FramePresented, &presented);
    ASSERT_TRUE(presented);
    ASSERT_TRUE(window->Key("Escape"));
    EXPECT_EQ(viewer->WaitExit(30s), 0) << viewer->Log();
}
