// The help card's text is the one list of controls in the program; the README's table says
// the same.
#include "app/help_overlay.h"

namespace
{
struct HELP_LINE_T
{
    const char *action;
    const char *what;
};

constexpr HELP_LINE_T HELP_LINES[] = {
    {"Left drag", "orbit the camera around its target"},
    {"Right or middle drag", "pan"},
    {"Wheel", "zoom in and out"},
    {"Double click", "centre on the point; on a star, go into its system"},
    {"Enter, Backspace", "into the pointed star's system, back to the galaxy"},
    {"Space", "pause the camera's orbit; in a system, time"},
    {"R", "back to the start pose"},
    {"T", "look straight down on the disc"},
    {"Tab", "show or hide the generator panel beside the view"},
    {"L", "plain white stars or the soft coloured look"},
    {"Arrow keys", "step the slider under the pointer by one"},
    {"Ctrl+C, Ctrl+V", "copy the galaxy code, apply one (panel)"},
    {"Ctrl+Shift+C", "copy the open card's star link (Ctrl+V opens one)"},
    {"Ctrl+F", "find a star by its name; Enter flies there"},
    {"F12", "save a screenshot"},
    {"Ctrl+E", "export the stars as CSV"},
    {"F1", "this help; any key or click closes it"},
    {"F3", "stage timings (also shown with DEBUG)"},
    {"Escape", "quit"},
};
constexpr int LINE_HEIGHT = 26;
constexpr int FONT_SIZE = 20;
constexpr int CARD_WIDTH = 780; // the longest line, at size 20, with margins

void Consume(GUI_INPUT_T *input)
{
    input->left_pressed = input->left_released = input->left_down = input->double_click = false;
    input->right_down = false;
    input->mouse_delta = Vector2{};
    input->wheel = 0.0f;
    input->enter_pressed = input->backspace_pressed = input->backspace_down = false;
    input->copy_pressed = input->paste_pressed = input->export_pressed = input->screenshot_pressed = false;
    input->copy_link_pressed = input->find_pressed = false;
    input->tab_pressed = input->help_pressed = input->space_pressed = input->timings_pressed = false;
    input->reset_pressed = input->top_down_pressed = input->plain_look_pressed = false;
    input->any_key_pressed = false;
    input->arrow_step = 0;
    input->typed_next = input->typed_count;
    // The pointer is under the card: nothing beneath it is hovered either.
    input->mouse = Vector2{-1.0f, -1.0f};
}
} // namespace

void HelpOverlay(HELP_OVERLAY_T *help, GUI_INPUT_T *input)
{
    if (!help->shown)
    {
        if (!input->help_pressed) return;
        help->shown = true;
        Consume(input);
        return;
    }
    if (input->any_key_pressed || input->left_pressed || input->wheel != 0.0f) help->shown = false;
    Consume(input);
}

void DrawHelpOverlay(const HELP_OVERLAY_T *help, int screenWidth, int screenHeight)
{
    if (!help->shown) return;
    const int count = (int)(sizeof HELP_LINES / sizeof HELP_LINES[0]);
    const int height = (count + 2) * LINE_HEIGHT + 20;
    const int width = (screenWidth - 40 < CARD_WIDTH) ? screenWidth - 40 : CARD_WIDTH;
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2 > 10 ? (screenHeight - height) / 2 : 10;
    DrawRectangle(0, 0, screenWidth, screenHeight, Color{0, 0, 0, 140});
    DrawRectangle(left, top, width, height, Color{245, 245, 245, 255});
    DrawRectangleLines(left, top, width, height, Color{131, 131, 131, 255});
    DrawText("Controls", left + 20, top + 14, FONT_SIZE, Color{40, 40, 40, 255});
    for (int i = 0; i < count; i++)
    {
        const int y = top + 14 + (i + 1) * LINE_HEIGHT + 6;
        DrawText(HELP_LINES[i].action, left + 20, y, FONT_SIZE, Color{4, 90, 140, 255});
        DrawText(HELP_LINES[i].what, left + 250, y, FONT_SIZE, Color{40, 40, 40, 255});
    }
}
