// Drives the real viewer the way a person would: a private Xvfb server, the program in a
// window on it, xdotool for keys and the mouse, and screenshots read back through Xlib.
#pragma once

#include <chrono>
#include <ctime>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

#include "tests/support/temp_folder.h"

struct SCREENSHOT_T
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3, rows top to bottom

    struct PIXEL_T
    {
        uint8_t r, g, b;
    };
    PIXEL_T At(int x, int y) const;
    // Pixels of exactly this colour inside [x0, x1) x [y0, y1), clipped to the image.
    int CountColor(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b) const;
    bool SavePng(const std::string &path) const;
};

// An Xvfb on a display number the server picks itself (-displayfd), so parallel runs and a
// developer's own X server never collide. Stopped by the destructor.
class X_SERVER_T
{
  public:
    X_SERVER_T(int width = 1920, int height = 1080);
    ~X_SERVER_T();
    X_SERVER_T(const X_SERVER_T &) = delete;
    X_SERVER_T &operator=(const X_SERVER_T &) = delete;

    bool Ok() const { return pid_ > 0 && !display_.empty(); }
    const std::string &Display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

// One program started on a display, its output kept in a log file, optionally with
// LD_PRELOAD set for it alone. The destructor kills it if it is still running.
class PROCESS_T
{
  public:
    PROCESS_T(const std::string &program, const std::string &display, const std::string &log_path,
              const std::string &preload = "", const std::vector<std::string> &args = {});
    ~PROCESS_T();
    PROCESS_T(const PROCESS_T &) = delete;
    PROCESS_T &operator=(const PROCESS_T &) = delete;

    bool Started() const { return pid_ > 0; }
    bool Running();
    // Exit status, or -1 if it did not end in time (or died from a signal: -2).
    int WaitExit(std::chrono::milliseconds timeout);
    std::string Log() const;

  private:
    pid_t pid_ = -1;
    int status_ = -1;
    std::string log_path_;
    std::string preload_;
};

// A window found by its exact title, and what a person can do to it.
class X_WINDOW_T
{
  public:
    X_WINDOW_T(const std::string &display, const std::string &exact_title, std::chrono::milliseconds timeout);

    bool Found() const { return id_ != 0; }
    unsigned long Id() const { return id_; }
    std::string Title() const;
    bool Size(int *width, int *height) const;
    SCREENSHOT_T Capture() const;

    // Real input through the XTEST extension, as from a keyboard and a mouse.
    bool Key(const std::string &keysym) const;
    bool Type(const std::string &text) const;
    bool Click(int x, int y) const;
    bool Drag(int x0, int y0, int x1, int y1) const;

  private:
    bool Xdotool(const std::string &args, std::string *out = nullptr) const;

    std::string display_;
    unsigned long id_ = 0;
};

// Polls Capture() until the predicate holds or the time is up; returns the last capture.
template <typename PRED>
SCREENSHOT_T CaptureUntil(const X_WINDOW_T &window, std::chrono::milliseconds timeout, PRED pred, bool *met)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    SCREENSHOT_T shot = window.Capture();
    *met = pred(shot);
    while (!*met && std::chrono::steady_clock::now() < end)
    {
        struct timespec pause = {0, 100 * 1000 * 1000};
        nanosleep(&pause, nullptr);
        shot = window.Capture();
        *met = pred(shot);
    }
    return shot;
}

// A fresh temporary folder that stands in for the user's data and pictures folders of every
// viewer started while it lives (through XDG_DATA_HOME and XDG_PICTURES_DIR); removed with
// everything in it at the end.
class USER_FOLDERS_T
{
  public:
    USER_FOLDERS_T();
    ~USER_FOLDERS_T();
    USER_FOLDERS_T(const USER_FOLDERS_T &) = delete;
    USER_FOLDERS_T &operator=(const USER_FOLDERS_T &) = delete;

    const std::string &Path() const { return folder_.path; }

  private:
    TEMP_FOLDER_T folder_;
};

// Runs a shell command, returns its exit status and (optionally) its standard output.
int RunCommand(const std::string &command, std::string *out = nullptr);
