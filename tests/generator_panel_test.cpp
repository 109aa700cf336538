// The generator panel's logic with a real galaxy and no window: random start values, change
// detection and the coupling of the sizes, the seed box, Randomize, Start, and galaxies that
// the seed makes reproducible. Input comes through the seam.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/generator_panel.h"
#include "app/generator_panel_table.h"
#include "app/screen_state.h"
#include "galaxy/galaxy.h"
#include "galaxy/galaxy_builder.h"
#include "galaxy/galaxy_code.h"
#include "galaxy/hubble_galaxy.h"
#include "galaxy/hubble_types.h"
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
    for (uint64_t i = 0; i < galaxy.field.star_list.Count(); i++)
        positions.push_back(((const IOBJECT_T *)galaxy.field.star_list.Get(i))->position);
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
    static GUI_INPUT_T At(Rectangle r, bool press)
    {
        GUI_INPUT_T input = Idle();
        input.mouse = Vector2{r.x + r.width / 2.0f, r.y + r.height / 2.0f};
        input.left_pressed = input.left_down = press;
        input.left_released = !press;
        return input;
    }
    static GUI_INPUT_T ReleaseAt(Rectangle r) { return At(r, false); }
    static GUI_INPUT_T PressAt(Rectangle r) { return At(r, true); }

    // One call of the panel; reports whether it generated (only a generation, which reseeds
    // from the seed, and the drawing of start values move the random stream).
    bool Frame(GUI_INPUT_T input)
    {
        RandomSeed(987654.0);
        const RANDOM_STATE_T before = RandomGetState();
        GeneratorPanel(&panel, PANEL, &menu_state, &input);
        RequestPanelGalaxy(&panel, galaxy);
        const RANDOM_STATE_T after = RandomGetState();
        return std::memcmp(before.mt, after.mt, sizeof before.mt) != 0 || before.pos != after.pos;
    }
    bool Frame(void) { return Frame(Idle()); }

    // The first call with scripted start values, then the call that settles the sizes.
    void StartSettled(void)
    {
        ScriptRandomWords(START_WORDS);
        GUI_INPUT_T input = Idle();
        GeneratorPanel(&panel, PANEL, &menu_state, &input);
        RequestPanelGalaxy(&panel, galaxy);
        ASSERT_TRUE(Frame());
        ASSERT_FALSE(Frame());
    }

    GENERATOR_PANEL_T panel = {};
    int32_t menu_state = STATE_GENERATOR;
    GALAXY *galaxy = new GALAXY(256);
};
} // namespace

// Catches start values drawn in another order or range, sizes that do not start coupled, a
// first call that does not generate, sizes that settle at other values or take more than
// three calls, and a panel that dereferences a missing galaxy.
TEST_F(GeneratorPanelTest, FirstCallsDrawStartValuesAndSettleOnTheThird)
{
    ScriptRandomWords(START_WORDS);
    GUI_INPUT_T input = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &input);
    RequestPanelGalaxy(&panel, galaxy);
    EXPECT_TRUE(panel.initialised);
    EXPECT_EQ(panel.values.seed, 536870912u); // a quarter of the seed box's range
    const GALAXY_SHAPE_T &v = panel.values;
    EXPECT_TRUE(v.size_xz == 252 && v.size_y == 63 && v.inner_radius == -150 && v.arms == 2 && v.curvature == 19);
    EXPECT_EQ(v.bulge_size, 99);    // outside its slider's range, passed through
    EXPECT_EQ(v.bulge_offset0, 41); // raised above Offset1
    EXPECT_EQ(v.bulge_offset1, 40);
    EXPECT_EQ(panel.dirty, 0);
    EXPECT_EQ(galaxy->field.star_list.Count(), 901u * 3u * 2u);
    EXPECT_EQ(menu_state, STATE_GENERATOR);

    EXPECT_TRUE(Frame()) << "the second call must notice Size XZ 255 -> 252 and generate again";
    EXPECT_TRUE(v.size_xz == 252 && v.size_y == 63);
    EXPECT_FALSE(Frame()) << "from the third call on nothing changes";
    EXPECT_FALSE(Frame());

    GENERATOR_PANEL_T fresh = {};
    GALAXY *none = nullptr;
    GeneratorPanel(&fresh, PANEL, &menu_state, &input);
    RequestPanelGalaxy(&fresh, none);
    EXPECT_TRUE(fresh.initialised);
    EXPECT_EQ(fresh.dirty, 1); // still pending
}

// Catches a broken coupling of the sizes (Size Y sets Size XZ to four times it, a Size XZ
// whose quarter equals the current Size Y is kept); a Size XZ below 4 clamped to the sliders'
// minimum instead of reaching Generate as 0 (a disc of radius 0 keeps only the 3 * arms
// centre stars); bulge offsets that cross (a changed Offset0 is never left below Offset1, a
// changed Offset1 never above Offset0, even one step beyond 0 to 100); and a slider that pulls
// an out-of-range value in without the pointer, or whose pull is not treated as a change.
TEST_F(GeneratorPanelTest, ValuesStayCoupledAndOrdered)
{
    StartSettled();
    const GALAXY_SHAPE_T &v = panel.values;
    panel.values.size_y = 40;
    EXPECT_TRUE(Frame());
    EXPECT_TRUE(v.size_xz == 160 && v.size_y == 40);
    EXPECT_TRUE(Frame()); // Size XZ's own change is noticed one call later
    EXPECT_FALSE(Frame());
    panel.values.size_xz = 163; // 163 / 4 = 40, the current Size Y
    EXPECT_TRUE(Frame());
    EXPECT_TRUE(v.size_xz == 163 && v.size_y == 40);
    EXPECT_FALSE(Frame());

    panel.values.bulge_offset1 = 90;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(v.bulge_offset1, 40); // Offset0 (41) less one
    panel.values.bulge_offset0 = 10;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(v.bulge_offset0, 41); // Offset1 (40) plus one
    panel.values.bulge_offset0 = 50;
    panel.values.bulge_offset1 = 100;
    EXPECT_TRUE(Frame());
    EXPECT_TRUE(v.bulge_offset0 == 101 && v.bulge_offset1 == 100);
    EXPECT_FALSE(Frame());

    EXPECT_EQ(v.bulge_size, 99);
    const Rectangle bulge = PanelSliderBounds(PANEL, Slider(&GALAXY_SHAPE_T::bulge_size));
    GUI_INPUT_T hover = Idle();
    hover.mouse = Vector2{bulge.x + 10.0f, bulge.y + 10.0f};
    EXPECT_FALSE(Frame(hover));
    EXPECT_EQ(v.bulge_size, 64);
    EXPECT_TRUE(Frame());

    panel.values.size_xz = 3;
    EXPECT_TRUE(Frame());
    EXPECT_TRUE(v.size_y == 0 && v.size_xz == 0);
    EXPECT_EQ(galaxy->field.star_list.Count(), 3u * 2u);
}

// Catches a drag that is not stored in its frame, or that does not regenerate the galaxy in
// the next call, or regenerates more than once; a close box that does anything; a Start
// button that does not leave for the view, or that drops the regeneration pending in its call.
TEST_F(GeneratorPanelTest, ControlsActInTheNextCallAndStartLeavesForTheView)
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
    EXPECT_FALSE(Frame(drag));

    EXPECT_FALSE(Frame(ReleaseAt(WindowCloseBoxBounds(PANEL))));
    EXPECT_EQ(menu_state, STATE_GENERATOR);
    panel.values.arms = 3;
    EXPECT_TRUE(Frame(ReleaseAt(PanelStartBounds(PANEL))));
    EXPECT_EQ(menu_state, STATE_VIEW);
    EXPECT_EQ(galaxy->field.star_list.Count(), 901u * 3u * 3u);
}

// Catches a seed that does not decide the galaxy (the same seed and values must give the
// same stars, another seed other stars), and a random seed drawn beyond the seed box's range,
// which the box would turn into 0: the largest draw must stay below 2^31 and be the seed the
// galaxy is generated from.
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
    typed.typed_count = 0;
    typed.enter_pressed = true;
    EXPECT_TRUE(Frame(typed));
    EXPECT_FALSE(panel.seed_edit_mode);
    EXPECT_FALSE(SamePositions(first, StarPositions(*galaxy)));

    // Another panel with the first seed and values makes the first galaxy again.
    GENERATOR_PANEL_T again = {};
    ScriptRandomWords(START_WORDS);
    GUI_INPUT_T idle = Idle();
    GALAXY *other = new GALAXY(256);
    GeneratorPanel(&again, PANEL, &menu_state, &idle);
    RequestPanelGalaxy(&again, other);
    GeneratorPanel(&again, PANEL, &menu_state, &idle);
    RequestPanelGalaxy(&again, other);
    EXPECT_TRUE(SamePositions(first, StarPositions(*other)));

    std::vector<uint32_t> words = START_WORDS;
    words[0] = 0xFFFFFFFFu; // the largest unit draw the stream can give
    ScriptRandomWords(words);
    GENERATOR_PANEL_T top = {};
    GeneratorPanel(&top, PANEL, &menu_state, &idle);
    RequestPanelGalaxy(&top, other);
    const GALAXY_SHAPE_T &v = top.values;
    EXPECT_TRUE(v.seed > 2147483000u && v.seed < 2147483648u) << v.seed;
    const std::vector<Vector3> drawn = StarPositions(*other);
    RandomSeed((double)v.seed);
    other->Generate(v.arms, v.curvature, v.inner_radius, v.bulge_offset0, v.bulge_offset1, v.bulge_size, v.size_y,
                    v.size_xz);
    EXPECT_TRUE(SamePositions(drawn, StarPositions(*other)));
    delete other;
}

// Catches a density slider that overlaps another control, that arrow keys do not step, whose
// change does not regenerate, that Randomize resets; a Randomize that acts in its own frame,
// that draws from the running stream (so the same galaxy would give the same "random"
// values), or that resets the previous copies (the sizes must come out 255 and 63 after a
// settled 252 and 63); and a large galaxy that replaces the one on screen before the builder
// has it ready, or never arrives.
TEST_F(GeneratorPanelTest, DensityAndRandomizeAndLargeGalaxiesArriveWhenReady)
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
    EXPECT_EQ(galaxy->field.star_list.Count(), 2u * 5406u);

    EXPECT_FALSE(Frame(ReleaseAt(PanelRandomizeBounds(PANEL))));
    EXPECT_FALSE(panel.initialised);
    EXPECT_EQ(panel.values.seed, 536870912u);
    ScriptRandomWords(START_WORDS); // would repeat the start values if the stream were used as is
    GUI_INPUT_T idle = Idle();
    GeneratorPanel(&panel, PANEL, &menu_state, &idle);
    RequestPanelGalaxy(&panel, galaxy);
    const GALAXY_SHAPE_T &v = panel.values;
    EXPECT_TRUE(panel.initialised);
    EXPECT_NE(v.seed, 536870912u);
    EXPECT_TRUE(v.size_xz == 255 && v.size_y == 63 && v.density == 2);
    EXPECT_EQ(panel.dirty, 0);
    EXPECT_TRUE(v.inner_radius >= -200 && v.inner_radius <= -1) << v.inner_radius;
    EXPECT_TRUE(v.arms >= 2 && v.arms <= 8) << v.arms;
    EXPECT_TRUE(v.curvature >= 16 && v.curvature <= 31) << v.curvature;
    EXPECT_EQ(galaxy->field.star_list.Count(), 901u * 3u * 2u * (uint64_t)v.arms);

    GALAXY_BUILDER_T builder(256);
    panel.builder = &builder;
    const uint64_t shown = galaxy->field.star_list.Count();
    panel.values.arms = 9;
    panel.values.density = 40;
    Frame();
    EXPECT_EQ(galaxy->field.star_list.Count(), shown);
    builder.WaitForReady();
    EXPECT_EQ(galaxy->field.star_list.Count(), shown);
    EXPECT_TRUE(builder.Collect(galaxy));
    EXPECT_EQ(galaxy->field.star_list.Count(), 973080u);
}

// Catches a galaxy with no stars shown as an empty sky without a word (a pasted code can carry
// values no slider reaches), and a reason that outlives the galaxy it was about.
TEST_F(GeneratorPanelTest, AGalaxyWithNoStarsSaysWhyOnThePanel)
{
    StartSettled();
    GALAXY_SHAPE_T wide = panel.values;
    wide.arms = 400;
    OpenGalaxyInPanel(&panel, wide);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(galaxy->field.star_list.Count(), 0u);
    EXPECT_STREQ(panel.notice, "No stars: arms 400 is out of range (1 to 360)");
    wide.arms = 3;
    OpenGalaxyInPanel(&panel, wide);
    EXPECT_TRUE(Frame());
    EXPECT_EQ(galaxy->field.star_list.Count(), 901u * 3u * 3u);
    EXPECT_STREQ(panel.notice, "");
}

// Catches a model picked on the panel that does not start from its type's preset, keeps the
// classic rows (and their coupled sizes), or leaves type values behind when Classic comes
// back (the classic galaxy and its code would change).
TEST_F(GeneratorPanelTest, TheModelRowPicksATypeAndClassicComesBackWhole)
{
    StartSettled();
    const GALAXY_SHAPE_T classic = panel.values;
    const std::vector<Vector3> before = StarPositions(*galaxy);
    panel.values.model = HubbleModelByName("SBc");
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values, ApplyHubblePreset(classic, HubbleModelByName("SBc")));
    EXPECT_EQ(galaxy->field.star_list.Count(), HUBBLE_STARS_PER_DENSITY);
    EXPECT_EQ(PanelSliders(panel.values), HUBBLE_PANEL_SLIDERS);
    panel.values.size_xz = 200; // no longer ties Size Y
    EXPECT_TRUE(Frame());
    EXPECT_EQ(panel.values.size_y, classic.size_y);
    EXPECT_FALSE(Frame());

    panel.values.model = GALAXY_MODEL_CLASSIC;
    panel.values.size_xz = classic.size_xz;
    EXPECT_TRUE(Frame());
    ASSERT_EQ(classic.arms, HubbleType(HubbleModelByName("SBc"))->arms); // the type's arms stay
    EXPECT_EQ(panel.values, classic);
    EXPECT_EQ(std::string(EncodeGalaxyCode(panel.values).text).substr(0, 4), "GX1-");
    EXPECT_TRUE(SamePositions(before, StarPositions(*galaxy)));
}

// The panel in a window shorter than itself (820 x 520, where it lost its lower half). Catches
// a wheel that does not scroll it or scrolls it past its end (or scrolls a panel that fits), a
// Start that the wheel cannot bring into reach or that a click there does not press, and a
// control slid out of sight under the title bar that still takes a click meant for the bar.
TEST_F(GeneratorPanelTest, AShortWindowScrollsThePanelToStart)
{
    StartSettled();
    GUI_INPUT_T input = Idle();
    input.mouse = Vector2{190.0f, 300.0f};
    input.wheel = -3.0f;
    GeneratorPanel(&panel, PANEL, &menu_state, &input);
    EXPECT_EQ(panel.scroll, 0.0f) << "a panel that fits the window scrolled";

    const int height = 520;
    const Rectangle shown = PanelShownBounds(PANEL, height);
    ASSERT_EQ(shown.y + shown.height, (float)height - PANEL_BOTTOM_MARGIN);
    const auto Short = [&](GUI_INPUT_T in) {
        in.screen_width = 820;
        in.screen_height = height;
        return in;
    };
    const auto Scrolled = [&](Rectangle r) { return Rectangle{r.x, r.y - panel.scroll, r.width, r.height}; };
    EXPECT_GT(PanelStartBounds(PANEL).y, (float)height) << "Start is not cut off: the case tests nothing";
    for (int notch = 0; notch < 20; notch++)
    {
        input = Short(Idle());
        input.mouse = Vector2{190.0f, 300.0f};
        input.wheel = -1.0f;
        GeneratorPanel(&panel, PANEL, &menu_state, &input);
        ASSERT_LE(panel.scroll, PANEL.height - shown.height);
    }
    EXPECT_EQ(panel.scroll, PANEL.height - shown.height) << "twenty notches did not reach the end";
    const Rectangle start = Scrolled(PanelStartBounds(PANEL));
    ASSERT_TRUE(start.y >= shown.y + PANEL_TITLE_BAR && start.y + start.height <= shown.y + shown.height)
        << "Start is still out of sight at the end of the scroll";

    // The title bar covers a slider slid up under it: pressing the bar leaves the value alone.
    const PANEL_SLIDER_T &bulge = Slider(&GALAXY_SHAPE_T::bulge_size);
    const Rectangle hidden = Scrolled(PanelSliderBounds(PANEL, bulge));
    ASSERT_TRUE(hidden.y < shown.y + PANEL_TITLE_BAR && hidden.y + hidden.height > shown.y + PANEL_TITLE_BAR - 10.0f);
    const int32_t before = panel.values.bulge_size;
    input = Short(Idle());
    input.mouse = Vector2{hidden.x + 5.0f, shown.y + PANEL_TITLE_BAR - 2.0f};
    input.left_pressed = input.left_down = true;
    GeneratorPanel(&panel, PANEL, &menu_state, &input);
    EXPECT_EQ(panel.values.bulge_size, before) << "a slider under the title bar took its click";

    Frame(Short(PressAt(start)));
    EXPECT_EQ(menu_state, STATE_GENERATOR);
    Frame(Short(ReleaseAt(start)));
    EXPECT_EQ(menu_state, STATE_VIEW) << "a click on the scrolled Start did not start the view";
    input = Short(Idle());
    input.wheel = 5.0f;
    GeneratorPanel(&panel, PANEL, &menu_state, &input); // the pointer is over the scene
    EXPECT_EQ(panel.scroll, PANEL.height - shown.height) << "the wheel over the scene scrolled the panel";
}
