/// @file
/// OrvMeshData, the geometry record of mesh and triangle nodes, and its draw ranges.
#pragma once

#include <cstddef>
#include <cstdint>

/// Four floats of one vertex attribute or face normal: (x, y, z, w), (r, g, b, a)
/// or (u, v, 0, 1).
typedef float OrvFloat4[4];

/// A run of triangles that share one material and are drawn as one range.
struct OrvMaterialRange {
    /// First triangle of the range.
    int32_t firstFace;
    /// Inclusive; firstFace - 1 when the range has no triangles.
    int32_t lastFace;
    /// Node id of the material.
    int32_t materialId;
    /// GL display list of this range, 0 = none; written by the renderer.
    int32_t displayList;
    /// Bit n set: displayList holds the texture coordinate set of unit n, which
    /// was textured when it was recorded; written by the renderer with it.
    uint32_t listTextureUnits;
};

/// The one geometry record of the engine, owned by a mesh or
/// triangle node. It holds eleven per-vertex arrays of four floats, the
/// triangles with 16-bit or 32-bit indices, a material id and a face normal per
/// triangle, the per-material draw ranges and the bookkeeping of the GPU buffers
/// that mirror the arrays. The renderer reads it and writes back only buffer
/// names, change flags and the draw-range pointers.
struct OrvMeshData {
    /// Size of name, the terminating zero included.
    static constexpr int kNameSize = 128;
    /// Per-vertex arrays: positions, colours, normals and eight texture coordinate sets.
    static constexpr int kAttributeCount = 11;

    /// Indices into options.
    enum Option {
        /// 1: allocFaces() takes 16-bit indices when the triangles and the vertices
        /// both number at most 65535.
        shortIndices = 0,
        /// 1: the vertex-array paths send the colour array (immediate mode always does).
        colorArray = 1,
        /// 1: the vertex-array paths send the normal array (immediate mode always does).
        normalArray = 2,
        reservedOption = 3,  ///< Kept at 1 by reset(); read by nothing.
        /// 1: the mesh draws with begin/end calls per vertex, unless a path above it
        /// is chosen.
        immediateMode = 4,
        /// 1: the mesh draws each range through its own display list, compiled at
        /// its first draw, unless vertexArrays is set.
        displayList = 5,
        /// 1 once the mesh has asked for its display lists to be compiled; reset()
        /// leaves it as it was.
        displayListBuilt = 6,
        /// 1: the mesh draws with vertex arrays and indexed drawing; wins over
        /// displayList and immediateMode.
        vertexArrays = 7,
        /// 1: the renderer draws with glDrawElements; 0: with glDrawRangeElements
        /// where the driver has it.
        plainDrawElements = 8,
        /// 1: with vertexArrays, arrays and indices are drawn from GPU buffers;
        /// 0: from client memory.
        bufferObjects = 9,
        kOptionCount = 10  ///< The number of options.
    };

    /// Indices into attributes of the arrays the renderer sends by name.
    enum Attribute {
        POSITIONS = 0,  ///< (x, y, z, w) per vertex.
        COLORS = 1,     ///< (r, g, b, a) per vertex.
        NORMALS = 2,    ///< (x, y, z) per vertex; the fourth float is not sent.
        /// (u, v, 0, 1) of texture coordinate set 0; set n is at TEXCOORDS0 + n.
        TEXCOORDS0 = 3
    };

    /// Values of indexFormat.
    enum IndexFormat {
        INDICES_16 = 0,  ///< The triangles are in indices16.
        INDICES_32 = 1   ///< The triangles are in indices32.
    };

    /// GL usage hints of the buffers, in vertexBufferUsage and indexBufferUsage.
    /// For any other code the renderer writes a WARNING line and draws that array
    /// from client memory.
    enum BufferUsage {
        USAGE_STATIC = 0,   ///< Uploaded seldom, drawn often.
        USAGE_DYNAMIC = 1,  ///< Uploaded often, drawn often.
        USAGE_STREAM = 2    ///< Uploaded about once per draw.
    };

    /// Draw options, indexed by Option; change them through setOption().
    int32_t options[kOptionCount];
    /// The number of elements of every attribute array.
    uint32_t vertexCount;
    /// Each array holds vertexCount elements: positions, colours, normals and
    /// texture coordinate sets 0 to 7; indexed by Attribute, null while not allocated.
    OrvFloat4* attributes[kAttributeCount];
    /// The number of triangles; the index array in use holds three indices per triangle.
    uint32_t faceCount;
    /// IndexFormat of the triangles: which of indices16 and indices32 holds them.
    int32_t indexFormat;
    /// Three vertex indices per triangle in the width indexFormat names; the other
    /// array is null.
    ///@{
    uint16_t* indices16;
    uint32_t* indices32;
    ///@}
    /// Per triangle, the node id of its material; 0 = none.
    int32_t* faceMaterialIds;
    /// Per triangle, its normal (x, y, z), unit length or zero, and 1.
    OrvFloat4* faceNormals;
    /// Start of the indices of the range being drawn, in the array indexFormat
    /// names; written by the renderer.
    ///@{
    uint32_t* drawIndices32;
    uint16_t* drawIndices16;
    ///@}
    /// The triangles the next draw covers, both inclusive; the mesh copies them
    /// from the range it draws. lastFace below firstFace draws nothing.
    ///@{
    int32_t firstFace;
    int32_t lastFace;
    ///@}
    /// One range per material of the owning mesh's list, built by
    /// OrvMeshGeometry::groupByMaterial(); null while none. Freed with the arrays.
    OrvMaterialRange* materialRanges;
    /// Index into materialRanges of the range being drawn, which the renderer's
    /// display-list calls act on; it must name an existing range.
    int32_t currentRange;
    /// GL buffer name per attribute array, 0 = none; written by the renderer.
    uint32_t vertexBufferIds[kAttributeCount];
    /// Per attribute array, 1 = changed since its last upload; set by whoever
    /// writes the array, cleared by the renderer when it uploads it.
    int32_t attributeDirty[kAttributeCount];
    /// Per attribute array, the BufferUsage its buffer is created with.
    int32_t vertexBufferUsage[kAttributeCount];
    /// GL buffer name of the indices, 0 = none; written by the renderer.
    uint32_t indexBufferId;
    /// 1 = the indices changed since their last upload; cleared by the renderer.
    int32_t indicesDirty;
    /// The BufferUsage the index buffer is created with.
    int32_t indexBufferUsage;
    /// Copy of the owner node's name, zero-terminated; log lines quote it.
    char name[kNameSize];

    /// True when the triangles are in indices32. indexFormat only ever holds
    /// INDICES_16 or INDICES_32, so false means indices16.
    bool has32BitIndices() const { return indexFormat == INDICES_32; }
    /// The triangles' index array in use, null while none is allocated.
    const void* indexArray() const {
        return has32BitIndices() ? static_cast<const void*>(indices32)
                                 : static_cast<const void*>(indices16);
    }
    /// The index at position @p at of the array in use, widened to 32 bits;
    /// @p at is not checked and must be below three times faceCount.
    uint32_t indexAt(size_t at) const { return has32BitIndices() ? indices32[at] : indices16[at]; }

    /// Stores @p value for an option @p index in 0..9 and ignores any other;
    /// returns @p index.
    int setOption(int index, int value);
    /// Empties the record without freeing anything: the owner calls it on a
    /// fresh, zero-filled record. Options 0 to 3, 7 and 8 become 1, options 4, 5
    /// and 9 become 0; option 6 is left as it was. indexFormat becomes INDICES_32.
    void reset();
    /// Replaces the vertex arrays with count elements of (0, 0, 0, 1) each,
    /// all marked changed. When memory runs out, a WARNING line says so and
    /// the record is left empty. A negative @p count is refused the same way.
    /// Allocate the vertices before the triangles: the index width depends on
    /// the vertex count.
    void allocVertices(int32_t count);
    /// Replaces the triangle arrays with count triangles, drawn as one range;
    /// out of memory, the record is left empty with a WARNING line. The indices
    /// are 16-bit when option shortIndices is 1 and @p count and vertexCount are
    /// at most 65535, else 32-bit; they and the material ids start at 0, the face
    /// normals at (0, 0, 0, 1). indicesDirty is not set. A negative @p count or
    /// one above OrvMeshGeometry::kMaxFaces is refused with a WARNING line and
    /// leaves the record empty.
    void allocFaces(int32_t count);
    /// Frees every array, the material ranges included; options, buffer names and
    /// flags stay. The owner destroys the GPU buffers first.
    void releaseArrays();

  private:
    void releaseVertexArrays();
    void releaseFaceArrays();
    // Logs the failed allocation and empties the record.
    void outOfMemory(const char* operation, const char* what, int32_t count);
};
