// The viewer's starting camera and the frustum that culls its scene: one definition for the
// window, the tests and the benchmarks, so a figure measured outside the window is measured
// from the pose the viewer really starts in.
#pragma once

#include <cstdint>

#include "scene/frustum.h"
#include "scene/vector_math.h"

// The frustum is wider than the camera's 90 degrees and keeps the window's first ratio (as a
// float) even when the window is resized.
constexpr float VIEWER_FRUSTUM_ANGLE = 170.0f; // degrees
constexpr float VIEWER_FRUSTUM_RATIO = 1366.0f / 768.0f;
constexpr float VIEWER_FRUSTUM_NEAR = 1.0f; // world units
constexpr float VIEWER_FRUSTUM_FAR = 100000.0f;

// The galaxy the viewer shows: its tree spans -256 to 256 world units on every axis. Exports
// and the command line use the same, so they hold the same stars as the window.
constexpr int32_t VIEWER_GALAXY_EXTENT = 256;

// Position (100, 120.5, 156) looking at (1, 1, 1), y up, 90 degrees, perspective.
Camera3D MakeViewerCamera(void);

// The view the viewer has always shown first. raylib's orbital mode, set up on the camera
// above, measures its angles from the camera towards the target but applies them from the
// target, and lifts the camera by the sine squared: its first frame (one orbit step of 0.01
// radians) puts the camera across the target, lower and nearer, near (-99.5, 66.1, -153.0).
// The mouse camera starts there so that the first picture is the one people know.
Camera3D MakeViewerStartView(void);

// The frustum with the viewer's set-up, updated for camera.
FRUSTUM_T MakeViewerFrustum(const Camera3D &camera);
