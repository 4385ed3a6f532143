#include "scene/orv_light_creator.h"

#include "scene/orv_light.h"
#include "core/orv_memory_allocator.h"

OrvSceneNode* OrvLightCreator::createNode() {
    return ORV_NEW OrvLight();
}

const char* OrvLightCreator::getTypeName() const {
    return ORV_NODE_LIGHT;
}
