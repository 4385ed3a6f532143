// OrvRenderContext: the drawing surface of a window and the GL context on it.
// The engine root owns the contexts it creates; the window information stays
// the application's.
#pragma once

struct OrvWindowInfo;

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
};
