#include "scene_graph_test_support.h"

SceneGraphEngine::SceneGraphEngine()
    : creators{&cameraCreator, &gizmoCreator, &materialCreator,
               &meshCreator,   &lightCreator, &triangleCreator} {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    nodes->init();
    for (OrvSceneNodeCreator* creator : creators) {
        nodes->registerCreator(creator);
    }
}

void SceneGraphEngine::shutdown() {
    OrvMaterialMgr::getInstance()->terminate();
    OrvSceneMgr::getInstance()->terminate();
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    for (OrvSceneNodeCreator* creator : creators) {
        nodes->unregisterCreator(creator->getTypeName());
    }
    nodes->terminate();
}

void SceneGraphTest::SetUp() {
    baselineBlocks = OrvMemoryAllocator::trackedBlockCount();
    engine = new SceneGraphEngine();
}

void SceneGraphTest::TearDown() {
    delete engine;
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), baselineBlocks);
}

std::vector<std::string> axesLines() {
    return {
        "drawLine(0, 0, 0, 1, 20, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1)",
        "drawLine(0, 0, 0, 1, 0, 20, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1)",
        "drawLine(0, 0, 0, 1, 0, 0, 20, 1, 0, 0, 1, 1, 0, 0, 1, 1)",
    };
}
