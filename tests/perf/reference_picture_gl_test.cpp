// The frame benchmark's plain OpenGL reference draws the picture the engine
// draws, or its ratios compare different work: 1,000 lit boxes, plain and
// wearing the box field's mipmapped checker, on each drawing path, drawn by
// the engine in the test's window and by OrvReferenceScene in a window and
// context of its own. Both run the same driver on the same triangles and
// textures; measured under llvmpipe, no pixel differs at all. The reference
// needs an X window, so the EGL run leaves these tests out.
#include <string>

#include "orv_reference_scene.h"
#include "orvane.h"
#include "orvane_opengl.h"
#include "perf_test_support.h"

namespace {

constexpr float kFrameSeconds = 0.016f;
constexpr int kBoxes = 1000;
constexpr int kMaterials = 8;
// The checker must change at least this many pixels, by more than a rounding
// step, to count as drawn.
constexpr int kTexturedPixelsAtLeast = 5000;

struct Case {
    const char* label;
    // The OrvMeshData option that selects the path; vertexArrays is the
    // boxes' own.
    int path;
    bool textured;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.label;
}

void selectPath(const OrvBoxField& field, int path) {
    for (OrvMesh* box : field.boxes()) {
        OrvMeshData* data = box->getMeshData();
        data->setOption(OrvMeshData::vertexArrays, 0);
        data->setOption(path, 1);
        if (path == OrvMeshData::bufferObjects) {
            data->setOption(OrvMeshData::vertexArrays, 1);
        }
    }
}

class ReferencePictureTest : public PerfGlTest, public ::testing::WithParamInterface<Case> {
  protected:
    OrvPicture engineFrame(OrvBenchScene& bench) {
        bench.frame(kFrameSeconds);
        return readPicture();
    }

    // The reference's picture of the scene, drawn in a context of its own;
    // the engine's context is current again afterwards.
    OrvPicture referenceFrame(OrvScene* scene) {
        OrvTestWindow referenceWindow;
        EXPECT_EQ(referenceWindow.open(OrvBenchScene::kWidth, OrvBenchScene::kHeight), "");
        OrvRenderContextOpenGL referenceContext;
        EXPECT_EQ(referenceContext.create(&referenceWindow.info), 0);
        OrvPicture picture;
        {
            context->makeCurrent();
            OrvReferenceScene reference(scene, nullptr);
            referenceContext.makeCurrent();
            reference.setUp(0);
            reference.frame(0.0f);
            picture = OrvPicture::readBackBuffer(OrvBenchScene::kWidth, OrvBenchScene::kHeight);
        }
        referenceContext.destroy();
        context->makeCurrent();
        return picture;
    }
};

TEST_P(ReferencePictureTest, ReferenceDrawsTheEnginesPicture) {
    const Case& c = GetParam();
    OrvBenchScene bench(kBoxes, kMaterials);
    OrvBoxField& field = bench.field();
    selectPath(field, c.path);
    if (c.textured) {
        ASSERT_NE(field.addTexture(), nullptr);
    }
    engineFrame(bench);
    const OrvPicture engine = engineFrame(bench);
    ASSERT_GT(engine.countNot(26, 26, 26, 2), 10000) << "a picture of nothing proves nothing";
    const OrvPicture reference = referenceFrame(bench.scene());
    EXPECT_TRUE(picturesMatch(engine, reference));
    engine.keep(std::string("engine_") + c.label);
    reference.keep(std::string("reference_") + c.label);
    if (c.textured) {
        // Without the checker the same frame must look clearly different, or
        // neither side showed it.
        field.removeTexture();
        const OrvPicture plain = engineFrame(bench);
        EXPECT_GE(comparePictures(engine, plain, kPictureChannelTolerance).pixels,
                  kTexturedPixelsAtLeast);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ManyBoxes, ReferencePictureTest,
    ::testing::Values(Case{"client_arrays", OrvMeshData::vertexArrays, false},
                      Case{"client_arrays_textured", OrvMeshData::vertexArrays, true},
                      Case{"buffer_objects_textured", OrvMeshData::bufferObjects, true},
                      Case{"display_list_textured", OrvMeshData::displayList, true},
                      Case{"immediate_mode_textured", OrvMeshData::immediateMode, true}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.label); });

}  // namespace
