// The generator panel's sliders, top to bottom: where each stands, its label format, its
// range and the parameter it edits. The panel and its tests read the same rows.
#pragma once

#include "app/generator_panel.h"

struct PANEL_SLIDER_T
{
    float y;           // from the panel's top edge, pixels
    const char *label; // filled with the parameter's current value
    float min_value;
    float max_value;
    int32_t GENERATOR_PANEL_T::*field;
};

constexpr PANEL_SLIDER_T PANEL_SLIDERS[] = {
    {80.0f, "Size XZ: %i", 1.0f, 256.0f, &GENERATOR_PANEL_T::size_xz},
    {110.0f, "Size Y: %i", 1.0f, 64.0f, &GENERATOR_PANEL_T::size_y},
    {200.0f, "Inner Radius: %i", -200.0f, 200.0f, &GENERATOR_PANEL_T::inner_radius},
    {260.0f, "Bulge Size: %i", 16.0f, 64.0f, &GENERATOR_PANEL_T::bulge_size},
    {290.0f, "Bulge Offset0: %i", 0.0f, 100.0f, &GENERATOR_PANEL_T::bulge_offset0},
    {320.0f, "Bulge Offset1: %i", 0.0f, 100.0f, &GENERATOR_PANEL_T::bulge_offset1},
    {380.0f, "Number of Arms: %i", 2.0f, 9.0f, &GENERATOR_PANEL_T::arms},
    {440.0f, "Arm Curvature: %i", 1.0f, 32.0f, &GENERATOR_PANEL_T::curvature},
};

constexpr int PANEL_SLIDER_COUNT = (int)(sizeof PANEL_SLIDERS / sizeof PANEL_SLIDERS[0]);

// The seed box's range. The top is 2^31: the box checks its range on the value read as a
// signed number, so no signed value can exceed it.
constexpr float PANEL_SEED_MIN = 0.0f;
constexpr float PANEL_SEED_MAX = 2147483648.0f;

inline Rectangle PanelSliderBounds(Rectangle bounds, const PANEL_SLIDER_T &slider)
{
    return Rectangle{bounds.x + PANEL_CONTROL_X, bounds.y + slider.y, PANEL_CONTROL_WIDTH,
                     PANEL_CONTROL_HEIGHT};
}
