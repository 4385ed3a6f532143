// OrvCameraCreator: makes camera nodes for the node manager under
// ORV_NODE_CAMERA.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvCameraCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
