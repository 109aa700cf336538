// Pointing at stars and the system card, decided from input records without a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <regex>

#include "app/gui.h"
#include "app/star_pointer.h"
#include "galaxy/galaxy.h"
#include "scene/viewer_pose.h"
#include "systems/stars.h"

// Catches a click that opens another star than the one under the pointer, a drag taken for a
// click, a click on empty space that leaves the card, a scroll past either end, and a close
// box that does not close.
TEST(SystemCard, ClicksOpenReplaceAndCloseAndTheWheelScrollsWithinTheContent)
{
    GALAXY galaxy(VIEWER_GALAXY_EXTENT);
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 1;
    GenerateGalaxy(&galaxy, shape);
    const PICK_VIEW_T view = {MakeViewerStartView(), 1366, 768};
    STAR_POINTER_T pointer;
    SYSTEM_CARD_T card;
    auto frame = [&](Vector2 at, bool pressed, bool released) {
        GUI_INPUT_T input;
        input.mouse = at;
        input.left_pressed = pressed;
        input.left_released = released;
        UpdateStarPointer(&pointer, &card, &galaxy.field, view, &input, true);
    };
    auto screen = [&](uint32_t star) {
        Vector2 at = {};
        float depth;
        EXPECT_TRUE(ProjectToScreen(view, galaxy.field.stars[star].position, &at, &depth));
        return at;
    };

    // Two stars the pick takes for themselves, far apart on screen.
    std::vector<uint32_t> clickable;
    for (uint32_t star = 0; star < galaxy.field.star_list.Count() && clickable.size() < 2; star += 37)
    {
        const STAR_PICK_T pick = PickStar(galaxy.field.tree, view, screen(star), STAR_PICK_PIXELS);
        if (pick.found && pick.star == star &&
            (clickable.empty() || Vector2Distance(screen(clickable[0]), screen(star)) > 100.0f))
            clickable.push_back(star);
    }
    ASSERT_EQ(clickable.size(), 2u);

    frame(screen(clickable[0]), true, false);
    frame(screen(clickable[0]), false, true);
    ASSERT_TRUE(SystemCardOpen(card));
    EXPECT_EQ(card.system->star_index, clickable[0]);
    EXPECT_EQ(pointer.hover_name, std::string(card.system->system.name));

    frame(screen(clickable[1]), true, false); // pressed on one star, dragged, released on another
    frame(screen(clickable[0]), false, true);
    EXPECT_EQ(card.system->star_index, clickable[0]) << "a drag opened a card";
    frame(screen(clickable[1]), true, false);
    frame(screen(clickable[1]), false, true);
    EXPECT_EQ(card.system->star_index, clickable[1]) << "another star did not replace the card";

    const Rectangle bounds = SystemCardBounds(1366, 400);
    ASSERT_GT(card.content_height, bounds.height) << "a card this short cannot show scrolling";
    GUI_INPUT_T wheel;
    wheel.mouse = Vector2{bounds.x + 50.0f, bounds.y + 100.0f};
    for (float notches : {-1000.0f, 3.0f, 1000.0f})
    {
        wheel.wheel = notches;
        SystemCard(&card, bounds, &wheel);
        EXPECT_GE(card.scroll, 0.0f);
        EXPECT_LE(card.scroll, card.content_height - (bounds.height - 24.0f)); // under the title bar
    }
    EXPECT_EQ(card.scroll, 0.0f);
    GUI_INPUT_T close;
    close.mouse = Vector2{WindowCloseBoxBounds(bounds).x + 4.0f, WindowCloseBoxBounds(bounds).y + 4.0f};
    close.left_released = true;
    SystemCard(&card, bounds, &close);
    EXPECT_FALSE(SystemCardOpen(card));

    frame(screen(clickable[0]), true, false);
    frame(screen(clickable[0]), false, true);
    frame(Vector2{5.0f, 760.0f}, true, false); // the corner of the sky, far from every star
    frame(Vector2{5.0f, 760.0f}, false, true);
    EXPECT_FALSE(SystemCardOpen(card)) << "a click on empty space left the card open";
}

// Catches ages written as "0.30 thousand million years", figures that read 0, and a rounding
// that carries into the next unit without changing it.
TEST(SystemCard, AgesReadAsPeopleSayThem)
{
    EXPECT_EQ(FormatStarAge(0.30), "300 million years");
    EXPECT_EQ(FormatStarAge(4.6), "4.6 billion years");
    EXPECT_EQ(FormatStarAge(13.74), "14 billion years");
    EXPECT_EQ(FormatStarAge(0.0095), "9.5 million years");
    EXPECT_EQ(FormatStarAge(0.9996), "1.0 billion years");
    EXPECT_EQ(FormatStarAge(2e-6), "2.0 thousand years");
    EXPECT_EQ(FormatStarAge(std::nan("")), "no age");
}

// Catches a hovered star that keeps the name of the star of the same number in the galaxy
// before a regeneration, though the pointer stays on that number.
TEST(SystemCard, HoveredNameFollowsANewGalaxy)
{
    GALAXY galaxy(VIEWER_GALAXY_EXTENT);
    GALAXY_SHAPE_T first = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    first.seed = 1;
    GALAXY_SHAPE_T second = first;
    second.seed = 2;
    const PICK_VIEW_T view = {MakeViewerStartView(), 1366, 768};
    auto screen = [&](uint32_t star) {
        Vector2 at = {};
        float depth;
        ProjectToScreen(view, galaxy.field.stars[star].position, &at, &depth);
        return at;
    };
    auto picked = [&](uint32_t star) {
        const STAR_PICK_T pick = PickStar(galaxy.field.tree, view, screen(star), STAR_PICK_PIXELS);
        return pick.found && pick.star == star;
    };

    // A star number the pointer can reach in both galaxies.
    std::vector<uint32_t> in_first;
    GenerateGalaxy(&galaxy, first);
    for (uint32_t star = 0; star < galaxy.field.star_list.Count(); star += 13)
        if (picked(star)) in_first.push_back(star);
    GenerateGalaxy(&galaxy, second);
    uint32_t star = UINT32_MAX;
    for (uint32_t candidate : in_first)
        if (candidate < galaxy.field.star_list.Count() && picked(candidate))
        {
            star = candidate;
            break;
        }
    ASSERT_NE(star, UINT32_MAX);
    ASSERT_NE(StarSystemName(first, star), StarSystemName(second, star));

    STAR_POINTER_T pointer;
    SYSTEM_CARD_T card;
    GUI_INPUT_T input;
    GenerateGalaxy(&galaxy, first);
    input.mouse = screen(star);
    UpdateStarPointer(&pointer, &card, &galaxy.field, view, &input, true);
    EXPECT_EQ(pointer.hover_name, StarSystemName(first, star));
    GenerateGalaxy(&galaxy, second);
    input.mouse = screen(star);
    UpdateStarPointer(&pointer, &card, &galaxy.field, view, &input, true);
    ASSERT_TRUE(pointer.hover.found && pointer.hover.star == star);
    EXPECT_EQ(pointer.hover_name, StarSystemName(second, star)) << "the last galaxy's name";
}

// Catches a card figure that reads 0 or shows a single digit ("habitable zone 0.01 to 0.01 AU",
// "a turn every 0.0 years"), and a pair's period that is not the pair's own.
TEST(SystemCard, FiguresShowTwoDigitsAndAPairItsOwnPeriod)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 5;
    const std::regex decimal("-?[0-9]+\\.[0-9]+");
    const std::regex turn("a turn every ([0-9.]+) (years|days|hours)");
    const std::map<std::string, double> per_year = {{"years", 1.0}, {"days", 365.25}, {"hours", 8766.0}};
    int pairs = 0, figures = 0;
    for (uint64_t index = 0; index < 300; index++)
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(shape, index, Vector3{1.0f, 0.01f, -250.0f}, &system);
        for (const CARD_ROW_T &row : SystemCardRows(system))
        {
            for (std::sregex_iterator it(row.text.begin(), row.text.end(), decimal), end; it != end; ++it)
            {
                const std::string figure = it->str();
                const size_t first = figure.find_first_of("123456789");
                const std::string digits = first == std::string::npos ? "" : figure.substr(first);
                EXPECT_GE(std::count_if(digits.begin(), digits.end(), ::isdigit), 2)
                    << "star " << index << ": " << row.text;
                figures += 1;
            }
            std::smatch match;
            if (!std::regex_search(row.text, match, turn)) continue;
            pairs += 1;
            const double years = std::stod(match[1].str()) / per_year.at(match[2].str());
            EXPECT_NEAR(years / SystemPairPeriodYears(system.system), 1.0, 0.05) << "star " << index << ": " << row.text;
        }
    }
    EXPECT_GE(pairs, 20);
    EXPECT_GT(figures, 3000);
}

// Catches a Bookmark button that opens no note box, typing that also steers the camera or
// switches the look, a note kept for another star or without its text, a kept note left in
// the box, and a second click on Bookmark that keeps a note instead of putting it away.
TEST(SystemCard, BookmarkKeepsTheTypedNoteAndTakesTheKeysMeanwhile)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 20, -100, 60, 20, 48, 63, 252);
    shape.seed = 1;
    SYSTEM_CARD_T card;
    OpenSystemCard(&card, shape, 321, Vector3{1.0f, 2.0f, 3.0f});
    const Rectangle bounds = SystemCardBounds(1366, 768);
    const Rectangle button = SystemCardBookmarkBounds(bounds);
    const Vector2 onButton = {button.x + button.width / 2.0f, button.y + button.height / 2.0f};
    EXPECT_FALSE(CheckCollisionPointRec(onButton, WindowCloseBoxBounds(bounds)));
    auto frame = [&](Vector2 at, bool released, const char *typed, bool enter) {
        GUI_INPUT_T input;
        input.mouse = at;
        input.left_released = released;
        input.enter_pressed = enter;
        input.space_pressed = input.plain_look_pressed = input.top_down_pressed = input.tab_pressed = true;
        for (const char *c = typed; *c != '\0'; c++) input.typed[input.typed_count++] = *c;
        TakeSystemCardKeys(card, &input);
        SystemCard(&card, bounds, &input);
        return input;
    };
    const Vector2 inside = {bounds.x + 100.0f, bounds.y + 300.0f};
    GUI_INPUT_T seen = frame(onButton, true, "", false);
    EXPECT_TRUE(seen.space_pressed && seen.plain_look_pressed) << "keys taken before any note box was open";
    ASSERT_TRUE(card.note_open && card.note_edit_mode);
    seen = frame(inside, false, "Lt r", false);
    EXPECT_FALSE(seen.space_pressed || seen.plain_look_pressed || seen.top_down_pressed || seen.tab_pressed);
    EXPECT_STREQ(card.note, "Lt r");
    EXPECT_FALSE(card.bookmark_requested);
    frame(inside, false, "", true);
    ASSERT_TRUE(card.bookmark_requested);
    EXPECT_EQ(card.bookmark_star, 321u);
    EXPECT_EQ(card.bookmark_note, "Lt r");
    EXPECT_FALSE(card.note_open);
    EXPECT_STREQ(card.note, "");

    card.bookmark_requested = false;
    frame(onButton, true, "", false);
    frame(inside, false, "x", false);
    frame(onButton, true, "", false);
    EXPECT_FALSE(card.note_open || card.bookmark_requested) << "a second Bookmark click kept the note";
    frame(onButton, true, "", false);
    frame(inside, false, "", true);
    EXPECT_EQ(card.bookmark_note, std::string(card.system->system.name)) << "an empty note is the system's name";
}
