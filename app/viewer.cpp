// The frame's steps and the state they share. Kept apart from main.cpp so that the loop
// there reads as a plain raylib example.
#include "app/viewer.h"

#include <cmath>

#include "app/gui.h"
#include "app/heads_up.h"
#include "files/user_folders.h"
#include "galaxy/galaxy_code.h"
#include "galaxy/system_colors.h"
#include "random/random.h"

#if defined(__EMSCRIPTEN__)
#include "web/page_bridge.h"
#endif
#include "rlgl.h"

// The scene's fixed set-up.
constexpr float TEST_OCTREE_EDGE = 512.0f; // world units, centred on the origin
constexpr int32_t TEST_OCTREE_CAPACITY = 64;
// Each frame gives this much time to colouring stars from their systems: a million stars take
// about 20 frames.
constexpr double STAR_COLOR_BUDGET_MS = 8.0;
constexpr Color GALAXY_TREE_COLOR = Color{255, 255, 255, 16}; // faint cells, opaque stars

VIEWER_T CreateViewer(void)
{
    VIEWER_T viewer = {};
    viewer.camera = MakeViewerStartView();
    viewer.camera_control = MakeCameraControl(viewer.camera);
    viewer.menu_state = STATE_MAIN_MENU;

    // The two readings bracket the creation of the scene, so the first heads-up line
    // tells how long building it took.
    const double start = ClockSeconds();
    viewer.galaxy = new GALAXY(VIEWER_GALAXY_EXTENT);
    viewer.builder = new GALAXY_BUILDER_T(VIEWER_GALAXY_EXTENT);
    viewer.generator_panel.builder = viewer.builder;
    const Vector3 test_size = Vector3{TEST_OCTREE_EDGE, TEST_OCTREE_EDGE, TEST_OCTREE_EDGE};
    viewer.test_octree = new OCTREE_T(CUBOID(Vector3{0.0f, 0.0f, 0.0f}, test_size), TEST_OCTREE_CAPACITY);
    viewer.build_time = ClockSeconds() - start;

    viewer.view_frustum = MakeViewerFrustum(viewer.camera);
    viewer.file_actions = MakeFileActions();
    viewer.search.reset(new STAR_SEARCH_T());
    viewer.main_menu.saved.path = UserDataFolder() + "/galaxies.txt";
    return viewer;
}

void ApplyViewerOptions(VIEWER_T *viewer, const VIEWER_OPTIONS_T &options)
{
    if (options.link_given) viewer->pending_star = (int64_t)options.link_star;
    viewer->pending_visit = options.link_given && options.visit_star;
    viewer->debug_flag = options.debug;
    viewer->unbatched = options.unbatched;
    if (options.shape_given || options.start_in_view || options.profile_frames > 0)
    {
        OpenGalaxyInPanel(&viewer->generator_panel, options.shape);
        viewer->menu_state = STATE_GENERATOR;
    }
    if (options.start_in_view || options.profile_frames > 0)
    {
        // The view has no panel to generate it, so the galaxy is made here, as the panel would.
        GenerateGalaxy(viewer->galaxy, options.shape);
        viewer->generator_panel.dirty = 0;
        viewer->menu_state = STATE_VIEW;
    }
}

// Released before the window closes: the galaxy's texture lives in the GL context.
void DestroyViewer(VIEWER_T *viewer)
{
    viewer->search.reset(); // waits for names still being indexed
    delete viewer->builder; // waits for a generation still running
    viewer->builder = nullptr;
    viewer->generator_panel.builder = nullptr;
    delete viewer->galaxy;
    viewer->galaxy = nullptr;
    UnloadGalaxyLook(&viewer->look);
    if (viewer->backdrop.texture.id != 0) UnloadRenderTexture(viewer->backdrop.texture);
    viewer->backdrop = VIEWER_T::BACKDROP_T{};
    ReleaseSystemCardPicture(&viewer->system_card);
    if (viewer->test_octree != nullptr)
    {
        viewer->test_octree->Destroy(); // releases the test points too
        delete viewer->test_octree;
        viewer->test_octree = nullptr;
    }
}

// One random point a frame, each coordinate 128 - 256 u in (-128, 128], drawn z, y, x.
void FeedRolledTestPoint(VIEWER_T *viewer)
{
    if (viewer->test_points_held >= TEST_OCTREE_MAX_POINTS)
    {
        viewer->test_octree->Clear(); // releases the points it holds
        viewer->test_points_held = 0;
    }
    const double z = 128.0 - 256.0 * RandomUnit();
    const double y = 128.0 - 256.0 * RandomUnit();
    const double x = 128.0 - 256.0 * RandomUnit();
    IOBJECT_T *point = new IOBJECT_T(Vector3{(float)x, (float)y, (float)z}, Vector3{1.0f, 1.0f, 1.0f});
    // Always inside the tree's box; were it not, the tree would leave it to us.
    if (ContainsPoint(viewer->test_octree->box, point->position))
    {
        viewer->test_octree->Insert(point);
        viewer->test_points_held += 1;
    }
    else
    {
        delete point;
    }
    viewer->points_inserted += 1;
}

// The generator panel's right edge while it shows beside the scene, 0 when it does not.
static float PanelRight(const VIEWER_T *viewer)
{
    const bool panel =
        viewer->menu_state == STATE_GENERATOR || (viewer->menu_state == STATE_VIEW && viewer->panel_in_view);
    return panel ? GENERATOR_PANEL_BOUNDS.x + GENERATOR_PANEL_BOUNDS.width : 0.0f;
}

// The heads-up block and the DEBUG button, placed together. Beside the panel the button moves
// right of it and the block keeps clear of the button, in a smaller font if it must; in a
// window too narrow for both side by side, the button goes under the block's bands (the
// timings' and the progress line's places kept free whether they show or not).
struct VIEW_CORNER_T
{
    HUD_LAYOUT_T heads_up;
    Rectangle debug_button;
};

static VIEW_CORNER_T ViewCorner(const VIEWER_T *viewer)
{
    const int width = GetScreenWidth(), height = GetScreenHeight();
    VIEW_CORNER_T corner = {HeadsUpLayout(width, height, PanelRight(viewer)), DEBUG_BUTTON_BOUNDS};
    if (!viewer->panel_in_view) return corner;
    corner.debug_button.x = GENERATOR_PANEL_BOUNDS.x + GENERATOR_PANEL_BOUNDS.width + 20.0f;
    const float beside = corner.debug_button.x + corner.debug_button.width;
    const HUD_LAYOUT_T narrower = HeadsUpLayout(width, height, beside);
    if (narrower.band.x >= beside + (float)HUD_MARGIN)
    {
        corner.heads_up = narrower;
        return corner;
    }
    const Rectangle timings = HeadsUpTimingsBand(corner.heads_up);
    corner.debug_button.y = timings.y + timings.height + (float)(corner.heads_up.line_height + 8 + 4 + HUD_MARGIN);
    return corner;
}

Rectangle DebugButtonBounds(const VIEWER_T *viewer)
{
    return ViewCorner(viewer).debug_button;
}

// The right edge of the part of the window the card leaves free.
static float FreeRight(const VIEWER_T *viewer)
{
    if (!SystemCardOpen(viewer->system_card)) return (float)GetScreenWidth();
    return SystemCardBounds(GetScreenWidth(), GetScreenHeight()).x;
}

// Whether the pointer is over the scene rather than over a screen's controls: only the view
// and the generator panel leave room for the camera, and never under the panel, the DEBUG
// button or the heads-up block.
static bool PointerOnScene(const VIEWER_T *viewer, Vector2 mouse)
{
    if (viewer->menu_state != STATE_VIEW && viewer->menu_state != STATE_GENERATOR) return false;
    if (SystemCardOpen(viewer->system_card) &&
        CheckCollisionPointRec(mouse, SystemCardBounds(GetScreenWidth(), GetScreenHeight())))
        return false;
    if (viewer->search != nullptr && viewer->search->open &&
        CheckCollisionPointRec(mouse, StarSearchBounds(GetScreenWidth(), (int)viewer->search->hits.size())))
        return false;
    if (SystemViewShown(viewer->system_view) &&
        CheckCollisionPointRec(mouse, SystemViewBarLayout(GetScreenWidth(), GetScreenHeight(), FreeRight(viewer)).bar))
        return false;
    const bool panel = viewer->menu_state == STATE_GENERATOR || viewer->panel_in_view;
    if (panel && CheckCollisionPointRec(mouse, PanelShownBounds(GENERATOR_PANEL_BOUNDS, GetScreenHeight()))) return false;
    if (viewer->menu_state == STATE_VIEW && CheckCollisionPointRec(mouse, DebugButtonBounds(viewer))) return false;
    return !CheckCollisionPointRec(mouse, ViewCorner(viewer).heads_up.band);
}

// Ctrl+Shift+C copies the link of the star whose card is open; Ctrl+V of a link opens its
// galaxy on the panel and, once it is made, the star's card. A plain code is left to the panel.
static void ShareStarLinks(VIEWER_T *viewer, GUI_INPUT_T *input)
{
    if (input->copy_link_pressed)
    {
        if (!SystemCardOpen(viewer->system_card))
            ShowNotice(&viewer->file_actions, "Open a star's card first: Ctrl+Shift+C copies that star's link");
        else
        {
            const std::string link = EncodeStarLink(viewer->system_card.shape, viewer->system_card.system->star_index);
#if defined(__EMSCRIPTEN__)
            CopyTextToPage(link.c_str()); // raylib has no clipboard in a browser
#else
            if (IsWindowReady()) SetClipboardText(link.c_str());
#endif
            ShowNotice(&viewer->file_actions, "Star link copied: " + link);
        }
    }
    if (!input->paste_pressed || input->clipboard.find('#') == std::string::npos) return;
    input->paste_pressed = false; // the panel would refuse it as a code
    GALAXY_SHAPE_T shape = {};
    bool has_star = false;
    uint64_t star = 0;
    const char *why = "";
    if (!DecodeStarLink(input->clipboard.c_str(), &shape, &has_star, &star, &why))
    {
        ShowNotice(&viewer->file_actions, std::string("Link refused: ") + why);
        return;
    }
    OpenGalaxyInPanel(&viewer->generator_panel, shape);
    viewer->pending_star = (int64_t)star;
    viewer->pending_visit = false;
    CloseSystemCard(&viewer->system_card);
    LeaveSystemView(&viewer->system_view);
}

// Into star star's system: its card opens (or stays) and the camera glides to it; the view
// takes the whole window, without the panel.
void VisitViewerStar(VIEWER_T *viewer, uint64_t star)
{
    const STAR_FIELD_T &field = viewer->galaxy->field;
    if (star >= field.StarCount()) return;
    const Vector3 position = field.stars[star].position;
    if (!SystemCardOpen(viewer->system_card) || viewer->system_card.system->star_index != star ||
        viewer->system_card.shape != field.shape)
        OpenSystemCard(&viewer->system_card, field.shape, (uint32_t)star, position);
    EnterSystemView(&viewer->system_view, field.shape, star, position, &viewer->camera_control.orbit);
    viewer->menu_state = STATE_VIEW;
    viewer->panel_in_view = false;
}

// The card of a star a link named, once its galaxy is the one shown; a star the galaxy does
// not have is refused with a reason.
static void OpenPendingStar(VIEWER_T *viewer)
{
    const STAR_FIELD_T &field = viewer->galaxy->field;
    if (viewer->pending_star < 0 || viewer->generator_panel.dirty != 0 || viewer->builder->Busy() ||
        field.shape != viewer->generator_panel.values)
        return;
    const uint64_t star = (uint64_t)viewer->pending_star;
    const bool visit = viewer->pending_visit;
    viewer->pending_star = -1;
    viewer->pending_visit = false;
    if (star >= field.StarCount())
    {
        ShowNotice(&viewer->file_actions, "Link refused: this galaxy has no star " + std::to_string(star) + " (" +
                                              std::to_string(field.StarCount()) + " stars)");
        return;
    }
    OpenSystemCard(&viewer->system_card, field.shape, (uint32_t)star, field.stars[star].position);
    if (visit) VisitViewerStar(viewer, star);
}

// The galaxy's centre goes to the middle of the window's free part: right of the panel while
// it shows, left of the system card while it is open. It glides there as the camera glides.
static void GlideSceneShift(VIEWER_T *viewer, int width, int height, float dt)
{
    const float left = PanelRight(viewer);
    float right = (float)width;
    if (SystemCardOpen(viewer->system_card)) right = SystemCardBounds(width, height).x;
    // A window too narrow for both keeps the middle between their edges, never off the window.
    const float goal = Clamp(0.5f * (left + right), 0.0f, (float)width) - 0.5f * (float)width;
    if (!(dt > 0.0f)) dt = 0.0f;
    const float keep = expf(-ORBIT_SMOOTHING_RATE * fminf(dt, ORBIT_MAX_FRAME_TIME));
    viewer->scene_shift = goal + (viewer->scene_shift - goal) * keep;
    if (!std::isfinite(viewer->scene_shift)) viewer->scene_shift = goal;
}

// The star whose note the card kept last frame goes into the saved-galaxies file.
static void KeepBookmark(VIEWER_T *viewer)
{
    SYSTEM_CARD_T *card = &viewer->system_card;
    if (!card->bookmark_requested) return;
    card->bookmark_requested = false;
    ShowNotice(&viewer->file_actions,
               BookmarkStar(&viewer->main_menu.saved, card->shape, card->bookmark_star, card->bookmark_note));
}

void UpdateViewer(VIEWER_T *viewer, GUI_INPUT_T *input)
{
    // What the panel changed last frame is asked for first, so this frame already shows it.
    RequestPanelGalaxy(&viewer->generator_panel, viewer->galaxy);
    HelpOverlay(&viewer->help, input);
    KeepBookmark(viewer);
    const bool pointing = viewer->menu_state == STATE_VIEW || viewer->menu_state == STATE_GENERATOR;
    if (pointing) TakeSystemCardKeys(viewer->system_card, input);
    if (viewer->search != nullptr && viewer->galaxy != nullptr && pointing)
    {
        const int64_t found = UpdateStarSearch(viewer->search.get(), viewer->galaxy->field, input);
        const STAR_FIELD_T &shown = viewer->galaxy->field;
        if (found >= 0 && SystemViewShown(viewer->system_view))
            VisitViewerStar(viewer, (uint64_t)found); // from one system straight to the next
        else if (found >= 0)
        {
            OpenSystemCard(&viewer->system_card, shown.shape, (uint32_t)found, shown.stars[found].position);
            OrbitCameraCentreOn(&viewer->camera_control.orbit, shown.stars[found].position);
        }
    }
    ShareStarLinks(viewer, input);
    STAR_FIELD_T *field = (viewer->galaxy != nullptr) ? &viewer->galaxy->field : nullptr;
    UpdateFileActions(&viewer->file_actions, field, input);
    const bool in_system = SystemViewShown(viewer->system_view);
    if (viewer->menu_state == STATE_VIEW && input->tab_pressed && !in_system)
        viewer->panel_in_view = !viewer->panel_in_view;
    if (input->timings_pressed) viewer->show_timings = !viewer->show_timings;
    FeedRolledTestPoint(viewer);
    // A galaxy finished on the builder's thread replaces the one on screen here, before the
    // frame colours, counts and draws it.
    if (viewer->builder != nullptr && viewer->galaxy != nullptr && viewer->builder->Collect(viewer->galaxy))
        NoteGalaxyFailure(&viewer->generator_panel, *field);
    // DEBUG's wire boxes come with the tree: from the builder while DEBUG is on, here for a
    // galaxy made in the frame or one that was made while it was off.
    if (viewer->builder != nullptr) viewer->builder->MakeCells(viewer->debug_flag);
    if (field != nullptr && viewer->debug_flag && !viewer->unbatched &&
        (!field->cells.built || field->cells.tree_version != field->tree.version))
        BuildArrayOctreeCells(field->tree, &field->cells);
    if (field != nullptr) ColorStarsFromSystems(field, STAR_COLOR_BUDGET_MS);
    if (field != nullptr && viewer->builder != nullptr) OpenPendingStar(viewer);
    drawn_object_count = 0;
    viewer->objects_total = (field != nullptr) ? (int32_t)(uint32_t)field->star_list.Count() : 0;
    const bool cameraKeys = viewer->menu_state == STATE_VIEW ||
                            (viewer->menu_state == STATE_GENERATOR && !viewer->generator_panel.seed_edit_mode);
    if (cameraKeys && input->plain_look_pressed) viewer->plain_look = !viewer->plain_look;
    const bool onScene = PointerOnScene(viewer, input->mouse);
    GlideSceneShift(viewer, GetScreenWidth(), GetScreenHeight(), GetFrameTime());
    // Enter and Backspace are the bookmark note's while it takes typing.
    const bool note_typing = SystemCardOpen(viewer->system_card) && viewer->system_card.note_edit_mode;
    if (in_system)
    {
        const bool backspace = input->backspace_pressed;
        if (note_typing) input->backspace_pressed = false;
        UpdateSystemView(&viewer->system_view, &viewer->camera_control.orbit, &viewer->system_card, input, onScene,
                         GetFrameTime());
        if (note_typing) input->backspace_pressed = backspace;
        viewer->camera = OrbitCameraToCamera3D(viewer->camera_control.orbit);
        viewer->view_frustum.Update(viewer->camera);
        viewer->star_pointer.hover = STAR_PICK_T{};
        return;
    }
    // A double click, or Enter, on the star under the pointer goes into its system.
    const bool editing =
        note_typing || (viewer->menu_state == STATE_GENERATOR && viewer->generator_panel.seed_edit_mode);
    const STAR_PICK_T &hover = viewer->star_pointer.hover;
    if (field != nullptr && hover.found && onScene && (input->double_click || (input->enter_pressed && !editing)))
    {
        input->double_click = input->enter_pressed = false;
        VisitViewerStar(viewer, hover.star);
        return;
    }
    CAMERA_SCENE_T scene;
    scene.disc_radius = (field != nullptr) ? field->disc_radius : 0.0f;
    scene.width = GetScreenWidth();
    scene.height = GetScreenHeight();
    scene.shift_x = viewer->scene_shift;
    viewer->camera = SteerCamera(&viewer->camera_control, input, onScene, cameraKeys, GetFrameTime(), scene);
    viewer->view_frustum.Update(viewer->camera);
    UpdateStarPointer(&viewer->star_pointer, &viewer->system_card, field, ViewerPickView(viewer), input, onScene);
}

PICK_VIEW_T ViewerPickView(const VIEWER_T *viewer)
{
    return PICK_VIEW_T{viewer->camera, GetScreenWidth(), GetScreenHeight(), viewer->scene_shift};
}

void BeginSceneMode3D(const VIEWER_T *viewer)
{
    const PICK_VIEW_T view = ViewerPickView(viewer);
    rlglDraw(); // what was batched before goes out with the projection it was made for
    rlMatrixMode(RL_PROJECTION);
    rlPushMatrix(); // EndMode3D pops it back to the 2-D projection
    rlLoadIdentity();
    rlMultMatrixf(MatrixToFloat(PickViewProjection(view)));
    rlMatrixMode(RL_MODELVIEW);
    rlLoadIdentity();
    rlMultMatrixf(MatrixToFloat(MatrixLookAt(view.camera.position, view.camera.target, view.camera.up)));
    rlEnableDepthTest();
}

// With DEBUG on, the frustum's outline and every visible cell's wire box show how the scene
// is culled; with it off, only the stars remain, still culled and counted the same way.
// The way the scene was drawn before the batched buffers, kept to measure against: each
// visible cell's wire box (with DEBUG) and then its stars as opaque cubes of edge 0.5, their
// 36 vertices built on the CPU, through raylib's batch.
struct UNBATCHED_T
{
    const ARRAY_OCTREE_T *tree;
    bool cells;
};

static void DrawLeafUnbatched(const ARRAY_OCTREE_NODE_T &leaf, void *context)
{
    const UNBATCHED_T *draw = (const UNBATCHED_T *)context;
    if (draw->cells) DrawCubeWiresV(leaf.box.position, leaf.box.size, GALAXY_TREE_COLOR);
    for (uint32_t k = leaf.first; k < leaf.first + leaf.count; k++)
        DrawCube(draw->tree->draw_positions[k], 0.5f, 0.5f, 0.5f, WHITE);
}

// Whether the galaxy is shown as the backdrop picture instead of being drawn in the scene.
static bool BackdropShown(const VIEWER_T *viewer)
{
    return viewer->system_view.phase == SYSTEM_VIEW_IN && viewer->galaxy != nullptr && !viewer->backdrop.drawing;
}

void DrawScene(VIEWER_T *viewer)
{
    viewer->scene_timings = SCENE_TIMINGS_T{};
    if (BackdropShown(viewer)) return; // drawn into the backdrop when it is out of date
    if (viewer->debug_flag) viewer->view_frustum.Draw();
    GALAXY *galaxy = viewer->galaxy;
    if (galaxy == nullptr) return;
    STAR_FIELD_T *field = &galaxy->field;

    const double start = ClockSeconds();
    // The soft look: fewer, brighter points where stars crowd on screen; its walk counts the
    // same visible stars without listing every leaf. DEBUG and the plain look draw every star,
    // except that DEBUG thins a galaxy above GALAXY_DEBUG_DETAIL_STARS the same way.
    const bool soft = !viewer->debug_flag && !viewer->plain_look && !viewer->unbatched;
    const bool detail = field->tree.draw_order.size() > GALAXY_DEBUG_DETAIL_STARS;
    const bool sampled = viewer->debug_flag && detail && !viewer->unbatched;
    if (soft || sampled)
    {
        const LOD_VIEW_T view = {viewer->camera.position, ScreenPixelsPerUnit(), GALAXY_LOOK_APART_PIXELS};
        CountDrawnObjects(SelectGalaxyLook(field, viewer->view_frustum, view, &viewer->look));
    }
    else
        CountDrawnObjects(CollectVisibleRanges(field->tree, viewer->view_frustum, &viewer->visible));
    if (viewer->debug_flag && !viewer->unbatched)
    {
        const LOD_VIEW_T cell_view = {viewer->camera.position, ScreenPixelsPerUnit(),
                                      GALAXY_DEBUG_CELL_APART_PIXELS};
        CollectCellLineRanges(field->tree, field->cells, viewer->view_frustum, &viewer->cell_lines,
                              detail ? &cell_view : nullptr);
    }
    const double culled = ClockSeconds();
    if (soft)
        DrawGalaxyLook(*field, &galaxy->tree_gpu, viewer->camera, &viewer->look);
    else if (sampled)
        DrawArrayOctreeSampled(field->tree, field->lod, viewer->look.selection, &galaxy->tree_gpu,
                               GALAXY_TREE_COLOR, &field->cells, &viewer->cell_lines);
    else if (viewer->unbatched)
    {
        UNBATCHED_T draw = {&field->tree, viewer->debug_flag};
        field->tree.VisitVisibleLeaves(viewer->view_frustum, DrawLeafUnbatched, &draw);
    }
    else
        DrawArrayOctree(field->tree, viewer->visible, &galaxy->tree_gpu, GALAXY_TREE_COLOR,
                        viewer->debug_flag ? &field->cells : nullptr, &viewer->cell_lines);
    viewer->scene_timings.cull_ms = (culled - start) * 1000.0;
    viewer->scene_timings.draw_ms = (ClockSeconds() - culled) * 1000.0;
}

static void DrawHud(const VIEWER_T *viewer)
{
    // raylib's TextFormat keeps a few buffers in turn, enough for these four lines.
    const char *const lines[HUD_LINE_COUNT] = {
        TextFormat("OCT Buildtime: %f ", viewer->build_time),
        TextFormat("Points Inserted: %u ", viewer->points_inserted),
        TextFormat("Objects Drawed: %i/%i", drawn_object_count, viewer->objects_total),
        TextFormat("%i FPS", GetFPS()),
    };
    const HUD_LAYOUT_T layout = ViewCorner(viewer).heads_up;
    DrawHeadsUp(layout, lines);
    const bool timings = (viewer->show_timings || viewer->debug_flag) && viewer->galaxy != nullptr;
    if (viewer->builder != nullptr)
    {
        const std::string progress = HeadsUpProgressText(viewer->builder->Progress());
        if (!progress.empty()) DrawHeadsUpProgress(layout, timings, progress.c_str());
    }
    if (timings)
    {
        DrawHeadsUpTimings(layout,
                           TextFormat("Generate %.2f ms, index %.2f ms", viewer->galaxy->field.generate_ms,
                                      viewer->galaxy->field.index_ms),
                           TextFormat("Cull %.2f ms, draw %.2f ms", viewer->scene_timings.cull_ms,
                                      viewer->scene_timings.draw_ms));
    }
}

// The screen for menu_state. Only the menu's own range 0 to 3 shows one; the view state
// shows none.
static void DrawScreen(VIEWER_T *viewer, GUI_INPUT_T *input)
{
    GENERATOR_PANEL_T *panel = &viewer->generator_panel;
    MAIN_MENU_T *menu = &viewer->main_menu;
    if (viewer->menu_state == STATE_VIEW && viewer->panel_in_view)
    {
        // The panel beside the view keeps working; its Start only hides it again.
        int32_t state = STATE_GENERATOR;
        GeneratorPanel(panel, GENERATOR_PANEL_BOUNDS, &state, input);
        if (state == STATE_VIEW) viewer->panel_in_view = false;
        if (panel->request != PANEL_REQUEST_NONE)
        {
            OpenMainMenuEntry(menu, panel->request == PANEL_REQUEST_SAVE ? MENU_ENTRY_SAVE : MENU_ENTRY_LOAD);
            viewer->menu_state = STATE_MAIN_MENU;
            viewer->panel_in_view = false;
        }
        return;
    }
    if (viewer->menu_state < 0 || viewer->menu_state > 3) return;

    if (viewer->menu_state == STATE_GENERATOR)
    {
        GeneratorPanel(panel, GENERATOR_PANEL_BOUNDS, &viewer->menu_state, input);
        // The panel's Save and Load buttons lead to those screens of the menu.
        if (panel->request != PANEL_REQUEST_NONE)
        {
            OpenMainMenuEntry(menu, panel->request == PANEL_REQUEST_SAVE ? MENU_ENTRY_SAVE : MENU_ENTRY_LOAD);
            viewer->menu_state = STATE_MAIN_MENU;
        }
    }
    else
    {
        // Save stores what the panel shows; a galaxy picked in Load opens on the panel.
        menu->saved.current = panel->values;
        menu->saved.have_current = panel->initialised;
        MainMenu(menu, MainMenuBounds(input->screen_height), &viewer->menu_state, input);
        if (menu->saved.open_requested)
        {
            OpenGalaxyInPanel(panel, menu->saved.open_shape);
            menu->saved.open_requested = false;
            // A bookmark opens its star's card once the galaxy is made, as a star link does.
            if (menu->saved.open_star >= 0)
            {
                CloseSystemCard(&viewer->system_card);
                viewer->pending_star = menu->saved.open_star;
            }
        }
    }
}

// The card's "Visit" button, in its title bar left of Bookmark.
static Rectangle VisitButtonBounds(void)
{
    const Rectangle bookmark = SystemCardBookmarkBounds(SystemCardBounds(GetScreenWidth(), GetScreenHeight()));
    return Rectangle{bookmark.x - 6.0f - 56.0f, bookmark.y, 56.0f, bookmark.height};
}

// Close enough that no star of the backdrop would move by a visible amount: the camera's
// smoothing keeps creeping toward its goal by ever smaller steps.
static bool SameCamera(const Camera3D &a, const Camera3D &b)
{
    constexpr float NEAR = 1e-4f; // world units, at 2 units from the star
    return Vector3Distance(a.position, b.position) < NEAR && Vector3Distance(a.target, b.target) < NEAR &&
           a.fovy == b.fovy;
}

// The backdrop picture of the galaxy behind a system, drawn again only when the camera, the
// window, the stars, their colours or the look changed.
static void DrawBackdrop(VIEWER_T *viewer)
{
    VIEWER_T::BACKDROP_T *backdrop = &viewer->backdrop;
    const STAR_FIELD_T &field = viewer->galaxy->field;
    const int width = GetScreenWidth(), height = GetScreenHeight();
    if (backdrop->texture.id != 0 && (backdrop->texture.texture.width != width || backdrop->texture.texture.height != height))
    {
        UnloadRenderTexture(backdrop->texture);
        backdrop->texture = RenderTexture2D{};
        backdrop->valid = false;
    }
    if (backdrop->texture.id == 0)
    {
        backdrop->texture = LoadRenderTexture(width, height);
        backdrop->valid = false;
    }
    const float dim = SystemViewBackdropDim(viewer->system_view);
    const bool current = backdrop->valid && SameCamera(backdrop->camera, viewer->camera) &&
                         backdrop->tree_version == field.tree.version &&
                         backdrop->colors_version == field.colors_version && backdrop->debug == viewer->debug_flag &&
                         backdrop->plain == viewer->plain_look && backdrop->dim == dim;
    if (!current)
    {
        const int32_t counted = drawn_object_count;
        drawn_object_count = 0;
        backdrop->drawing = true;
        BeginTextureMode(backdrop->texture);
        ClearBackground(SCENE_BACKGROUND_COLOR);
        BeginSceneMode3D(viewer);
        DrawScene(viewer);
        EndMode3D();
        DimBackdrop(width, height, dim);
        EndTextureMode();
        backdrop->drawing = false;
        backdrop->objects = (uint64_t)(uint32_t)drawn_object_count;
        drawn_object_count = counted;
        backdrop->camera = viewer->camera;
        backdrop->tree_version = field.tree.version;
        backdrop->colors_version = field.colors_version;
        backdrop->debug = viewer->debug_flag;
        backdrop->plain = viewer->plain_look;
        backdrop->dim = dim;
        backdrop->valid = true;
    }
    CountDrawnObjects(backdrop->objects);
    DrawBackdropPicture(backdrop->texture.texture, width, height);
}

void DrawOverlay(VIEWER_T *viewer, GUI_INPUT_T *input)
{
    const bool backdrop = BackdropShown(viewer);
    if (backdrop) DrawBackdrop(viewer);
    DrawSystemView(viewer->system_view, GetScreenWidth(), GetScreenHeight(), !backdrop);
    if (viewer->menu_state == STATE_VIEW && ScreenButton(DebugButtonBounds(viewer), "DEBUG", input))
    {
        viewer->debug_flag = !viewer->debug_flag;
    }

    const bool pointing = viewer->menu_state == STATE_VIEW || viewer->menu_state == STATE_GENERATOR;
    const bool in_system = SystemViewShown(viewer->system_view);
    if (pointing && !in_system) DrawStarPointer(viewer->star_pointer, viewer->system_card, ViewerPickView(viewer));
    DrawHud(viewer);
    if (pointing) SystemCard(&viewer->system_card, SystemCardBounds(GetScreenWidth(), GetScreenHeight()), input);
    if (pointing && !in_system && SystemCardOpen(viewer->system_card) && viewer->galaxy != nullptr &&
        viewer->system_card.shape == viewer->galaxy->field.shape && ScreenButton(VisitButtonBounds(), "Visit", input))
        VisitViewerStar(viewer, viewer->system_card.system->star_index);
    if (in_system) SystemViewControls(&viewer->system_view, input, FreeRight(viewer));
    DrawScreen(viewer, input);
    if (pointing && viewer->search != nullptr) DrawStarSearch(*viewer->search, GetScreenWidth());
}
