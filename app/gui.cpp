// The one translation unit that compiles raygui's implementation. raygui keeps its lock
// flag, alpha and drawing helpers file-static, so the program's own controls, which must
// look and lock like raygui's, live here too.
#define RAYGUI_IMPLEMENTATION
#include "app/gui.h"

#include <cmath>
#include <cstdio>
#include <cstring>

// raygui's window header height and close-button size, which it keeps inside GuiWindowBox.
constexpr int WINDOW_HEADER_HEIGHT = 22;
constexpr int WINDOW_CLOSE_SIZE = 18;

// Frames since the value box began editing or last saw Backspace go down: drives the
// backspace repeat and the cursor's blinking. Shared by every such box, like raygui's own.
static int valueBoxFramesCounter = 0;

int32_t TextToIntegerSaturated(const char *text)
{
    int64_t sign = 1;
    if (text[0] == '+' || text[0] == '-')
    {
        if (text[0] == '-') sign = -1;
        text++;
    }
    // Past 2^31 every further digit only grows the number, so stop accumulating there.
    int64_t magnitude = 0;
    for (int i = 0; text[i] >= '0' && text[i] <= '9'; i++)
    {
        if (magnitude <= 2147483648LL) magnitude = magnitude * 10 + (text[i] - '0');
    }
    const int64_t value = sign * magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return (int32_t)value;
}

static bool GuiInputBlocked(void)
{
    return guiState == GUI_STATE_DISABLED || guiLocked;
}

static Color StyleColor(int control, int property)
{
    return Fade(GetColor(GuiGetStyle(control, property)), guiAlpha);
}

// Whether this frame draws, and raygui's font fit to draw with. raygui loads its style, font
// included, the first time anything asks for a style value; asked before the window opened,
// it keeps raylib's empty font for good, and its first text would read through a null glyph
// table. Such a font is replaced by raylib's default once a window exists.
static void RepairGuiFont(void)
{
    GuiGetStyle(DEFAULT, TEXT_SIZE); // loads raygui's style first, so it cannot undo the repair
    if (IsWindowReady() && (guiFont.texture.id == 0 || guiFont.chars == nullptr)) guiFont = GetFontDefault();
}

static bool GuiDrawsThisFrame(void)
{
    RepairGuiFont();
    return IsWindowReady();
}

// Width in raygui's font and size. Before a window exists raygui's font has no glyphs and
// raylib would read through its null glyph table, so such a text counts as zero wide.
static int GuiTextWidth(const char *text)
{
    RepairGuiFont();
    const float size = (float)GuiGetStyle(DEFAULT, TEXT_SIZE);
    const float spacing = (float)GuiGetStyle(DEFAULT, TEXT_SPACING);
    if (text == nullptr || text[0] == '\0' || guiFont.chars == nullptr) return 0;
    return RoundToInt32(MeasureTextEx(guiFont, text, size, spacing).x);
}

// ---- Labelled slider --------------------------------------------------------------------
SLIDER_FRAME_T UpdateLabeledSlider(Rectangle bounds, float value, float minValue, float maxValue,
                                   int sliderWidth, const GUI_INPUT_T *input)
{
    const int borderWidth = GuiGetStyle(SLIDER, BORDER_WIDTH);
    const int padding = GuiGetStyle(SLIDER, SLIDER_PADDING);

    SLIDER_FRAME_T frame = {};
    frame.state = guiState;
    const int sliderValue =
        RoundToInt32(((value - minValue) / (maxValue - minValue)) * (bounds.width - 2 * borderWidth));

    frame.bar = Rectangle{bounds.x, bounds.y + borderWidth + padding, 0.0f,
                          bounds.height - 2 * borderWidth - 2 * padding};
    if (sliderWidth > 0)
    {
        frame.bar.x += sliderValue - sliderWidth / 2.0f;
        frame.bar.width = (float)sliderWidth;
    }
    else if (sliderWidth == 0)
    {
        frame.bar.x += borderWidth;
        frame.bar.width = (float)sliderValue;
    }

    if (!GuiInputBlocked())
    {
        const Vector2 mouse = input->mouse;
        // Clamping belongs to the pointer: a value outside the range passes through untouched
        // until the user reaches for this slider.
        if (CheckCollisionPointRec(mouse, bounds))
        {
            if (input->left_down)
            {
                frame.state = GUI_STATE_PRESSED;
                value = ((maxValue - minValue) * (mouse.x - bounds.x - sliderWidth / 2.0f)) /
                            (bounds.width - sliderWidth) +
                        minValue;
                // The bar still shows where the value stood before this frame's drag.
                if (sliderWidth > 0)
                    frame.bar.x = mouse.x - frame.bar.width / 2.0f;
                else if (sliderWidth == 0)
                    frame.bar.width = (float)sliderValue;
            }
            else
            {
                frame.state = GUI_STATE_FOCUSED;
            }

            if (value > maxValue)
                value = maxValue;
            else if (value < minValue)
                value = minValue;
        }
    }

    if (sliderWidth > 0)
    {
        if (frame.bar.x <= bounds.x + borderWidth)
            frame.bar.x = bounds.x + borderWidth;
        else if (frame.bar.x + frame.bar.width >= bounds.x + bounds.width)
            frame.bar.x = bounds.x + bounds.width - frame.bar.width - borderWidth;
    }
    else if (sliderWidth == 0)
    {
        if (frame.bar.width > bounds.width) frame.bar.width = bounds.width - 2 * borderWidth;
        // A value below the range would give a negative width, which raylib draws leftwards,
        // outside the control.
        if (frame.bar.width < 0.0f) frame.bar.width = 0.0f;
    }

    frame.value = value;
    return frame;
}

static void DrawLabeledSlider(Rectangle bounds, const char *text, const SLIDER_FRAME_T *frame)
{
    const int state = frame->state;
    GuiDrawRectangle(
        bounds, GuiGetStyle(SLIDER, BORDER_WIDTH), StyleColor(SLIDER, BORDER_COLOR_NORMAL + 3 * state),
        StyleColor(SLIDER, (state == GUI_STATE_DISABLED) ? BASE_COLOR_DISABLED : BASE_COLOR_NORMAL));

    if (state == GUI_STATE_NORMAL || state == GUI_STATE_PRESSED)
        GuiDrawRectangle(frame->bar, 0, BLANK, StyleColor(SLIDER, BASE_COLOR_PRESSED));
    else if (state == GUI_STATE_FOCUSED)
        GuiDrawRectangle(frame->bar, 0, BLANK, StyleColor(SLIDER, BASE_COLOR_DISABLED));

    // Drawn after the bar, so the name and value stay readable on top of it.
    if (text != nullptr)
    {
        const float textWidth = (float)GuiTextWidth(text);
        const float textSize = (float)GuiGetStyle(DEFAULT, TEXT_SIZE);
        const Rectangle textBounds = {bounds.x + bounds.width / 2.0f - textWidth / 2.0f,
                                      bounds.y + bounds.height / 2.0f - textSize / 2.0f, textWidth, textSize};
        GuiDrawText(text, textBounds, GUI_TEXT_ALIGN_LEFT, StyleColor(SLIDER, TEXT_COLOR_NORMAL + 3 * state));
    }
}

float GuiLabeledSliderPro(Rectangle bounds, const char *text, float value, float minValue, float maxValue,
                          int sliderWidth, const GUI_INPUT_T *input)
{
    const SLIDER_FRAME_T frame = UpdateLabeledSlider(bounds, value, minValue, maxValue, sliderWidth, input);
    if (GuiDrawsThisFrame()) DrawLabeledSlider(bounds, text, &frame);
    return frame.value;
}

float GuiLabeledSliderBar(Rectangle bounds, const char *text, float value, float minValue, float maxValue,
                          const GUI_INPUT_T *input)
{
    return GuiLabeledSliderPro(bounds, text, value, minValue, maxValue, 0, input);
}

// ---- Unsigned value box -----------------------------------------------------------------
// Backspace held down repeats once every second frame after this many frames.
constexpr int BACKSPACE_REPEAT_DELAY = 20;

VALUEBOX_FRAME_T UpdateValueBoxUnsigned(Rectangle bounds, uint32_t *value, float minValue, float maxValue,
                                        bool editMode, GUI_INPUT_T *input)
{
    VALUEBOX_FRAME_T frame = {};
    frame.state = guiState;
    std::snprintf(frame.shown, sizeof frame.shown, "%u", (unsigned)*value);

    if (GuiInputBlocked()) return frame;

    const Vector2 mouse = input->mouse;
    if (editMode)
    {
        frame.state = GUI_STATE_PRESSED;
        valueBoxFramesCounter++;
        bool changed = false;

        int length = (int)std::strlen(frame.shown);
        if (length < VALUEBOX_UNSIGNED_MAX_CHARS && GuiTextWidth(frame.shown) < RoundToInt32(bounds.width))
        {
            const int key = TakeTypedChar(input);
            if (key >= '0' && key <= '9')
            {
                frame.shown[length++] = (char)key;
                frame.shown[length] = '\0';
                changed = true;
            }
        }

        if (length > 0)
        {
            if (input->backspace_pressed)
            {
                frame.shown[--length] = '\0';
                valueBoxFramesCounter = 0;
                changed = true;
            }
            else if (input->backspace_down)
            {
                if (valueBoxFramesCounter > BACKSPACE_REPEAT_DELAY && valueBoxFramesCounter % 2 == 0)
                    frame.shown[--length] = '\0';
                changed = true;
            }
        }

        if (changed)
        {
            // Rewritten from the number, so leading zeros disappear as they are typed.
            *value = (uint32_t)TextToIntegerSaturated(frame.shown);
            std::snprintf(frame.shown, sizeof frame.shown, "%d", (int)(int32_t)*value);
        }

        frame.pressed =
            input->enter_pressed || (!CheckCollisionPointRec(mouse, bounds) && input->left_pressed);
    }
    else
    {
        // The range check reads the value as signed, so 2^31 and above count as negative.
        const int32_t current = (int32_t)*value;
        const int32_t lowest = RoundToInt32(minValue);
        const int32_t highest = RoundToInt32(maxValue);
        if (current > highest)
            *value = (uint32_t)highest;
        else if (current < lowest)
            *value = (uint32_t)lowest;

        if (CheckCollisionPointRec(mouse, bounds))
        {
            frame.state = GUI_STATE_FOCUSED;
            if (input->left_pressed) frame.pressed = true;
        }
    }

    if (frame.pressed) valueBoxFramesCounter = 0;
    return frame;
}

static void DrawValueBoxUnsigned(Rectangle bounds, const char *text, const VALUEBOX_FRAME_T *frame,
                                 bool editMode)
{
    const int state = frame->state;
    const float borderWidth = (float)GuiGetStyle(VALUEBOX, BORDER_WIDTH);

    // The fill ignores raygui's alpha, as raygui's own value box does.
    Color fill = BLANK;
    if (state == GUI_STATE_PRESSED)
        fill = GetColor(GuiGetStyle(VALUEBOX, BASE_COLOR_PRESSED));
    else if (state == GUI_STATE_DISABLED)
        fill = GetColor(GuiGetStyle(VALUEBOX, BASE_COLOR_DISABLED));
    GuiDrawRectangle(bounds, (int)borderWidth, StyleColor(VALUEBOX, BORDER_COLOR_NORMAL + 3 * state), fill);

    const Rectangle inner = {bounds.x + borderWidth, bounds.y + borderWidth,
                             bounds.width - 2.0f * borderWidth, bounds.height - 2.0f * borderWidth};
    GuiDrawText(frame->shown, inner, GUI_TEXT_ALIGN_RIGHT,
                StyleColor(VALUEBOX, TEXT_COLOR_NORMAL + 3 * state));

    if (state == GUI_STATE_PRESSED && editMode &&
        RoundToInt32(valueBoxFramesCounter / (float)TEXTEDIT_CURSOR_BLINK_FRAMES) % 2 == 0)
    {
        const float textWidth = (float)GuiTextWidth(frame->shown);
        const Rectangle cursor = {bounds.x + textWidth / 2.0f + bounds.width / 2.0f + 2.0f,
                                  bounds.y + 2.0f * borderWidth, 1.0f, bounds.height - 4.0f * borderWidth};
        GuiDrawRectangle(cursor, 0, BLANK, StyleColor(VALUEBOX, BORDER_COLOR_PRESSED));
    }

    if (text != nullptr)
    {
        const float textSize = (float)GuiGetStyle(DEFAULT, TEXT_SIZE);
        const Rectangle textBounds = {bounds.x + GuiGetStyle(VALUEBOX, TEXT_PADDING),
                                      bounds.y + bounds.height / 2.0f - textSize / 2.0f,
                                      (float)GuiTextWidth(text), textSize};
        const int alignment = (GuiGetStyle(VALUEBOX, TEXT_ALIGNMENT) == GUI_TEXT_ALIGN_RIGHT)
                                  ? GUI_TEXT_ALIGN_LEFT
                                  : GUI_TEXT_ALIGN_RIGHT;
        GuiDrawText(text, textBounds, alignment, StyleColor(LABEL, TEXT_COLOR_NORMAL + 3 * state));
    }
}

bool GuiValueBoxUnsigned(Rectangle bounds, const char *text, uint32_t *value, float minValue, float maxValue,
                         bool editMode, GUI_INPUT_T *input)
{
    const VALUEBOX_FRAME_T frame = UpdateValueBoxUnsigned(bounds, value, minValue, maxValue, editMode, input);
    if (GuiDrawsThisFrame()) DrawValueBoxUnsigned(bounds, text, &frame, editMode);
    return frame.pressed;
}

// ---- Text line ----------------------------------------------------------------------------
// Appends code point c to text as UTF-8 if it fits; returns whether it did.
static bool AppendUtf8(char *text, int size, int c)
{
    char bytes[4] = {};
    int count = 0;
    if (c < 0x80) { bytes[0] = (char)c; count = 1; }
    else if (c < 0x800) { bytes[0] = (char)(0xC0 | (c >> 6)); bytes[1] = (char)(0x80 | (c & 0x3F)); count = 2; }
    else if (c < 0x10000) { bytes[0] = (char)(0xE0 | (c >> 12)); bytes[1] = (char)(0x80 | ((c >> 6) & 0x3F)); bytes[2] = (char)(0x80 | (c & 0x3F)); count = 3; }
    else if (c < 0x110000) { bytes[0] = (char)(0xF0 | (c >> 18)); bytes[1] = (char)(0x80 | ((c >> 12) & 0x3F)); bytes[2] = (char)(0x80 | ((c >> 6) & 0x3F)); bytes[3] = (char)(0x80 | (c & 0x3F)); count = 4; }
    else return false;
    const int length = (int)std::strlen(text);
    if (length + count > size - 1) return false;
    std::memcpy(text + length, bytes, (size_t)count);
    text[length + count] = '\0';
    return true;
}

bool GuiTextLine(Rectangle bounds, char *text, int size, bool editMode, GUI_INPUT_T *input)
{
    bool pressed = false;
    int state = guiState;
    if (!GuiInputBlocked())
    {
        const bool inside = CheckCollisionPointRec(input->mouse, bounds);
        if (editMode)
        {
            state = GUI_STATE_PRESSED;
            // Control characters never reach a name: they would break the saved file's lines.
            for (int c = TakeTypedChar(input); c != 0; c = TakeTypedChar(input))
            {
                if (c >= 32 && c != 127) AppendUtf8(text, size, c);
            }
            if (input->backspace_pressed)
            {
                int length = (int)std::strlen(text);
                while (length > 0 && ((unsigned char)text[length - 1] & 0xC0) == 0x80) length--; // continuation bytes
                if (length > 0) length--;
                text[length] = '\0';
            }
            pressed = input->enter_pressed || (!inside && input->left_pressed);
        }
        else if (inside)
        {
            state = GUI_STATE_FOCUSED;
            pressed = input->left_pressed;
        }
    }

    if (GuiDrawsThisFrame())
    {
        const int borderWidth = GuiGetStyle(TEXTBOX, BORDER_WIDTH);
        const Color fill = (state == GUI_STATE_PRESSED) ? StyleColor(TEXTBOX, BASE_COLOR_PRESSED) : BLANK;
        GuiDrawRectangle(bounds, borderWidth, StyleColor(TEXTBOX, BORDER_COLOR_NORMAL + 3 * state), fill);
        const Rectangle inner = {bounds.x + borderWidth + 4.0f, bounds.y, bounds.width - 2.0f * borderWidth - 8.0f,
                                 bounds.height};
        GuiDrawText(text, inner, GUI_TEXT_ALIGN_LEFT, StyleColor(TEXTBOX, TEXT_COLOR_NORMAL + 3 * state));
        if (state == GUI_STATE_PRESSED)
        {
            const float textWidth = (float)GuiTextWidth(text);
            const Rectangle cursor = {inner.x + textWidth + 2.0f, bounds.y + 4.0f, 1.0f, bounds.height - 8.0f};
            GuiDrawRectangle(cursor, 0, BLANK, StyleColor(TEXTBOX, BORDER_COLOR_PRESSED));
        }
    }
    return pressed;
}

// ---- raygui's controls for the screens --------------------------------------------------
static bool ReleasedOver(Rectangle bounds, const GUI_INPUT_T *input)
{
    return !GuiInputBlocked() && CheckCollisionPointRec(input->mouse, bounds) && input->left_released;
}

Rectangle WindowCloseBoxBounds(Rectangle windowBounds)
{
    const int statusBorder = GuiGetStyle(STATUSBAR, BORDER_WIDTH);
    int headerHeight = WINDOW_HEADER_HEIGHT + 2 * statusBorder;
    headerHeight += headerHeight % 2;
    return Rectangle{windowBounds.x + windowBounds.width - statusBorder - 20.0f,
                     windowBounds.y + (float)(headerHeight / 2 - WINDOW_CLOSE_SIZE / 2),
                     (float)WINDOW_CLOSE_SIZE, (float)WINDOW_CLOSE_SIZE};
}

// raygui draws these; the verdict is always the input record's. In a window raygui sees the
// same click in the same frame and so draws its outcome at once; a click that exists only in
// the record shows from the next frame on.
bool ScreenWindowBox(Rectangle bounds, const char *title, const GUI_INPUT_T *input)
{
    if (GuiDrawsThisFrame()) GuiWindowBox(bounds, title);
    return ReleasedOver(WindowCloseBoxBounds(bounds), input);
}

int ScreenToggleGroup(Rectangle bounds, const char *text, int active, const GUI_INPUT_T *input)
{
    if (GuiDrawsThisFrame()) GuiToggleGroup(bounds, text, active);

    // raygui's layout: ';' starts the next toggle on the same row, '\n' starts a new row.
    const float padding = (float)GuiGetStyle(TOGGLE, GROUP_PADDING);
    const float rowStart = bounds.x;
    int result = active;
    int index = 0;
    for (const char *c = text;; c++)
    {
        if (*c == '\0' || *c == ';' || *c == '\n')
        {
            // Clicking the active toggle leaves the group as it is.
            if (index != active && ReleasedOver(bounds, input)) result = index;
            if (*c == '\0') break;
            index++;
            if (*c == '\n')
            {
                bounds.x = rowStart;
                bounds.y += bounds.height + padding;
            }
            else
            {
                bounds.x += bounds.width + padding;
            }
        }
    }
    return result;
}

bool ScreenButton(Rectangle bounds, const char *text, const GUI_INPUT_T *input)
{
    if (GuiDrawsThisFrame()) GuiButton(bounds, text);
    return ReleasedOver(bounds, input);
}

void ScreenGroupBox(Rectangle bounds, const char *text)
{
    if (GuiDrawsThisFrame()) GuiGroupBox(bounds, text);
}

void ScreenLabel(Rectangle bounds, const char *text)
{
    if (GuiDrawsThisFrame()) GuiLabel(bounds, text);
}
