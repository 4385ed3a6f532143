// OrvMeshCreator: makes mesh nodes for the node manager under ORV_NODE_MESH.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvMeshCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
