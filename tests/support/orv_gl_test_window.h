// OrvGlTestWindow: an OrvTestWindow with an OrvRenderContextOpenGL of its
// own on it, for the tests of the context and of renderers made by hand,
// which run without the engine root.
#pragma once

#include <string>

#include "opengl/orv_render_context_opengl.h"
#include "orv_test_window.h"

class OrvGlTestWindow : public OrvTestWindow {
  public:
    OrvGlTestWindow() = default;
    // Destroys the context while the window still stands.
    ~OrvGlTestWindow();

    // Maps a width x height window and creates the context on it (current
    // afterwards). Pins LP_NUM_THREADS first so that llvmpipe pictures are
    // repeatable. Returns "" on success, else what failed.
    std::string open(int width = kWidth, int height = kHeight);

    OrvRenderContextOpenGL context;
};
