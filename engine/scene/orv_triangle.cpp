#include "scene/orv_triangle.h"

#include "core/orv_log.h"
#include "scene/orv_material.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"
#include "scene/orv_render_state.h"
#include "render/orv_renderer.h"

OrvTriangle::OrvTriangle() : meshData(nullptr) {
    addKind(ORV_KIND_TRIANGLE);
    meshData = ORV_NEW OrvMeshData();
    if (meshData != nullptr) {
        meshData->reset();
    }
    setFlag(ORV_FLAG_INITIALISED, 1);
    setFlag(ORV_FLAG_MOVED, 1);
    setFlag(ORV_FLAG_DRAW, 1);
    if (meshData != nullptr) {
        meshData->allocVertices(kVertexCount);
        meshData->allocFaces(1);
    }
    setDefaultName("triangle");
    if (!hasVertices()) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvTriangle::OrvTriangle(): triangle [%s] has no vertices.",
                                     getName());
    }
}

OrvTriangle::~OrvTriangle() {
    OrvTriangle::release();
    if (meshData != nullptr) {
        ORV_DELETE(meshData);
        meshData = nullptr;
    }
}

void OrvTriangle::release() {
    if (meshData != nullptr) {
        meshData->releaseArrays();
    }
}

void OrvTriangle::apply() {
    setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
}

void OrvTriangle::update(float dt) {
    OrvSceneObject::update(dt);
    setFlag(ORV_FLAG_MOVED, 0);
}

void OrvTriangle::render(float dt) {
    OrvSceneObject::render(dt);
    OrvRenderer* renderer = OrvRenderer::getInstance();
    // A released triangle has no arrays left to read.
    if (getFlag(ORV_FLAG_DRAW) != 1 || renderer == nullptr || !hasVertices()) {
        return;
    }
    loadObjectMatrix(renderer);
    OrvMaterial* material = nullptr;
    if (renderState != nullptr) {
        renderState->apply();
        material = renderState->getMaterial(0);
    }
    // Only the shader of the material counts: the look comes from the
    // vertex colours.
    if (material != nullptr) {
        material->bindShader();
    }
    renderer->drawTriangle(meshData);
    if (material != nullptr) {
        material->unbindShader();
    }
}

bool OrvTriangle::hasVertices() const {
    return meshData != nullptr && meshData->vertexCount >= kVertexCount &&
           meshData->attributes[OrvMeshData::POSITIONS] != nullptr &&
           meshData->attributes[OrvMeshData::COLORS] != nullptr;
}
