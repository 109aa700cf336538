// The card's content is built as rows first and drawn second: the rows know their heights, so
// scrolling and the scroll bar need no second pass over the system.
#include "app/system_card.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "app/figure_text.h"
#include "app/gui.h"
#include "app/heads_up.h"
#include "scene/opaque_picture.h"
#include "systems/stars.h"
#include "systems/temperature_color.h"

namespace
{
constexpr float CARD_WIDTH = 440.0f;
constexpr float CARD_MARGIN = 12.0f;
constexpr float CARD_TITLE_BAR = 24.0f; // raygui's window status bar and a little air
constexpr float CARD_PADDING = 12.0f;
constexpr int CARD_HEADING_SIZE = 20;
constexpr int CARD_TEXT_SIZE = 10;
constexpr float CARD_HEADING_HEIGHT = 28.0f;
constexpr float CARD_TEXT_HEIGHT = 16.0f;
constexpr float CARD_DIAGRAM_HEIGHT = 220.0f;
constexpr float CARD_WHEEL_PIXELS = 48.0f;
constexpr float CARD_NOTE_ROW = 34.0f;     // the note box's row under the title bar
constexpr float CARD_BUTTON_WIDTH = 76.0f; // Bookmark, in the title bar
constexpr float CARD_KEEP_WIDTH = 60.0f;
constexpr Color HABITABLE_ZONE_COLOR = Color{60, 170, 90, 90};
constexpr Color ORBIT_COLOR = Color{120, 130, 150, 255};

std::string Format(const char *format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// value to two significant digits.
double TwoSignificant(double value)
{
    const double step = std::pow(10.0, std::floor(std::log10(value)) - 1.0);
    return std::round(value / step) * step;
}

void Heading(std::vector<CARD_ROW_T> *rows, const std::string &text, Color swatch)
{
    CARD_ROW_T row;
    row.kind = CARD_ROW_HEADING;
    row.text = text;
    row.height = CARD_HEADING_HEIGHT;
    row.swatch = swatch;
    rows->push_back(row);
}

void Text(std::vector<CARD_ROW_T> *rows, const std::string &text, float indent = 0.0f)
{
    CARD_ROW_T row;
    row.text = text;
    row.height = CARD_TEXT_HEIGHT;
    row.indent = indent;
    rows->push_back(row);
}

void Gap(std::vector<CARD_ROW_T> *rows, float height)
{
    CARD_ROW_T row;
    row.kind = CARD_ROW_GAP;
    row.height = height;
    rows->push_back(row);
}

std::string AirText(const std::vector<GAS_SHARE_T> &gases)
{
    if (gases.empty()) return "no air";
    std::string text = "air";
    for (size_t g = 0; g < gases.size(); g++)
        text += Format("%s %s %s%%", g == 0 ? "" : ",", gases[g].formula.c_str(),
                       FigureText(gases[g].share * 100.0, 0).c_str());
    return text;
}

void PlanetRows(std::vector<CARD_ROW_T> *rows, const STAR_SYSTEM_T &system, uint32_t s)
{
    const STAR_T &star = system.system.stars[s];
    for (uint32_t p = 0; p < star.planet_count; p++)
    {
        const PLANET_T &planet = star.planets[p];
        const size_t first = rows->size();
        Gap(rows, 4.0f);
        Text(rows, Format("Planet %u: %s, %s AU%s", p + 1, PlanetKindName(planet.kind),
                          FigureText(planet.orbit_radius, 2).c_str(),
                          planet.in_habitable_zone ? ", in the habitable zone" : ""));
        if (planet.kind == 1)
        {
            // A belt has a year and a mass, but no one body to have a day, a size or a gravity.
            Text(rows,
                 Format("year %s, %s K, %s Earth masses in all", PeriodText(planet.orbit_period, 2).c_str(),
                        FigureText(planet.temperature, 0).c_str(), SignificantText(planet.mass, 3).c_str()),
                 12.0f);
        }
        else
        {
            const std::string day = planet.tidally_locked
                                        ? std::string("tidally locked")
                                        : "day " + FigureText(planet.solar_day, 1) + " hours";
            Text(rows,
                 Format("year %s, %s, %s K", PeriodText(planet.orbit_period, 2).c_str(), day.c_str(),
                        FigureText(planet.temperature, 0).c_str()),
                 12.0f);
            Text(rows,
                 Format("%s Earth masses, %s km across, gravity %s g, density %s",
                        SignificantText(planet.mass, 3).c_str(), FigureText(planet.diameter, 0).c_str(),
                        FigureText(planet.gravity, 2).c_str(), FigureText(planet.density, 2).c_str()),
                 12.0f);
        }
        const bool has_air = s < system.atmospheres.size() && p < system.atmospheres[s].size();
        Text(rows, AirText(has_air ? system.atmospheres[s][p] : std::vector<GAS_SHARE_T>{}), 12.0f);
        for (uint32_t m = 0; m < planet.moon_count; m++)
        {
            const MOON_T &moon = planet.moons[m];
            Text(rows,
                 Format("moon %u: %s, %s km across, period %s days, gravity %s g", m + 1,
                        MoonKindName(moon.kind), FigureText(moon.diameter, 0).c_str(),
                        FigureText(moon.orbit_period, 1).c_str(), FigureText(moon.gravity, 2).c_str()),
                 24.0f);
            rows->back().moon = (int32_t)m;
        }
        for (size_t r = first; r < rows->size(); r++)
        {
            (*rows)[r].star = s;
            (*rows)[r].planet = (int32_t)p;
        }
    }
}

// Orbits drawn on a square-root scale, so close-in planets and far ones both find room.
float OrbitPixels(double au, double outer_au, float radius)
{
    if (!(au > 0.0) || !(outer_au > 0.0)) return 0.0f;
    return radius * (float)std::sqrt(std::min(au / outer_au, 1.0));
}

void DrawOrbitDiagram(const STAR_T &star, Rectangle area)
{
    const Color text = GetColor((unsigned)GuiGetStyle(DEFAULT, TEXT_COLOR_NORMAL));
    const Vector2 centre = {area.x + area.width * 0.5f, area.y + area.height * 0.5f};
    const float radius = area.height * 0.5f - 8.0f;
    double outer = star.habitable_outer;
    for (uint32_t p = 0; p < star.planet_count; p++) outer = std::max(outer, star.planets[p].orbit_radius);
    outer = std::isfinite(outer) && outer > 0.0 ? outer * 1.05 : 1.0;

    const float inner_zone = OrbitPixels(star.habitable_inner, outer, radius);
    const float outer_zone = OrbitPixels(star.habitable_outer, outer, radius);
    if (outer_zone > inner_zone) DrawRing(centre, inner_zone, outer_zone, 0.0f, 360.0f, 64, HABITABLE_ZONE_COLOR);
    for (uint32_t p = 0; p < star.planet_count; p++)
    {
        const PLANET_T &planet = star.planets[p];
        const float r = OrbitPixels(planet.orbit_radius, outer, radius);
        DrawCircleLines((int)centre.x, (int)centre.y, r, ORBIT_COLOR);
        // Spread round the star by the golden angle, so neighbours never sit on one line.
        const float angle = 2.39996323f * (float)p;
        const Vector2 at = {centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
        const bool belt = planet.kind == 1;
        if (belt)
            DrawRing(centre, r - 1.5f, r + 1.5f, 0.0f, 360.0f, 64, Fade(ORBIT_COLOR, 0.8f));
        else
            DrawCircleV(at, planet.kind >= 4 ? 5.0f : 3.5f, planet.in_habitable_zone ? DARKGREEN : DARKGRAY);
        if (!belt) DrawText(TextFormat("%u", p + 1), (int)at.x + 6, (int)at.y - 5, CARD_TEXT_SIZE, text);
    }
    DrawCircleV(centre, 6.0f, UnpackColor(TemperatureColor(star.temperature, 255)));
    DrawText(TextFormat("outer ring %s AU", FigureText(outer, 2).c_str()), (int)area.x,
             (int)(area.y + area.height - 12.0f), CARD_TEXT_SIZE, text);
}

void CloseNote(SYSTEM_CARD_T *card)
{
    card->note_open = false;
    card->note_edit_mode = false;
    card->note[0] = '\0';
}
} // namespace

std::string FormatStarAge(double billion_years)
{
    if (!(billion_years > 0.0) || !std::isfinite(billion_years)) return "no age";
    constexpr const char *UNITS[] = {"billion", "million", "thousand"};
    double value = billion_years;
    int unit = 0;
    while (unit < 2 && TwoSignificant(value) < 1.0)
    {
        value *= 1000.0;
        unit += 1;
    }
    value = TwoSignificant(value);
    // Rounding can carry into the next unit: 999.6 million is 1.0 billion.
    if (value >= 1000.0 && unit > 0)
    {
        value = TwoSignificant(value / 1000.0);
        unit -= 1;
    }
    return Format(value < 10.0 ? "%.1f %s years" : "%.0f %s years", value, UNITS[unit]);
}

std::vector<CARD_ROW_T> SystemCardRows(const STAR_SYSTEM_T &system)
{
    std::vector<CARD_ROW_T> rows;
    const SYSTEM_T &s = system.system;
    Gap(&rows, 4.0f);
    Text(&rows, Format("star %llu of the galaxy, at (%s, %s, %s)", (unsigned long long)system.star_index,
                       FigureText(system.position.x, 1).c_str(), FigureText(system.position.y, 1).c_str(),
                       FigureText(system.position.z, 1).c_str()));
    Text(&rows, s.star_count == 2 ? "a pair of stars" : "a single star");
    for (uint32_t i = 0; i < s.star_count; i++)
    {
        const STAR_T &star = s.stars[i];
        Gap(&rows, 8.0f);
        Heading(&rows, Format("%s  %s K", star.designation, FigureText(star.temperature, 0).c_str()),
                UnpackColor(TemperatureColor(star.temperature, 255)));
        Text(&rows, Format("%s solar masses, %s solar luminosities, %s solar radii",
                           SignificantText(star.mass, 3).c_str(), SignificantText(star.luminosity, 3).c_str(),
                           SignificantText(star.radius, 3).c_str()));
        // A star without an age has no "old" to be.
        const std::string age = FormatStarAge(star.age);
        Text(&rows, age == "no age" ? "age unknown" : age + " old");
        if (s.star_count == 2)
            Text(&rows, Format("%s AU from the pair's centre, a turn every %s",
                               FigureText(std::fabs(star.orbit_radius), 2).c_str(),
                               PeriodText(SystemPairPeriodYears(s), 1).c_str()));
        Text(&rows,
             Format("habitable zone %s to %s AU, %u planets", FigureText(star.habitable_inner, 2).c_str(),
                    FigureText(star.habitable_outer, 2).c_str(), star.planet_count));
        CARD_ROW_T diagram;
        diagram.kind = CARD_ROW_DIAGRAM;
        diagram.height = CARD_DIAGRAM_HEIGHT;
        diagram.star = i;
        rows.push_back(diagram);
        PlanetRows(&rows, system, i);
    }
    Gap(&rows, CARD_PADDING);
    return rows;
}

std::vector<CARD_ROW_T> PlanetCardRows(const STAR_SYSTEM_T &system, uint32_t star, uint32_t planet, int32_t moon)
{
    std::vector<CARD_ROW_T> rows;
    const SYSTEM_T &s = system.system;
    if (star >= s.star_count || planet >= s.stars[star].planet_count) return rows;
    const PLANET_T &body = s.stars[star].planets[planet];
    Gap(&rows, 4.0f);
    if (moon >= 0 && (uint32_t)moon < body.moon_count)
        Heading(&rows, Format("Moon %d of planet %u", moon + 1, planet + 1), Color{});
    else
        Heading(&rows, Format("Planet %u of %s", planet + 1, s.stars[star].designation), Color{});
    std::vector<CARD_ROW_T> all;
    PlanetRows(&all, system, star);
    for (const CARD_ROW_T &row : all)
        if (row.planet == (int32_t)planet) rows.push_back(row);
    Gap(&rows, CARD_PADDING);
    return rows;
}

void FocusSystemCard(SYSTEM_CARD_T *card, uint32_t star, int32_t planet, int32_t moon)
{
    if (!SystemCardOpen(*card)) return;
    card->rows = planet < 0 ? SystemCardRows(*card->system) : PlanetCardRows(*card->system, star, (uint32_t)planet, moon);
    card->focus_planet = planet;
    card->rows_version++;
    card->scroll = 0.0f;
    card->content_height = 0.0f;
    for (const CARD_ROW_T &row : card->rows) card->content_height += row.height;
}

void OpenSystemCard(SYSTEM_CARD_T *card, const GALAXY_SHAPE_T &shape, uint32_t star_index, Vector3 position)
{
    card->shape = shape;
    CloseNote(card); // a note begun for another star is not this one's
    std::unique_ptr<STAR_SYSTEM_T> system(new STAR_SYSTEM_T());
    GenerateStarSystem(shape, star_index, position, system.get());
    card->rows = SystemCardRows(*system);
    card->system = std::move(system);
    card->focus_planet = -1;
    card->rows_version++;
    card->scroll = 0.0f;
    card->content_height = 0.0f;
    for (const CARD_ROW_T &row : card->rows) card->content_height += row.height;
}

void CloseSystemCard(SYSTEM_CARD_T *card)
{
    CloseNote(card);
    card->system.reset();
    card->rows.clear();
    card->rows_version++;
    card->scroll = 0.0f;
    card->content_height = 0.0f;
}

void ReleaseSystemCardPicture(SYSTEM_CARD_T *card)
{
    if (card->picture.texture.id != 0) UnloadRenderTexture(card->picture.texture);
    card->picture = SYSTEM_CARD_T::PICTURE_T{};
}

Rectangle SystemCardBounds(int screen_width, int screen_height)
{
    const Rectangle timings = HeadsUpTimingsBand(HeadsUpLayout(screen_width, screen_height));
    const float top = timings.y + timings.height + CARD_MARGIN;
    const float width = std::min(CARD_WIDTH, (float)screen_width - 2.0f * CARD_MARGIN);
    return Rectangle{(float)screen_width - CARD_MARGIN - width, top, width,
                     std::max(CARD_TITLE_BAR + 40.0f, (float)screen_height - top - CARD_MARGIN)};
}

Rectangle SystemCardBookmarkBounds(Rectangle bounds)
{
    const Rectangle close = WindowCloseBoxBounds(bounds);
    return Rectangle{close.x - 6.0f - CARD_BUTTON_WIDTH, close.y, CARD_BUTTON_WIDTH, close.height};
}

void TakeSystemCardKeys(const SYSTEM_CARD_T &card, GUI_INPUT_T *input)
{
    if (!SystemCardOpen(card) || !card.note_edit_mode) return;
    input->tab_pressed = input->space_pressed = input->reset_pressed = false;
    input->top_down_pressed = input->plain_look_pressed = false;
    input->copy_pressed = input->copy_link_pressed = input->paste_pressed = input->find_pressed = false;
    input->arrow_step = 0;
}

// The note box's row: Enter in the box or Keep asks the shell to keep the star.
static void NoteRow(SYSTEM_CARD_T *card, Rectangle row, GUI_INPUT_T *input)
{
    const Rectangle label = {row.x, row.y, 40.0f, row.height};
    const Rectangle box = {row.x + 40.0f, row.y, row.width - 48.0f - CARD_KEEP_WIDTH, row.height};
    const Rectangle keep = {row.x + row.width - CARD_KEEP_WIDTH, row.y, CARD_KEEP_WIDTH, row.height};
    ScreenLabel(label, "Note:");
    const bool wasEditing = card->note_edit_mode;
    if (GuiTextLine(box, card->note, (int)sizeof card->note, card->note_edit_mode, input))
        card->note_edit_mode = !card->note_edit_mode;
    const bool enter = wasEditing && !card->note_edit_mode && input->enter_pressed;
    if (ScreenButton(keep, "Keep", input) || enter)
    {
        card->bookmark_requested = true;
        card->bookmark_star = card->system->star_index;
        card->bookmark_note = card->note[0] != '\0' ? card->note : card->system->system.name;
        CloseNote(card);
    }
}

// The rows that show in a content area of this size at the card's scroll, the area's top left
// corner at `origin`.
static void DrawCardRows(const SYSTEM_CARD_T &card, Vector2 origin, float width, float height, Color text)
{
    float y = origin.y - card.scroll;
    for (const CARD_ROW_T &row : card.rows)
    {
        if (y + row.height >= origin.y && y <= origin.y + height)
        {
            if (row.kind == CARD_ROW_HEADING)
            {
                float x = origin.x;
                if (row.swatch.a > 0)
                {
                    DrawRectangle((int)x, (int)y + 2, 18, 18, row.swatch);
                    DrawRectangleLines((int)x, (int)y + 2, 18, 18, text);
                    x += 26.0f;
                }
                DrawText(row.text.c_str(), (int)x, (int)y + 2, CARD_HEADING_SIZE, text);
            }
            else if (row.kind == CARD_ROW_TEXT)
                DrawText(row.text.c_str(), (int)(origin.x + row.indent), (int)y + 3, CARD_TEXT_SIZE, text);
            else if (row.kind == CARD_ROW_DIAGRAM && row.star < card.system->system.star_count)
                DrawOrbitDiagram(card.system->system.stars[row.star], Rectangle{origin.x, y + 4.0f, width, row.height - 8.0f});
        }
        y += row.height;
    }
}

// The rows through the picture of them, drawn again only when they scrolled, changed or the
// card changed size. The picture starts from the card's own background, so text blended onto
// it there looks as it does blended onto the card.
static void DrawCardContent(SYSTEM_CARD_T *card, Rectangle content, Color text)
{
    const int width = (int)content.width, height = (int)content.height;
    if (width <= 0 || height <= 0) return;
    SYSTEM_CARD_T::PICTURE_T *picture = &card->picture;
    if (picture->texture.id != 0 &&
        (picture->texture.texture.width != width || picture->texture.texture.height != height))
        ReleaseSystemCardPicture(card);
    if (picture->texture.id == 0)
    {
        picture->texture = LoadRenderTexture(width, height);
        picture->valid = false;
    }
    if (!picture->valid || picture->rows_version != card->rows_version || picture->scroll != card->scroll)
    {
        BeginTextureMode(picture->texture);
        ClearBackground(GetColor((unsigned)GuiGetStyle(DEFAULT, BACKGROUND_COLOR)));
        DrawCardRows(*card, Vector2{0.0f, 0.0f}, content.width, content.height, text);
        EndTextureMode();
        picture->rows_version = card->rows_version;
        picture->scroll = card->scroll;
        picture->valid = true;
    }
    DrawOpaquePicture(picture->texture.texture, Vector2{(float)(int)content.x, (float)(int)content.y});
}

void SystemCard(SYSTEM_CARD_T *card, Rectangle bounds, GUI_INPUT_T *input)
{
    if (!SystemCardOpen(*card)) return;
    const float top = CARD_TITLE_BAR + (card->note_open ? CARD_NOTE_ROW : 0.0f);
    const Rectangle content = {bounds.x + CARD_PADDING, bounds.y + top, bounds.width - 2.0f * CARD_PADDING,
                               bounds.height - top};
    const float most = std::max(0.0f, card->content_height - content.height);
    if (CheckCollisionPointRec(input->mouse, bounds) && input->wheel != 0.0f)
        card->scroll -= input->wheel * CARD_WHEEL_PIXELS;
    card->scroll = std::min(std::max(card->scroll, 0.0f), most);

    const bool closed = ScreenWindowBox(bounds, card->system->system.name, input);
    if (ScreenButton(SystemCardBookmarkBounds(bounds), "Bookmark", input))
    {
        // A second click puts the note away unkept.
        const bool open = !card->note_open;
        CloseNote(card);
        card->note_open = card->note_edit_mode = open;
    }
    else if (card->note_open)
        NoteRow(card, Rectangle{bounds.x + CARD_PADDING, bounds.y + CARD_TITLE_BAR + 4.0f,
                                bounds.width - 2.0f * CARD_PADDING, CARD_NOTE_ROW - 8.0f},
                input);
    if (IsWindowReady())
    {
        const Color text = GetColor((unsigned)GuiGetStyle(DEFAULT, TEXT_COLOR_NORMAL));
        DrawCardContent(card, content, text);
        if (most > 0.0f)
        {
            // A thin bar at the right edge tells how much is hidden and where the view is.
            const float share = content.height / card->content_height;
            const float bar = std::max(20.0f, content.height * share);
            const float at = content.y + (content.height - bar) * (card->scroll / most);
            DrawRectangle((int)(bounds.x + bounds.width - 6.0f), (int)at, 4, (int)bar, Fade(text, 0.5f));
        }
    }
    if (closed) CloseSystemCard(card);
}
