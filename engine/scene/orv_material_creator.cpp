#include "scene/orv_material_creator.h"

#include "scene/orv_material.h"
#include "core/orv_memory_allocator.h"

OrvSceneNode* OrvMaterialCreator::createNode() {
    return ORV_NEW OrvMaterial();
}

const char* OrvMaterialCreator::getTypeName() const {
    return ORV_NODE_MATERIAL;
}
