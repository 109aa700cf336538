// The main menu: a window with a column of toggles, and beside it the Load and Save screens
// or the Options windows. Options changes no setting yet.
#include "app/main_menu.h"

#include "app/screen_state.h"

// raygui reads a leading "#nnn#" as an icon; "#000#" is an empty icon that only indents.
static const char *const MAIN_ENTRIES = "#131#Start\n#005#Load\n#006#Save\n#190#Options\n#159#Exit";
static const char *const OPTIONS_ENTRIES = "#150#Game\n#181#Graphics\n#122#Audio\n#052#Controls\n#159#Back";
static const char *const MAIN_TITLE = "";
// raygui draws an icon only at the start of a text, so a title holds one icon code at most.
static const char *const LOAD_TITLE = "#005#Load";
static const char *const SAVE_TITLE = "#006#Save";
static const char *const OPTIONS_TITLE = "#190#Options";
constexpr int32_t OPTIONS_ENTRY_BACK = 4;

MAIN_MENU_LAYOUT_T MainMenuLayout(Rectangle bounds, int screenWidth, int screenHeight)
{
    MAIN_MENU_LAYOUT_T layout = {};
    layout.content =
        Rectangle{bounds.width + 40.0f, 20.0f, screenWidth - bounds.width - 60.0f, screenHeight - 40.0f};
    layout.column = Rectangle{bounds.x, 20.0f, bounds.width, bounds.y - 40.0f};
    layout.list =
        Rectangle{bounds.x + 0.15f * bounds.width, bounds.y + 40.0f, 0.7f * bounds.width, MENU_TOGGLE_HEIGHT};
    const Rectangle column = layout.column;
    layout.options_list =
        Rectangle{column.x + 0.15f * column.width, column.y + 40.0f, 0.7f * column.width, MENU_TOGGLE_HEIGHT};
    return layout;
}

const char *MainMenuScreenTitle(int32_t selected)
{
    switch (selected)
    {
    case MENU_ENTRY_LOAD:
        return LOAD_TITLE;
    case MENU_ENTRY_SAVE:
        return SAVE_TITLE;
    case MENU_ENTRY_OPTIONS:
        return OPTIONS_TITLE;
    default:
        return nullptr;
    }
}

void OpenMainMenuEntry(MAIN_MENU_T *menu, int32_t entry)
{
    menu->initialised = true;
    menu->active = entry - 1;
    menu->selected = entry;
}

void MainMenu(MAIN_MENU_T *menu, Rectangle bounds, int32_t *menu_state, GUI_INPUT_T *input)
{
    const MAIN_MENU_LAYOUT_T layout = MainMenuLayout(bounds, input->screen_width, input->screen_height);

    if (!menu->initialised)
    {
        menu->initialised = true;
        menu->active = -1;
        menu->selected = -1;
    }

    if (menu->selected != MENU_ENTRY_START)
    {
        if (ScreenWindowBox(bounds, MAIN_TITLE, input)) *menu_state = STATE_EXIT;
        menu->active = ScreenToggleGroup(layout.list, MAIN_ENTRIES, menu->active, input);
        if (menu->active >= 0) menu->selected = menu->active + 1;
    }

    // Tested after the list has updated selected, so a choice acts in the frame of the click.
    if (menu->selected == MENU_ENTRY_START)
    {
        // Starts over should the menu ever be shown again.
        menu->active = -1;
        menu->initialised = false;
        *menu_state = STATE_GENERATOR;
    }

    if (menu->selected != menu->shown_selected) ReopenSavedGalaxiesScreen(&menu->saved);
    menu->shown_selected = menu->selected;
    if (menu->selected == MENU_ENTRY_SAVE) SaveGalaxyScreen(&menu->saved, layout.content, SAVE_TITLE, input);
    if (menu->selected == MENU_ENTRY_LOAD)
    {
        LoadGalaxyScreen(&menu->saved, layout.content, LOAD_TITLE, input);
        if (menu->saved.open_requested)
        {
            menu->active = -1;
            menu->selected = -1;
            menu->shown_selected = -1; // the Load screen closes: coming back opens it anew
            menu->initialised = false;
            *menu_state = STATE_GENERATOR;
        }
    }

    if (menu->selected == MENU_ENTRY_OPTIONS)
    {
        if (!menu->options_initialised)
        {
            menu->options_initialised = true;
            menu->options_active = -1;
        }
        if (ScreenWindowBox(layout.column, OPTIONS_TITLE, input)) *menu_state = STATE_EXIT;
        if (ScreenWindowBox(layout.content, OPTIONS_TITLE, input)) *menu_state = STATE_EXIT;
        const int32_t chosen = ScreenToggleGroup(layout.options_list, OPTIONS_ENTRIES, menu->options_active, input);
        if (chosen == OPTIONS_ENTRY_BACK)
        {
            // Back closes the Options windows; the list keeps the choice it had before.
            menu->active = -1;
            menu->selected = -1;
        }
        else
        {
            menu->options_active = chosen;
        }
    }

    if (menu->selected == MENU_ENTRY_EXIT)
    {
        menu->active = -1;
        menu->initialised = false;
        *menu_state = STATE_EXIT;
    }
}
