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
