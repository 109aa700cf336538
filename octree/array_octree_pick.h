// Picking a star under the pointer: the ray from the camera through the pointer is followed
// down the array octree, and only the cells it passes within a few pixels of are opened, so a
// pick costs microseconds however many stars the galaxy holds.
#pragma once

#include <cstdint>

#include "octree/array_octree.h"
#include "scene/vector_math.h"

// What a pick found: the star's index (as draw_order holds it), how far its centre lies from
// the pointer on screen and how far in front of the camera.
struct STAR_PICK_T
{
    bool found = false;
    uint32_t star = 0;
    float pixels = 0.0f; // screen distance to the pointer
    float depth = 0.0f;  // clip-space w: distance along the view direction, world units
};

// The view a pick sees: the camera as the window draws it (raylib's perspective, near 0.01,
// far 1000) and the window's size in pixels. shift_x moves the whole picture right by that
// many pixels (left when negative): the camera's target is drawn at (width / 2 + shift_x,
// height / 2), so the galaxy can stand in the middle of what a panel leaves free without the
// camera moving.
struct PICK_VIEW_T
{
    Camera3D camera;
    int32_t width;
    int32_t height;
    float shift_x = 0.0f;
};

// The projection matrix the window draws view with (raylib's BeginMode3D for a shift of 0),
// for the 3-D pass to load in place of raylib's own. The identity for a degenerate view.
Matrix PickViewProjection(const PICK_VIEW_T &view);

// The star of tree whose centre lies nearest the pointer on screen, within radius pixels;
// between stars equally near, the one nearer the camera. Stars behind the camera or beyond
// the far plane are never picked. Nothing is found for a degenerate view or a non-finite
// pointer.
STAR_PICK_T PickStar(const ARRAY_OCTREE_T &tree, const PICK_VIEW_T &view, Vector2 pointer, float radius);

// The ray from the camera through a pointer at screen position pointer, as the window draws
// the view: a unit direction from the camera's position. False for a degenerate view or pointer.
bool PickViewRay(const PICK_VIEW_T &view, Vector2 pointer, Ray *ray);

// Where a world point lands on screen, as the window draws it; false when it is behind the
// camera or outside the depth range.
bool ProjectToScreen(const PICK_VIEW_T &view, Vector3 point, Vector2 *screen, float *depth);
