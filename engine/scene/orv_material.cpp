#include "scene/orv_material.h"

#include <cstring>

#include "scene/orv_gpu_shader.h"
#include "core/orv_log.h"
#include "render/orv_material_data.h"
#include "scene/orv_material_mgr.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_renderer.h"
#include "core/orv_string.h"

namespace {

constexpr float kDefaultAmbient[4] = {0.6f, 0.6f, 0.6f, 1.0f};
constexpr float kDefaultDiffuse[4] = {0.9f, 0.9f, 0.9f, 1.0f};
constexpr float kDefaultSpecular[4] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr float kDefaultEmission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kDefaultShininess = 16.0f;

}  // namespace

OrvMaterial::OrvMaterial() : materialData(nullptr), gpuShader(nullptr) {
    addKind(ORV_KIND_MATERIAL);
    materialData = ORV_NEW OrvMaterialData;
    if (materialData == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvMaterial::OrvMaterial(): node [%d] has no material data.",
                                     getId());
    }
    reset();
    setDefaultName("material");
}

OrvMaterial::~OrvMaterial() {
    release();
    if (materialData != nullptr) {
        ORV_DELETE(materialData);
        materialData = nullptr;
    }
    // A destroyed material must never be found by name or id again.
    OrvMaterialMgr::getInstance()->removeMaterial(this);
}

void OrvMaterial::setName(const char* newName) {
    OrvSceneNode::setName(newName);
    if (newName == nullptr || materialData == nullptr) {
        return;
    }
    orvCopyBounded(materialData->name, sizeof(materialData->name), newName);
}

void OrvMaterial::reset() {
    if (materialData != nullptr) {
        memcpy(materialData->ambient, kDefaultAmbient, sizeof(kDefaultAmbient));
        memcpy(materialData->diffuse, kDefaultDiffuse, sizeof(kDefaultDiffuse));
        memcpy(materialData->specular, kDefaultSpecular, sizeof(kDefaultSpecular));
        memcpy(materialData->emission, kDefaultEmission, sizeof(kDefaultEmission));
        materialData->shininess = kDefaultShininess;
    }
    setFlag(ORV_FLAG_INITIALISED, 1);
    setFlag(ORV_FLAG_MOVED, 1);
    setFlag(ORV_FLAG_PARAMS_CHANGED, 1);
    setFlag(ORV_FLAG_DRAW, 0);
}

void OrvMaterial::apply() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr || materialData == nullptr) {
        return;
    }
    renderer->applyMaterial(materialData->ambient);
}

void OrvMaterial::setAmbient(const float rgba[4]) {
    setColor(materialData != nullptr ? materialData->ambient : nullptr, rgba);
}

void OrvMaterial::setDiffuse(const float rgba[4]) {
    setColor(materialData != nullptr ? materialData->diffuse : nullptr, rgba);
}

void OrvMaterial::setSpecular(const float rgba[4]) {
    setColor(materialData != nullptr ? materialData->specular : nullptr, rgba);
}

void OrvMaterial::setShininess(float value) {
    if (materialData == nullptr) {
        return;
    }
    materialData->shininess = value;
    setFlag(ORV_FLAG_PARAMS_CHANGED, 1);
}

void OrvMaterial::forgetGpuShader(const OrvSceneNode* shader) {
    if (shader != nullptr && static_cast<const OrvSceneNode*>(gpuShader) == shader) {
        gpuShader = nullptr;
    }
}

void OrvMaterial::bindShader() {
    if (gpuShader != nullptr) {
        gpuShader->bind();
    }
}

void OrvMaterial::unbindShader() {
    if (gpuShader != nullptr) {
        gpuShader->unbind();
    }
}

void OrvMaterial::setColor(float* target, const float rgba[4]) {
    if (target == nullptr || rgba == nullptr) {
        return;
    }
    memcpy(target, rgba, 4 * sizeof(float));
    setFlag(ORV_FLAG_PARAMS_CHANGED, 1);
}
