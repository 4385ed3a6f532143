// OrvGizmoCreator: makes gizmo nodes for the node manager under
// ORV_NODE_GIZMO.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvGizmoCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
