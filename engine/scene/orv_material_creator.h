/// @file
/// OrvMaterialCreator, the node manager's maker of material nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes material nodes for the node manager under ORV_NODE_MATERIAL.
class OrvMaterialCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
