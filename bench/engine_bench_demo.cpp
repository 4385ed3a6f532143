// The demo scene's frame with the renderer that draws nothing: the demo is
// started on a real window (its set-up needs the GL renderer), then the null
// renderer takes over for the frames. A frame is the demo's renderFrame: the
// shader's time, update, begin, render, overlay text, end, without the swap.
#include <string>

#include <benchmark/benchmark.h>

#include "orv_bench_engine.h"
#include "orv_bench_scene.h"
#include "orv_demo.h"
#include "orv_test_window.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

// The window outlives the engine's stop, which still releases the render
// context on it.
struct DemoRun {
    DemoRun() {
        failure = window.open(OrvBenchScene::kWidth, OrvBenchScene::kHeight);
        if (failure.empty() && demo.init(window.info.display, window.info.window,
                                         OrvBenchScene::kWidth, OrvBenchScene::kHeight) != 0) {
            failure = demo.getError();
        }
    }

    OrvTestWindow window;
    OrvDemo demo;
    std::string failure;
};

void BM_DemoSceneFrame(benchmark::State& state) {
    static DemoRun run;
    if (!run.failure.empty()) {
        state.SkipWithError(run.failure.c_str());
        return;
    }
    OrvBenchEngine::useNullRenderer();
    float time = 0.0f;
    for (auto _ : state) {
        run.demo.renderFrame(time, kFrameSeconds);
        time += kFrameSeconds;
    }
}
BENCHMARK(BM_DemoSceneFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
