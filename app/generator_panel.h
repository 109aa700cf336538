// The generator panel: the screen on which the user shapes the galaxy with its eight
// parameters and a seed. A record that lives across frames, and one function per frame that
// reads the input, notices changes, draws, and regenerates the galaxy when something changed.
#pragma once

#include <cstdint>

#include "app/gui.h"

class GALAXY;

struct GENERATOR_PANEL_T
{
    uint32_t seed = 0;   // reseeds the random stream before every generation
    int32_t size_xz = 0; // disc radius, world units
    int32_t size_y = 0;  // thickness scale, world units
    int32_t inner_radius = 0;
    int32_t bulge_size = 0;
    int32_t bulge_offset0 = 0;
    int32_t bulge_offset1 = 0;
    int32_t arms = 0;
    int32_t curvature = 0;

    // Each parameter as the panel last noticed it; never reset, so Randomize is compared
    // against the values it replaces.
    int32_t prev_size_xz = 0;
    int32_t prev_size_y = 0;
    int32_t prev_inner_radius = 0;
    int32_t prev_bulge_size = 0;
    int32_t prev_bulge_offset0 = 0;
    int32_t prev_bulge_offset1 = 0;
    int32_t prev_arms = 0;
    int32_t prev_curvature = 0;

    int32_t dirty = 0;        // 1 while a regeneration is pending; takes Generate's result
    bool initialised = false; // false until the values are drawn at random
    bool seed_edit_mode = false;
    // Set by Randomize. The stream is reseeded from the clock right before the new values are
    // drawn: a generation in between reseeds it from `seed`, which would make every Randomize
    // after the same galaxy draw the same values.
    bool reseed_from_clock = false;
};

// Places of the panel's controls, relative to the panel's bounds.
constexpr float PANEL_CONTROL_X = 20.0f;
constexpr float PANEL_CONTROL_WIDTH = 300.0f;
constexpr float PANEL_CONTROL_HEIGHT = 20.0f;
constexpr float PANEL_SEED_Y = 50.0f;
constexpr float PANEL_BUTTON_HEIGHT = 40.0f;

Rectangle PanelSeedBoxBounds(Rectangle bounds);
Rectangle PanelRandomizeBounds(Rectangle bounds);
Rectangle PanelStartBounds(Rectangle bounds);

// Called once a frame while menu_state is the generator panel's. Start sets menu_state to the
// view's. galaxy refers to the shell's galaxy pointer; a null galaxy is left alone.
void GeneratorPanel(GENERATOR_PANEL_T *panel, Rectangle bounds, int32_t *menu_state, GALAXY **galaxy,
                    GUI_INPUT_T *input);
