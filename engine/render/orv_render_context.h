/// @file
/// OrvRenderContext, a window's drawing surface and GL context, and OrvProc.
#pragma once

struct OrvWindowInfo;

/// An entry point as a window system's lookup hands it back; the caller casts
/// it to the entry point's own type.
typedef void (*OrvProc)();

/// The drawing surface of a window and the GL context on it. The engine root
/// owns the contexts it creates; the window information stays the
/// application's. Besides the surface, a context is what knows its window
/// system's ways into the driver: entry points by name and the swap interval.
/// The renderer asks the current context for both, so a context for another
/// window system brings them along without any change to the renderer.
class OrvRenderContext {
  public:
    /// Implementations release what create made, as destroy does.
    virtual ~OrvRenderContext();

    /// Makes the surface and the GL context for window and makes it current;
    /// 0 on success, -1 on failure. A context created before is released
    /// first.
    virtual int create(OrvWindowInfo* window) = 0;
    /// Releases what create made; -1 when there is nothing to release.
    virtual int destroy() = 0;
    /// Makes this context the one GL calls go to; nothing before create,
    /// after destroy, or once the window has gone.
    virtual void makeCurrent() = 0;
    /// Presents the frame drawn since the last swap; a context without a
    /// window only waits until the frame is complete. Nothing before create
    /// or after destroy.
    virtual void swapBuffers() = 0;

    /// The driver's entry point of that name, or null. A context without a
    /// GL driver behind it finds nothing.
    virtual OrvProc getProcAddress(const char* name);
    /// Asks for interval refreshes between presented frames (0: no vertical
    /// sync); false when the context has no way to set it.
    virtual bool setSwapInterval(int interval);
};
