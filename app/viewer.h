// The viewer's own state (camera, screen state, heads-up figures) and the steps of one
// frame. main.cpp strings these together in raylib's Initialization / Update / Draw /
// De-Initialization shape; the scene, the octrees and the screens hang off this record.
#pragma once

#include <cstdint>

#include "app/camera_control.h"
#include "app/command_line.h"
#include "app/file_actions.h"
#include "app/generator_panel.h"
#include "app/help_overlay.h"
#include "app/main_menu.h"
#include "app/screen_state.h"
#include "app/star_pointer.h"
#include "app/star_search.h"
#include "app/system_card.h"
#include "app/system_view.h"
#include "galaxy/galaxy.h"
#include "galaxy/galaxy_builder.h"
#include "galaxy/galaxy_look.h"
#include "octree/array_octree.h"
#include "octree/array_octree_cells.h"
#include "octree/octree.h"
#include "scene/frustum.h"
#include "scene/viewer_pose.h"
#include "scene/vector_math.h"

constexpr int SCREEN_WIDTH = 1366;
constexpr int SCREEN_HEIGHT = 768;
constexpr const char *WINDOW_TITLE = "raylib [core] and raygui test";
// Vertical sync paces the frames; 4x MSAA; the user may resize the window.
#if defined(__EMSCRIPTEN__)
// WebGL cannot switch multisampling off for the draws the desktop draws without it (the stars,
// the cell lines, the large blends), where it would cost most: a page asks for none.
constexpr unsigned int VIEWER_CONFIG_FLAGS = FLAG_VSYNC_HINT | FLAG_WINDOW_RESIZABLE;
#else
constexpr unsigned int VIEWER_CONFIG_FLAGS = FLAG_VSYNC_HINT | FLAG_MSAA_4X_HINT | FLAG_WINDOW_RESIZABLE;
#endif
// The smallest window every screen still works in: below the panel's full height the panel
// scrolls, and the main menu keeps to the bottom left.
constexpr int VIEWER_MIN_WIDTH = 640;
constexpr int VIEWER_MIN_HEIGHT = 480;

constexpr Color SCENE_BACKGROUND_COLOR = Color{16, 16, 64, 255};

// How long this frame's scene took on the main thread, milliseconds: the culled walk, then
// handing the stars (and with DEBUG the cells) to OpenGL, an upload after a regeneration
// included. The drawing itself runs on in the driver.
struct SCENE_TIMINGS_T
{
    double cull_ms = 0.0;
    double draw_ms = 0.0;
};

struct VIEWER_T
{
    Camera3D camera = {};
    int32_t menu_state = STATE_MAIN_MENU;
    double build_time = 0.0;       // seconds, measured once at start-up
    uint32_t points_inserted = 0;  // test points fed to the test octree, one per frame
    uint32_t test_points_held = 0; // points the test octree holds now (it is emptied at a bound)
    int32_t objects_total = 0;     // low 32 bits of the galaxy's star count
    bool debug_flag = true;        // flipped by the DEBUG button of the view state
    GALAXY *galaxy = nullptr;      // the scene; the generator panel fills it
    GALAXY_BUILDER_T *builder = nullptr; // makes galaxies too large for a frame; swapped in by UpdateViewer
    OCTREE_T *test_octree = nullptr; // fed one random point a frame; neither drawn nor queried
    FRUSTUM_T view_frustum;        // rebuilt from the camera every frame; culls the galaxy's cells
    ARRAY_OCTREE_RANGES_T visible; // what the frustum leaves of the galaxy this frame
    CELL_LINE_RANGES_T cell_lines; // with DEBUG, the lines of the visible cells' wire boxes
    SCENE_TIMINGS_T scene_timings; // this frame's DrawScene
    MAIN_MENU_T main_menu = {};    // the screens' records, kept across frames
    GENERATOR_PANEL_T generator_panel = {};
    FILE_ACTIONS_T file_actions;   // F12 and Ctrl+E, and what they last said
    HELP_OVERLAY_T help;           // F1
    CAMERA_CONTROL_T camera_control; // the mouse camera; `camera` follows it every frame
    bool panel_in_view = false;    // Tab in the view shows the generator panel beside it
    bool show_timings = false;     // F3: the stage timings (always shown with DEBUG)
    bool unbatched = false;        // --unbatched: cell by cell, a cube per star, for comparison
    STAR_POINTER_T star_pointer;   // the star under the pointer, and clicks on stars
    SYSTEM_CARD_T system_card;     // the system of the star last clicked, while open
    bool plain_look = false;       // L: with DEBUG off, white opaque stars instead of the soft look
    GALAXY_LOOK_T look;            // the soft look's samples, selection and colours
    // A star a link named, whose card opens once its galaxy is the one shown; -1: none.
    int64_t pending_star = -1;
    std::unique_ptr<STAR_SEARCH_T> search; // Ctrl+F; its index is made on a thread of its own
    bool pending_visit = false;   // --star: the pending star's system view opens with its card
    SYSTEM_VIEW_T system_view;    // a star's system in 3-D, while shown
    // The dimmed galaxy behind a system, drawn once and shown again while nothing it shows has
    // changed: the camera holds still in a system far more often than it turns.
    struct BACKDROP_T
    {
        RenderTexture2D texture = {};
        Camera3D camera = {};
        uint32_t tree_version = 0;
        uint32_t colors_version = 0;
        bool debug = false;
        bool plain = false;
        float dim = 0.0f;
        uint64_t objects = 0; // the stars its drawing counted
        bool valid = false;
        bool drawing = false; // DrawScene draws into it now
    } backdrop;
    // Pixels right of the window's middle at which the camera's target is drawn: it glides to the
    // middle of what the panel (left) and the system card (right) leave free. The projection
    // moves, not the camera.
    float scene_shift = 0.0f;
};

// Everything that lives for the whole run. Needs the window (and so the GL context).
VIEWER_T CreateViewer(void);
// What the command line asked for: a galaxy to open on, the view at once, DEBUG's state.
void ApplyViewerOptions(VIEWER_T *viewer, const VIEWER_OPTIONS_T &options);
void DestroyViewer(VIEWER_T *viewer);
// Into star star's system view: its card opens (or stays) and the camera glides to it.
void VisitViewerStar(VIEWER_T *viewer, uint64_t star);

// The test octree holds at most this many points (about 10 MB with its nodes): when full it is
// emptied, so "Points Inserted" goes on counting frames while the memory stays bounded.
constexpr uint32_t TEST_OCTREE_MAX_POINTS = 100000;

// One random point into the test octree, as every frame does.
void FeedRolledTestPoint(VIEWER_T *viewer);

// Frame steps before drawing: the galaxy the panel asked for, the help overlay (which may take
// the frame's input), scene bookkeeping, camera, the shortcuts.
void UpdateViewer(VIEWER_T *viewer, GUI_INPUT_T *input);

// Where the view's DEBUG button stands: its own place, or right of the panel when Tab shows it.
Rectangle DebugButtonBounds(const VIEWER_T *viewer);

// The view the window draws this frame, for picking and placing rings.
PICK_VIEW_T ViewerPickView(const VIEWER_T *viewer);

// The 3-D pass of this frame, in place of raylib's BeginMode3D(camera): the same camera and
// perspective, the picture slid by scene_shift. EndMode3D ends it.
void BeginSceneMode3D(const VIEWER_T *viewer);

// Inside BeginSceneMode3D/EndMode3D. Records its timings in scene_timings.
void DrawScene(VIEWER_T *viewer);

// After EndMode3D, in this order: the view state's DEBUG button, the heads-up text, and the
// screen for menu_state, all deciding from this frame's input. Later items cover earlier ones
// where they overlap.
void DrawOverlay(VIEWER_T *viewer, GUI_INPUT_T *input);
