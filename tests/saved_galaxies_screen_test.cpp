// The Save and Load screens driven through the input seam with no window, against a real file:
// what a person does with them and what the file holds afterwards.
#include <gtest/gtest.h>

#include <string>

#include "app/saved_galaxies_screen.h"
#include "galaxy/galaxy_code.h"
#include "tests/support/temp_folder.h"

namespace
{
constexpr Rectangle BOUNDS = {260.0f, 20.0f, 1086.0f, 728.0f};

GALAXY_SHAPE_T Shape(uint32_t seed)
{
    GALAXY_SHAPE_T shape = MakeGalaxyShape(4, 10, -150, 20, 80, 99, 64, 255);
    shape.seed = seed;
    return shape;
}

Vector2 Centre(Rectangle r)
{
    return Vector2{r.x + r.width / 2.0f, r.y + r.height / 2.0f};
}

class SavedGalaxiesScreenTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        screen.path = folder.Path("galaxies.txt");
        screen.have_current = true;
    }
    GUI_INPUT_T At(Vector2 p)
    {
        GUI_INPUT_T input = {};
        input.mouse = p;
        return input;
    }
    // Clicks the name box, types the name and presses Enter, a frame each.
    void SaveAs(const std::string &name)
    {
        GUI_INPUT_T click = At(Vector2{BOUNDS.x + 40.0f, BOUNDS.y + 110.0f});
        click.left_pressed = true;
        if (!screen.name_edit_mode) SaveGalaxyScreen(&screen, BOUNDS, "Save", &click);
        GUI_INPUT_T typing = At(Vector2{BOUNDS.x + 40.0f, BOUNDS.y + 110.0f});
        for (char c : name)
            typing.typed[typing.typed_count++] = c;
        SaveGalaxyScreen(&screen, BOUNDS, "Save", &typing);
        Enter();
    }
    void Enter()
    {
        GUI_INPUT_T enter = At(Vector2{BOUNDS.x + 40.0f, BOUNDS.y + 110.0f});
        enter.enter_pressed = true;
        SaveGalaxyScreen(&screen, BOUNDS, "Save", &enter);
    }
    void LoadClick(Rectangle r)
    {
        GUI_INPUT_T click = At(Centre(r));
        click.left_released = true;
        LoadGalaxyScreen(&screen, BOUNDS, "Load", &click);
    }
    SAVED_GALAXIES_T File() { return ParseSavedGalaxies(FileContents(screen.path)); }

    TEMP_FOLDER_T folder;
    SAVED_GALAXIES_SCREEN_T screen;
};
} // namespace

// Catches a name box that keeps the name after a save, a taken name saved beside the old
// entry, asked about more than once, or replaced without asking or out of its place.
TEST_F(SavedGalaxiesScreenTest, ATakenNameAsksOnceThenReplacesInPlace)
{
    screen.current = Shape(1);
    SaveAs("alpha");
    EXPECT_STREQ(screen.name, "");
    EXPECT_EQ(screen.message, "Saved as alpha");
    SaveAs("beta");
    screen.current = Shape(2);
    SaveAs("alpha");
    EXPECT_EQ(screen.message, "alpha exists: Enter again replaces it");
    EXPECT_EQ(File().entries.size(), 2u);
    EXPECT_STREQ(screen.name, "alpha") << "the name left the box before the answer";
    Enter();
    EXPECT_EQ(screen.message, "Saved as alpha");
    const SAVED_GALAXIES_T file = File();
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0].name + "|" + file.entries[0].code,
              std::string("alpha|") + EncodeGalaxyCode(Shape(2)).text);
    EXPECT_EQ(file.entries[1].name, "beta");
    SaveAs("alpha");
    SaveAs("bet"); // the box still holds alpha: alphabet, a new name, is saved at once
    EXPECT_EQ(File().entries.size(), 3u);
    EXPECT_EQ(screen.message, "Saved as alphabet");
}

// Catches a Delete that cannot be taken back, an Undo that puts an entry or a bookmark
// elsewhere than it was (the file then differs), a bookmark not listed under its galaxy, and
// a bookmark that opens its galaxy without its star.
TEST_F(SavedGalaxiesScreenTest, DeleteThenUndoLeavesTheFileAsItWasAndBookmarksOpenTheirStar)
{
    screen.current = Shape(1);
    SaveAs("one");
    screen.current = Shape(2);
    SaveAs("two");
    SaveAs("three");
    EXPECT_NE(BookmarkStar(&screen, Shape(2), 7, "bright\tone").find("Bookmarked star 7"), std::string::npos);
    BookmarkStar(&screen, Shape(9), 3, "elsewhere");
    const std::string before = FileContents(screen.path);
    ReopenSavedGalaxiesScreen(&screen);

    // one, two, its bookmark, three (whose code is two's), then the unsaved galaxy and its bookmark.
    LoadClick(SavedGalaxyRowBounds(BOUNDS, 2));
    EXPECT_TRUE(screen.open_requested);
    EXPECT_EQ(screen.open_star, 7);
    EXPECT_EQ(EncodeGalaxyCode(screen.open_shape).text, std::string(EncodeGalaxyCode(Shape(2)).text));
    LoadClick(SavedGalaxyRowBounds(BOUNDS, 4));
    EXPECT_TRUE(screen.open_requested);
    EXPECT_EQ(screen.open_star, -1);
    EXPECT_EQ(EncodeGalaxyCode(screen.open_shape).text, std::string(EncodeGalaxyCode(Shape(9)).text));

    LoadClick(SavedGalaxyDeleteBounds(BOUNDS, 1)); // two
    LoadClick(SavedGalaxyDeleteBounds(BOUNDS, 2)); // its bookmark, now under three
    LoadClick(SavedGalaxyDeleteBounds(BOUNDS, 0)); // one
    SAVED_GALAXIES_T file = File();
    ASSERT_EQ(file.entries.size(), 1u);
    EXPECT_EQ(file.entries[0].name, "three");
    EXPECT_EQ(file.bookmarks.size(), 1u);
    for (int i = 0; i < 3; i++)
        LoadClick(SavedGalaxyUndoBounds(BOUNDS));
    EXPECT_EQ(FileContents(screen.path), before);
    EXPECT_TRUE(screen.undo.empty());

    LoadClick(SavedGalaxyDeleteBounds(BOUNDS, 0));
    ReopenSavedGalaxiesScreen(&screen); // the screen closed: what was deleted stays deleted
    LoadClick(SavedGalaxyUndoBounds(BOUNDS));
    EXPECT_EQ(File().entries.size(), 2u);
}
