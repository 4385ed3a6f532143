/// @file
/// OrvGpuShaderCreator, the node manager's maker of GPU shader nodes.
#pragma once

#include "scene/orv_scene_node_creator.h"

/// Makes OrvGpuShader nodes for the node manager under the type string
/// ORV_NODE_GPU_SHADER.
class OrvGpuShaderCreator : public OrvSceneNodeCreator {
  public:
    /// Null when the node or its program record could not be allocated.
    OrvSceneNode* createNode() override;
    const char* getTypeName() const override;
};
