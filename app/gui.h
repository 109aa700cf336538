// raygui for the rest of app/, with icons enabled; the program's own two controls (a slider
// whose label sits inside its bar, a value box for an unsigned number); and raygui's controls
// as the screens call them. All of it is implemented in gui.cpp, next to raygui's state.
#pragma once

#define RAYGUI_SUPPORT_ICONS
#include "scene/vector_math.h"
#include "raygui.h"

#include <cstdint>

#include "app/gui_input.h"
#include "scene/rounding.h"


// Text to integer like raylib's TextToInteger (optional sign, then digits up to the first
// non-digit), except that a number beyond 32 bits saturates instead of overflowing.
int32_t TextToIntegerSaturated(const char *text);

// ---- Own controls -----------------------------------------------------------------------
// Both start from raygui's global state, take no input while it is disabled or locked, read
// sizes and colours from raygui's style table and draw with raygui's font and alpha. They
// draw only when a window exists; without one they still decide everything, which is what
// the Update* functions return so that tests can see it.

// One frame of a labelled slider: what it returns, the state it draws in, and its bar.
struct SLIDER_FRAME_T
{
    float value = 0.0f;
    int state = GUI_STATE_NORMAL;
    Rectangle bar = {};
};

SLIDER_FRAME_T UpdateLabeledSlider(Rectangle bounds, float value, float minValue, float maxValue,
                                   int sliderWidth, const GUI_INPUT_T *input);

// Slider with its one label (may be null) centred on the control. sliderWidth > 0 gives a
// handle of that width; 0 gives a bar filled from the left edge.
float GuiLabeledSliderPro(Rectangle bounds, const char *text, float value, float minValue, float maxValue,
                          int sliderWidth, const GUI_INPUT_T *input);
float GuiLabeledSliderBar(Rectangle bounds, const char *text, float value, float minValue, float maxValue,
                          const GUI_INPUT_T *input);

constexpr int VALUEBOX_UNSIGNED_MAX_CHARS = 32;

// One frame of an unsigned value box: what it reports, its state, and the text it shows.
struct VALUEBOX_FRAME_T
{
    bool pressed = false;
    int state = GUI_STATE_NORMAL;
    char shown[VALUEBOX_UNSIGNED_MAX_CHARS + 1] = {};
};

VALUEBOX_FRAME_T UpdateValueBoxUnsigned(Rectangle bounds, uint32_t *value, float minValue, float maxValue,
                                        bool editMode, GUI_INPUT_T *input);

// Value box for an unsigned 32-bit number, its label (may be null) inside at the left, the
// number at the right. Reports true in the frame it is clicked to begin editing and in the
// frame editing ends (Enter, or a click outside); the caller flips its edit flag on each.
// Outside edit mode the value is range-checked as a signed 32-bit number.
bool GuiValueBoxUnsigned(Rectangle bounds, const char *text, uint32_t *value, float minValue, float maxValue,
                         bool editMode, GUI_INPUT_T *input);

// A one-line text box for a short name, in raygui's text box style. In edit mode it takes the
// typed characters (printable ones, UTF-8 encoded, while they fit in size - 1 bytes) and
// Backspace (one whole character). Reports true in the frame it is clicked to begin editing
// and in the frame editing ends (Enter, or a click outside); the caller flips its flag.
bool GuiTextLine(Rectangle bounds, char *text, int size, bool editMode, GUI_INPUT_T *input);

// ---- raygui's controls for the screens ---------------------------------------------------
// They decide from the input record alone, with raygui's hit rules (buttons, toggles and close
// boxes fire when the left button is released over them), window or not; in a window raygui
// draws them and its own verdict is not used.
bool ScreenWindowBox(Rectangle bounds, const char *title, const GUI_INPUT_T *input);
int ScreenToggleGroup(Rectangle bounds, const char *text, int active, const GUI_INPUT_T *input);
bool ScreenButton(Rectangle bounds, const char *text, const GUI_INPUT_T *input);
void ScreenGroupBox(Rectangle bounds, const char *text);
// Text in raygui's label style; only draws.
void ScreenLabel(Rectangle bounds, const char *text);

// Where raygui puts a window box's close button.
Rectangle WindowCloseBoxBounds(Rectangle windowBounds);
