// OrvRenderContextOpenGL: the GLX render context. It covers the application's
// X window with a child window whose visual GLX chose for double-buffered RGBA
// with the requested colour, depth and stencil bits, and owns that child
// window, its colormap and the GL context. The handles are recorded in the
// window information, which stays the application's.
#pragma once

#include "render/orv_render_context.h"

struct OrvWindowInfo;

class OrvRenderContextOpenGL : public OrvRenderContext {
  public:
    OrvRenderContextOpenGL();
    ~OrvRenderContextOpenGL() override;

    OrvRenderContextOpenGL(const OrvRenderContextOpenGL&) = delete;
    OrvRenderContextOpenGL& operator=(const OrvRenderContextOpenGL&) = delete;

    int create(OrvWindowInfo* window) override;
    int destroy() override;
    void makeCurrent() override;
    void swapBuffers() override;

    OrvWindowInfo* getWindowInfo() const { return m_window; }

  private:
    int createSurface();

    OrvWindowInfo* m_window;
    unsigned long m_colormap;
};
