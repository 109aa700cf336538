// Which screen is up, and where the screens stand in the window: all a screen needs to know
// of the shell. Screens include this, never the shell's own header.
#pragma once

#include <cstdint>

#include "scene/vector_math.h"

// menu_state: which screen is drawn over the scene.
constexpr int32_t STATE_MAIN_MENU = 0;
constexpr int32_t STATE_GENERATOR = 1;
constexpr int32_t STATE_VIEW = -2;
constexpr int32_t STATE_EXIT = -1;

// Where the frame puts its screens and the view state's button, in window pixels.
constexpr Rectangle MAIN_MENU_BOUNDS = Rectangle{20.0f, 528.0f, 220.0f, 220.0f};
constexpr Rectangle GENERATOR_PANEL_BOUNDS = Rectangle{20.0f, 20.0f, 340.0f, 728.0f};
constexpr Rectangle DEBUG_BUTTON_BOUNDS = Rectangle{10.0f, 10.0f, 100.0f, 40.0f};

// The main menu stays at the bottom left whatever the window's height: MAIN_MENU_BOUNDS in
// the first window, as far above the bottom edge in any other. A height of 0 or less (no
// window known) gives MAIN_MENU_BOUNDS.
inline Rectangle MainMenuBounds(int screen_height)
{
    Rectangle bounds = MAIN_MENU_BOUNDS;
    if (screen_height > 0) bounds.y = (float)screen_height - (768.0f - MAIN_MENU_BOUNDS.y);
    return bounds;
}
