// OrvMaterialCreator: makes material nodes for the node manager under
// ORV_NODE_MATERIAL.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvMaterialCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
