#include "scene/orv_scene_node_mgr.h"

#include <cstdint>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_material.h"
#include "scene/orv_scene.h"
#include "scene/orv_scene_node.h"
#include "scene/orv_scene_node_creator.h"
#include "scene/orv_scene_object.h"

namespace {

OrvSceneNodeMgr* g_instance = nullptr;

constexpr char kNodeTag[] = "OSNM";

// Writes a line whose format takes a node's type string, id and name.
void logNode(int level, const char* format, OrvSceneNode* node) {
    OrvLog::getInstance()->write(level, format, node->getTypeName(), node->getId(),
                                 node->getName());
}

}  // namespace

OrvSceneNodeMgr* OrvSceneNodeMgr::getInstance() {
    if (g_instance == nullptr) {
        g_instance = ORV_NEW OrvSceneNodeMgr();
        // The manager lives as long as the process; it is no leak.
        OrvMemoryAllocator::_track_heap_free(g_instance, nullptr, 0);
    }
    return g_instance;
}

OrvSceneNodeMgr::OrvSceneNodeMgr() {
    init();
}

void OrvSceneNodeMgr::init() {
    terminate();
    allocate();
    tableAllocated = true;
    OrvLog::getInstance()->write(OrvLog::DEBUG, "OrvSceneNodeMgr::init(): ok.");
}

void OrvSceneNodeMgr::terminate() {
    release();
    tableAllocated = false;
    killAllNodes();
    OrvLog::getInstance()->write(OrvLog::DEBUG, "OrvSceneNodeMgr::terminate(): ok.");
}

// Each node leaves the list before it is deleted: a destructor may destroy
// another node (a material lets go of its last texture), which walks and
// edits this same list.
void OrvSceneNodeMgr::killAllNodes() {
    // No scene may keep pointing at nodes about to go.
    scenes.forEach([](const void* scene, void*) {
        static_cast<OrvScene*>(const_cast<void*>(scene))->forgetAllObjects();
    });
    while (nodes.getCount() > 0) {
        OrvSceneNode* node = static_cast<OrvSceneNode*>(nodes.getHead()->data);
        logNode(OrvLog::DEBUG, "OrvSceneNodeMgr::killAllNodes(): node %s [%d][%s] destroyed ok.",
                node);
        unlist(node, nullptr);
        ORV_DELETE(node);
    }
}

void OrvSceneNodeMgr::registerCreator(OrvSceneNodeCreator* creator) {
    if (creator == nullptr) {
        return;
    }
    OrvLog* log = OrvLog::getInstance();
    const char* typeName = creator->getTypeName();
    if (typeName == nullptr) {
        log->write(OrvLog::WARNING,
                   "OrvSceneNodeMgr::registerCreator(): creator without type name refused.");
        return;
    }
    // The table would keep both but only ever find the first creator.
    if (find(typeName) != 0) {
        log->write(OrvLog::WARNING,
                   "OrvSceneNodeMgr::registerCreator(): %s already registered, creator refused.",
                   typeName);
        return;
    }
    // terminate leaves the table without storage, and an engine started
    // again in the same process registers its creators without an init.
    if (!tableAllocated) {
        allocate();
        tableAllocated = true;
    }
    if (insert(typeName, reinterpret_cast<intptr_t>(creator)) == 0) {
        log->write(OrvLog::WARNING, "OrvSceneNodeMgr::registerCreator(): %s not registered.",
                   typeName);
        return;
    }
    log->write(OrvLog::DEBUG, "OrvSceneNodeMgr::registerCreator(): %s registered ok.", typeName);
}

void OrvSceneNodeMgr::unregisterCreator(const char* typeName) {
    if (typeName == nullptr) {
        return;
    }
    remove(typeName);
    OrvLog::getInstance()->write(
        OrvLog::DEBUG, "OrvSceneNodeMgr::unregisterCreator(): %s unregistered ok.", typeName);
}

OrvSceneNode* OrvSceneNodeMgr::createNode(const char* typeName, const char* name) {
    if (typeName == nullptr) {
        return nullptr;
    }
    OrvSceneNodeCreator* creator = reinterpret_cast<OrvSceneNodeCreator*>(find(typeName));
    if (creator == nullptr) {
        return nullptr;
    }
    OrvSceneNode* node = creator->createNode();
    if (node == nullptr) {
        return nullptr;
    }
    // A node the list cannot hold would have no owner.
    OrvLinkedListNode* previous = nodes.getTail();
    const bool listed = nodes.add(node) != 0;
    if (!listed || entryBefore.set(node, previous) == 0) {
        logNode(OrvLog::WARNING,
                "OrvSceneNodeMgr::createNode(): node %s [%d][%s] could not be listed, destroyed.",
                node);
        if (listed) {
            nodes.removeAfter(previous);
        }
        ORV_DELETE(node);
        return nullptr;
    }
    node->setTag(kNodeTag);
    if (name != nullptr) {
        node->setName(name);
    }
    logNode(OrvLog::DEBUG, "OrvSceneNodeMgr::createNode(): node %s [%d][%s] created ok.", node);
    return node;
}

void OrvSceneNodeMgr::destroyNode(OrvSceneNode* node) {
    void* previous = nullptr;
    if (entryBefore.find(node, &previous) == 0) {
        return;
    }
    logNode(OrvLog::DEBUG, "OrvSceneNodeMgr::destroyNode(): node %s [%d][%s] destroyed ok.", node);
    detachFromHolders(node);
    unlist(node, static_cast<OrvLinkedListNode*>(previous));
    ORV_DELETE(node);
}

int OrvSceneNodeMgr::isNode(OrvSceneNode* node) {
    return entryBefore.find(node, nullptr);
}

int OrvSceneNodeMgr::registerScene(OrvScene* scene) {
    return scenes.set(scene, nullptr);
}

void OrvSceneNodeMgr::unregisterScene(OrvScene* scene) {
    scenes.remove(scene);
    // An idle manager holds no block for its scenes.
    if (scenes.getCount() == 0) {
        scenes.clear();
    }
}

void OrvSceneNodeMgr::detachFromHolders(OrvSceneNode* node) {
    scenes.forEach([node](const void* scene, void*) {
        static_cast<OrvScene*>(const_cast<void*>(scene))->removeObject(node);
    });
    // Only materials, GPU shaders and textures are pointed at by other nodes;
    // looking for their holders costs a walk over all nodes.
    const int type = node->getTypeId();
    if (type == ORV_KIND_MATERIAL) {
        OrvMaterial* material = static_cast<OrvMaterial*>(node);
        forEachNode([material](OrvSceneNode* holder) {
            if (holder->isKindOf(ORV_KIND_SCENE_OBJECT) == 1) {
                static_cast<OrvSceneObject*>(holder)->forgetMaterial(material);
            }
        });
    } else if (type == ORV_KIND_GPU_SHADER || type == ORV_KIND_TEXTURE) {
        forEachNode([node](OrvSceneNode* holder) {
            if (holder->getTypeId() == ORV_KIND_MATERIAL) {
                static_cast<OrvMaterial*>(holder)->forgetGpuShader(node);
                static_cast<OrvMaterial*>(holder)->forgetTexture(node);
            }
        });
    }
}

// Unlinks the node's list entry, which follows previous, and files the entry
// after it under previous.
void OrvSceneNodeMgr::unlist(OrvSceneNode* node, OrvLinkedListNode* previous) {
    nodes.removeAfter(previous);
    OrvLinkedListNode* following = previous != nullptr ? previous->next : nodes.getHead();
    if (following != nullptr) {
        entryBefore.set(following->data, previous);
    }
    entryBefore.remove(node);
    // An idle manager holds no block for its index.
    if (entryBefore.getCount() == 0) {
        entryBefore.clear();
    }
}
