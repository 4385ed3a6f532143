// OrvTriangleCreator: makes triangle nodes for the node manager under
// ORV_NODE_TRIANGLE.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvTriangleCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
