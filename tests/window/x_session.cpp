// Xvfb, process and window handling for the window tests. Xlib reads the pixels; xdotool,
// through XTEST, sends input exactly as real devices would.
#include "tests/window/x_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include "external/stb_image_write.h"
#pragma GCC diagnostic pop

using namespace std::chrono_literals;

// ---------------------------------------------------------------------------------------
SCREENSHOT_T::PIXEL_T SCREENSHOT_T::At(int x, int y) const
{
    const size_t i = ((size_t)y * (size_t)width + (size_t)x) * 3;
    return PIXEL_T{rgb[i], rgb[i + 1], rgb[i + 2]};
}

int SCREENSHOT_T::CountColor(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b) const
{
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); y++)
        for (int x = std::max(0, x0); x < std::min(width, x1); x++)
        {
            const PIXEL_T p = At(x, y);
            if (p.r == r && p.g == g && p.b == b) count++;
        }
    return count;
}

bool SCREENSHOT_T::SavePng(const std::string &path) const
{
    if (width <= 0 || height <= 0) return false;
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

// ---------------------------------------------------------------------------------------
int RunCommand(const std::string &command, std::string *out)
{
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    std::string text;
    char buffer[512];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    const int status = pclose(pipe);
    if (out != nullptr) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

static void Sleep(std::chrono::milliseconds ms)
{
    std::this_thread::sleep_for(ms);
}

// ---------------------------------------------------------------------------------------
X_SERVER_T::X_SERVER_T(int width, int height)
{
    int fds[2] = {-1, -1};
    if (pipe(fds) != 0) return;

    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    pid_ = fork();
    if (pid_ == 0)
    {
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
        {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", (char *)nullptr);
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0)
    {
        close(fds[0]);
        return;
    }

    // Xvfb writes its display number once it accepts connections.
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
}

X_SERVER_T::~X_SERVER_T()
{
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; i++) Sleep(100ms);
    if (waitpid(pid_, &status, WNOHANG) == 0)
    {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
}

// ---------------------------------------------------------------------------------------
PROCESS_T::PROCESS_T(const std::string &program, const std::string &display, const std::string &log_path,
                     const std::string &preload, const std::vector<std::string> &args)
    : log_path_(log_path), preload_(preload)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0)
    {
        const int log = open(log_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0)
        {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        setenv("DISPLAY", display.c_str(), 1);
        // Sanitizer builds pin the GL driver in the program (see tests/CMakeLists.txt).
        if (preload_[0] != '\0') setenv("LD_PRELOAD", preload_.c_str(), 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

PROCESS_T::~PROCESS_T()
{
    if (Running())
    {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool PROCESS_T::Running()
{
    if (pid_ <= 0 || status_ != -1) return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    status_ = (r == pid_ && WIFEXITED(status)) ? WEXITSTATUS(status) : -2;
    return false;
}

int PROCESS_T::WaitExit(std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (Running() && std::chrono::steady_clock::now() < end) Sleep(50ms);
    return Running() ? -1 : status_;
}

std::string PROCESS_T::Log() const
{
    std::ifstream in(log_path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// ---------------------------------------------------------------------------------------
// xdotool matches --name as a regular expression, so the title is escaped and anchored.
static std::string ExactTitlePattern(const std::string &title)
{
    std::string pattern = "^";
    for (char c : title)
    {
        if (std::strchr("\\^$.|?*+()[]{}", c) != nullptr) pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

static std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
    {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

X_WINDOW_T::X_WINDOW_T(const std::string &display, const std::string &exact_title,
                       std::chrono::milliseconds timeout)
    : display_(display)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    const std::string args = "search --onlyvisible --name " + ShellQuote(ExactTitlePattern(exact_title));
    while (std::chrono::steady_clock::now() < end)
    {
        std::string out;
        if (Xdotool(args, &out))
        {
            id_ = std::strtoul(out.c_str(), nullptr, 10);
            if (id_ != 0) return;
        }
        Sleep(200ms);
    }
}

bool X_WINDOW_T::Xdotool(const std::string &args, std::string *out) const
{
    const std::string command = "DISPLAY=" + display_ + " xdotool " + args + " 2>/dev/null";
    return RunCommand(command, out) == 0;
}

std::string X_WINDOW_T::Title() const
{
    std::string out;
    if (!Xdotool("getwindowname " + std::to_string(id_), &out)) return "";
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

bool X_WINDOW_T::Size(int *width, int *height) const
{
    Display *dpy = XOpenDisplay(display_.c_str());
    if (dpy == nullptr) return false;
    XWindowAttributes attributes = {};
    const bool ok = XGetWindowAttributes(dpy, (Window)id_, &attributes) != 0;
    XCloseDisplay(dpy);
    if (!ok) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

USER_FOLDERS_T::USER_FOLDERS_T()
{
    setenv("XDG_DATA_HOME", folder_.Path("data").c_str(), 1);
    setenv("XDG_PICTURES_DIR", folder_.Path("pictures").c_str(), 1);
}

USER_FOLDERS_T::~USER_FOLDERS_T()
{
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_PICTURES_DIR");
}

// Xlib's default handler ends the process on any error; a capture of a window partly off the
// screen (BadMatch) must only come back empty.
static int IgnoreXError(Display *, XErrorEvent *)
{
    return 0;
}

SCREENSHOT_T X_WINDOW_T::Capture() const
{
    SCREENSHOT_T shot;
    Display *dpy = XOpenDisplay(display_.c_str());
    if (dpy == nullptr) return shot;
    XSetErrorHandler(IgnoreXError);
    XWindowAttributes attributes = {};
    if (XGetWindowAttributes(dpy, (Window)id_, &attributes) != 0)
    {
        XImage *image = XGetImage(dpy, (Window)id_, 0, 0, (unsigned)attributes.width,
                                  (unsigned)attributes.height, AllPlanes, ZPixmap);
        if (image != nullptr)
        {
            shot.width = attributes.width;
            shot.height = attributes.height;
            shot.rgb.resize((size_t)shot.width * (size_t)shot.height * 3);
            for (int y = 0; y < shot.height; y++)
                for (int x = 0; x < shot.width; x++)
                {
                    const unsigned long p = XGetPixel(image, x, y);
                    uint8_t *out = &shot.rgb[((size_t)y * (size_t)shot.width + (size_t)x) * 3];
                    out[0] = (uint8_t)((p & image->red_mask) >> 16);
                    out[1] = (uint8_t)((p & image->green_mask) >> 8);
                    out[2] = (uint8_t)(p & image->blue_mask);
                }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(dpy);
    return shot;
}

bool X_WINDOW_T::Key(const std::string &keysym) const
{
    const std::string id = std::to_string(id_);
    return Xdotool("windowfocus --sync " + id) && Xdotool("key --delay 50 " + ShellQuote(keysym));
}

bool X_WINDOW_T::Type(const std::string &text) const
{
    const std::string id = std::to_string(id_);
    return Xdotool("windowfocus --sync " + id) && Xdotool("type --delay 80 " + ShellQuote(text));
}

bool X_WINDOW_T::Click(int x, int y) const
{
    const std::string id = std::to_string(id_);
    return Xdotool("mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y)) &&
           Xdotool("sleep 0.1 mousedown 1 sleep 0.15 mouseup 1");
}

bool X_WINDOW_T::Drag(int x0, int y0, int x1, int y1) const
{
    const std::string id = std::to_string(id_);
    if (!Xdotool("mousemove --window " + id + " " + std::to_string(x0) + " " + std::to_string(y0)) ||
        !Xdotool("sleep 0.1 mousedown 1 sleep 0.1"))
        return false;
    // Several steps, a frame or more apart, so the program sees the pointer travel.
    const int steps = 8;
    for (int i = 1; i <= steps; i++)
    {
        const int x = x0 + (x1 - x0) * i / steps;
        const int y = y0 + (y1 - y0) * i / steps;
        if (!Xdotool("mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y) +
                     " sleep 0.05"))
            return false;
    }
    return Xdotool("sleep 0.1 mouseup 1");
}
