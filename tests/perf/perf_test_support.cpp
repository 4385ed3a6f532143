#include "perf_test_support.h"

#include "orv_bench_scene.h"
#include "orvane.h"

BoxRecord::BoxRecord() {
    OrvMeshData* data = get();
    OrvMeshGeometry::createBox(data, 2.0f, 2.0f, 2.0f, 2, 2, 2);
    OrvMeshGeometry::computeNormals(data);
    data->materialRanges = ORV_NEW OrvMaterialRange[1];
    data->firstFace = 0;
    data->lastFace = static_cast<int32_t>(data->faceCount) - 1;
    data->materialRanges[0] = {data->firstFace, data->lastFace, 0, 0};
}

uint64_t allocationsDuring(const std::function<void()>& work) {
    const uint64_t before = OrvMemoryAllocator::allocationCount();
    work();
    return OrvMemoryAllocator::allocationCount() - before;
}

void PerfEngineTest::SetUp() {
    ASSERT_EQ(OrvMain::getInstance()->init(), 0);
}

void PerfEngineTest::TearDown() {
    OrvMain::getInstance()->terminate();
}

void PerfGlTest::SetUp() {
    PerfEngineTest::SetUp();
    ASSERT_EQ(window.open(OrvBenchScene::kWidth, OrvBenchScene::kHeight), "");
    renderer = ORV_NEW OrvRendererOpenGL();
    renderer->setContext(&window.context);
    ASSERT_EQ(renderer->initialize(), OrvRenderer::RESULT_OK);
}

// The nodes give their GL objects back through the renderer, so the engine
// stops before the renderer goes.
void PerfGlTest::TearDown() {
    PerfEngineTest::TearDown();
    if (renderer != nullptr) {
        renderer->terminate();
        ORV_DELETE(renderer);
    }
}

OrvPicture PerfGlTest::readPicture() const {
    return OrvPicture::readBackBuffer(window.info.width, window.info.height);
}
