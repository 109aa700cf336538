// Fills the input seam from raylib. The only place besides raygui itself that reads raylib's
// mouse and keyboard state for the screens.
#include "app/gui_input.h"

#include <GLFW/glfw3.h>

#if defined(__EMSCRIPTEN__)
#include "web/page_bridge.h"
#endif

// Keys that went down since the last read. File-static because GLFW calls back into plain
// functions; only the window's own thread writes and reads them.
static bool keyWentDown[GLFW_KEY_LAST + 1] = {};
static bool keyWentDownWithCtrl[GLFW_KEY_LAST + 1] = {}; // Ctrl was held as it went down
static bool keyWentDownWithShift[GLFW_KEY_LAST + 1] = {}; // and Shift
static GLFWkeyfun raylibKeyCallback = nullptr;
static bool buttonWentDown[3] = {}; // left, right, middle
static bool buttonWentUp[3] = {};
static GLFWmousebuttonfun raylibMouseCallback = nullptr;
// The last press of the left button, for double clicks.
static double lastPressSeconds = -1.0;
static Vector2 lastPressAt = {};
// The pointer at the last read, for its movement; none before the first.
static bool havePreviousMouse = false;
static Vector2 previousMouse = {};

static void LatchKey(GLFWwindow *window, int key, int scancode, int action, int mods)
{
    if (action == GLFW_PRESS && key >= 0 && key <= GLFW_KEY_LAST)
    {
        keyWentDown[key] = true;
        if ((mods & GLFW_MOD_CONTROL) != 0) keyWentDownWithCtrl[key] = true;
        if ((mods & GLFW_MOD_SHIFT) != 0) keyWentDownWithShift[key] = true;
    }
    if (raylibKeyCallback != nullptr) raylibKeyCallback(window, key, scancode, action, mods);
}

static void LatchButton(GLFWwindow *window, int button, int action, int mods)
{
    if (button >= 0 && button < 3)
    {
        if (action == GLFW_PRESS) buttonWentDown[button] = true;
        if (action == GLFW_RELEASE) buttonWentUp[button] = true;
    }
    if (raylibMouseCallback != nullptr) raylibMouseCallback(window, button, action, mods);
}

void InstallInputLatch(void)
{
    GLFWwindow *window = glfwGetCurrentContext(); // raylib's window; its handle getter gives none on X11
    if (window == nullptr || raylibKeyCallback != nullptr) return;
    raylibKeyCallback = glfwSetKeyCallback(window, LatchKey);
    raylibMouseCallback = glfwSetMouseButtonCallback(window, LatchButton);
}

// Down since the last frame, even if already up again.
static bool KeyWentDown(int key)
{
    return IsKeyPressed(key) || (key >= 0 && key <= GLFW_KEY_LAST && keyWentDown[key]);
}

// The same with Ctrl held as it went down, even if both are up again by now.
static bool CtrlKeyWentDown(int key)
{
    const bool ctrl = IsKeyDown(KEY_LEFT_CONTROL) || IsKeyDown(KEY_RIGHT_CONTROL);
    return (ctrl && IsKeyPressed(key)) || (key >= 0 && key <= GLFW_KEY_LAST && keyWentDownWithCtrl[key]);
}

GUI_INPUT_T ReadGuiInput(void)
{
    GUI_INPUT_T input = {};
    input.mouse = GetMousePosition();
    input.left_down = IsMouseButtonDown(MOUSE_LEFT_BUTTON);
    input.left_pressed = IsMouseButtonPressed(MOUSE_LEFT_BUTTON) || buttonWentDown[GLFW_MOUSE_BUTTON_LEFT];
    input.left_released = IsMouseButtonReleased(MOUSE_LEFT_BUTTON) || buttonWentUp[GLFW_MOUSE_BUTTON_LEFT];
    input.right_down = IsMouseButtonDown(MOUSE_RIGHT_BUTTON) || IsMouseButtonDown(MOUSE_MIDDLE_BUTTON);
    if (havePreviousMouse)
        input.mouse_delta = Vector2{input.mouse.x - previousMouse.x, input.mouse.y - previousMouse.y};
    previousMouse = input.mouse;
    havePreviousMouse = true;
    if (input.left_pressed)
    {
        const double now = GetTime();
        const float dx = input.mouse.x - lastPressAt.x, dy = input.mouse.y - lastPressAt.y;
        input.double_click = lastPressSeconds >= 0.0 && now - lastPressSeconds <= DOUBLE_CLICK_SECONDS &&
                             dx * dx + dy * dy <= DOUBLE_CLICK_PIXELS * DOUBLE_CLICK_PIXELS;
        // A double click is not the first click of the next one.
        lastPressSeconds = input.double_click ? -1.0 : now;
        lastPressAt = input.mouse;
    }
    input.backspace_pressed = KeyWentDown(KEY_BACKSPACE);
    input.backspace_down = IsKeyDown(KEY_BACKSPACE);
    input.enter_pressed = KeyWentDown(KEY_ENTER) || KeyWentDown(KEY_KP_ENTER);
    input.escape_pressed = KeyWentDown(KEY_ESCAPE);
    const bool shift = IsKeyDown(KEY_LEFT_SHIFT) || IsKeyDown(KEY_RIGHT_SHIFT) || keyWentDownWithShift[KEY_C];
    input.copy_link_pressed = CtrlKeyWentDown(KEY_C) && shift;
    input.copy_pressed = CtrlKeyWentDown(KEY_C) && !shift;
    input.paste_pressed = CtrlKeyWentDown(KEY_V);
    input.export_pressed = CtrlKeyWentDown(KEY_E);
    input.find_pressed = CtrlKeyWentDown(KEY_F);
    input.screenshot_pressed = KeyWentDown(KEY_F12);
    input.arrow_step = (KeyWentDown(KEY_RIGHT) || KeyWentDown(KEY_UP) ? 1 : 0) -
                       (KeyWentDown(KEY_LEFT) || KeyWentDown(KEY_DOWN) ? 1 : 0);
    input.tab_pressed = KeyWentDown(KEY_TAB);
    input.help_pressed = KeyWentDown(KEY_F1);
    input.timings_pressed = KeyWentDown(KEY_F3);
    input.space_pressed = KeyWentDown(KEY_SPACE);
    input.reset_pressed = KeyWentDown(KEY_R);
    input.top_down_pressed = KeyWentDown(KEY_T);
    input.plain_look_pressed = KeyWentDown(KEY_L);
    // Only keys that went down: raylib's GetKeyPressed() queues a key on its release, so the
    // release of the very key that opened something would count as a new one.
    for (bool latched : keyWentDown) input.any_key_pressed = input.any_key_pressed || latched;
    input.wheel = GetMouseWheelMove();
    if (input.paste_pressed)
    {
#if defined(__EMSCRIPTEN__)
        input.clipboard = PastedPageText(); // a browser hands the clipboard over only as it pastes
#else
        const char *text = GetClipboardText();
        if (text != nullptr) input.clipboard = text;
#endif
    }
    for (bool &latched : keyWentDown) latched = false;
    for (bool &latched : keyWentDownWithCtrl) latched = false;
    for (bool &latched : keyWentDownWithShift) latched = false;
    for (int b = 0; b < 3; b++) buttonWentDown[b] = buttonWentUp[b] = false;
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
