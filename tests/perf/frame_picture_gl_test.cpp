// Frames of many lit boxes under the real driver: the state cache changes no
// pixel, and once the scene is built a frame allocates nothing, the driver's
// own work included.
#include "orv_bench_scene.h"
#include "orvane.h"
#include "perf_test_support.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

using ManyBoxFrameTest = PerfGlTest;

TEST_F(ManyBoxFrameTest, PicturesAreTheSameWithTheCacheOnAndOff) {
    OrvBenchScene scene(1000, 8);
    scene.frame(kFrameSeconds);
    const OrvPicture cached = readPicture();
    // A picture of nothing would match itself whatever the cache did.
    ASSERT_GT(cached.countNot(26, 26, 26, 2), 10000);

    renderer->setStateCache(0);
    scene.frame(kFrameSeconds);
    const OrvPicture uncached = readPicture();
    EXPECT_TRUE(cached.rgba == uncached.rgba);

    renderer->setStateCache(1);
    scene.frame(kFrameSeconds);
    EXPECT_TRUE(cached.rgba == readPicture().rgba);
}

TEST_F(ManyBoxFrameTest, SteadyStateFramesAllocateNothing) {
    OrvBenchScene scene(1000, 8);
    scene.frame(kFrameSeconds);
    context->swapBuffers();
    const uint64_t allocations = allocationsDuring([&] {
        for (int frame = 0; frame < 5; ++frame) {
            scene.frame(kFrameSeconds);
            context->swapBuffers();
        }
    });
    EXPECT_EQ(allocations, 0u);
}

}  // namespace
