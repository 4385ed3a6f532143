// The triangle node against the recording renderer: its record, what a frame
// sends with and without a shader on its first material, and a released
// triangle that must not be drawn.
#include "orv_create_node.h"
#include "orv_engine_test.h"
#include "orvane.h"

namespace {

using TriangleTest = OrvEngineTest;

const std::vector<std::string> kPlainDraw = {"loadViewMatrix", "multMatrix", "applyRenderStates",
                                             "drawTriangle"};

}  // namespace

TEST_F(TriangleTest, NewTriangleHoldsThreeBlackVertices) {
    OrvTriangle* triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE);
    ASSERT_NE(triangle, nullptr);
    EXPECT_EQ(std::string(triangle->getName()), "triangle_" + std::to_string(triangle->getId()));
    EXPECT_EQ(triangle->getTypeId(), ORV_KIND_TRIANGLE);
    EXPECT_STREQ(triangle->getTypeName(), ORV_NODE_TRIANGLE);
    EXPECT_EQ(triangle->isKindOf(ORV_KIND_SCENE_OBJECT), 1);
    const std::vector<int> flags = {triangle->getFlag(0), triangle->getFlag(1),
                                    triangle->getFlag(4)};
    EXPECT_EQ(flags, (std::vector<int>{1, 1, 1}));

    const OrvMeshData* mesh = triangle->getMeshData();
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCount, 3u);
    EXPECT_EQ(mesh->faceCount, 1u);
    EXPECT_STREQ(mesh->name, "");
    for (int a = 0; a < OrvMeshData::kAttributeCount; ++a) {
        ASSERT_NE(mesh->attributes[a], nullptr) << a;
        EXPECT_EQ(mesh->attributeDirty[a], 1) << a;
        for (int v = 0; v < 3; ++v) {
            const float* e = mesh->attributes[a][v];
            EXPECT_EQ(std::vector<float>(e, e + 4), (std::vector<float>{0, 0, 0, 1}));
        }
    }
}

TEST_F(TriangleTest, UpdateAndApplyClearTheirFlags) {
    OrvTriangle* triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE);
    triangle->setFlag(3, 1);
    triangle->update(0.016f);
    EXPECT_EQ(triangle->getFlag(1), 0);
    EXPECT_EQ(triangle->getFlag(3), 1);
    triangle->apply();
    EXPECT_EQ(triangle->getFlag(3), 0);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(TriangleTest, DrawsWithItsVertexColours) {
    OrvTriangle* triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE, "tri");
    const OrvVector4 where{1, 2, 3, 1};
    triangle->setPosition(&where);
    recorder.clear();

    triangle->render(0.016f);
    EXPECT_EQ(recorder.names(), kPlainDraw);
    EXPECT_EQ(recorder.last("drawTriangle")->record, triangle->getMeshData());
    const std::vector<float>& matrix = recorder.last("multMatrix")->values;
    EXPECT_EQ(std::vector<float>(matrix.begin() + 12, matrix.end()),
              (std::vector<float>{1, 2, 3, 1}));

    recorder.clear();
    triangle->setFlag(4, 0);
    triangle->render(0.016f);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(TriangleTest, ShaderOfTheFirstMaterialFramesTheDraw) {
    OrvTriangle* triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE);
    OrvGpuShader* shader = createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER, "flat");
    OrvMaterial* shaded = OrvMaterialMgr::getInstance()->getMaterial("shaded");
    shaded->setGpuShader(shader);
    OrvRenderState* state = triangle->getRenderState();
    state->clearMaterials();
    state->addMaterial(shaded);
    state->addMaterial(ORV_DEFAULT_MATERIAL_NAME);
    recorder.clear();

    triangle->render(0.016f);
    EXPECT_EQ(recorder.texts().back(), "activeGpuShader(null)");
    EXPECT_EQ(recorder.names(),
              (std::vector<std::string>{"loadViewMatrix", "multMatrix", "applyRenderStates",
                                        "activeGpuShader", "updateGpuShaderUniforms",
                                        "drawTriangle", "activeGpuShader"}));
    EXPECT_EQ(recorder.count("applyMaterial"), 0) << "a triangle's look is its vertex colours";

    // The shader of a material further down the list is not used.
    state->clearMaterials();
    state->addMaterial(ORV_DEFAULT_MATERIAL_NAME);
    state->addMaterial(shaded);
    recorder.clear();
    triangle->render(0.016f);
    EXPECT_EQ(recorder.names(), kPlainDraw);
}

TEST_F(TriangleTest, ReleasedTriangleDrawsNothing) {
    OrvTriangle* triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE);
    triangle->release();
    EXPECT_EQ(triangle->getMeshData()->attributes[OrvMeshData::POSITIONS], nullptr);
    recorder.clear();
    triangle->render(0.016f);
    EXPECT_EQ(recorder.count("drawTriangle"), 0);
}
