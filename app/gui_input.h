// This frame's mouse, keys and typed characters, as the program's own controls and the
// screens read them. app/ fills it from raylib once a frame; unit tests fill it by hand, so
// the controls' and screens' logic runs without a window.
#pragma once

#include "scene/vector_math.h"

// Characters typed in one frame beyond this are dropped, as raylib's own queue does.
constexpr int GUI_TYPED_MAX = 16;

struct GUI_INPUT_T
{
    Vector2 mouse = {};         // pointer in window pixels
    bool left_down = false;     // left button held this frame
    bool left_pressed = false;  // left button went down this frame
    bool left_released = false; // left button went up this frame (raygui's buttons fire on it)
    bool backspace_pressed = false;
    bool backspace_down = false;
    bool enter_pressed = false;
    int screen_width = 0; // window size in pixels, for screens laid out against it
    int screen_height = 0;
    int typed[GUI_TYPED_MAX] = {}; // code points typed this frame, oldest first
    int typed_count = 0;
    int typed_next = 0; // the first one no control has taken yet
};

// Reads this frame's input from raylib; call once per frame, inside the window.
GUI_INPUT_T ReadGuiInput(void);

// The next typed character, or 0 when none is left. A character taken is gone for the rest of
// the frame, as with raylib's GetCharPressed.
int TakeTypedChar(GUI_INPUT_T *input);
