// Ctrl+F: a search box over the view that finds stars by their systems' names while the user
// types, best match first. Enter, or a click on a match, flies to that star and opens its
// card. The names are indexed on a thread of their own the first time the box opens for a
// galaxy, so the frames go on meanwhile; the box says how far the index has come.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/gui_input.h"
#include "galaxy/star_field.h"
#include "galaxy/star_names.h"

// Matches listed under the box.
constexpr int STAR_SEARCH_SHOWN = 8;
constexpr float STAR_SEARCH_WIDTH = 440.0f;
constexpr float STAR_SEARCH_ROW = 24.0f;
constexpr float STAR_SEARCH_TOP = 10.0f;

struct STAR_SEARCH_T
{
    bool open = false;
    std::string text;
    std::vector<uint32_t> hits; // best first, at most STAR_SEARCH_SHOWN
    std::string hits_for;       // the text the hits answer, and whether the index was ready
    bool hits_indexed = false;

    std::unique_ptr<STAR_NAME_INDEX_T> index;    // ready, for index->shape
    std::unique_ptr<STAR_NAME_INDEX_T> building; // the worker's until built
    GALAXY_SHAPE_T building_shape = {};
    uint64_t building_count = 0;
    std::thread worker;
    std::atomic<bool> built{false};
    std::atomic<uint64_t> done{0};

    STAR_SEARCH_T() = default;
    ~STAR_SEARCH_T();
    STAR_SEARCH_T(const STAR_SEARCH_T &) = delete;
    STAR_SEARCH_T &operator=(const STAR_SEARCH_T &) = delete;
};

// The box's place in a window this wide, with `rows` matches under it.
Rectangle StarSearchBounds(int screen_width, int rows);

// The update step. Ctrl+F opens or closes the box; while it is open it takes the frame's
// typing and the keys it uses (and the click on a match), so nothing under it reacts.
// Returns the star to fly to, or -1.
int64_t UpdateStarSearch(STAR_SEARCH_T *search, const STAR_FIELD_T &field, GUI_INPUT_T *input);

// After the scene: the box, its matches and, while the names are indexed, how far that is.
void DrawStarSearch(const STAR_SEARCH_T &search, int screen_width);
