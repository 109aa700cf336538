// The orbit camera's mathematics: poses from and to raylib cameras, the steering operations
// on the goal, and the frame step that turns the automatic orbit and smooths toward the goal.
#include "scene/orbit_camera.h"

#include <cmath>

// Far beyond any galaxy the viewer draws; keeps panned and centred targets finite.
constexpr float ORBIT_MAX_TARGET = 10000.0f; // world units
// A drag longer than this in one frame is a glitch, not a gesture.
constexpr float ORBIT_MAX_DRAG = 100000.0f; // pixels
constexpr float TWO_PI = 6.28318530718f;

static bool IsFinite(Vector3 v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

static Vector3 ClampTarget(Vector3 v)
{
    return Vector3{Clamp(v.x, -ORBIT_MAX_TARGET, ORBIT_MAX_TARGET), Clamp(v.y, -ORBIT_MAX_TARGET, ORBIT_MAX_TARGET),
                   Clamp(v.z, -ORBIT_MAX_TARGET, ORBIT_MAX_TARGET)};
}

// Unit vector from the target toward the camera.
static Vector3 PoseBackward(const ORBIT_POSE_T &pose)
{
    const float level = cosf(pose.pitch);
    return Vector3{level * sinf(pose.yaw), -sinf(pose.pitch), level * cosf(pose.yaw)};
}

static ORBIT_POSE_T PoseFromCamera(const Camera3D &camera)
{
    ORBIT_POSE_T pose = {};
    const Vector3 target = IsFinite(camera.target) ? ClampTarget(camera.target) : Vector3{};
    const Vector3 back = IsFinite(camera.position) ? Vector3Subtract(camera.position, target) : Vector3{};
    pose.target = target;
    pose.yaw = atan2f(back.x, back.z);
    pose.pitch = Clamp(-atan2f(back.y, hypotf(back.x, back.z)), -ORBIT_PITCH_LIMIT, ORBIT_PITCH_LIMIT);
    pose.distance = Clamp(Vector3Length(back), ORBIT_MIN_DISTANCE, ORBIT_MAX_DISTANCE);
    return pose;
}

ORBIT_CAMERA_T MakeOrbitCamera(const Camera3D &start)
{
    ORBIT_CAMERA_T cam = {};
    cam.current = PoseFromCamera(start);
    cam.goal = cam.current;
    cam.fovy = std::isfinite(start.fovy) ? Clamp(start.fovy, 1.0f, 179.0f) : 90.0f;
    cam.auto_orbit = true;
    cam.steer_pause = 0.0f;
    return cam;
}

Camera3D OrbitCameraToCamera3D(const ORBIT_CAMERA_T &cam)
{
    Camera3D camera = {};
    camera.target = cam.current.target;
    camera.position = Vector3Add(cam.current.target, Vector3Scale(PoseBackward(cam.current), cam.current.distance));
    camera.up = Vector3{0.0f, 1.0f, 0.0f};
    camera.fovy = cam.fovy;
    camera.type = CAMERA_PERSPECTIVE;
    return camera;
}

void OrbitCameraPauseForSteering(ORBIT_CAMERA_T *cam)
{
    cam->steer_pause = ORBIT_STEER_PAUSE;
}

void OrbitCameraRotate(ORBIT_CAMERA_T *cam, float dx, float dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    // The goal may lead by at most half a turn: further, and the smoothing would catch up
    // the short way round, against the drag.
    const float yaw = cam->goal.yaw - dx * ORBIT_RADIANS_PER_PIXEL;
    cam->goal.yaw = Clamp(yaw, cam->current.yaw - PI, cam->current.yaw + PI);
    cam->goal.pitch = Clamp(cam->goal.pitch - dy * ORBIT_RADIANS_PER_PIXEL, -ORBIT_PITCH_LIMIT, ORBIT_PITCH_LIMIT);
    OrbitCameraPauseForSteering(cam);
}

void OrbitCameraPan(ORBIT_CAMERA_T *cam, float dx, float dy, float viewport_height)
{
    if (!std::isfinite(dx) || !std::isfinite(dy) || !(viewport_height >= 1.0f)) return;
    dx = Clamp(dx, -ORBIT_MAX_DRAG, ORBIT_MAX_DRAG);
    dy = Clamp(dy, -ORBIT_MAX_DRAG, ORBIT_MAX_DRAG);
    // The shown view's scale and axes, since that is the view the pointer moves over.
    const float perPixel = 2.0f * cam->current.distance * tanf(0.5f * cam->fovy * DEG2RAD) / viewport_height;
    const Vector3 forward = Vector3Negate(PoseBackward(cam->current));
    const Vector3 right = Vector3Normalize(Vector3CrossProduct(forward, Vector3{0.0f, 1.0f, 0.0f}));
    const Vector3 up = Vector3CrossProduct(right, forward);
    // Screen y grows downward; the camera moves against the drag so the scene follows it.
    const Vector3 move = Vector3Add(Vector3Scale(right, -dx * perPixel), Vector3Scale(up, dy * perPixel));
    cam->goal.target = ClampTarget(Vector3Add(cam->goal.target, move));
    OrbitCameraPauseForSteering(cam);
}

void OrbitCameraZoom(ORBIT_CAMERA_T *cam, float notches)
{
    if (!std::isfinite(notches)) return;
    const float distance = cam->goal.distance * powf(ORBIT_ZOOM_PER_NOTCH, notches);
    cam->goal.distance = Clamp(distance, ORBIT_MIN_DISTANCE, ORBIT_MAX_DISTANCE);
    OrbitCameraPauseForSteering(cam);
}

void OrbitCameraCentreOn(ORBIT_CAMERA_T *cam, Vector3 point)
{
    if (!IsFinite(point)) return;
    cam->goal.target = ClampTarget(point);
    OrbitCameraPauseForSteering(cam);
}

void OrbitCameraReset(ORBIT_CAMERA_T *cam, const Camera3D &start)
{
    const ORBIT_CAMERA_T home = MakeOrbitCamera(start);
    cam->goal = home.goal;
    // However many turns the automatic orbit has made, the way home is at most half a turn.
    cam->goal.yaw = cam->current.yaw + remainderf(home.goal.yaw - cam->current.yaw, TWO_PI);
    cam->fovy = home.fovy;
}

void OrbitCameraTopDown(ORBIT_CAMERA_T *cam)
{
    cam->goal.pitch = -ORBIT_PITCH_LIMIT;
}

void OrbitCameraSetAutoOrbit(ORBIT_CAMERA_T *cam, bool on)
{
    cam->auto_orbit = on;
    // Turning it on is a request to see it turn now, not after a steering pause.
    if (on) cam->steer_pause = 0.0f;
}

void OrbitCameraToggleAutoOrbit(ORBIT_CAMERA_T *cam)
{
    OrbitCameraSetAutoOrbit(cam, !cam->auto_orbit);
}

static float Approach(float current, float goal, float keep)
{
    return goal + (current - goal) * keep;
}

void OrbitCameraUpdate(ORBIT_CAMERA_T *cam, float dt)
{
    if (!(dt > 0.0f)) dt = 0.0f;
    dt = fminf(dt, ORBIT_MAX_FRAME_TIME);

    // The pause may end inside this frame; only the rest of the frame turns.
    const float turning = fmaxf(dt - cam->steer_pause, 0.0f);
    cam->steer_pause = fmaxf(cam->steer_pause - dt, 0.0f);
    if (cam->auto_orbit)
    {
        // Goal and current turn together, so the orbit is steady in time and steering
        // offsets are smoothed the same whether the orbit turns or not.
        cam->current.yaw += ORBIT_AUTO_SPEED * turning;
        cam->goal.yaw += ORBIT_AUTO_SPEED * turning;
    }

    // Each frame keeps exp(-rate * dt) of the gap, and such factors multiply over frames,
    // so any split of the same time ends in the same pose and never overshoots.
    const float keep = expf(-ORBIT_SMOOTHING_RATE * dt);
    ORBIT_POSE_T &now = cam->current;
    const ORBIT_POSE_T &goal = cam->goal;
    now.target.x = Approach(now.target.x, goal.target.x, keep);
    now.target.y = Approach(now.target.y, goal.target.y, keep);
    now.target.z = Approach(now.target.z, goal.target.z, keep);
    now.yaw = Approach(now.yaw, goal.yaw, keep);
    now.pitch = Approach(now.pitch, goal.pitch, keep);
    // Distance closes by ratio, not by difference, so a zoom feels equally fast at any scale.
    now.distance = Clamp(goal.distance * powf(now.distance / goal.distance, keep), ORBIT_MIN_DISTANCE, ORBIT_MAX_DISTANCE);

    // Hours of orbiting must not grow the angle until float steps show as judder.
    if (fabsf(now.yaw) > PI)
    {
        const float turns = TWO_PI * roundf(now.yaw / TWO_PI);
        cam->current.yaw -= turns;
        cam->goal.yaw -= turns;
    }
}

bool PickPointOnDisc(Ray ray, Vector3 *point)
{
    if (!IsFinite(ray.position) || !IsFinite(ray.direction) || ray.direction.y == 0.0f) return false;
    const float t = -ray.position.y / ray.direction.y;
    if (!(t >= 0.0f)) return false; // pointing away from the disc
    const Vector3 hit = Vector3{ray.position.x + ray.direction.x * t, 0.0f, ray.position.z + ray.direction.z * t};
    if (!IsFinite(hit)) return false;
    *point = hit;
    return true;
}

bool PickCentreOnDisc(Ray ray, float disc_radius, Vector3 *point)
{
    const float length = Vector3Length(ray.direction);
    if (!(length > 0.0f) || !(fabsf(ray.direction.y) >= length * sinf(DISC_PICK_MIN_ELEVATION))) return false;
    Vector3 hit = {};
    if (!PickPointOnDisc(ray, &hit)) return false;
    const float radius = std::isfinite(disc_radius) ? fmaxf(disc_radius, 0.0f) : 0.0f;
    const float off_axis = hypotf(hit.x, hit.z);
    if (off_axis > radius) hit = Vector3{hit.x * (radius / off_axis), 0.0f, hit.z * (radius / off_axis)};
    *point = hit;
    return true;
}
