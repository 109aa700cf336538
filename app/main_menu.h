// The main menu and the screens it opens (Load, Save, Options): a record that lives across
// frames and one function per frame that reads the input, updates the record and the shell's
// menu_state, and draws.
#pragma once

#include <cstdint>

#include "app/gui.h"
#include "app/saved_galaxies_screen.h"

struct MAIN_MENU_T
{
    int32_t active = 0;         // highlighted entry of the main list, -1 for none
    int32_t selected = 0;       // open screen: active + 1 (see MENU_ENTRY_*), -1 for none
    bool initialised = false;   // false until a call sets active and selected to -1
    int32_t options_active = 0; // highlighted entry of the options list, -1 for none
    bool options_initialised = false;
    SAVED_GALAXIES_SCREEN_T saved;  // the Save and Load screens
    int32_t shown_selected = -1;    // selected as of the last call: a screen opened anew rereads its list
};

// selected: which entry of the main list was chosen.
constexpr int32_t MENU_ENTRY_START = 1;
constexpr int32_t MENU_ENTRY_LOAD = 2;
constexpr int32_t MENU_ENTRY_SAVE = 3;
constexpr int32_t MENU_ENTRY_OPTIONS = 4;
constexpr int32_t MENU_ENTRY_EXIT = 5;

// Height of one toggle of the menu's lists, in pixels.
constexpr float MENU_TOGGLE_HEIGHT = 31.0f;

struct MAIN_MENU_LAYOUT_T
{
    Rectangle content = {};      // right of the menu: the Load, Save and Options windows
    Rectangle column = {};       // above the menu: the second Options window
    Rectangle list = {};         // first toggle of the main list
    Rectangle options_list = {}; // first toggle of the options list
};

// The menu's rectangles for its bounds and the current window size; the windows beside the
// menu follow the window size, the menu itself stays at its bounds.
MAIN_MENU_LAYOUT_T MainMenuLayout(Rectangle bounds, int screenWidth, int screenHeight);

// Opens one entry's screen as if the user had chosen it (the generator panel's Save and Load
// buttons lead here).
void OpenMainMenuEntry(MAIN_MENU_T *menu, int32_t entry);

// Title of the window the chosen entry opens in the content area, or null when it opens none.
const char *MainMenuScreenTitle(int32_t selected);

// Called once a frame while menu_state is the main menu's. Start sets menu_state to the
// generator panel's; Exit and the close box of the menu or of an Options window end the run;
// Options' Back returns to the main list.
// A galaxy clicked in the Load list also leads to the generator panel, with
// menu->saved.open_requested set for the shell to hand it over.
void MainMenu(MAIN_MENU_T *menu, Rectangle bounds, int32_t *menu_state, GUI_INPUT_T *input);
