// This frame's mouse, keys and typed characters, as the program's own controls and the
// screens read them. app/ fills it from raylib once a frame; unit tests fill it by hand, so
// the controls' and screens' logic runs without a window.
#pragma once

#include <string>

#include "scene/vector_math.h"

// Characters typed in one frame beyond this are dropped, as raylib's own queue does.
constexpr int GUI_TYPED_MAX = 16;

struct GUI_INPUT_T
{
    Vector2 mouse = {};         // pointer in window pixels
    bool left_down = false;     // left button held this frame
    bool left_pressed = false;  // left button went down this frame
    bool left_released = false; // left button went up this frame (raygui's buttons fire on it)
    bool double_click = false;  // the left button went down twice, quickly, at one place
    bool right_down = false;    // right or middle button held: the camera pans
    Vector2 mouse_delta = {};   // pointer movement since the last frame, pixels
    bool backspace_pressed = false;
    bool backspace_down = false;
    bool enter_pressed = false;
    bool escape_pressed = false;
    // Shortcuts, each true in the frame its key went down (with Ctrl held for the letters).
    bool copy_pressed = false;       // Ctrl+C
    bool copy_link_pressed = false;  // Ctrl+Shift+C (then copy_pressed is not set)
    bool find_pressed = false;       // Ctrl+F
    bool paste_pressed = false;      // Ctrl+V
    bool export_pressed = false;     // Ctrl+E
    bool screenshot_pressed = false; // F12
    int arrow_step = 0;              // +1 for Right or Up, -1 for Left or Down, this frame
    bool tab_pressed = false;        // Tab: the panel beside the view
    bool help_pressed = false;       // F1: the help overlay
    bool timings_pressed = false;    // F3: the stage timings under the heads-up lines
    bool space_pressed = false;      // Space: pause or resume the camera's own orbit
    bool reset_pressed = false;      // R: the camera's start pose
    bool top_down_pressed = false;   // T: look straight down on the disc
    bool plain_look_pressed = false; // L: the plain white stars instead of the soft look
    bool any_key_pressed = false;    // any key at all went down this frame
    float wheel = 0.0f;              // wheel notches this frame, positive away from the user
    // The clipboard's text, read only in a frame with paste_pressed (reading it asks the X
    // server); empty otherwise or when the clipboard holds no text. A copy: the windowing
    // library frees its own buffer at the next SetClipboardText, which a copy in the same
    // frame makes.
    std::string clipboard;
    int screen_width = 0; // window size in pixels, for screens laid out against it
    int screen_height = 0;
    int typed[GUI_TYPED_MAX] = {}; // code points typed this frame, oldest first
    int typed_count = 0;
    int typed_next = 0; // the first one no control has taken yet
};

// Sees every key press and mouse button through raylib's own GLFW, ahead of raylib: raylib
// keeps F12 to itself and misses a key or click that goes down and up between two frames (at
// 5 frames a second, a 12 ms tap). Call once, after the window opens.
void InstallInputLatch(void);

// Reads this frame's input from raylib; call once per frame, inside the window.
GUI_INPUT_T ReadGuiInput(void);

// The next typed character, or 0 when none is left. A character taken is gone for the rest of
// the frame, as with raylib's GetCharPressed.
int TakeTypedChar(GUI_INPUT_T *input);

// Two presses of the left button make a double click when this close in time and place.
constexpr double DOUBLE_CLICK_SECONDS = 0.4;
constexpr float DOUBLE_CLICK_PIXELS = 6.0f;
