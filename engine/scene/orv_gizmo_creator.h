/// @file
/// OrvGizmoCreator, the node manager's maker of gizmo nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes gizmo nodes for the node manager under ORV_NODE_GIZMO.
class OrvGizmoCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
