// The demo's own scene under the real driver: the state cache changes no
// pixel of it, and its steady-state frames allocate nothing.
#include "orv_demo.h"
#include "orv_logged_test.h"
#include "orv_test_window.h"
#include "orvane.h"
#include "perf_test_support.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

// The demo starts the engine itself, so the log is the only rung below.
class DemoFrameTest : public OrvLoggedTest {
  protected:
    DemoFrameTest() : OrvLoggedTest(OrvLog::NORMAL) {}

    void SetUp() override {
        setenv("LP_NUM_THREADS", "1", 1);
        ASSERT_EQ(window.open(OrvBenchScene::kWidth, OrvBenchScene::kHeight), "");
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

TEST_F(DemoFrameTest, PicturesAreTheSameWithTheCacheOnAndOff) {
    demo.frame(kFrameSeconds);
    const OrvPicture cached = frameAt(1.0f);
    ASSERT_GT(cached.countNot(26, 26, 26, 2), 1000);
    renderer->setStateCache(0);
    const OrvPicture uncached = frameAt(1.0f);
    EXPECT_TRUE(cached.rgba == uncached.rgba);
}

TEST_F(DemoFrameTest, SteadyStateFramesAllocateNothing) {
    demo.frame(kFrameSeconds);
    demo.frame(kFrameSeconds);
    const uint64_t allocations = allocationsDuring([&] {
        for (int frame = 0; frame < 5; ++frame) {
            demo.frame(kFrameSeconds);
        }
    });
    EXPECT_EQ(allocations, 0u);
}

}  // namespace
