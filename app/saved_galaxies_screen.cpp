// Save and Load. Every change to the list is written at once through the saved-galaxies
// file's safe write, so a crash or a full disk never costs a galaxy saved before.
#include "app/saved_galaxies_screen.h"

#include <ctime>

#include "galaxy/galaxy_code.h"

namespace
{
constexpr float MARGIN = 20.0f;
constexpr float ROW_HEIGHT = 30.0f;
constexpr float ROW_STEP = 34.0f;
constexpr float LIST_TOP = 70.0f;       // below the window's title bar and a heading line
constexpr float DELETE_WIDTH = 90.0f;

Rectangle Line(Rectangle bounds, float y)
{
    return Rectangle{bounds.x + MARGIN, bounds.y + y, bounds.width - 2.0f * MARGIN, 20.0f};
}

Rectangle MessageBounds(Rectangle bounds)
{
    return Line(bounds, bounds.height - 30.0f);
}

void ReadListIfNeeded(SAVED_GALAXIES_SCREEN_T *screen)
{
    if (screen->list_read) return;
    screen->list_read = true;
    screen->list = SAVED_GALAXIES_T();
    screen->message.clear();
    if (screen->path.empty()) return;
    std::string error;
    if (!LoadSavedGalaxies(screen->path.c_str(), &screen->list, &error))
        screen->message = error;
    else
        screen->message = screen->list.problem;
}

// Writes the list; on failure the message says why, and the list is read again next frame so
// that the screen never shows what the file does not hold.
bool StoreList(SAVED_GALAXIES_SCREEN_T *screen)
{
    std::string error;
    if (screen->path.empty() || !StoreSavedGalaxies(screen->path.c_str(), screen->list, &error))
    {
        screen->message = screen->path.empty() ? "Saving is off: no data folder" : error;
        screen->list_read = false;
        return false;
    }
    return true;
}

int RowsThatFit(Rectangle bounds)
{
    const int rows = (int)((bounds.height - LIST_TOP - 50.0f) / ROW_STEP);
    return rows > 0 ? rows : 0;
}
} // namespace

Rectangle SavedGalaxyRowBounds(Rectangle bounds, int row)
{
    return Rectangle{bounds.x + MARGIN, bounds.y + LIST_TOP + ROW_STEP * row,
                     bounds.width - 3.0f * MARGIN - DELETE_WIDTH, ROW_HEIGHT};
}

Rectangle SavedGalaxyDeleteBounds(Rectangle bounds, int row)
{
    return Rectangle{bounds.x + bounds.width - MARGIN - DELETE_WIDTH, bounds.y + LIST_TOP + ROW_STEP * row,
                     DELETE_WIDTH, ROW_HEIGHT};
}

void SaveGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input)
{
    ReadListIfNeeded(screen);
    // Like the other windows beside the menu, its close box has nothing to close.
    ScreenWindowBox(bounds, title, input);

    if (!screen->have_current)
    {
        ScreenLabel(Line(bounds, 40.0f), "No galaxy yet: choose Start and shape one, then save it here.");
        ScreenLabel(MessageBounds(bounds), screen->message.c_str());
        return;
    }

    ScreenLabel(Line(bounds, 40.0f), TextFormat("Galaxy code: %s", EncodeGalaxyCode(screen->current).text));
    ScreenLabel(Line(bounds, 70.0f), "Name (type, then Enter or Save):");
    const Rectangle nameBox = {bounds.x + MARGIN, bounds.y + 95.0f, 400.0f, ROW_HEIGHT};
    const bool wasEditing = screen->name_edit_mode;
    if (GuiTextLine(nameBox, screen->name, (int)sizeof screen->name, screen->name_edit_mode, input))
        screen->name_edit_mode = !screen->name_edit_mode;
    const bool enterSaves = wasEditing && !screen->name_edit_mode && input->enter_pressed;

    const Rectangle saveButton = {nameBox.x + nameBox.width + 10.0f, nameBox.y, 120.0f, ROW_HEIGHT};
    if (ScreenButton(saveButton, "Save", input) || enterSaves)
    {
        const char *name = screen->name[0] != '\0' ? screen->name : "Untitled";
        ReadListIfNeeded(screen); // a failed write earlier asked for a fresh read
        AddSavedGalaxy(&screen->list, name, screen->current, std::time(nullptr));
        if (StoreList(screen)) screen->message = std::string("Saved \"") + name + "\" in " + screen->path;
        screen->name_edit_mode = false;
    }
    ScreenLabel(MessageBounds(bounds), screen->message.c_str());
}

void LoadGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input)
{
    ReadListIfNeeded(screen);
    ScreenWindowBox(bounds, title, input);
    screen->open_requested = false;

    const int count = (int)screen->list.entries.size();
    const int fit = RowsThatFit(bounds);
    // The wheel scrolls a list longer than the window, one row a notch.
    if (CheckCollisionPointRec(input->mouse, bounds)) screen->first_row -= (int32_t)input->wheel;
    if (screen->first_row > count - fit) screen->first_row = count - fit;
    if (screen->first_row < 0) screen->first_row = 0;

    if (count == 0)
        ScreenLabel(Line(bounds, 40.0f), "No saved galaxies yet: Save stores the current one.");
    else
        ScreenLabel(Line(bounds, 40.0f), TextFormat("%d saved galaxies: click one to open it", count));

    int deleted = -1;
    for (int row = 0; row < fit && screen->first_row + row < count; row++)
    {
        const int index = screen->first_row + row;
        const SAVED_GALAXY_T &entry = screen->list.entries[(size_t)index];
        const char *text = TextFormat("%s   %s   %s", entry.name.c_str(), entry.date.c_str(), entry.code.c_str());
        if (ScreenButton(SavedGalaxyRowBounds(bounds, row), text, input))
        {
            screen->open_requested = true;
            screen->open_shape = entry.shape;
            screen->message = "Opened \"" + entry.name + "\"";
        }
        if (ScreenButton(SavedGalaxyDeleteBounds(bounds, row), "Delete", input)) deleted = index;
    }
    if (count > fit && fit > 0)
    {
        ScreenLabel(Line(bounds, LIST_TOP + ROW_STEP * fit),
                    TextFormat("rows %d to %d of %d (the wheel scrolls)", screen->first_row + 1,
                               screen->first_row + fit, count));
    }

    if (deleted >= 0)
    {
        const std::string name = screen->list.entries[(size_t)deleted].name;
        DeleteSavedGalaxy(&screen->list, (size_t)deleted);
        if (StoreList(screen)) screen->message = "Deleted \"" + name + "\"";
    }
    ScreenLabel(MessageBounds(bounds), screen->message.c_str());
}
