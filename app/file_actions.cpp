// Screenshots and exports from the window, written through files/ so that nothing is ever
// overwritten or left half written.
#include "app/file_actions.h"

#include <cstdio>
#include <ctime>

#include "files/atomic_write.h"
#include "files/screenshot_file.h"
#include "files/star_export.h"
#include "files/user_folders.h"
#include "galaxy/galaxy.h"
#include "random/random.h"
#include "rlgl.h"

#if defined(__EMSCRIPTEN__)
#include "web/page_bridge.h"
#endif

namespace
{
constexpr double NOTICE_SECONDS = 6.0;
constexpr int NOTICE_FONT_SIZE = 20;

void Notify(FILE_ACTIONS_T *actions, const std::string &text)
{
    actions->notice = text;
    actions->notice_until = ClockSeconds() + NOTICE_SECONDS;
}

// "galaxy-20261209-001503": sorts by time, and the unique suffix keeps two in one second apart.
std::string TimeStem(void)
{
    char stem[64] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    std::strftime(stem, sizeof stem, "galaxy-%Y%m%d-%H%M%S", &local);
    return stem;
}

// A fresh file name in folder, created empty so nobody else takes it; false with a notice if
// the folder cannot be made or written.
bool Reserve(FILE_ACTIONS_T *actions, const std::string &folder, const char *extension, std::string *path)
{
    std::string error;
    if (MakeFolders(folder.c_str(), &error) && ReserveUniquePath(folder.c_str(), TimeStem().c_str(), extension, path, &error))
        return true;
    Notify(actions, error);
    return false;
}

#if defined(__EMSCRIPTEN__)
std::string FileName(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
#endif
} // namespace

FILE_ACTIONS_T MakeFileActions(void)
{
    FILE_ACTIONS_T actions;
    actions.pictures_folder = UserPicturesFolder();
    actions.exports_folder = UserDataFolder() + "/exports";
    return actions;
}

void UpdateFileActions(FILE_ACTIONS_T *actions, const STAR_FIELD_T *field, const GUI_INPUT_T *input)
{
    if (input->screenshot_pressed) actions->screenshot_pending = true;
    if (!input->export_pressed) return;

    if (field == nullptr || field->star_list.Count() == 0)
    {
        Notify(actions, "Nothing to export yet: the galaxy has no stars");
        return;
    }
    std::string path, error;
    if (!Reserve(actions, actions->exports_folder, "csv", &path)) return;
    if (ExportStarField(*field, path.c_str(), &error))
    {
#if defined(__EMSCRIPTEN__)
        // A page has no folders of the user's: the file is handed to the browser as a download.
        Notify(actions, OfferDownload(path, "text/csv") ? "Stars exported: " + FileName(path) + " downloaded"
                                                         : "Stars exported, but the browser took no download");
#else
        Notify(actions, "Stars exported to " + path);
#endif
    }
    else
    {
        std::remove(path.c_str()); // the name reserved for it, still empty
        Notify(actions, error);
    }
}

void CaptureRequestedScreenshot(FILE_ACTIONS_T *actions)
{
    if (!actions->screenshot_pending || !IsWindowReady()) return;
#if defined(__EMSCRIPTEN__)
    // raylib's web platform never clears its resized flag; the page knows when it resized.
    const bool resized = PageResizedThisFrame();
#else
    const bool resized = IsWindowResized();
#endif
    if (resized || GetScreenWidth() < 1 || GetScreenHeight() < 1) return;
    actions->screenshot_pending = false;

    std::string path, error;
    if (!Reserve(actions, actions->pictures_folder, "png", &path)) return;
    rlglDraw(); // everything batched so far belongs in the picture
    Image image = GetScreenData();
    if (SaveImageAsPng(image, path.c_str(), &error))
    {
#if defined(__EMSCRIPTEN__)
        Notify(actions, OfferDownload(path, "image/png") ? "Screenshot " + FileName(path) + " downloaded"
                                                          : "Screenshot taken, but the browser took no download");
#else
        Notify(actions, "Screenshot saved to " + path);
#endif
    }
    else
    {
        std::remove(path.c_str()); // the name reserved for it, still empty
        Notify(actions, error);
    }
    UnloadImage(image);
}

void DrawFileNotice(const FILE_ACTIONS_T *actions)
{
    if (actions->notice.empty() || ClockSeconds() > actions->notice_until) return;
    const int height = NOTICE_FONT_SIZE + 12;
    const int top = GetScreenHeight() - height;
    DrawRectangle(0, top, GetScreenWidth(), height, Color{0, 0, 0, 200});
    DrawText(actions->notice.c_str(), 10, top + 6, NOTICE_FONT_SIZE, RAYWHITE);
}

void ShowNotice(FILE_ACTIONS_T *actions, const std::string &text)
{
    Notify(actions, text);
}
