// The demo's own scene under the real driver: the state cache changes no
// pixel of it, and its steady-state frames allocate nothing.
#include "demo_gl_test.h"

namespace {

using DemoFrameTest = DemoGlTest;

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
