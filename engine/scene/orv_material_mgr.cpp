#include "scene/orv_material_mgr.h"

#include <cstring>

#include "core/orv_log.h"
#include "scene/orv_material.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_scene_node_mgr.h"

namespace {

OrvMaterialMgr* g_instance = nullptr;

OrvMaterial* materialOf(OrvLinkedListNode* entry) {
    return static_cast<OrvMaterial*>(entry->data);
}

constexpr int32_t kFirstIdCapacity = 16;

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
    const int32_t slot = idSlot(id);
    if (slot == byIdCount || byId[slot]->getId() != id) {
        return nullptr;
    }
    lastFound = byId[slot];
    return lastFound;
}

int32_t OrvMaterialMgr::idSlot(int id) const {
    int32_t low = 0;
    int32_t high = byIdCount;
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (byId[middle]->getId() < id) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

int OrvMaterialMgr::fileById(OrvMaterial* material) {
    if (byIdCount == byIdCapacity) {
        const int32_t capacity = byIdCapacity == 0 ? kFirstIdCapacity : byIdCapacity * 2;
        OrvMaterial** grown = ORV_NEW OrvMaterial* [capacity];
        if (grown == nullptr) {
            return 0;
        }
        if (byIdCount > 0) {
            memcpy(grown, byId, sizeof(OrvMaterial*) * byIdCount);
        }
        if (byId != nullptr) {
            ORV_DELETE_ARRAY(byId);
        }
        byId = grown;
        byIdCapacity = capacity;
    }
    // New materials carry the highest id so far, so this is an append in
    // practice; the search keeps the order whatever the ids.
    const int32_t slot = idSlot(material->getId());
    memmove(byId + slot + 1, byId + slot, sizeof(OrvMaterial*) * (byIdCount - slot));
    byId[slot] = material;
    ++byIdCount;
    return 1;
}

void OrvMaterialMgr::unfileById(OrvMaterial* material) {
    const int32_t slot = idSlot(material->getId());
    // Only the listed material of that id is filed under it.
    if (slot < byIdCount && byId[slot] == material) {
        --byIdCount;
        memmove(byId + slot, byId + slot + 1, sizeof(OrvMaterial*) * (byIdCount - slot));
    }
    if (byIdCount == 0) {
        ORV_DELETE_ARRAY(byId);
        byId = nullptr;
        byIdCapacity = 0;
    }
}

int OrvMaterialMgr::list(OrvMaterial* material) {
    if (fileById(material) == 0) {
        return 0;
    }
    if (add(material) == 0) {
        unfileById(material);
        return 0;
    }
    return 1;
}

void OrvMaterialMgr::removeMaterial(OrvMaterial* material) {
    remove(material);
    if (material == lastFound) {
        lastFound = nullptr;
    }
    if (byId != nullptr && material != nullptr) {
        unfileById(material);
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
