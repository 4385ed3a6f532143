// Static batching without a driver: the time to build the batches of a field
// of small still boxes on one material, and an engine frame of the field
// drawn through them (compare BM_SceneFrame, one draw per box).
#include <benchmark/benchmark.h>

#include "orv_bench_engine.h"
#include "orv_bench_scene.h"
#include "orvane.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

void markStatic(const OrvBoxField& field) {
    for (OrvMesh* box : field.boxes()) {
        box->setStatic(1);
    }
}

void BM_BuildStaticBatches(benchmark::State& state) {
    OrvBenchEngine::useNullRenderer();
    OrvBenchScene scene(static_cast<int>(state.range(0)), 1);
    markStatic(scene.field());
    for (auto _ : state) {
        scene.scene()->buildStaticBatches();
    }
}
BENCHMARK(BM_BuildStaticBatches)
    ->ArgName("boxes")
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

void BM_BatchedSceneFrame(benchmark::State& state) {
    OrvBenchEngine::useNullRenderer();
    OrvBenchScene scene(static_cast<int>(state.range(0)), 1);
    markStatic(scene.field());
    scene.scene()->buildStaticBatches();
    for (auto _ : state) {
        scene.frame(kFrameSeconds);
    }
}
BENCHMARK(BM_BatchedSceneFrame)
    ->ArgName("boxes")
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
