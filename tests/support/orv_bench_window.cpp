#include "orv_bench_window.h"

#include <X11/Xlib.h>

#include <cstdlib>

OrvBenchWindow::~OrvBenchWindow() {
    if (display == nullptr) {
        return;
    }
    if (window != 0) {
        XDestroyWindow(display, window);
    }
    XCloseDisplay(display);
}

std::string OrvBenchWindow::open(int x, int y, int width, int height) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        return "DISPLAY is not set (scripts/bench starts a virtual X server)";
    }
    display = XOpenDisplay(name);
    if (display == nullptr) {
        return std::string("cannot open X display ") + name;
    }
    const int screen = DefaultScreen(display);
    window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, width, height, 0,
                                 BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return "";
}
