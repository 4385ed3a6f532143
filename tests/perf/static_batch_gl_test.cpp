// Static batches under the real driver: the demo scene with many boxes looks
// the same drawn through batches as drawn one mesh at a time, as built and
// after each kind of change. Batched positions are transformed on the CPU,
// so a vertex can land a rounding step away from where the driver puts it:
// pixels along the boxes' edges may differ, nothing else.
#include <functional>
#include <string>

#include "demo_gl_test.h"
#include "scene/orv_static_batches.h"

namespace {

constexpr float kShaderTime = 1.0f;

struct Case {
    const char* label;
    int boxes;
    int materials;
    std::function<void(OrvScene*, OrvBoxField&)> change;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.label;
}

class DemoBatchTest : public DemoGlTest {
  protected:
    OrvPicture frame() { return frameAt(kShaderTime); }

    // Marks every mesh of the demo's scene static, the demo's own included.
    void markAllStatic() {
        OrvLinkedList* meshes = demo.getScene()->getMeshes();
        for (OrvLinkedListNode* n = meshes->first(0); n != nullptr; n = meshes->next()) {
            static_cast<OrvMesh*>(n->data)->setStatic(1);
        }
    }
};

class StaticBatchPictureTest : public DemoBatchTest, public ::testing::WithParamInterface<Case> {};

// The batched picture is taken after the change, the one-by-one picture after
// the batches are released.
TEST_P(StaticBatchPictureTest, BatchedLooksLikeOneByOne) {
    const Case& c = GetParam();
    OrvScene* scene = demo.getScene();
    OrvBoxField field(scene, c.boxes, c.materials);
    markAllStatic();
    frame();
    ASSERT_GE(scene->buildStaticBatches(), c.boxes);
    frame();
    c.change(scene, field);
    const OrvPicture batched = frame();
    const int batchCount = scene->getStaticBatches()->getBatchCount();
    scene->releaseStaticBatches();
    const OrvPicture plain = frame();
    ASSERT_GT(plain.countNot(26, 26, 26, 2), 10000) << "a picture of nothing proves nothing";
    // picturesMatch allows 79 of the window's 786,432 pixels. Measured under
    // llvmpipe: 3 pixels differ at all, 1 by more than the tolerance (worst
    // channel 18), in every case.
    EXPECT_TRUE(picturesMatch(batched, plain));
    EXPECT_GE(batchCount, 1);
    batched.keep(std::string("batched_") + c.label);
    plain.keep(std::string("plain_") + c.label);
}

const OrvVector4 kElsewhere{12.0f, 2.0f, -30.0f, 1.0f};
const float kOrange[4] = {1.0f, 0.5f, 0.0f, 1.0f};

INSTANTIATE_TEST_SUITE_P(
    DemoPlusBoxes, StaticBatchPictureTest,
    ::testing::Values(
        Case{"as_built", 1000, 3, [](OrvScene*, OrvBoxField&) {}},
        Case{"one_box_moved", 1000, 3,
             [](OrvScene*, OrvBoxField& f) { f.boxes()[500]->setPosition(&kElsewhere); }},
        Case{"one_box_destroyed", 1000, 3,
             [](OrvScene*, OrvBoxField& f) {
                 OrvSceneNodeMgr::getInstance()->destroyNode(f.boxes()[500]);
             }},
        Case{"material_colour_changed", 1000, 3,
             [](OrvScene*, OrvBoxField& f) { f.materials()[1]->setDiffuse(kOrange); }},
        Case{"past_65535_vertices", 3000, 1, [](OrvScene*, OrvBoxField&) {}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.label); });

// Batches in GL buffers, left built until the engine stops: frames after the
// first upload allocate nothing, and the stop leaves no block behind.
TEST_F(DemoBatchTest, SteadyFramesAllocateNothingAndTheStopLeaksNothing) {
    OrvBoxField field(demo.getScene(), 1000, 3);
    markAllStatic();
    frame();
    ASSERT_GE(demo.getScene()->buildStaticBatches(), 1000);
    frame();
    EXPECT_EQ(allocationsDuring([&] {
                  for (int i = 0; i < 5; ++i) {
                      demo.renderFrame(kShaderTime, kFrameSeconds);
                  }
              }),
              0u);
    OrvLog::getInstance()->setLevel(OrvLog::DETAILED_DEBUG);
    demo.shutdown();
    EXPECT_TRUE(
        log.contains("OrvMemoryAllocator::dumpMemoryLeaks(): Yeah! No memory leak! "
                     "Congratulations! You're a smart pointer man ;)"));
    EXPECT_EQ(log.text().find("bytes unfreed"), std::string::npos);
}

}  // namespace
