// The system view: from the galaxy into one star's system. The galaxy's camera glides to the
// star, the galaxy fades to a backdrop and the system's orrery is drawn in 3-D with time
// running; the user orbits, pans and zooms round it, hovers bodies for their names and clicks
// one for its card. Backspace or "Galaxy" glides back with the star still selected.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/gui_input.h"
#include "app/system_card.h"
#include "galaxy/galaxy_shape.h"
#include "galaxy/star_system_on_demand.h"
#include "orrery/orrery.h"
#include "scene/orbit_camera.h"

constexpr float SYSTEM_VIEW_GLIDE_SECONDS = 1.0f;
constexpr float SYSTEM_VIEW_BACKDROP_DIM = 0.72f; // the share of the galaxy's light taken away
constexpr float SYSTEM_VIEW_PICK_PIXELS = 6.0f;   // how far off a body the pointer may be

enum SYSTEM_VIEW_PHASE_T
{
    SYSTEM_VIEW_OFF,
    SYSTEM_VIEW_ENTERING,
    SYSTEM_VIEW_IN,
    SYSTEM_VIEW_LEAVING,
};

// The time controls' speeds, in multiples of the view's x1 (a year in about ten seconds).
constexpr int SYSTEM_VIEW_SPEEDS[] = {0, 1, 10, 100}; // the first is the pause

struct SYSTEM_VIEW_T
{
    SYSTEM_VIEW_PHASE_T phase = SYSTEM_VIEW_OFF;
    float glide = 0.0f; // seconds into the glide in or out
    GALAXY_SHAPE_T shape = {}; // the galaxy of the star
    uint64_t star = 0;
    Vector3 star_position = {};
    std::unique_ptr<STAR_SYSTEM_T> system;
    ORRERY_T orrery;
    std::vector<Vector3> positions; // of orrery.bodies at `years`
    ORBIT_CAMERA_T camera = {};     // round the system's centre, in the orrery's units
    ORBIT_POSE_T galaxy_pose = {};  // the galaxy's camera before the glide in, to glide back to
    bool galaxy_auto_orbit = false;
    double years = 0.0; // the date shown: years since the view opened, negative before
    int speed = 1;      // index into SYSTEM_VIEW_SPEEDS
    bool reverse = false;
    int32_t hovered = -1;    // the body under the pointer, -1: none
    bool dragging = false;   // a left drag that began over the scene
    bool pressed_on_scene = false;
    Vector2 pressed_at = {};
};

inline bool SystemViewShown(const SYSTEM_VIEW_T &view)
{
    return view.phase != SYSTEM_VIEW_OFF;
}
// Whether the system itself is on screen (fully, or fading in or out).
inline bool SystemViewDrawsSystem(const SYSTEM_VIEW_T &view)
{
    return view.phase != SYSTEM_VIEW_OFF && view.system != nullptr;
}

// Starts the glide into star star_index of the galaxy of shape, from the galaxy camera's pose.
void EnterSystemView(SYSTEM_VIEW_T *view, const GALAXY_SHAPE_T &shape, uint64_t star_index, Vector3 position,
                     ORBIT_CAMERA_T *galaxy_camera);
// Starts the glide back to the galaxy.
void LeaveSystemView(SYSTEM_VIEW_T *view);

// The update step while the view is shown: the glide, time, steering the system's camera (which
// the galaxy's camera follows, so the backdrop turns with it), hovering and clicks. A click on a
// planet or moon tells of it on the card; on a star, of the whole system again. pointer_on_scene:
// the pointer is not over the card or a control.
void UpdateSystemView(SYSTEM_VIEW_T *view, ORBIT_CAMERA_T *galaxy_camera, SYSTEM_CARD_T *card, GUI_INPUT_T *input,
                      bool pointer_on_scene, float dt);

// How much of the system is drawn (0 to 1) and how dim the galaxy behind it is.
float SystemViewFade(const SYSTEM_VIEW_T &view);
float SystemViewBackdropDim(const SYSTEM_VIEW_T &view);
// The camera the orrery is drawn with.
Camera3D SystemViewCamera(const SYSTEM_VIEW_T &view);

// The bar of controls at the bottom: where it is and where its parts are.
struct SYSTEM_VIEW_BAR_T
{
    Rectangle bar;
    Rectangle galaxy;    // "Galaxy"
    Rectangle direction; // "Reverse;Forward"
    Rectangle speeds;    // "Pause;x1;x10;x100"
    Rectangle date;
};
// The bar is centred in the part of the window left of free_right (the card's left edge).
SYSTEM_VIEW_BAR_T SystemViewBarLayout(int screen_width, int screen_height, float free_right);

// After the galaxy is drawn: dims it (unless it comes dimmed already) and draws the system in
// its own 3-D pass.
void DrawSystemView(const SYSTEM_VIEW_T &view, int screen_width, int screen_height, bool dim_galaxy);
// In 2-D, over everything but the card: the bar (whose controls act here, as raygui's do), the
// date, the scale note and the hovered body's name.
void SystemViewControls(SYSTEM_VIEW_T *view, const GUI_INPUT_T *input, float free_right);
