// The camera: its defaults as the renderer receives them, and apply sending
// only the groups a setter changed since the last apply.
#include "scene_graph_test_support.h"

namespace {

using CameraTest = SceneGraphTest;

constexpr char kDefaultViewport[] = "setViewport(0, 0, 0, 1)";
constexpr char kDefaultPerspective[] = "setPerspective(60, 1.333, 1, 1000)";
constexpr char kDefaultLookAt[] = "lookAt(0, 10, 20, 0, 0, 0, 0, 1, 0)";

}  // namespace

TEST_F(CameraTest, FirstApplySendsEverythingOnceThenNothing) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(std::string(camera->getName()), "camera_" + std::to_string(camera->getId()));
    EXPECT_EQ(camera->isKindOf(ORV_KIND_CAMERA), 1);
    EXPECT_EQ(camera->isKindOf(ORV_KIND_SCENE_OBJECT), 1);
    const int expectedFlags[][2] = {{0, 1}, {1, 1}, {4, 0}, {9, 1}, {10, 1}, {11, 1}, {12, 0}};
    for (const auto& flag : expectedFlags) {
        EXPECT_EQ(camera->getFlag(flag[0]), flag[1]) << flag[0];
    }

    camera->apply();
    EXPECT_EQ(calls(),
              (std::vector<std::string>{kDefaultViewport, kDefaultPerspective, kDefaultLookAt}));
    // The aspect is the literal 1.333, not four thirds.
    EXPECT_EQ(renderer.last("setPerspective")->values[1], 1.333f);

    renderer.clear();
    camera->apply();
    EXPECT_TRUE(calls().empty());
}

TEST_F(CameraTest, ApplySendsOnlyWhatChanged) {
    const OrvVector4 centre{1, 2, 3, 1};
    struct Case {
        const char* what;
        void (*change)(OrvCamera*, const OrvVector4*);
        std::vector<std::string> sent;
    };
    const Case cases[] = {
        {"viewport",
         [](OrvCamera* c, const OrvVector4*) { c->setViewport(0, 0, 1024, 768); },
         {"setViewport(0, 0, 1024, 768)"}},
        {"perspective",
         [](OrvCamera* c, const OrvVector4*) { c->setPerspective(45, 1.5f, 2, 500); },
         {"setPerspective(45, 1.5, 2, 500)"}},
        {"centre only",
         [](OrvCamera* c, const OrvVector4* v) { c->setLookAt(nullptr, v, nullptr); },
         {"lookAt(0, 10, 20, 1, 2, 3, 0, 1, 0)"}},
        {"nothing given",
         [](OrvCamera* c, const OrvVector4*) { c->setLookAt(nullptr, nullptr, nullptr); },
         {kDefaultLookAt}},
    };
    for (const Case& c : cases) {
        OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
        camera->apply();
        camera->getTransform()->update();
        renderer.clear();
        c.change(camera, &centre);
        camera->apply();
        EXPECT_EQ(calls(), c.sent) << c.what;
        // Without an eye the camera's position and transform stay as they were.
        EXPECT_FALSE(camera->getTransform()->isDirty()) << c.what;
    }
}

TEST_F(CameraTest, GivenEyeMovesTheCamera) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    camera->apply();
    camera->getTransform()->update();
    renderer.clear();

    const OrvVector4 eye{0, 30, 50, 1};
    const OrvVector4 up{0, 0, 1, 1};
    camera->setLookAt(&eye, nullptr, &up);
    const OrvVector4* position = camera->getPosition();
    EXPECT_EQ(position->y, 30.0f);
    EXPECT_EQ(position->z, 50.0f);
    EXPECT_EQ(position->w, 1.0f);
    EXPECT_TRUE(camera->getTransform()->isDirty());

    camera->apply();
    EXPECT_EQ(calls(), std::vector<std::string>{"lookAt(0, 30, 50, 0, 0, 0, 0, 0, 1)"});
}

TEST_F(CameraTest, UpdateClearsTheMovedFlagOnly) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    camera->update(0.016f);
    EXPECT_EQ(camera->getFlag(ORV_FLAG_MOVED), 0);
    EXPECT_EQ(camera->getFlag(ORV_FLAG_VIEW_CHANGED), 1);
    EXPECT_TRUE(camera->getTransform()->isDirty());
    EXPECT_TRUE(calls().empty());
}
