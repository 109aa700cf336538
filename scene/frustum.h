// The view frustum: six planes and eight corners built from the camera, and a conservative
// visibility test for axis-aligned boxes. The octree's drawing uses it to skip whole cells
// that the camera cannot see.
#pragma once

#include "scene/vector_math.h"

// Plane and corner order, as the fields below hold them.
enum FRUSTUM_PLANE
{
    FRUSTUM_PLANE_TOP = 0,
    FRUSTUM_PLANE_BOTTOM,
    FRUSTUM_PLANE_LEFT,
    FRUSTUM_PLANE_RIGHT,
    FRUSTUM_PLANE_NEAR,
    FRUSTUM_PLANE_FAR,
};

enum FRUSTUM_CORNER
{
    NEAR_TOP_LEFT = 0,
    NEAR_TOP_RIGHT,
    NEAR_BOTTOM_LEFT,
    NEAR_BOTTOM_RIGHT,
    FAR_TOP_LEFT,
    FAR_TOP_RIGHT,
    FAR_BOTTOM_LEFT,
    FAR_BOTTOM_RIGHT,
};

constexpr Color FRUSTUM_OUTLINE_COLOR = Color{190, 33, 55, 255};

// Beyond the rounding of the planes (world units): a node of a tree is passed over or taken
// whole only when it is this far out or in, so that the leaves within it are exactly those the
// leaf by leaf test keeps.
constexpr float FRUSTUM_ROUNDING_MARGIN = 0.01f;

class FRUSTUM_T
{
  public:
    // Neutral: every plane (0, 0, 0, 1) and every corner at the origin, so before the first
    // Update no plane rejects anything and only boxes around the origin pass the corner test.
    FRUSTUM_T();

    // angle: full vertical opening in degrees; ratio: width / height; near and far: distances
    // of the two rectangles from the apex, in world units.
    void SetInternals(float angle, float ratio, float near, float far);
    // Rebuilds corners and planes from the camera's view matrix; the apex is the camera's
    // position. Call after SetInternals.
    void Update(Camera3D camera);
    // False only when the box is certainly outside; boxes just beyond an edge may pass.
    bool BoxVisible(Vector3 min, Vector3 max) const;
    // True only when every corner of the box lies at least margin (world units) in front of
    // every plane, so that anything within the box passes BoxVisible despite rounding.
    bool BoxInside(Vector3 min, Vector3 max, float margin) const;
    // Every pair of corners joined, in the current 3-D pass (frustum_draw.cpp).
    void Draw(void) const;

    Vector4 planes[6];      // (a, b, c, d), unit normal pointing inward
    Vector3 corners[8];
    float near_half_height;
    float near_half_width;
    float far_half_height;
    float far_half_width;
    float far_distance;
    float near_distance;
    float ratio;
    float angle;            // degrees
};
