// startup_timer: how long a program takes from exec until its window is mapped, how much memory
// it used at its peak and how much it read meanwhile.
//
//   startup_timer [-t seconds] [-n name] [-s WxH] program [args...]
//
// Starts the program and waits for the MapNotify of a top-level window whose WM_NAME is <name>
// (default "Stackle"), that is not a splash window, and, with -s, that has the given size.
// Then ends the program with SIGTERM and prints one line:
//
//   ms=<time from spawn to map> maxrss_kib=<peak resident set> read_kib=<bytes read until mapped>
//
// Works with and without a window manager: without one, top-level windows are children of the
// root window and their MapNotify arrives through the root's SubstructureNotifyMask; a
// reparenting manager maps them inside its frames, so every new top-level window is also
// watched by itself from its creation on.
// Exit status: 0 measured, 1 usage or set-up error, 2 timed out or the program ended first.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

extern char** environ;

namespace {

double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The windows looked at belong to another client and may be gone by the time they are asked
// about; such errors just mean "not the window looked for".
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

struct Options {
    double timeoutMs = 10'000;
    std::string name = "Stackle";
    int width = 0; // 0: any size
    int height = 0;
    char** command = nullptr;
};

[[noreturn]] void Usage(const char* self)
{
    std::fprintf(stderr, "usage: %s [-t seconds] [-n window-name] [-s WxH] program [args...]\n", self);
    std::exit(1);
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    int opt;
    while ((opt = getopt(argc, argv, "+t:n:s:")) != -1) {
        switch (opt) {
        case 't':
            options.timeoutMs = std::atof(optarg) * 1e3;
            if (options.timeoutMs <= 0)
                Usage(argv[0]);
            break;
        case 'n': options.name = optarg; break;
        case 's':
            if (std::sscanf(optarg, "%dx%d", &options.width, &options.height) != 2 || options.width <= 0
                || options.height <= 0)
                Usage(argv[0]);
            break;
        default: Usage(argv[0]);
        }
    }
    if (optind >= argc)
        Usage(argv[0]);
    options.command = argv + optind;
    return options;
}

class WindowMatcher {
public:
    WindowMatcher(Display* display, const Options& options)
        : display_(display)
        , options_(options)
        , windowType_(XInternAtom(display, "_NET_WM_WINDOW_TYPE", False))
        , splashType_(XInternAtom(display, "_NET_WM_WINDOW_TYPE_SPLASH", False))
    {
    }

    bool Matches(Window window) const { return HasName(window) && !IsSplash(window) && HasSize(window); }

private:
    bool HasName(Window window) const
    {
        char* name = nullptr;
        if (!XFetchName(display_, window, &name) || !name)
            return false;
        const bool same = options_.name == name;
        XFree(name);
        return same;
    }

    // A splash window shown during start-up may carry the same name as the main window.
    bool IsSplash(Window window) const
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, windowType_, 0, 64, False, XA_ATOM, &type, &format, &count, &remaining,
                               &data)
                != Success
            || !data)
            return false;
        bool splash = false;
        if (type == XA_ATOM && format == 32) {
            const auto* types = reinterpret_cast<const Atom*>(data);
            for (unsigned long i = 0; i < count; ++i)
                splash = splash || types[i] == splashType_;
        }
        XFree(data);
        return splash;
    }

    bool HasSize(Window window) const
    {
        if (options_.width == 0)
            return true;
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display_, window, &attributes) && attributes.width == options_.width
            && attributes.height == options_.height;
    }

    Display* display_;
    const Options& options_;
    Atom windowType_;
    Atom splashType_;
};

// What the program has read so far, in KiB, from every file and socket: -1 when unknown.
long ReadKib(pid_t pid)
{
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return long(value / 1024);
    return -1;
}

// Ends the program and returns its peak resident set in KiB.
long StopAndMeasure(pid_t pid)
{
    kill(pid, SIGTERM);
    rusage usage{};
    int status = 0;
    const double deadline = NowMs() + 5'000;
    while (true) {
        const pid_t ended = wait4(pid, &status, WNOHANG, &usage);
        if (ended == pid)
            break;
        if (ended < 0) {
            std::perror("startup_timer: wait4");
            return -1;
        }
        if (NowMs() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            break;
        }
        usleep(5'000);
    }
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_timer: cannot open display \"%s\"\n", XDisplayName(nullptr));
        return 1;
    }
    XSetErrorHandler(IgnoreXError);
    const int connection = ConnectionNumber(display);
    fcntl(connection, F_SETFD, fcntl(connection, F_GETFD) | FD_CLOEXEC); // not the child's
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    const WindowMatcher matcher(display, options);
    XSync(display, False); // the selection is in force before the program starts

    const double start = NowMs();
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, options.command[0], nullptr, nullptr, options.command, environ)) {
        std::fprintf(stderr, "startup_timer: cannot start %s: %s\n", options.command[0], std::strerror(error));
        return 1;
    }

    double mappedAt = -1;
    while (mappedAt < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            Window mapped = None;
            if (event.type == MapNotify) {
                mapped = event.xmap.window;
            } else if (event.type == CreateNotify && event.xcreatewindow.parent == DefaultRootWindow(display)) {
                // A window manager will map it inside a frame of its own: watch the window itself.
                const Window created = event.xcreatewindow.window;
                XSelectInput(display, created, StructureNotifyMask);
                XWindowAttributes attributes{};
                if (XGetWindowAttributes(display, created, &attributes) && attributes.map_state != IsUnmapped)
                    mapped = created; // mapped before the selection took effect
            }
            if (mapped != None && matcher.Matches(mapped)) {
                mappedAt = NowMs();
                break;
            }
        }
        if (mappedAt >= 0)
            break;

        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_timer: %s ended (status %d) before mapping a window named \"%s\"\n",
                         options.command[0], status, options.name.c_str());
            return 2;
        }
        const double left = start + options.timeoutMs - NowMs();
        if (left <= 0) {
            std::fprintf(stderr, "startup_timer: no window named \"%s\" mapped within %.0f s\n", options.name.c_str(),
                         options.timeoutMs / 1e3);
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return 2;
        }
        // Wake up on X traffic, and now and then to notice a program that died.
        pollfd fd{connection, POLLIN, 0};
        poll(&fd, 1, left < 50 ? int(left) + 1 : 50);
    }

    const long readKib = ReadKib(pid);
    const long maxRssKib = StopAndMeasure(pid);
    XCloseDisplay(display);
    std::printf("ms=%.2f maxrss_kib=%ld read_kib=%ld\n", mappedAt - start, maxRssKib, readKib);
    return maxRssKib < 0 ? 1 : 0;
}
