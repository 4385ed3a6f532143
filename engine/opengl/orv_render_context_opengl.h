/// @file
/// OrvRenderContextOpenGL, the GLX render context.
#pragma once

#include "render/orv_render_context.h"
#include "render/orv_window_info.h"

class OrvXErrorTrap;

/// OrvRenderContextOpenGL: the GLX render context. It covers the application's
/// X window with a child window whose visual GLX chose for double-buffered RGBA
/// with the requested colour, depth and stencil bits, and owns that child
/// window, its colormap and the GL context. It keeps a copy of the window
/// information it was created on, with those handles, and writes the handles
/// back into the caller's record at create; after create it never reads or
/// writes the caller's record again, which may go before the context does.
/// It also finds the driver's entry points by name and sets the swap interval
/// through whichever GLX swap-control extension its screen offers.
///
/// A window the application destroys under the context takes the drawing
/// window with it: the next X or GLX call on it reports a WARNING instead of
/// ending the process, nothing is drawn or presented afterwards, and destroy
/// still releases the GL context.
class OrvRenderContextOpenGL : public OrvRenderContext {
  public:
    /// The swap-control extension in use, chosen at create from the GLX
    /// extension string in this order of preference.
    enum SwapControl {
        SWAP_CONTROL_NONE,  ///< The screen offers none: the swap interval cannot be set.
        SWAP_CONTROL_EXT,   ///< GLX_EXT_swap_control.
        SWAP_CONTROL_MESA,  ///< GLX_MESA_swap_control.
        SWAP_CONTROL_SGI    ///< GLX_SGI_swap_control, which cannot set 0.
    };

    /// An empty context: no window information, no surface.
    OrvRenderContextOpenGL();
    /// Releases what create made, as destroy does.
    ~OrvRenderContextOpenGL() override;

    OrvRenderContextOpenGL(const OrvRenderContextOpenGL&) = delete;
    OrvRenderContextOpenGL& operator=(const OrvRenderContextOpenGL&) = delete;

    /// Covers @p window's X window with a drawing window of a GLX visual for
    /// its colour, depth and stencil bits, makes a GL context on it, makes
    /// that current and chooses the swap-control extension; a second create
    /// releases the first surface before it starts. A record with a display
    /// and window is copied, and the drawing window and GL context are
    /// written back into its deviceContext and glContext (0 and null for what
    /// was not made); the record is not touched again. 0 on success; -1 with a
    /// WARNING line when the record has no display or window, the window is
    /// not the display's, no visual fits, the server refuses the drawing
    /// window or GLX makes no GL context, and with no line when the new
    /// context cannot be made current. A drawing window made before a failure
    /// stays, with its copy in getWindowInfo, until destroy. A null @p window
    /// gives -1 with no line and keeps the context as it was.
    int create(OrvWindowInfo* window) override;
    /// Releases the GL context, the drawing window and its colormap; -1 when
    /// there is no drawing window (before create, after destroy, or after a
    /// create that made none). A drawing window that already went with
    /// its parent gives a WARNING line, and the GL context is still released
    /// with 0 returned. The caller's record keeps the old handles.
    int destroy() override;
    /// Do nothing before create, after destroy and once the drawing window is
    /// gone. An X error from the call marks the window gone with a WARNING
    /// line and leaves the GL context no longer current.
    ///@{
    void makeCurrent() override;
    void swapBuffers() override;
    ///@}
    /// glXGetProcAddressARB: Mesa hands out a stub for any name, so a non-null
    /// result does not mean the driver has the function. Null for a null
    /// @p name.
    OrvProc getProcAddress(const char* name) override;
    /// False without a swap-control extension, outside create and destroy,
    /// once the drawing window is gone, and for 0 with only the SGI
    /// extension, which refuses it.
    bool setSwapInterval(int interval) override;

    /// The context's copy of the window information it holds a surface for,
    /// or null before create and after destroy. The copy belongs to the
    /// context and holds the handles create made.
    const OrvWindowInfo* getWindowInfo() const { return m_hasWindow ? &m_window : nullptr; }
    /// The swap-control extension create chose; SWAP_CONTROL_NONE before
    /// create, after destroy and when the screen offers none.
    SwapControl getSwapControl() const { return m_swapControl; }

  protected:
    /// The GLX extension string of the screen the context was created on, or
    /// null without a surface. Tests replace it to choose a swap-control
    /// extension.
    virtual const char* glxExtensions() const;

  private:
    typedef void (*SwapIntervalEXT)(_XDisplay* display, unsigned long drawable, int interval);
    typedef int (*SwapIntervalMESA)(unsigned int interval);
    typedef int (*SwapIntervalSGI)(int interval);

    int createSurface();
    void chooseSwapControl();
    bool applySwapInterval(int interval);
    void releaseSurface();
    /// True while the surface and GL context stand and no X error has shown
    /// the drawing window gone.
    bool usable() const;
    /// After a trapped X or GLX call of the operation: when it failed, the
    /// drawing window is taken as gone, with a WARNING, and the GL context
    /// stops being current so that later GL calls cannot reach the window.
    void checkSurface(OrvXErrorTrap& trap, const char* operation);

    OrvWindowInfo m_window;
    bool m_hasWindow;
    bool m_lost;
    /// Traps the errors about the drawing window for as long as it stands:
    /// the driver asks the X server about it inside ordinary GL calls, where
    /// a vanished window would otherwise end the process.
    OrvXErrorTrap* m_watch;
    unsigned long m_colormap;
    int m_screen;
    SwapControl m_swapControl;
    /// The chosen extension's entry point, cast to its type at the call.
    OrvProc m_swapInterval;
};
