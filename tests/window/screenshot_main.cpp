// window_screenshot DISPLAY TITLE FILE.png [SECONDS]: waits for the window with that exact
// title on DISPLAY, then saves what it shows. scripts/run uses it when there is no display.
#include <cstdio>
#include <cstdlib>

#include "tests/window/x_session.h"

int main(int argc, char **argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: window_screenshot DISPLAY TITLE FILE.png [SECONDS]\n");
        return 2;
    }
    const int seconds = (argc > 4) ? std::atoi(argv[4]) : 30;
    const X_WINDOW_T window(argv[1], argv[2], std::chrono::seconds(seconds));
    if (!window.Found())
    {
        std::fprintf(stderr, "window_screenshot: no window titled '%s' on %s\n", argv[2], argv[1]);
        return 1;
    }
    // Give the program time to present frames, so the picture is not of a blank window.
    bool presented = false;
    const SCREENSHOT_T shot = CaptureUntil(
        window, std::chrono::seconds(seconds),
        [](const SCREENSHOT_T &s) { return s.width > 0 && s.CountColor(0, 0, s.width, s.height, 0, 0, 0) < s.width * s.height / 2; },
        &presented);
    struct timespec settle = {1, 0};
    nanosleep(&settle, nullptr);
    if (!window.Capture().SavePng(argv[3]))
    {
        std::fprintf(stderr, "window_screenshot: could not write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
