// OrvRenderContextOpenGL: the GLX render context. It covers the application's
// X window with a child window whose visual GLX chose for double-buffered RGBA
// with the requested colour, depth and stencil bits, and owns that child
// window, its colormap and the GL context. The handles are recorded in the
// window information, which stays the application's. It also finds the
// driver's entry points by name and sets the swap interval through whichever
// GLX swap-control extension its screen offers.
#pragma once

#include "render/orv_render_context.h"

struct OrvWindowInfo;
struct _XDisplay;

class OrvRenderContextOpenGL : public OrvRenderContext {
  public:
    // The swap-control extension in use, chosen at create from the GLX
    // extension string in this order of preference.
    enum SwapControl { SWAP_CONTROL_NONE, SWAP_CONTROL_EXT, SWAP_CONTROL_MESA, SWAP_CONTROL_SGI };

    OrvRenderContextOpenGL();
    ~OrvRenderContextOpenGL() override;

    OrvRenderContextOpenGL(const OrvRenderContextOpenGL&) = delete;
    OrvRenderContextOpenGL& operator=(const OrvRenderContextOpenGL&) = delete;

    int create(OrvWindowInfo* window) override;
    int destroy() override;
    void makeCurrent() override;
    void swapBuffers() override;
    // glXGetProcAddressARB: Mesa hands out a stub for any name, so a non-null
    // result does not mean the driver has the function.
    OrvProc getProcAddress(const char* name) override;
    // False without a swap-control extension, outside create and destroy,
    // and for 0 with only the SGI extension, which refuses it.
    bool setSwapInterval(int interval) override;

    OrvWindowInfo* getWindowInfo() const { return m_window; }
    SwapControl getSwapControl() const { return m_swapControl; }

  protected:
    // The GLX extension string of the screen the context was created on, or
    // null. Tests replace it to choose a swap-control extension.
    virtual const char* glxExtensions() const;

  private:
    typedef void (*SwapIntervalEXT)(_XDisplay* display, unsigned long drawable, int interval);
    typedef int (*SwapIntervalMESA)(unsigned int interval);
    typedef int (*SwapIntervalSGI)(int interval);

    int createSurface();
    void chooseSwapControl();

    OrvWindowInfo* m_window;
    unsigned long m_colormap;
    int m_screen;
    SwapControl m_swapControl;
    // The chosen extension's entry point, cast to its type at the call.
    OrvProc m_swapInterval;
};
