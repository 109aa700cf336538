// The generator panel's sliders, top to bottom: where each stands, its label format, its
// range, the parameter it edits and what a change of it does to the others. The panel notices
// changes in this order too, so a coupled value set by an earlier row is seen by its own row
// in the same pass. The panel and its tests read the same rows.
#pragma once

#include "app/gui.h"
#include "galaxy/galaxy_shape.h"
#include "galaxy/hubble_types.h"

// Places of the panel's controls, relative to the panel's bounds.
constexpr float PANEL_CONTROL_X = 20.0f;
constexpr float PANEL_CONTROL_WIDTH = 300.0f;
constexpr float PANEL_CONTROL_HEIGHT = 20.0f;

struct PANEL_SLIDER_T
{
    float y;           // from the panel's top edge, pixels
    const char *label; // filled with the parameter's current value
    float min_value;
    float max_value;
    int32_t GALAXY_SHAPE_T::*field;
    // Called when the panel notices a change of this row's value, before it takes its copy;
    // null for values that stand alone.
    void (*couple)(GALAXY_SHAPE_T *values);
};

// Size XZ and Size Y are coupled (thickness is a quarter of the radius), and the first bulge
// offset is kept above the second.
inline void CoupleSizeYToSizeXz(GALAXY_SHAPE_T *values)
{
    values->size_y = values->size_xz / 4;
}
inline void CoupleSizeXzToSizeY(GALAXY_SHAPE_T *values)
{
    values->size_xz = values->size_y * 4;
}
inline void KeepOffset0AboveOffset1(GALAXY_SHAPE_T *values)
{
    if (values->bulge_offset0 < values->bulge_offset1) values->bulge_offset0 = values->bulge_offset1 + 1;
}
inline void KeepOffset1BelowOffset0(GALAXY_SHAPE_T *values)
{
    if (values->bulge_offset1 > values->bulge_offset0) values->bulge_offset1 = values->bulge_offset0 - 1;
}

constexpr PANEL_SLIDER_T PANEL_SLIDERS[] = {
    {80.0f, "Size XZ: %i", 1.0f, 256.0f, &GALAXY_SHAPE_T::size_xz, CoupleSizeYToSizeXz},
    {110.0f, "Size Y: %i", 1.0f, 64.0f, &GALAXY_SHAPE_T::size_y, CoupleSizeXzToSizeY},
    {200.0f, "Inner Radius: %i", -200.0f, 200.0f, &GALAXY_SHAPE_T::inner_radius, nullptr},
    {260.0f, "Bulge Size: %i", 16.0f, 64.0f, &GALAXY_SHAPE_T::bulge_size, nullptr},
    {290.0f, "Bulge Offset0: %i", 0.0f, 100.0f, &GALAXY_SHAPE_T::bulge_offset0, KeepOffset0AboveOffset1},
    {320.0f, "Bulge Offset1: %i", 0.0f, 100.0f, &GALAXY_SHAPE_T::bulge_offset1, KeepOffset1BelowOffset0},
    {380.0f, "Number of Arms: %i", 2.0f, 9.0f, &GALAXY_SHAPE_T::arms, nullptr},
    {440.0f, "Arm Curvature: %i", 1.0f, 32.0f, &GALAXY_SHAPE_T::curvature, nullptr},
    // In the gap above Randomize, so that no other control moves.
    {465.0f, "Star density: %i", 1.0f, 40.0f, &GALAXY_SHAPE_T::density, nullptr},
};

constexpr int PANEL_SLIDER_COUNT = (int)(sizeof PANEL_SLIDERS / sizeof PANEL_SLIDERS[0]);

// A Hubble type's rows, in the classic rows' places: the sizes stand alone (a disc's thickness
// is not tied to its radius), and the rows a type ignores edit its own values instead.
constexpr PANEL_SLIDER_T HUBBLE_PANEL_SLIDERS[] = {
    {80.0f, "Size XZ: %i", 1.0f, 256.0f, &GALAXY_SHAPE_T::size_xz, nullptr},
    {110.0f, "Size Y: %i", 0.0f, 64.0f, &GALAXY_SHAPE_T::size_y, nullptr},
    {200.0f, "Bar Length: %i%%", 0.0f, (float)HUBBLE_MAX_BAR_LENGTH, &GALAXY_SHAPE_T::bar_length, nullptr},
    {260.0f, "Bulge/Total: %i%%", 0.0f, (float)HUBBLE_MAX_BULGE_SHARE, &GALAXY_SHAPE_T::bulge_share, nullptr},
    {290.0f, "Arm Width: %i%%", (float)HUBBLE_MIN_ARM_WIDTH, (float)HUBBLE_MAX_ARM_WIDTH, &GALAXY_SHAPE_T::arm_width,
     nullptr},
    {320.0f, "Arm Contrast: %i%%", 0.0f, (float)HUBBLE_MAX_ARM_CONTRAST, &GALAXY_SHAPE_T::arm_contrast, nullptr},
    {380.0f, "Number of Arms: %i", (float)HUBBLE_MIN_ARMS, (float)HUBBLE_MAX_ARMS, &GALAXY_SHAPE_T::arms, nullptr},
    {440.0f, "Pitch: %i deg", (float)HUBBLE_MIN_PITCH, (float)HUBBLE_MAX_PITCH, &GALAXY_SHAPE_T::pitch, nullptr},
    {465.0f, "Star density: %i", 1.0f, 40.0f, &GALAXY_SHAPE_T::density, nullptr},
};
static_assert(sizeof HUBBLE_PANEL_SLIDERS / sizeof HUBBLE_PANEL_SLIDERS[0] == PANEL_SLIDER_COUNT,
              "a type's rows stand in the classic rows' places");

// The model: Classic or a Hubble type, picked in the gap under the sizes. A new type starts
// from its preset; Classic sets the type's values back to 0.
inline void ApplyModelPreset(GALAXY_SHAPE_T *values)
{
    *values = ApplyHubblePreset(*values, values->model);
}
constexpr PANEL_SLIDER_T PANEL_MODEL_SLIDER = {155.0f, "Model: %s", 0.0f, (float)HUBBLE_TYPE_COUNT,
                                               &GALAXY_SHAPE_T::model, ApplyModelPreset};

// The rows the panel shows for values' model.
inline const PANEL_SLIDER_T *PanelSliders(const GALAXY_SHAPE_T &values)
{
    return values.model == GALAXY_MODEL_CLASSIC ? PANEL_SLIDERS : HUBBLE_PANEL_SLIDERS;
}

// The seed box's range. The top is 2^31: the box checks its range on the value read as a
// signed number, so no signed value can exceed it.
constexpr float PANEL_SEED_MIN = 0.0f;
constexpr float PANEL_SEED_MAX = 2147483648.0f;

inline Rectangle PanelSliderBounds(Rectangle bounds, const PANEL_SLIDER_T &slider)
{
    return Rectangle{bounds.x + PANEL_CONTROL_X, bounds.y + slider.y, PANEL_CONTROL_WIDTH,
                     PANEL_CONTROL_HEIGHT};
}
