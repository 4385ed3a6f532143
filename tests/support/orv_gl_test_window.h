// OrvGlTestWindow: an OrvTestWindow with an OrvRenderContextOpenGL of its
// own on it, for the tests of the context and of renderers made by hand,
// which run without the engine root. With ORVANE_TEST_CONTEXT=egl it is an
// offscreen OrvRenderContextEGL of the same size and bits instead, with no X
// window.
#pragma once

#include <string>

#include "opengl/orv_render_context_egl.h"
#include "opengl/orv_render_context_opengl.h"
#include "orv_test_context.h"
#include "orv_test_window.h"

class OrvGlTestWindow : public OrvTestWindow {
  public:
    OrvGlTestWindow() = default;
    // Destroys the context while the window still stands.
    ~OrvGlTestWindow();

    // Maps a width x height window and creates the context on it (current
    // afterwards); on EGL, creates the offscreen context of that size. Pins
    // LP_NUM_THREADS first so that llvmpipe pictures are repeatable. Returns
    // "" on success, else what failed.
    std::string open(int width = kWidth, int height = kHeight);

    OrvRenderContextOpenGL glxContext;
    OrvRenderContextEGL eglContext;
    // The one of the two that open creates.
    OrvRenderContext& context =
        orvTestOnEgl() ? static_cast<OrvRenderContext&>(eglContext) : glxContext;
};
