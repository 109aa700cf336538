// The search box. The index is swapped in whole when its thread is done; a galaxy changed
// meanwhile is indexed again next.
#include "app/star_search.h"

#include <cctype>

#include "galaxy/galaxy_builder.h"

namespace
{
constexpr int TEXT_SIZE = 20;
constexpr Color BOX_FILL = Color{245, 245, 245, 235};
constexpr Color BOX_LINE = Color{131, 131, 131, 255};
constexpr Color TEXT_COLOR = Color{40, 40, 40, 255};
constexpr Color HIT_COLOR = Color{0, 94, 140, 255};
constexpr size_t MOST_CHARACTERS = 24;

// Starts indexing the galaxy shown when the ready index is another's; takes a finished one.
void KeepIndexUpToDate(STAR_SEARCH_T *search, const STAR_FIELD_T &field)
{
    if (search->worker.joinable() && search->built.load())
    {
        search->worker.join();
        search->index = std::move(search->building);
    }
    if (search->worker.joinable()) return;
    const bool current = search->index != nullptr && search->index->shape == field.shape &&
                         search->index->Count() == field.StarCount();
    if (current || field.StarCount() == 0) return;
    search->building.reset(new STAR_NAME_INDEX_T());
    search->building_shape = field.shape;
    search->building_count = field.StarCount();
    search->built = false;
    search->done = 0;
#if defined(GALAXY_BUILDER_IN_FRAME)
    // No thread in the page: the names are made in this frame, which then waits for them.
    BuildStarNameIndex(search->building_shape, search->building_count, 1, search->building.get(), &search->done);
    search->index = std::move(search->building);
    search->built = true;
#else
    STAR_SEARCH_T *s = search;
    search->worker = std::thread([s] {
        BuildStarNameIndex(s->building_shape, s->building_count, 0, s->building.get(), &s->done);
        s->built = true;
    });
#endif
}

// Keys and clicks the box uses are not for anything under it.
void TakeKeys(GUI_INPUT_T *input)
{
    input->enter_pressed = input->backspace_pressed = input->backspace_down = false;
    input->copy_pressed = input->copy_link_pressed = input->paste_pressed = input->export_pressed = false;
    input->tab_pressed = input->space_pressed = input->timings_pressed = false;
    input->reset_pressed = input->top_down_pressed = input->plain_look_pressed = false;
    input->arrow_step = 0;
    input->typed_next = input->typed_count;
}
} // namespace

STAR_SEARCH_T::~STAR_SEARCH_T()
{
    if (worker.joinable()) worker.join();
}

Rectangle StarSearchBounds(int screen_width, int rows)
{
    return Rectangle{((float)screen_width - STAR_SEARCH_WIDTH) / 2.0f, STAR_SEARCH_TOP, STAR_SEARCH_WIDTH,
                     STAR_SEARCH_ROW * (float)(rows + 2) + 8.0f};
}

int64_t UpdateStarSearch(STAR_SEARCH_T *search, const STAR_FIELD_T &field, GUI_INPUT_T *input)
{
    if (input->find_pressed) search->open = !search->open;
    if (!search->open)
    {
        // A finished index is still taken, and nothing new is started, while the box is shut.
        if (search->worker.joinable() && search->built.load())
        {
            search->worker.join();
            search->index = std::move(search->building);
        }
        return -1;
    }
    KeepIndexUpToDate(search, field);

    for (int c = TakeTypedChar(input); c != 0; c = TakeTypedChar(input))
        if (c >= 32 && c < 127 && search->text.size() < MOST_CHARACTERS) search->text += (char)c;
    if (input->backspace_pressed && !search->text.empty()) search->text.pop_back();
    const bool enter = input->enter_pressed;

    const bool ready = search->index != nullptr && search->index->shape == field.shape;
    if (search->hits_for != search->text || search->hits_indexed != ready)
    {
        search->hits = ready ? FindStarNames(*search->index, search->text, STAR_SEARCH_SHOWN) : std::vector<uint32_t>{};
        search->hits_for = search->text;
        search->hits_indexed = ready;
    }

    int64_t chosen = -1;
    if (enter && !search->hits.empty()) chosen = search->hits[0];
    const Rectangle box = StarSearchBounds(input->screen_width, (int)search->hits.size());
    if (CheckCollisionPointRec(input->mouse, box))
    {
        if (input->left_pressed)
        {
            const int row = (int)((input->mouse.y - box.y - 4.0f) / STAR_SEARCH_ROW) - 1;
            if (row >= 0 && row < (int)search->hits.size()) chosen = search->hits[(size_t)row];
        }
        input->left_pressed = input->left_released = input->double_click = false;
        input->wheel = 0.0f;
    }
    TakeKeys(input);
    if (chosen >= 0 && (uint64_t)chosen < field.StarCount())
    {
        search->open = false;
        return chosen;
    }
    return -1;
}

void DrawStarSearch(const STAR_SEARCH_T &search, int screen_width)
{
    if (!search.open) return;
    const Rectangle box = StarSearchBounds(screen_width, (int)search.hits.size());
    DrawRectangleRec(box, BOX_FILL);
    DrawRectangleLinesEx(box, 1, BOX_LINE);
    const int x = (int)box.x + 12;
    int y = (int)box.y + 8;
    DrawText(TextFormat("Find: %s_", search.text.c_str()), x, y, TEXT_SIZE, TEXT_COLOR);
    y += (int)STAR_SEARCH_ROW;
    const bool ready = search.index != nullptr && search.hits_indexed;
    for (uint32_t star : search.hits)
    {
        DrawText(TextFormat("%s  (star %u)", search.index->Name(star).c_str(), star), x, y, TEXT_SIZE, HIT_COLOR);
        y += (int)STAR_SEARCH_ROW;
    }
    const char *status = "";
    if (!ready && search.building_count > 0)
        status = TextFormat("indexing names... %d%%", (int)(100.0 * (double)search.done.load() /
                                                              (double)search.building_count));
    else if (ready && search.text.empty())
        status = "type part of a name; Enter flies to the first";
    else if (ready && search.hits.empty())
        status = "no star's name contains that";
    else
        status = "Enter or a click flies there; Ctrl+F closes";
    DrawText(status, x, y, TEXT_SIZE / 2 + 4, TEXT_COLOR);
}
