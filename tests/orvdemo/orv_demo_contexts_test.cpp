// The demo on both render contexts: the offscreen EGL context draws the
// demo's scene exactly as the GLX context draws it in an X window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "orv_demo.h"
#include "orv_picture.h"
#include "orv_test_log.h"
#include "orv_test_window.h"
#include "orvane.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kFrameSeconds = 0.016f;

// The demo's frame at a held shader time on a fresh engine with a render
// context of kind, read back before the swap. window is only read for GLX.
OrvPicture demoPictureOn(int kind, const OrvTestWindow& window) {
    OrvDemo demo;
    demo.setRenderContextKind(kind);
    if (demo.init(window.info.display, window.info.window, kWidth, kHeight) != 0) {
        ADD_FAILURE() << "the demo did not start on context kind " << kind << ": "
                      << demo.getError();
        demo.shutdown();
        return OrvPicture();
    }
    demo.frame(kFrameSeconds);
    demo.renderFrame(1.0f, kFrameSeconds);
    OrvPicture picture = OrvPicture::readBackBuffer(kWidth, kHeight);
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
TEST(OrvDemoContexts, TheDemoSceneIsTheSameOnGlxAndEgl) {
    setenv("LP_NUM_THREADS", "1", 1);
    OrvTestLog log;
    OrvTestWindow window;
    ASSERT_EQ(window.open(kWidth, kHeight), "");
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
