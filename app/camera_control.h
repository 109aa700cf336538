// Mouse and keys to the orbit camera: left drag orbits, right or middle drag pans, the wheel
// zooms, a double click centres on the disc under the pointer; Space pauses or resumes the
// automatic orbit, R returns to the start pose, T looks straight down.
#pragma once

#include "app/gui_input.h"
#include "octree/array_octree_pick.h"
#include "scene/orbit_camera.h"

struct CAMERA_CONTROL_T
{
    ORBIT_CAMERA_T orbit = {};
    Camera3D start = {};   // where R returns to
    bool dragging = false; // a left drag that began over the scene, until the button goes up
};

CAMERA_CONTROL_T MakeCameraControl(const Camera3D &start);

// What a double click needs of the scene: how far its stars reach from the axis (world units),
// the window's size and how far right of its middle the picture's centre is drawn (pixels).
struct CAMERA_SCENE_T
{
    float disc_radius = 0.0f;
    int32_t width = 0;
    int32_t height = 0;
    float shift_x = 0.0f;
};

// One frame. pointer_on_scene: the pointer is over the scene, not over a screen's controls;
// only then do presses, drags and the wheel start anything. keys: the camera's keys are the
// camera's (not while a screen takes typing). dt: the frame's time in seconds. A double click
// centres on the disc's point under the pointer, within scene.disc_radius, and does nothing
// where no such point is (the sky, or the plane seen edge on). Returns the camera to draw with.
Camera3D SteerCamera(CAMERA_CONTROL_T *control, const GUI_INPUT_T *input, bool pointer_on_scene, bool keys,
                     float dt, const CAMERA_SCENE_T &scene);
