// OrvLightCreator: makes light nodes for the node manager under
// ORV_NODE_LIGHT.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvLightCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
