// The generator panel: the screen on which the user shapes the galaxy with its eight
// parameters, a seed and the star density. A record that lives across frames, one function per
// frame that reads the input, notices changes and draws, and one for the update step that asks
// for the galaxy when something changed.
#pragma once

#include <cstdint>

#include "app/generator_panel_table.h"
#include "app/gui.h"
#include "galaxy/galaxy_shape.h"

class GALAXY;
class GALAXY_BUILDER_T;
struct STAR_FIELD_T;

struct GENERATOR_PANEL_T
{
    // The seed and the eight parameters; the seed reseeds the random stream before every
    // generation.
    GALAXY_SHAPE_T values = {};
    // Each parameter as the panel last noticed it (the seed is not compared); never reset, so
    // Randomize is compared against the values it replaces.
    GALAXY_SHAPE_T noticed = {};

    int32_t dirty = 0;        // 1 while a regeneration is pending; RequestPanelGalaxy clears it
    bool initialised = false; // false until the values are drawn at random
    bool seed_edit_mode = false;
    // Set by Randomize. The stream is reseeded from the clock right before the new values are
    // drawn: a generation in between reseeds it from `seed`, which would make every Randomize
    // after the same galaxy draw the same values.
    bool reseed_from_clock = false;

    // Where a galaxy too large for one frame is generated while the old one stays on screen;
    // null: every galaxy is generated at once, in the frame that asks.
    GALAXY_BUILDER_T *builder = nullptr;

    // One line under the galaxy code: what Ctrl+C or Ctrl+V did, or why a galaxy has no stars.
    char notice[160] = {};
    // Set for one frame when the panel's Save or Load button is clicked: the shell opens that
    // screen of the main menu. PANEL_REQUEST_NONE otherwise.
    int32_t request = 0;
    // Pixels the controls have moved up under the title bar, in a window too short for the
    // panel; the wheel over the panel changes it.
    float scroll = 0.0f;
};

constexpr int32_t PANEL_REQUEST_NONE = 0;
constexpr int32_t PANEL_REQUEST_SAVE = 1;
constexpr int32_t PANEL_REQUEST_LOAD = 2;

// Places of the panel's other controls, relative to the panel's bounds (the sliders' are in
// the table).
constexpr float PANEL_SEED_Y = 50.0f;
constexpr float PANEL_BUTTON_HEIGHT = 40.0f;

constexpr float PANEL_CODE_Y = 545.0f;
constexpr float PANEL_FILE_BUTTONS_Y = 610.0f;

// A window shorter than the panel cuts it this far above its bottom edge; the wheel moves the
// controls by PANEL_WHEEL_PIXELS a notch under a title bar PANEL_TITLE_BAR high.
constexpr float PANEL_BOTTOM_MARGIN = 20.0f;
constexpr float PANEL_TITLE_BAR = 24.0f;
constexpr float PANEL_WHEEL_PIXELS = 40.0f;

// The panel as a window screen_height pixels tall shows it: bounds, cut short above the
// window's bottom when the window is too short for it. A height of 0 or less (no window
// known) shows it whole.
Rectangle PanelShownBounds(Rectangle bounds, int screen_height);

Rectangle PanelSeedBoxBounds(Rectangle bounds);
Rectangle PanelSaveBounds(Rectangle bounds);
Rectangle PanelLoadBounds(Rectangle bounds);
Rectangle PanelRandomizeBounds(Rectangle bounds);
Rectangle PanelStartBounds(Rectangle bounds);

// Puts a galaxy on the panel as if its values had always been there: the next call generates
// it (seeded with its seed) and notices nothing else.
void OpenGalaxyInPanel(GENERATOR_PANEL_T *panel, const GALAXY_SHAPE_T &shape);

// Called once a frame while menu_state is the generator panel's. Start sets menu_state to the
// view's. A change of the values sets dirty; the galaxy itself is asked for in the next update.
// In a window shorter than bounds the panel is cut short (PanelShownBounds) and scrolls: the
// controls are laid out within bounds moved up by scroll, and only those in sight take clicks.
void GeneratorPanel(GENERATOR_PANEL_T *panel, Rectangle bounds, int32_t *menu_state, GUI_INPUT_T *input);

// The update step: when dirty, asks for the galaxy of the panel's values, reseeded from its
// seed: at once, or through the panel's builder when it is too large for a frame. A galaxy made
// at once that has no stars says why on the panel. A null galaxy is left alone.
void RequestPanelGalaxy(GENERATOR_PANEL_T *panel, GALAXY *galaxy);

// Puts field's failure, if it has one, on the panel's notice line: for a galaxy made at once
// and for one the builder swaps in.
void NoteGalaxyFailure(GENERATOR_PANEL_T *panel, const STAR_FIELD_T &field);
