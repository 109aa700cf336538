// The main menu's transitions and layout, driven through the input seam with no window.
#include <gtest/gtest.h>

#include <cstring>

#include "app/main_menu.h"
#include "app/screen_state.h"

namespace
{
constexpr Rectangle MENU_BOUNDS = {20.0f, 528.0f, 220.0f, 220.0f};

// Centre of entry `row` of a toggle list whose first toggle is `first` (rows 31 high, 2 apart).
Vector2 Entry(Rectangle first, int row)
{
    return Vector2{first.x + first.width / 2.0f, first.y + row * 33.0f + 15.0f};
}

class MainMenuTest : public ::testing::Test
{
  protected:
    // One frame with the pointer at p and, if `click`, the left button released there.
    void Frame(Vector2 p, bool click)
    {
        GUI_INPUT_T input = {};
        input.mouse = p;
        input.left_released = click;
        input.screen_width = 1366;
        input.screen_height = 768;
        MainMenu(&menu, MENU_BOUNDS, &menu_state, &input);
    }
    void Idle(void) { Frame(Vector2{700.0f, 400.0f}, false); }
    void Click(Vector2 p) { Frame(p, true); }
    void Choose(int row) { Click(Entry(layout.list, row)); }

    MAIN_MENU_T menu = {};
    int32_t menu_state = STATE_MAIN_MENU;
    const MAIN_MENU_LAYOUT_T layout = MainMenuLayout(MENU_BOUNDS, 1366, 768);
};
} // namespace

// Catches rectangles computed from the wrong edges: the windows beside the menu follow the
// window size in the same frame, the menu and its list stay at the menu's bounds.
TEST(MainMenuLayoutTest, RectanglesFollowBoundsAndWindowSize)
{
    const MAIN_MENU_LAYOUT_T at1366 = MainMenuLayout(MENU_BOUNDS, 1366, 768);
    EXPECT_EQ(at1366.content.x, 260.0f);
    EXPECT_EQ(at1366.content.y, 20.0f);
    EXPECT_EQ(at1366.content.width, 1086.0f);
    EXPECT_EQ(at1366.content.height, 728.0f);
    EXPECT_EQ(at1366.column.x, 20.0f);
    EXPECT_EQ(at1366.column.height, 488.0f);
    EXPECT_EQ(at1366.list.x, 53.0f);
    EXPECT_EQ(at1366.list.y, 568.0f);
    EXPECT_EQ(at1366.list.width, 154.0f);
    EXPECT_EQ(at1366.list.height, 31.0f);
    EXPECT_EQ(at1366.options_list.x, 53.0f);
    EXPECT_EQ(at1366.options_list.y, 60.0f);

    const MAIN_MENU_LAYOUT_T resized = MainMenuLayout(MENU_BOUNDS, 1000, 600);
    EXPECT_EQ(resized.content.width, 720.0f);
    EXPECT_EQ(resized.content.height, 560.0f);
    EXPECT_EQ(resized.list.y, at1366.list.y);
}

// Catches a menu that opens a screen or leaves the menu state before the user chooses.
TEST_F(MainMenuTest, FirstCallHighlightsNothing)
{
    Idle();
    EXPECT_TRUE(menu.initialised);
    EXPECT_EQ(menu.active, -1);
    EXPECT_EQ(menu.selected, -1);
    EXPECT_EQ(menu_state, STATE_MAIN_MENU);
}

// Catches Start leading anywhere but the generator panel, acting a frame late, or leaving the
// menu unreset (it must start over if shown again).
TEST_F(MainMenuTest, StartLeadsToTheGeneratorPanelAndResets)
{
    Idle();
    Choose(0);
    EXPECT_EQ(menu_state, STATE_GENERATOR);
    EXPECT_EQ(menu.active, -1);
    EXPECT_FALSE(menu.initialised);

    menu_state = STATE_MAIN_MENU;
    Idle();
    EXPECT_EQ(menu.selected, -1);
    EXPECT_EQ(menu_state, STATE_MAIN_MENU);
}

// Catches Load and Save doing more than switching the content window's title, and a close
// box on those windows that does something.
TEST_F(MainMenuTest, LoadThenSaveSwitchesOnlyTheTitle)
{
    Idle();
    Choose(1);
    EXPECT_EQ(menu.selected, MENU_ENTRY_LOAD);
    EXPECT_STREQ(MainMenuScreenTitle(menu.selected), "#005#Load");
    Choose(2);
    EXPECT_EQ(menu.selected, MENU_ENTRY_SAVE);
    EXPECT_EQ(menu.active, 2);
    EXPECT_STREQ(MainMenuScreenTitle(menu.selected), "#006#Save");
    EXPECT_EQ(menu_state, STATE_MAIN_MENU);

    const Rectangle close = WindowCloseBoxBounds(layout.content);
    Click(Vector2{close.x + 9.0f, close.y + 9.0f});
    EXPECT_EQ(menu_state, STATE_MAIN_MENU);
    EXPECT_EQ(menu.selected, MENU_ENTRY_SAVE);

    // Clicking the highlighted entry again changes nothing.
    Choose(2);
    EXPECT_EQ(menu.active, 2);
    EXPECT_EQ(menu.selected, MENU_ENTRY_SAVE);
}

// Catches an options list that forgets its choice when the screen is left and reopened, whose
// entries do anything but highlight, or whose Back does not return to the main list.
TEST_F(MainMenuTest, OptionsListKeepsItsChoiceAcrossVisits)
{
    Idle();
    Choose(3);
    EXPECT_EQ(menu.selected, MENU_ENTRY_OPTIONS);
    EXPECT_TRUE(menu.options_initialised);
    EXPECT_EQ(menu.options_active, -1);

    Click(Entry(layout.options_list, 1)); // Graphics
    EXPECT_EQ(menu.options_active, 1);
    Click(Entry(layout.options_list, 4)); // Back
    EXPECT_EQ(menu.selected, -1);
    EXPECT_EQ(menu.active, -1);
    EXPECT_EQ(menu_state, STATE_MAIN_MENU);

    Choose(1);
    EXPECT_EQ(menu.selected, MENU_ENTRY_LOAD);
    Choose(3);
    EXPECT_EQ(menu.options_active, 1);
}

// Catches Exit that does not end the run or leaves the menu unreset.
TEST_F(MainMenuTest, ExitEndsTheRun)
{
    Idle();
    Choose(4);
    EXPECT_EQ(menu_state, STATE_EXIT);
    EXPECT_EQ(menu.active, -1);
    EXPECT_FALSE(menu.initialised);
}

// Catches close boxes that do not end the run: the menu's own window and both Options windows.
TEST_F(MainMenuTest, CloseBoxesOfMenuAndOptionsWindowsEndTheRun)
{
    Idle();
    const Rectangle menuClose = WindowCloseBoxBounds(MENU_BOUNDS);
    Click(Vector2{menuClose.x + 9.0f, menuClose.y + 9.0f});
    EXPECT_EQ(menu_state, STATE_EXIT);

    for (const Rectangle window : {layout.column, layout.content})
    {
        MAIN_MENU_T fresh = {};
        menu = fresh;
        menu_state = STATE_MAIN_MENU;
        Idle();
        Choose(3);
        ASSERT_EQ(menu_state, STATE_MAIN_MENU);
        const Rectangle close = WindowCloseBoxBounds(window);
        Click(Vector2{close.x + 9.0f, close.y + 9.0f});
        EXPECT_EQ(menu_state, STATE_EXIT) << "close box at " << close.x << ", " << close.y;
    }
}
