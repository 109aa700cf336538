// The screens end to end, in a real window on a private X server, driven by real mouse and
// keyboard input and checked from screenshots: main menu, generator panel, view state with
// its DEBUG button, and the two ways out. What no unit test can see: raygui's own controls,
// the frame's dispatch between screens, and the galaxy actually drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/window/x_session.h"

using namespace std::chrono_literals;

namespace
{
const char *const TITLE = "raylib [core] and raygui test";

struct RGB_T
{
    uint8_t r, g, b;
};
// raygui's default style, as the screens draw with it.
constexpr RGB_T WINDOW_FILL = {245, 245, 245};  // window body (DEFAULT BACKGROUND_COLOR)
constexpr RGB_T CONTROL_FILL = {201, 201, 201}; // buttons, toggles, slider bodies at rest
constexpr RGB_T PRESSED_FILL = {151, 232, 255}; // slider bar, value box while editing
constexpr RGB_T BACKGROUND = {16, 16, 64};      // the scene's cleared background
constexpr RGB_T STAR = {255, 255, 255};         // stars are opaque white cubes

// Screen rectangles the frame gives its screens (x0, y0, x1, y1), in window pixels.
struct AREA_T
{
    int x0, y0, x1, y1;
};
constexpr AREA_T MENU_AREA = {20, 528, 240, 748};
constexpr AREA_T PANEL_AREA = {20, 20, 360, 748};
constexpr AREA_T SCENE_AREA = {380, 0, 1366, 768}; // right of the panel
constexpr AREA_T DEBUG_AREA = {10, 10, 110, 50};

// Main list: first toggle at (53, 568), 154 x 31, rows 33 apart.
constexpr int ENTRY_X = 130;
int EntryY(int row)
{
    return 568 + row * 33 + 15;
}

// Generator panel at (20, 20): controls 300 wide from x = 40.
constexpr int SEED_BOX_Y = 20 + 50 + 10;
constexpr int CURVATURE_Y = 20 + 440 + 10;
constexpr AREA_T SEED_BOX_AREA = {40, 70, 340, 90};
constexpr AREA_T CURVATURE_AREA = {40, 460, 340, 480};
constexpr int START_X = 190, START_Y = 708;

int Count(const SCREENSHOT_T &shot, AREA_T a, RGB_T c)
{
    return shot.CountColor(a.x0, a.y0, a.x1, a.y1, c.r, c.g, c.b);
}

// Pixels of the scene that are neither background nor star: the faint wire boxes of the
// octree cells (white at alpha 16) and the antialiased rims of stars.
int FaintPixels(const SCREENSHOT_T &shot)
{
    int count = 0;
    for (int y = SCENE_AREA.y0; y < SCENE_AREA.y1; y++)
        for (int x = SCENE_AREA.x0; x < SCENE_AREA.x1; x++)
        {
            const SCREENSHOT_T::PIXEL_T p = shot.At(x, y);
            const bool background = p.r == BACKGROUND.r && p.g == BACKGROUND.g && p.b == BACKGROUND.b;
            const bool star = p.r == 255 && p.g == 255 && p.b == 255;
            // Blends of white over the blue background keep red equal to green.
            if (!background && !star && p.r == p.g && p.b > p.r) count++;
        }
    return count;
}

bool IsStar(const SCREENSHOT_T &shot, int x, int y)
{
    const SCREENSHOT_T::PIXEL_T p = shot.At(x, y);
    return p.r == STAR.r && p.g == STAR.g && p.b == STAR.b;
}

// Of the star pixels in frame a, the share that has a star pixel within 4 pixels in frame
// b. From one frame to the next the orbiting camera moves stars by a few pixels, so most
// persist; a regenerated galaxy puts its stars elsewhere.
double Persistence(const SCREENSHOT_T &a, const SCREENSHOT_T &b)
{
    const int r = 4;
    long stars = 0;
    long kept = 0;
    for (int y = SCENE_AREA.y0 + r; y < SCENE_AREA.y1 - r; y++)
        for (int x = SCENE_AREA.x0 + r; x < SCENE_AREA.x1 - r; x++)
        {
            if (!IsStar(a, x, y)) continue;
            stars++;
            bool found = false;
            for (int dy = -r; dy <= r && !found; dy++)
                for (int dx = -r; dx <= r && !found; dx++)
                    found = IsStar(b, x + dx, y + dy);
            if (found) kept++;
        }
    return stars > 0 ? (double)kept / (double)stars : 1.0;
}

// The lowest persistence between consecutive frames.
double LeastPersistence(const std::vector<SCREENSHOT_T> &frames)
{
    double least = 1.0;
    for (size_t i = 1; i < frames.size(); i++)
        least = std::min(least, Persistence(frames[i - 1], frames[i]));
    return least;
}

std::string OutputPath(const std::string &name)
{
    return std::string(WINDOW_TEST_OUTPUT_DIR) + "/" + name;
}

// Software rendering under Xvfb can be slow (a few frames per second with a large galaxy),
// and raylib sees a key or button only through its state at a frame: whatever is pressed
// and released between two frames is lost. So every press is held for several frames, and
// the pointer stays put until a frame has seen the release.
constexpr const char *HOLD = "0.6";

class ScreensWindow : public ::testing::Test
{
  protected:
    bool Xdotool(const std::string &args) const
    {
        return RunCommand("DISPLAY=" + server.Display() + " xdotool " + args + " >/dev/null 2>&1") == 0;
    }
    bool MoveTo(int x, int y) const
    {
        return Xdotool("mousemove --window " + std::to_string(window->Id()) + " " + std::to_string(x) + " " +
                       std::to_string(y));
    }
    bool Click(int x, int y) const
    {
        return MoveTo(x, y) &&
               Xdotool(std::string("sleep 0.2 mousedown 1 sleep ") + HOLD + " mouseup 1 sleep " + HOLD);
    }
    // Presses at (x0, y), travels to x1 in steps, and holds the button there until arrived()
    // sees the result on screen (a long frame could otherwise miss the last position), at
    // most 20 s; then releases.
    template <typename ARRIVED> bool Drag(int x0, int x1, int y, ARRIVED arrived) const
    {
        if (!MoveTo(x0, y) || !Xdotool(std::string("sleep 0.2 mousedown 1 sleep ") + HOLD)) return false;
        for (int i = 1; i <= 4; i++)
        {
            if (!MoveTo(x0 + (x1 - x0) * i / 4, y) || !Xdotool("sleep 0.2")) return false;
        }
        bool met = false;
        CaptureUntil(*window, 20s, arrived, &met);
        return Xdotool(std::string("sleep ") + HOLD + " mouseup 1 sleep " + HOLD) && met;
    }
    bool HoldKey(const std::string &keysym) const
    {
        return Xdotool("windowfocus --sync " + std::to_string(window->Id())) &&
               Xdotool("keydown " + keysym + " sleep 0.4 keyup " + keysym + " sleep " + HOLD);
    }
    // Distinct frames as they come, until `frames` were seen or done() holds and three more
    // were seen; at most 40 s.
    template <typename DONE> std::vector<SCREENSHOT_T> Frames(int frames, DONE done) const
    {
        std::vector<SCREENSHOT_T> seen;
        int after = 0;
        const auto end = std::chrono::steady_clock::now() + 40s;
        while ((int)seen.size() < frames && after < 3 && std::chrono::steady_clock::now() < end)
        {
            SCREENSHOT_T shot = window->Capture();
            if (shot.width == 0 || (!seen.empty() && shot.rgb == seen.back().rgb)) continue;
            if (done()) after++;
            seen.push_back(std::move(shot));
        }
        return seen;
    }
    // Typed characters are queued, not sampled, but the value box takes one per frame.
    bool TypeSlowly(const std::string &text) const
    {
        if (!Xdotool("windowfocus --sync " + std::to_string(window->Id()))) return false;
        for (char c : text)
        {
            if (!Xdotool(std::string("key ") + c + " sleep " + HOLD)) return false;
        }
        return true;
    }

    // The viewer's command line; none, as a person starts it.
    virtual std::vector<std::string> Arguments() const { return {}; }

    void SetUp() override
    {
        ASSERT_TRUE(server.Ok()) << "Xvfb did not start";
        viewer = std::make_unique<PROCESS_T>(GALAXY_VIEWER_PATH, server.Display(),
                                             OutputPath(Name() + ".log"), VIEWER_LD_PRELOAD, Arguments());
        ASSERT_TRUE(viewer->Started());
        window = std::make_unique<X_WINDOW_T>(server.Display(), TITLE, 60s);
        ASSERT_TRUE(window->Found()) << "no window titled '" << TITLE << "'\n" << viewer->Log();
    }

    static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

    // Waits until pred holds, saving the last capture as <test>-<step>.png either way.
    template <typename PRED>
    SCREENSHOT_T Await(const std::string &step, PRED pred, bool *met, std::chrono::milliseconds timeout = 30s)
    {
        const SCREENSHOT_T shot = CaptureUntil(*window, timeout, pred, met);
        shot.SavePng(OutputPath(Name() + "-" + step + ".png"));
        return shot;
    }

    X_SERVER_T server;
    std::unique_ptr<PROCESS_T> viewer;
    std::unique_ptr<X_WINDOW_T> window;
};

bool MenuShown(const SCREENSHOT_T &shot)
{
    return shot.width > 0 && Count(shot, MENU_AREA, WINDOW_FILL) > 10000 &&
           Count(shot, MENU_AREA, CONTROL_FILL) > 20000;
}

bool PanelShown(const SCREENSHOT_T &shot)
{
    return shot.width > 0 && Count(shot, PANEL_AREA, WINDOW_FILL) > 150000;
}
} // namespace

// The road of one change, as a person walks it. Catches a menu not where it belongs, Start
// not leading to the panel, a panel that does not fill the galaxy or react to its slider or
// seed box, Start not leaving for the view, a missing DEBUG button or one that does not hide
// the wire boxes, and an Escape that does not end the run cleanly.
TEST_F(ScreensWindow, MenuPanelViewAndDebugThenEscape)
{
    bool met = false;
    SCREENSHOT_T shot = Await("1-menu", MenuShown, &met, 60s);
    ASSERT_TRUE(met) << "the main menu never appeared at (20, 528, 220, 220)";
    // Nothing of the menu's colours above it, where only Options would open a window.
    EXPECT_EQ(Count(shot, AREA_T{0, 60, 1366, 520}, WINDOW_FILL), 0);

    ASSERT_TRUE(Click(ENTRY_X, EntryY(0))); // Start
    ASSERT_TRUE(MoveTo(900, 700));
    shot = Await(
        "2-panel", [](const SCREENSHOT_T &s) { return PanelShown(s) && Count(s, SCENE_AREA, STAR) > 300; },
        &met);
    ASSERT_TRUE(met) << "no generator panel with a galaxy beside it; stars seen: "
                     << Count(shot, SCENE_AREA, STAR);
    // Frames of the galaxy as it stands, then frames while Arm Curvature is dragged to its
    // left end (1: arms that barely wind). A change shows as a jump between two frames. Space
    // holds the camera first, so the orbit's own motion (by the clock, whatever the frame rate)
    // cannot pass for one.
    ASSERT_TRUE(HoldKey("space"));
    const std::vector<SCREENSHOT_T> standing = Frames(5, [] { return false; });
    ASSERT_FALSE(standing.empty());
    standing.back().SavePng(OutputPath(Name() + "-2-galaxy.png"));
    const double steady = LeastPersistence(standing);
    const int curvatureBarBefore = Count(shot, CURVATURE_AREA, PRESSED_FILL);
    std::atomic<bool> dragged(false);
    std::thread hand(
        [&]
        {
            Drag(300, 40, CURVATURE_Y,
                 [&](const SCREENSHOT_T &s)
                 { return Count(s, CURVATURE_AREA, PRESSED_FILL) < curvatureBarBefore / 8; });
            MoveTo(900, 700);
            dragged = true;
        });
    const std::vector<SCREENSHOT_T> during = Frames(60, [&] { return dragged.load(); });
    hand.join();
    ASSERT_FALSE(during.empty());
    during.back().SavePng(OutputPath(Name() + "-3-curvature.png"));
    EXPECT_LT(Count(during.back(), CURVATURE_AREA, PRESSED_FILL), curvatureBarBefore / 8)
        << "the Arm Curvature bar did not empty";
    const double least = LeastPersistence(during);
    EXPECT_LT(least, 0.8 * steady) << "the stars did not move beyond the orbit's own motion: " << least
                                   << " of them stayed, against " << steady << " from frame to frame before";

    // Seed: click the box (edit mode fills it), type, Enter (edit mode ends).
    ASSERT_TRUE(Click(200, SEED_BOX_Y));
    shot = Await(
        "4-seed-edit", [](const SCREENSHOT_T &s) { return Count(s, SEED_BOX_AREA, PRESSED_FILL) > 3000; },
        &met);
    EXPECT_TRUE(met) << "the seed box did not enter edit mode";
    ASSERT_TRUE(TypeSlowly("4242"));
    ASSERT_TRUE(HoldKey("Return"));
    shot = Await(
        "5-seed-done", [](const SCREENSHOT_T &s) { return Count(s, SEED_BOX_AREA, PRESSED_FILL) < 100; },
        &met);
    EXPECT_TRUE(met) << "Enter did not end the seed box's edit mode";

    ASSERT_TRUE(Click(START_X, START_Y));
    ASSERT_TRUE(MoveTo(900, 700));
    shot = Await(
        "6-view", [](const SCREENSHOT_T &s) { return s.width > 0 && Count(s, PANEL_AREA, WINDOW_FILL) == 0; },
        &met);
    ASSERT_TRUE(met) << "the panel did not go away after Start";
    EXPECT_GT(Count(shot, DEBUG_AREA, CONTROL_FILL), 1000) << "no DEBUG button at (10, 10, 100, 40)";
    EXPECT_GT(Count(shot, AREA_T{0, 0, 1366, 768}, STAR), 300) << "the galaxy is gone in the view state";
    const int faintWithBoxes = FaintPixels(shot);

    ASSERT_TRUE(Click(60, 40)); // DEBUG, below the frames-per-second counter
    ASSERT_TRUE(MoveTo(900, 700));
    // L: the plain white stars, whose rims alone tell them from faint boxes (the soft look's
    // coloured light would).
    ASSERT_TRUE(HoldKey("l"));
    shot = Await(
        "7-debug-off",
        [&](const SCREENSHOT_T &s) { return s.width > 0 && FaintPixels(s) < faintWithBoxes / 3; }, &met);
    EXPECT_TRUE(met) << "the wire boxes stayed: faint pixels " << faintWithBoxes << " -> "
                     << FaintPixels(shot);
    EXPECT_GT(Count(shot, AREA_T{0, 0, 1366, 768}, STAR), 300) << "hiding the boxes hid the stars too";

    ASSERT_TRUE(HoldKey("Escape"));
    EXPECT_EQ(viewer->WaitExit(30s), 0) << viewer->Log();
}

// Catches screens that follow raygui's own reading of the mouse once a window exists instead of
// the input record (a click handed over in the record would then do nothing), and a menu run
// before the window that leaves raygui without a usable font (its first text then crashes).
TEST(ScreensInput, RecordClickOnExitEndsTheRunWithAWindowOpen)
{
    X_SERVER_T server;
    ASSERT_TRUE(server.Ok()) << "Xvfb did not start";
    PROCESS_T program(RECORD_CLICK_PATH, server.Display(), OutputPath("RecordClick.log"), VIEWER_LD_PRELOAD);
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.WaitExit(60s), 0) << program.Log();
}

namespace
{
// Whether two pictures agree on every pixel of the area outside rows [skip0, skip1).
bool SameIn(const SCREENSHOT_T &a, const SCREENSHOT_T &b, AREA_T area, int skip0 = 0, int skip1 = 0)
{
    if (a.width != b.width || a.height != b.height) return false;
    for (int y = area.y0; y < area.y1; y++)
        for (int x = area.x0; x < area.x1 && (y < skip0 || y >= skip1); x++)
        {
            const SCREENSHOT_T::PIXEL_T p = a.At(x, y), q = b.At(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) return false;
        }
    return true;
}

// The panel's pixels that only its values decide: without the title bar (the FPS counter
// prints over it), the notice line and the bottom band where file notices appear.
bool SamePanel(const SCREENSHOT_T &a, const SCREENSHOT_T &b)
{
    return SameIn(a, b, AREA_T{PANEL_AREA.x0, 45, PANEL_AREA.x1, 730}, 600, 630);
}

// The viewer opened in the view on a given galaxy with DEBUG off, with its data and pictures
// folders in a fresh temporary folder.
class ShareWindow : public ScreensWindow
{
  protected:
    ShareWindow()
    {
        RunCommand(std::string(GALAXY_VIEWER_PATH) +
                       " --print-code --seed 4242 --arms 3 --curvature 12 --inner-radius -40 --bulge-size 40"
                       " --bulge-offset0 60 --bulge-offset1 30 --size-y 50 --size-xz 200",
                   &code);
        while (!code.empty() && (code.back() == '\n' || code.back() == '\r')) code.pop_back();
    }
    std::vector<std::string> Arguments() const override { return {"--code", code, "--view", "--debug", "off"}; }

    // The panel with the pointer parked over the scene, where it lights no control.
    SCREENSHOT_T ParkedPanel(const std::string &step, const SCREENSHOT_T *like)
    {
        MoveTo(900, 400);
        bool met = false;
        return Await(
            step, [&](const SCREENSHOT_T &shot) { return PanelShown(shot) && (like == nullptr || SamePanel(shot, *like)); },
            &met, 20s);
    }
    bool CurvatureMoved(const SCREENSHOT_T &before)
    {
        return Drag(CURVATURE_AREA.x0 + 30, CURVATURE_AREA.x1 - 30, CURVATURE_Y,
                    [&](const SCREENSHOT_T &shot) { return !SamePanel(shot, before); });
    }

    USER_FOLDERS_T user;
    const std::string &folder = user.Path();
    std::string code;
};

// The scene without the top band, where the DEBUG button and the heads-up lines change.
constexpr AREA_T VIEW_AREA = {0, 120, 1366, 768};

// The heads-up band (235, 235, 235) where a window of this width puts it, and the DEBUG
// button's face, both whole inside the window.
bool ControlsInside(const SCREENSHOT_T &shot, int width)
{
    const int bandLeft = width - 16 - 330 - 8;
    return shot.CountColor(bandLeft, 8, width - 8, 112, 235, 235, 235) > 20000 &&
           shot.CountColor(10, 10, 110, 50, CONTROL_FILL.r, CONTROL_FILL.g, CONTROL_FILL.b) > 2000;
}

// The system card at the right of a 1366 x 768 window, under the heads-up lines and their
// timings, and its close box at the right end of its title bar.
constexpr AREA_T CARD_AREA = {914, 184, 1354, 756};
constexpr int CARD_CLOSE_X = 1342, CARD_CLOSE_Y = 196;
// The card's Bookmark button, left of its close box, and the note box it opens under the title.
constexpr int CARD_BOOKMARK_X = 1289;
constexpr AREA_T CARD_NOTE_AREA = {914, 206, 1354, 236};
// The Load list beside the menu: its first row, that row's Delete button and the Undo above.
constexpr int LOAD_ROW_Y = 105, LOAD_DELETE_X = 1281, LOAD_UNDO_Y = 70;

bool CardShown(const SCREENSHOT_T &s)
{
    return s.width == 1366 && Count(s, CARD_AREA, WINDOW_FILL) > 150000;
}
} // namespace

// The view as a person steers it, reads a system in it, and keeps and shares its galaxy.
// Catches a Space that does not hold the camera; a click on a star that picks nothing, a card
// that does not open, a close box or a click on empty sky that does not close it; a left drag
// or the wheel that do not move the camera, a Tab that does not show or hide the panel, and
// heads-up lines or controls pushed out of a small or large window; a code that does not reach
// the clipboard or is not applied from it, a star link that does not bring its card back, a
// search by name that finds nothing or opens no card, a Save that stores nothing or a Load that opens
// another galaxy, a second Save under one name that adds an entry, a Delete that Undo cannot
// take back byte for byte, a bookmark lost by Save or that does not open its star, an F12 or
// Ctrl+E that writes nothing where the notice says; and an Exit entry that does not end the run
// or a run that ends with a failure status.
TEST_F(ShareWindow, SteerReadASystemResizeThenShareAndExit)
{
    ASSERT_FALSE(code.empty()) << "--print-code printed nothing";
    bool met = false;
    Await("1-view", [](const SCREENSHOT_T &s) { return Count(s, VIEW_AREA, STAR) > 100; }, &met, 60s);
    ASSERT_TRUE(met) << viewer->Log();
    ASSERT_TRUE(MoveTo(700, 450) && HoldKey("space"));
    Xdotool("sleep 1");
    const SCREENSHOT_T held = window->Capture();
    Xdotool("sleep 1.5");
    held.SavePng(OutputPath(Name() + "-2-held.png"));
    ASSERT_TRUE(SameIn(held, window->Capture(), VIEW_AREA)) << "the camera moved after Space";
    ASSERT_FALSE(CardShown(held));

    // A star left of where the card will open, away from the edges; the held camera keeps it
    // there for every click below.
    int x = -1, y = -1;
    for (int row = 200; row < 700 && x < 0; row += 3)
        for (int col = 200; col < 880 && x < 0; col++)
            if (IsStar(held, col, row)) x = col, y = row;
    ASSERT_GE(x, 0) << "no star to click";
    ASSERT_TRUE(Click(x, y));
    Await("3-card", CardShown, &met, 20s);
    ASSERT_TRUE(met) << "a click on the star at (" << x << ", " << y << ") opened no card";
    ASSERT_TRUE(Click(CARD_CLOSE_X, CARD_CLOSE_Y));
    MoveTo(700, 450);
    Await("4-closed", [](const SCREENSHOT_T &s) { return s.width > 0 && !CardShown(s); }, &met, 20s);
    EXPECT_TRUE(met) << "the close box left the card open";

    // Open again, then click the empty sky: no star within 20 pixels.
    ASSERT_TRUE(Click(x, y));
    Await("5-again", CardShown, &met, 20s);
    ASSERT_TRUE(met);
    ASSERT_TRUE(HoldKey("ctrl+shift+c")); // the star's link, for the paste below
    int sx = -1, sy = -1;
    for (int row = 150; row < 700 && sx < 0; row += 7)
        for (int col = 40; col < 880 && sx < 0; col += 7)
            if (Count(held, AREA_T{col - 20, row - 20, col + 20, row + 20}, BACKGROUND) == 40 * 40) sx = col, sy = row;
    ASSERT_GE(sx, 0) << "no empty sky to click";
    ASSERT_TRUE(Click(sx, sy));
    Await("6-sky", [](const SCREENSHOT_T &s) { return s.width > 0 && !CardShown(s); }, &met, 20s);
    EXPECT_TRUE(met) << "a click on empty space at (" << sx << ", " << sy << ") left the card open";
    // The link pasted back opens the same star's card.
    ASSERT_TRUE(HoldKey("ctrl+v"));
    Await("6b-link", CardShown, &met, 20s);
    EXPECT_TRUE(met) << "the star's link did not open its card again";
    ASSERT_TRUE(Click(sx, sy));
    Await("6c-sky", [](const SCREENSHOT_T &s) { return s.width > 0 && !CardShown(s); }, &met, 20s);
    ASSERT_TRUE(met);

    EXPECT_TRUE(Drag(600, 900, 450, [&](const SCREENSHOT_T &s) { return !SameIn(s, held, VIEW_AREA); }))
        << "a left drag did not turn the scene";
    Xdotool("sleep 1");
    const SCREENSHOT_T turned = window->Capture();
    MoveTo(700, 450);
    ASSERT_TRUE(Xdotool("click --repeat 8 --delay 200 4"));
    Await("7-zoomed", [&](const SCREENSHOT_T &s) { return !SameIn(s, turned, VIEW_AREA); }, &met, 20s);
    EXPECT_TRUE(met) << "eight wheel notches did not change the scene";

    ASSERT_TRUE(HoldKey("Tab"));
    Await("8-panel", PanelShown, &met, 20s);
    EXPECT_TRUE(met) << "Tab did not show the generator panel";
    MoveTo(900, 450);
    ASSERT_TRUE(HoldKey("Tab"));
    Await("9-no-panel", [](const SCREENSHOT_T &s) { return Count(s, PANEL_AREA, WINDOW_FILL) < 1000; }, &met, 20s);
    EXPECT_TRUE(met) << "a second Tab did not hide the panel";

    const std::string id = std::to_string(window->Id());
    // Ends at the start size, where the panel's controls are sought below.
    for (const std::pair<int, int> &size : {std::pair<int, int>{800, 500}, {1920, 1080}, {1366, 768}})
    {
        // At the screen's corner, so a window as large as the screen stays wholly on it.
        ASSERT_TRUE(Xdotool("windowmove --sync " + id + " 0 0"));
        ASSERT_TRUE(Xdotool("windowsize --sync " + id + " " + std::to_string(size.first) + " " +
                            std::to_string(size.second)));
        const SCREENSHOT_T shot = Await(
            "10-" + std::to_string(size.first) + "x" + std::to_string(size.second),
            [&](const SCREENSHOT_T &s) { return s.width == size.first && ControlsInside(s, size.first); }, &met,
            20s);
        EXPECT_TRUE(met) << "at " << size.first << " x " << size.second << " a heads-up line or the DEBUG button "
                         << "is not where it belongs (window " << shot.width << " x " << shot.height << ")";
    }

    // The panel beside the view.
    ASSERT_TRUE(HoldKey("Tab"));
    const SCREENSHOT_T original = ParkedPanel("11-opened", nullptr);
    ASSERT_TRUE(PanelShown(original)) << viewer->Log();

    // Ctrl+C, a change, then Ctrl+V: the panel returns to the copied galaxy.
    ASSERT_TRUE(HoldKey("ctrl+c"));
    ASSERT_TRUE(CurvatureMoved(original)) << "the curvature slider did not move";
    MoveTo(900, 400);
    ASSERT_TRUE(HoldKey("ctrl+v"));
    ParkedPanel("12-pasted", &original);
    EXPECT_TRUE(SamePanel(window->Capture(), original)) << "Ctrl+V did not bring back the copied galaxy";
    // A copy and a paste in one frame: the paste must not read the text the copy freed (the
    // sanitizer build aborts on it), and the galaxy is the same one again.
    ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(window->Id())) &&
                Xdotool(std::string("key --delay 0 ctrl+c ctrl+v sleep ") + HOLD));
    ASSERT_TRUE(viewer->Running()) << "copy and paste in one frame ended the viewer\n" << viewer->Log();
    ParkedPanel("12b-copied-and-pasted", &original);
    EXPECT_TRUE(SamePanel(window->Capture(), original)) << "copy and paste in one frame changed the galaxy";

    // Save under a name from the panel's Save button.
    ASSERT_TRUE(Click(112, 645));
    ASSERT_TRUE(Click(480, 130)); // the name box
    ASSERT_TRUE(TypeSlowly("Spiral"));
    ASSERT_TRUE(HoldKey("Return"));
    const std::string saved = folder + "/data/galaxy_viewer/galaxies.txt";
    for (int i = 0; i < 50 && FileContents(saved).find("Spiral") == std::string::npos; i++) Xdotool("sleep 0.2");
    EXPECT_NE(FileContents(saved).find(code), std::string::npos) << "saved list:\n" << FileContents(saved);

    // Back to the panel, change it, then Load the saved entry.
    ASSERT_TRUE(Click(ENTRY_X, EntryY(0))); // Start
    const SCREENSHOT_T back = ParkedPanel("13-back", nullptr);
    ASSERT_TRUE(CurvatureMoved(back));
    ASSERT_TRUE(Click(267, 645)); // Load...
    ASSERT_TRUE(Click(748, 105)); // the first saved galaxy
    ParkedPanel("14-loaded", &original);
    EXPECT_TRUE(SamePanel(window->Capture(), original)) << "Load did not reproduce the saved galaxy";

    // F12 and Ctrl+E write new files into the user's folders.
    ASSERT_TRUE(HoldKey("F12"));
    ASSERT_TRUE(HoldKey("ctrl+e"));
    std::string pictures, exports;
    for (int i = 0; i < 50 && (pictures.empty() || exports.empty()); i++)
    {
        Xdotool("sleep 0.2");
        RunCommand("ls '" + folder + "/pictures' 2>/dev/null | grep -c '\\.png$'", &pictures);
        RunCommand("ls '" + folder + "/data/galaxy_viewer/exports' 2>/dev/null | grep -c '\\.csv$'", &exports);
        if (pictures == "0\n") pictures.clear();
        if (exports == "0\n") exports.clear();
    }
    EXPECT_EQ(pictures, "1\n") << "F12 wrote no picture";
    EXPECT_EQ(exports, "1\n") << "Ctrl+E wrote no export";
    std::string signature;
    RunCommand("head -c 8 '" + folder + "/pictures/'*.png | od -An -tx1", &signature);
    EXPECT_NE(signature.find("89 50 4e 47"), std::string::npos) << "not a PNG";

    // Ctrl+F finds a star by the name --system gives it, once the names are indexed (the box
    // lists a match), and Enter opens that star's card.
    std::string json;
    RunCommand(std::string(GALAXY_VIEWER_PATH) + " --code " + code + " --system 11", &json);
    const size_t quote = json.find("\"name\": \"");
    ASSERT_NE(quote, std::string::npos) << json;
    const std::string name = json.substr(quote + 9, json.find('"', quote + 9) - quote - 9);
    ASSERT_TRUE(HoldKey("ctrl+f"));
    ASSERT_TRUE(TypeSlowly(name));
    Await("14b-listed", [](const SCREENSHOT_T &s) { return s.CountColor(463, 30, 903, 60, 0, 94, 140) > 50; }, &met,
          30s);
    ASSERT_TRUE(met) << "Ctrl+F listed no star for \"" << name << "\"";
    ASSERT_TRUE(HoldKey("Return"));
    Await("14c-found", CardShown, &met, 20s);
    EXPECT_TRUE(met) << "Enter on \"" << name << "\" opened no card";

    // Bookmark on the card, a note typed into its box (letters that are shortcuts elsewhere),
    // Enter: the star goes into the saved galaxies file at once.
    ASSERT_TRUE(Click(CARD_BOOKMARK_X, CARD_CLOSE_Y));
    Await(
        "14c2-note", [](const SCREENSHOT_T &s) { return Count(s, CARD_NOTE_AREA, PRESSED_FILL) > 2000; }, &met,
        20s);
    ASSERT_TRUE(met) << "Bookmark opened no note box on the card";
    ASSERT_TRUE(TypeSlowly("Lantern"));
    ASSERT_TRUE(HoldKey("Return"));
    const std::string markPrefix = "\nbookmark\t" + code + "#";
    for (int i = 0; i < 50 && FileContents(saved).find(markPrefix) == std::string::npos; i++)
        Xdotool("sleep 0.2");
    const std::string marked = FileContents(saved);
    const size_t mark = marked.find(markPrefix);
    ASSERT_NE(mark, std::string::npos) << "no bookmark in the saved list:\n" << marked;
    const std::string markLine = marked.substr(mark + 1, marked.find('\n', mark + 1) - mark - 1);
    EXPECT_EQ(markLine.substr(markLine.rfind('\t')), "\tLantern") << markLine;
    // Closed, so that only the bookmark can bring the card back below.
    ASSERT_TRUE(Click(CARD_CLOSE_X, CARD_CLOSE_Y));
    MoveTo(700, 450);
    Await("14c3-closed", [](const SCREENSHOT_T &s) { return s.width > 0 && !CardShown(s); }, &met, 20s);
    ASSERT_TRUE(met);

    // Save twice under the taken name: asked once, then replaced; one entry, the bookmark kept.
    ASSERT_TRUE(Click(112, 645)); // Save...
    ASSERT_TRUE(Click(480, 130));
    ASSERT_TRUE(TypeSlowly("Spiral"));
    ASSERT_TRUE(HoldKey("Return"));
    ASSERT_TRUE(HoldKey("Return"));
    Xdotool("sleep 1");
    const std::string twice = FileContents(saved);
    size_t spirals = 0;
    for (size_t at = twice.find("\tSpiral\n"); at != std::string::npos; at = twice.find("\tSpiral\n", at + 1))
        spirals++;
    EXPECT_EQ(spirals, 1u) << "saved list:\n" << twice;
    EXPECT_NE(twice.find(markLine + "\n"), std::string::npos) << "Save lost the bookmark:\n" << twice;

    // Load: Delete the galaxy, then Undo: the file is as it was, byte for byte.
    ASSERT_TRUE(Click(ENTRY_X, EntryY(1))); // Load
    Xdotool("sleep 0.5");
    ASSERT_TRUE(Click(LOAD_DELETE_X, LOAD_ROW_Y));
    for (int i = 0; i < 50 && FileContents(saved) == twice; i++) Xdotool("sleep 0.2");
    EXPECT_EQ(FileContents(saved).find("\tSpiral\n"), std::string::npos) << "Delete left the galaxy";
    ASSERT_TRUE(Click(LOAD_DELETE_X, LOAD_UNDO_Y));
    Await("14c4-undone", [&](const SCREENSHOT_T &) { return FileContents(saved) == twice; }, &met, 10s);
    EXPECT_EQ(FileContents(saved), twice) << "Undo did not restore the file as it was";
    // The bookmark, listed under its galaxy, opens the galaxy and that star's card again.
    ASSERT_TRUE(Click(748, LOAD_ROW_Y + 34));
    MoveTo(700, 450);
    Await("14d-bookmark", CardShown, &met, 30s);
    EXPECT_TRUE(met) << "the bookmark opened no card";

    // Load... leads back to the menu, whose Exit entry ends the run.
    ASSERT_TRUE(Click(267, 645));
    Await("15-menu", [](const SCREENSHOT_T &s) { return s.width > 0 && Count(s, MENU_AREA, WINDOW_FILL) > 10000; },
          &met);
    ASSERT_TRUE(met) << "Load... did not bring up the menu";
    ASSERT_TRUE(Click(ENTRY_X, EntryY(4))); // Exit
    EXPECT_EQ(viewer->WaitExit(30s), 0) << viewer->Log();
}

namespace
{
class SystemWindow : public ScreensWindow
{
  protected:
    std::vector<std::string> Arguments() const override
    {
        return {"--seed", "5", "--view", "--star", "20", "--debug", "off"};
    }
};

// The system view's bar, centred left of the card, with its active toggles (Forward, and the
// speed) in raygui's pressed colour; the pause toggle at (410, 739) and x1 beside it.
constexpr AREA_T BAR_AREA = {90, 720, 840, 760};
constexpr int PAUSE_X = 410, X1_X = 472, BAR_Y = 739;
// Where the system turns, clear of the heads-up lines, the card and the bar.
constexpr AREA_T ORRERY_AREA = {0, 120, 900, 700};

bool BarShown(const SCREENSHOT_T &s)
{
    return s.width == 1366 && Count(s, BAR_AREA, PRESSED_FILL) > 2000;
}

// Pixels of the area whose colour changed by more than a trace between two frames.
std::vector<std::pair<int, int>> Changed(const SCREENSHOT_T &a, const SCREENSHOT_T &b, AREA_T area)
{
    std::vector<std::pair<int, int>> changed;
    for (int y = area.y0; y < area.y1; y++)
        for (int x = area.x0; x < area.x1; x++)
        {
            const SCREENSHOT_T::PIXEL_T p = a.At(x, y), q = b.At(x, y);
            if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 60) changed.emplace_back(x, y);
        }
    return changed;
}

// Green of the habitable zone in the card's orbit diagram, which only the whole system's card has.
int DiagramGreen(const SCREENSHOT_T &s)
{
    int green = 0;
    for (int y = CARD_AREA.y0; y < CARD_AREA.y1; y++)
        for (int x = CARD_AREA.x0; x < CARD_AREA.x1; x++)
        {
            const SCREENSHOT_T::PIXEL_T p = s.At(x, y);
            if (p.g > p.r + 20 && p.g > p.b + 10) green++;
        }
    return green;
}
} // namespace

// Into a star's system and back, as a person goes. Catches --star that does not open the
// system view, planets that stand still or time that will not pause, a click on a planet that
// does not tell of it on the card, and a Backspace that does not glide back to the galaxy with
// the star's card still open.
TEST_F(SystemWindow, VisitAStarWatchItsPlanetsOpenOneAndGoBack)
{
    bool met = false;
    const SCREENSHOT_T first = Await("1-system", [](const SCREENSHOT_T &s) { return BarShown(s) && CardShown(s); },
                                     &met, 60s);
    ASSERT_TRUE(met) << "--star opened no system view with its card";
    ASSERT_GT(DiagramGreen(first), 200) << "the card shows no orbit diagram";
    MoveTo(20, 700); // away from every body, so no hover ring comes and goes
    std::this_thread::sleep_for(1500ms);
    const SCREENSHOT_T running = window->Capture();
    EXPECT_GT(Changed(first, running, ORRERY_AREA).size(), 100u) << "nothing moved in 1.5 s of time at x1";

    // Paused, the system stands still; run a moment and pause again, and what moved are the
    // bodies, drawn where they are now.
    ASSERT_TRUE(Click(PAUSE_X, BAR_Y));
    // Paused, two frames a second apart are the same (the cameras' last smoothing steps and a
    // slow frame may still change one pair, so a few pairs are tried).
    SCREENSHOT_T paused = Await("2-paused", BarShown, &met, 10s);
    bool still = false;
    for (int attempt = 0; attempt < 6 && !still; attempt++)
    {
        std::this_thread::sleep_for(1000ms);
        const SCREENSHOT_T next = window->Capture();
        still = Changed(paused, next, ORRERY_AREA).empty();
        paused = next;
    }
    EXPECT_TRUE(still) << "time ran on while paused";
    ASSERT_TRUE(Click(X1_X, BAR_Y));
    std::this_thread::sleep_for(1200ms);
    ASSERT_TRUE(Click(PAUSE_X, BAR_Y));
    std::this_thread::sleep_for(800ms);
    const SCREENSHOT_T moved = Await("3-moved", BarShown, &met, 10s);
    // The pixels that brightened most: lit bodies that came to where the sky was dark. A belt's
    // stones move too and cannot be picked, so the brightest few places are tried in turn.
    std::vector<std::tuple<int, int, int>> gains;
    for (const auto &[cx, cy] : Changed(paused, moved, ORRERY_AREA))
    {
        const SCREENSHOT_T::PIXEL_T now = moved.At(cx, cy), before = paused.At(cx, cy);
        gains.emplace_back((now.r + now.g + now.b) - (before.r + before.g + before.b), cx, cy);
    }
    std::sort(gains.begin(), gains.end(), std::greater<>());
    ASSERT_FALSE(gains.empty()) << "no body moved while time ran";
    std::vector<std::pair<int, int>> tried;
    for (const auto &[gain, x, y] : gains)
    {
        if (tried.size() == 4) break;
        bool near = false;
        for (const auto &[tx, ty] : tried) near = near || (std::abs(tx - x) < 12 && std::abs(ty - y) < 12);
        if (near) continue;
        tried.emplace_back(x, y);
        ASSERT_TRUE(Click(x, y));
        Await("4-planet", [](const SCREENSHOT_T &s) { return CardShown(s) && DiagramGreen(s) < 20; }, &met, 6s);
        if (met) break;
    }
    EXPECT_TRUE(met) << "a click on any of " << tried.size() << " moved places did not tell of a body on the card";

    // Backspace glides back: the bar goes, the galaxy is bright again and the card stays open.
    ASSERT_TRUE(HoldKey("BackSpace"));
    Await("5-galaxy", [](const SCREENSHOT_T &s) { return CardShown(s) && !BarShown(s) && Count(s, BAR_AREA, PRESSED_FILL) == 0; },
          &met, 20s);
    EXPECT_TRUE(met) << "Backspace did not bring the galaxy back with the card open";
    ASSERT_TRUE(HoldKey("Escape"));
    EXPECT_EQ(viewer->WaitExit(30s), 0) << viewer->Log();
}

namespace
{
// The view of seed 5 as a new user met it, with DEBUG off.
class SmallWindow : public ScreensWindow
{
  protected:
    std::vector<std::string> Arguments() const override { return {"--seed", "5", "--view", "--debug", "off"}; }

    // Two presses at one place, each seen by its own frame, quickly enough for a double click.
    bool DoubleClick(int x, int y) const
    {
        return MoveTo(x, y) && Xdotool("sleep 0.3 mousedown 1 sleep 0.12 mouseup 1 sleep 0.12 mousedown 1 sleep 0.12 "
                                       "mouseup 1 sleep 0.3");
    }
};

// Pixels the galaxy lights left of where a card would open, below the heads-up band: the soft
// look's stars and glow, anything well brighter than the sky.
int LitPixels(const SCREENSHOT_T &shot)
{
    int lit = 0;
    for (int y = 120; y < std::min(shot.height, 768); y++)
        for (int x = 0; x < std::min(shot.width, 900); x++)
        {
            const SCREENSHOT_T::PIXEL_T p = shot.At(x, y);
            lit += std::max({p.r, p.g, p.b}) >= 120;
        }
    return lit;
}
} // namespace

// What a new user stumbled on. Catches double clicks near the horizon of the start view that
// send the camera's centre far beyond the disc, so that the galaxy leaves the screen; and a
// panel in a short window that cannot reach Start: no scroll bar, a wheel that does not scroll
// it, or a Start that a click does not press there.
TEST_F(SmallWindow, FarDoubleClicksKeepTheGalaxyAndAShortPanelScrollsToStart)
{
    bool met = false;
    const SCREENSHOT_T first = Await("1-view", [](const SCREENSHOT_T &s) { return LitPixels(s) > 2000; }, &met, 60s);
    ASSERT_TRUE(met) << "the galaxy never lit the view: " << LitPixels(first) << "\n" << viewer->Log();
    ASSERT_TRUE(MoveTo(683, 600) && HoldKey("space")); // the camera holds still between the clicks

    ASSERT_TRUE(DoubleClick(683, 256));
    Xdotool("sleep 1.5");
    SCREENSHOT_T shot = Await("2-horizon", [](const SCREENSHOT_T &s) { return LitPixels(s) > 2000; }, &met, 10s);
    EXPECT_TRUE(met) << "a double click at (683, 256) lost the galaxy: lit " << LitPixels(shot);
    const SCREENSHOT_T before = window->Capture();
    ASSERT_TRUE(DoubleClick(683, 300));
    shot = Await(
        "3-below-horizon", [&](const SCREENSHOT_T &s) { return !SameIn(s, before, AREA_T{0, 120, 900, 768}); }, &met,
        20s);
    ASSERT_TRUE(met) << "a double click at (683, 300) did not move the camera";
    Xdotool("sleep 1.5");
    shot = Await("4-rim", [](const SCREENSHOT_T &s) { return LitPixels(s) > 2000; }, &met, 10s);
    EXPECT_TRUE(met) << "a double click at (683, 300) lost the galaxy: lit " << LitPixels(shot);
    // A double click that lands on a star goes into its system; Backspace comes back.
    if (BarShown(shot))
    {
        ASSERT_TRUE(HoldKey("BackSpace"));
        Await("4b-back", [](const SCREENSHOT_T &s) { return !BarShown(s) && LitPixels(s) > 2000; }, &met, 20s);
        ASSERT_TRUE(met) << "Backspace did not come back from the system the double click went into";
    }

    const std::string id = std::to_string(window->Id());
    ASSERT_TRUE(Xdotool("windowmove --sync " + id + " 0 0") && Xdotool("windowsize --sync " + id + " 820 520"));
    Await("5-small", [](const SCREENSHOT_T &s) { return s.width == 820 && s.height == 520; }, &met, 20s);
    ASSERT_TRUE(met) << "the window did not become 820 x 520";
    ASSERT_TRUE(MoveTo(600, 300) && HoldKey("Tab"));
    const AREA_T shown = {20, 20, 360, 500};
    shot = Await("6-panel", [&](const SCREENSHOT_T &s) { return Count(s, shown, WINDOW_FILL) > 60000; }, &met, 20s);
    ASSERT_TRUE(met) << "Tab showed no panel in the small window";
    // The scroll bar's column at the panel's right edge, plain panel where no bar is.
    EXPECT_LT(Count(shot, AREA_T{350, 52, 356, 490}, WINDOW_FILL), 200) << "no scroll bar on the cut panel";

    ASSERT_TRUE(MoveTo(190, 300) && Xdotool("click --repeat 8 --delay 200 5 sleep 1"));
    Await("7-scrolled", [](const SCREENSHOT_T &s) { return s.width == 820; }, &met, 10s);
    ASSERT_TRUE(Click(190, 460)); // Start, at the end of the scroll; a slider before it
    MoveTo(600, 300);
    shot = Await("8-view", [&](const SCREENSHOT_T &s) { return s.width == 820 && Count(s, shown, WINDOW_FILL) < 1000; },
                 &met, 20s);
    EXPECT_TRUE(met) << "Start, scrolled into reach, did not start the view";

    ASSERT_TRUE(HoldKey("Escape"));
    EXPECT_EQ(viewer->WaitExit(30s), 0) << viewer->Log();
}
