// The heads-up lines: build time, points inserted, objects drawn and frames per second, in a
// block at the window's top-right corner on a light band, so that they stay readable (red on
// navy was 2.96:1), stay inside the window at any size it may take and clear of a panel beside
// them, and sit under the screens' controls instead of over them.
#pragma once

#include <string>

#include "galaxy/galaxy_builder.h"
#include "scene/vector_math.h"

constexpr int HUD_LINE_COUNT = 4;
constexpr int HUD_FONT_SIZE = 20;
constexpr int HUD_LINE_HEIGHT = 24;
constexpr int HUD_BLOCK_WIDTH = 330; // pixels: the longest line with room for large figures
constexpr int HUD_MARGIN = 16;
// On the band (235, 235, 235): the red has a contrast of 5.1:1, the green of 4.9:1.
constexpr Color HUD_COLOR = Color{190, 33, 55, 255};
constexpr Color HUD_FPS_COLOR = Color{0, 117, 44, 255};
constexpr Color HUD_BAND_COLOR = Color{235, 235, 235, 255};

// The smallest font the block shrinks to beside a panel: the default font's own size.
constexpr int HUD_LEAST_FONT_SIZE = 10;

struct HUD_LAYOUT_T
{
    Rectangle band = {};
    Vector2 line[HUD_LINE_COUNT] = {}; // where each line's text starts
    int font_size = HUD_FONT_SIZE;
    int line_height = HUD_LINE_HEIGHT;
};

// The block for a window of this size: its right edge HUD_MARGIN from the window's, its top
// edge near the window's; lines one under another in the order of HUD_LINE_*. With a panel
// whose right edge is at left, the band keeps HUD_MARGIN clear of it: where the whole block
// does not fit there, its font and lines shrink to fit (not below HUD_LEAST_FONT_SIZE).
HUD_LAYOUT_T HeadsUpLayout(int screenWidth, int screenHeight, float left = 0.0f);

constexpr int HUD_LINE_BUILD_TIME = 0;
constexpr int HUD_LINE_POINTS = 1;
constexpr int HUD_LINE_OBJECTS = 2;
constexpr int HUD_LINE_FPS = 3;

// Draws the band and the lines (texts already formatted), the last in the FPS colour.
void DrawHeadsUp(const HUD_LAYOUT_T &layout, const char *const lines[HUD_LINE_COUNT]);

// Two more lines on a band of their own under the block: the stage timings (F3, or DEBUG).
Rectangle HeadsUpTimingsBand(const HUD_LAYOUT_T &layout);
void DrawHeadsUpTimings(const HUD_LAYOUT_T &layout, const char *first, const char *second);

// A regeneration shows its progress only once it has run this long (seconds): shorter ones
// would only flicker a line.
constexpr double HUD_PROGRESS_AFTER_SECONDS = 0.25;

// "building 973,080 stars... 40%" for a regeneration that has run long enough; empty otherwise.
std::string HeadsUpProgressText(const GALAXY_BUILD_PROGRESS_T &progress);
// One line on a band of its own under the block, and under the timings when they are shown.
void DrawHeadsUpProgress(const HUD_LAYOUT_T &layout, bool timings_shown, const char *text);
