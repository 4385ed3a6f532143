#include "scene/orv_triangle_creator.h"

#include "core/orv_memory_allocator.h"
#include "scene/orv_triangle.h"

OrvSceneNode* OrvTriangleCreator::createNode() {
    return ORV_NEW OrvTriangle();
}

const char* OrvTriangleCreator::getTypeName() const {
    return ORV_NODE_TRIANGLE;
}
