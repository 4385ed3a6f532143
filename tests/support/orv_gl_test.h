// GL test support: a plain X window on $DISPLAY with the engine's render
// context on it, a renderer whose capability strings a test can replace, the
// back buffer read into a picture, and a gtest fixture that puts the three
// together. A test that cannot get a display or a context fails; it is never
// skipped.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "opengl/orv_render_context_opengl.h"
#include "opengl/orv_renderer_opengl.h"
#include "orv_test_log.h"
#include "render/orv_window_info.h"

// An X window of its own on $DISPLAY, covered by an OrvRenderContextOpenGL.
class OrvGlTestWindow {
  public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    OrvGlTestWindow() = default;
    // Destroys the context, then the window, then closes the display.
    ~OrvGlTestWindow();

    OrvGlTestWindow(const OrvGlTestWindow&) = delete;
    OrvGlTestWindow& operator=(const OrvGlTestWindow&) = delete;

    // Opens the display, maps a width x height window and creates the context
    // on it (current afterwards), asking for 32 colour, 24 depth and 8
    // stencil bits. Pins LP_NUM_THREADS first so that llvmpipe pictures are
    // repeatable. Returns "" on success, else what failed.
    std::string open(int width = kWidth, int height = kHeight);

    // Filled by open; the context writes its surface and GL context here.
    OrvWindowInfo info = {};
    OrvRenderContextOpenGL context;
};

// The back buffer as RGBA bytes, rows bottom-up as OpenGL reads them.
struct OrvPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    // glFinish, then glReadPixels of the back buffer (llvmpipe cannot read the
    // front one) of the current context.
    static OrvPicture readBackBuffer(int width, int height);

    // The pixel at window x, y (y counted from the bottom, as OpenGL does).
    const uint8_t* at(int x, int y) const { return &rgba[4 * (y * width + x)]; }
    // How many pixels differ from the colour (r, g, b) by more than tolerance
    // in some channel.
    int countNot(int r, int g, int b, int tolerance = 0) const;
    // Writes the picture as a PNG through the engine's writer; false on
    // failure.
    bool writePng(const std::string& path) const;
    // Writes it as name.png into $ORVANE_TEST_PICTURES when that is set, so
    // that a developer can look at what a test drew.
    void keep(const std::string& name) const;
};

// Where the world point (x, y, z) lands in the current context's window, y
// counted from the bottom: the renderer's view matrix, then GL's projection
// and viewport. Leaves the view matrix loaded.
std::array<double, 2> orvWindowPoint(OrvRenderer* renderer, double x, double y, double z);

// The single integer glGetIntegerv gives for name in the current context.
int glInteger(unsigned int name);

// The first count (at most 4) values glGetLightfv gives for name of the light
// unit light (GL_LIGHT0 + n). Values the driver leaves unwritten read -99, so
// that a refused query cannot pass for a light's zeros.
std::vector<float> lightValues(unsigned int light, unsigned int name, int count);

// A renderer whose capability strings (GL_VERSION and GL_EXTENSIONS) come
// from the test: a name present in strings returns its value, null included;
// any other name asks the driver. They are read by initialize.
class OrvReplacedStringsRenderer : public OrvRendererOpenGL {
  public:
    std::map<unsigned int, const char*> strings;

  protected:
    const char* queryString(unsigned int name) override;
};

// A 640 x 480 window with a context and a renderer initialised on it, the
// log captured at the DEBUG level in a temporary folder. The renderer reads
// the driver's strings until a test replaces them. SetUp fails the test when
// any of it cannot be had.
class OrvGlTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The picture of the whole window.
    OrvPicture readPicture() const {
        return OrvPicture::readBackBuffer(window.info.width, window.info.height);
    }

    OrvTestLog log{OrvLog::DEBUG};
    OrvGlTestWindow window;
    OrvReplacedStringsRenderer* renderer = nullptr;
};
