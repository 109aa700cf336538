// The Save and Load screens of the main menu: Save stores the current galaxy under a typed
// name in the user's list of saved galaxies, Load lists them, opens one in the generator panel
// or deletes one. A record that lives across frames and one function per screen and frame.
#pragma once

#include <cstdint>
#include <string>

#include "app/gui.h"
#include "files/saved_galaxies.h"
#include "galaxy/galaxy_shape.h"

constexpr int SAVED_NAME_MAX_BYTES = 64;

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
    int32_t first_row = 0;         // the Load list's scroll position
    // Set in the frame a saved galaxy is clicked in the Load list; the shell opens it in the
    // generator panel.
    bool open_requested = false;
    GALAXY_SHAPE_T open_shape = {};
};

void SaveGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input);
void LoadGalaxyScreen(SAVED_GALAXIES_SCREEN_T *screen, Rectangle bounds, const char *title, GUI_INPUT_T *input);

// Where the Load list puts row `row` of what it shows, and that row's Delete button.
Rectangle SavedGalaxyRowBounds(Rectangle bounds, int row);
Rectangle SavedGalaxyDeleteBounds(Rectangle bounds, int row);
