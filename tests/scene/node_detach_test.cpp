// Destroying a node that others still point at: every scene, render state
// and material lets go of it first, so nothing is reached through a freed
// node afterwards. Scenes can also take a single object off their lists.
#include <algorithm>

#include "scene_graph_test_support.h"

namespace {

using NodeDetachTest = SceneGraphTest;

OrvSceneNodeMgr* nodes() {
    return OrvSceneNodeMgr::getInstance();
}

bool lists(OrvLinkedList* list, const OrvSceneNode* node) {
    for (OrvLinkedListNode* n = list->first(0); n != nullptr; n = list->next()) {
        if (n->data == node) {
            return true;
        }
    }
    return false;
}

bool anyListHolds(OrvScene* scene, const OrvSceneNode* node) {
    for (OrvLinkedList* list : {scene->getObjects(), scene->getCameras(), scene->getLights(),
                                scene->getMeshes(), scene->getOthers()}) {
        if (lists(list, node)) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(NodeDetachTest, ADestroyedObjectLeavesEverySceneThatListedIt) {
    const char* const types[] = {ORV_NODE_CAMERA, kStandInMeshType, kStandInLightType,
                                 ORV_NODE_GIZMO};
    OrvScene* first = OrvSceneMgr::getInstance()->createScene("first");
    OrvScene* second = OrvSceneMgr::getInstance()->createScene("second");
    for (const char* type : types) {
        OrvSceneNode* node = nodes()->createNode(type, "doomed");
        first->addObject(node);
        first->addObject(node);
        second->addObject(node);
        nodes()->destroyNode(node);
        for (OrvScene* scene : {first, second}) {
            EXPECT_FALSE(anyListHolds(scene, node)) << type << " in " << scene->getName();
        }
        // Under the sanitizers a freed object reached here is an error.
        first->update(0.016f);
        first->render(0.016f);
    }
    EXPECT_EQ(first->getObjects()->getCount(), 1);
    EXPECT_EQ(second->getObjects()->getCount(), 1);
}

TEST_F(NodeDetachTest, ASceneNeverDestroysANodeItNoLongerHolds) {
    OrvScene* a = OrvSceneMgr::getInstance()->createScene("a");
    OrvScene* b = OrvSceneMgr::getInstance()->createScene("b");
    OrvSceneNode* gone = nodes()->createNode(ORV_NODE_GIZMO, "gone");
    a->addObject(gone);
    nodes()->destroyNode(gone);
    // The allocator mostly hands the freed block to the next node of the size.
    OrvSceneNode* successor = nodes()->createNode(ORV_NODE_GIZMO, "successor");
    b->addObject(successor);

    a->destroyAllObjects();
    EXPECT_EQ(nodes()->isNode(successor), 1);
    EXPECT_TRUE(anyListHolds(b, successor));
}

TEST_F(NodeDetachTest, RemoveObjectTakesEveryEntryOffAndLeavesTheNodeAlive) {
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene(nullptr);
    OrvSceneNode* light = nodes()->createNode(kStandInLightType, nullptr);
    OrvSceneNode* stranger = nodes()->createNode(ORV_NODE_GIZMO, nullptr);
    scene->addObject(light);
    scene->addObject(light);

    scene->removeObject(light);
    scene->removeObject(stranger);
    scene->removeObject(nullptr);
    EXPECT_FALSE(anyListHolds(scene, light));
    EXPECT_EQ(scene->getObjects()->getCount(), 1);
    EXPECT_EQ(nodes()->isNode(light), 1);

    // The root can go too; the scene then has none, and destroying the
    // scene's objects leaves it alive.
    OrvSceneNode* root = scene->getRoot();
    scene->removeObject(root);
    EXPECT_EQ(scene->getRoot(), nullptr);
    scene->destroyAllObjects();
    EXPECT_EQ(nodes()->isNode(root), 1);
}

TEST_F(NodeDetachTest, ADestroyedMaterialLeavesEveryRenderStateAndTheMeshRegroups) {
    OrvMeshCreator meshCreator;
    nodes()->registerCreator(&meshCreator);
    OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
    OrvMesh* mesh = static_cast<OrvMesh*>(nodes()->createNode(ORV_NODE_MESH, "mesh"));
    mesh->createPlane(10.0f, 10.0f, 2, 2);
    OrvMaterial* red = materials->getMaterial("red");
    mesh->setMaterial(red, 0, 3);
    mesh->update(0.016f);
    OrvSceneObject* gizmo = static_cast<OrvSceneObject*>(nodes()->createNode(ORV_NODE_GIZMO, ""));
    gizmo->getRenderState()->addMaterial(red);

    nodes()->destroyNode(red);
    EXPECT_EQ(mesh->getRenderState()->getMaterialCount(), 1);
    EXPECT_EQ(gizmo->getRenderState()->getMaterialCount(), 1);
    EXPECT_EQ(mesh->getFlag(ORV_FLAG_MATERIALS_DIRTY), 1);
    mesh->update(0.016f);

    // The default material, listed by every object, goes from all of them.
    nodes()->destroyNode(materials->findByName(ORV_DEFAULT_MATERIAL_NAME));
    EXPECT_EQ(mesh->getRenderState()->getMaterialCount(), 0);
    EXPECT_EQ(gizmo->getRenderState()->getMaterialCount(), 0);
    mesh->update(0.016f);
    mesh->render(0.016f);
    nodes()->unregisterCreator(ORV_NODE_MESH);
}

TEST_F(NodeDetachTest, ADestroyedGpuShaderLeavesEveryMaterialThatUsedIt) {
    OrvGpuShaderCreator shaderCreator;
    nodes()->registerCreator(&shaderCreator);
    OrvGpuShader* shader =
        static_cast<OrvGpuShader*>(nodes()->createNode(ORV_NODE_GPU_SHADER, "shader"));
    OrvMaterial* listed = OrvMaterialMgr::getInstance()->getMaterial("listed");
    OrvMaterial* unlisted = static_cast<OrvMaterial*>(nodes()->createNode(ORV_NODE_MATERIAL, ""));
    OrvGpuShader* other = static_cast<OrvGpuShader*>(nodes()->createNode(ORV_NODE_GPU_SHADER, ""));
    listed->setGpuShader(shader);
    unlisted->setGpuShader(shader);
    OrvMaterial* keeps = OrvMaterialMgr::getInstance()->getMaterial("keeps");
    keeps->setGpuShader(other);

    nodes()->destroyNode(shader);
    EXPECT_EQ(listed->getGpuShader(), nullptr);
    EXPECT_EQ(unlisted->getGpuShader(), nullptr);
    EXPECT_EQ(keeps->getGpuShader(), other);
    listed->bindShader();
    listed->unbindShader();
    nodes()->unregisterCreator(ORV_NODE_GPU_SHADER);
}

TEST_F(NodeDetachTest, KillingAllNodesEmptiesEveryScene) {
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene(nullptr);
    scene->addObject(nodes()->createNode(ORV_NODE_CAMERA, nullptr));
    nodes()->killAllNodes();
    EXPECT_EQ(scene->getObjects()->getCount(), 0);
    EXPECT_EQ(scene->getCameras()->getCount(), 0);
    EXPECT_EQ(scene->getRoot(), nullptr);
    scene->update(0.016f);
    scene->destroyAllObjects();
}
