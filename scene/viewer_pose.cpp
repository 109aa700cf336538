// The viewer's starting pose.
#include "scene/viewer_pose.h"

#include <cmath>

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

Camera3D MakeViewerStartView(void)
{
    Camera3D camera = MakeViewerCamera();
    const float dx = camera.target.x - camera.position.x;
    const float dy = camera.target.y - camera.position.y;
    const float dz = camera.target.z - camera.position.z;
    const float distance = sqrtf(dx * dx + dy * dy + dz * dz);
    const float yaw = atan2f(dx, dz) + 0.01f; // one orbit step
    const float pitch = atan2f(dy, sqrtf(dx * dx + dz * dz));
    camera.position.x = sinf(yaw) * distance * cosf(pitch) + camera.target.x;
    camera.position.y = ((pitch <= 0.0f) ? 1.0f : -1.0f) * sinf(pitch) * distance * sinf(pitch) + camera.target.y;
    camera.position.z = cosf(yaw) * distance * cosf(pitch) + camera.target.z;
    return camera;
}

FRUSTUM_T MakeViewerFrustum(const Camera3D &camera)
{
    FRUSTUM_T frustum;
    frustum.SetInternals(VIEWER_FRUSTUM_ANGLE, VIEWER_FRUSTUM_RATIO, VIEWER_FRUSTUM_NEAR, VIEWER_FRUSTUM_FAR);
    frustum.Update(camera);
    return frustum;
}
