// The frame's steps and the state they share. Kept apart from main.cpp so that the loop
// there reads as a plain raylib example.
#include "app/viewer.h"

#include "app/gui.h"
#include "random/random.h"

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

VIEWER_T CreateViewer(void)
{
    VIEWER_T viewer = {};
    viewer.camera = MakeViewerCamera();
    SetCameraMode(viewer.camera, CAMERA_ORBITAL);
    viewer.menu_state = STATE_MAIN_MENU;

    // The two readings bracket the creation of the scene, so the first heads-up line
    // tells how long building it took.
    const double start = ClockSeconds();
    viewer.build_time = ClockSeconds() - start;
    return viewer;
}

void DestroyViewer(VIEWER_T *viewer)
{
    (void)viewer;
}

void UpdateViewer(VIEWER_T *viewer)
{
    viewer->drawn_objects = 0;
    UpdateCamera(&viewer->camera);
}

void DrawScene(const VIEWER_T *viewer)
{
    (void)viewer;
}

static void DrawHud(const VIEWER_T *viewer)
{
    DrawText(TextFormat("OCT Buildtime: %f ", viewer->build_time), 40, 40, HUD_FONT_SIZE, HUD_COLOR);
    DrawText(TextFormat("Points Inserted: %u ", viewer->points_inserted), 40, 60, HUD_FONT_SIZE, HUD_COLOR);
    DrawText(TextFormat("Objects Drawed: %i/%i", viewer->drawn_objects, viewer->objects_total), 1000, 300,
             HUD_FONT_SIZE, HUD_COLOR);
}

void DrawOverlay(VIEWER_T *viewer)
{
    if (viewer->menu_state == STATE_VIEW && GuiButton(Rectangle{10.0f, 10.0f, 100.0f, 40.0f}, "DEBUG"))
    {
        viewer->debug_flag = !viewer->debug_flag;
    }

    DrawHud(viewer);
}
