#include "scene/orv_scene_mgr.h"

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_scene.h"

namespace {

OrvSceneMgr* g_instance = nullptr;

}  // namespace

OrvSceneMgr* OrvSceneMgr::getInstance() {
    if (g_instance == nullptr) {
        g_instance = ORV_NEW OrvSceneMgr();
        // The manager lives as long as the process; it is no leak.
        OrvMemoryAllocator::_track_heap_free(g_instance, nullptr, 0);
    }
    return g_instance;
}

OrvScene* OrvSceneMgr::createScene(const char* name) {
    OrvScene* scene = ORV_NEW OrvScene();
    if (scene == nullptr) {
        return nullptr;
    }
    // A scene the list cannot hold would have no owner.
    if (add(scene) == 0) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvSceneMgr::createScene(): scene [%d] could not be listed, deleted.",
            scene->getId());
        ORV_DELETE(scene);
        return nullptr;
    }
    scene->setName(name);
    return scene;
}

void OrvSceneMgr::destroyAllScenes() {
    for (OrvLinkedListNode* n = first(0); n != nullptr; n = next()) {
        OrvScene* scene = static_cast<OrvScene*>(n->data);
        scene->clear();
        ORV_DELETE(scene);
    }
    clear();
}

void OrvSceneMgr::terminate() {
    destroyAllScenes();
    OrvLog::getInstance()->write(OrvLog::DEBUG, "OrvSceneMgr::terminate(): ok.");
}
