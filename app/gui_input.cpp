// Fills the input seam from raylib. The only place besides raygui itself that reads raylib's
// mouse and keyboard state for the screens.
#include "app/gui_input.h"

#include <GLFW/glfw3.h>

// Keys that went down since the last read. File-static because GLFW calls back into plain
// functions; only the window's own thread writes and reads them.
static bool keyWentDown[GLFW_KEY_LAST + 1] = {};
static GLFWkeyfun raylibKeyCallback = nullptr;

static void LatchKey(GLFWwindow *window, int key, int scancode, int action, int mods)
{
    if (action == GLFW_PRESS && key >= 0 && key <= GLFW_KEY_LAST) keyWentDown[key] = true;
    if (raylibKeyCallback != nullptr) raylibKeyCallback(window, key, scancode, action, mods);
}

void InstallKeyLatch(void)
{
    GLFWwindow *window = glfwGetCurrentContext(); // raylib's window; its handle getter gives none on X11
    if (window == nullptr || raylibKeyCallback != nullptr) return;
    raylibKeyCallback = glfwSetKeyCallback(window, LatchKey);
}

// Down since the last frame, even if already up again.
static bool KeyWentDown(int key)
{
    return IsKeyPressed(key) || (key >= 0 && key <= GLFW_KEY_LAST && keyWentDown[key]);
}

GUI_INPUT_T ReadGuiInput(void)
{
    GUI_INPUT_T input = {};
    input.mouse = GetMousePosition();
    input.left_down = IsMouseButtonDown(MOUSE_LEFT_BUTTON);
    input.left_pressed = IsMouseButtonPressed(MOUSE_LEFT_BUTTON);
    input.left_released = IsMouseButtonReleased(MOUSE_LEFT_BUTTON);
    input.backspace_pressed = KeyWentDown(KEY_BACKSPACE);
    input.backspace_down = IsKeyDown(KEY_BACKSPACE);
    input.enter_pressed = KeyWentDown(KEY_ENTER) || KeyWentDown(KEY_KP_ENTER);
    input.escape_pressed = KeyWentDown(KEY_ESCAPE);
    const bool ctrl = IsKeyDown(KEY_LEFT_CONTROL) || IsKeyDown(KEY_RIGHT_CONTROL);
    input.copy_pressed = ctrl && KeyWentDown(KEY_C);
    input.paste_pressed = ctrl && KeyWentDown(KEY_V);
    input.export_pressed = ctrl && KeyWentDown(KEY_E);
    input.screenshot_pressed = KeyWentDown(KEY_F12);
    input.arrow_step = (KeyWentDown(KEY_RIGHT) || KeyWentDown(KEY_UP) ? 1 : 0) -
                       (KeyWentDown(KEY_LEFT) || KeyWentDown(KEY_DOWN) ? 1 : 0);
    input.wheel = GetMouseWheelMove();
    if (input.paste_pressed) input.clipboard = GetClipboardText();
    for (bool &latched : keyWentDown) latched = false;
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
