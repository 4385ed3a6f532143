// OrvRenderContext: the drawing surface of a window and the GL context on it.
// The engine root owns the contexts it creates; the window information stays
// the application's. Besides the surface, a context is what knows its window
// system's ways into the driver: entry points by name and the swap interval.
// The renderer asks the current context for both, so a context for another
// window system brings them along without any change to the renderer.
#pragma once

struct OrvWindowInfo;

// An entry point as a window system's lookup hands it back; the caller casts
// it to the entry point's own type.
typedef void (*OrvProc)();

class OrvRenderContext {
  public:
    virtual ~OrvRenderContext();

    // Makes the surface and the GL context for window and makes it current;
    // 0 on success, -1 on failure.
    virtual int create(OrvWindowInfo* window) = 0;
    // Releases what create made; -1 when there is nothing to release.
    virtual int destroy() = 0;
    virtual void makeCurrent() = 0;
    virtual void swapBuffers() = 0;

    // The driver's entry point of that name, or null. A context without a
    // GL driver behind it finds nothing.
    virtual OrvProc getProcAddress(const char* name);
    // Asks for interval refreshes between presented frames (0: no vertical
    // sync); false when the context has no way to set it.
    virtual bool setSwapInterval(int interval);
};
