/// @file
/// OrvMeshGeometry, the primitive generators, normals and material grouping of mesh
/// records.
#pragma once

#include <cstdint>

struct OrvMeshData;

/// Fills a mesh record with the engine's primitives (plane,
/// torus, box), derives face and vertex normals from its triangles and groups
/// its triangles by material. It works on the record alone, with no node and no
/// GPU: the mesh node frees GPU objects first and marks its own flags after.
/// The same arguments always yield the same arrays, counts and order.
class OrvMeshGeometry {
  public:
    /// The largest geometry a record can hold: vertices are counted by a signed
    /// 32-bit value, and a draw takes its index count (3 per triangle) as one.
    ///@{
    static constexpr uint64_t kMaxVertices = INT32_MAX;
    static constexpr uint64_t kMaxFaces = INT32_MAX / 3;
    ///@}

    /// @name Generators
    /// Each generator releases the record's arrays, fills them and marks every
    /// array and the indices changed. It returns 0, or -1 when the arguments ask
    /// for geometry the record cannot hold; the record is then left empty and a
    /// WARNING line says why. Positions have w = 1, every texture coordinate set
    /// gets the same (u, v), and the triangles wind counter-clockwise seen from
    /// outside. @p data must not be null.
    ///@{

    /// A plane in y = 0 centred on the origin, facing +y, of @p segmentsX x
    /// @p segmentsZ cells (a count below 1 counts as 1), with up normals and white
    /// vertices; u runs along x from 0 to 1, v along z from 1 to 0.
    static int createPlane(OrvMeshData* data, float width, float depth, int segmentsX,
                           int segmentsZ);
    /// A torus around the y axis: a tube of radius @p minorRadius whose centre
    /// circle has radius @p majorRadius in y = 0, with @p segments rings of
    /// @p segments cells. The first and last ring, and the first and last vertex of
    /// a ring, coincide. Colours and normals are left as allocated, (0, 0, 0, 1).
    /// A segment count below 1 returns -1 with a WARNING line.
    static int createTorus(OrvMeshData* data, float majorRadius, float minorRadius, int segments);
    /// A box centred on the origin with @p pointsX, @p pointsY and @p pointsZ
    /// points per edge along x, y and z (a count below 1 counts as 1), so a face
    /// has one cell fewer along each of its axes. Every triangle has three vertices
    /// of its own, so the computed normals shade each face flat; normals are left
    /// as allocated and the vertices are white. With fewer than two points along
    /// two axes the box has no triangles.
    static int createBox(OrvMeshData* data, float width, float height, float depth, int pointsX,
                         int pointsY, int pointsZ);
    ///@}

    /// Face normals from the triangles, vertex normals as the normalised mean of
    /// the face normals around each vertex. A normal too short to have a direction
    /// becomes zero, a vertex no triangle uses gets a zero normal, and a triangle
    /// with an index past the vertices is skipped and keeps its face normal. Marks
    /// the normal array changed. Does nothing for a null or empty record or one
    /// without normal, position or triangle arrays; out of memory, a WARNING line
    /// says so and the normals stay as they were.
    static void computeNormals(OrvMeshData* data);

    /// Reorders the triangles so that those of each listed material follow one
    /// another in list order, then the unassigned ones (id 0), then those whose
    /// material is not listed; the order within a group is kept. Builds one
    /// range per listed material (empty when it has no triangles). Returns the
    /// number of ranges built, which is 0 when the list is empty.
    /// A null @p materialIds or negative @p materialCount counts as an empty list;
    /// a material listed twice gets its triangles in its first range. Marks the
    /// indices changed. Out of memory, it writes a WARNING line and returns 0,
    /// possibly with the ranges freed. @p data must not be null.
    static int groupByMaterial(OrvMeshData* data, const int32_t* materialIds, int materialCount);
};
