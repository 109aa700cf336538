// Placing and drawing the heads-up block.
#include "app/heads_up.h"

#include <cmath>

#include "app/figure_text.h"

HUD_LAYOUT_T HeadsUpLayout(int screenWidth, int screenHeight, float left)
{
    (void)screenHeight; // four lines fit at the top of any window the viewer allows
    HUD_LAYOUT_T layout;
    // The band reaches 8 pixels beyond the text on either side.
    int width = HUD_BLOCK_WIDTH;
    if (left > 0.0f)
    {
        const float room = (float)screenWidth - HUD_MARGIN - 8.0f - (left + HUD_MARGIN + 8.0f);
        if (room < (float)HUD_BLOCK_WIDTH)
        {
            // The default font's glyphs and spacing grow in proportion to its size.
            const int size = (int)std::floor((float)HUD_FONT_SIZE * room / (float)HUD_BLOCK_WIDTH);
            layout.font_size = size < HUD_LEAST_FONT_SIZE ? HUD_LEAST_FONT_SIZE : size;
            layout.line_height = (HUD_LINE_HEIGHT * layout.font_size + HUD_FONT_SIZE - 1) / HUD_FONT_SIZE;
            width = HUD_BLOCK_WIDTH * layout.font_size / HUD_FONT_SIZE;
        }
    }
    const float x = (float)(screenWidth - HUD_MARGIN - width);
    const float top = (float)(HUD_MARGIN / 2);
    layout.band =
        Rectangle{x - 8.0f, top, (float)width + 16.0f, (float)(HUD_LINE_COUNT * layout.line_height + 8)};
    for (int i = 0; i < HUD_LINE_COUNT; i++)
        layout.line[i] = Vector2{x, top + 6.0f + (float)(i * layout.line_height)};
    return layout;
}

Rectangle HeadsUpTimingsBand(const HUD_LAYOUT_T &layout)
{
    return Rectangle{layout.band.x, layout.band.y + layout.band.height + 4.0f, layout.band.width,
                     (float)(2 * layout.line_height + 8)};
}

void DrawHeadsUpTimings(const HUD_LAYOUT_T &layout, const char *first, const char *second)
{
    const Rectangle band = HeadsUpTimingsBand(layout);
    DrawRectangleRec(band, HUD_BAND_COLOR);
    DrawText(first, (int)layout.line[0].x, (int)band.y + 6, layout.font_size, HUD_COLOR);
    DrawText(second, (int)layout.line[0].x, (int)band.y + 6 + layout.line_height, layout.font_size, HUD_COLOR);
}

void DrawHeadsUp(const HUD_LAYOUT_T &layout, const char *const lines[HUD_LINE_COUNT])
{
    DrawRectangleRec(layout.band, HUD_BAND_COLOR);
    for (int i = 0; i < HUD_LINE_COUNT; i++)
    {
        const Color color = (i == HUD_LINE_FPS) ? HUD_FPS_COLOR : HUD_COLOR;
        DrawText(lines[i], (int)layout.line[i].x, (int)layout.line[i].y, layout.font_size, color);
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
                                     (float)(layout.line_height + 8)};
    DrawRectangleRec(band, HUD_BAND_COLOR);
    DrawText(text, (int)layout.line[0].x, (int)band.y + 6, layout.font_size, HUD_COLOR);
}
