// The page's side of the viewer: small JavaScript pieces for what only a browser has (the
// address, the title, storage, downloads, the clipboard) and the C++ that decides when to use
// them. The page itself is shell.html.
#include "web/web_page.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <emscripten.h>
#include <sys/stat.h>

#include "app/file_actions.h"
#include "app/viewer.h"
#include "files/atomic_write.h"
#include "files/user_folders.h"
#include "galaxy/galaxy_code.h"

namespace
{
// The saved galaxies file, whole, under this key of the page's local storage.
const char *const STORAGE_KEY = "galaxy_viewer/galaxies.txt";

// What the page last showed and stored, so that it changes only when the galaxy does.
struct PAGE_T
{
    std::string shown_code;
    uint64_t shown_stars = UINT64_MAX;
    std::string saved_path;
    struct stat saved_stat = {};
    bool saved_known = false;
} page;
} // namespace


// The fragment without its '#', decoded; what a hashchange left, and whether one happened.
EM_JS(char *, JsPageFragment, (), {
    var text = location.hash.length > 1 ? location.hash.substring(1) : "";
    try { text = decodeURIComponent(text); } catch (e) { }
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
});

EM_JS(int, JsFragmentEdited, (), {
    var edited = !!Module.fragmentEdited;
    Module.fragmentEdited = false;
    return edited ? 1 : 0;
});

EM_JS(char *, JsPageQuery, (), {
    var text = location.search;
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
});

// replaceState, not a new history entry per slider step; it fires no hashchange either.
EM_JS(void, JsShowGalaxy, (const char *code, double stars), {
    var text = UTF8ToString(code);
    history.replaceState(null, "", "#" + text);
    document.title = text + " \u00b7 galaxy viewer";
    var output = document.getElementById("star-count");
    if (output) output.value = String(stars);
    if (Module.firstGalaxyMs === undefined)
    {
        // From the start of the page's navigation: what a visitor waits for.
        Module.firstGalaxyMs = performance.now();
        console.log("first galaxy shown " + Math.round(Module.firstGalaxyMs) + " ms after the page was opened");
    }
});

EM_JS(void, JsShowNotice, (const char *text), {
    var notice = document.getElementById("notice");
    if (!notice) return;
    notice.textContent = UTF8ToString(text);
    notice.hidden = notice.textContent.length == 0;
});

EM_JS(int, JsWindowWidth, (), { return window.innerWidth; });
EM_JS(int, JsWindowHeight, (), { return window.innerHeight; });
EM_JS(int, JsScreenWidth, (), { return screen.width; });
EM_JS(int, JsScreenHeight, (), { return screen.height; });

EM_JS(char *, JsStoredText, (const char *key), {
    var text = null;
    try { text = localStorage.getItem(UTF8ToString(key)); } catch (e) { }
    if (text === null) return 0;
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
});

EM_JS(int, JsStoreText, (const char *key, const char *text), {
    try { localStorage.setItem(UTF8ToString(key), UTF8ToString(text)); return 1; } catch (e) { return 0; }
});

namespace
{
// The galaxy of a fragment: a code, or a star link; false with why when neither decodes.
bool DecodeFragment(const std::string &text, VIEWER_OPTIONS_T *options, std::string *why)
{
    GALAXY_SHAPE_T shape = {};
    const char *reason = "";
    bool has_star = false;
    uint64_t star = 0;
    const bool link = text.find('#') != std::string::npos;
    const bool ok = link ? DecodeStarLink(text.c_str(), &shape, &has_star, &star, &reason)
                         : DecodeGalaxyCode(text.c_str(), &shape, &reason);
    if (!ok)
    {
        *why = reason;
        return false;
    }
    options->shape = shape;
    options->shape_given = true;
    options->link_given = link && has_star;
    options->link_star = star;
    return true;
}

// profile=N, debug=off and view from the query, as --profile, --debug and --view.
void ReadQuery(const std::string &query, VIEWER_OPTIONS_T *options)
{
    size_t at = query.empty() || query[0] != '?' ? 0 : 1;
    while (at < query.size())
    {
        size_t end = query.find('&', at);
        if (end == std::string::npos) end = query.size();
        const std::string item = query.substr(at, end - at);
        if (item.rfind("profile=", 0) == 0)
            options->profile_frames = std::max(0, std::min(100000, std::atoi(item.c_str() + 8)));
        else if (item == "debug=off")
            options->debug = false;
        else if (item == "view")
            options->start_in_view = true;
        at = end + 1;
    }
    if ((options->start_in_view || options->profile_frames > 0) && !options->shape_given)
        options->shape = DefaultCommandLineShape();
}

void NoteSavedFile(void)
{
    page.saved_known = stat(page.saved_path.c_str(), &page.saved_stat) == 0;
}

// The saved galaxies from the browser's storage, where the Save and Load screens read them.
void RestoreSavedGalaxies(void)
{
    page.saved_path = UserDataFolder() + "/galaxies.txt";
    char *stored = JsStoredText(STORAGE_KEY);
    if (stored != nullptr)
    {
        const std::string text = TakeJsString(stored);
        std::string error;
        if (!MakeFolders(FolderOf(page.saved_path).c_str(), &error) ||
            !WriteFileAtomically(page.saved_path.c_str(), text, &error))
            std::fprintf(stderr, "saved galaxies from storage: %s\n", error.c_str());
    }
    NoteSavedFile();
}

// A file written since the last look (a save, a delete, a bookmark) goes to storage whole.
void StoreChangedSavedGalaxies(void)
{
    struct stat now = {};
    const bool exists = stat(page.saved_path.c_str(), &now) == 0;
    if (!exists) return;
    if (page.saved_known && now.st_size == page.saved_stat.st_size && now.st_mtim.tv_sec == page.saved_stat.st_mtim.tv_sec &&
        now.st_mtim.tv_nsec == page.saved_stat.st_mtim.tv_nsec && now.st_ino == page.saved_stat.st_ino)
        return;
    std::string text, error;
    if (!ReadWholeFile(page.saved_path.c_str(), &text, nullptr, &error) || !JsStoreText(STORAGE_KEY, text.c_str()))
        std::fprintf(stderr, "saved galaxies to storage: %s\n", error.empty() ? "storage refused" : error.c_str());
    NoteSavedFile();
}

// The galaxy the user typed into the address, as Ctrl+V of it would open it.
void OpenEditedFragment(VIEWER_T *viewer)
{
    const std::string text = TakeJsString(JsPageFragment());
    if (text.empty() || text == page.shown_code) return;
    VIEWER_OPTIONS_T options;
    std::string why;
    if (!DecodeFragment(text, &options, &why))
    {
        options.shape = DefaultCommandLineShape();
        const std::string notice = "Code refused: " + why + "; showing the default galaxy";
        JsShowNotice(notice.c_str());
        ShowNotice(&viewer->file_actions, notice);
    }
    else
    {
        JsShowNotice("");
    }
    OpenGalaxyInPanel(&viewer->generator_panel, options.shape);
    viewer->pending_star = options.link_given ? (int64_t)options.link_star : -1;
    viewer->pending_visit = false;
    CloseSystemCard(&viewer->system_card);
    LeaveSystemView(&viewer->system_view);
    if (viewer->menu_state == STATE_MAIN_MENU) viewer->menu_state = STATE_GENERATOR;
    page.shown_code.clear(); // the address shows the code of what is made, once it is
}
} // namespace

PAGE_START_T ReadPageAddress(void)
{
    PAGE_START_T start;
    const std::string fragment = TakeJsString(JsPageFragment());
    std::string why;
    if (!fragment.empty() && !DecodeFragment(fragment, &start.options, &why))
    {
        start.refused = why;
        start.options.shape = DefaultCommandLineShape();
        start.options.shape_given = true;
    }
    ReadQuery(TakeJsString(JsPageQuery()), &start.options);
    RestoreSavedGalaxies();
    return start;
}

EM_JS(void, JsNameUntitledPage, (), { document.title = "galaxy viewer"; });

void StartPage(VIEWER_T *viewer, const PAGE_START_T &start)
{
    JsNameUntitledPage(); // emscripten's GLFW gave it the desktop window's title
    if (start.refused.empty()) return;
    const std::string notice = "Code refused: " + start.refused + "; showing the default galaxy";
    JsShowNotice(notice.c_str());
    ShowNotice(&viewer->file_actions, notice);
}

void FollowPageSize(void)
{
    NotePageResized(false);
    int width = std::max(VIEWER_MIN_WIDTH, JsWindowWidth());
    int height = std::max(VIEWER_MIN_HEIGHT, JsWindowHeight());
    if (width == GetScreenWidth() && height == GetScreenHeight()) return;
    // Emscripten's GLFW takes a window of exactly the screen's size for a request to go full
    // screen, which a page may not make unasked; a pixel less is the same picture.
    if (width == JsScreenWidth() && height == JsScreenHeight()) height -= 1;
    if (width == GetScreenWidth() && height == GetScreenHeight()) return;
    glfwSetWindowSize(glfwGetCurrentContext(), width, height);
    NotePageResized(true);
}

void SyncPage(VIEWER_T *viewer)
{
    if (JsFragmentEdited()) OpenEditedFragment(viewer);
    StoreChangedSavedGalaxies();
    if (viewer->galaxy == nullptr) return;
    const STAR_FIELD_T &field = viewer->galaxy->field;
    // Before the first galaxy (the main menu) there is nothing to name.
    if (field.StarCount() == 0 && field.failure.empty()) return;
    const std::string code = EncodeGalaxyCode(field.shape).text;
    if (code == page.shown_code && field.StarCount() == page.shown_stars) return;
    page.shown_code = code;
    page.shown_stars = field.StarCount();
    JsShowGalaxy(code.c_str(), (double)field.StarCount());
}

void EndPage(void)
{
    JsShowNotice("The viewer has ended. Reload the page to start it again.");
}
