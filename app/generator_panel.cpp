// The generator panel. Immediate mode: every call redraws the whole panel; a parameter
// changed by a slider in one frame is noticed at the top of the next call, and the update step
// of the frame after asks for the galaxy.
#include "app/generator_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/generator_panel_table.h"
#include "app/screen_state.h"
#include "galaxy/galaxy.h"
#include "galaxy/galaxy_builder.h"
#include "galaxy/galaxy_code.h"
#include "random/random.h"

#if defined(__EMSCRIPTEN__)
#include "web/page_bridge.h"
#endif

Rectangle PanelShownBounds(Rectangle bounds, int screen_height)
{
    if (screen_height <= 0) return bounds;
    // At least the title bar and a row stay, however short the window.
    const float room = std::max((float)screen_height - bounds.y - PANEL_BOTTOM_MARGIN, PANEL_TITLE_BAR + 40.0f);
    return Rectangle{bounds.x, bounds.y, bounds.width, std::min(bounds.height, room)};
}

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

Rectangle PanelSaveBounds(Rectangle bounds)
{
    return Rectangle{bounds.x + PANEL_CONTROL_X, bounds.y + PANEL_FILE_BUTTONS_Y, PANEL_CONTROL_WIDTH / 2.0f - 5.0f,
                     30.0f};
}

Rectangle PanelLoadBounds(Rectangle bounds)
{
    return Rectangle{bounds.x + PANEL_CONTROL_X + PANEL_CONTROL_WIDTH / 2.0f + 5.0f, bounds.y + PANEL_FILE_BUTTONS_Y,
                     PANEL_CONTROL_WIDTH / 2.0f - 5.0f, 30.0f};
}

static Rectangle PanelTextLine(Rectangle bounds, int line)
{
    return Rectangle{bounds.x + PANEL_CONTROL_X, bounds.y + PANEL_CODE_Y + 20.0f * line, PANEL_CONTROL_WIDTH,
                     PANEL_CONTROL_HEIGHT};
}

void OpenGalaxyInPanel(GENERATOR_PANEL_T *panel, const GALAXY_SHAPE_T &shape)
{
    panel->values = shape;
    panel->noticed = shape;
    panel->initialised = true;
    panel->reseed_from_clock = false;
    panel->seed_edit_mode = false;
    panel->notice[0] = '\0'; // whatever it said was about the galaxy before
    panel->dirty = 1;
}

// One draw of the stream as a non-negative 31-bit number, for the "k mod n" values.
static int32_t RollK(void)
{
    return (int32_t)std::floor(RandomUnit() * 2147483647.0);
}

// The random start values, each from one draw, in this order. Size XZ and Size Y start at
// the largest disc and its matching thickness instead. The density is not drawn: it stays as
// the user set it (how many stars, not which galaxy), and the draws stay those of before.
static void RollStartValues(GENERATOR_PANEL_T *panel)
{
    GALAXY_SHAPE_T *values = &panel->values;
    // Within the seed box's range: a seed of 2^31 or more reads as negative there and would be
    // set to 0, so half of all random galaxies would share one seed.
    values->seed = (uint32_t)std::floor(RandomUnit() * 2147483648.0);
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

static bool NoticeRow(GENERATOR_PANEL_T *panel, const PANEL_SLIDER_T &slider)
{
    if (panel->values.*slider.field == panel->noticed.*slider.field) return false;
    if (slider.couple != nullptr) slider.couple(&panel->values);
    panel->noticed.*slider.field = panel->values.*slider.field;
    panel->dirty = 1;
    return true;
}

// Compares every parameter with the copy taken when it last changed: the model first (a new
// one sets the type's values, which are then taken as noticed), then the rows of the model
// in the table's order; a row's coupling may change a later row's value, which that row
// then notices in this pass.
static void NoticeChanges(GENERATOR_PANEL_T *panel)
{
    if (NoticeRow(panel, PANEL_MODEL_SLIDER))
    {
        const uint32_t seed = panel->noticed.seed;
        const int32_t model = panel->values.model;
        panel->noticed = ApplyHubblePreset(panel->noticed, model);
        for (const PANEL_SLIDER_T &slider : HUBBLE_PANEL_SLIDERS)
            panel->noticed.*slider.field = panel->values.*slider.field;
        panel->noticed.seed = seed;
    }
    const PANEL_SLIDER_T *rows = PanelSliders(panel->values);
    for (int k = 0; k < PANEL_SLIDER_COUNT; k++) NoticeRow(panel, rows[k]);
}

// One slider row: drawn with its label, and stepped by the arrow keys under the pointer (the
// bar has fewer pixels than some ranges have values, so this is how every value is reached).
static void SliderRow(GENERATOR_PANEL_T *panel, Rectangle bounds, const PANEL_SLIDER_T &slider, const char *label,
                      GUI_INPUT_T *input)
{
    int32_t &field = panel->values.*slider.field;
    const float value = GuiLabeledSliderBar(PanelSliderBounds(bounds, slider), label, (float)field, slider.min_value,
                                            slider.max_value, input);
    field = RoundToInt32(value);
    if (input->arrow_step != 0 && CheckCollisionPointRec(input->mouse, PanelSliderBounds(bounds, slider)))
    {
        const int32_t stepped = field + input->arrow_step;
        if (stepped >= RoundToInt32(slider.min_value) && stepped <= RoundToInt32(slider.max_value)) field = stepped;
    }
}

// The galaxy's code under the controls; Ctrl+C copies it, Ctrl+V applies a code from the
// clipboard. A refused code changes nothing and says why.
static void ShareGalaxyCode(GENERATOR_PANEL_T *panel, Rectangle bounds, GUI_INPUT_T *input)
{
    const GALAXY_CODE_TEXT_T code = EncodeGalaxyCode(panel->values);
    if (input->copy_pressed)
    {
#if defined(__EMSCRIPTEN__)
        CopyTextToPage(code.text); // raylib has no clipboard in a browser
#else
        if (IsWindowReady()) SetClipboardText(code.text);
#endif
        std::snprintf(panel->notice, sizeof panel->notice, "Code copied to the clipboard");
    }
    if (input->paste_pressed)
    {
        GALAXY_SHAPE_T pasted = {};
        const char *why = "the clipboard holds no text";
        if (!input->clipboard.empty() && DecodeGalaxyCode(input->clipboard.c_str(), &pasted, &why))
        {
            OpenGalaxyInPanel(panel, pasted);
            std::snprintf(panel->notice, sizeof panel->notice, "Galaxy code applied");
        }
        else
        {
            std::snprintf(panel->notice, sizeof panel->notice, "Code refused: %s", why);
        }
    }
    ScreenLabel(PanelTextLine(bounds, 0), TextFormat("Code: %s", code.text));
    ScreenLabel(PanelTextLine(bounds, 1), "Ctrl+C copies it, Ctrl+V applies one");
    ScreenLabel(PanelTextLine(bounds, 2), panel->notice);
}

// A thin bar at the panel's right edge: how much of the panel is out of sight, and where.
static void DrawPanelScrollBar(Rectangle view, float scroll, float most, float whole)
{
    if (!IsWindowReady() || !(most > 0.0f)) return;
    const Color ink = GetColor((unsigned)GuiGetStyle(DEFAULT, TEXT_COLOR_NORMAL));
    const Rectangle track = {view.x + view.width - 10.0f, view.y + 4.0f, 6.0f, view.height - 8.0f};
    const float thumb = std::max(20.0f, track.height * (view.height / whole));
    DrawRectangleRec(track, Fade(ink, 0.15f));
    DrawRectangleRec(Rectangle{track.x, track.y + (track.height - thumb) * (scroll / most), track.width, thumb},
                     Fade(ink, 0.6f));
}

void GeneratorPanel(GENERATOR_PANEL_T *panel, Rectangle whole, int32_t *menu_state, GUI_INPUT_T *input)
{
    // In a short window the panel is cut short and its controls (laid out in `bounds`) slide
    // under the title bar; a control out of sight must not take a click meant for what covers it.
    const Rectangle shown = PanelShownBounds(whole, input->screen_height);
    const Rectangle view = {shown.x, shown.y + PANEL_TITLE_BAR, shown.width, shown.height - PANEL_TITLE_BAR};
    const float most = whole.height - shown.height;
    if (most > 0.0f && input->wheel != 0.0f && CheckCollisionPointRec(input->mouse, shown))
        panel->scroll -= input->wheel * PANEL_WHEEL_PIXELS;
    panel->scroll = std::min(std::max(panel->scroll, 0.0f), std::max(most, 0.0f));
    const Rectangle bounds = {whole.x, whole.y - panel->scroll, whole.width, whole.height};

    ScreenGroupBox(shown, "Generate");
    // The panel is not meant to be closed; its close box does nothing.
    ScreenWindowBox(shown, "Generate", input);
    const Vector2 pointer = input->mouse;
    if (most > 0.0f)
    {
        if (!CheckCollisionPointRec(pointer, view)) input->mouse = Vector2{-100000.0f, -100000.0f};
        if (IsWindowReady()) BeginScissorMode((int)view.x, (int)view.y, (int)view.width, (int)view.height);
    }

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

    const PANEL_SLIDER_T *rows = PanelSliders(panel->values);
    for (int k = 0; k < PANEL_SLIDER_COUNT; k++)
        SliderRow(panel, bounds, rows[k], TextFormat(rows[k].label, panel->values.*rows[k].field), input);
    SliderRow(panel, bounds, PANEL_MODEL_SLIDER,
              TextFormat(PANEL_MODEL_SLIDER.label, GalaxyModelName(panel->values.model)), input);

    if (ScreenButton(PanelRandomizeBounds(bounds), "Randomize", input))
    {
        panel->initialised = false;
        panel->reseed_from_clock = true;
    }

    ShareGalaxyCode(panel, bounds, input);

    panel->request = PANEL_REQUEST_NONE;
    if (ScreenButton(PanelSaveBounds(bounds), "Save...", input)) panel->request = PANEL_REQUEST_SAVE;
    if (ScreenButton(PanelLoadBounds(bounds), "Load...", input)) panel->request = PANEL_REQUEST_LOAD;

    if (ScreenButton(PanelStartBounds(bounds), "Start", input)) *menu_state = STATE_VIEW;

    if (most > 0.0f)
    {
        if (IsWindowReady()) EndScissorMode();
        input->mouse = pointer;
        DrawPanelScrollBar(view, panel->scroll, most, whole.height);
    }
}

void RequestPanelGalaxy(GENERATOR_PANEL_T *panel, GALAXY *galaxy)
{
    if (panel->dirty != 1 || galaxy == nullptr) return;
    // Reseeding from the seed makes a galaxy a function of the seed and the parameters: the
    // same values give the same stars, and a slider reshapes the galaxy instead of scattering
    // every star anew.
    const bool made = panel->builder != nullptr ? RequestGalaxy(panel->builder, galaxy, panel->values)
                                                : (GenerateGalaxy(galaxy, panel->values), true);
    panel->dirty = 0;
    if (made) NoteGalaxyFailure(panel, galaxy->field);
}

void NoteGalaxyFailure(GENERATOR_PANEL_T *panel, const STAR_FIELD_T &field)
{
    if (field.failure.empty()) return;
    std::snprintf(panel->notice, sizeof panel->notice, "No stars: %s", field.failure.c_str());
}
