// Times a program's start to the moment its window is mapped: the X server
// tells us (MapNotify on the root window), so nothing polls and nothing takes
// the processor from the program being timed. Prints the milliseconds from
// just before the program is started.
// Usage: orvane-window-shown-timer TITLE PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

extern char** environ;

namespace {

std::string nameOf(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return {};
    }
    std::string answer(name);
    XFree(name);
    return answer;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const std::string title = argv[1];
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[2]);
        return 1;
    }
    // A program that ends, or shows nothing for half a minute, has no row.
    double elapsed = -1;
    int status = 0;
    bool ended = false;
    while (elapsed < 0 && !ended &&
           std::chrono::steady_clock::now() - started < std::chrono::seconds(30)) {
        if (XPending(display) == 0) {
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            poll(&connection, 1, 100);
            ended = waitpid(child, &status, WNOHANG) == child;
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && nameOf(display, event.xmap.window) == title) {
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                started)
                          .count();
        }
    }
    if (elapsed < 0) {
        std::fprintf(stderr, "%s showed no window \"%s\"\n", argv[2], title.c_str());
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        XCloseDisplay(display);
        return 1;
    }
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    XCloseDisplay(display);
    std::printf("%.1f\n", elapsed);
    return 0;
}
