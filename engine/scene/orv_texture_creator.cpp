#include "scene/orv_texture_creator.h"

#include "core/orv_memory_allocator.h"
#include "scene/orv_texture.h"

OrvSceneNode* OrvTextureCreator::createNode() {
    OrvTexture* node = ORV_NEW OrvTexture();
    // Every operation of the node works on its record.
    if (node != nullptr && node->getTextureData() == nullptr) {
        ORV_DELETE(node);
        return nullptr;
    }
    return node;
}

const char* OrvTextureCreator::getTypeName() const {
    return ORV_NODE_TEXTURE;
}
