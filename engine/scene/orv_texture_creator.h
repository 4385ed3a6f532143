/// @file
/// OrvTextureCreator, the node manager's maker of texture nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes texture nodes for the node manager under ORV_NODE_TEXTURE. The texture
/// manager owns and registers it.
class OrvTextureCreator : public OrvSceneNodeCreator {
  public:
    /// Null when the node or its texture record could not be allocated.
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
