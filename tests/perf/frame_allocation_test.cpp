// Once a scene is built, its frames allocate nothing: no list nodes, no
// scratch arrays, no strings. Counted over every allocation the process makes
// through the replaced operator new, with the renderer that draws nothing.
#include "orv_bench_scene.h"
#include "orv_null_renderer.h"
#include "orvane.h"
#include "perf_test_support.h"

namespace {

constexpr float kFrameSeconds = 0.016f;
constexpr int kFrames = 10;

using FrameAllocationTest = PerfEngineTest;

TEST_F(FrameAllocationTest, SteadyStateFramesOfManyBoxesAllocateNothing) {
    OrvNullRenderer renderer;
    for (int materials : {1, 8, 64}) {
        std::unique_ptr<OrvBenchScene> scene;
        // The count sees the engine's own allocations: building allocates.
        EXPECT_GT(
            allocationsDuring([&] { scene = std::make_unique<OrvBenchScene>(200, materials); }),
            0u);
        const uint64_t allocations = allocationsDuring([&] {
            for (int frame = 0; frame < kFrames; ++frame) {
                scene->frame(kFrameSeconds);
            }
        });
        EXPECT_EQ(allocations, 0u) << materials << " materials";
    }
}

}  // namespace
