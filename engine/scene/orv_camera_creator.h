/// @file
/// OrvCameraCreator, the node manager's maker of camera nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes camera nodes for the node manager under ORV_NODE_CAMERA.
class OrvCameraCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
