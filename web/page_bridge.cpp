// What the app's own files ask of the page, knowing nothing of the viewer: downloads, the
// clipboard, and whether the canvas was resized. Built into the web page only.
#include "web/page_bridge.h"

#include <cstdio>
#include <cstdlib>
#include <emscripten.h>

namespace
{
bool resized = false; // this frame
} // namespace

// A string from JavaScript: malloc'ed by it, freed here.
std::string TakeJsString(char *text)
{
    if (text == nullptr) return "";
    std::string out = text;
    std::free(text);
    return out;
}

EM_JS(int, JsOfferDownload, (const char *path, const char *name, const char *type), {
    var data;
    try { data = FS.readFile(UTF8ToString(path)); } catch (e) { return 0; }
    var url = URL.createObjectURL(new Blob([data], {type: UTF8ToString(type)}));
    var link = document.createElement("a");
    link.href = url;
    link.download = UTF8ToString(name);
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(url); }, 60000);
    return 1;
});

EM_JS(void, JsCopyText, (const char *text), {
    var value = UTF8ToString(text);
    Module.pageClipboard = value;
    if (navigator.clipboard && navigator.clipboard.writeText) navigator.clipboard.writeText(value).catch(function() { });
});

EM_JS(char *, JsPastedText, (), {
    var text = Module.pastedText !== undefined ? Module.pastedText : (Module.pageClipboard || "");
    Module.pastedText = undefined;
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
});

void NotePageResized(bool changed)
{
    resized = changed;
}

bool PageResizedThisFrame(void)
{
    return resized;
}

bool OfferDownload(const std::string &path, const char *mime_type)
{
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const bool offered = JsOfferDownload(path.c_str(), name.c_str(), mime_type) != 0;
    std::remove(path.c_str()); // the browser has its own copy; the page's memory is not a disk
    return offered;
}

void CopyTextToPage(const char *text)
{
    JsCopyText(text);
}

std::string PastedPageText(void)
{
    return TakeJsString(JsPastedText());
}
