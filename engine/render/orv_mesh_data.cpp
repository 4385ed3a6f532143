// Allocation and release of the mesh record's arrays. Counts are checked in 64
// bits before anything is allocated, so geometry too large to draw leaves the
// record empty instead of wrapping a size.
#include "render/orv_mesh_data.h"

#include <cstdint>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_geometry.h"

namespace {
// 16-bit indices address at most this many vertices, and hold at most this
// many triangles.
constexpr int64_t kMax16BitVertices = 65535;
constexpr int64_t kMax16BitFaces = 65535;

template <typename T>
void releaseArray(T*& array) {
    if (array != nullptr) {
        ORV_DELETE_ARRAY(array);
        array = nullptr;
    }
}

void fillUnitW(OrvFloat4* elements, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        elements[i][3] = 1.0f;
    }
}
}  // namespace

int OrvMeshData::setOption(int index, int value) {
    if (index >= 0 && index < kOptionCount) {
        options[index] = value;
    }
    return index;
}

void OrvMeshData::reset() {
    vertexCount = 0;
    std::memset(attributes, 0, sizeof(attributes));
    faceCount = 0;
    indexFormat = INDICES_32;
    indices16 = nullptr;
    indices32 = nullptr;
    faceMaterialIds = nullptr;
    faceNormals = nullptr;
    drawIndices32 = nullptr;
    drawIndices16 = nullptr;
    firstFace = 0;
    lastFace = 0;
    materialRanges = nullptr;
    currentRange = 0;

    options[shortIndices] = 1;
    options[colorArray] = 1;
    options[normalArray] = 1;
    options[reservedOption] = 1;
    options[immediateMode] = 0;
    options[displayList] = 0;
    options[vertexArrays] = 1;
    options[plainDrawElements] = 1;
    options[bufferObjects] = 0;

    std::memset(vertexBufferIds, 0, sizeof(vertexBufferIds));
    std::memset(attributeDirty, 0, sizeof(attributeDirty));
    std::memset(vertexBufferUsage, 0, sizeof(vertexBufferUsage));
    indexBufferId = 0;
    indicesDirty = 0;
    indexBufferUsage = 0;
    std::memset(name, 0, sizeof(name));
}

void OrvMeshData::allocVertices(int32_t count) {
    releaseVertexArrays();
    if (count < 0) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvMeshData::allocVertices(): mesh [%s] refused %d vertices.",
                                     name, count);
        releaseArrays();
        return;
    }
    for (int i = 0; i < kAttributeCount; ++i) {
        attributes[i] = ORV_NEW OrvFloat4[count];
        attributeDirty[i] = 1;
    }
    // All or nothing: a record with some arrays missing would be read
    // through the missing ones by whoever fills or draws it.
    for (const OrvFloat4* array : attributes) {
        if (array == nullptr) {
            outOfMemory("allocVertices", "vertices", count);
            return;
        }
    }
    vertexCount = static_cast<uint32_t>(count);
    for (OrvFloat4* array : attributes) {
        fillUnitW(array, count);
    }
}

void OrvMeshData::allocFaces(int32_t count) {
    releaseFaceArrays();
    if (count < 0 || static_cast<uint64_t>(count) > OrvMeshGeometry::kMaxFaces) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvMeshData::allocFaces(): mesh [%s] refused %d triangles.",
                                     name, count);
        releaseArrays();
        return;
    }
    faceCount = static_cast<uint32_t>(count);
    const int64_t indexCount = 3 * static_cast<int64_t>(count);
    if (options[shortIndices] == 1 && count <= kMax16BitFaces && vertexCount <= kMax16BitVertices) {
        indices16 = ORV_NEW uint16_t[indexCount];
        drawIndices16 = indices16;
        indexFormat = INDICES_16;
    } else {
        indices32 = ORV_NEW uint32_t[indexCount];
        drawIndices32 = indices32;
        indexFormat = INDICES_32;
    }
    faceMaterialIds = ORV_NEW int32_t[count];
    faceNormals = ORV_NEW OrvFloat4[count];
    if (indexArray() == nullptr || faceMaterialIds == nullptr || faceNormals == nullptr) {
        outOfMemory("allocFaces", "triangles", count);
        return;
    }
    fillUnitW(faceNormals, count);
    firstFace = 0;
    lastFace = count - 1;
}

void OrvMeshData::outOfMemory(const char* operation, const char* what, int32_t count) {
    OrvLog::getInstance()->write(
        OrvLog::WARNING, "OrvMeshData::%s(): mesh [%s] out of memory for %d %s, mesh left empty.",
        operation, name, count, what);
    releaseArrays();
}

void OrvMeshData::releaseArrays() {
    releaseVertexArrays();
    releaseFaceArrays();
    releaseArray(materialRanges);
}

void OrvMeshData::releaseVertexArrays() {
    vertexCount = 0;
    for (int i = 0; i < kAttributeCount; ++i) {
        releaseArray(attributes[i]);
    }
}

void OrvMeshData::releaseFaceArrays() {
    faceCount = 0;
    releaseArray(indices16);
    releaseArray(indices32);
    releaseArray(faceMaterialIds);
    releaseArray(faceNormals);
    drawIndices32 = nullptr;
    drawIndices16 = nullptr;
    firstFace = 0;
    lastFace = 0;
}
