#include "scene/orv_camera_creator.h"

#include "scene/orv_camera.h"
#include "core/orv_memory_allocator.h"

OrvSceneNode* OrvCameraCreator::createNode() {
    return ORV_NEW OrvCamera();
}

const char* OrvCameraCreator::getTypeName() const {
    return ORV_NODE_CAMERA;
}
