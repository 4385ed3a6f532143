// The demo's own scene under the real driver: the state cache changes no
// pixel of it, its steady-state frames allocate nothing, and the offscreen
// EGL context draws it exactly as the GLX window does.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "orv_bench_scene.h"
#include "orv_bench_window.h"
#include "orv_demo.h"
#include "orv_demo_frame.h"
#include "orvane.h"
#include "perf_test_support.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

class DemoFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("LP_NUM_THREADS", "1", 1);
        // The EGL context draws offscreen and needs no window.
        if (!orvTestOnEgl()) {
            ASSERT_EQ(window.open(0, 0, OrvBenchScene::kWidth, OrvBenchScene::kHeight), "");
        }
        demo.setRenderContextKind(orvTestContextKind());
        ASSERT_EQ(
            demo.init(window.display, window.window, OrvBenchScene::kWidth, OrvBenchScene::kHeight),
            0)
            << demo.getError();
        renderer = static_cast<OrvRendererOpenGL*>(OrvRenderer::getInstance());
    }
    void TearDown() override { demo.shutdown(); }

    // The demo's frame with the shader's time held still, read back before
    // the swap.
    OrvPicture frameAt(float time) {
        orvDemoFrameWithoutSwap(demo, time, kFrameSeconds);
        return OrvPicture::readBackBuffer(OrvBenchScene::kWidth, OrvBenchScene::kHeight);
    }

    OrvTestLog log{OrvLog::NORMAL};
    OrvBenchWindow window;
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

// The demo's frame at a held shader time on a fresh engine with a render
// context of kind, read back before the swap. window is only read for GLX.
OrvPicture demoPictureOn(int kind, const OrvBenchWindow& window) {
    OrvDemo demo;
    demo.setRenderContextKind(kind);
    if (demo.init(window.display, window.window, OrvBenchScene::kWidth, OrvBenchScene::kHeight) !=
        0) {
        ADD_FAILURE() << "the demo did not start on context kind " << kind << ": "
                      << demo.getError();
        demo.shutdown();
        return OrvPicture();
    }
    demo.frame(kFrameSeconds);
    orvDemoFrameWithoutSwap(demo, 1.0f, kFrameSeconds);
    OrvPicture picture = OrvPicture::readBackBuffer(OrvBenchScene::kWidth, OrvBenchScene::kHeight);
    demo.shutdown();
    return picture;
}

// The largest difference of any colour channel between two pictures of one
// size, and how many pixels differ at all.
std::array<int, 2> pictureDifference(const OrvPicture& a, const OrvPicture& b) {
    std::array<int, 2> difference = {0, 0};
    for (size_t pixel = 0; pixel + 3 < a.rgba.size(); pixel += 4) {
        int largest = 0;
        for (size_t c = pixel; c < pixel + 3; ++c) {
            largest = std::max(largest, std::abs(a.rgba[c] - b.rgba[c]));
        }
        difference[0] = std::max(difference[0], largest);
        difference[1] += largest > 0 ? 1 : 0;
    }
    return difference;
}

// The same renderer draws on both contexts, on the same driver, so the
// offscreen picture is the window's pixel for pixel (measured under Mesa
// llvmpipe with one thread: no pixel differs).
TEST(DemoContextsTest, TheDemoSceneIsTheSameOnGlxAndEgl) {
    setenv("LP_NUM_THREADS", "1", 1);
    OrvTestLog log;
    OrvBenchWindow window;
    ASSERT_EQ(window.open(0, 0, OrvBenchScene::kWidth, OrvBenchScene::kHeight), "");
    const OrvPicture glx = demoPictureOn(OrvMain::KIND_OPENGL, window);
    const OrvPicture egl = demoPictureOn(OrvMain::KIND_EGL, window);
    ASSERT_EQ(glx.rgba.size(), egl.rgba.size());
    ASSERT_GT(glx.countNot(26, 26, 26, 2), 1000) << "the scene is drawn";
    glx.keep("demo_glx");
    egl.keep("demo_egl");
    const std::array<int, 2> difference = pictureDifference(glx, egl);
    EXPECT_EQ(difference[0], 0) << difference[1] << " pixels differ";
}

}  // namespace
