// Scenes and the scene manager: the root gizmo, the lists by kind, the frame
// bracket, the order in which objects are set up and drawn, and which nodes
// survive clearing, deleting and terminating.
#include "scene_graph_test_support.h"

namespace {

using SceneTest = SceneGraphTest;

OrvSceneMgr* scenes() {
    return OrvSceneMgr::getInstance();
}

OrvSceneNodeMgr* nodes() {
    return OrvSceneNodeMgr::getInstance();
}

std::vector<OrvSceneNode*> contents(OrvLinkedList* list) {
    std::vector<OrvSceneNode*> result;
    for (OrvLinkedListNode* n = list->first(0); n != nullptr; n = list->next()) {
        result.push_back(static_cast<OrvSceneNode*>(n->data));
    }
    return result;
}

}  // namespace

TEST_F(SceneTest, NewSceneHoldsOnlyItsRoot) {
    OrvScene* scene = scenes()->createScene(nullptr);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(std::string(scene->getName()), "scene_" + std::to_string(scene->getId()));
    EXPECT_STREQ(scenes()->createScene("Main_Scene")->getName(), "Main_Scene");
    EXPECT_EQ(scenes()->getCount(), 2);

    OrvSceneNode* root = scene->getRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->getName(), "SceneObjectRootNode");
    EXPECT_EQ(root->getTypeId(), ORV_KIND_GIZMO);
    EXPECT_EQ(contents(scene->getObjects()), std::vector<OrvSceneNode*>{root});
    for (OrvLinkedList* list :
         {scene->getCameras(), scene->getLights(), scene->getMeshes(), scene->getOthers()}) {
        EXPECT_EQ(list->getCount(), 0);
    }
    const float* clear = scene->getClearColor();
    EXPECT_EQ(std::vector<float>(clear, clear + 4), (std::vector<float>{0, 0, 0, 1}));

    const std::string longName(200, 's');
    scene->setName(longName.c_str());
    scene->setName(nullptr);
    EXPECT_EQ(scene->getName(), longName.substr(0, 127));
}

TEST_F(SceneTest, ObjectsAreListedByKind) {
    OrvScene* scene = scenes()->createScene("lists");
    auto* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    auto* light = createNode<StandInLight>(kStandInLightType);
    auto* mesh = createNode<StandInMesh>(kStandInMeshType);
    auto* triangle = createNode<StandInTriangle>(kStandInTriangleType);
    auto* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    auto* material = createNode<OrvMaterial>(ORV_NODE_MATERIAL);

    for (OrvSceneNode* node : std::vector<OrvSceneNode*>{gizmo, mesh, material, light, nullptr,
                                                         camera, triangle, mesh}) {
        scene->addObject(node);
    }
    EXPECT_EQ(
        contents(scene->getObjects()),
        (std::vector<OrvSceneNode*>{scene->getRoot(), gizmo, mesh, light, camera, triangle, mesh}));
    EXPECT_EQ(contents(scene->getCameras()), std::vector<OrvSceneNode*>{camera});
    EXPECT_EQ(contents(scene->getLights()), std::vector<OrvSceneNode*>{light});
    EXPECT_EQ(contents(scene->getMeshes()), (std::vector<OrvSceneNode*>{mesh, mesh}));
    EXPECT_EQ(contents(scene->getOthers()), (std::vector<OrvSceneNode*>{gizmo, triangle}));
}

TEST_F(SceneTest, FrameClearsOpaqueAndEndsTheScene) {
    OrvScene* scene = scenes()->createScene("frame");
    scene->setClearColor(0.1f, 0.1f, 0.1f, 0.5f);
    scene->beginFrame();
    scene->endFrame();
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"beginScene()", "clearColorBuffer(0.1, 0.1, 0.1, 1)",
                                        "clearDepthBuffer(1)", "endScene()"}));
    EXPECT_EQ(scene->getClearColor()[3], 0.5f);
}

TEST_F(SceneTest, UpdateReachesEveryObjectRootFirst) {
    OrvScene* scene = scenes()->createScene("update");
    auto* mesh = createNode<StandInMesh>(kStandInMeshType, "box");
    auto* light = createNode<StandInLight>(kStandInLightType, "lamp");
    scene->addObject(mesh);
    scene->addObject(light);
    OrvSceneObject* root = static_cast<OrvSceneObject*>(scene->getRoot());
    const OrvVector4 position{0, 0, 4, 1};
    root->setPosition(&position);

    scene->update(0.016f);
    EXPECT_EQ(calls(), (std::vector<std::string>{"box.update", "lamp.update"}));
    EXPECT_FALSE(root->getTransform()->isDirty());
    EXPECT_EQ(root->getTransform()->matrix.m[14], 4.0f);
}

TEST_F(SceneTest, RenderSetsUpFirstCameraThenLightsMeshesOthers) {
    OrvScene* scene = scenes()->createScene("render");
    auto* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    auto* unusedCamera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    unusedCamera->setViewport(1, 2, 3, 4);
    auto* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    gizmo->setFlag(ORV_FLAG_DRAW_AXES, 1);
    auto* mesh = createNode<StandInMesh>(kStandInMeshType, "box");
    auto* firstLight = createNode<StandInLight>(kStandInLightType, "lamp1");
    auto* secondLight = createNode<StandInLight>(kStandInLightType, "lamp2");
    // Neither the root nor a camera is drawn, whatever their flags say.
    static_cast<OrvSceneObject*>(scene->getRoot())->setFlag(ORV_FLAG_DRAW_AXES, 1);
    camera->setFlag(ORV_FLAG_DRAW_AXES, 1);
    for (OrvSceneNode* node :
         std::vector<OrvSceneNode*>{gizmo, mesh, camera, firstLight, unusedCamera, secondLight}) {
        scene->addObject(node);
    }

    scene->render(0.016f);
    std::vector<std::string> expected = {
        "setViewport(0, 0, 0, 1)",
        "setPerspective(60, 1.333, 1, 1000)",
        "lookAt(0, 10, 20, 0, 0, 0, 0, 1, 0)",
        "lamp1.apply",
        "lamp1.render",
        "lamp2.apply",
        "lamp2.render",
        "box.apply",
        "box.render",
        "loadViewMatrix()",
        "multMatrix(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)",
        "disable(RESERVED_CAPABILITY)",
        "disable(5)",
        "disable(LIGHTING)",
        "disable(DEPTH_TEST)",
    };
    for (const std::string& line : axesLines()) {
        expected.push_back(line);
    }
    EXPECT_EQ(calls(), expected);
}

TEST_F(SceneTest, RenderWithoutCameraStillDraws) {
    OrvScene* scene = scenes()->createScene("no camera");
    scene->addObject(createNode<StandInMesh>(kStandInMeshType, "box"));
    scene->render(0.016f);
    EXPECT_EQ(calls(), (std::vector<std::string>{"box.apply", "box.render"}));
}

TEST_F(SceneTest, ClearAndDestroyAllScenesLeaveEveryNodeAlive) {
    OrvScene* first = scenes()->createScene("first");
    OrvScene* second = scenes()->createScene("second");
    OrvSceneNode* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    OrvSceneNode* mesh = createNode<StandInMesh>(kStandInMeshType);
    first->addObject(camera);
    first->addObject(mesh);
    second->addObject(mesh);
    OrvSceneNode* root = first->getRoot();

    first->clear();
    EXPECT_EQ(first->getObjects()->getCount(), 0);
    EXPECT_EQ(first->getCameras()->getCount(), 0);
    EXPECT_EQ(first->getMeshes()->getCount(), 0);
    EXPECT_EQ(first->getRoot(), root);

    const int before = nodes()->getNodeCount();
    scenes()->terminate();
    EXPECT_EQ(scenes()->getCount(), 0);
    EXPECT_EQ(nodes()->getNodeCount(), before);
    for (OrvSceneNode* node : {camera, mesh, root}) {
        EXPECT_EQ(nodes()->isNode(node), 1);
    }
    EXPECT_TRUE(log.contains("OrvSceneMgr::terminate(): ok."));
}

TEST_F(SceneTest, DeletingASceneDestroysItsObjects) {
    OrvScene* scene = ORV_NEW OrvScene();
    OrvSceneNode* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    OrvSceneNode* mesh = createNode<StandInMesh>(kStandInMeshType);
    OrvSceneNode* outsider = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    OrvSceneNode* destroyedEarly = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    OrvSceneNode* root = scene->getRoot();
    // A node listed twice, and one the application destroyed while it was
    // still listed, must each be left alone once gone.
    for (OrvSceneNode* node : {camera, mesh, mesh, destroyedEarly}) {
        scene->addObject(node);
    }
    nodes()->destroyNode(destroyedEarly);

    ORV_DELETE(scene);
    for (OrvSceneNode* node : {camera, mesh, root}) {
        EXPECT_EQ(nodes()->isNode(node), 0);
    }
    EXPECT_EQ(nodes()->isNode(outsider), 1);
}

TEST_F(SceneTest, DestroyAllObjectsForgetsTheRoot) {
    OrvScene* scene = scenes()->createScene("destroy");
    OrvSceneNode* light = createNode<StandInLight>(kStandInLightType);
    scene->addObject(light);
    OrvSceneNode* root = scene->getRoot();

    scene->destroyAllObjects();
    EXPECT_EQ(scene->getRoot(), nullptr);
    EXPECT_EQ(scene->getObjects()->getCount(), 0);
    EXPECT_EQ(scene->getLights()->getCount(), 0);
    EXPECT_EQ(nodes()->isNode(light), 0);
    EXPECT_EQ(nodes()->isNode(root), 0);
}

TEST_F(SceneTest, SceneWithoutGizmoCreatorHasNoRoot) {
    nodes()->unregisterCreator(ORV_NODE_GIZMO);
    OrvScene* scene = scenes()->createScene("rootless");
    EXPECT_EQ(scene->getRoot(), nullptr);
    EXPECT_EQ(scene->getObjects()->getCount(), 0);
}

// The managers release every block the engine allocated, so the leak report
// written after they terminate lists nothing.
TEST(SceneGraphShutdown, LeakReportIsEmptyAfterTheManagersTerminate) {
    OrvTestLog log(OrvLog::DETAILED_DEBUG);
    OrvRecordingRenderer renderer;
    {
        SceneGraphEngine engine;
        OrvScene* scene = OrvSceneMgr::getInstance()->createScene("Main_Scene");
        scene->addObject(createNode<OrvCamera>(ORV_NODE_CAMERA, "Main_Camera"));
        auto* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
        gizmo->setFlag(ORV_FLAG_DRAW_AXES, 1);
        gizmo->getRenderState()->addMaterial("mat_box");
        scene->addObject(gizmo);
        scene->update(0.016f);
        scene->beginFrame();
        scene->render(0.016f);
        scene->endFrame();
        engine.shutdown();
    }
    OrvMemoryAllocator::dumpMemoryLeaks();

    bool reportSeen = false;
    for (const std::string& message : log.messages()) {
        EXPECT_EQ(message.find("ADDRESS"), std::string::npos) << message;
        reportSeen = reportSeen || message.find("No memory leak!") != std::string::npos;
    }
    EXPECT_TRUE(reportSeen);
}
