// Primitive generators, normals and material grouping over a mesh record.
// Coordinates are computed in double precision and stored as floats, so that
// the same arguments give the same floats on every machine. Counts are checked
// in 64 bits before anything is allocated.
#include "render/orv_mesh_geometry.h"

#include <cmath>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"

namespace {

// 2 pi rounded to a 32-bit float (bit pattern 0x40C90FDB): the torus's angles
// are multiples of this value, so its last ring lands where the float turn ends.
constexpr float kTwoPi = 6.2831855f;

// A cross product or mean normal shorter than this (squared) has no reliable
// direction and becomes zero.
constexpr double kMinNormalLengthSquared = 0.0001;

constexpr int kTexCoordSets = 8;

// Saturating 64-bit arithmetic: an absurd request compares as too large
// instead of wrapping into a small count.
uint64_t mulSat(uint64_t a, uint64_t b) {
    return (a != 0 && b > UINT64_MAX / a) ? UINT64_MAX : a * b;
}

uint64_t addSat(uint64_t a, uint64_t b) {
    return b > UINT64_MAX - a ? UINT64_MAX : a + b;
}

bool trianglesAllocated(const OrvMeshData* data) {
    return data->indexArray() != nullptr && data->faceMaterialIds != nullptr &&
           data->faceNormals != nullptr;
}

bool arraysAllocated(const OrvMeshData* data) {
    for (int i = 0; i < OrvMeshData::kAttributeCount; ++i) {
        if (data->attributes[i] == nullptr) {
            return false;
        }
    }
    return trianglesAllocated(data);
}

// Releases the old geometry and allocates the new, all or nothing.
bool allocate(OrvMeshData* data, const char* operation, uint64_t vertices, uint64_t faces) {
    data->releaseArrays();
    if (vertices > OrvMeshGeometry::kMaxVertices || faces > OrvMeshGeometry::kMaxFaces) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvMeshGeometry::%s(): mesh %s: %llu vertices and %llu triangles are more than a "
            "mesh can hold, mesh left empty.",
            operation, data->name, static_cast<unsigned long long>(vertices),
            static_cast<unsigned long long>(faces));
        return false;
    }
    data->allocVertices(static_cast<int32_t>(vertices));
    data->allocFaces(static_cast<int32_t>(faces));
    if (!arraysAllocated(data)) {
        data->releaseArrays();
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvMeshGeometry::%s(): mesh %s: out of memory for %llu vertices, mesh left empty.",
            operation, data->name, static_cast<unsigned long long>(vertices));
        return false;
    }
    return true;
}

void markAllChanged(OrvMeshData* data) {
    for (int i = 0; i < OrvMeshData::kAttributeCount; ++i) {
        data->attributeDirty[i] = 1;
    }
    data->indicesDirty = 1;
}

void setFloat4(OrvFloat4& element, double x, double y, double z, double w) {
    element[0] = static_cast<float>(x);
    element[1] = static_cast<float>(y);
    element[2] = static_cast<float>(z);
    element[3] = static_cast<float>(w);
}

// Every texture coordinate set gets the same (u, v); the third and fourth
// components keep the (0, 1) of the allocation.
void setTexCoord(OrvMeshData* data, uint32_t vertex, double u, double v) {
    for (int set = 0; set < kTexCoordSets; ++set) {
        OrvFloat4& element = data->attributes[OrvMeshData::TEXCOORDS0 + set][vertex];
        element[0] = static_cast<float>(u);
        element[1] = static_cast<float>(v);
    }
}

void setTriangle(OrvMeshData* data, uint32_t face, uint32_t a, uint32_t b, uint32_t c) {
    if (data->indexFormat == OrvMeshData::INDICES_16) {
        uint16_t* t = data->indices16 + 3 * static_cast<size_t>(face);
        t[0] = static_cast<uint16_t>(a);
        t[1] = static_cast<uint16_t>(b);
        t[2] = static_cast<uint16_t>(c);
    } else {
        uint32_t* t = data->indices32 + 3 * static_cast<size_t>(face);
        t[0] = a;
        t[1] = b;
        t[2] = c;
    }
}

void getTriangle(const OrvMeshData* data, uint32_t face, uint32_t index[3]) {
    for (int k = 0; k < 3; ++k) {
        const size_t at = 3 * static_cast<size_t>(face) + k;
        index[k] = data->indexAt(at);
    }
}

// Two triangles per cell of a grid of rows x columns cells whose vertices are
// numbered row by row, (A, B, A + 1) and (A + 1, B, B + 1), counter-clockwise
// seen from +y for the plane.
void gridTriangles(OrvMeshData* data, uint32_t rows, uint32_t columns) {
    uint32_t face = 0;
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t k = 0; k < columns; ++k) {
            const uint32_t a = r * (columns + 1) + k;
            const uint32_t b = a + columns + 1;
            setTriangle(data, face++, a, b, a + 1);
            setTriangle(data, face++, a + 1, b, b + 1);
        }
    }
}

// Scales n to unit length, or to zero when it is too short.
void normalise(double n[3]) {
    const double lengthSquared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    const double scale =
        lengthSquared < kMinNormalLengthSquared ? 0.0 : 1.0 / std::sqrt(lengthSquared);
    for (int k = 0; k < 3; ++k) {
        n[k] *= scale;
    }
}

// One side of the box. Its cells are visited outer axis first; each cell
// writes six vertices whose grid steps along the outer and inner axis are
// given by the corner table, and u runs along the inner axis, v along the
// outer one.
struct BoxFace {
    int fixedAxis;
    double side;
    int outerAxis;
    int innerAxis;
    const int (*corners)[2];
    bool flipU;
    bool flipV;
};

constexpr int kCornersA[6][2] = {{1, 1}, {1, 0}, {0, 0}, {1, 1}, {0, 0}, {0, 1}};
constexpr int kCornersB[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
constexpr int kCornersC[6][2] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}, {0, 0}};

// +x, -x, +y, -y, +z, -z: each winds counter-clockwise seen from outside.
constexpr BoxFace kBoxFaces[6] = {
    {0, 1.0, 2, 1, kCornersA, false, true},  {0, -1.0, 2, 1, kCornersB, false, false},
    {1, 1.0, 2, 0, kCornersB, false, true},  {1, -1.0, 2, 0, kCornersC, false, false},
    {2, 1.0, 1, 0, kCornersC, false, false}, {2, -1.0, 1, 0, kCornersB, true, false},
};

// The box's grid along each axis: its size, its number of cells and the step
// 1/cells rounded to a float, as the texture coordinates use it.
struct BoxAxes {
    double size[3];
    uint32_t cells[3];
    double step[3];

    double fraction(int axis, uint32_t k) const { return k * step[axis]; }
    double coordinate(int axis, uint32_t k) const {
        return size[axis] * fraction(axis, k) - size[axis] * 0.5;
    }
};

// Writes the six vertices of every cell of one face from vertex on; returns
// the next free vertex.
uint32_t boxFace(OrvMeshData* data, const BoxAxes& axes, const BoxFace& face, uint32_t vertex) {
    // A face without cells along one of its axes has none at all, while its
    // other axis may count two billion of them.
    if (axes.cells[face.outerAxis] == 0 || axes.cells[face.innerAxis] == 0) {
        return vertex;
    }
    OrvFloat4* positions = data->attributes[OrvMeshData::POSITIONS];
    for (uint32_t outer = 0; outer < axes.cells[face.outerAxis]; ++outer) {
        for (uint32_t inner = 0; inner < axes.cells[face.innerAxis]; ++inner) {
            for (int c = 0; c < 6; ++c, ++vertex) {
                const uint32_t o = outer + face.corners[c][0];
                const uint32_t i = inner + face.corners[c][1];
                double p[3];
                p[face.fixedAxis] = face.side * axes.size[face.fixedAxis] * 0.5;
                p[face.outerAxis] = axes.coordinate(face.outerAxis, o);
                p[face.innerAxis] = axes.coordinate(face.innerAxis, i);
                setFloat4(positions[vertex], p[0], p[1], p[2], 1.0);
                const double u = axes.fraction(face.innerAxis, i);
                const double v = axes.fraction(face.outerAxis, o);
                setTexCoord(data, vertex, face.flipU ? 1.0 - u : u, face.flipV ? 1.0 - v : v);
            }
        }
    }
    return vertex;
}

// Which group a triangle's material id falls in: its place in the list, then
// unassigned triangles, then those whose material is not listed.
class MaterialBuckets {
  public:
    MaterialBuckets(const int32_t* ids, int count) : m_ids(ids), m_count(count) {}

    int count() const { return m_count + 2; }

    int of(int32_t id) {
        // Triangles of one material mostly follow one another.
        if (m_lastBucket >= 0 && id == m_lastId) {
            return m_lastBucket;
        }
        m_lastId = id;
        m_lastBucket = id == 0 ? m_count : m_count + 1;
        for (int l = 0; l < m_count; ++l) {
            if (m_ids[l] == id) {
                m_lastBucket = l;
                break;
            }
        }
        return m_lastBucket;
    }

  private:
    const int32_t* m_ids;
    int m_count;
    int32_t m_lastId = 0;
    int m_lastBucket = -1;
};

// Copies triangle from into place to of the scratch arrays.
template <typename Index>
void copyTriangle(const Index* indices, Index* scratch, uint32_t from, uint32_t to) {
    std::memcpy(scratch + 3 * static_cast<size_t>(to), indices + 3 * static_cast<size_t>(from),
                3 * sizeof(Index));
}

// A stable counting sort of the triangles by bucket.
template <typename Index>
bool sortTriangles(OrvMeshData* data, Index* indices, MaterialBuckets& buckets) {
    const uint32_t n = data->faceCount;
    Index* scratchIndices = ORV_NEW Index[3 * static_cast<size_t>(n)];
    int32_t* scratchIds = ORV_NEW int32_t[n];
    uint32_t* next = ORV_NEW uint32_t[buckets.count()];
    const bool ok = scratchIndices != nullptr && scratchIds != nullptr && next != nullptr;
    if (ok) {
        for (uint32_t t = 0; t < n; ++t) {
            ++next[buckets.of(data->faceMaterialIds[t])];
        }
        uint32_t start = 0;
        for (int b = 0; b < buckets.count(); ++b) {
            const uint32_t size = next[b];
            next[b] = start;
            start += size;
        }
        for (uint32_t t = 0; t < n; ++t) {
            const int32_t id = data->faceMaterialIds[t];
            const uint32_t to = next[buckets.of(id)]++;
            copyTriangle(indices, scratchIndices, t, to);
            scratchIds[to] = id;
        }
        std::memcpy(indices, scratchIndices, 3 * sizeof(Index) * static_cast<size_t>(n));
        std::memcpy(data->faceMaterialIds, scratchIds, sizeof(int32_t) * static_cast<size_t>(n));
    }
    ORV_DELETE_ARRAY(scratchIndices);
    ORV_DELETE_ARRAY(scratchIds);
    ORV_DELETE_ARRAY(next);
    return ok;
}

// A record whose triangle arrays could not be allocated has nothing to sort
// and no ids to read.
bool sortByMaterial(OrvMeshData* data, MaterialBuckets& buckets) {
    if (!trianglesAllocated(data)) {
        return false;
    }
    return data->indexFormat == OrvMeshData::INDICES_16
               ? sortTriangles(data, data->indices16, buckets)
               : sortTriangles(data, data->indices32, buckets);
}

// One range per listed material over the sorted triangles. A material listed
// twice gets its triangles in its first range; the second one is empty.
bool buildRanges(OrvMeshData* data, const int32_t* materialIds, int materialCount) {
    if (data->materialRanges != nullptr) {
        ORV_DELETE_ARRAY(data->materialRanges);
        data->materialRanges = nullptr;
    }
    if (materialCount == 0) {
        return true;
    }
    data->materialRanges = ORV_NEW OrvMaterialRange[materialCount];
    if (data->materialRanges == nullptr) {
        return false;
    }
    const int64_t n = data->faceCount;
    int64_t k = 0;
    for (int l = 0; l < materialCount; ++l) {
        OrvMaterialRange& range = data->materialRanges[l];
        range.materialId = materialIds[l];
        range.firstFace = static_cast<int32_t>(k);
        while (k < n && data->faceMaterialIds[k] == materialIds[l]) {
            ++k;
        }
        range.lastFace = static_cast<int32_t>(k - 1);
        range.displayList = 0;
        range.listTextureUnits = 0;
    }
    return true;
}

}  // namespace

int OrvMeshGeometry::createPlane(OrvMeshData* data, float width, float depth, int segmentsX,
                                 int segmentsZ) {
    const uint32_t sx = segmentsX < 1 ? 1 : static_cast<uint32_t>(segmentsX);
    const uint32_t sz = segmentsZ < 1 ? 1 : static_cast<uint32_t>(segmentsZ);
    if (!allocate(data, "createPlane", mulSat(sx + 1ull, sz + 1ull), mulSat(2, mulSat(sx, sz)))) {
        return -1;
    }
    const double cellX = static_cast<double>(width) / sx;
    const double cellZ = static_cast<double>(depth) / sz;
    for (uint32_t i = 0; i <= sz; ++i) {
        for (uint32_t j = 0; j <= sx; ++j) {
            const uint32_t v = i * (sx + 1) + j;
            setFloat4(data->attributes[OrvMeshData::POSITIONS][v], j * cellX - width * 0.5, 0.0,
                      i * cellZ - depth * 0.5, 1.0);
            setFloat4(data->attributes[OrvMeshData::NORMALS][v], 0.0, 1.0, 0.0, 0.0);
            setFloat4(data->attributes[OrvMeshData::COLORS][v], 1.0, 1.0, 1.0, 1.0);
            setTexCoord(data, v, static_cast<double>(j) / sx, static_cast<double>(sz - i) / sz);
        }
    }
    gridTriangles(data, sz, sx);
    markAllChanged(data);
    return 0;
}

int OrvMeshGeometry::createTorus(OrvMeshData* data, float majorRadius, float minorRadius,
                                 int segments) {
    if (segments < 1) {
        data->releaseArrays();
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvMeshGeometry::createTorus(): mesh %s: %d segments, at least 1 needed, mesh left "
            "empty.",
            data->name, segments);
        return -1;
    }
    const uint32_t n = static_cast<uint32_t>(segments);
    const uint64_t ring = n + 1ull;
    if (!allocate(data, "createTorus", mulSat(ring, ring), mulSat(2, mulSat(n, n)))) {
        return -1;
    }
    OrvFloat4* positions = data->attributes[OrvMeshData::POSITIONS];
    for (uint32_t j = 0; j <= n; ++j) {
        const double theta = static_cast<double>(j) / n * kTwoPi;
        const double c = static_cast<float>(std::cos(theta));
        const double s = static_cast<float>(std::sin(theta));
        setFloat4(positions[j], majorRadius + minorRadius * c, minorRadius * s, 0.0, 1.0);
        setTexCoord(data, j, 0.0, static_cast<double>(j) / n);
    }
    for (uint32_t i = 1; i <= n; ++i) {
        const double phi = static_cast<double>(i) / n * kTwoPi;
        const double c = static_cast<float>(std::cos(phi));
        const double s = static_cast<float>(std::sin(phi));
        for (uint32_t j = 0; j <= n; ++j) {
            const OrvFloat4& p = positions[j];
            const uint32_t v = i * (n + 1) + j;
            setFloat4(positions[v], p[0] * c + p[2] * s, p[1], p[2] * c - p[0] * s, p[3]);
            setTexCoord(data, v, 2.0 * i / n, static_cast<double>(j) / n);
        }
    }
    gridTriangles(data, n, n);
    markAllChanged(data);
    return 0;
}

int OrvMeshGeometry::createBox(OrvMeshData* data, float width, float height, float depth,
                               int pointsX, int pointsY, int pointsZ) {
    const int points[3] = {pointsX, pointsY, pointsZ};
    BoxAxes axes = {{width, height, depth}, {}, {}};
    for (int a = 0; a < 3; ++a) {
        axes.cells[a] = points[a] < 1 ? 0 : static_cast<uint32_t>(points[a]) - 1;
        // An axis without cells has no step; no vertex uses it.
        axes.step[a] = axes.cells[a] == 0 ? 0.0 : static_cast<float>(1.0 / axes.cells[a]);
    }
    const uint32_t* cells = axes.cells;
    const uint64_t faceCells = addSat(
        addSat(mulSat(cells[0], cells[1]), mulSat(cells[0], cells[2])), mulSat(cells[1], cells[2]));
    const uint64_t faces = mulSat(4, faceCells);
    if (!allocate(data, "createBox", mulSat(3, faces), faces)) {
        return -1;
    }
    for (uint32_t v = 0; v < data->vertexCount; ++v) {
        setFloat4(data->attributes[OrvMeshData::COLORS][v], 1.0, 1.0, 1.0, 1.0);
    }
    uint32_t vertex = 0;
    for (const BoxFace& face : kBoxFaces) {
        vertex = boxFace(data, axes, face, vertex);
    }
    for (uint32_t t = 0; t < data->faceCount; ++t) {
        setTriangle(data, t, 3 * t, 3 * t + 1, 3 * t + 2);
    }
    markAllChanged(data);
    return 0;
}

void OrvMeshGeometry::computeNormals(OrvMeshData* data) {
    if (data == nullptr || data->vertexCount == 0) {
        return;
    }
    OrvFloat4* normals = data->attributes[OrvMeshData::NORMALS];
    const OrvFloat4* positions = data->attributes[OrvMeshData::POSITIONS];
    if (normals == nullptr || positions == nullptr || !trianglesAllocated(data)) {
        return;
    }
    uint32_t* counters = ORV_NEW uint32_t[data->vertexCount];
    if (counters == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvMeshGeometry::computeNormals(): mesh %s: out of memory.",
                                     data->name);
        return;
    }
    std::memset(normals, 0, sizeof(OrvFloat4) * data->vertexCount);
    for (uint32_t t = 0; t < data->faceCount; ++t) {
        uint32_t v[3];
        getTriangle(data, t, v);
        if (v[0] >= data->vertexCount || v[1] >= data->vertexCount || v[2] >= data->vertexCount) {
            continue;
        }
        double e1[3];
        double e2[3];
        for (int k = 0; k < 3; ++k) {
            e1[k] = static_cast<double>(positions[v[0]][k]) - positions[v[1]][k];
            e2[k] = static_cast<double>(positions[v[2]][k]) - positions[v[1]][k];
        }
        double n[3] = {e2[1] * e1[2] - e2[2] * e1[1], e2[2] * e1[0] - e2[0] * e1[2],
                       e2[0] * e1[1] - e2[1] * e1[0]};
        normalise(n);
        setFloat4(data->faceNormals[t], n[0], n[1], n[2], 1.0);
        for (uint32_t corner : v) {
            for (int k = 0; k < 3; ++k) {
                normals[corner][k] += static_cast<float>(n[k]);
            }
            ++counters[corner];
        }
    }
    for (uint32_t i = 0; i < data->vertexCount; ++i) {
        // A vertex no triangle uses keeps the zero normal.
        const double scale = counters[i] == 0 ? 0.0 : 1.0 / counters[i];
        double n[3] = {normals[i][0] * scale, normals[i][1] * scale, normals[i][2] * scale};
        normalise(n);
        setFloat4(normals[i], n[0], n[1], n[2], 0.0);
    }
    data->attributeDirty[OrvMeshData::NORMALS] = 1;
    ORV_DELETE_ARRAY(counters);
}

int OrvMeshGeometry::groupByMaterial(OrvMeshData* data, const int32_t* materialIds,
                                     int materialCount) {
    if (materialIds == nullptr || materialCount < 0) {
        materialCount = 0;
    }
    MaterialBuckets buckets(materialIds, materialCount);
    const bool sorted = data->faceCount == 0 || sortByMaterial(data, buckets);
    if (!sorted || !buildRanges(data, materialIds, materialCount)) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvMeshGeometry::groupByMaterial(): mesh %s: out of memory.",
                                     data->name);
        return 0;
    }
    data->indicesDirty = 1;
    return materialCount;
}
