// OrvMeshGeometry: fills a mesh record with the engine's primitives (plane,
// torus, box), derives face and vertex normals from its triangles and groups
// its triangles by material. It works on the record alone, with no node and no
// GPU: the mesh node frees GPU objects first and marks its own flags after.
// The same arguments always yield the same arrays, counts and order.
#pragma once

#include <cstdint>

struct OrvMeshData;

class OrvMeshGeometry {
  public:
    // The largest geometry a record can hold: vertices are counted by a signed
    // 32-bit value, and a draw takes its index count (3 per triangle) as one.
    static constexpr uint64_t kMaxVertices = INT32_MAX;
    static constexpr uint64_t kMaxFaces = INT32_MAX / 3;

    // Each generator releases the record's arrays, fills them and marks every
    // array and the indices changed. It returns 0, or -1 when the arguments ask
    // for geometry the record cannot hold; the record is then left empty and a
    // WARNING line says why.
    static int createPlane(OrvMeshData* data, float width, float depth, int segmentsX,
                           int segmentsZ);
    static int createTorus(OrvMeshData* data, float majorRadius, float minorRadius, int segments);
    static int createBox(OrvMeshData* data, float width, float height, float depth, int pointsX,
                         int pointsY, int pointsZ);

    // Face normals from the triangles, vertex normals as the normalised mean of
    // the face normals around each vertex.
    static void computeNormals(OrvMeshData* data);

    // Reorders the triangles so that those of each listed material follow one
    // another in list order, then the unassigned ones (id 0), then those whose
    // material is not listed; the order within a group is kept. Builds one
    // range per listed material (empty when it has no triangles). Returns the
    // number of ranges built, which is 0 when the list is empty.
    static int groupByMaterial(OrvMeshData* data, const int32_t* materialIds, int materialCount);
};
