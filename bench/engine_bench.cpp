// What the engine itself costs, with a renderer that draws nothing: frames of
// scenes of 1 to 10,000 small lit boxes over 1, 8 and 64 materials (time per
// frame and per mesh), node creation and destruction by type, and uniform
// setting on a full table of 512. The demo scene's frame is in
// engine_bench_demo.cpp, built when the demo is. The tracked allocator
// against malloc is measured by core_bench.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "orv_bench_engine.h"
#include "orv_bench_scene.h"
#include "orvane.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

void BM_SceneFrame(benchmark::State& state) {
    OrvBenchEngine::useNullRenderer();
    const int meshes = static_cast<int>(state.range(0));
    OrvBenchScene scene(meshes, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        scene.frame(kFrameSeconds);
    }
    state.counters["per_mesh"] = benchmark::Counter(
        meshes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SceneFrame)
    ->ArgNames({"meshes", "materials"})
    ->ArgsProduct({{1, 10, 100, 1000, 10000}, {1, 8, 64}})
    ->Unit(benchmark::kMicrosecond);

const char* const kNodeTypes[] = {ORV_NODE_MESH,   ORV_NODE_MATERIAL, ORV_NODE_LIGHT,
                                  ORV_NODE_CAMERA, ORV_NODE_GIZMO,    ORV_NODE_GPU_SHADER};

void BM_NodeCreateDestroy(benchmark::State& state) {
    OrvBenchEngine::useNullRenderer();
    const char* type = kNodeTypes[state.range(0)];
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    for (auto _ : state) {
        nodes->destroyNode(nodes->createNode(type, nullptr));
    }
    state.SetLabel(type);
}
BENCHMARK(BM_NodeCreateDestroy)->DenseRange(0, 5);

// Every entry of a full table set by name once per iteration: the lookup by
// name is what the demo pays each frame for "time".
void BM_SetUniformFullTable(benchmark::State& state) {
    OrvBenchEngine::useNullRenderer();
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvGpuShader* shader =
        static_cast<OrvGpuShader*>(nodes->createNode(ORV_NODE_GPU_SHADER, nullptr));
    std::vector<std::string> names;
    for (int i = 0; i < OrvGpuProgram::kMaxUniforms; ++i) {
        names.push_back("uniform_" + std::to_string(i));
        shader->setUniform1f(names.back().c_str(), 0.0f);
    }
    float value = 0.0f;
    for (auto _ : state) {
        for (const std::string& name : names) {
            shader->setUniform1f(name.c_str(), value);
        }
        shader->bind();
        value += 1.0f;
    }
    state.counters["per_uniform"] = benchmark::Counter(
        OrvGpuProgram::kMaxUniforms,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    nodes->destroyNode(shader);
}
BENCHMARK(BM_SetUniformFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    OrvBenchEngine::start();
    benchmark::RunSpecifiedBenchmarks();
    OrvBenchEngine::stop();
    benchmark::Shutdown();
    return 0;
}
