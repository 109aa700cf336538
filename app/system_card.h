// The system card: what a click on a star opens beside the galaxy. It shows the star's system
// as a person reads it (its stars with their colour and figures, a top-down orbit diagram with
// the habitable zone, every planet with its air and moons) and scrolls when it is longer than
// the window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/gui_input.h"
#include "galaxy/galaxy_shape.h"
#include "galaxy/star_system_on_demand.h"
#include "scene/vector_math.h"



// One line of the card's content, top to bottom.
enum CARD_ROW_KIND_T
{
    CARD_ROW_HEADING, // large text, with a colour swatch when swatch.a > 0
    CARD_ROW_TEXT,
    CARD_ROW_DIAGRAM, // the orbits of stars[star]
    CARD_ROW_GAP,
};

struct CARD_ROW_T
{
    CARD_ROW_KIND_T kind = CARD_ROW_TEXT;
    std::string text;
    float height = 0.0f;
    float indent = 0.0f;
    Color swatch = {};
    uint32_t star = 0;   // the star a diagram or a planet's row belongs to
    int32_t planet = -1; // the planet a row tells of; -1: none
    int32_t moon = -1;   // the moon a row tells of; -1: none
};

// The card's rows for one system, with the figures in the units a person reads.
std::vector<CARD_ROW_T> SystemCardRows(const STAR_SYSTEM_T &system);

// An age as people say it, from billions of years: "300 million years", "4.6 billion years",
// "12 billion years", two significant digits in the largest unit that is at least 1.
std::string FormatStarAge(double billion_years);

// The rows of one planet (with its moons) of a system, as the system's rows tell of it, under
// a heading that names it, or names the moon when moon >= 0.
std::vector<CARD_ROW_T> PlanetCardRows(const STAR_SYSTEM_T &system, uint32_t star, uint32_t planet, int32_t moon);
constexpr int CARD_NOTE_MAX_BYTES = 64;

struct SYSTEM_CARD_T
{
    std::unique_ptr<STAR_SYSTEM_T> system; // null while the card is closed
    GALAXY_SHAPE_T shape = {};             // the galaxy its star belongs to
    std::vector<CARD_ROW_T> rows;          // its rows, made once when it opens
    float scroll = 0.0f;                   // pixels the content has moved up
    float content_height = 0.0f;           // of the rows
    int32_t focus_planet = -1;             // the planet the card tells of alone; -1: the whole system
    // "Bookmark" opens a note box at the card's top; Enter (or Keep) keeps the star with it.
    bool note_open = false;
    bool note_edit_mode = false;
    char note[CARD_NOTE_MAX_BYTES + 1] = {};
    // Set in the frame a note is kept, for the shell to write and then clear.
    bool bookmark_requested = false;
    uint64_t bookmark_star = 0;
    std::string bookmark_note; // the note, or the system's name when none was typed
    // The rows as drawn last, kept as a picture: a card of text costs a software renderer
    // several milliseconds a frame, and it changes only when it scrolls or tells of another body.
    uint64_t rows_version = 0; // changes whenever the rows do
    struct PICTURE_T
    {
        RenderTexture2D texture = {};
        uint64_t rows_version = 0;
        float scroll = 0.0f;
        bool valid = false;
    } picture;
};

// Opens (or replaces) the card with the system of star star_index of the galaxy of shape.
void OpenSystemCard(SYSTEM_CARD_T *card, const GALAXY_SHAPE_T &shape, uint32_t star_index, Vector3 position);
void CloseSystemCard(SYSTEM_CARD_T *card);
// Frees the card's picture of its rows; before the window closes.
void ReleaseSystemCardPicture(SYSTEM_CARD_T *card);
// An open card tells of one planet (or one of its moons) of its system alone, or, for a planet
// of -1, of the whole system again.
void FocusSystemCard(SYSTEM_CARD_T *card, uint32_t star, int32_t planet, int32_t moon);
inline bool SystemCardOpen(const SYSTEM_CARD_T &card)
{
    return card.system != nullptr;
}

// Where the card stands in a window of this size: at the right, under the heads-up lines and
// their timings, as tall as the window leaves.
Rectangle SystemCardBounds(int screen_width, int screen_height);

// The card's Bookmark button, in its title bar left of the close box (with room for one more
// button left of it).
Rectangle SystemCardBookmarkBounds(Rectangle bounds);

// While the note box takes typing, the keys that mean something elsewhere (camera, Tab,
// shortcuts that change the galaxy) are taken from the frame before anything reads them;
// Escape still ends the run.
void TakeSystemCardKeys(const SYSTEM_CARD_T &card, GUI_INPUT_T *input);

// One frame of an open card: the wheel over it scrolls it, its close box closes it, its
// Bookmark button opens the note box, whose Enter sets bookmark_requested. Draws when a window
// exists; decides from input either way.
void SystemCard(SYSTEM_CARD_T *card, Rectangle bounds, GUI_INPUT_T *input);
