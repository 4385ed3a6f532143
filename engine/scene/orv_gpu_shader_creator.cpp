#include "scene/orv_gpu_shader_creator.h"

#include "scene/orv_gpu_shader.h"
#include "core/orv_memory_allocator.h"

OrvSceneNode* OrvGpuShaderCreator::createNode() {
    OrvGpuShader* node = ORV_NEW OrvGpuShader();
    // Every operation of the node works on its record, so a node without one
    // is not handed out.
    if (node != nullptr && node->getProgram() == nullptr) {
        ORV_DELETE(node);
        return nullptr;
    }
    return node;
}

const char* OrvGpuShaderCreator::getTypeName() const {
    return ORV_NODE_GPU_SHADER;
}
