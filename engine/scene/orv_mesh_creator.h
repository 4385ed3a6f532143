/// @file
/// OrvMeshCreator, the node manager's maker of mesh nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes mesh nodes for the node manager under ORV_NODE_MESH.
class OrvMeshCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
