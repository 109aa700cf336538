// The shell's file actions: F12 saves a screenshot of the window into the user's pictures
// folder, Ctrl+E exports the star field as CSV into the user's data folder. Neither ever
// overwrites a file; each says on screen, for a few seconds, where it wrote or why it could not.
#pragma once

#include <string>

#include "app/gui_input.h"

struct STAR_FIELD_T;

struct FILE_ACTIONS_T
{
    std::string pictures_folder; // screenshots
    std::string exports_folder;  // star-field exports
    bool screenshot_pending = false;
    std::string notice;       // the last outcome, shown until notice_until
    double notice_until = 0.0; // seconds on ClockSeconds' scale
};

FILE_ACTIONS_T MakeFileActions(void);

// Update step: Ctrl+E writes the galaxy's stars now; F12 is remembered for the end of drawing.
void UpdateFileActions(FILE_ACTIONS_T *actions, const STAR_FIELD_T *field, const GUI_INPUT_T *input);

// Last thing before EndDrawing: the frame is complete in the back buffer. A frame in which the
// window was resized is not read (the buffer may not match the window's size yet); the capture
// waits for the next one.
void CaptureRequestedScreenshot(FILE_ACTIONS_T *actions);

// Shows text in the notice band for a few seconds, as the file actions' own outcomes are.
void ShowNotice(FILE_ACTIONS_T *actions, const std::string &text);

// The notice, if one is current, on a dark band along the bottom of the window.
void DrawFileNotice(const FILE_ACTIONS_T *actions);
