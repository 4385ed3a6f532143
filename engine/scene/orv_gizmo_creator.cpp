#include "scene/orv_gizmo_creator.h"

#include "scene/orv_gizmo.h"
#include "core/orv_memory_allocator.h"

OrvSceneNode* OrvGizmoCreator::createNode() {
    return ORV_NEW OrvGizmo();
}

const char* OrvGizmoCreator::getTypeName() const {
    return ORV_NODE_GIZMO;
}
