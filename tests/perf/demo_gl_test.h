// DemoGlTest: the demo itself started on a window of the benchmark scenes'
// size, its OpenGL renderer current, with the log at its normal level. The
// demo starts the engine itself, so the log is the only rung below. On
// ORVANE_TEST_CONTEXT=egl the demo runs on the offscreen EGL context, with no
// window.
#pragma once

#include <cstdlib>

#include "orv_demo.h"
#include "orv_logged_test.h"
#include "orv_test_context.h"
#include "orv_test_window.h"
#include "orvane.h"
#include "perf_test_support.h"

class DemoGlTest : public OrvLoggedTest {
  protected:
    static constexpr float kFrameSeconds = 0.016f;

    DemoGlTest() : OrvLoggedTest(OrvLog::NORMAL) {}

    void SetUp() override {
        setenv("LP_NUM_THREADS", "1", 1);
        ASSERT_EQ(window.openForTestContext(OrvBenchScene::kWidth, OrvBenchScene::kHeight), "");
        demo.setRenderContextKind(orvTestContextKind());
        ASSERT_EQ(demo.init(window.info.display, window.info.window, OrvBenchScene::kWidth,
                            OrvBenchScene::kHeight),
                  0)
            << demo.getError();
        renderer = static_cast<OrvRendererOpenGL*>(OrvRenderer::getInstance());
    }
    void TearDown() override { demo.shutdown(); }

    // The demo's frame with the shader's time held still, read back before
    // the swap.
    OrvPicture frameAt(float time) {
        demo.renderFrame(time, kFrameSeconds);
        return OrvPicture::readBackBuffer(OrvBenchScene::kWidth, OrvBenchScene::kHeight);
    }

    OrvTestWindow window;
    OrvDemo demo;
    OrvRendererOpenGL* renderer = nullptr;
};
