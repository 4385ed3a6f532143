#include "orv_example_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

uint64_t nowMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

long frameLimitFrom(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0) {
            return std::strtol(argv[i + 1], nullptr, 10);
        }
    }
    return 0;
}

}  // namespace

OrvExampleWindow::OrvExampleWindow(int argc, char** argv)
    : frameLimit(frameLimitFrom(argc, argv)),
      frames(0),
      info{},
      text{},
      deleteWindowAtom(0),
      engineStarted(false),
      previousMilliseconds(0),
      rateStartMilliseconds(0),
      framesThisSecond(0),
      rate(0),
      seconds(0.0f) {}

OrvExampleWindow::~OrvExampleWindow() {
    // The engine's stop releases the render context, which owns the GL child
    // window, before the window under it goes.
    if (engineStarted) {
        if (text.listBase != 0) {
            OrvRenderer::getInstance()->destroyFont(&text, &info);
        }
        OrvMain::getInstance()->terminate();
    }
    if (info.display == nullptr) {
        return;
    }
    if (info.window != 0) {
        XDestroyWindow(info.display, info.window);
    }
    XCloseDisplay(info.display);
}

int OrvExampleWindow::open(const char* title, int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "%s: cannot open the X display \"%s\"; run it on a desktop or in "
                     "a virtual X server (xvfb-run).\n",
                     title, name != nullptr ? name : "");
        return 1;
    }
    const int screen = DefaultScreen(display);
    Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0,
                            BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, title);
    // The close button asks through WM_DELETE_WINDOW instead of killing the
    // connection, so the program can stop the engine and exit with 0.
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, KeyPressMask);
    XMapWindow(display, window);
    XSync(display, False);
    deleteWindowAtom = deleteWindow;
    info.display = display;
    info.window = window;
    info.width = width;
    info.height = height;
    info.colorBits = 24;
    info.depthBits = 24;

    OrvMain* engine = OrvMain::getInstance();
    engine->init();
    engineStarted = true;
    OrvRenderContext* context = engine->createRenderContext(OrvMain::KIND_OPENGL);
    if (context == nullptr || context->create(&info) != 0) {
        return fail("no OpenGL context on the window");
    }
    engine->setCurrentRenderContext(context);
    // A driver without buffer objects or GLSL still draws; only one older
    // than OpenGL 1.2 stops the start.
    if (engine->createRenderer(OrvMain::KIND_OPENGL) == OrvRenderer::RESULT_VERSION_TOO_OLD) {
        return fail("the OpenGL driver is too old");
    }
    std::snprintf(text.faceName, sizeof(text.faceName), "%s", "DejaVu Sans");
    text.fontHeight = 14;
    OrvRenderer::getInstance()->createFont(&text, &info);
    return 0;
}

int OrvExampleWindow::fail(const char* message) {
    std::fprintf(stderr, "Orvane %s: %s\n", OrvMain::version(), message);
    OrvMain::getInstance()->terminate();
    engineStarted = false;
    return 1;
}

bool OrvExampleWindow::nextFrame() {
    if (quitRequested() || (frameLimit > 0 && frames >= frameLimit)) {
        return false;
    }
    countFrame();
    return true;
}

void OrvExampleWindow::drawText(int y, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text.text, sizeof(text.text), format, arguments);
    va_end(arguments);
    text.textLength = static_cast<int32_t>(std::strlen(text.text));
    text.x = 10;
    text.y = y;
    for (float& component : text.color) {
        component = 1.0f;
    }
    OrvRenderer::getInstance()->drawText(&text, &info);
}

bool OrvExampleWindow::quitRequested() {
    while (XPending(info.display) > 0) {
        XEvent event;
        XNextEvent(info.display, &event);
        if (event.type == KeyPress && XLookupKeysym(&event.xkey, 0) == XK_Escape) {
            return true;
        }
        if (event.type == ClientMessage &&
            static_cast<unsigned long>(event.xclient.data.l[0]) == deleteWindowAtom) {
            return true;
        }
    }
    return false;
}

void OrvExampleWindow::countFrame() {
    const uint64_t now = nowMilliseconds();
    if (frames == 0) {
        previousMilliseconds = now;
        rateStartMilliseconds = now;
    }
    seconds = static_cast<float>(now - previousMilliseconds) * 0.001f;
    previousMilliseconds = now;
    ++frames;
    ++framesThisSecond;
    if (now - rateStartMilliseconds >= 1000) {
        rate = framesThisSecond;
        framesThisSecond = 0;
        rateStartMilliseconds = now;
    }
}
