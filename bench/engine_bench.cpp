// What the engine itself costs, with a renderer that draws nothing: frames of
// scenes of 1 to 10,000 small lit boxes over 1, 8 and 64 materials (time per
// frame and per mesh), node creation and destruction by type, and uniform
// setting on a full table of 512, and the engine with many nodes alive:
// creating a million gizmos and terminating, their resident memory,
// destroying nodes one by one, and a plain new and delete beside them. The
// demo scene's frame is in engine_bench_demo.cpp, built when the demo is. The
// tracked allocator against malloc is measured by core_bench.
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
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

std::vector<OrvSceneNode*> createGizmos(int64_t count) {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    std::vector<OrvSceneNode*> gizmos;
    gizmos.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        gizmos.push_back(nodes->createNode(ORV_NODE_GIZMO, nullptr));
    }
    return gizmos;
}

// Resident bytes of the process, with the heap's free memory handed back.
double residentBytes() {
    malloc_trim(0);
    unsigned long size = 0;
    unsigned long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (std::fscanf(statm, "%lu %lu", &size, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// A million empty gizmos made and the engine terminated, as a program that
// built them would end; the engine is started again untimed. The counter is
// the resident memory each gizmo took while alive.
void BM_GizmosCreateAndTerminate(benchmark::State& state) {
    for (auto _ : state) {
        const double before = residentBytes();
        std::vector<OrvSceneNode*> gizmos = createGizmos(state.range(0));
        state.PauseTiming();
        state.counters["resident_per_gizmo"] = (residentBytes() - before) / state.range(0);
        gizmos.clear();
        gizmos.shrink_to_fit();
        state.ResumeTiming();
        OrvBenchEngine::stop();
        state.PauseTiming();
        OrvBenchEngine::start();
        OrvBenchEngine::useNullRenderer();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GizmosCreateAndTerminate)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// Nodes destroyed one by one in creation order (0) or in reverse (1).
void BM_DestroyNodesOneByOne(benchmark::State& state) {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<OrvSceneNode*> gizmos = createGizmos(state.range(0));
        state.ResumeTiming();
        if (state.range(1) == 0) {
            for (OrvSceneNode* gizmo : gizmos) {
                nodes->destroyNode(gizmo);
            }
        } else {
            for (auto it = gizmos.rbegin(); it != gizmos.rend(); ++it) {
                nodes->destroyNode(*it);
            }
        }
    }
}
BENCHMARK(BM_DestroyNodesOneByOne)
    ->ArgNames({"nodes", "reverse"})
    ->ArgsProduct({{10000, 80000}, {0, 1}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A plain new and delete anywhere in the program, with that many nodes alive:
// the replaced operator delete looks every block up in the tracking table.
void BM_PlainNewDeleteBesideNodes(benchmark::State& state) {
    std::vector<OrvSceneNode*> gizmos = createGizmos(state.range(0));
    for (auto _ : state) {
        char* block = new char[64];
        benchmark::DoNotOptimize(block);
        delete[] block;
    }
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    for (OrvSceneNode* gizmo : gizmos) {
        nodes->destroyNode(gizmo);
    }
}
BENCHMARK(BM_PlainNewDeleteBesideNodes)->Arg(0)->Arg(200000);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    OrvBenchEngine::start();
    benchmark::RunSpecifiedBenchmarks();
    OrvBenchEngine::stop();
    benchmark::Shutdown();
    return 0;
}
