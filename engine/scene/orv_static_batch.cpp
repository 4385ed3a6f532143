// Building, checking and drawing one static batch. Counts are summed in 64
// bits and checked against what one mesh record can hold before anything is
// allocated; the record's own rule picks 16-bit indices only while every
// vertex is reachable by them.
#include "scene/orv_static_batch.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"
#include "render/orv_mesh_geometry.h"
#include "render/orv_renderer.h"
#include "scene/orv_material.h"
#include "scene/orv_material_mgr.h"
#include "scene/orv_mesh.h"
#include "scene/orv_static_batches.h"

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

bool isIdentity(const float* m) {
    return std::memcmp(m, kIdentity, sizeof(kIdentity)) == 0;
}

// The matrix only moves: normals pass unchanged, without a rounding step,
// and a position only gains the translation, as the full product would give.
// A batch carries no texture coordinates, so a textured material's meshes
// draw on their own.
bool hasTexture(const OrvMaterial* material) {
    for (int unit = 0; unit < OrvMaterial::kTextureSlots; ++unit) {
        if (material->getTexture(unit) != nullptr) {
            return true;
        }
    }
    return false;
}

bool isTranslation(const float* m) {
    for (int at = 0; at < 12; ++at) {
        if (m[at] != kIdentity[at]) {
            return false;
        }
    }
    return m[15] == 1.0f;
}

void transformPoint(const float* m, const float* p, float* out) {
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row] * p[3];
    }
}

// The inverse transpose of the upper 3 x 3, as cofactors: scaling by the
// determinant does not matter, since the normal is normalised afterwards.
void normalMatrix(const float* m, float* n) {
    auto at = [m](int row, int column) { return m[4 * column + row]; };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
            const int c1 = (column + 1) % 3, c2 = (column + 2) % 3;
            n[3 * row + column] = at(r1, c1) * at(r2, c2) - at(r1, c2) * at(r2, c1);
        }
    }
}

// A zero normal stays zero: normalising it would invent a direction.
void transformNormal(const float* n, const float* in, float* out) {
    float length = 0.0f;
    for (int row = 0; row < 3; ++row) {
        out[row] = n[3 * row] * in[0] + n[3 * row + 1] * in[1] + n[3 * row + 2] * in[2];
        length += out[row] * out[row];
    }
    if (length > 0.0f) {
        const float scale = 1.0f / std::sqrt(length);
        for (int row = 0; row < 3; ++row) {
            out[row] *= scale;
        }
    }
    out[3] = in[3];
}

}  // namespace

bool OrvStaticBatchKey::operator==(const OrvStaticBatchKey& other) const {
    return std::memcmp(states, other.states, sizeof(states)) == 0 &&
           colorArray == other.colorArray && normalArray == other.normalArray &&
           programMaterialId == other.programMaterialId;
}

bool OrvStaticBatch::keyOf(OrvMesh* mesh, OrvStaticBatchKey* key) {
    const OrvMeshData* data = mesh->meshData;
    if (mesh->staticOption != 1 || mesh->staticBatch != nullptr || data == nullptr ||
        mesh->renderState == nullptr || data->options[OrvMeshData::vertexArrays] != 1) {
        return false;
    }
    std::memcpy(key->states, mesh->renderState->getStates(), sizeof(key->states));
    key->colorArray = data->options[OrvMeshData::colorArray];
    key->normalArray = data->options[OrvMeshData::normalArray];
    key->programMaterialId = 0;
    OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
    // Every range is looked at, past the first one with a program too: a
    // textured range anywhere keeps the mesh out, since a batch carries no
    // texture coordinates.
    for (int32_t range = 0; range < mesh->rangeCount; ++range) {
        const OrvMaterial* material = materials->findById(data->materialRanges[range].materialId);
        if (material == nullptr) {
            continue;
        }
        if (hasTexture(material)) {
            return false;
        }
        if (key->programMaterialId == 0 && material->getGpuShader() != nullptr) {
            key->programMaterialId = material->getId();
        }
    }
    return key->programMaterialId == 0 || isIdentity(mesh->transform.matrix.m);
}

OrvStaticBatch::OrvStaticBatch(const OrvStaticBatches* owner, const OrvStaticBatchKey& key,
                               int32_t capacity)
    : owner(owner),
      key(key),
      members(nullptr),
      memberCount(0),
      memberCapacity(0),
      ranges(nullptr),
      rangeCount(0),
      meshData(nullptr),
      stale(false),
      drawPending(false) {
    members = capacity > 0 ? ORV_NEW Member[capacity] : nullptr;
    memberCapacity = members != nullptr ? capacity : 0;
}

OrvStaticBatch::~OrvStaticBatch() {
    releaseMembers(nullptr);
    releaseRecord();
    if (members != nullptr) {
        ORV_DELETE_ARRAY(members);
    }
}

void OrvStaticBatch::add(OrvMesh* mesh) {
    // A mesh listed twice in the scene is taken once.
    if (memberCount >= memberCapacity || mesh->staticBatch != nullptr) {
        return;
    }
    Member& member = members[memberCount];
    member.mesh = mesh;
    mesh->staticBatch = this;
    mesh->staticSlot = memberCount;
    ++memberCount;
}

void OrvStaticBatch::snapshot(Member& member) {
    OrvMesh* mesh = member.mesh;
    std::memcpy(member.matrix, mesh->transform.matrix.m, sizeof(member.matrix));
    std::memcpy(member.states, mesh->renderState->getStates(), sizeof(member.states));
    member.draw = mesh->getFlag(ORV_FLAG_DRAW);
    member.materialCount = mesh->renderState->getMaterialCount();
    member.firstVertex = -1;
}

int32_t OrvStaticBatch::drawnRanges(const Member& member) {
    if (member.mesh == nullptr || member.draw != 1) {
        return 0;
    }
    const int32_t built = member.mesh->rangeCount;
    return member.materialCount < built ? member.materialCount : built;
}

bool OrvStaticBatch::build() {
    releaseRecord();
    stale = false;
    uint64_t vertices = 0;
    uint64_t faces = 0;
    if (!countGeometry(&vertices, &faces)) {
        return false;
    }
    if (vertices > OrvMeshGeometry::kMaxVertices || faces > OrvMeshGeometry::kMaxFaces) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvStaticBatch::build(): %llu vertices and %llu triangles "
                                     "are too many for one batch; its meshes draw one by one.",
                                     static_cast<unsigned long long>(vertices),
                                     static_cast<unsigned long long>(faces));
        return false;
    }
    if (!allocate(vertices, faces)) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvStaticBatch::build(): out of memory for %llu vertices "
                                     "and %llu triangles; its meshes draw one by one.",
                                     static_cast<unsigned long long>(vertices),
                                     static_cast<unsigned long long>(faces));
        releaseRecord();
        return false;
    }
    fillVertices();
    fillTriangles();
    chooseBuffers();
    return true;
}

// Takes each member's snapshot, sums what the members draw one by one and
// lists the materials in the order they are first drawn.
bool OrvStaticBatch::countGeometry(uint64_t* vertices, uint64_t* faces) {
    uint64_t rangeTotal = 0;
    for (int32_t m = 0; m < memberCount; ++m) {
        if (members[m].mesh != nullptr) {
            snapshot(members[m]);
            rangeTotal += static_cast<uint64_t>(drawnRanges(members[m]));
        }
    }
    ranges = rangeTotal > 0 ? ORV_NEW Range[rangeTotal] : nullptr;
    if (rangeTotal > 0 && ranges == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvStaticBatch::build(): out of memory for %llu ranges; its "
                                     "meshes draw one by one.",
                                     static_cast<unsigned long long>(rangeTotal));
        return false;
    }
    OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
    for (int32_t m = 0; m < memberCount; ++m) {
        Member& member = members[m];
        const OrvMaterialRange* own =
            member.mesh != nullptr ? member.mesh->meshData->materialRanges : nullptr;
        uint64_t memberFaces = 0;
        for (int32_t r = 0; r < drawnRanges(member); ++r) {
            // Ranges whose material the manager no longer knows are skipped,
            // as the mesh's own render skips them.
            OrvMaterial* material = materials->findById(own[r].materialId);
            if (material == nullptr || own[r].lastFace < own[r].firstFace) {
                continue;
            }
            memberFaces += static_cast<uint64_t>(own[r].lastFace - own[r].firstFace + 1);
            if (rangeSlot(own[r].materialId) < 0) {
                ranges[rangeCount++] = {own[r].materialId, material->getGpuShader(), material};
            }
        }
        if (memberFaces > 0) {
            member.firstVertex = static_cast<int64_t>(*vertices);
            *vertices += member.mesh->meshData->vertexCount;
            *faces += memberFaces;
        }
    }
    return true;
}

int32_t OrvStaticBatch::rangeSlot(int32_t materialId) const {
    for (int32_t r = 0; r < rangeCount; ++r) {
        if (ranges[r].materialId == materialId) {
            return r;
        }
    }
    return -1;
}

// Only positions, colours and normals are ever sent, so the texture
// coordinate arrays stay unallocated.
bool OrvStaticBatch::allocate(uint64_t vertices, uint64_t faces) {
    meshData = ORV_NEW OrvMeshData();
    if (meshData == nullptr) {
        return false;
    }
    meshData->reset();
    std::snprintf(meshData->name, sizeof(meshData->name), "static_batch_%d",
                  memberCount > 0 && members[0].mesh != nullptr ? members[0].mesh->getId() : 0);
    meshData->vertexCount = static_cast<uint32_t>(vertices);
    for (int array = OrvMeshData::POSITIONS; array <= OrvMeshData::NORMALS; ++array) {
        meshData->attributes[array] = vertices > 0 ? ORV_NEW OrvFloat4[vertices] : nullptr;
        meshData->attributeDirty[array] = 1;
        if (vertices > 0 && meshData->attributes[array] == nullptr) {
            return false;
        }
    }
    meshData->allocFaces(static_cast<int32_t>(faces));
    meshData->materialRanges = rangeCount > 0 ? ORV_NEW OrvMaterialRange[rangeCount] : nullptr;
    meshData->indicesDirty = 1;
    return faces == 0 ||
           (meshData->indexArray() != nullptr && meshData->faceMaterialIds != nullptr &&
            meshData->materialRanges != nullptr);
}

void OrvStaticBatch::fillVertices() {
    for (int32_t m = 0; m < memberCount; ++m) {
        const Member& member = members[m];
        if (member.firstVertex < 0) {
            continue;
        }
        const OrvMeshData* source = member.mesh->meshData;
        const size_t bytes = source->vertexCount * sizeof(OrvFloat4);
        OrvFloat4* const* target = meshData->attributes;
        std::memcpy(target[OrvMeshData::COLORS] + member.firstVertex,
                    source->attributes[OrvMeshData::COLORS], bytes);
        if (isTranslation(member.matrix)) {
            std::memcpy(target[OrvMeshData::NORMALS] + member.firstVertex,
                        source->attributes[OrvMeshData::NORMALS], bytes);
            translatePositions(member, source);
        } else {
            transformVertices(member, source);
        }
    }
}

void OrvStaticBatch::translatePositions(const Member& member, const OrvMeshData* source) {
    const float* t = member.matrix + 12;
    const OrvFloat4* from = source->attributes[OrvMeshData::POSITIONS];
    OrvFloat4* to = meshData->attributes[OrvMeshData::POSITIONS] + member.firstVertex;
    for (uint32_t v = 0; v < source->vertexCount; ++v) {
        const float w = from[v][3];
        to[v][0] = from[v][0] + t[0] * w;
        to[v][1] = from[v][1] + t[1] * w;
        to[v][2] = from[v][2] + t[2] * w;
        to[v][3] = w;
    }
}

void OrvStaticBatch::transformVertices(const Member& member, const OrvMeshData* source) {
    float normalRows[9];
    normalMatrix(member.matrix, normalRows);
    OrvFloat4* positions = meshData->attributes[OrvMeshData::POSITIONS] + member.firstVertex;
    OrvFloat4* normals = meshData->attributes[OrvMeshData::NORMALS] + member.firstVertex;
    for (uint32_t v = 0; v < source->vertexCount; ++v) {
        transformPoint(member.matrix, source->attributes[OrvMeshData::POSITIONS][v], positions[v]);
        transformNormal(normalRows, source->attributes[OrvMeshData::NORMALS][v], normals[v]);
    }
}

// Material by material, each member's triangles of that material in member
// order: within one draw the triangles meet the depth test in the order the
// meshes would draw them one by one.
void OrvStaticBatch::fillTriangles() {
    uint32_t face = 0;
    for (int32_t r = 0; r < rangeCount; ++r) {
        const int32_t first = static_cast<int32_t>(face);
        for (int32_t m = 0; m < memberCount; ++m) {
            if (members[m].firstVertex >= 0) {
                appendTriangles(members[m], ranges[r].materialId, &face);
            }
        }
        meshData->materialRanges[r] = {first, static_cast<int32_t>(face) - 1, ranges[r].materialId,
                                       0, 0};
    }
}

void OrvStaticBatch::appendTriangles(const Member& member, int32_t materialId, uint32_t* face) {
    const OrvMeshData* source = member.mesh->meshData;
    const uint32_t base = static_cast<uint32_t>(member.firstVertex);
    const bool wide = meshData->has32BitIndices();
    for (int32_t r = 0; r < drawnRanges(member); ++r) {
        const OrvMaterialRange& own = source->materialRanges[r];
        if (own.materialId != materialId) {
            continue;
        }
        for (int32_t f = own.firstFace; f <= own.lastFace; ++f, ++*face) {
            for (size_t k = 0; k < 3; ++k) {
                const uint32_t index = base + source->indexAt(3 * static_cast<size_t>(f) + k);
                const size_t at = 3 * static_cast<size_t>(*face) + k;
                if (wide) {
                    meshData->indices32[at] = index;
                } else {
                    meshData->indices16[at] = static_cast<uint16_t>(index);
                }
            }
            meshData->faceMaterialIds[*face] = materialId;
        }
    }
}

// Buffer objects when the driver has them: a position buffer that can be
// made says so. Making it binds it, so the binding is undone for the client
// arrays drawn next.
void OrvStaticBatch::chooseBuffers() {
    meshData->setOption(OrvMeshData::colorArray, key.colorArray);
    meshData->setOption(OrvMeshData::normalArray, key.normalArray);
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr || meshData->faceCount == 0) {
        return;
    }
    if (renderer->createVBO(meshData, OrvMeshData::POSITIONS) == 0) {
        meshData->setOption(OrvMeshData::bufferObjects, 1);
    }
    renderer->bindVBO(nullptr, OrvMeshData::POSITIONS);
}

void OrvStaticBatch::releaseRecord() {
    if (meshData != nullptr) {
        OrvRenderer* renderer = OrvRenderer::getInstance();
        if (renderer != nullptr) {
            for (int array = 0; array < OrvMeshData::kAttributeCount; ++array) {
                renderer->destroyVBO(meshData, array);
            }
            renderer->destroyIBO(meshData);
        }
        meshData->releaseArrays();
        ORV_DELETE(meshData);
        meshData = nullptr;
    }
    if (ranges != nullptr) {
        ORV_DELETE_ARRAY(ranges);
        ranges = nullptr;
    }
    rangeCount = 0;
}

void OrvStaticBatch::check(OrvMesh* mesh) {
    Member& member = members[mesh->staticSlot];
    if (member.mesh != mesh) {
        return;
    }
    if (std::memcmp(member.matrix, mesh->transform.matrix.m, sizeof(member.matrix)) != 0) {
        // A mesh that moves would rebuild its batch every frame: it draws on
        // its own from now on, until the program marks it static again.
        leave(member);
        mesh->staticOption = 0;
        stale = true;
        return;
    }
    if (std::memcmp(member.states, mesh->renderState->getStates(), sizeof(member.states)) != 0 ||
        member.draw != mesh->getFlag(ORV_FLAG_DRAW) ||
        member.materialCount != mesh->renderState->getMaterialCount()) {
        stale = true;
    }
}

void OrvStaticBatch::forget(OrvMesh* mesh) {
    Member& member = members[mesh->staticSlot];
    if (member.mesh == mesh) {
        leave(member);
        stale = true;
    }
}

void OrvStaticBatch::leave(Member& member) {
    member.mesh->staticBatch = nullptr;
    member.mesh->staticSlot = 0;
    member.mesh = nullptr;
}

int32_t OrvStaticBatch::releaseMembers(OrvMesh** out) {
    int32_t written = 0;
    for (int32_t m = 0; m < memberCount; ++m) {
        if (members[m].mesh == nullptr) {
            continue;
        }
        if (out != nullptr) {
            out[written++] = members[m].mesh;
        }
        leave(members[m]);
    }
    memberCount = 0;
    return written;
}

int32_t OrvStaticBatch::getMeshCount() const {
    int32_t count = 0;
    for (int32_t m = 0; m < memberCount; ++m) {
        count += members[m].mesh != nullptr ? 1 : 0;
    }
    return count;
}

void OrvStaticBatch::beginFrame() {
    drawPending = true;
    OrvMaterialMgr* materials = OrvMaterialMgr::getInstance();
    for (int32_t r = 0; r < rangeCount; ++r) {
        Range& range = ranges[r];
        range.material = materials->findById(range.materialId);
        if (range.material == nullptr || range.material->getGpuShader() != range.program ||
            hasTexture(range.material)) {
            stale = true;
        }
    }
}

bool OrvStaticBatch::drawFrom(const OrvMesh*) {
    if (!owner->isRendering()) {
        return false;
    }
    if (drawPending) {
        drawPending = false;
        draw();
    }
    return true;
}

// The vertices are in world space already, so only the camera's view is
// loaded; then the shared render states and one draw per material.
void OrvStaticBatch::draw() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr || meshData == nullptr || meshData->faceCount == 0) {
        return;
    }
    renderer->loadViewMatrix();
    renderer->applyRenderStates(key.states);
    const bool buffers = meshData->options[OrvMeshData::bufferObjects] == 1;
    if (buffers) {
        renderer->setVertexBuffers(meshData);
    } else {
        renderer->setVertexArrays(meshData);
    }
    for (int32_t r = 0; r < rangeCount; ++r) {
        OrvMaterial* material = ranges[r].material;
        if (material == nullptr) {
            continue;
        }
        meshData->firstFace = meshData->materialRanges[r].firstFace;
        meshData->lastFace = meshData->materialRanges[r].lastFace;
        meshData->currentRange = r;
        material->apply();
        material->bindShader();
        if (buffers) {
            renderer->drawElementsVBO(meshData);
        } else {
            renderer->drawElements(meshData);
        }
        material->unbindShader();
    }
    if (buffers) {
        renderer->unsetVertexBuffers(meshData);
    } else {
        renderer->unsetVertexArrays(meshData);
    }
}
