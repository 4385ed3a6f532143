// OrvWindowInfo: the window the engine draws into, owned and filled by the
// application. The render context copies it at create and writes back the
// drawing surface and the GL context it made; it does not touch the record
// after create, so the record need not outlive the context (and destroy does
// not clear those two fields). Fields the application does not set stay 0.
#pragma once

#include <cstdint>

// Xlib and GLX spell these types the same way, so this header can name them
// without pulling the X11 macros (None, Bool, Status) into every includer.
struct _XDisplay;
struct __GLXcontextRec;

struct OrvWindowInfo {
    static constexpr int kTextSize = 128;

    char text[kTextSize];
    int32_t width;
    int32_t height;
    int32_t colorBits;
    int32_t depthBits;
    int32_t stencilBits;
    int32_t spare;
    // The application's X display and window.
    _XDisplay* display;
    unsigned long window;
    // The child X window with the GL visual that covers the application's
    // window: the surface frames are drawn into and swapped on.
    unsigned long deviceContext;
    __GLXcontextRec* glContext;
};
