#include "scene/orv_material_mgr.h"

#include <cstring>

#include "core/orv_hash_table.h"
#include "core/orv_log.h"
#include "scene/orv_material.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_scene_node_mgr.h"

namespace {

OrvMaterialMgr* g_instance = nullptr;

OrvMaterial* materialOf(OrvLinkedListNode* entry) {
    return static_cast<OrvMaterial*>(entry->data);
}

// Node ids are the keys of the id table, standing in for pointers.
const void* idKey(int id) {
    return reinterpret_cast<const void*>(static_cast<intptr_t>(id));
}

}  // namespace

OrvMaterialMgr* OrvMaterialMgr::getInstance() {
    if (g_instance == nullptr) {
        g_instance = ORV_NEW OrvMaterialMgr();
        // The manager lives as long as the process; it is no leak.
        OrvMemoryAllocator::_track_heap_free(g_instance, nullptr, 0);
    }
    return g_instance;
}

OrvMaterial* OrvMaterialMgr::getMaterial(const char* name) {
    OrvMaterial* material = findByName(name);
    if (material != nullptr) {
        return material;
    }
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    material = static_cast<OrvMaterial*>(nodes->createNode(ORV_NODE_MATERIAL, name));
    if (material == nullptr) {
        return nullptr;
    }
    // An unlisted material could never be found again, so it is not kept.
    if (list(material) == 0) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvMaterialMgr::getMaterial(): material %s could not be listed.",
            material->getName());
        nodes->destroyNode(material);
        return nullptr;
    }
    return material;
}

OrvMaterial* OrvMaterialMgr::findByName(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (OrvLinkedListNode* n = first(0); n != nullptr; n = next()) {
        if (strncmp(materialOf(n)->getName(), name, OrvSceneNode::kNameSize - 1) == 0) {
            return materialOf(n);
        }
    }
    return nullptr;
}

OrvMaterial* OrvMaterialMgr::findById(int id) {
    if (lastFound != nullptr && lastFound->getId() == id) {
        return lastFound;
    }
    OrvMaterial* found =
        byId != nullptr ? reinterpret_cast<OrvMaterial*>(byId->find(idKey(id))) : nullptr;
    lastFound = found != nullptr ? found : lastFound;
    return found;
}

int OrvMaterialMgr::list(OrvMaterial* material) {
    if (byId == nullptr) {
        byId = ORV_NEW OrvHashTable();
    }
    if (byId == nullptr ||
        byId->insert(idKey(material->getId()), reinterpret_cast<intptr_t>(material)) == 0) {
        return 0;
    }
    if (add(material) == 0) {
        byId->remove(idKey(material->getId()));
        return 0;
    }
    return 1;
}

void OrvMaterialMgr::removeMaterial(OrvMaterial* material) {
    remove(material);
    if (material == lastFound) {
        lastFound = nullptr;
    }
    if (byId == nullptr || material == nullptr) {
        return;
    }
    // Only the listed material of that id is filed under it.
    if (byId->find(idKey(material->getId())) == reinterpret_cast<intptr_t>(material)) {
        byId->remove(idKey(material->getId()));
    }
    if (getCount() == 0) {
        ORV_DELETE(byId);
        byId = nullptr;
    }
}

void OrvMaterialMgr::destroyAllMaterials() {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    // Each material is taken off the list before it is destroyed, because its
    // destruction edits the list this loop walks.
    while (getCount() > 0) {
        OrvMaterial* material = materialOf(first(0));
        removeMaterial(material);
        nodes->destroyNode(material);
    }
}

void OrvMaterialMgr::terminate() {
    destroyAllMaterials();
    OrvLog::getInstance()->write(OrvLog::DEBUG, "OrvMaterialMgr::terminate(): ok.");
}
