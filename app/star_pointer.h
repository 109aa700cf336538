// Pointing at stars in the view: the star under the pointer is ringed and named, and a click
// opens its system's card; a click on empty space closes the card. A drag stays the camera's.
#pragma once

#include <cstdint>
#include <string>

#include "app/gui_input.h"
#include "app/system_card.h"
#include "galaxy/star_field.h"
#include "octree/array_octree_pick.h"

constexpr float STAR_PICK_PIXELS = 8.0f;  // how far off a star the pointer may be and still point at it
constexpr float STAR_CLICK_PIXELS = 4.0f; // how far a press may travel before release and still be a click

struct STAR_POINTER_T
{
    STAR_PICK_T hover;                  // the star under the pointer this frame, if any
    Vector3 hover_position = {};        // and where it is
    uint32_t named_star = UINT32_MAX;   // whose name hover_name holds, in the galaxy of
    GALAXY_SHAPE_T named_shape = {};    // this shape: after a regeneration an index is another star
    std::string hover_name;
    bool pressed_on_scene = false;      // the left button went down over the scene...
    Vector2 pressed_at = {};            // ...here
};

// After the camera has moved for this frame. on_scene: the pointer is over the scene, not over
// a control or the card.
void UpdateStarPointer(STAR_POINTER_T *pointer, SYSTEM_CARD_T *card, const STAR_FIELD_T *field, const PICK_VIEW_T &view,
                       const GUI_INPUT_T *input, bool on_scene);

// In 2-D, after the scene: a ring round the hovered star with its name, and a ring round the
// star whose card is open.
void DrawStarPointer(const STAR_POINTER_T &pointer, const SYSTEM_CARD_T &card, const PICK_VIEW_T &view);
