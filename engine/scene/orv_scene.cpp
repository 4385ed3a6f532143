#include "scene/orv_scene.h"

#include <cstdio>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_prefetch.h"
#include "render/orv_renderer.h"
#include "scene/orv_scene_node_mgr.h"
#include "scene/orv_scene_object.h"
#include "scene/orv_mesh.h"
#include "scene/orv_node_types.h"
#include "scene/orv_static_batch.h"
#include "scene/orv_static_batches.h"
#include "core/orv_string.h"

namespace {

// The bytes of an object fetched ahead: the scene object's own fields and
// those of the node classes on top of it.
constexpr size_t kObjectBytes = 512;

OrvSceneObject* objectOf(OrvLinkedListNode* entry) {
    return static_cast<OrvSceneObject*>(entry->data);
}

// Starts loading the object after entry and the list entry after that one.
void prefetchAfter(const OrvLinkedListNode* entry) {
    const OrvLinkedListNode* following = entry->next;
    if (following != nullptr) {
        orvPrefetch(following->data, kObjectBytes);
        if (following->next != nullptr) {
            orvPrefetch(following->next, sizeof(OrvLinkedListNode));
        }
    }
}

}  // namespace

OrvScene::OrvScene()
    : id(0), name{}, root(nullptr), clearColor{0.0f, 0.0f, 0.0f, 1.0f}, staticBatches(nullptr) {
    id = static_cast<int32_t>(OrvMemoryAllocator::nextUniqueId());
    char defaultName[kNameSize] = {};
    snprintf(defaultName, sizeof(defaultName), "scene_%d", id);
    setName(defaultName);
    setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    if (manager->registerScene(this) == 0) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvScene::OrvScene(): scene [%d] could not be registered, "
                                     "nodes destroyed elsewhere stay listed.",
                                     id);
    }
    // The root stands only in objects: it is updated every frame but, being
    // in none of the drawn lists, never drawn.
    root = manager->createNode(ORV_NODE_GIZMO, ORV_SCENE_ROOT_NAME);
    if (root != nullptr) {
        objects.add(root);
    }
}

OrvScene::~OrvScene() {
    destroyAllObjects();
    OrvSceneNodeMgr::getInstance()->unregisterScene(this);
}

void OrvScene::setName(const char* newName) {
    if (newName == nullptr) {
        return;
    }
    orvCopyBounded(name, sizeof(name), newName);
}

void OrvScene::setClearColor(float r, float g, float b, float a) {
    clearColor[0] = r;
    clearColor[1] = g;
    clearColor[2] = b;
    clearColor[3] = a;
}

void OrvScene::addObject(OrvSceneNode* node) {
    if (node == nullptr || node->isKindOf(ORV_KIND_SCENE_OBJECT) == 0) {
        return;
    }
    objects.add(node);
    switch (node->getTypeId()) {
        case ORV_KIND_CAMERA:
            cameras.add(node);
            break;
        case ORV_KIND_MESH:
            meshes.add(node);
            break;
        case ORV_KIND_LIGHT:
            lights.add(node);
            break;
        default:
            others.add(node);
            break;
    }
}

void OrvScene::removeObject(OrvSceneNode* node) {
    if (node == nullptr) {
        return;
    }
    objects.remove(node);
    cameras.remove(node);
    lights.remove(node);
    meshes.remove(node);
    others.remove(node);
    if (node == root) {
        root = nullptr;
    }
    // Only the mesh creator's nodes are OrvMesh; other nodes may share the
    // mesh's kind without its batching.
    if (node->getTypeId() == ORV_KIND_MESH && strcmp(node->getTypeName(), ORV_NODE_MESH) == 0) {
        leaveStaticBatch(static_cast<OrvMesh*>(node));
    }
}

// A mesh taken off the scene must no longer be drawn by the scene's batches.
void OrvScene::leaveStaticBatch(OrvMesh* mesh) {
    OrvStaticBatch* batch = mesh->getStaticBatch();
    if (batch != nullptr && staticBatches != nullptr && batch->getOwner() == staticBatches) {
        batch->forget(mesh);
    }
}

void OrvScene::update(float dt) {
    for (OrvLinkedListNode* n = objects.first(0); n != nullptr; n = objects.next()) {
        prefetchAfter(n);
        objectOf(n)->update(dt);
    }
}

void OrvScene::beginFrame() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr) {
        return;
    }
    renderer->beginScene();
    // The stored alpha is not used: the frame always starts opaque.
    renderer->clearColorBuffer(clearColor[0], clearColor[1], clearColor[2], 1.0f);
    renderer->clearDepthBuffer(1.0f);
}

void OrvScene::render(float dt) {
    // Stale batches are built again before anything of the frame is drawn.
    if (staticBatches != nullptr) {
        staticBatches->beginRender(&meshes);
    }
    // Only the first camera sets the view; a camera itself is never drawn.
    OrvLinkedListNode* camera = cameras.first(0);
    if (camera != nullptr) {
        objectOf(camera)->apply();
    }
    // Lights go first so that every mesh drawn after them is lit by all.
    applyAndRender(&lights, dt);
    applyAndRender(&meshes, dt);
    applyAndRender(&others, dt);
    if (staticBatches != nullptr) {
        staticBatches->endRender();
    }
}

void OrvScene::endFrame() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr) {
        renderer->endScene();
    }
}

void OrvScene::clear() {
    releaseStaticBatches();
    for (OrvLinkedListNode* n = objects.first(0); n != nullptr; n = objects.next()) {
        static_cast<OrvSceneNode*>(n->data)->detachAllChildren(nullptr);
    }
    clearLists();
}

void OrvScene::destroyAllObjects() {
    releaseStaticBatches();
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    // Each node leaves the lists before it is destroyed, front to back: its
    // destruction, and that of its children, edits the lists of every scene.
    for (OrvLinkedListNode* n = objects.getHead(); n != nullptr; n = objects.getHead()) {
        OrvSceneNode* node = static_cast<OrvSceneNode*>(n->data);
        removeObject(node);
        // Only a scene that could not register can list a node destroyed
        // elsewhere.
        if (manager->isNode(node) == 1) {
            node->destroyAllChildren(nullptr);
            manager->destroyNode(node);
        }
    }
    forgetAllObjects();
}

void OrvScene::forgetAllObjects() {
    releaseStaticBatches();
    clearLists();
    root = nullptr;
}

int OrvScene::buildStaticBatches() {
    if (staticBatches == nullptr) {
        staticBatches = ORV_NEW OrvStaticBatches();
    }
    if (staticBatches == nullptr) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvScene::buildStaticBatches(): scene %s: out of memory; its meshes draw one by one.",
            name);
        return 0;
    }
    return staticBatches->build(&meshes);
}

void OrvScene::releaseStaticBatches() {
    if (staticBatches != nullptr) {
        ORV_DELETE(staticBatches);
        staticBatches = nullptr;
    }
}

void OrvScene::clearLists() {
    objects.clear();
    cameras.clear();
    lights.clear();
    meshes.clear();
    others.clear();
}

void OrvScene::applyAndRender(OrvLinkedList* list, float dt) {
    for (OrvLinkedListNode* n = list->first(0); n != nullptr; n = list->next()) {
        prefetchAfter(n);
        OrvSceneObject* object = objectOf(n);
        object->apply();
        object->render(dt);
    }
}
