// Placing and drawing the heads-up block.
#include "app/heads_up.h"

#include <cmath>

#include "app/figure_text.h"

HUD_LAYOUT_T HeadsUpLayout(int screenWidth, int screenHeight)
{
    (void)screenHeight; // four lines fit at the top of any window the viewer allows
    HUD_LAYOUT_T layout;
    const float left = (float)(screenWidth - HUD_MARGIN - HUD_BLOCK_WIDTH);
    const float top = (float)(HUD_MARGIN / 2);
    layout.band = Rectangle{left - 8.0f, top, (float)HUD_BLOCK_WIDTH + 16.0f,
                            (float)(HUD_LINE_COUNT * HUD_LINE_HEIGHT + 8)};
    for (int i = 0; i < HUD_LINE_COUNT; i++)
        layout.line[i] = Vector2{left, top + 6.0f + (float)(i * HUD_LINE_HEIGHT)};
    return layout;
}

Rectangle HeadsUpTimingsBand(const HUD_LAYOUT_T &layout)
{
    return Rectangle{layout.band.x, layout.band.y + layout.band.height + 4.0f, layout.band.width,
                     (float)(2 * HUD_LINE_HEIGHT + 8)};
}

void DrawHeadsUpTimings(const HUD_LAYOUT_T &layout, const char *first, const char *second)
{
    const Rectangle band = HeadsUpTimingsBand(layout);
    DrawRectangleRec(band, HUD_BAND_COLOR);
    DrawText(first, (int)layout.line[0].x, (int)band.y + 6, HUD_FONT_SIZE, HUD_COLOR);
    DrawText(second, (int)layout.line[0].x, (int)band.y + 6 + HUD_LINE_HEIGHT, HUD_FONT_SIZE, HUD_COLOR);
}

void DrawHeadsUp(const HUD_LAYOUT_T &layout, const char *const lines[HUD_LINE_COUNT])
{
    DrawRectangleRec(layout.band, HUD_BAND_COLOR);
    for (int i = 0; i < HUD_LINE_COUNT; i++)
    {
        const Color color = (i == HUD_LINE_FPS) ? HUD_FPS_COLOR : HUD_COLOR;
        DrawText(lines[i], (int)layout.line[i].x, (int)layout.line[i].y, HUD_FONT_SIZE, color);
    }
}

std::string HeadsUpProgressText(const GALAXY_BUILD_PROGRESS_T &progress)
{
    if (!progress.running || !(progress.seconds > HUD_PROGRESS_AFTER_SECONDS)) return std::string();
    const float fraction = progress.fraction < 0.0f ? 0.0f : progress.fraction > 1.0f ? 1.0f : progress.fraction;
    // Rounded down: 100% only once it is all done.
    const int percent = (int)std::floor(fraction * 100.0f);
    // The default font has no ellipsis character.
    return "building " + CountText(progress.stars) + " stars... " + std::to_string(percent) + "%";
}

void DrawHeadsUpProgress(const HUD_LAYOUT_T &layout, bool timings_shown, const char *text)
{
    const Rectangle above = timings_shown ? HeadsUpTimingsBand(layout) : layout.band;
    const Rectangle band = Rectangle{layout.band.x, above.y + above.height + 4.0f, layout.band.width,
                                     (float)(HUD_LINE_HEIGHT + 8)};
    DrawRectangleRec(band, HUD_BAND_COLOR);
    DrawText(text, (int)layout.line[0].x, (int)band.y + 6, HUD_FONT_SIZE, HUD_COLOR);
}
