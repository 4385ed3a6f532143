// Scene objects through the plainest of them, the gizmo: position and
// transform, the render-state block and its access rules, the material list
// that starts with the default material, and the local axes.
#include "scene_graph_test_support.h"

namespace {

using SceneObjectTest = SceneGraphTest;

std::string matrixText(const char* operation, float x, float y, float z) {
    char text[160];
    snprintf(text, sizeof(text), "%s(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, %g, %g, %g, 1)", operation,
             x, y, z);
    return text;
}

}  // namespace

TEST_F(SceneObjectTest, NewGizmoHasDefaultsAndSharesTheDefaultMaterial) {
    OrvGizmo* first = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    OrvGizmo* second = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    ASSERT_NE(first, nullptr);

    EXPECT_EQ(std::string(first->getName()), "node_" + std::to_string(first->getId()));
    for (int code : {1, 2, 3}) {
        EXPECT_EQ(first->isKindOf(code), 1) << code;
    }
    for (int flag = 0; flag < OrvSceneNode::kFlagCount; ++flag) {
        EXPECT_EQ(first->getFlag(flag), 0) << flag;
    }
    const OrvVector4* position = first->getPosition();
    EXPECT_EQ(position->x, 0.0f);
    EXPECT_EQ(position->w, 1.0f);

    const int32_t expectedStates[OrvRenderState::kStateCount] = {1, 0, 0, 1, 1, 0, 0,
                                                                 0, 0, 0, 0, 0, 2, 2};
    OrvRenderState* state = first->getRenderState();
    ASSERT_NE(state, nullptr);
    for (int i = 0; i < OrvRenderState::kStateCount; ++i) {
        EXPECT_EQ(state->getStates()[i], expectedStates[i]) << i;
    }

    ASSERT_EQ(state->getMaterialCount(), 1);
    OrvMaterial* material = state->getMaterial(0);
    ASSERT_NE(material, nullptr);
    EXPECT_STREQ(material->getName(), "orvane_default_material");
    EXPECT_EQ(second->getRenderState()->getMaterial(0), material);
    EXPECT_EQ(OrvMaterialMgr::getInstance()->getCount(), 1);
}

TEST_F(SceneObjectTest, SetPositionMarksAndUpdateRebuilds) {
    OrvGizmo* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    OrvSceneObjectTransform* transform = gizmo->getTransform();
    EXPECT_EQ(transform->matrix.m[0], 0.0f);

    const OrvVector4 position{0, 50, 0, 1};
    gizmo->setPosition(&position);
    EXPECT_EQ(gizmo->getFlag(ORV_FLAG_POSITION_CHANGED), 1);
    EXPECT_TRUE(transform->isDirty());
    gizmo->setPosition(nullptr);
    EXPECT_EQ(gizmo->getPosition()->y, 50.0f);

    gizmo->update(0.016f);
    EXPECT_FALSE(transform->isDirty());
    OrvMatrix4 expected;
    expected.setIdentity();
    expected.m[13] = 50.0f;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(transform->matrix.m[i], expected.m[i]) << i;
    }
}

TEST_F(SceneObjectTest, StateAccessStopsAtIndexTen) {
    OrvRenderState* state = createNode<OrvGizmo>(ORV_NODE_GIZMO)->getRenderState();
    struct Case {
        int index;
        int readBack;
    };
    // Indices 0 to 10 are written and read back; outside them nothing is
    // stored and 0 is read, even where the block holds another value.
    const Case cases[] = {{0, 7}, {1, 7}, {10, 7}, {11, 0}, {12, 0}, {13, 0}, {-1, 0}, {14, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(state->setState(c.index, 7), c.index);
        EXPECT_EQ(state->getState(c.index), c.readBack) << c.index;
    }
    EXPECT_EQ(state->getStates()[11], 0);
    EXPECT_EQ(state->getStates()[12], 2);

    state->getStates()[12] = 1;
    state->apply();
    EXPECT_EQ(calls(), std::vector<std::string>{
                           "applyRenderStates(7, 7, 0, 1, 1, 0, 0, 0, 0, 0, 7, 0, 1, 2)"});
}

TEST_F(SceneObjectTest, MaterialListFindsCreatesAndRemoves) {
    OrvRenderState* state = createNode<OrvGizmo>(ORV_NODE_GIZMO)->getRenderState();
    OrvMaterial* defaultMaterial = state->getMaterial(0);

    state->addMaterial("red");
    OrvMaterial* red = OrvMaterialMgr::getInstance()->findByName("red");
    ASSERT_NE(red, nullptr);
    state->addMaterial(defaultMaterial);
    state->addMaterial(static_cast<OrvMaterial*>(nullptr));
    ASSERT_EQ(state->getMaterialCount(), 3);
    EXPECT_EQ(state->getMaterial(1), red);
    EXPECT_EQ(state->getMaterial(2), defaultMaterial);
    EXPECT_EQ(state->getMaterial(3), nullptr);
    EXPECT_EQ(state->getMaterial(-1), nullptr);

    state->removeMaterial(defaultMaterial);
    EXPECT_EQ(state->getMaterialCount(), 1);
    EXPECT_EQ(state->hasMaterial(defaultMaterial), 0);
    EXPECT_EQ(state->hasMaterial(red), 1);

    // The list never owns its materials.
    state->clearMaterials();
    EXPECT_EQ(state->getMaterialCount(), 0);
    EXPECT_EQ(OrvSceneNodeMgr::getInstance()->isNode(red), 1);
    EXPECT_EQ(OrvSceneNodeMgr::getInstance()->isNode(defaultMaterial), 1);
}

TEST_F(SceneObjectTest, AxesAreDrawnOnlyWithFlagTwelve) {
    OrvGizmo* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    const OrvVector4 position{5, 6, 7, 1};
    gizmo->setPosition(&position);

    gizmo->render(0.016f);
    EXPECT_TRUE(calls().empty());

    gizmo->setFlag(ORV_FLAG_DRAW_AXES, 1);
    gizmo->render(0.016f);
    std::vector<std::string> expected = {"loadViewMatrix()",
                                         matrixText("multMatrix", 5, 6, 7),
                                         "disable(RESERVED_CAPABILITY)",
                                         "disable(5)",
                                         "disable(LIGHTING)",
                                         "disable(DEPTH_TEST)"};
    for (const std::string& line : axesLines()) {
        expected.push_back(line);
    }
    EXPECT_EQ(calls(), expected);
    // Drawing rebuilt the dirty transform on the way.
    EXPECT_FALSE(gizmo->getTransform()->isDirty());
}
