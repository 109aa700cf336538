// Fills the input seam from raylib. The only place besides raygui itself that reads raylib's
// mouse and keyboard state for the screens.
#include "app/gui_input.h"

GUI_INPUT_T ReadGuiInput(void)
{
    GUI_INPUT_T input = {};
    input.mouse = GetMousePosition();
    input.left_down = IsMouseButtonDown(MOUSE_LEFT_BUTTON);
    input.left_pressed = IsMouseButtonPressed(MOUSE_LEFT_BUTTON);
    input.left_released = IsMouseButtonReleased(MOUSE_LEFT_BUTTON);
    input.backspace_pressed = IsKeyPressed(KEY_BACKSPACE);
    input.backspace_down = IsKeyDown(KEY_BACKSPACE);
    input.enter_pressed = IsKeyPressed(KEY_ENTER);
    input.screen_width = GetScreenWidth();
    input.screen_height = GetScreenHeight();

    // raylib forgets untaken characters at the end of the frame, so draining its queue here
    // loses nothing that a control could have read.
    for (int c = GetCharPressed(); c != 0; c = GetCharPressed())
    {
        if (input.typed_count < GUI_TYPED_MAX) input.typed[input.typed_count++] = c;
    }
    return input;
}

int TakeTypedChar(GUI_INPUT_T *input)
{
    if (input->typed_next >= input->typed_count) return 0;
    return input->typed[input->typed_next++];
}
