// The mesh node: geometry through OrvMeshGeometry, materials by node id, and
// drawing range by range through the renderer. The renderer may be absent
// (a mesh built before the renderer exists); then nothing is drawn and there
// are no GPU objects to free.
#include "scene/orv_mesh.h"

#include "core/orv_log.h"
#include "scene/orv_material.h"
#include "scene/orv_material_mgr.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"
#include "render/orv_mesh_geometry.h"
#include "core/orv_prefetch.h"
#include "scene/orv_render_state.h"
#include "render/orv_renderer.h"
#include "core/orv_string.h"

OrvMesh::OrvMesh() : meshData(nullptr), rangeCount(0) {
    addKind(ORV_KIND_MESH);
    meshData = ORV_NEW OrvMeshData();
    if (meshData != nullptr) {
        meshData->reset();
    }
    setFlag(ORV_FLAG_INITIALISED, 1);
    setFlag(ORV_FLAG_MOVED, 1);
    setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
    setFlag(ORV_FLAG_DRAW, 1);
    setFlag(ORV_FLAG_MATERIALS_DIRTY, 1);
    setFlag(ORV_FLAG_NORMALS_DIRTY, 1);
    setDefaultName("mesh");
}

OrvMesh::~OrvMesh() {
    OrvMesh::release();
    if (meshData != nullptr) {
        ORV_DELETE(meshData);
        meshData = nullptr;
    }
}

void OrvMesh::setName(const char* newName) {
    OrvSceneNode::setName(newName);
    if (newName != nullptr && meshData != nullptr) {
        orvCopyBounded(meshData->name, sizeof(meshData->name), newName);
    }
}

void OrvMesh::release() {
    if (meshData == nullptr) {
        return;
    }
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr) {
        for (int array = 0; array < OrvMeshData::kAttributeCount; ++array) {
            renderer->destroyVBO(meshData, array);
        }
        renderer->destroyIBO(meshData);
    }
    releaseDisplayLists();
    meshData->releaseArrays();
    rangeCount = 0;
}

void OrvMesh::releaseDisplayLists() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (meshData == nullptr || renderer == nullptr) {
        return;
    }
    const int32_t current = meshData->currentRange;
    for (int32_t range = 0; range < rangeCount; ++range) {
        if (meshData->materialRanges[range].displayList != 0) {
            meshData->currentRange = range;
            renderer->deleteDisplayList(meshData);
        }
    }
    meshData->currentRange = current;
    meshData->setOption(OrvMeshData::displayListBuilt, 0);
}

void OrvMesh::update(float dt) {
    OrvSceneObject::update(dt);
    if (getFlag(ORV_FLAG_MATERIALS_DIRTY) == 1) {
        sortFacesByMaterial();
        setFlag(ORV_FLAG_MATERIALS_DIRTY, 0);
    }
    if (getFlag(ORV_FLAG_NORMALS_DIRTY) == 1) {
        recomputeNormals();
        setFlag(ORV_FLAG_NORMALS_DIRTY, 0);
    }
}

void OrvMesh::render(float dt) {
    // The records are read after the matrix calls below; loading them meanwhile
    // keeps large scenes from waiting on memory (see orv_prefetch.h).
    orvPrefetch(meshData, sizeof(OrvMeshData));
    orvPrefetch(renderState, sizeof(OrvRenderState));
    OrvSceneObject::render(dt);
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (getFlag(ORV_FLAG_DRAW) != 1 || renderer == nullptr || meshData == nullptr) {
        return;
    }
    loadObjectMatrix(renderer);
    orvPrefetch(meshData->materialRanges, rangeCount * sizeof(OrvMaterialRange));
    const bool buffers = meshData->options[OrvMeshData::bufferObjects] == 1;
    int materialCount = 0;
    if (renderState != nullptr) {
        renderState->apply();
        materialCount = renderState->getMaterialCount();
    }
    if (buffers) {
        renderer->setVertexBuffers(meshData);
    } else {
        renderer->setVertexArrays(meshData);
    }
    const int ranges = materialCount < rangeCount ? materialCount : rangeCount;
    OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
    for (int range = 0; range < ranges; ++range) {
        // A material the manager no longer knows is skipped.
        OrvMaterial* material = materials->findById(meshData->materialRanges[range].materialId);
        if (material != nullptr) {
            material->apply();
            material->bindShader();
            material->bindTextures();
            drawRange(range);
            material->unbindTextures();
            material->unbindShader();
        }
    }
    if (buffers) {
        renderer->unsetVertexBuffers(meshData);
    } else {
        renderer->unsetVertexArrays(meshData);
    }
}

void OrvMesh::drawRange(int range) {
    if (meshData == nullptr || range < 0 || range >= rangeCount) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvMesh::drawRange(): mesh %s has no range %d.", getName(), range);
        return;
    }
    OrvMaterialRange& current = meshData->materialRanges[range];
    meshData->firstFace = current.firstFace;
    meshData->lastFace = current.lastFace;
    meshData->currentRange = range;
    OrvRenderer* renderer = OrvRenderer::getInstance();
    const int32_t* options = meshData->options;
    if (renderer == nullptr) {
        return;
    }
    if (options[OrvMeshData::vertexArrays] == 1) {
        if (options[OrvMeshData::bufferObjects] == 1) {
            renderer->drawElementsVBO(meshData);
        } else {
            renderer->drawElements(meshData);
        }
    } else if (options[OrvMeshData::displayList] == 1) {
        // Each range keeps its own list, compiled the first time it is drawn.
        if (current.displayList == 0) {
            renderer->compileDisplayList(meshData);
            meshData->setOption(OrvMeshData::displayListBuilt, 1);
        }
        renderer->callDisplayList(meshData);
    } else if (options[OrvMeshData::immediateMode] == 1) {
        renderer->drawImmediate(meshData);
    }
}

void OrvMesh::geometryReplaced() {
    setFlag(ORV_FLAG_MATERIALS_DIRTY, 1);
    setFlag(ORV_FLAG_NORMALS_DIRTY, 1);
}

void OrvMesh::createTorus(float majorRadius, float minorRadius, int segments) {
    if (meshData != nullptr) {
        release();
        OrvMeshGeometry::createTorus(meshData, majorRadius, minorRadius, segments);
        geometryReplaced();
    }
}

void OrvMesh::createPlane(float width, float depth, int segmentsX, int segmentsZ) {
    if (meshData != nullptr) {
        release();
        OrvMeshGeometry::createPlane(meshData, width, depth, segmentsX, segmentsZ);
        geometryReplaced();
    }
}

void OrvMesh::createBox(float width, float height, float depth, int pointsX, int pointsY,
                        int pointsZ) {
    if (meshData != nullptr) {
        release();
        OrvMeshGeometry::createBox(meshData, width, height, depth, pointsX, pointsY, pointsZ);
        geometryReplaced();
    }
}

void OrvMesh::computeNormals() {
    recomputeNormals();
}

void OrvMesh::recomputeNormals() {
    if (meshData != nullptr) {
        OrvMeshGeometry::computeNormals(meshData);
        releaseDisplayLists();
    }
}

void OrvMesh::sortFacesByMaterial() {
    if (meshData == nullptr) {
        return;
    }
    // The lists were compiled for the ranges about to be replaced.
    releaseDisplayLists();
    const int count = renderState != nullptr ? renderState->getMaterialCount() : 0;
    int32_t* ids = count > 0 ? ORV_NEW int32_t[count] : nullptr;
    if (count > 0 && ids == nullptr) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvMesh::sortFacesByMaterial(): mesh %s: out of memory.", getName());
        return;
    }
    for (int i = 0; i < count; ++i) {
        ids[i] = renderState->getMaterial(i)->getId();
    }
    rangeCount = OrvMeshGeometry::groupByMaterial(meshData, ids, count);
    if (ids != nullptr) {
        ORV_DELETE_ARRAY(ids);
    }
}

void OrvMesh::setMaterial(const char* name, int firstFace, int lastFace) {
    if (name != nullptr) {
        setMaterial(OrvMaterialMgr::getInstance()->getMaterial(name), firstFace, lastFace);
    }
}

void OrvMesh::setMaterial(OrvMaterial* material, int firstFace, int lastFace) {
    if (material == nullptr || meshData == nullptr) {
        return;
    }
    const int64_t faceCount = meshData->faceCount;
    if (firstFace < 0 || firstFace >= faceCount) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvMesh::setMaterial(): mesh %s has no face %d (%lld faces).",
                                     getName(), firstFace, static_cast<long long>(faceCount));
        return;
    }
    // A lastFace equal to firstFace, -1 or past the end runs to the last face.
    const bool bounded = lastFace != -1 && firstFace < lastFace && lastFace < faceCount;
    const int64_t end = bounded ? lastFace : faceCount - 1;
    if (renderState != nullptr && renderState->hasMaterial(material) == 0) {
        renderState->addMaterial(material);
    }
    for (int64_t face = firstFace; face <= end; ++face) {
        meshData->faceMaterialIds[face] = material->getId();
    }
    setFlag(ORV_FLAG_MATERIALS_DIRTY, 1);
}
