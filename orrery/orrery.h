// A star system as a moving model in 3-D: its stars on the pair's orbit, planets on their
// ellipses round their star (or round the pair), moons round their planets, belts as rings of
// particles and each star's habitable zone. It is laid out on a readable scale, not a true
// one, and says which, so the view can print it. No window: positions, the scale and picking
// are plain numbers; orrery_draw.cpp draws them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "galaxy/star_system_on_demand.h"
#include "scene/vector_math.h"

// Distances: a body r AU from what it orbits sits ORRERY_UNITS_PER_ROOT_AU * sqrt(r) scene units
// beyond that body's drawn surface, so close planets and far ones both find room and no orbit
// runs through its star.
constexpr float ORRERY_UNITS_PER_ROOT_AU = 10.0f;
// Sizes: radius grows with the cube root of the true size, within these bounds (scene units).
constexpr float ORRERY_STAR_RADIUS = 4.0f;  // a star of one solar radius
constexpr float ORRERY_EARTH_RADIUS = 2.0f; // a planet as wide as the Earth
constexpr float ORRERY_SMALLEST = 0.3f;
// Moons are spaced by rank, this many planet radii apart, outside the planet's own radius.
constexpr float ORRERY_MOON_SPACING = 0.9f;
// Simulated years per second of the view's time at x1: a year takes about ten seconds.
constexpr double ORRERY_YEARS_PER_SECOND = 0.1;

enum ORRERY_BODY_KIND_T
{
    ORRERY_STAR,
    ORRERY_PLANET,
    ORRERY_MOON,
    ORRERY_BELT,
};

struct ORRERY_BODY_T
{
    ORRERY_BODY_KIND_T kind = ORRERY_STAR;
    std::string name;     // as the view names it on hover
    int32_t star = -1;    // the indices of the record: star, planet of that star, moon of that planet
    int32_t planet = -1;
    int32_t moon = -1;
    int32_t parent = -1;  // the body it orbits; -1: the pair's centre (the origin)
    float radius = 0.0f;  // drawn radius, scene units; a belt's half width
    float orbit = 0.0f;   // semi-major axis on the drawn scale, scene units, from the parent's centre
    float eccentricity = 0.0f;
    double period_years = 0.0; // one turn; 0: does not move
    float phase = 0.0f;        // radians of mean anomaly at time 0
    float perihelion = 0.0f;   // radians, where on its ellipse it comes closest
    Color color = {};
    float temperature = 0.0f; // stars: kelvin, for their glow
};

// A star's habitable zone on the drawn scale, round body `star_body`.
struct ORRERY_ZONE_T
{
    int32_t star_body = -1;
    float inner = 0.0f;
    float outer = 0.0f;
};

struct ORRERY_T
{
    std::vector<ORRERY_BODY_T> bodies; // every parent comes before its children
    std::vector<ORRERY_ZONE_T> zones;
    float extent = 0.0f; // the farthest any orbit reaches from the origin, scene units
    std::string scale_note;
};

// The model of a generated system. The pair's period is Kepler's, from both stars' distances
// and masses; every other period is the record's own.
ORRERY_T MakeOrrery(const STAR_SYSTEM_T &system);

// Where every body is after `years` (negative runs back), in the order of orrery.bodies.
void OrreryPositions(const ORRERY_T &orrery, double years, std::vector<Vector3> *positions);

// The body under the pointer in a view of this camera and window size: the nearest to the
// camera of those whose drawn disc, widened to `slack` pixels, holds the pointer. Belts are
// never picked. -1 for none.
int32_t PickOrreryBody(const ORRERY_T &orrery, const std::vector<Vector3> &positions, Camera3D camera, int width,
                       int height, Vector2 pointer, float slack);

// The date after `years`, as the view shows it: "year 3, day 125", with a minus for the past.
std::string OrreryDate(double years);

// How a frame draws the orrery.
struct ORRERY_DRAW_T
{
    int32_t hovered = -1;    // ringed; -1 for none
    float fade = 1.0f;       // 0 to 1 dims all of it together while the view glides in or out
    int screen_height = 768; // spheres get as many rings as their size in pixels asks for
    // Whether what was drawn before wrote depth that would hide the system; a backdrop laid
    // down as a flat picture writes none, and clearing a multisampled window's depth is costly.
    bool clear_depth = true;
};

// Drawing (orrery_draw.cpp, needs a window). Stars glow, planets and moons are shaded from
// their star, orbits are lines and belts particles.
void DrawOrrery(const ORRERY_T &orrery, const std::vector<Vector3> &positions, Camera3D camera,
                const ORRERY_DRAW_T &how);
// In 2-D: takes `share` (0 to 1) of the light away from everything drawn so far, so the galaxy
// behind the orrery reads as a backdrop.
void DimBackdrop(int screen_width, int screen_height, float share);
// In 2-D: a picture of the whole window (a render texture's, rows bottom to top) over it as it
// is, neither blended nor smoothed: the cheapest way to show a backdrop drawn before.
void DrawBackdropPicture(Texture2D picture, int screen_width, int screen_height);
