/// @file
/// OrvWindowInfo, the application's description of the window drawn into.
#pragma once

#include <cstdint>

// Xlib and GLX spell these types the same way, so this header can name them
// without pulling the X11 macros (None, Bool, Status) into every includer.
struct _XDisplay;
struct __GLXcontextRec;

/// The window the engine draws into, owned and filled by the application. The
/// render context copies it at create and writes back the drawing surface and
/// the GL context it made; it does not touch the record after create, so the
/// record need not outlive the context (and destroy does not clear those two
/// fields). Fields the application does not set stay 0. The offscreen (EGL)
/// context reads only the size and the bits and writes nothing back.
struct OrvWindowInfo {
    static constexpr int kTextSize = 128;  ///< Bytes of text, terminator included.

    /// A title for the application's own use; the engine does not read it.
    char text[kTextSize];
    /// The size in pixels. The GLX context takes the X window's own size; the
    /// offscreen (EGL) context draws a frame of exactly this size.
    ///@{
    int32_t width;
    int32_t height;
    ///@}
    /// Colour bits wanted in all; 24 and 32 both mean 8 bits a channel.
    int32_t colorBits;
    int32_t depthBits;    ///< Depth buffer bits wanted.
    int32_t stencilBits;  ///< Stencil buffer bits wanted.
    int32_t spare;        ///< Not read; leave it 0.
    /// The application's X display and window. The GLX context needs both; the
    /// EGL context reads neither.
    ///@{
    _XDisplay* display;
    unsigned long window;
    ///@}
    /// The child X window with the GL visual that covers the application's
    /// window: the surface frames are drawn into and swapped on.
    unsigned long deviceContext;
    /// The GLX context create made on deviceContext; written by create.
    __GLXcontextRec* glContext;
};
