// The viewer's mouse camera as pure mathematics: orbit, pan, zoom, centring and the automatic
// orbit, on a record the app steers with plain numbers. No window and no input are read
// here, so every move can be checked without a GPU context.
#pragma once

#include "scene/vector_math.h"

// Where the camera is, as the orbit sees it. The camera sits at
//   target + distance * (cos(pitch) sin(yaw), -sin(pitch), cos(pitch) cos(yaw))
// and looks at target with y up.
struct ORBIT_POSE_T
{
    Vector3 target;   // world units
    float yaw;        // radians, the camera's heading around the target, from +z toward +x
    float pitch;      // radians, the view direction's elevation; negative looks down
    float distance;   // world units, camera to target
};

// Steering moves `goal`; OrbitCameraUpdate moves `current` toward it, and `current` is what
// is drawn.
struct ORBIT_CAMERA_T
{
    ORBIT_POSE_T current;
    ORBIT_POSE_T goal;
    float fovy;          // degrees, vertical opening
    bool auto_orbit;     // the slow turn the viewer starts with; Space toggles it
    float steer_pause;   // seconds left before a paused automatic orbit turns again
};

// Limits. Pitch stays strictly inside +-90 degrees, so the view never lines up with y and
// the up vector never flips.
constexpr float ORBIT_MIN_DISTANCE = 2.0f;     // world units
constexpr float ORBIT_MAX_DISTANCE = 2000.0f;  // world units
constexpr float ORBIT_PITCH_LIMIT = 1.5533430f; // radians, 89 degrees

// Motion constants. The automatic orbit turns as raylib's orbital mode did at the usual
// 60 Hz (0.01 radians a frame), but by the clock instead of by the frame.
constexpr float ORBIT_AUTO_SPEED = 0.6f;           // radians per second
constexpr float ORBIT_RADIANS_PER_PIXEL = 0.005f;  // left drag
constexpr float ORBIT_ZOOM_PER_NOTCH = 0.8f;       // distance factor per wheel notch in
constexpr float ORBIT_SMOOTHING_RATE = 12.0f;      // per second: the gap to the goal shrinks by exp(-rate * t)
constexpr float ORBIT_STEER_PAUSE = 2.0f;          // seconds the automatic orbit waits after steering
constexpr float ORBIT_MAX_FRAME_TIME = 0.25f;      // seconds; a longer frame (a stall) counts as this

// The orbit that shows `start` exactly: target, distance and angles from its position and
// target, its fovy; the automatic orbit on. Distance and pitch are clamped to the limits.
ORBIT_CAMERA_T MakeOrbitCamera(const Camera3D &start);
// The raylib camera of the current pose: y up, perspective.
Camera3D OrbitCameraToCamera3D(const ORBIT_CAMERA_T &cam);

// Steering. Each sets the goal, ignores non-finite input and pauses the automatic orbit for
// ORBIT_STEER_PAUSE seconds.
// Left drag by (dx, dy) pixels, screen y down: the scene follows the pointer.
void OrbitCameraRotate(ORBIT_CAMERA_T *cam, float dx, float dy);
// Right or middle drag by (dx, dy) pixels in a view viewport_height pixels tall: the target
// moves in the screen plane so the point under the pointer (at the target's depth) stays there.
void OrbitCameraPan(ORBIT_CAMERA_T *cam, float dx, float dy, float viewport_height);
// Wheel notches, positive in: the distance times ORBIT_ZOOM_PER_NOTCH per notch, clamped.
void OrbitCameraZoom(ORBIT_CAMERA_T *cam, float notches);
// The point becomes the goal target; the distance is kept.
void OrbitCameraCentreOn(ORBIT_CAMERA_T *cam, Vector3 point);
// Pauses the automatic orbit as steering does; for the app to call while a drag is held still.
void OrbitCameraPauseForSteering(ORBIT_CAMERA_T *cam);

// Keys. Reset heads back to `start`'s pose the short way round; TopDown looks straight down
// (at the pitch limit) on the same target from the same distance. Neither changes the
// automatic orbit's on/off state.
void OrbitCameraReset(ORBIT_CAMERA_T *cam, const Camera3D &start);
void OrbitCameraTopDown(ORBIT_CAMERA_T *cam);
void OrbitCameraSetAutoOrbit(ORBIT_CAMERA_T *cam, bool on);
void OrbitCameraToggleAutoOrbit(ORBIT_CAMERA_T *cam);

// One frame of dt seconds (NaN or negative counts as 0, more than ORBIT_MAX_FRAME_TIME as
// that): turns the automatic orbit when it is on and not paused, and brings the current pose
// toward the goal. Splitting a time into frames of any sizes gives the same pose.
void OrbitCameraUpdate(ORBIT_CAMERA_T *cam, float dt);

// Where the pointer's ray meets the galaxy's disc, the plane y = 0. False for a ray parallel
// to the plane, pointing away from it, or not finite.
bool PickPointOnDisc(Ray ray, Vector3 *point);

// A ray closer to the disc's plane than this meets it so far off, and so unsteadily (a pixel
// moves the point by hundreds of units), that it names no place on the disc.
constexpr float DISC_PICK_MIN_ELEVATION = 0.0523599f; // radians, 3 degrees

// Where a double click along ray centres the camera: the disc's point under it, pulled in to
// disc_radius (world units) from the axis when it lies beyond the stars. False, and point left
// alone, for a ray that meets the plane behind its origin, runs within
// DISC_PICK_MIN_ELEVATION of it, or is not finite.
bool PickCentreOnDisc(Ray ray, float disc_radius, Vector3 *point);
