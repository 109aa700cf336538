// galaxy_viewer: opens the window, builds the scene and runs the one frame loop until the
// window closes (Escape or the close button) or a screen asks to exit.
#include "app/viewer.h"
#include "random/random.h"

int main(void)
{
    // Initialization
    //--------------------------------------------------------------------------------------
    RandomSeed(ClockSeconds()); // before anything draws from the stream
    SetConfigFlags(VIEWER_CONFIG_FLAGS);
    InitWindow(SCREEN_WIDTH, SCREEN_HEIGHT, WINDOW_TITLE);
    VIEWER_T viewer = CreateViewer();
    //--------------------------------------------------------------------------------------

    // Main loop: a frame in which a screen sets STATE_EXIT is still finished and shown
    while (!WindowShouldClose() && viewer.menu_state != STATE_EXIT)
    {
        // Update
        //----------------------------------------------------------------------------------
        GUI_INPUT_T input = ReadGuiInput(); // once a frame; every control decides from it
        UpdateViewer(&viewer);
        //----------------------------------------------------------------------------------

        // Draw
        //----------------------------------------------------------------------------------
        BeginDrawing();

            ClearBackground(SCENE_BACKGROUND_COLOR);

            BeginMode3D(viewer.camera);
                DrawScene(&viewer);
            EndMode3D();

            DrawOverlay(&viewer, &input);
            DrawFPS(10, 10);

        EndDrawing();
        //----------------------------------------------------------------------------------
    }

    // De-Initialization
    //--------------------------------------------------------------------------------------
    DestroyViewer(&viewer);
    CloseWindow();
    //--------------------------------------------------------------------------------------

    return 0;
}
