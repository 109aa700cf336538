// Hovering costs one pick a frame (microseconds, see the benchmark) and one system a new star
// (its name), so it runs every frame without a cache beyond the last name.
#include "app/star_pointer.h"

namespace
{
constexpr Color HOVER_RING_COLOR = Color{255, 236, 160, 255};
constexpr Color OPEN_RING_COLOR = Color{120, 220, 255, 255};
constexpr int HOVER_NAME_SIZE = 20;

Vector3 StarPosition(const STAR_FIELD_T *field, uint32_t star)
{
    return field->stars[star].position;
}
} // namespace

void UpdateStarPointer(STAR_POINTER_T *pointer, SYSTEM_CARD_T *card, const STAR_FIELD_T *field, const PICK_VIEW_T &view,
                       const GUI_INPUT_T *input, bool on_scene)
{
    const bool have_stars = field != nullptr && field->star_list.Count() > 0;
    pointer->hover = (on_scene && have_stars) ? PickStar(field->tree, view, input->mouse, STAR_PICK_PIXELS)
                                              : STAR_PICK_T{};
    if (pointer->hover.found) pointer->hover_position = StarPosition(field, pointer->hover.star);
    if (pointer->hover.found && (pointer->hover.star != pointer->named_star || field->shape != pointer->named_shape))
    {
        STAR_SYSTEM_T system;
        GenerateStarSystem(field->shape, pointer->hover.star, pointer->hover_position, &system);
        pointer->hover_name = system.system.name;
        pointer->named_star = pointer->hover.star;
        pointer->named_shape = field->shape;
    }

    if (input->left_pressed)
    {
        pointer->pressed_on_scene = on_scene;
        pointer->pressed_at = input->mouse;
    }
    if (!input->left_released || !pointer->pressed_on_scene) return;
    pointer->pressed_on_scene = false;
    if (!on_scene || Vector2Distance(input->mouse, pointer->pressed_at) > STAR_CLICK_PIXELS) return;
    if (pointer->hover.found)
        OpenSystemCard(card, field->shape, pointer->hover.star, pointer->hover_position);
    else
        CloseSystemCard(card);
}

void DrawStarPointer(const STAR_POINTER_T &pointer, const SYSTEM_CARD_T &card, const PICK_VIEW_T &view)
{
    Vector2 at;
    float depth;
    if (SystemCardOpen(card) && ProjectToScreen(view, card.system->position, &at, &depth))
        DrawCircleLines((int)at.x, (int)at.y, 11.0f, OPEN_RING_COLOR);
    if (!pointer.hover.found || pointer.named_star != pointer.hover.star) return;
    // The ring sits where the star is, not where the pointer is.
    if (!ProjectToScreen(view, pointer.hover_position, &at, &depth)) return;
    DrawCircleLines((int)at.x, (int)at.y, 9.0f, HOVER_RING_COLOR);
    const char *name = pointer.hover_name.c_str();
    const int width = MeasureText(name, HOVER_NAME_SIZE);
    // Right of the ring, or left of it near the window's right edge.
    int x = (int)at.x + 14;
    if (x + width > GetScreenWidth() - 4) x = (int)at.x - 14 - width;
    const int y = (int)at.y - HOVER_NAME_SIZE / 2;
    DrawRectangle(x - 4, y - 2, width + 8, HOVER_NAME_SIZE + 4, Fade(BLACK, 0.55f));
    DrawText(name, x, y, HOVER_NAME_SIZE, HOVER_RING_COLOR);
}
