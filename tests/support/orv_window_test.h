// OrvWindowTest: OrvEngineTest on an X window of the test's own, with the
// render context made through the engine root on it and made current, as a
// program does before it asks for a renderer. The recording renderer stays
// the current one. A test that cannot get a display or a context fails; it
// is never skipped.
#pragma once

#include "orv_engine_test.h"
#include "orv_picture.h"
#include "orv_test_window.h"
#include "render/orv_render_context.h"

class OrvWindowTest : public OrvEngineTest {
  protected:
    explicit OrvWindowTest(int level = OrvLog::DEBUG, int width = OrvTestWindow::kWidth,
                           int height = OrvTestWindow::kHeight)
        : OrvEngineTest(level), width(width), height(height) {}

    // Opens the window, then starts the engine and makes its context.
    void SetUp() override;

    // The back buffer of the whole window.
    OrvPicture readPicture() const {
        return OrvPicture::readBackBuffer(window.info.width, window.info.height);
    }

    // Declared before the engine's context, which the engine's stop
    // releases while the window still stands.
    OrvTestWindow window;
    OrvRenderContext* context = nullptr;

  private:
    int width;
    int height;
};
