#include "orv_test_window.h"

#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdlib>

#include "orv_test_context.h"

namespace {
constexpr int kOpenAttempts = 20;
constexpr useconds_t kOpenRetryMicroseconds = 100000;
}  // namespace

OrvTestWindow::~OrvTestWindow() {
    if (info.display == nullptr) {
        return;
    }
    if (info.window != 0) {
        XDestroyWindow(info.display, info.window);
    }
    XCloseDisplay(info.display);
}

std::string OrvTestWindow::open(int width, int height, int x, int y) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        return "DISPLAY is not set: an X server is needed (scripts/test and scripts/bench start "
               "Xvfb)";
    }
    // A busy X server sometimes refuses a connection for a moment
    // ("Resource temporarily unavailable"); a short retry keeps that from
    // failing a run that has nothing to do with it.
    for (int attempt = 0; attempt < kOpenAttempts && info.display == nullptr; ++attempt) {
        if (attempt > 0) {
            usleep(kOpenRetryMicroseconds);
        }
        info.display = XOpenDisplay(name);
    }
    if (info.display == nullptr) {
        return std::string("cannot open X display ") + name;
    }
    describe(width, height);
    const int screen = DefaultScreen(info.display);
    info.window =
        XCreateSimpleWindow(info.display, RootWindow(info.display, screen), x, y, width, height, 0,
                            BlackPixel(info.display, screen), BlackPixel(info.display, screen));
    XMapWindow(info.display, info.window);
    XSync(info.display, False);
    return "";
}

std::string OrvTestWindow::openForTestContext(int width, int height) {
    if (!orvTestOnEgl()) {
        return open(width, height);
    }
    describe(width, height);
    return "";
}

void OrvTestWindow::describe(int width, int height) {
    info.width = width;
    info.height = height;
    info.colorBits = 32;
    info.depthBits = 24;
    info.stencilBits = 8;
}

unsigned int OrvTestWindow::childWindowCount() const {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(info.display, info.window, &root, &parent, &children, &count)) {
        return 0;
    }
    if (children != nullptr) {
        XFree(children);
    }
    return count;
}
