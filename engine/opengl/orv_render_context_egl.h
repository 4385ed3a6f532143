/// @file
/// OrvRenderContextEGL, the render context that needs no window system.
#pragma once

#include "render/orv_render_context.h"

struct OrvWindowInfo;
struct gbm_device;

/// OrvRenderContextEGL: a render context that needs no window system. It opens
/// an EGL display on Mesa's surfaceless platform (EGL_MESA_platform_surfaceless)
/// and, where EGL offers no such platform, on a GBM device made from the first
/// DRM render node under /dev/dri; a DEBUG line says which it tried and which
/// it took. On it runs a desktop OpenGL context (EGL_OPENGL_API, compatibility
/// profile, so the fixed-function pipeline and both GLSL codepaths work as on
/// GLX) that draws into an offscreen frame of the window information's width
/// and height with its colour, depth and stencil bits: a pbuffer surface on the
/// surfaceless platform, a framebuffer object on GBM (Mesa's GBM platform has
/// no pbuffers). Nothing is presented: swapBuffers waits until the frame is
/// drawn, so that it can be read back.
///
/// The context owns the EGL display connection, context and surface, and the
/// GBM device and its file. The window information stays the application's:
/// only its size and bits are read, and its X and GLX fields are left alone.
class OrvRenderContextEGL : public OrvRenderContext {
  public:
    /// An empty context: no display, no frame, platform name "".
    OrvRenderContextEGL();
    /// Releases what create made, as destroy does.
    ~OrvRenderContextEGL() override;

    OrvRenderContextEGL(const OrvRenderContextEGL&) = delete;
    OrvRenderContextEGL& operator=(const OrvRenderContextEGL&) = delete;

    /// Opens the surfaceless platform, else a GBM device, chooses a config
    /// for the bits of @p window and makes the context and its frame of
    /// @p window's width and height; a second create releases the first
    /// context before it starts. 0 with the context current on its offscreen
    /// frame; -1 with a WARNING line saying what was missing (also kept in
    /// getFailure), and whatever the attempt made already released. A null
    /// @p window gives -1 with no line and keeps the context as it was.
    int create(OrvWindowInfo* window) override;
    /// Releases the context, its frame and the GBM device and file. The
    /// surfaceless display is one for the whole process: it is terminated
    /// only when the last context on it goes. -1 when nothing was held.
    int destroy() override;
    void makeCurrent() override;
    /// glFinish when this context is current: the frame is complete, nothing
    /// is shown.
    void swapBuffers() override;

    /// eglGetProcAddress: entry points come from EGL, never from GLX, so the
    /// renderer works with no X connection. Like GLX, Mesa's EGL hands out a
    /// stub for any name. Null for a null @p name.
    OrvProc getProcAddress(const char* name) override;
    /// An offscreen frame is never presented and waits for no display
    /// refresh (EGL's swap interval has no effect on a pbuffer, and a
    /// framebuffer object has no surface at all): always false, nothing
    /// changes.
    bool setSwapInterval(int interval) override;

    /// "surfaceless" or "gbm" after a successful create, else "".
    const char* getPlatformName() const { return m_platformName; }
    /// Why the last create failed, the text of its WARNING line after
    /// "OrvRenderContextEGL::create(): "; "" after a success. The context
    /// owns the text; the next create overwrites it.
    const char* getFailure() const { return m_failure; }
    /// The offscreen frame's size in pixels, as create took it from the window
    /// information (0 before the first create); destroy does not clear it.
    ///@{
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    ///@}
    /// The EGLDisplay and EGLContext in use, for a caller that makes EGL calls
    /// of its own; EGL_NO_DISPLAY and EGL_NO_CONTEXT (null) without a context.
    /// Both stay the context's: release them through destroy only.
    ///@{
    void* getEGLDisplay() const { return m_display; }
    void* getEGLContext() const { return m_context; }
    ///@}

  protected:
    /// EGL's client extension string (which platforms exist), or null without
    /// an EGL implementation; tests replace it to hide a platform.
    virtual const char* clientExtensions();
    /// Whether the frame is a pbuffer (the surfaceless platform) or a
    /// framebuffer object (GBM); tests ask for the framebuffer object on the
    /// surfaceless platform to draw on both.
    virtual bool drawsIntoPbuffer() const;

  private:
    static constexpr int kFailureSize = 256;

    int fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int openDisplay();
    int openSurfaceless(const char* extensions);
    int openGbm(const char* extensions);
    int initializeDisplay(void* display, const char* platformName);
    int chooseConfig(const OrvWindowInfo& window);
    int createContext();
    int createPbuffer();
    int createFramebuffer();
    bool onSurfaceless() const;
    void releaseDisplay();

    void* m_display;
    void* m_config;
    void* m_context;
    void* m_surface;
    gbm_device* m_gbm;
    int m_gbmFile;
    unsigned int m_framebuffer;
    int m_width;
    int m_height;
    int m_depthBits;
    int m_stencilBits;
    const char* m_platformName;
    char m_failure[kFailureSize];
};
