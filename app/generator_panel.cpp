// The generator panel. Immediate mode: every call redraws the whole panel; a parameter
// changed by a slider in one frame is noticed at the top of the next call, which then
// regenerates the galaxy at its end.
#include "app/generator_panel.h"

#include <cmath>

#include "app/generator_panel_table.h"
#include "app/screen_state.h"
#include "galaxy/galaxy.h"
#include "random/random.h"

Rectangle PanelSeedBoxBounds(Rectangle bounds)
{
    return Rectangle{bounds.x + PANEL_CONTROL_X, bounds.y + PANEL_SEED_Y, PANEL_CONTROL_WIDTH,
                     PANEL_CONTROL_HEIGHT};
}

Rectangle PanelRandomizeBounds(Rectangle bounds)
{
    return Rectangle{bounds.x + bounds.width / 4.0f, bounds.y + 490.0f, bounds.width / 2.0f,
                     PANEL_BUTTON_HEIGHT};
}

Rectangle PanelStartBounds(Rectangle bounds)
{
    return Rectangle{bounds.x + bounds.width / 4.0f, bounds.y + bounds.height - 60.0f, bounds.width / 2.0f,
                     PANEL_BUTTON_HEIGHT};
}

// One draw of the stream as a non-negative 31-bit number, for the "k mod n" values.
static int32_t RollK(void)
{
    return (int32_t)std::floor(RandomUnit() * 2147483647.0);
}

// The random start values, each from one draw, in this order. Size XZ and Size Y start at
// the largest disc and its matching thickness instead.
static void RollStartValues(GENERATOR_PANEL_T *panel)
{
    GALAXY_SHAPE_T *values = &panel->values;
    values->seed = (uint32_t)std::floor(RandomUnit() * 4294967295.0);
    values->size_xz = 255;
    values->size_y = 64;
    values->inner_radius = RollK() % 200 - 200;
    values->bulge_size = RollK() % 100;
    values->bulge_offset0 = RollK() % 100;
    values->bulge_offset1 = RollK() % 100;
    values->arms = RollK() % 7 + 2;
    values->curvature = RollK() % 16 + 16;
    panel->initialised = true;
    panel->dirty = 1;
}

// Compares every parameter with the copy taken when it last changed, in the table's order; a
// row's coupling may change a later row's value, which that row then notices in this pass.
static void NoticeChanges(GENERATOR_PANEL_T *panel)
{
    for (const PANEL_SLIDER_T &slider : PANEL_SLIDERS)
    {
        if (panel->values.*slider.field == panel->noticed.*slider.field) continue;
        if (slider.couple != nullptr) slider.couple(&panel->values);
        panel->noticed.*slider.field = panel->values.*slider.field;
        panel->dirty = 1;
    }
}

void GeneratorPanel(GENERATOR_PANEL_T *panel, Rectangle bounds, int32_t *menu_state, GALAXY **galaxy,
                    GUI_INPUT_T *input)
{
    ScreenGroupBox(bounds, "Generate");
    // The panel is not meant to be closed; its close box does nothing.
    ScreenWindowBox(bounds, "Generate", input);

    if (!panel->initialised)
    {
        if (panel->reseed_from_clock)
        {
            RandomSeed(-1.0);
            panel->reseed_from_clock = false;
        }
        RollStartValues(panel);
    }

    NoticeChanges(panel);

    if (GuiValueBoxUnsigned(PanelSeedBoxBounds(bounds), "Seed:", &panel->values.seed, PANEL_SEED_MIN, PANEL_SEED_MAX,
                            panel->seed_edit_mode, input))
    {
        panel->seed_edit_mode = !panel->seed_edit_mode;
        panel->dirty = 1;
    }

    for (const PANEL_SLIDER_T &slider : PANEL_SLIDERS)
    {
        int32_t &field = panel->values.*slider.field;
        const float value =
            GuiLabeledSliderBar(PanelSliderBounds(bounds, slider), TextFormat(slider.label, field),
                                (float)field, slider.min_value, slider.max_value, input);
        field = RoundToInt32(value);
    }

    if (ScreenButton(PanelRandomizeBounds(bounds), "Randomize", input))
    {
        panel->initialised = false;
        panel->reseed_from_clock = true;
    }

    if (ScreenButton(PanelStartBounds(bounds), "Start", input)) *menu_state = STATE_VIEW;

    // Reseeding from the seed makes a galaxy a function of the seed and the parameters: the
    // same values give the same stars, and a slider reshapes the galaxy instead of scattering
    // every star anew.
    if (panel->dirty == 1 && galaxy != nullptr && *galaxy != nullptr)
    {
        panel->dirty = GenerateGalaxy(*galaxy, panel->values);
    }
}
