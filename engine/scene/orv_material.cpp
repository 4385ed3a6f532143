#include "scene/orv_material.h"

#include <cstring>

#include "scene/orv_gpu_shader.h"
#include "core/orv_log.h"
#include "render/orv_material_data.h"
#include "scene/orv_material_mgr.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_renderer.h"
#include "core/orv_string.h"
#include "render/orv_texture_data.h"
#include "scene/orv_texture.h"
#include "scene/orv_texture_mgr.h"

namespace {

constexpr float kDefaultAmbient[4] = {0.6f, 0.6f, 0.6f, 1.0f};
constexpr float kDefaultDiffuse[4] = {0.9f, 0.9f, 0.9f, 1.0f};
constexpr float kDefaultSpecular[4] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr float kDefaultEmission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kDefaultShininess = 16.0f;

}  // namespace

OrvMaterial::OrvMaterial() : materialData(nullptr), gpuShader(nullptr), textures{} {
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
    for (int unit = 0; unit < kTextureSlots; ++unit) {
        setTexture(unit, static_cast<OrvTexture*>(nullptr));
    }
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

bool OrvMaterial::isTextureUnit(int unit) {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    const int driverUnits = renderer != nullptr ? renderer->getTextureUnitCount() : kTextureSlots;
    const int units = driverUnits < kTextureSlots ? driverUnits : kTextureSlots;
    if (unit >= 0 && unit < units) {
        return true;
    }
    OrvLog::getInstance()->write(
        OrvLog::WARNING, "OrvMaterial::setTexture(): material %s: unit %d is outside 0 to %d.",
        getName(), unit, units - 1);
    return false;
}

int OrvMaterial::setTexture(int unit, OrvTexture* texture) {
    // Emptying a slot needs no renderer; only a texture put in is checked.
    if (texture != nullptr ? !isTextureUnit(unit) : unit < 0 || unit >= kTextureSlots) {
        return -1;
    }
    OrvTexture* previous = textures[unit];
    if (previous == texture) {
        return 0;
    }
    textures[unit] = texture;
    // A slot only ever holds a texture when the manager exists.
    if (texture != nullptr) {
        OrvTextureMgr::getInstance()->addUser(texture);
    }
    if (previous != nullptr) {
        OrvTextureMgr::getInstance()->removeUser(previous);
    }
    return 0;
}

int OrvMaterial::setTexture(int unit, const char* path) {
    if (path == nullptr || !isTextureUnit(unit)) {
        return -1;
    }
    OrvTexture* texture = OrvTextureMgr::getInstance()->getTexture(path);
    if (texture == nullptr) {
        return -1;
    }
    return setTexture(unit, texture);
}

OrvTexture* OrvMaterial::getTexture(int unit) const {
    return unit >= 0 && unit < kTextureSlots ? textures[unit] : nullptr;
}

void OrvMaterial::forgetTexture(const OrvSceneNode* texture) {
    for (OrvTexture*& slot : textures) {
        if (texture != nullptr && static_cast<const OrvSceneNode*>(slot) == texture) {
            slot = nullptr;
        }
    }
}

// Every upload comes first: an upload leaves its texture bound on unit 0.
void OrvMaterial::bindTextures() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    for (int unit = 0; unit < kTextureSlots && renderer != nullptr; ++unit) {
        if (textures[unit] != nullptr) {
            textures[unit]->apply();
        }
    }
    for (int unit = 0; unit < kTextureSlots && renderer != nullptr; ++unit) {
        if (textures[unit] != nullptr && textures[unit]->isUploaded()) {
            renderer->bindTexture(unit, textures[unit]->getTextureData());
        }
    }
}

void OrvMaterial::unbindTextures() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    for (int unit = 0; unit < kTextureSlots && renderer != nullptr; ++unit) {
        if (textures[unit] != nullptr && textures[unit]->isUploaded()) {
            renderer->bindTexture(unit, nullptr);
        }
    }
}
