/// @file
/// OrvLightCreator, the node manager's maker of light nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes light nodes for the node manager under ORV_NODE_LIGHT.
class OrvLightCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
