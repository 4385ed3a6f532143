// Costs of mesh geometry and drawing: the box generator with its normals at
// 20, 60 and 200 points per edge, grouping the largest box's triangles by
// material, and the four drawing paths drawing that box under the GL driver
// (run it with a display, e.g. under xvfb-run), as triangles per second.
#include <GL/gl.h>

#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "orv_gl_test.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"
#include "render/orv_mesh_geometry.h"
#include "orv_mesh_record.h"
#include "opengl/orv_renderer_opengl.h"

namespace {

constexpr int kLargestBox = 200;

// The benchmarks' box: 50 x 100 x 50, the given points per edge, with normals.
void makeBox(OrvMeshData* data, int points) {
    OrvMeshGeometry::createBox(data, 50, 100, 50, points, points, points);
    OrvMeshGeometry::computeNormals(data);
}

void BM_BoxWithNormals(benchmark::State& state) {
    OrvMeshRecord record;
    const int points = static_cast<int>(state.range(0));
    for (auto _ : state) {
        makeBox(record.get(), points);
    }
    state.counters["triangles"] = record->faceCount;
}
BENCHMARK(BM_BoxWithNormals)->Arg(20)->Arg(60)->Arg(kLargestBox)->Unit(benchmark::kMillisecond);

// Three materials dealt out triangle by triangle, the worst order for the
// grouping; each run starts from that order again.
void BM_SortFacesByMaterial(benchmark::State& state) {
    OrvMeshRecord record;
    makeBox(record.get(), kLargestBox);
    OrvMeshData* data = record.get();
    const int32_t materials[3] = {11, 12, 13};
    for (uint32_t t = 0; t < data->faceCount; ++t) {
        data->faceMaterialIds[t] = materials[t % 3];
    }
    const std::vector<int32_t> ids(data->faceMaterialIds, data->faceMaterialIds + data->faceCount);
    const std::vector<uint32_t> indices(data->indices32, data->indices32 + 3 * data->faceCount);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(data->faceMaterialIds, ids.data(), ids.size() * sizeof(int32_t));
        std::memcpy(data->indices32, indices.data(), indices.size() * sizeof(uint32_t));
        state.ResumeTiming();
        benchmark::DoNotOptimize(OrvMeshGeometry::groupByMaterial(data, materials, 3));
    }
    state.counters["triangles"] = data->faceCount;
}
BENCHMARK(BM_SortFacesByMaterial)->Unit(benchmark::kMillisecond);

// The largest box, lit, filling most of a window, drawn as one range.
class DrawingScene {
  public:
    DrawingScene() {
        opened = window.open() == "";
        renderer.setContext(&window.context);
        opened = opened && renderer.initialize() == OrvRenderer::RESULT_OK;
        if (!opened) {
            return;
        }
        makeBox(record.get(), kLargestBox);
        record->materialRanges = ORV_NEW OrvMaterialRange[1];
        const float eye[3] = {90, 110, 160};
        const float centre[3] = {0, 0, 0};
        const float up[3] = {0, 1, 0};
        renderer.setViewport(0, 0, window.info.width, window.info.height);
        renderer.setPerspective(45.0f, 640.0f / 480.0f, 1.0f, 1000.0f);
        renderer.lookAt(eye, centre, up);
        renderer.enable(OrvRenderer::LIGHTING);
        renderer.enable(OrvRenderer::DEPTH_TEST);
        glEnable(GL_LIGHT0);
    }
    ~DrawingScene() {
        if (opened) {
            for (int array = 0; array < OrvMeshData::kAttributeCount; ++array) {
                renderer.destroyVBO(record.get(), array);
            }
            renderer.destroyIBO(record.get());
            renderer.deleteDisplayList(record.get());
            renderer.terminate();
        }
    }

    void frame(void (*draw)(OrvRendererOpenGL&, OrvMeshData*)) {
        renderer.clearColorBuffer(0, 0, 0, 1);
        renderer.clearDepthBuffer(1);
        renderer.loadViewMatrix();
        draw(renderer, record.get());
        glFinish();
    }

    OrvGlTestWindow window;
    OrvRendererOpenGL renderer;
    OrvMeshRecord record;
    bool opened = false;
};

void drawClientArrays(OrvRendererOpenGL& renderer, OrvMeshData* mesh) {
    renderer.drawMesh(mesh);
}

void drawBufferObjects(OrvRendererOpenGL& renderer, OrvMeshData* mesh) {
    renderer.drawMeshVBO(mesh);
}

void drawDisplayList(OrvRendererOpenGL& renderer, OrvMeshData* mesh) {
    if (mesh->materialRanges[0].displayList == 0) {
        renderer.compileDisplayList(mesh);
    }
    renderer.callDisplayList(mesh);
}

void drawImmediateMode(OrvRendererOpenGL& renderer, OrvMeshData* mesh) {
    renderer.drawImmediate(mesh);
}

// One window for every run: opening X displays in quick succession is
// refused now and then by a busy server.
DrawingScene& drawingScene() {
    static DrawingScene scene;
    return scene;
}

void BM_DrawPath(benchmark::State& state, void (*draw)(OrvRendererOpenGL&, OrvMeshData*)) {
    DrawingScene& scene = drawingScene();
    if (!scene.opened) {
        state.SkipWithError("no GL context: run with a display (xvfb-run)");
        return;
    }
    // Buffers and lists are made by the first frame, outside the timing.
    scene.frame(draw);
    for (auto _ : state) {
        scene.frame(draw);
    }
    state.counters["triangles/s"] =
        benchmark::Counter(static_cast<double>(scene.record->faceCount) * state.iterations(),
                           benchmark::Counter::kIsRate);
}
// The driver rasterises on threads of its own, so wall time is what counts.
BENCHMARK_CAPTURE(BM_DrawPath, client_arrays, drawClientArrays)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DrawPath, buffer_objects, drawBufferObjects)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DrawPath, display_list, drawDisplayList)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DrawPath, immediate_mode, drawImmediateMode)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
