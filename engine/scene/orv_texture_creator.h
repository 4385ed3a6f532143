// OrvTextureCreator: makes texture nodes for the node manager under
// ORV_NODE_TEXTURE. The texture manager owns and registers it.
#pragma once

#include "scene/orv_scene_node_creator.h"

class OrvTextureCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
