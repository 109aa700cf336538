// The Save and Load screens of the main menu: Save stores the current galaxy under a typed
// name in the user's list of saved galaxies (a name taken asks once before it replaces), Load
// lists them with their bookmarks beneath, opens one in the generator panel, or deletes one,
// which Undo brings back while the screen stays open. A record that lives across frames and
// one function per screen and frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/gui.h"
#include "files/saved_galaxies.h"
#include "galaxy/galaxy_shape.h"

constexpr int SAVED_NAME_MAX_BYTES = 64;

// What one Delete took away, for Undo to put back where it was.
struct SAVED_UNDO_T
{
    bool bookmark = false; // mark, else entry
    size_t index = 0;
    SAVED_GALAXY_T entry;
    SAVED_BOOKMARK_T mark;
};

struct SAVED_GALAXIES_SCREEN_T
{
    std::string path;              // the saved-galaxies file; empty: nothing is read or written
    GALAXY_SHAPE_T current = {};   // handed in by the shell each frame: what Save stores
    bool have_current = false;     // false until a galaxy exists
    SAVED_GALAXIES_T list;         // as last read from path
    bool list_read = false;        // false: read path before showing the list
    std::string message;           // the last outcome or problem, one line at the bottom
    char name[SAVED_NAME_MAX_BYTES + 1] = {};
    bool name_edit_mode = false;
    std::string replace_name;      // the taken name Save asked about: saving it again replaces
    int32_t first_row = 0;         // the Load list's scroll position
    std::vector<SAVED_UNDO_T> undo; // the deletions since the screen opened, latest last
    // Set in the frame a saved galaxy or a bookmark is clicked in the Load list; the shell
    // opens the galaxy in the generator panel and, for a bookmark, open_star's card.
    bool open_requested = false;
    GALAXY_SHAPE_T open_shape = {};
    int64_t open_star = -1;
};

// A screen shown anew: reads the file again, and what Save asked and Undo could restore are
// forgotten.
void ReopenSavedGalaxiesScreen(SAVED_GALAXIES_SCREEN_T *screen);

// Keeps a star of a galaxy in the file at once, whether or not its galaxy is saved. Returns
// what to tell the user: where it went, or why it could not.
std::string BookmarkStar(SAVED_GALAXIES_SCREEN_T *screen, const GALAXY_SHAPE_T &shape, uint64_t star,
                         const std::string &note);

void SaveGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input);
void LoadGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input);

// Where the Load list puts row `row` of what it shows, and that row's Delete button; and the
// Undo button, shown while a deletion can be taken back.
Rectangle SavedGalaxyRowBounds(Rectangle bounds, int row);
Rectangle SavedGalaxyDeleteBounds(Rectangle bounds, int row);
Rectangle SavedGalaxyUndoBounds(Rectangle bounds);
