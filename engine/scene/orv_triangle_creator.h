/// @file
/// OrvTriangleCreator, the node manager's maker of triangle nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes triangle nodes for the node manager under ORV_NODE_TRIANGLE.
class OrvTriangleCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
