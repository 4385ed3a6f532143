#include "orv_gizmo_creator.h"

#include "orv_gizmo.h"
#include "orv_memory_allocator.h"

OrvSceneNode* OrvGizmoCreator::createNode() {
    return ORV_NEW OrvGizmo();
}

const char* OrvGizmoCreator::getTypeName() const {
    return ORV_NODE_GIZMO;
}
