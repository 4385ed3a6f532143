// OrvTestWindow: a plain mapped X window on $DISPLAY of its own connection,
// for the tests and benchmarks that need one. Whatever draws into it makes
// its own render context; the window is destroyed and the display closed
// with the object.
#pragma once

#include <string>

#include "render/orv_window_info.h"

class OrvTestWindow {
  public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    OrvTestWindow() = default;
    ~OrvTestWindow();

    OrvTestWindow(const OrvTestWindow&) = delete;
    OrvTestWindow& operator=(const OrvTestWindow&) = delete;

    // Opens the display and maps a width x height window at (x, y) of the
    // default screen. Returns "" on success, else what failed.
    std::string open(int width = kWidth, int height = kHeight, int x = 0, int y = 0);
    // What the tests' render context draws on (orv_test_context.h): this
    // window on GLX; on EGL no X connection at all, only info's size and
    // bits, which are all the offscreen context reads.
    std::string openForTestContext(int width = kWidth, int height = kHeight);

    // The windows directly inside the window: the drawing windows render
    // contexts made on it and have not destroyed.
    unsigned int childWindowCount() const;

    // Filled by open: display, window and size, with 32 colour, 24 depth and
    // 8 stencil bits asked of a context on it.
    OrvWindowInfo info = {};

  private:
    void describe(int width, int height);
};
