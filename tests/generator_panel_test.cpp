// The generator panel's logic with a real galaxy and no window: random start values, change
// detection and the coupling of the sizes, the seed box, Randomize, Start, and galaxies that
// the seed makes reproducible. Input comes through the seam.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/generator_panel.h"
#include "app/generator_panel_table.h"
#include "app/screen_state.h"
#include "galaxy/galaxy.h"
#include "galaxy/galaxy_builder.h"
#include "random/random.h"
#include "tests/support/scripted_random.h"

namespace
{
constexpr Rectangle PANEL = {20.0f, 20.0f, 340.0f, 728.0f};

// The word whose k = floor(u * 2147483647) is exactly k (for k well below 2^30).
uint32_t WordForK(uint32_t k)
{
    return 2u * k + 1u;
}

// Seed 536870912; Inner Radius -150; Bulge Size 99 (beyond its slider's 16 to 64);
// Offset0 30 and Offset1 40; 2 arms (the fewest stars, for speed); curvature 19.
const std::vector<uint32_t> START_WORDS = {WordForUnit(0.25), WordForK(50), WordForK(99), WordForK(30),
                                           WordForK(40),      WordForK(0),  WordForK(3)};

const PANEL_SLIDER_T &Slider(int32_t GALAXY_SHAPE_T::*field)
{
    for (const PANEL_SLIDER_T &slider : PANEL_SLIDERS)
        if (slider.field == field) return slider;
    return PANEL_SLIDERS[0];
}

std::vector<Vector3> StarPositions(const GALAXY &galaxy)
{
    std::vector<Vector3> positions;
    for (uint64_t i = 0; i < galaxy.star_list.Count(); i++)
        positions.push_back(((const IOBJECT_T *)galaxy.star_list.Get(i))->position);
    return positions;
}

bool SamePositions(const std::vector<Vector3> &a, const std::vector<Vector3> &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Vector3)) == 0;
}

class GeneratorPanelTest : public ::testing::Test
{
  protected:
    void TearDown() override { delete galaxy; }

    static GUI_INPUT_T Idle(void)
    {
        GUI_INPUT_T input = {};
        input.mouse = Vector2{900.0f, 400.0f}; // over the scene, not the panel
        input.screen_width = 1366;
        input.screen_height = 768;
        return input;
    }
    static GUI_INPUT_T ReleaseAt(Rectangle r)
    {
        GUI_INPUT_T input = Idle();
        input.mouse = Vector2{r.x + r.width / 2.0f, r.y + r.height / 2.0f};
        input.left_released = true;
        return input;
    }
    static GUI_INPUT_T PressAt(Rectangle r)
    {
        GUI_INPUT_T input = Idle();
        input.mouse = Vector2{r.x + r.width / 2.0f, r.y + r.height / 2.0f};
        input.left_pressed = true;
        input.left_down = true;
        return input;
    }

    // One call of the panel; reports whether it generated (only a generation, which reseeds
    // from the seed, and the drawing of start values move the random stream).
    bool Frame(GUI_INPUT_T input)
    {
        RandomSeed(987654.0);
        const RANDOM_STATE_T before = RandomGetState();
        GeneratorPanel(&panel, PANEL, &menu_state, &galaxy, &input);
        const RANDOM_STATE_T after = RandomGetState();
        return std::memcmp(before.mt, after.mt, sizeof before.mt) != 0 || before.pos != after.pos;
    }
    bool Frame(void) { return Frame(Idle()); }

    // The first call with scripted start values, then the call that settles the sizes.
    void StartSettled(void)
    {
        ScriptRandomWords(START_WORDS);
        GUI_INPUT_T input = Idle();
        GeneratorPanel(&panel, PANEL, &menu_state, &galaxy, &input);
        ASSERT_TRUE(Frame());
        ASSERT_FALSE(Frame());
    }

    GENERATOR_PANEL_T panel = {};
    int32_t menu_state = STATE_GENERATOR;
    GALAXY *galaxy = new GALAXY(256);
};
} // namespace

// Catches start values drawn in another order or range, sizes that do not start coupled, a
// first call that does not generate, and sizes that settle at other values or take more
// than three calls.
TEST_F(GeneratorPanelTest, FirstCallsDrawStartValuesAndSettleOnTheThird)
{
    ScriptRandomWords(START_WORDS);
    GUI_INPUT_T input = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &galaxy, &input);
    EXPECT_TRUE(panel.initialised);
    EXPECT_EQ(panel.values.seed, 536870912u); // a quarter of the seed box's range
    EXPECT_EQ(panel.values.size_xz, 252);
    EXPECT_EQ(panel.values.size_y, 63);
    EXPECT_EQ(panel.values.inner_radius, -150);
    EXPECT_EQ(panel.values.bulge_size, 99);    // outside its slider's range, passed through
    EXPECT_EQ(panel.values.bulge_offset0, 41); // raised above Offset1
    EXPECT_EQ(panel.values.bulge_offset1, 40);
    EXPECT_EQ(panel.values.arms, 2);
    EXPECT_EQ(panel.values.curvature, 19);
    EXPECT_EQ(panel.dirty, 0);
    EXPECT_EQ(galaxy->star_list.Count(), 901u * 3u * 2u);
    EXPECT_EQ(menu_state, STATE_GENERATOR);

    EXPECT_TRUE(Frame()) << "the second call must notice Size XZ 255 -> 252 and generate again";
    EXPECT_EQ(panel.values.size_xz, 252);
    EXPECT_EQ(panel.values.size_y, 63);
    EXPECT_FALSE(Frame()) << "from the third call on nothing changes";
    EXPECT_FALSE(Frame());
}

// Catches a broken coupling of the sizes: Size Y sets Size XZ to four times it, and a Size XZ
// whose quarter equals the current Size Y is kept.
TEST_F(GeneratorPanelTest, SizeYDrivesSizeXzAndSizeXzKeepsItsChoice)
{
    StartSettled();
    panel.values.size_y = 40;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.size_xz, 160);
    EXPECT_EQ(panel.values.size_y, 40);
    EXPECT_TRUE(Frame()); // Size XZ's own change is noticed one call later
    EXPECT_FALSE(Frame());
    EXPECT_EQ(panel.values.size_xz, 160);

    panel.values.size_xz = 163; // 163 / 4 = 40, the current Size Y
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.size_xz, 163);
    EXPECT_EQ(panel.values.size_y, 40);
    EXPECT_FALSE(Frame());
}

// Catches a Size XZ below 4 clamped to the sliders' minimum instead of reaching Generate: its
// Size Y of 0 pulls Size XZ to 0, and a disc of radius 0 keeps only the 3 * arms centre stars.
TEST_F(GeneratorPanelTest, TinySizeXzReachesGenerateAsZero)
{
    StartSettled();
    panel.values.size_xz = 3;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.size_y, 0);
    EXPECT_EQ(panel.values.size_xz, 0);
    EXPECT_EQ(galaxy->star_list.Count(), 3u * 2u);
}

// Catches the bulge offsets crossing: a changed Offset0 is never left below Offset1, a changed
// Offset1 never above Offset0, even one step beyond the sliders' 0 to 100.
TEST_F(GeneratorPanelTest, BulgeOffsetsNeverCross)
{
    StartSettled();
    panel.values.bulge_offset1 = 90;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.bulge_offset1, 40); // Offset0 (41) less one

    panel.values.bulge_offset0 = 10;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.bulge_offset0, 41); // Offset1 (40) plus one

    panel.values.bulge_offset0 = 50;
    panel.values.bulge_offset1 = 100;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.bulge_offset0, 101);
    EXPECT_EQ(panel.values.bulge_offset1, 100);
    EXPECT_FALSE(Frame());
}

// Catches a slider that pulls an out-of-range value in without the pointer, or one whose
// pull (once the pointer is over it) is not treated as a change.
TEST_F(GeneratorPanelTest, OutOfRangeValueWaitsForThePointer)
{
    StartSettled();
    EXPECT_EQ(panel.values.bulge_size, 99);

    const Rectangle bulge = PanelSliderBounds(PANEL, Slider(&GALAXY_SHAPE_T::bulge_size));
    GUI_INPUT_T hover = Idle();
    hover.mouse = Vector2{bulge.x + 10.0f, bulge.y + 10.0f};
    EXPECT_FALSE(Frame(hover));
    EXPECT_EQ(panel.values.bulge_size, 64);
    EXPECT_TRUE(Frame());
}

// The road of one change: catches a drag that is not stored in its frame, or that does not
// regenerate the galaxy in the next call, or regenerates more than once.
TEST_F(GeneratorPanelTest, DraggedCurvatureRegeneratesInTheNextCall)
{
    StartSettled();
    const Rectangle curvature = PanelSliderBounds(PANEL, Slider(&GALAXY_SHAPE_T::curvature));
    GUI_INPUT_T drag = Idle();
    drag.mouse = Vector2{curvature.x + 9.0f * 300.0f / 31.0f, curvature.y + 10.0f}; // value 10
    drag.left_down = true;
    const std::vector<Vector3> before = StarPositions(*galaxy);

    EXPECT_FALSE(Frame(drag));
    EXPECT_EQ(panel.values.curvature, 10);
    EXPECT_TRUE(Frame(drag));
    EXPECT_FALSE(SamePositions(before, StarPositions(*galaxy)));
    EXPECT_EQ(galaxy->star_list.Count(), 901u * 3u * 2u);
    EXPECT_FALSE(Frame(drag));
}

// Catches a seed that does not decide the galaxy: the same seed and values must give the
// same stars, another seed other stars.
TEST_F(GeneratorPanelTest, SameSeedAndValuesGiveTheSameGalaxy)
{
    StartSettled();
    const std::vector<Vector3> first = StarPositions(*galaxy);

    // Entering the seed box's edit mode marks a regeneration: with nothing changed, the same stars.
    const Rectangle seedBox = PanelSeedBoxBounds(PANEL);
    EXPECT_TRUE(Frame(PressAt(seedBox)));
    EXPECT_TRUE(panel.seed_edit_mode);
    EXPECT_TRUE(SamePositions(first, StarPositions(*galaxy)));

    GUI_INPUT_T typed = Idle();
    typed.mouse = Vector2{seedBox.x + 10.0f, seedBox.y + 10.0f};
    typed.typed[0] = '7';
    typed.typed_count = 1;
    Frame(typed);
    EXPECT_EQ(panel.values.seed, 2147483647u); // 10737418237 saturates

    GUI_INPUT_T enter = typed;
    enter.typed_count = 0;
    enter.enter_pressed = true;
    EXPECT_TRUE(Frame(enter));
    EXPECT_FALSE(panel.seed_edit_mode);
    EXPECT_FALSE(SamePositions(first, StarPositions(*galaxy)));

    // Another panel with the first seed and values makes the first galaxy again.
    GENERATOR_PANEL_T again = {};
    ScriptRandomWords(START_WORDS);
    GUI_INPUT_T idle = Idle();
    GALAXY *other = new GALAXY(256);
    GeneratorPanel(&again, PANEL, &menu_state, &other, &idle);
    GeneratorPanel(&again, PANEL, &menu_state, &other, &idle);
    EXPECT_TRUE(SamePositions(first, StarPositions(*other)));
    delete other;
}

// Catches a random seed drawn beyond the seed box's range, which the box would turn into 0:
// the largest draw must stay below 2^31 and be the seed the galaxy is generated from.
TEST_F(GeneratorPanelTest, RandomSeedStaysInsideTheSeedBoxRange)
{
    std::vector<uint32_t> words = START_WORDS;
    words[0] = 0xFFFFFFFFu; // the largest unit draw the stream can give
    ScriptRandomWords(words);
    GUI_INPUT_T input = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &galaxy, &input);
    EXPECT_GT(panel.values.seed, 2147483000u);
    EXPECT_LT(panel.values.seed, 2147483648u);
    const uint32_t seed = panel.values.seed;

    const std::vector<Vector3> fromZero = StarPositions(*galaxy);
    RandomSeed((double)seed);
    galaxy->Generate(panel.values.arms, panel.values.curvature, panel.values.inner_radius, panel.values.bulge_offset0,
                     panel.values.bulge_offset1, panel.values.bulge_size, panel.values.size_y, panel.values.size_xz);
    EXPECT_TRUE(SamePositions(fromZero, StarPositions(*galaxy)));
}

// Catches a Randomize that acts in its own frame, that draws from the running stream (so the
// same galaxy would give the same "random" values), or that resets the previous copies (the
// sizes must come out 255 and 63 after a settled 252 and 63).
TEST_F(GeneratorPanelTest, RandomizeDrawsFreshValuesFromTheClockNextCall)
{
    StartSettled();
    const Rectangle randomize = PanelRandomizeBounds(PANEL);
    EXPECT_FALSE(Frame(ReleaseAt(randomize)));
    EXPECT_FALSE(panel.initialised);
    EXPECT_EQ(panel.values.seed, 536870912u);

    ScriptRandomWords(START_WORDS); // would repeat the start values if the stream were used as is
    GUI_INPUT_T idle = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &galaxy, &idle);
    EXPECT_TRUE(panel.initialised);
    EXPECT_NE(panel.values.seed, 536870912u);
    EXPECT_EQ(panel.values.size_xz, 255);
    EXPECT_EQ(panel.values.size_y, 63);
    EXPECT_EQ(panel.dirty, 0);
    EXPECT_GE(panel.values.inner_radius, -200);
    EXPECT_LE(panel.values.inner_radius, -1);
    EXPECT_GE(panel.values.arms, 2);
    EXPECT_LE(panel.values.arms, 8);
    EXPECT_GE(panel.values.curvature, 16);
    EXPECT_LE(panel.values.curvature, 31);
    EXPECT_EQ(galaxy->star_list.Count(), 901u * 3u * (uint64_t)panel.values.arms);
}

// Catches a density slider that overlaps another control, that arrow keys do not step, whose
// change does not regenerate, that Randomize resets; and a large galaxy that replaces the one
// on screen before the builder has it ready, or never arrives.
TEST_F(GeneratorPanelTest, DensitySliderSteppedAndLargeGalaxiesArriveWhenReady)
{
    const Rectangle density = PanelSliderBounds(PANEL, Slider(&GALAXY_SHAPE_T::density));
    EXPECT_FALSE(CheckCollisionRecs(density, PanelRandomizeBounds(PANEL)));
    for (const PANEL_SLIDER_T &slider : PANEL_SLIDERS)
    {
        if (slider.field == &GALAXY_SHAPE_T::density) continue;
        EXPECT_FALSE(CheckCollisionRecs(density, PanelSliderBounds(PANEL, slider))) << slider.label;
    }

    StartSettled();
    EXPECT_EQ(panel.values.density, 1);
    GUI_INPUT_T step = Idle();
    step.mouse = Vector2{density.x + 5.0f, density.y + 10.0f}; // hovering, not dragging
    step.arrow_step = 1;
    EXPECT_FALSE(Frame(step));
    EXPECT_EQ(panel.values.density, 2);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(galaxy->star_list.Count(), 2u * 5406u);
    EXPECT_FALSE(Frame(ReleaseAt(PanelRandomizeBounds(PANEL))));
    GUI_INPUT_T idle = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &galaxy, &idle);
    EXPECT_EQ(panel.values.density, 2);

    GALAXY_BUILDER_T builder(256);
    panel.builder = &builder;
    const uint64_t shown = galaxy->star_list.Count();
    panel.values.arms = 9;
    panel.values.density = 40;
    Frame();
    EXPECT_EQ(galaxy->star_list.Count(), shown);
    builder.WaitForReady();
    EXPECT_EQ(galaxy->star_list.Count(), shown);
    EXPECT_TRUE(builder.Collect(galaxy));
    EXPECT_EQ(galaxy->star_list.Count(), 973080u);
}

// Catches a Start button that does not leave for the view, or that drops the regeneration
// pending in its call; and a close box that does anything.
TEST_F(GeneratorPanelTest, StartLeavesForTheViewAfterAPendingRegeneration)
{
    StartSettled();
    const Rectangle close = WindowCloseBoxBounds(PANEL);
    EXPECT_FALSE(Frame(ReleaseAt(close)));
    EXPECT_EQ(menu_state, STATE_GENERATOR);

    panel.values.arms = 3;
    EXPECT_TRUE(Frame(ReleaseAt(PanelStartBounds(PANEL))));
    EXPECT_EQ(menu_state, STATE_VIEW);
    EXPECT_EQ(galaxy->star_list.Count(), 901u * 3u * 3u);
}

// Catches a panel that dereferences a missing galaxy.
TEST_F(GeneratorPanelTest, NullGalaxyIsLeftAlone)
{
    GALAXY *none = nullptr;
    GUI_INPUT_T input = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &none, &input);
    EXPECT_TRUE(panel.initialised);
    EXPECT_EQ(panel.dirty, 1); // still pending
}
