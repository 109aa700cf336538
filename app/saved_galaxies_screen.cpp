// Save and Load. Every change to the list is written at once through the saved-galaxies
// file's safe write, so a crash or a full disk never costs a galaxy saved before; and no single
// click loses one either: a taken name asks first, a Delete can be undone.
#include "app/saved_galaxies_screen.h"

#include <algorithm>
#include <ctime>

#include "galaxy/galaxy_code.h"

namespace
{
constexpr float MARGIN = 20.0f;
constexpr float ROW_HEIGHT = 30.0f;
constexpr float ROW_STEP = 34.0f;
constexpr float LIST_TOP = 70.0f;       // below the window's title bar and a heading line
constexpr float DELETE_WIDTH = 90.0f;
constexpr float BOOKMARK_INDENT = 40.0f; // bookmarks stand under their galaxy, a step in

// One row of the Load list: a saved galaxy, a bookmark, or the heading of a galaxy that only
// bookmarks name (never saved, or deleted since).
enum LOAD_ROW_KIND_T
{
    LOAD_ROW_GALAXY,
    LOAD_ROW_BOOKMARK,
    LOAD_ROW_UNSAVED,
};

struct LOAD_ROW_T
{
    LOAD_ROW_KIND_T kind = LOAD_ROW_GALAXY;
    size_t index = 0; // into entries, or into bookmarks (for a heading, its first bookmark)
};

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

// Each galaxy with its bookmarks beneath (under the first entry of that code, should it be
// saved twice), then the bookmarks no saved galaxy holds, under their galaxy's code.
std::vector<LOAD_ROW_T> LoadRows(const SAVED_GALAXIES_T &list)
{
    std::vector<LOAD_ROW_T> rows;
    std::vector<bool> placed(list.bookmarks.size(), false);
    const auto placeMarksOf = [&](const std::string &code) {
        for (size_t b = 0; b < list.bookmarks.size(); b++)
        {
            if (placed[b] || list.bookmarks[b].code != code) continue;
            placed[b] = true;
            rows.push_back(LOAD_ROW_T{LOAD_ROW_BOOKMARK, b});
        }
    };
    for (size_t e = 0; e < list.entries.size(); e++)
    {
        rows.push_back(LOAD_ROW_T{LOAD_ROW_GALAXY, e});
        placeMarksOf(list.entries[e].code);
    }
    for (size_t b = 0; b < list.bookmarks.size(); b++)
    {
        if (placed[b]) continue;
        rows.push_back(LOAD_ROW_T{LOAD_ROW_UNSAVED, b});
        placeMarksOf(list.bookmarks[b].code);
    }
    return rows;
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

Rectangle SavedGalaxyUndoBounds(Rectangle bounds)
{
    return Rectangle{bounds.x + bounds.width - MARGIN - DELETE_WIDTH, bounds.y + 36.0f, DELETE_WIDTH, 28.0f};
}

void ReopenSavedGalaxiesScreen(SAVED_GALAXIES_SCREEN_T *screen)
{
    screen->list_read = false;
    screen->undo.clear();
    screen->replace_name.clear();
}

std::string BookmarkStar(SAVED_GALAXIES_SCREEN_T *screen, const GALAXY_SHAPE_T &shape, uint64_t star,
                         const std::string &note)
{
    if (screen->path.empty()) return "Bookmarks are off: no data folder";
    // Read afresh: the screens' copy may be older than the file.
    SAVED_GALAXIES_T list;
    std::string error;
    if (!LoadSavedGalaxies(screen->path.c_str(), &list, &error)) return "Bookmark not kept: " + error;
    AddBookmark(&list, shape, star, note.c_str());
    screen->list_read = false;
    if (!StoreSavedGalaxies(screen->path.c_str(), list, &error)) return "Bookmark not kept: " + error;
    return "Bookmarked star " + std::to_string(star) + " (" + list.bookmarks.back().note +
           "): Load lists it under its galaxy";
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
        const std::string name = screen->name[0] != '\0' ? screen->name : "Untitled";
        ReadListIfNeeded(screen); // a failed write earlier asked for a fresh read
        const int taken = FindSavedGalaxy(screen->list, name.c_str());
        if (taken >= 0 && screen->replace_name != name)
        {
            // Asked once; the box stays in edit mode so that the second Enter reaches it.
            screen->replace_name = name;
            screen->message = screen->list.entries[(size_t)taken].name + " exists: Enter again replaces it";
            screen->name_edit_mode = true;
        }
        else
        {
            size_t stored = screen->list.entries.size();
            if (taken >= 0)
            {
                stored = (size_t)taken;
                ReplaceSavedGalaxy(&screen->list, stored, screen->current, std::time(nullptr));
            }
            else
                AddSavedGalaxy(&screen->list, name.c_str(), screen->current, std::time(nullptr));
            const std::string storedName = screen->list.entries[stored].name;
            // A failed write keeps the name in the box for another try.
            if (StoreList(screen))
            {
                screen->message = "Saved as " + storedName;
                screen->name[0] = '\0';
            }
            screen->replace_name.clear();
            screen->name_edit_mode = false;
        }
    }
    // A name changed after the question asks again.
    if (!screen->replace_name.empty() &&
        screen->replace_name != (screen->name[0] != '\0' ? screen->name : "Untitled"))
        screen->replace_name.clear();
    ScreenLabel(MessageBounds(bounds), screen->message.c_str());
}

namespace
{
std::string RowText(const SAVED_GALAXIES_T &list, LOAD_ROW_T row)
{
    if (row.kind == LOAD_ROW_GALAXY)
    {
        const SAVED_GALAXY_T &entry = list.entries[row.index];
        return entry.name + "   " + entry.date + "   " + entry.code;
    }
    const SAVED_BOOKMARK_T &mark = list.bookmarks[row.index];
    if (row.kind == LOAD_ROW_UNSAVED) return "not saved:   " + mark.code;
    return "star " + std::to_string(mark.star) + ":   " + mark.note;
}

// Puts the latest deletion back where it was; the file is written before the undo is spent.
void UndoLastDelete(SAVED_GALAXIES_SCREEN_T *screen)
{
    const SAVED_UNDO_T last = screen->undo.back();
    SAVED_GALAXIES_T &list = screen->list;
    std::string what;
    if (last.bookmark)
    {
        list.bookmarks.insert(
            list.bookmarks.begin() + (std::ptrdiff_t)std::min(last.index, list.bookmarks.size()), last.mark);
        what = "the bookmark of star " + std::to_string(last.mark.star);
    }
    else
    {
        list.entries.insert(list.entries.begin() + (std::ptrdiff_t)std::min(last.index, list.entries.size()),
                            last.entry);
        what = "\"" + last.entry.name + "\"";
    }
    if (!StoreList(screen)) return;
    screen->undo.pop_back();
    screen->message = "Restored " + what;
}

void DeleteRow(SAVED_GALAXIES_SCREEN_T *screen, LOAD_ROW_T row)
{
    SAVED_UNDO_T undo;
    undo.bookmark = row.kind == LOAD_ROW_BOOKMARK;
    undo.index = row.index;
    std::string what;
    if (undo.bookmark)
    {
        undo.mark = screen->list.bookmarks[row.index];
        DeleteBookmark(&screen->list, row.index);
        what = "the bookmark of star " + std::to_string(undo.mark.star);
    }
    else
    {
        undo.entry = screen->list.entries[row.index];
        DeleteSavedGalaxy(&screen->list, row.index);
        what = "\"" + undo.entry.name + "\"";
    }
    // Only a deletion the file took can be undone; after a failure the list is read again.
    if (!StoreList(screen)) return;
    screen->undo.push_back(undo);
    screen->message = "Deleted " + what + ": Undo brings it back";
}
} // namespace

void LoadGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input)
{
    ReadListIfNeeded(screen);
    ScreenWindowBox(bounds, title, input);
    screen->open_requested = false;

    const std::vector<LOAD_ROW_T> rows = LoadRows(screen->list);
    const int count = (int)rows.size();
    const int fit = RowsThatFit(bounds);
    // The wheel scrolls a list longer than the window, one row a notch.
    if (CheckCollisionPointRec(input->mouse, bounds)) screen->first_row -= (int32_t)input->wheel;
    if (screen->first_row > count - fit) screen->first_row = count - fit;
    if (screen->first_row < 0) screen->first_row = 0;

    const int galaxies = (int)screen->list.entries.size();
    const int marks = (int)screen->list.bookmarks.size();
    if (count == 0)
        ScreenLabel(Line(bounds, 40.0f), "No saved galaxies yet: Save stores the current one.");
    else if (marks == 0)
        ScreenLabel(Line(bounds, 40.0f),
                    TextFormat("%d saved %s: click one to open it", galaxies, galaxies == 1 ? "galaxy" : "galaxies"));
    else
        ScreenLabel(Line(bounds, 40.0f), TextFormat("%d saved %s, %d %s: click one to open it", galaxies,
                                                    galaxies == 1 ? "galaxy" : "galaxies", marks,
                                                    marks == 1 ? "bookmark" : "bookmarks"));
    const bool undo = !screen->undo.empty() && ScreenButton(SavedGalaxyUndoBounds(bounds), "Undo", input);

    int deleted = -1;
    for (int row = 0; row < fit && screen->first_row + row < count; row++)
    {
        const LOAD_ROW_T item = rows[(size_t)(screen->first_row + row)];
        Rectangle rowBounds = SavedGalaxyRowBounds(bounds, row);
        if (item.kind == LOAD_ROW_BOOKMARK)
        {
            rowBounds.x += BOOKMARK_INDENT;
            rowBounds.width -= BOOKMARK_INDENT;
        }
        if (ScreenButton(rowBounds, RowText(screen->list, item).c_str(), input))
        {
            screen->open_requested = true;
            screen->open_star = -1;
            if (item.kind == LOAD_ROW_GALAXY)
            {
                const SAVED_GALAXY_T &entry = screen->list.entries[item.index];
                screen->open_shape = entry.shape;
                screen->message = "Opened \"" + entry.name + "\"";
            }
            else
            {
                const SAVED_BOOKMARK_T &mark = screen->list.bookmarks[item.index];
                screen->open_shape = mark.shape;
                if (item.kind == LOAD_ROW_BOOKMARK) screen->open_star = (int64_t)mark.star;
                screen->message = "Opened " + mark.code;
            }
        }
        if (item.kind != LOAD_ROW_UNSAVED &&
            ScreenButton(SavedGalaxyDeleteBounds(bounds, row), "Delete", input))
            deleted = screen->first_row + row;
    }
    if (count > fit && fit > 0)
    {
        ScreenLabel(Line(bounds, LIST_TOP + ROW_STEP * fit),
                    TextFormat("rows %d to %d of %d (the wheel scrolls)", screen->first_row + 1,
                               screen->first_row + fit, count));
    }

    if (deleted >= 0)
        DeleteRow(screen, rows[(size_t)deleted]);
    else if (undo)
        UndoLastDelete(screen);
    ScreenLabel(MessageBounds(bounds), screen->message.c_str());
}
