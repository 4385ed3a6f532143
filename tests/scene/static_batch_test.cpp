// Static batches seen through the recording renderer: how many draws a frame
// of many still boxes takes, what takes a box out of its batch or builds the
// batch again, the index width past 65,535 vertices, counts too large for one
// batch, and that batches cost no allocation per frame and leave no block
// behind.
#include <sys/resource.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "orv_bench_scene.h"
#include "orv_create_node.h"
#include "orv_engine_test.h"
#include "scene/orv_texture_mgr.h"
#include "orv_null_renderer.h"
#include "orvane.h"
#include "scene/orv_static_batch.h"
#include "scene/orv_static_batches.h"

namespace {

constexpr float kFrameSeconds = 0.016f;

void markStatic(const OrvBoxField& field) {
    for (OrvMesh* box : field.boxes()) {
        box->setStatic(1);
    }
}

// Public, so that the change table's functions reach the scene.
class StaticBatchTest : public OrvEngineTest {
  public:
    StaticBatchTest() : OrvEngineTest(OrvLog::NORMAL) {}

    // Builds boxes on materials, marks every box static and batches them.
    void makeScene(int boxes, int materials) {
        bench = std::make_unique<OrvBenchScene>(boxes, materials);
        markStatic(bench->field());
        scene()->buildStaticBatches();
    }
    void TearDown() override {
        bench.reset();
        OrvEngineTest::TearDown();
    }

    OrvScene* scene() const { return bench->scene(); }
    const OrvStaticBatches* batches() const { return scene()->getStaticBatches(); }
    OrvMesh* box(int index) const { return bench->field().boxes()[index]; }

    // Draw calls of one frame, on either vertex-array path.
    int frameDraws() {
        recorder.clear();
        bench->frame(kFrameSeconds);
        return recorder.count("drawElements") + recorder.count("drawElementsVBO");
    }
    uint32_t batchedFaces() const {
        uint32_t faces = 0;
        for (int32_t b = 0; b < batches()->getBatchCount(); ++b) {
            faces += batches()->getBatch(b)->getMeshData()->faceCount;
        }
        return faces;
    }
    // The index of the first recorded call of that operation, -1 for none.
    int firstCall(const std::string& name) const {
        for (size_t i = 0; i < recorder.calls.size(); ++i) {
            if (recorder.calls[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::unique_ptr<OrvBenchScene> bench;
};

TEST_F(StaticBatchTest, OneDrawPerMaterialInsteadOfOnePerBox) {
    struct Case {
        int boxes;
        int materials;
    };
    for (const Case& c : {Case{1000, 1}, Case{1000, 3}, Case{300, 8}}) {
        bench = std::make_unique<OrvBenchScene>(c.boxes, c.materials);
        EXPECT_EQ(frameDraws(), c.boxes);
        const size_t before = recorder.calls.size();
        markStatic(bench->field());
        EXPECT_EQ(scene()->buildStaticBatches(), c.boxes);
        EXPECT_EQ(frameDraws(), c.materials) << c.boxes << " boxes, " << c.materials;
        EXPECT_LT(recorder.calls.size() * 20, before) << c.boxes << " boxes, " << c.materials;
        EXPECT_EQ(batchedFaces(), 12u * c.boxes);
    }
}

TEST_F(StaticBatchTest, CameraThenLightsThenObjects) {
    makeScene(100, 2);
    // The camera sends its view only in a frame after it changed.
    static_cast<OrvCamera*>(scene()->getCameras()->first(0)->data)
        ->setFlag(ORV_FLAG_VIEW_CHANGED, 1);
    frameDraws();
    const int view = firstCall("lookAt");
    const int light = firstCall("enableLight");
    const int draw = firstCall("drawElementsVBO");
    ASSERT_GE(view, 0);
    EXPECT_LT(view, light);
    EXPECT_LT(light, draw);
}

// Each change is followed by a frame; the frame after it draws what the
// boxes now say, with the batch built again where needed.
TEST_F(StaticBatchTest, ChangesTakeABoxOutOrBuildTheBatchAgain) {
    struct Case {
        const char* label;
        std::function<void(StaticBatchTest&)> change;
        int extraDraws;
        int facesChange;
        int staysStatic;
    };
    const OrvVector4 elsewhere{5.0f, 1.0f, 5.0f, 1.0f};
    const Case cases[] = {
        {"moved", [&](StaticBatchTest& t) { t.box(7)->setPosition(&elsewhere); }, 1, -12, 0},
        {"same position again",
         [](StaticBatchTest& t) { t.box(7)->setPosition(t.box(7)->getPosition()); }, 0, 0, 1},
        {"not static any more", [](StaticBatchTest& t) { t.box(7)->setStatic(0); }, 1, -12, 0},
        {"draw flag off", [](StaticBatchTest& t) { t.box(7)->setFlag(ORV_FLAG_DRAW, 0); }, 0, -12,
         1},
        {"lighting off",
         [](StaticBatchTest& t) {
             t.box(7)->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 0);
         },
         1, 0, 1},
        {"back faces drawn as lines",
         [](StaticBatchTest& t) {
             t.box(7)->getRenderState()->getStates()[OrvRenderer::STATE_BACK_POLYGON_MODE] =
                 OrvRenderer::LINES;
         },
         1, 0, 1},
        {"new geometry of 48 triangles",
         [](StaticBatchTest& t) {
             t.box(7)->createBox(1.0f, 1.0f, 1.0f, 3, 3, 3);
             t.box(7)->setMaterial(t.bench->field().materials()[1], 0, -1);
         },
         0, 36, 1},
        {"destroyed",
         [](StaticBatchTest& t) { OrvSceneNodeMgr::getInstance()->destroyNode(t.box(7)); }, 0, -12,
         -1},
        {"taken off the scene", [](StaticBatchTest& t) { t.scene()->removeObject(t.box(7)); }, 0,
         -12, 1},
        {"material added",
         [](StaticBatchTest& t) { t.box(7)->setMaterial(t.bench->field().materials()[0], 6, -1); },
         0, 0, 1},
        {"material destroyed",
         [](StaticBatchTest& t) {
             OrvSceneNodeMgr::getInstance()->destroyNode(t.bench->field().materials()[1]);
         },
         -1, -12 * 50, 1},
        // Last: the field keeps its materials, and so the texture, for later rows.
        {"material textured",
         [](StaticBatchTest& t) {
             OrvTexture* texture = OrvTextureMgr::getInstance()->createTexture("batch_checker");
             t.bench->field().materials()[1]->setTexture(0, texture);
         },
         49, -12 * 50, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        makeScene(100, 2);
        EXPECT_EQ(frameDraws(), 2);
        const uint32_t faces = batchedFaces();
        c.change(*this);
        EXPECT_EQ(frameDraws(), 2 + c.extraDraws);
        EXPECT_EQ(static_cast<int>(batchedFaces()), static_cast<int>(faces) + c.facesChange);
        if (c.staysStatic >= 0) {
            EXPECT_EQ(box(7)->isStatic(), c.staysStatic);
        }
        EXPECT_EQ(frameDraws(), 2 + c.extraDraws) << "the next frame is steady";
        bench.reset();
    }
}

// A box at the origin (a program's material batches only there) with two
// material ranges: a textured range keeps it out wherever it stands.
TEST_F(StaticBatchTest, ATexturedRangeKeepsAMeshOutAfterAProgramRange) {
    struct Case {
        const char* label;
        bool programFirst;
        bool textured;
        int batched;
    };
    const Case cases[] = {
        {"program, plain", true, false, 1},
        {"program, textured", true, true, 0},
        {"textured, program", false, true, 0},
    };
    const OrvVector4 origin{0.0f, 0.0f, 0.0f, 1.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        bench = std::make_unique<OrvBenchScene>(1, 1);
        // Materials and textures outlive the scene: each case names its own.
        OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
        const std::string name = c.label;
        OrvMaterial* programmed = materials->getMaterial((name + " program").c_str());
        programmed->setGpuShader(createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER));
        OrvMaterial* other = materials->getMaterial((name + " other").c_str());
        if (c.textured) {
            OrvTexture* texture = OrvTextureMgr::getInstance()->createTexture(c.label);
            ASSERT_EQ(other->setTexture(0, texture), 0);
        }
        box(0)->setPosition(&origin);
        box(0)->setMaterial(c.programFirst ? programmed : other, 0, 5);
        box(0)->setMaterial(c.programFirst ? other : programmed, 6, -1);
        box(0)->setStatic(1);
        bench->frame(kFrameSeconds);
        EXPECT_EQ(scene()->buildStaticBatches(), c.batched);
        frameDraws();
        EXPECT_EQ(box(0)->getStaticBatch() != nullptr, c.batched == 1) << "after a frame";
        bench.reset();
    }
}

TEST_F(StaticBatchTest, AMovingBoxIsNeverDrawnThroughABatch) {
    makeScene(50, 1);
    OrvMesh* mover = box(3);
    for (int frame = 0; frame < 5; ++frame) {
        const OrvVector4 position{static_cast<float>(frame), 1.0f, 0.0f, 1.0f};
        mover->setPosition(&position);
        EXPECT_EQ(frameDraws(), 2);
        EXPECT_EQ(recorder.last("drawElements")->record, mover->getMeshData());
        EXPECT_EQ(mover->getStaticBatch(), nullptr);
        EXPECT_EQ(batchedFaces(), 12u * 49);
        // A program that batches again every frame does not take it back.
        scene()->buildStaticBatches();
    }
    EXPECT_EQ(mover->isStatic(), 0);
}

TEST_F(StaticBatchTest, IndicesWidenPast65535Vertices) {
    struct Case {
        int boxes;
        int format;
    };
    // A box has 36 vertices: 1,820 boxes hold 65,520, 1,821 hold 65,556.
    for (const Case& c :
         {Case{1820, OrvMeshData::INDICES_16}, Case{1821, OrvMeshData::INDICES_32}}) {
        makeScene(c.boxes, 1);
        const OrvMeshData* data = batches()->getBatch(0)->getMeshData();
        EXPECT_EQ(data->vertexCount, 36u * c.boxes);
        EXPECT_EQ(data->indexFormat, c.format) << c.boxes;
        uint32_t largest = 0;
        for (size_t at = 0; at < 3 * static_cast<size_t>(data->faceCount); ++at) {
            largest = std::max(largest, data->indexAt(at));
        }
        EXPECT_EQ(largest, data->vertexCount - 1);
        bench.reset();
    }
}

TEST_F(StaticBatchTest, TooManyVerticesForOneBatchDrawOneByOne) {
    bench = std::make_unique<OrvBenchScene>(20, 1);
    markStatic(bench->field());
    // Two records that claim 2^30 vertices each: the sum passes what one
    // record can index, and the batch must refuse before it allocates.
    const uint32_t vertices = box(0)->getMeshData()->vertexCount;
    box(0)->getMeshData()->vertexCount = 1u << 30;
    box(1)->getMeshData()->vertexCount = 1u << 30;
    EXPECT_EQ(scene()->buildStaticBatches(), 0);
    const std::string total = std::to_string((1ull << 31) + 18ull * vertices);
    EXPECT_TRUE(log.contains("OrvStaticBatch::build(): " + total +
                             " vertices and 240 triangles are too many for one batch; its meshes "
                             "draw one by one."));
    box(0)->getMeshData()->vertexCount = vertices;
    box(1)->getMeshData()->vertexCount = vertices;
    EXPECT_EQ(frameDraws(), 20);
}

// The address space of the process as it stands, in bytes.
rlim_t addressSpace() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmSize:") {
            rlim_t kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}

// In a child process whose address space is capped 1 MiB above what it
// uses: each of the batch's arrays of 72,000 vertices needs more.
TEST_F(StaticBatchTest, NoMemoryForTheBatchDrawsOneByOne) {
    constexpr int kBoxes = 2000;
    bench = std::make_unique<OrvBenchScene>(kBoxes, 1);
    markStatic(bench->field());
    const uint32_t vertices = kBoxes * box(0)->getMeshData()->vertexCount;
    const std::string warning =
        "OrvStaticBatch::build(): out of memory for " + std::to_string(vertices) +
        " vertices and " + std::to_string(12 * kBoxes) + " triangles; its meshes draw one by one.";
    EXPECT_EXIT(
        {
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            const rlim_t unlimited = limit.rlim_cur;
            limit.rlim_cur = addressSpace() + 1024 * 1024;
            setrlimit(RLIMIT_AS, &limit);
            const int batched = scene()->buildStaticBatches();
            limit.rlim_cur = unlimited;
            setrlimit(RLIMIT_AS, &limit);
            const int draws = frameDraws();
            const bool fine = batched == 0 && log.contains(warning) && draws == kBoxes;
            std::exit(fine ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(StaticBatchTest, NothingStaticChangesNoCall) {
    bench = std::make_unique<OrvBenchScene>(30, 2);
    recorder.clear();
    bench->frame(kFrameSeconds);
    const std::vector<std::string> plain = recorder.texts();
    EXPECT_EQ(scene()->buildStaticBatches(), 0);
    recorder.clear();
    bench->frame(kFrameSeconds);
    EXPECT_EQ(recorder.texts(), plain);
}

TEST_F(StaticBatchTest, ReleasingTheBatchesFreesEveryBlockAndBuffer) {
    bench = std::make_unique<OrvBenchScene>(200, 3);
    const size_t blocks = OrvMemoryAllocator::trackedBlockCount();
    markStatic(bench->field());
    scene()->buildStaticBatches();
    frameDraws();
    EXPECT_GT(OrvMemoryAllocator::trackedBlockCount(), blocks);
    recorder.clear();
    scene()->releaseStaticBatches();
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocks);
    EXPECT_EQ(recorder.count("destroyIBO"), 1);
    EXPECT_EQ(frameDraws(), 200);
}

TEST_F(StaticBatchTest, SteadyBatchedFramesAllocateNothing) {
    OrvNullRenderer nothing;
    makeScene(1000, 3);
    bench->frame(kFrameSeconds);
    const uint64_t before = OrvMemoryAllocator::allocationCount();
    for (int frame = 0; frame < 10; ++frame) {
        bench->frame(kFrameSeconds);
    }
    EXPECT_EQ(OrvMemoryAllocator::allocationCount() - before, 0u);
    bench.reset();
}

}  // namespace
