#include "scene/orv_texture_mgr.h"

#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_scene_node_mgr.h"
#include "scene/orv_texture.h"
#include "scene/orv_texture_creator.h"

namespace {

OrvTextureMgr* g_instance = nullptr;

OrvTexture* textureOf(OrvLinkedListNode* entry) {
    return static_cast<OrvTexture*>(entry->data);
}

}  // namespace

OrvTextureMgr* OrvTextureMgr::getInstance() {
    if (g_instance == nullptr) {
        g_instance = ORV_NEW OrvTextureMgr();
        // The manager lives as long as the process; it is no leak.
        OrvMemoryAllocator::_track_heap_free(g_instance, nullptr, 0);
    }
    return g_instance;
}

void OrvTextureMgr::shutdown() {
    if (g_instance != nullptr) {
        g_instance->terminate();
    }
}

void OrvTextureMgr::forget(OrvTexture* texture) {
    if (g_instance != nullptr) {
        g_instance->remove(texture);
    }
}

bool OrvTextureMgr::isListed(const OrvTexture* texture) {
    for (OrvLinkedListNode* n = first(0); n != nullptr; n = next()) {
        if (n->data == texture) {
            return true;
        }
    }
    return false;
}

bool OrvTextureMgr::ensureCreator() {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    if (nodes->find(ORV_NODE_TEXTURE) != 0) {
        return true;
    }
    if (creator == nullptr) {
        creator = ORV_NEW OrvTextureCreator();
    }
    if (creator == nullptr) {
        return false;
    }
    nodes->registerCreator(creator);
    return nodes->find(ORV_NODE_TEXTURE) != 0;
}

OrvTexture* OrvTextureMgr::makeListed(const char* name) {
    if (!ensureCreator()) {
        return nullptr;
    }
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvTexture* texture = static_cast<OrvTexture*>(nodes->createNode(ORV_NODE_TEXTURE, name));
    if (texture != nullptr && add(texture) == 0) {
        nodes->destroyNode(texture);
        return nullptr;
    }
    return texture;
}

OrvTexture* OrvTextureMgr::getTexture(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    OrvTexture* texture = findByName(path);
    if (texture != nullptr) {
        return texture;
    }
    texture = makeListed(path);
    if (texture != nullptr && texture->loadFromFile(path) != 0) {
        destroy(texture);
        return nullptr;
    }
    return texture;
}

OrvTexture* OrvTextureMgr::createTexture(const char* name) {
    if (name == nullptr || findByName(name) != nullptr) {
        return nullptr;
    }
    return makeListed(name);
}

OrvTexture* OrvTextureMgr::findByName(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (OrvLinkedListNode* n = first(0); n != nullptr; n = next()) {
        if (strncmp(textureOf(n)->getName(), name, OrvSceneNode::kNameSize - 1) == 0) {
            return textureOf(n);
        }
    }
    return nullptr;
}

void OrvTextureMgr::addUser(OrvTexture* texture) {
    if (texture != nullptr && isListed(texture)) {
        texture->setUserCount(texture->getUserCount() + 1);
    }
}

void OrvTextureMgr::removeUser(OrvTexture* texture) {
    if (texture == nullptr || !isListed(texture)) {
        return;
    }
    texture->setUserCount(texture->getUserCount() - 1);
    if (texture->getUserCount() <= 0) {
        destroy(texture);
    }
}

void OrvTextureMgr::destroy(OrvTexture* texture) {
    remove(texture);
    OrvSceneNodeMgr::getInstance()->destroyNode(texture);
}

void OrvTextureMgr::destroyAllTextures() {
    while (getCount() > 0) {
        destroy(textureOf(first(0)));
    }
}

void OrvTextureMgr::terminate() {
    destroyAllTextures();
    if (creator != nullptr) {
        OrvSceneNodeMgr::getInstance()->unregisterCreator(ORV_NODE_TEXTURE);
        ORV_DELETE(creator);
        creator = nullptr;
    }
    OrvLog::getInstance()->write(OrvLog::DEBUG, "OrvTextureMgr::terminate(): ok.");
}
