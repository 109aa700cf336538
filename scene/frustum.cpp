// Frustum construction from the camera and the box test. Pure math on raylib's view
// matrix: nothing here needs a window.
#include "scene/frustum.h"

#include <cmath>

FRUSTUM_T::FRUSTUM_T()
    : near_half_height(0.0f), near_half_width(0.0f), far_half_height(0.0f), far_half_width(0.0f),
      far_distance(0.0f), near_distance(0.0f), ratio(0.0f), angle(0.0f)
{
    for (int i = 0; i < 6; i++) planes[i] = Vector4{0.0f, 0.0f, 0.0f, 1.0f};
    for (int i = 0; i < 8; i++) corners[i] = Vector3{0.0f, 0.0f, 0.0f};
}

void FRUSTUM_T::SetInternals(float angle, float ratio, float near, float far)
{
    // pi / 360: the tangent of half the full opening angle, rounded once to float.
    const float tang = (float)std::tan((double)angle * 0.008726646259971648);
    near_half_height = near * tang;
    near_half_width = ratio * near_half_height;
    far_half_height = far * tang;
    far_half_width = ratio * far_half_height;
    near_distance = near;
    far_distance = far;
    this->ratio = ratio;
    this->angle = angle;
}

static Vector4 PlaneThrough(Vector3 p0, Vector3 p1, Vector3 p2)
{
    const Vector3 n = Vector3Normalize(Vector3CrossProduct(Vector3Subtract(p1, p0), Vector3Subtract(p2, p0)));
    return Vector4{n.x, n.y, n.z, -Vector3DotProduct(p0, n)};
}

void FRUSTUM_T::Update(Camera3D camera)
{
    const Matrix m = GetCameraMatrix(camera);
    const Vector3 x = Vector3{m.m0, m.m4, m.m8};  // right
    const Vector3 y = Vector3{m.m1, m.m5, m.m9};  // up
    const Vector3 z = Vector3{m.m2, m.m6, m.m10}; // backward: the camera looks along -z
    // The view matrix's m3, m7, m11 are always zero, which would put the apex at the world
    // origin and cull half of what is on screen; the apex belongs where the eye is.
    const Vector3 p = camera.position;

    const Vector3 nc = Vector3Subtract(p, Vector3Scale(z, near_distance));
    const Vector3 fc = Vector3Subtract(p, Vector3Scale(z, far_distance));

    const Vector3 ny = Vector3Scale(y, near_half_height);
    const Vector3 nx = Vector3Scale(x, near_half_width);
    const Vector3 fy = Vector3Scale(y, far_half_height);
    const Vector3 fx = Vector3Scale(x, far_half_width);

    corners[NEAR_TOP_LEFT] = Vector3Add(nc, Vector3Subtract(ny, nx));
    corners[NEAR_TOP_RIGHT] = Vector3Add(nc, Vector3Add(ny, nx));
    corners[NEAR_BOTTOM_LEFT] = Vector3Subtract(nc, Vector3Add(ny, nx));
    corners[NEAR_BOTTOM_RIGHT] = Vector3Subtract(nc, Vector3Subtract(ny, nx));
    corners[FAR_TOP_LEFT] = Vector3Add(fc, Vector3Subtract(fy, fx));
    corners[FAR_TOP_RIGHT] = Vector3Add(fc, Vector3Add(fy, fx));
    corners[FAR_BOTTOM_LEFT] = Vector3Subtract(fc, Vector3Add(fy, fx));
    corners[FAR_BOTTOM_RIGHT] = Vector3Subtract(fc, Vector3Subtract(fy, fx));

    // Three corners per plane, wound so that every normal points inward.
    const Vector3 *c = corners;
    planes[FRUSTUM_PLANE_TOP] = PlaneThrough(c[NEAR_TOP_RIGHT], c[NEAR_TOP_LEFT], c[FAR_TOP_LEFT]);
    planes[FRUSTUM_PLANE_BOTTOM] = PlaneThrough(c[NEAR_BOTTOM_LEFT], c[NEAR_BOTTOM_RIGHT], c[FAR_BOTTOM_RIGHT]);
    planes[FRUSTUM_PLANE_LEFT] = PlaneThrough(c[NEAR_TOP_LEFT], c[NEAR_BOTTOM_LEFT], c[FAR_BOTTOM_LEFT]);
    planes[FRUSTUM_PLANE_RIGHT] = PlaneThrough(c[NEAR_BOTTOM_RIGHT], c[NEAR_TOP_RIGHT], c[FAR_BOTTOM_RIGHT]);
    planes[FRUSTUM_PLANE_NEAR] = PlaneThrough(c[NEAR_TOP_LEFT], c[NEAR_TOP_RIGHT], c[NEAR_BOTTOM_RIGHT]);
    planes[FRUSTUM_PLANE_FAR] = PlaneThrough(c[FAR_TOP_RIGHT], c[FAR_TOP_LEFT], c[FAR_BOTTOM_LEFT]);
}

static float AxisOf(Vector3 v, int axis)
{
    return (axis == 0) ? v.x : (axis == 1) ? v.y : v.z;
}

bool FRUSTUM_T::BoxVisible(Vector3 min, Vector3 max) const
{
    // A box is out when all eight of its corners lie behind one plane. A corner that is in
    // front (or evaluates to NaN) keeps the plane from excluding it, so stop at the first.
    for (int i = 0; i < 6; i++)
    {
        const Vector4 pl = planes[i];
        bool all_behind = true;
        for (int k = 0; k < 8 && all_behind; k++)
        {
            const float cx = (k & 1) ? max.x : min.x;
            const float cy = (k & 2) ? max.y : min.y;
            const float cz = (k & 4) ? max.z : min.z;
            if (!(pl.x * cx + pl.y * cy + pl.z * cz + pl.w < 0.0f)) all_behind = false;
        }
        if (all_behind) return false;
    }

    // Planes alone pass boxes beyond the frustum's corners (near an edge); the frustum's
    // own extent per axis rules those out where it can.
    for (int axis = 0; axis < 3; axis++)
    {
        const float lo = AxisOf(min, axis);
        const float hi = AxisOf(max, axis);
        bool all_above = true;
        bool all_below = true;
        for (int k = 0; k < 8; k++)
        {
            const float v = AxisOf(corners[k], axis);
            if (!(v > hi)) all_above = false;
            if (!(v < lo)) all_below = false;
        }
        if (all_above || all_below) return false;
    }
    return true;
}

bool FRUSTUM_T::BoxInside(Vector3 min, Vector3 max, float margin) const
{
    for (int i = 0; i < 6; i++)
    {
        const Vector4 pl = planes[i];
        for (int k = 0; k < 8; k++)
        {
            const float cx = (k & 1) ? max.x : min.x;
            const float cy = (k & 2) ? max.y : min.y;
            const float cz = (k & 4) ? max.z : min.z;
            if (!(pl.x * cx + pl.y * cy + pl.z * cz + pl.w > margin)) return false;
        }
    }
    // Inside the planes is inside the corners' extent too, except for a frustum that has no
    // corners yet (the neutral one), which BoxVisible holds to its corners.
    for (int axis = 0; axis < 3; axis++)
    {
        float lo = AxisOf(corners[0], axis);
        float hi = lo;
        for (int k = 1; k < 8; k++)
        {
            lo = fminf(lo, AxisOf(corners[k], axis));
            hi = fmaxf(hi, AxisOf(corners[k], axis));
        }
        if (!(AxisOf(min, axis) > lo + margin && AxisOf(max, axis) < hi - margin)) return false;
    }
    return true;
}
