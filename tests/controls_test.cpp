// The program's own GUI controls (labelled slider, unsigned value box) and raygui's controls
// as the screens call them, driven through the input seam with no window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "app/gui.h"

namespace
{
constexpr Rectangle SLIDER_BOUNDS = {20.0f, 100.0f, 300.0f, 20.0f};
constexpr Rectangle BOX_BOUNDS = {20.0f, 50.0f, 300.0f, 20.0f};
constexpr float SEED_MAX = 2147483648.0f;

GUI_INPUT_T PointerAt(float x, float y)
{
    GUI_INPUT_T input = {};
    input.mouse = Vector2{x, y};
    return input;
}

GUI_INPUT_T Away(void)
{
    return PointerAt(1000.0f, 700.0f);
}

GUI_INPUT_T DragAt(float x, float y)
{
    GUI_INPUT_T input = PointerAt(x, y);
    input.left_down = true;
    return input;
}

GUI_INPUT_T ClickAt(float x, float y)
{
    GUI_INPUT_T input = PointerAt(x, y);
    input.left_pressed = true;
    input.left_down = true;
    return input;
}

GUI_INPUT_T Typing(int c)
{
    GUI_INPUT_T input = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
    input.typed[0] = c;
    input.typed_count = 1;
    return input;
}

// Every test leaves raygui's global state as it found it: enabled and unlocked.
class Controls : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        GuiEnable();
        GuiUnlock();
    }

    // Enters edit mode the way a user does, so the shared frame counter starts from 0.
    void BeginEditing(uint32_t *value)
    {
        GUI_INPUT_T click = ClickAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
        ASSERT_TRUE(UpdateValueBoxUnsigned(BOX_BOUNDS, value, 0.0f, SEED_MAX, false, &click).pressed);
    }
};

// A font of fixed-width glyphs, so text widths are known without a window: every printable
// character advances 10 pixels at raygui's text size 10, plus 1 pixel of spacing between.
// Its glyph tables live as long as the program, since raygui keeps the font once set.
constexpr int FIXED_GLYPHS = 95;
CharInfo fixedChars[FIXED_GLYPHS] = {};
Rectangle fixedRecs[FIXED_GLYPHS] = {};

void UseFixedWidthFont(void)
{
    for (int i = 0; i < FIXED_GLYPHS; i++)
    {
        fixedChars[i] = CharInfo{};
        fixedChars[i].value = 32 + i;
        fixedChars[i].advanceX = 10;
        fixedRecs[i] = Rectangle{0.0f, 0.0f, 10.0f, 10.0f};
    }
    Font font = {};
    font.baseSize = 10;
    font.charsCount = FIXED_GLYPHS;
    font.recs = fixedRecs;
    font.chars = fixedChars;
    font.texture.id = 1; // raygui only accepts a font with a texture; nothing draws here
    GuiSetFont(font);
}
} // namespace

// ---- Rounding and conversion -------------------------------------------------------------

// Catches truncation or halves rounded away from zero, and undefined conversions of NaN or
// of values beyond 32 bits.
TEST(GuiRounding, RoundsHalvesToEvenAndSaturates)
{
    EXPECT_EQ(RoundToInt32(2.5f), 2);
    EXPECT_EQ(RoundToInt32(3.5f), 4);
    EXPECT_EQ(RoundToInt32(-2.5f), -2);
    EXPECT_EQ(RoundToInt32(11.6f), 12);
    EXPECT_EQ(RoundToInt32(NAN), 0);
    EXPECT_EQ(RoundToInt32(2147483648.0f), INT32_MAX);
    EXPECT_EQ(RoundToInt32(-1.0e20f), INT32_MIN);
}

// Catches the text-to-integer overflow that raylib's own conversion has, and a parse that
// does not stop at the first non-digit.
TEST(GuiRounding, TextToIntegerSaturatesInsteadOfOverflowing)
{
    EXPECT_EQ(TextToIntegerSaturated("2147483647"), INT32_MAX);
    EXPECT_EQ(TextToIntegerSaturated("2147483648"), INT32_MAX);
    EXPECT_EQ(TextToIntegerSaturated("99999999999999999999999999999999"), INT32_MAX);
    EXPECT_EQ(TextToIntegerSaturated("-99999999999"), INT32_MIN);
    EXPECT_EQ(TextToIntegerSaturated("-2147483648"), INT32_MIN);
    EXPECT_EQ(TextToIntegerSaturated("0042x7"), 42);
    EXPECT_EQ(TextToIntegerSaturated(""), 0);
}

// ---- Labelled slider ---------------------------------------------------------------------

// Catches clamping that happens without the pointer, a bar that overflows the control, and
// a value above the range that the pointer fails to bring back.
TEST_F(Controls, SliderAboveMaxPassesUntilThePointerIsOverIt)
{
    const GUI_INPUT_T elsewhere = Away();
    const SLIDER_FRAME_T away = UpdateLabeledSlider(SLIDER_BOUNDS, 99.0f, 16.0f, 64.0f, 0, &elsewhere);
    EXPECT_EQ(away.value, 99.0f);
    EXPECT_EQ(away.state, GUI_STATE_NORMAL);
    EXPECT_EQ(away.bar.width, SLIDER_BOUNDS.width - 2.0f); // border width 1 on each side

    const GUI_INPUT_T over = PointerAt(SLIDER_BOUNDS.x + 150.0f, SLIDER_BOUNDS.y + 10.0f);
    const SLIDER_FRAME_T hovered = UpdateLabeledSlider(SLIDER_BOUNDS, 99.0f, 16.0f, 64.0f, 0, &over);
    EXPECT_EQ(hovered.value, 64.0f);
    EXPECT_EQ(hovered.state, GUI_STATE_FOCUSED);
}

// Catches a value below the range that is clamped without the pointer, and a bar of negative
// width that raylib would draw to the left, outside the control.
TEST_F(Controls, SliderBelowMinPassesUntilThePointerIsOverIt)
{
    const GUI_INPUT_T away = Away();
    const SLIDER_FRAME_T frame = UpdateLabeledSlider(SLIDER_BOUNDS, 5.0f, 16.0f, 64.0f, 0, &away);
    EXPECT_EQ(frame.value, 5.0f);
    EXPECT_EQ(frame.bar.width, 0.0f);
    EXPECT_GE(frame.bar.x, SLIDER_BOUNDS.x);

    const GUI_INPUT_T over = PointerAt(SLIDER_BOUNDS.x, SLIDER_BOUNDS.y);
    EXPECT_EQ(UpdateLabeledSlider(SLIDER_BOUNDS, 5.0f, 16.0f, 64.0f, 0, &over).value, 16.0f);
}

// Catches a wrong bar position or size (border and padding from the style table) and
// a fill that is not rounded to whole pixels.
TEST_F(Controls, SliderBarFillsFromTheLeftInsideBorderAndPadding)
{
    const GUI_INPUT_T away = Away();
    const SLIDER_FRAME_T frame = UpdateLabeledSlider(SLIDER_BOUNDS, 40.0f, 16.0f, 64.0f, 0, &away);
    EXPECT_EQ(frame.bar.x, SLIDER_BOUNDS.x + 1.0f);
    EXPECT_EQ(frame.bar.y, SLIDER_BOUNDS.y + 2.0f); // border 1 + padding 1
    EXPECT_EQ(frame.bar.height, SLIDER_BOUNDS.height - 4.0f);
    EXPECT_EQ(frame.bar.width, 149.0f); // half of 298
    const SLIDER_FRAME_T third =
        UpdateLabeledSlider(SLIDER_BOUNDS, 1.0f + 31.0f / 3.0f, 1.0f, 32.0f, 0, &away);
    EXPECT_EQ(third.bar.width, 99.0f); // 298 / 3 = 99.33, rounded
}

// Catches a drag that does not reach min and max at the edges, a returned value that is
// rounded, and a bar that jumps to the pointer in the frame of the drag.
TEST_F(Controls, DraggingGivesMinAtLeftEdgeMaxAtRightEdgeUnrounded)
{
    const GUI_INPUT_T left = DragAt(SLIDER_BOUNDS.x, SLIDER_BOUNDS.y + 10.0f);
    const SLIDER_FRAME_T atLeft = UpdateLabeledSlider(SLIDER_BOUNDS, 20.0f, 1.0f, 32.0f, 0, &left);
    EXPECT_EQ(atLeft.value, 1.0f);
    EXPECT_EQ(atLeft.state, GUI_STATE_PRESSED);

    const GUI_INPUT_T right = DragAt(SLIDER_BOUNDS.x + SLIDER_BOUNDS.width, SLIDER_BOUNDS.y + 10.0f);
    EXPECT_EQ(UpdateLabeledSlider(SLIDER_BOUNDS, 20.0f, 1.0f, 32.0f, 0, &right).value, 32.0f);

    const GUI_INPUT_T inside = DragAt(SLIDER_BOUNDS.x + 100.0f, SLIDER_BOUNDS.y + 10.0f);
    const SLIDER_FRAME_T mid = UpdateLabeledSlider(SLIDER_BOUNDS, 1.0f, 1.0f, 32.0f, 0, &inside);
    EXPECT_NEAR(mid.value, 1.0f + 31.0f / 3.0f, 1e-4f);
    EXPECT_NE(mid.value, std::round(mid.value));
    EXPECT_EQ(mid.bar.width, 0.0f); // still where value 1 stood

    // The button held outside the control moves nothing.
    const GUI_INPUT_T below = DragAt(SLIDER_BOUNDS.x + 100.0f, SLIDER_BOUNDS.y + 40.0f);
    EXPECT_EQ(UpdateLabeledSlider(SLIDER_BOUNDS, 7.0f, 1.0f, 32.0f, 0, &below).value, 7.0f);
}

// Catches a handle (sliderWidth > 0) that leaves the control at either end.
TEST_F(Controls, SliderHandleStaysInsideTheControl)
{
    const GUI_INPUT_T away = Away();
    const SLIDER_FRAME_T atMin = UpdateLabeledSlider(SLIDER_BOUNDS, 0.0f, 0.0f, 10.0f, 16, &away);
    EXPECT_EQ(atMin.bar.x, SLIDER_BOUNDS.x + 1.0f);
    EXPECT_EQ(atMin.bar.width, 16.0f);
    const SLIDER_FRAME_T atMax = UpdateLabeledSlider(SLIDER_BOUNDS, 10.0f, 0.0f, 10.0f, 16, &away);
    EXPECT_EQ(atMax.bar.x + atMax.bar.width, SLIDER_BOUNDS.x + SLIDER_BOUNDS.width - 1.0f);
}

// Catches a control that still takes input while raygui is disabled or locked.
TEST_F(Controls, SliderTakesNoInputWhileDisabledOrLocked)
{
    const GUI_INPUT_T drag = DragAt(SLIDER_BOUNDS.x + 100.0f, SLIDER_BOUNDS.y + 10.0f);
    GuiDisable();
    SLIDER_FRAME_T frame = UpdateLabeledSlider(SLIDER_BOUNDS, 99.0f, 16.0f, 64.0f, 0, &drag);
    EXPECT_EQ(frame.value, 99.0f);
    EXPECT_EQ(frame.state, GUI_STATE_DISABLED);
    GuiEnable();

    GuiLock();
    frame = UpdateLabeledSlider(SLIDER_BOUNDS, 99.0f, 16.0f, 64.0f, 0, &drag);
    EXPECT_EQ(frame.value, 99.0f);
    EXPECT_EQ(frame.state, GUI_STATE_NORMAL);
}

// ---- Unsigned value box ------------------------------------------------------------------

// Catches a box that reports or edits without being touched, and a range check that is not
// made on the signed reading (2^31 and more must become the minimum, 0).
TEST_F(Controls, ValueBoxUntouchedOnlyClampsTheSignedReading)
{
    GUI_INPUT_T away = Away();
    uint32_t value = 123456u;
    VALUEBOX_FRAME_T frame = UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &away);
    EXPECT_FALSE(frame.pressed);
    EXPECT_EQ(value, 123456u);
    EXPECT_STREQ(frame.shown, "123456");

    value = 2147483647u;
    EXPECT_FALSE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &away).pressed);
    EXPECT_EQ(value, 2147483647u);

    value = 3000000000u;
    frame = UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &away);
    EXPECT_FALSE(frame.pressed);
    EXPECT_STREQ(frame.shown, "3000000000"); // shown unsigned, as it was when the frame began
    EXPECT_EQ(value, 0u);

    value = 70u;
    UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 10.0f, 50.0f, false, &away);
    EXPECT_EQ(value, 50u);
    value = 3u;
    UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 10.0f, 50.0f, false, &away);
    EXPECT_EQ(value, 10u);
}

// Catches a box that does not report the click that begins editing, or that reports a click
// inside itself while editing (which would end editing at once).
TEST_F(Controls, ValueBoxReportsTheClickThatBeginsEditingOnly)
{
    uint32_t value = 5u;
    GUI_INPUT_T click = ClickAt(BOX_BOUNDS.x + 100.0f, BOX_BOUNDS.y + 5.0f);
    VALUEBOX_FRAME_T frame = UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &click);
    EXPECT_TRUE(frame.pressed);
    EXPECT_EQ(frame.state, GUI_STATE_FOCUSED);

    click = ClickAt(BOX_BOUNDS.x + 100.0f, BOX_BOUNDS.y + 5.0f);
    frame = UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &click);
    EXPECT_FALSE(frame.pressed);
    EXPECT_EQ(frame.state, GUI_STATE_PRESSED);

    GUI_INPUT_T hover = PointerAt(BOX_BOUNDS.x + 100.0f, BOX_BOUNDS.y + 5.0f);
    EXPECT_FALSE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &hover).pressed);
}

// Catches Enter or a click outside that fails to end editing, or that keeps reporting in
// the frames after (the caller would flip its edit flag back).
TEST_F(Controls, EnterOrClickOutsideEndsEditingOnce)
{
    uint32_t value = 5u;
    BeginEditing(&value);
    bool editing = true;

    GUI_INPUT_T enter = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
    enter.enter_pressed = true;
    if (UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, editing, &enter).pressed)
        editing = !editing;
    EXPECT_FALSE(editing);
    GUI_INPUT_T idle = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
    EXPECT_FALSE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, editing, &idle).pressed);

    BeginEditing(&value);
    GUI_INPUT_T outside = ClickAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 100.0f);
    EXPECT_TRUE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &outside).pressed);
    GUI_INPUT_T stillOutside = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 100.0f);
    EXPECT_FALSE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &stillOutside).pressed);
    EXPECT_EQ(value, 5u);
}

// Catches letters, signs or spaces getting into the number, more than one character taken
// per frame, and leading zeros that stay.
TEST_F(Controls, EditingAcceptsDigitsOnlyOnePerFrame)
{
    uint32_t value = 12u;
    BeginEditing(&value);
    for (int c : {'a', '-', '+', ' ', '.', 'Z'})
    {
        GUI_INPUT_T input = Typing(c);
        const VALUEBOX_FRAME_T frame =
            UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &input);
        EXPECT_EQ(value, 12u) << "after '" << (char)c << "'";
        EXPECT_STREQ(frame.shown, "12");
    }

    GUI_INPUT_T twoAtOnce = Typing('3');
    twoAtOnce.typed[1] = '4';
    twoAtOnce.typed_count = 2;
    const VALUEBOX_FRAME_T frame =
        UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &twoAtOnce);
    EXPECT_EQ(value, 123u);
    EXPECT_STREQ(frame.shown, "123");
    EXPECT_EQ(twoAtOnce.typed_next, 1); // the '4' is left for nobody else to misread

    value = 0u;
    GUI_INPUT_T zero = Typing('0');
    EXPECT_STREQ(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &zero).shown, "0");
    GUI_INPUT_T seven = Typing('7');
    EXPECT_STREQ(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &seven).shown, "7");
    EXPECT_EQ(value, 7u);
}

// Catches the signed overflow of typing more digits than 32 bits hold: the number must
// saturate at the largest signed value and stay there, never wrap to a negative reading.
TEST_F(Controls, TypedDigitsBeyondThirtyTwoBitsSaturate)
{
    uint32_t value = 999999999u;
    BeginEditing(&value);
    for (int i = 0; i < 40; i++)
    {
        GUI_INPUT_T nine = Typing('9');
        const VALUEBOX_FRAME_T frame =
            UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &nine);
        ASSERT_EQ(value, 2147483647u) << "after " << i + 1 << " more digits";
        ASSERT_STREQ(frame.shown, "2147483647");
    }
    // Leaving edit mode keeps it: it lies inside the box's range.
    GUI_INPUT_T away = Away();
    UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &away);
    EXPECT_EQ(value, 2147483647u);
}

// Catches a box that keeps accepting digits once its text is as wide as the box.
TEST_F(Controls, EditingStopsAtTheBoxWidth)
{
    UseFixedWidthFont();
    const Rectangle narrow = {20.0f, 50.0f, 45.0f, 20.0f};
    uint32_t value = 1234u; // 4 glyphs: 4 * 10 + 3 * 1 = 43 pixels, narrower than 45
    GUI_INPUT_T click = ClickAt(narrow.x + 5.0f, narrow.y + 5.0f);
    ASSERT_TRUE(UpdateValueBoxUnsigned(narrow, &value, 0.0f, SEED_MAX, false, &click).pressed);

    GUI_INPUT_T five = Typing('5');
    five.mouse = Vector2{narrow.x + 5.0f, narrow.y + 5.0f};
    UpdateValueBoxUnsigned(narrow, &value, 0.0f, SEED_MAX, true, &five);
    EXPECT_EQ(value, 12345u); // now 54 pixels, as wide as the box or wider

    GUI_INPUT_T six = five;
    six.typed[0] = '6';
    six.typed_next = 0;
    UpdateValueBoxUnsigned(narrow, &value, 0.0f, SEED_MAX, true, &six);
    EXPECT_EQ(value, 12345u);
    EXPECT_EQ(six.typed_next, 0); // the character was not even taken
}

// Catches a wrong backspace repeat: one character at once, then nothing until the frame
// counter passes 20, then one character every second frame.
TEST_F(Controls, HeldBackspaceRepeatsAfterTwentyFramesEverySecondFrame)
{
    uint32_t value = 123456789u;
    BeginEditing(&value);

    GUI_INPUT_T press = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
    press.backspace_pressed = true;
    press.backspace_down = true;
    UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &press);
    EXPECT_EQ(value, 12345678u);

    std::vector<int> removedAt;
    for (int frame = 1; frame <= 26; frame++)
    {
        GUI_INPUT_T held = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
        held.backspace_down = true;
        const uint32_t before = value;
        UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &held);
        if (value != before) removedAt.push_back(frame);
    }
    EXPECT_EQ(removedAt, (std::vector<int>{22, 24, 26}));
    EXPECT_EQ(value, 12345u);
}

// Catches backspace that leaves an empty, unparseable text: removing the last digit gives 0.
TEST_F(Controls, BackspaceOnTheLastDigitGivesZero)
{
    uint32_t value = 7u;
    BeginEditing(&value);
    GUI_INPUT_T press = PointerAt(BOX_BOUNDS.x + 10.0f, BOX_BOUNDS.y + 10.0f);
    press.backspace_pressed = true;
    const VALUEBOX_FRAME_T frame = UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &press);
    EXPECT_EQ(value, 0u);
    EXPECT_STREQ(frame.shown, "0");
}

// Catches a box that edits, reports or even range-checks while raygui is locked or disabled.
TEST_F(Controls, ValueBoxTakesNoInputWhileLockedOrDisabled)
{
    uint32_t value = 3000000000u;
    GUI_INPUT_T input = Typing('5');
    input.enter_pressed = true;
    GuiLock();
    EXPECT_FALSE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &input).pressed);
    EXPECT_FALSE(UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, false, &input).pressed);
    EXPECT_EQ(value, 3000000000u);
    GuiUnlock();

    GuiDisable();
    const VALUEBOX_FRAME_T frame = UpdateValueBoxUnsigned(BOX_BOUNDS, &value, 0.0f, SEED_MAX, true, &input);
    EXPECT_FALSE(frame.pressed);
    EXPECT_EQ(frame.state, GUI_STATE_DISABLED);
    EXPECT_EQ(value, 3000000000u);
}

// ---- raygui's controls without a window --------------------------------------------------

// Catches a close box hit-tested in the wrong place, or firing on the press rather than on
// the release the way raygui's buttons do.
TEST_F(Controls, WindowCloseBoxFiresOnReleaseOverIt)
{
    const Rectangle window = {20.0f, 528.0f, 220.0f, 220.0f};
    const Rectangle close = WindowCloseBoxBounds(window);
    EXPECT_EQ(close.x, 219.0f);
    EXPECT_EQ(close.y, 531.0f);
    EXPECT_EQ(close.width, 18.0f);

    GUI_INPUT_T pressed = ClickAt(228.0f, 540.0f);
    EXPECT_FALSE(ScreenWindowBox(window, "", &pressed));
    GUI_INPUT_T released = PointerAt(228.0f, 540.0f);
    released.left_released = true;
    EXPECT_TRUE(ScreenWindowBox(window, "", &released));
    released.mouse = Vector2{100.0f, 540.0f}; // on the title bar, not the close box
    EXPECT_FALSE(ScreenWindowBox(window, "", &released));
}

// Catches toggles laid out on the wrong rows, a click on the active toggle that clears it,
// and a group that reacts while locked.
TEST_F(Controls, ToggleGroupChoosesTheReleasedRow)
{
    const Rectangle first = {53.0f, 568.0f, 154.0f, 31.0f};
    const char *const entries = "#1#A\n#2#B\n#3#C";
    GUI_INPUT_T third = PointerAt(60.0f, 568.0f + 2 * 33.0f + 15.0f); // rows are 31 high, 2 apart
    third.left_released = true;
    EXPECT_EQ(ScreenToggleGroup(first, entries, -1, &third), 2);
    EXPECT_EQ(ScreenToggleGroup(first, entries, 2, &third), 2);
    third.mouse.y = 568.0f + 3 * 33.0f + 15.0f; // below the last row
    EXPECT_EQ(ScreenToggleGroup(first, entries, 1, &third), 1);

    GUI_INPUT_T firstRow = PointerAt(60.0f, 570.0f);
    firstRow.left_released = true;
    GuiLock();
    EXPECT_EQ(ScreenToggleGroup(first, entries, -1, &firstRow), -1);
}
