// The GLX render context. The GL surface is a child window rather than the
// application's own window because the visual GLX needs is rarely the one the
// toolkit chose; the child selects no input, so the parent still gets every
// mouse event.
#include "opengl/orv_render_context_opengl.h"

#include <GL/glx.h>

#include <algorithm>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "opengl/orv_x_error_trap.h"

namespace {
// True when name is one of the blank-separated words of list: a plain
// substring test would take GLX_EXT_swap_control_tear for GLX_EXT_swap_control.
bool hasWord(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

XVisualInfo* chooseVisual(Display* display, int screen, const OrvWindowInfo& info) {
    // GLX counts bits per channel; a 32-bit colour request means 8 bits of
    // red, green and blue, like a 24-bit one.
    const int channelBits = std::min(8, std::max(0, info.colorBits) / 3);
    int attributes[] = {GLX_RGBA,
                        GLX_DOUBLEBUFFER,
                        GLX_RED_SIZE,
                        channelBits,
                        GLX_GREEN_SIZE,
                        channelBits,
                        GLX_BLUE_SIZE,
                        channelBits,
                        GLX_DEPTH_SIZE,
                        std::max(0, info.depthBits),
                        GLX_STENCIL_SIZE,
                        std::max(0, info.stencilBits),
                        None};
    return glXChooseVisual(display, screen, attributes);
}
}  // namespace

OrvRenderContextOpenGL::OrvRenderContextOpenGL()
    : m_window(),
      m_hasWindow(false),
      m_lost(false),
      m_watch(nullptr),
      m_colormap(0),
      m_screen(0),
      m_swapControl(SWAP_CONTROL_NONE),
      m_swapInterval(nullptr) {}

OrvRenderContextOpenGL::~OrvRenderContextOpenGL() {
    destroy();
}

int OrvRenderContextOpenGL::create(OrvWindowInfo* window) {
    if (window == nullptr) {
        return -1;
    }
    // A second create replaces the first instead of losing its X resources.
    destroy();
    if (window->display == nullptr || window->window == 0) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRenderContextOpenGL::create(): no X display or window.");
        return -1;
    }
    // The context works on its own copy: the caller's record may die before
    // the context does, and another context may be created on it.
    m_window = *window;
    m_window.deviceContext = 0;
    m_window.glContext = nullptr;
    m_hasWindow = true;
    m_lost = false;
    const int result = createSurface();
    window->deviceContext = m_window.deviceContext;
    window->glContext = m_window.glContext;
    // A create that failed before making the surface has nothing for destroy
    // to release.
    m_hasWindow = m_window.deviceContext != 0;
    return result;
}

int OrvRenderContextOpenGL::createSurface() {
    Display* display = m_window.display;
    OrvXErrorTrap trap(display);
    XWindowAttributes parent;
    if (XGetWindowAttributes(display, m_window.window, &parent) == 0 || trap.failed()) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRenderContextOpenGL::create(): window 0x%lx is not an "
                                     "X window of this display.",
                                     m_window.window);
        return -1;
    }
    m_screen = XScreenNumberOfScreen(parent.screen);
    XVisualInfo* visual = chooseVisual(display, m_screen, m_window);
    if (visual == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRenderContextOpenGL::create(): no double-buffered RGBA "
                                     "visual with %d colour, %d depth and %d stencil bits.",
                                     m_window.colorBits, m_window.depthBits, m_window.stencilBits);
        return -1;
    }

    XSetWindowAttributes attributes = {};
    m_colormap = XCreateColormap(display, m_window.window, visual->visual, AllocNone);
    attributes.colormap = m_colormap;
    attributes.border_pixel = 0;
    attributes.event_mask = NoEventMask;
    Window surface =
        XCreateWindow(display, m_window.window, 0, 0, std::max(1, parent.width),
                      std::max(1, parent.height), 0, visual->depth, InputOutput, visual->visual,
                      CWColormap | CWBorderPixel | CWEventMask, &attributes);
    if (trap.failed()) {
        XFree(visual);
        XFreeColormap(display, m_colormap);
        m_colormap = 0;
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRenderContextOpenGL::create(): the X server refused the "
                                     "drawing window.");
        return -1;
    }
    XMapWindow(display, surface);
    m_window.deviceContext = surface;
    m_watch = ORV_NEW OrvXErrorTrap(display, surface);

    m_window.glContext = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (m_window.glContext == nullptr || trap.failed()) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRenderContextOpenGL::create(): GLX made no GL context.");
        return -1;
    }
    if (!glXMakeCurrent(display, surface, m_window.glContext)) {
        return -1;
    }
    chooseSwapControl();
    return 0;
}

int OrvRenderContextOpenGL::destroy() {
    if (!m_hasWindow || m_window.deviceContext == 0) {
        return -1;
    }
    {
        OrvXErrorTrap trap(m_window.display);
        releaseSurface();
        // The drawing window goes with its parent: a parent the application
        // destroyed first leaves nothing here to destroy.
        if (trap.failed()) {
            OrvLog::getInstance()->write(OrvLog::WARNING,
                                         "OrvRenderContextOpenGL::destroy(): the drawing window "
                                         "0x%lx was already gone (X error %d).",
                                         m_window.deviceContext, trap.errorCode());
        }
        ORV_DELETE(m_watch);
        m_watch = nullptr;
    }
    m_window.deviceContext = 0;
    m_window.glContext = nullptr;
    m_hasWindow = false;
    m_lost = false;
    m_swapControl = SWAP_CONTROL_NONE;
    m_swapInterval = nullptr;
    return 0;
}

void OrvRenderContextOpenGL::releaseSurface() {
    Display* display = m_window.display;
    if (m_window.glContext != nullptr) {
        // Another context of the application may be current; only ours is
        // released.
        if (glXGetCurrentContext() == m_window.glContext) {
            glXMakeCurrent(display, None, nullptr);
        }
        glXDestroyContext(display, m_window.glContext);
    }
    XDestroyWindow(display, m_window.deviceContext);
    if (m_colormap != 0) {
        XFreeColormap(display, m_colormap);
        m_colormap = 0;
    }
}

bool OrvRenderContextOpenGL::usable() const {
    return m_hasWindow && !m_lost && m_window.deviceContext != 0 && m_window.glContext != nullptr;
}

void OrvRenderContextOpenGL::checkSurface(OrvXErrorTrap& trap, const char* operation) {
    const bool failed = trap.failed();
    const int error = failed ? trap.errorCode() : (m_watch != nullptr ? m_watch->errorCode() : 0);
    if (error == 0) {
        return;
    }
    m_lost = true;
    OrvLog::getInstance()->write(OrvLog::WARNING,
                                 "OrvRenderContextOpenGL::%s(): the drawing window 0x%lx is gone "
                                 "(X error %d); nothing is drawn on it any more.",
                                 operation, m_window.deviceContext, error);
    if (glXGetCurrentContext() == m_window.glContext) {
        glXMakeCurrent(m_window.display, None, nullptr);
    }
}

void OrvRenderContextOpenGL::makeCurrent() {
    if (usable()) {
        OrvXErrorTrap trap(m_window.display);
        glXMakeCurrent(m_window.display, m_window.deviceContext, m_window.glContext);
        checkSurface(trap, "makeCurrent");
    }
}

void OrvRenderContextOpenGL::swapBuffers() {
    if (usable()) {
        OrvXErrorTrap trap(m_window.display);
        glXSwapBuffers(m_window.display, m_window.deviceContext);
        checkSurface(trap, "swapBuffers");
    }
}

OrvProc OrvRenderContextOpenGL::getProcAddress(const char* name) {
    return name != nullptr ? glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)) : nullptr;
}

const char* OrvRenderContextOpenGL::glxExtensions() const {
    return m_hasWindow ? glXQueryExtensionsString(m_window.display, m_screen) : nullptr;
}

// Mesa hands out a stub for any name, so the GLX extension string, not a
// non-null pointer, decides which swap-interval entry point exists. The
// first extension of the table that the screen offers is the one used.
void OrvRenderContextOpenGL::chooseSwapControl() {
    struct Choice {
        const char* extension;
        const char* entryPoint;
        SwapControl control;
    };
    static const Choice kChoices[] = {
        {"GLX_EXT_swap_control", "glXSwapIntervalEXT", SWAP_CONTROL_EXT},
        {"GLX_MESA_swap_control", "glXSwapIntervalMESA", SWAP_CONTROL_MESA},
        {"GLX_SGI_swap_control", "glXSwapIntervalSGI", SWAP_CONTROL_SGI},
    };
    m_swapControl = SWAP_CONTROL_NONE;
    m_swapInterval = nullptr;
    const char* extensions = glxExtensions();
    for (const Choice& choice : kChoices) {
        if (extensions != nullptr && hasWord(extensions, choice.extension)) {
            m_swapControl = choice.control;
            m_swapInterval = getProcAddress(choice.entryPoint);
            return;
        }
    }
}

bool OrvRenderContextOpenGL::setSwapInterval(int interval) {
    if (!usable() || m_swapInterval == nullptr) {
        return false;
    }
    OrvXErrorTrap trap(m_window.display);
    const bool set = applySwapInterval(interval);
    checkSurface(trap, "setSwapInterval");
    return set && !m_lost;
}

// The three extensions' functions differ in signature.
bool OrvRenderContextOpenGL::applySwapInterval(int interval) {
    switch (m_swapControl) {
        case SWAP_CONTROL_EXT:
            reinterpret_cast<SwapIntervalEXT>(m_swapInterval)(m_window.display,
                                                              m_window.deviceContext, interval);
            return true;
        case SWAP_CONTROL_MESA:
            return reinterpret_cast<SwapIntervalMESA>(m_swapInterval)(
                       static_cast<unsigned int>(interval)) == 0;
        case SWAP_CONTROL_SGI:
            // The SGI extension refuses 0: without another one, vertical sync
            // cannot be switched off again.
            return interval > 0 && reinterpret_cast<SwapIntervalSGI>(m_swapInterval)(interval) == 0;
        default:
            return false;
    }
}
