// A window program for one check: with a real window open, the screens decide from the input
// record alone, exactly as without one. It runs a menu frame before the window exists (which
// is what used to leave raygui with an empty font), opens a window, hands the menu a click on
// its Exit entry through the record only, and draws text with raygui afterwards.
// Exit status: 0 when the menu asked to exit and nothing crashed, 1 otherwise.
#include <cstdio>

#include "app/gui.h"
#include "app/main_menu.h"
#include "app/screen_state.h"

namespace
{
GUI_INPUT_T RecordAt(float x, float y, bool released)
{
    GUI_INPUT_T input = {};
    input.mouse = Vector2{x, y};
    input.left_released = released;
    input.screen_width = 1366;
    input.screen_height = 768;
    return input;
}

void Frame(MAIN_MENU_T *menu, int32_t *state, GUI_INPUT_T input)
{
    BeginDrawing();
    ClearBackground(Color{16, 16, 64, 255});
    MainMenu(menu, MAIN_MENU_BOUNDS, state, &input);
    ScreenButton(DEBUG_BUTTON_BOUNDS, "DEBUG", &input); // raygui text after the repair
    EndDrawing();
}
} // namespace

int main(void)
{
    MAIN_MENU_T menu = {};
    int32_t state = STATE_MAIN_MENU;
    GUI_INPUT_T idle = RecordAt(900.0f, 300.0f, false);
    MainMenu(&menu, MAIN_MENU_BOUNDS, &state, &idle); // before the window: logic only

    InitWindow(1366, 768, "record click");
    if (!IsWindowReady()) return 2;
    Frame(&menu, &state, RecordAt(900.0f, 300.0f, false));
    const int32_t before = state;
    // The real pointer is nowhere near; only the record says Exit was clicked.
    Frame(&menu, &state, RecordAt(130.0f, 715.0f, true));
    Frame(&menu, &state, RecordAt(900.0f, 300.0f, false));
    CloseWindow();

    std::printf("state before %d, after the record's click %d\n", (int)before, (int)state);
    return (before == STATE_MAIN_MENU && state == STATE_EXIT) ? 0 : 1;
}
