// The viewer's starting pose.
#include "scene/viewer_pose.h"

Camera3D MakeViewerCamera(void)
{
    Camera3D camera = {};
    camera.position = Vector3{100.0f, 120.5f, 156.0f};
    camera.target = Vector3{1.0f, 1.0f, 1.0f};
    camera.up = Vector3{0.0f, 1.0f, 0.0f};
    camera.fovy = 90.0f;
    camera.type = CAMERA_PERSPECTIVE;
    return camera;
}

FRUSTUM_T MakeViewerFrustum(const Camera3D &camera)
{
    FRUSTUM_T frustum;
    frustum.SetInternals(VIEWER_FRUSTUM_ANGLE, VIEWER_FRUSTUM_RATIO, VIEWER_FRUSTUM_NEAR, VIEWER_FRUSTUM_FAR);
    frustum.Update(camera);
    return frustum;
}
