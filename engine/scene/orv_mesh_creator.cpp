#include "scene/orv_mesh_creator.h"

#include "core/orv_memory_allocator.h"
#include "scene/orv_mesh.h"

OrvSceneNode* OrvMeshCreator::createNode() {
    return ORV_NEW OrvMesh();
}

const char* OrvMeshCreator::getTypeName() const {
    return ORV_NODE_MESH;
}
