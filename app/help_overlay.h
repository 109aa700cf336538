// The help overlay (F1): every key and mouse action on one card over the window. Any key or
// click closes it, and that key or click does nothing else.
#pragma once

#include "app/gui_input.h"

struct HELP_OVERLAY_T
{
    bool shown = false;
};

// Opens on F1 and closes on the next key or click; while it is shown (and in the frame it
// closes) it takes the frame's clicks and keys from the input, so nothing under it reacts.
void HelpOverlay(HELP_OVERLAY_T *help, GUI_INPUT_T *input);

// Draws the card while shown; last thing in the frame, over everything else.
void DrawHelpOverlay(const HELP_OVERLAY_T *help, int screenWidth, int screenHeight);
