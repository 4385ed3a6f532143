// OrvRenderContextOpenGL: the GLX render context. It covers the application's
// X window with a child window whose visual GLX chose for double-buffered RGBA
// with the requested colour, depth and stencil bits, and owns that child
// window, its colormap and the GL context. It keeps a copy of the window
// information it was created on, with those handles, and writes the handles
// back into the caller's record at create; after create it never reads or
// writes the caller's record again, which may go before the context does.
// It also finds the driver's entry points by name and sets the swap interval
// through whichever GLX swap-control extension its screen offers.
//
// A window the application destroys under the context takes the drawing
// window with it: the next X or GLX call on it reports a WARNING instead of
// ending the process, nothing is drawn or presented afterwards, and destroy
// still releases the GL context.
#pragma once

#include "render/orv_render_context.h"
#include "render/orv_window_info.h"

class OrvXErrorTrap;

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

    // The context's copy of the window information it holds a surface for,
    // or null before create and after destroy.
    const OrvWindowInfo* getWindowInfo() const { return m_hasWindow ? &m_window : nullptr; }
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
    bool applySwapInterval(int interval);
    void releaseSurface();
    // True while the surface and GL context stand and no X error has shown
    // the drawing window gone.
    bool usable() const;
    // After a trapped X or GLX call of the operation: when it failed, the
    // drawing window is taken as gone, with a WARNING, and the GL context
    // stops being current so that later GL calls cannot reach the window.
    void checkSurface(OrvXErrorTrap& trap, const char* operation);

    OrvWindowInfo m_window;
    bool m_hasWindow;
    bool m_lost;
    // Traps the errors about the drawing window for as long as it stands:
    // the driver asks the X server about it inside ordinary GL calls, where
    // a vanished window would otherwise end the process.
    OrvXErrorTrap* m_watch;
    unsigned long m_colormap;
    int m_screen;
    SwapControl m_swapControl;
    // The chosen extension's entry point, cast to its type at the call.
    OrvProc m_swapInterval;
};
