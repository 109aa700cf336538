// The camera's steering. The mathematics is in scene/orbit_camera; this file only decides which
// input means what.
#include "app/camera_control.h"

CAMERA_CONTROL_T MakeCameraControl(const Camera3D &start)
{
    CAMERA_CONTROL_T control;
    control.start = start;
    control.orbit = MakeOrbitCamera(start);
    return control;
}

Camera3D SteerCamera(CAMERA_CONTROL_T *control, const GUI_INPUT_T *input, bool pointer_on_scene, bool keys,
                     float dt, const CAMERA_SCENE_T &scene)
{
    ORBIT_CAMERA_T *orbit = &control->orbit;
    if (input->left_pressed && pointer_on_scene) control->dragging = true;
    if (!input->left_down) control->dragging = false;

    if (control->dragging)
    {
        if (input->mouse_delta.x != 0.0f || input->mouse_delta.y != 0.0f)
            OrbitCameraRotate(orbit, input->mouse_delta.x, input->mouse_delta.y);
        else
            OrbitCameraPauseForSteering(orbit); // held still: the automatic orbit keeps waiting
    }
    if (input->right_down && pointer_on_scene && (input->mouse_delta.x != 0.0f || input->mouse_delta.y != 0.0f))
        OrbitCameraPan(orbit, input->mouse_delta.x, input->mouse_delta.y, (float)input->screen_height);
    if (input->wheel != 0.0f && pointer_on_scene) OrbitCameraZoom(orbit, input->wheel);
    if (input->double_click && pointer_on_scene)
    {
        // The ray of the picture as drawn, shifted or not, the same one that picks stars.
        const PICK_VIEW_T view = {OrbitCameraToCamera3D(*orbit), scene.width, scene.height, scene.shift_x};
        Ray ray = {};
        Vector3 point = {};
        if (PickViewRay(view, input->mouse, &ray) && PickCentreOnDisc(ray, scene.disc_radius, &point))
            OrbitCameraCentreOn(orbit, point);
    }

    if (keys && input->space_pressed) OrbitCameraToggleAutoOrbit(orbit);
    if (keys && input->reset_pressed) OrbitCameraReset(orbit, control->start);
    if (keys && input->top_down_pressed) OrbitCameraTopDown(orbit);

    OrbitCameraUpdate(orbit, dt);
    return OrbitCameraToCamera3D(*orbit);
}
