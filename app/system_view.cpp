// The galaxy's camera is never replaced: it glides to the star and, while the system is shown,
// takes the system camera's angles at a short distance, so the galaxy behind turns with the
// system and the glide back starts from where the user looked.
#include "app/system_view.h"

#include <algorithm>
#include <cmath>

#include "app/gui.h"

namespace
{
constexpr float BAR_HEIGHT = 30.0f;
constexpr float BAR_MARGIN = 14.0f;
constexpr float BAR_GAP = 12.0f;
constexpr float GALAXY_BUTTON_WIDTH = 90.0f;
constexpr float DIRECTION_WIDTH = 84.0f;
constexpr float SPEED_WIDTH = 60.0f;
constexpr float DATE_WIDTH = 180.0f;
constexpr float CLICK_PIXELS = 4.0f;
constexpr float START_PITCH = -0.5f;  // radians: a little above the plane of the orbits
constexpr float FRAME_MARGIN = 1.0f;  // the start distance, in extents over the half opening's tangent
constexpr float ARRIVE_FROM = 4.0f;   // the system camera starts this much farther and closes in
constexpr int NAME_SIZE = 20;
constexpr int NOTE_SIZE = 10;

float Clamp01(float value)
{
    return std::min(1.0f, std::max(0.0f, value));
}

float Smooth(float t)
{
    t = Clamp01(t);
    return t * t * (3.0f - 2.0f * t);
}

// The toggle groups' full width: raygui lays the toggles side by side with its group padding.
float GroupWidth(float toggle_width, int toggles)
{
    return toggle_width * (float)toggles + (float)GuiGetStyle(TOGGLE, GROUP_PADDING) * (float)(toggles - 1);
}
} // namespace

void EnterSystemView(SYSTEM_VIEW_T *view, const GALAXY_SHAPE_T &shape, uint64_t star_index, Vector3 position,
                     ORBIT_CAMERA_T *galaxy_camera)
{
    view->system.reset(new STAR_SYSTEM_T());
    GenerateStarSystem(shape, star_index, position, view->system.get());
    view->orrery = MakeOrrery(*view->system);
    view->shape = shape;
    view->star = star_index;
    view->star_position = position;
    view->years = 0.0;
    view->speed = 1;
    view->reverse = false;
    view->hovered = -1;
    view->dragging = view->pressed_on_scene = false;
    OrreryPositions(view->orrery, view->years, &view->positions);

    if (view->phase == SYSTEM_VIEW_OFF)
    {
        view->galaxy_pose = galaxy_camera->goal;
        view->galaxy_auto_orbit = galaxy_camera->auto_orbit;
    }
    OrbitCameraSetAutoOrbit(galaxy_camera, false);
    galaxy_camera->goal.target = position;
    galaxy_camera->goal.distance = ORBIT_MIN_DISTANCE;

    ORBIT_CAMERA_T camera = {};
    camera.fovy = galaxy_camera->fovy;
    camera.goal.target = Vector3{0.0f, 0.0f, 0.0f};
    camera.goal.yaw = galaxy_camera->current.yaw;
    camera.goal.pitch = START_PITCH;
    const float half_opening = std::tan(0.5f * camera.fovy * DEG2RAD);
    camera.goal.distance =
        std::min(ORBIT_MAX_DISTANCE, std::max(8.0f, view->orrery.extent * FRAME_MARGIN / std::max(0.1f, half_opening)));
    camera.current = camera.goal;
    camera.current.distance = std::min(ORBIT_MAX_DISTANCE, camera.goal.distance * ARRIVE_FROM);
    camera.auto_orbit = false;
    view->camera = camera;

    view->phase = SYSTEM_VIEW_ENTERING;
    view->glide = 0.0f;
}

void LeaveSystemView(SYSTEM_VIEW_T *view)
{
    if (view->phase != SYSTEM_VIEW_ENTERING && view->phase != SYSTEM_VIEW_IN) return;
    view->phase = SYSTEM_VIEW_LEAVING;
    view->glide = 0.0f;
    view->hovered = -1;
}

float SystemViewFade(const SYSTEM_VIEW_T &view)
{
    switch (view.phase)
    {
    case SYSTEM_VIEW_ENTERING: return Smooth((view.glide / SYSTEM_VIEW_GLIDE_SECONDS - 0.35f) / 0.65f);
    case SYSTEM_VIEW_IN: return 1.0f;
    case SYSTEM_VIEW_LEAVING: return 1.0f - Smooth(view.glide / (0.5f * SYSTEM_VIEW_GLIDE_SECONDS));
    default: return 0.0f;
    }
}

float SystemViewBackdropDim(const SYSTEM_VIEW_T &view)
{
    switch (view.phase)
    {
    case SYSTEM_VIEW_ENTERING: return SYSTEM_VIEW_BACKDROP_DIM * Smooth(view.glide / SYSTEM_VIEW_GLIDE_SECONDS);
    case SYSTEM_VIEW_IN: return SYSTEM_VIEW_BACKDROP_DIM;
    case SYSTEM_VIEW_LEAVING: return SYSTEM_VIEW_BACKDROP_DIM * (1.0f - Smooth(view.glide / SYSTEM_VIEW_GLIDE_SECONDS));
    default: return 0.0f;
    }
}

Camera3D SystemViewCamera(const SYSTEM_VIEW_T &view)
{
    return OrbitCameraToCamera3D(view.camera);
}

void UpdateSystemView(SYSTEM_VIEW_T *view, ORBIT_CAMERA_T *galaxy_camera, SYSTEM_CARD_T *card, GUI_INPUT_T *input,
                      bool pointer_on_scene, float dt)
{
    if (view->phase == SYSTEM_VIEW_OFF) return;
    if (!(dt >= 0.0f) || !std::isfinite(dt)) dt = 0.0f;
    dt = std::min(dt, ORBIT_MAX_FRAME_TIME);
    view->glide += dt;
    if (view->phase == SYSTEM_VIEW_ENTERING && view->glide >= SYSTEM_VIEW_GLIDE_SECONDS) view->phase = SYSTEM_VIEW_IN;

    if (view->phase == SYSTEM_VIEW_LEAVING)
    {
        // Back in the galaxy the card tells of the whole system again.
        if (SystemCardOpen(*card) && card->focus_planet >= 0) FocusSystemCard(card, 0, -1, -1);
        galaxy_camera->goal = view->galaxy_pose;
        OrbitCameraUpdate(galaxy_camera, dt);
        OrbitCameraUpdate(&view->camera, dt);
        if (view->glide >= SYSTEM_VIEW_GLIDE_SECONDS)
        {
            view->phase = SYSTEM_VIEW_OFF;
            OrbitCameraSetAutoOrbit(galaxy_camera, view->galaxy_auto_orbit);
            view->system.reset();
            view->positions.clear();
            view->orrery = ORRERY_T{};
        }
        return;
    }

    // Time runs from the first frame of the glide, so the planets already move as they appear.
    view->years += (double)dt * ORRERY_YEARS_PER_SECOND * SYSTEM_VIEW_SPEEDS[view->speed] * (view->reverse ? -1.0 : 1.0);
    if (input->space_pressed) view->speed = view->speed == 0 ? 1 : 0;
    if (input->backspace_pressed)
    {
        LeaveSystemView(view);
        input->backspace_pressed = false;
    }

    // The system's camera steers as the galaxy's does.
    if (input->left_pressed && pointer_on_scene)
    {
        view->dragging = true;
        view->pressed_on_scene = true;
        view->pressed_at = input->mouse;
    }
    if (!input->left_down) view->dragging = false;
    if (view->dragging && (input->mouse_delta.x != 0.0f || input->mouse_delta.y != 0.0f))
        OrbitCameraRotate(&view->camera, input->mouse_delta.x, input->mouse_delta.y);
    if (input->right_down && pointer_on_scene && (input->mouse_delta.x != 0.0f || input->mouse_delta.y != 0.0f))
        OrbitCameraPan(&view->camera, input->mouse_delta.x, input->mouse_delta.y, (float)input->screen_height);
    if (input->wheel != 0.0f && pointer_on_scene) OrbitCameraZoom(&view->camera, input->wheel);
    OrbitCameraUpdate(&view->camera, dt);
    OrreryPositions(view->orrery, view->years, &view->positions);

    if (view->phase == SYSTEM_VIEW_IN)
    {
        // The galaxy behind follows the system camera's angles from close to the star.
        const ORBIT_POSE_T close = {view->star_position, view->camera.current.yaw, view->camera.current.pitch,
                                    ORBIT_MIN_DISTANCE};
        galaxy_camera->goal = close;
        galaxy_camera->current = close;
    }
    OrbitCameraUpdate(galaxy_camera, dt);

    view->hovered = pointer_on_scene ? PickOrreryBody(view->orrery, view->positions, SystemViewCamera(*view),
                                                      input->screen_width, input->screen_height, input->mouse,
                                                      SYSTEM_VIEW_PICK_PIXELS)
                                     : -1;
    if (input->left_released && view->pressed_on_scene)
    {
        view->pressed_on_scene = false;
        const bool click = pointer_on_scene && Vector2Distance(input->mouse, view->pressed_at) <= CLICK_PIXELS;
        if (click && view->hovered >= 0)
        {
            const ORRERY_BODY_T &body = view->orrery.bodies[(size_t)view->hovered];
            if (!SystemCardOpen(*card)) OpenSystemCard(card, view->shape, (uint32_t)view->star, view->star_position);
            FocusSystemCard(card, (uint32_t)std::max(0, body.star), body.planet, body.moon);
        }
    }
}

SYSTEM_VIEW_BAR_T SystemViewBarLayout(int screen_width, int screen_height, float free_right)
{
    SYSTEM_VIEW_BAR_T layout;
    const float directions = GroupWidth(DIRECTION_WIDTH, 2);
    const float speeds = GroupWidth(SPEED_WIDTH, 4);
    const float width = GALAXY_BUTTON_WIDTH + directions + speeds + DATE_WIDTH + 3.0f * BAR_GAP;
    const float room = std::min((float)screen_width, free_right);
    const float x = std::max(BAR_MARGIN, std::min((room - width) * 0.5f, (float)screen_width - width - BAR_MARGIN));
    const float y = (float)screen_height - BAR_MARGIN - BAR_HEIGHT;
    layout.bar = Rectangle{x - 8.0f, y - 6.0f, width + 16.0f, BAR_HEIGHT + 12.0f};
    layout.galaxy = Rectangle{x, y, GALAXY_BUTTON_WIDTH, BAR_HEIGHT};
    layout.direction = Rectangle{x + GALAXY_BUTTON_WIDTH + BAR_GAP, y, DIRECTION_WIDTH, BAR_HEIGHT};
    layout.speeds = Rectangle{layout.direction.x + directions + BAR_GAP, y, SPEED_WIDTH, BAR_HEIGHT};
    layout.date = Rectangle{layout.speeds.x + speeds + BAR_GAP, y, DATE_WIDTH, BAR_HEIGHT};
    return layout;
}

void DrawSystemView(const SYSTEM_VIEW_T &view, int screen_width, int screen_height, bool dim_galaxy)
{
    if (!SystemViewShown(view)) return;
    if (dim_galaxy) DimBackdrop(screen_width, screen_height, SystemViewBackdropDim(view));
    if (!SystemViewDrawsSystem(view)) return;
    const Camera3D camera = SystemViewCamera(view);
    BeginMode3D(camera);
    ORRERY_DRAW_T how;
    how.hovered = view.hovered;
    how.fade = SystemViewFade(view);
    how.screen_height = screen_height;
    // Only a galaxy drawn live wrote depth; its picture wrote none since the window was cleared.
    how.clear_depth = dim_galaxy;
    DrawOrrery(view.orrery, view.positions, camera, how);
    EndMode3D();
}

void SystemViewControls(SYSTEM_VIEW_T *view, const GUI_INPUT_T *input, float free_right)
{
    if (view->phase != SYSTEM_VIEW_ENTERING && view->phase != SYSTEM_VIEW_IN) return;
    const SYSTEM_VIEW_BAR_T layout = SystemViewBarLayout(input->screen_width, input->screen_height, free_right);
    const bool draws = IsWindowReady();
    if (draws) DrawRectangleRec(layout.bar, Fade(BLACK, 0.55f));
    if (ScreenButton(layout.galaxy, "Galaxy", input)) LeaveSystemView(view);
    view->reverse = ScreenToggleGroup(layout.direction, "Reverse;Forward", view->reverse ? 0 : 1, input) == 0;
    view->speed = ScreenToggleGroup(layout.speeds, "Pause;x1;x10;x100", view->speed, input);
    if (!draws) return;

    const Color text = RAYWHITE;
    DrawText(OrreryDate(view->years).c_str(), (int)layout.date.x, (int)layout.date.y + 6, NAME_SIZE, text);
    DrawText(view->orrery.scale_note.c_str(), (int)layout.bar.x, (int)layout.bar.y - NOTE_SIZE - 6, NOTE_SIZE,
             Fade(text, 0.8f));
    if (view->hovered >= 0 && (size_t)view->hovered < view->positions.size())
    {
        const Vector2 at = GetWorldToScreen(view->positions[(size_t)view->hovered], SystemViewCamera(*view));
        const char *name = view->orrery.bodies[(size_t)view->hovered].name.c_str();
        int x = (int)at.x + 14;
        // Right of the body, or left of it where the card or the window's edge would cut it.
        if ((float)(x + MeasureText(name, NAME_SIZE)) > std::min(free_right, (float)input->screen_width) - 4.0f)
            x = (int)at.x - 14 - MeasureText(name, NAME_SIZE);
        DrawText(name, x + 1, (int)at.y - 9, NAME_SIZE, BLACK);
        DrawText(name, x, (int)at.y - 10, NAME_SIZE, text);
    }
}
