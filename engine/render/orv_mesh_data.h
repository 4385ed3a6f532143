// OrvMeshData: the one geometry record of the engine, owned by a mesh or
// triangle node. It holds eleven per-vertex arrays of four floats, the
// triangles with 16-bit or 32-bit indices, a material id and a face normal per
// triangle, the per-material draw ranges and the bookkeeping of the GPU buffers
// that mirror the arrays. The renderer reads it and writes back only buffer
// names, change flags and the draw-range pointers.
#pragma once

#include <cstddef>
#include <cstdint>

typedef float OrvFloat4[4];

struct OrvMaterialRange {
    int32_t firstFace;
    // Inclusive.
    int32_t lastFace;
    // Node id of the material.
    int32_t materialId;
    // GL display list of this range, 0 = none; written by the renderer.
    int32_t displayList;
};

struct OrvMeshData {
    static constexpr int kNameSize = 128;
    static constexpr int kAttributeCount = 11;

    enum Option {
        shortIndices = 0,
        colorArray = 1,
        normalArray = 2,
        reservedOption = 3,
        immediateMode = 4,
        displayList = 5,
        displayListBuilt = 6,
        vertexArrays = 7,
        plainDrawElements = 8,
        bufferObjects = 9,
        kOptionCount = 10
    };

    enum Attribute { POSITIONS = 0, COLORS = 1, NORMALS = 2, TEXCOORDS0 = 3 };

    enum IndexFormat { INDICES_16 = 0, INDICES_32 = 1 };

    enum BufferUsage { USAGE_STATIC = 0, USAGE_DYNAMIC = 1, USAGE_STREAM = 2 };

    int32_t options[kOptionCount];
    uint32_t vertexCount;
    // Each array holds vertexCount elements: positions, colours, normals and
    // texture coordinate sets 0 to 7.
    OrvFloat4* attributes[kAttributeCount];
    uint32_t faceCount;
    int32_t indexFormat;
    uint16_t* indices16;
    uint32_t* indices32;
    int32_t* faceMaterialIds;
    OrvFloat4* faceNormals;
    uint32_t* drawIndices32;
    uint16_t* drawIndices16;
    int32_t firstFace;
    // Inclusive.
    int32_t lastFace;
    OrvMaterialRange* materialRanges;
    int32_t currentRange;
    uint32_t vertexBufferIds[kAttributeCount];
    int32_t attributeDirty[kAttributeCount];
    int32_t vertexBufferUsage[kAttributeCount];
    uint32_t indexBufferId;
    int32_t indicesDirty;
    int32_t indexBufferUsage;
    char name[kNameSize];

    // indexFormat only ever holds INDICES_16 or INDICES_32.
    bool has32BitIndices() const { return indexFormat == INDICES_32; }
    // The triangles' index array in use, null while none is allocated.
    const void* indexArray() const {
        return has32BitIndices() ? static_cast<const void*>(indices32)
                                 : static_cast<const void*>(indices16);
    }
    // The index at position at of the array in use, widened to 32 bits.
    uint32_t indexAt(size_t at) const { return has32BitIndices() ? indices32[at] : indices16[at]; }

    // Stores value for an index in 0..9 and ignores any other; returns index.
    int setOption(int index, int value);
    // Empties the record without freeing anything: the owner calls it on a
    // fresh, zero-filled record. Option 6 is left as it was.
    void reset();
    // Replaces the vertex arrays with count elements of (0, 0, 0, 1) each,
    // all marked changed. When memory runs out, a WARNING line says so and
    // the record is left empty.
    void allocVertices(int32_t count);
    // Replaces the triangle arrays with count triangles, drawn as one range;
    // out of memory, the record is left empty with a WARNING line.
    void allocFaces(int32_t count);
    // Frees every array; options, buffer names and flags stay.
    void releaseArrays();

  private:
    void releaseVertexArrays();
    void releaseFaceArrays();
    // Logs the failed allocation and empties the record.
    void outOfMemory(const char* operation, const char* what, int32_t count);
};
