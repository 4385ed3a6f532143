// The primitive generators, the normal computation and the grouping of
// triangles by material, on a bare mesh record.
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_mesh_record.h"
#include "render/orv_mesh_geometry.h"
#include "orv_test_log.h"

namespace {

using Float4 = std::array<float, 4>;
using Triangle = std::array<uint32_t, 3>;

class GeometryTest : public ::testing::Test {
  protected:
    void SetUp() override { std::strcpy(mesh->name, "shape"); }

    Float4 position(uint32_t v) const { return mesh.element(OrvMeshData::POSITIONS, v); }
    Float4 normal(uint32_t v) const { return mesh.element(OrvMeshData::NORMALS, v); }

    // Every one of the eight sets holds the same (u, v, 0, 1).
    void expectTexCoord(uint32_t v, float u, float w) const {
        for (int set = 0; set < 8; ++set) {
            EXPECT_EQ(mesh.element(OrvMeshData::TEXCOORDS0 + set, v), (Float4{u, w, 0, 1}))
                << "vertex " << v << " set " << set;
        }
    }

    void expectEmpty() const {
        EXPECT_EQ(mesh->vertexCount, 0u);
        EXPECT_EQ(mesh->faceCount, 0u);
        for (OrvFloat4* array : mesh->attributes) {
            EXPECT_EQ(array, nullptr);
        }
        EXPECT_EQ(mesh->indices16, nullptr);
        EXPECT_EQ(mesh->indices32, nullptr);
    }

    OrvTestLog log{OrvLog::NORMAL};
    OrvMeshRecord mesh;
};

TEST_F(GeometryTest, PlaneOfTenByTenSegments) {
    ASSERT_EQ(OrvMeshGeometry::createPlane(mesh.get(), 200, 200, 10, 10), 0);

    EXPECT_EQ(mesh->vertexCount, 121u);
    EXPECT_EQ(mesh->faceCount, 200u);
    EXPECT_EQ(mesh->indexFormat, OrvMeshData::INDICES_16);
    EXPECT_EQ(position(0), (Float4{-100, 0, -100, 1}));
    expectTexCoord(0, 0, 1);
    EXPECT_EQ(position(120), (Float4{100, 0, 100, 1}));
    expectTexCoord(120, 1, 0);
    EXPECT_EQ(position(13), (Float4{-60, 0, -80, 1}));
    EXPECT_EQ(mesh.triangle(0), (Triangle{0, 11, 1}));
    EXPECT_EQ(mesh.triangle(1), (Triangle{1, 11, 12}));
    EXPECT_EQ(mesh.triangle(199), (Triangle{109, 119, 120}));
    EXPECT_EQ(normal(57), (Float4{0, 1, 0, 0}));
    EXPECT_EQ(mesh.element(OrvMeshData::COLORS, 57), (Float4{1, 1, 1, 1}));
}

TEST_F(GeometryTest, PlaneSegmentsBelowOneBecomeOne) {
    ASSERT_EQ(OrvMeshGeometry::createPlane(mesh.get(), 2, 4, 0, -3), 0);

    EXPECT_EQ(mesh->vertexCount, 4u);
    EXPECT_EQ(mesh->faceCount, 2u);
    EXPECT_EQ(position(3), (Float4{1, 0, 2, 1}));
    EXPECT_EQ(mesh.triangle(1), (Triangle{1, 2, 3}));
}

TEST_F(GeometryTest, BoxOfTwentyPointsPerEdge) {
    ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 50, 100, 50, 20, 20, 20), 0);

    EXPECT_EQ(mesh->faceCount, 4332u);
    EXPECT_EQ(mesh->vertexCount, 3u * 4332u);
    EXPECT_EQ(mesh->indexFormat, OrvMeshData::INDICES_16);
    EXPECT_EQ(position(0), (Float4{25, -44.736843f, -22.368422f, 1}));
    const float step = static_cast<float>(1.0 / 19);
    expectTexCoord(0, step, static_cast<float>(1.0 - step));
    for (uint32_t t = 0; t < mesh->faceCount; ++t) {
        ASSERT_EQ(mesh.triangle(t), (Triangle{3 * t, 3 * t + 1, 3 * t + 2}));
    }
    EXPECT_EQ(mesh.element(OrvMeshData::COLORS, 12995), (Float4{1, 1, 1, 1}));
    // The box leaves its normals to the normal computation.
    EXPECT_EQ(normal(7), (Float4{0, 0, 0, 1}));
}

TEST_F(GeometryTest, BoxWithOnePointPerEdgeIsEmpty) {
    ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 1, 1, 1, 1, 1, 1), 0);

    EXPECT_EQ(mesh->vertexCount, 0u);
    EXPECT_EQ(mesh->faceCount, 0u);
}

// Found by fuzzing: a box with cells along one axis only has no faces, yet
// its generator walked every cell of that axis, two billion of them.
TEST_F(GeometryTest, BoxWithCellsAlongOneAxisOnlyIsEmpty) {
    const int points[][3] = {{INT32_MAX, 1, 1}, {1, INT32_MAX, 0}, {-1, 1, 1 << 30}};
    for (const auto& p : points) {
        ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 1, 1, 1, p[0], p[1], p[2]), 0);
        EXPECT_EQ(mesh->vertexCount, 0u);
        EXPECT_EQ(mesh->faceCount, 0u);
    }
}

TEST_F(GeometryTest, TorusRingsCloseAndCircleTheYAxis) {
    const int n = 8;
    ASSERT_EQ(OrvMeshGeometry::createTorus(mesh.get(), 10, 2, n), 0);

    ASSERT_EQ(mesh->vertexCount, 81u);
    ASSERT_EQ(mesh->faceCount, 128u);
    EXPECT_EQ(position(0), (Float4{12, 0, 0, 1}));
    EXPECT_EQ(position(n / 4), (Float4{10, 2, 0, 1}));
    EXPECT_EQ(mesh.triangle(0), (Triangle{0, 9, 1}));
    EXPECT_EQ(mesh.triangle(127), (Triangle{71, 79, 80}));
    // Ring 2 is ring 0 turned a quarter about y: +x goes to -z.
    Float4 quarter = position(2 * (n + 1));
    EXPECT_NEAR(quarter[0], 0, 1e-5);
    EXPECT_NEAR(quarter[2], -12, 1e-5);
    for (uint32_t j = 0; j <= n; ++j) {
        Float4 first = position(j);
        Float4 last = position(n * (n + 1) + j);
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(first[k], last[k], 1e-5) << "vertex " << j;
        }
        expectTexCoord(n * (n + 1) + j, 2, static_cast<float>(j) / n);
    }
    EXPECT_EQ(mesh.element(OrvMeshData::COLORS, 40), (Float4{0, 0, 0, 1}));
}

TEST_F(GeometryTest, EveryGeneratorMarksEveryArrayChanged) {
    const std::function<int(OrvMeshData*)> generators[] = {
        [](OrvMeshData* d) { return OrvMeshGeometry::createPlane(d, 1, 1, 2, 2); },
        [](OrvMeshData* d) { return OrvMeshGeometry::createTorus(d, 2, 1, 3); },
        [](OrvMeshData* d) { return OrvMeshGeometry::createBox(d, 1, 1, 1, 2, 2, 2); },
    };
    for (const auto& generate : generators) {
        std::memset(mesh->attributeDirty, 0, sizeof(mesh->attributeDirty));
        mesh->indicesDirty = 0;
        ASSERT_EQ(generate(mesh.get()), 0);
        for (int dirty : mesh->attributeDirty) {
            EXPECT_EQ(dirty, 1);
        }
        EXPECT_EQ(mesh->indicesDirty, 1);
    }
}

TEST_F(GeometryTest, MoreThan65535VerticesTake32BitIndices) {
    // 44 points per edge: 22188 triangles, which 16 bits could count, but
    // 66564 vertices, which they cannot address.
    ASSERT_EQ(mesh->options[OrvMeshData::shortIndices], 1);
    ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 1, 1, 1, 44, 44, 44), 0);

    ASSERT_EQ(mesh->vertexCount, 66564u);
    EXPECT_EQ(mesh->indexFormat, OrvMeshData::INDICES_32);
    EXPECT_EQ(mesh->indices16, nullptr);
    EXPECT_EQ(mesh.triangle(22187), (Triangle{66561, 66562, 66563}));
}

TEST_F(GeometryTest, GeometryTooLargeLeavesTheMeshEmptyWithAWarning) {
    struct Case {
        std::function<int(OrvMeshData*)> generate;
        std::string warning;
    };
    const Case cases[] = {
        {[](OrvMeshData* d) { return OrvMeshGeometry::createTorus(d, 2, 1, 0); },
         "OrvMeshGeometry::createTorus(): mesh shape: 0 segments, at least 1 needed, mesh left "
         "empty."},
        {[](OrvMeshData* d) { return OrvMeshGeometry::createTorus(d, 2, 1, -5); },
         "OrvMeshGeometry::createTorus(): mesh shape: -5 segments, at least 1 needed, mesh left "
         "empty."},
        {[](OrvMeshData* d) { return OrvMeshGeometry::createTorus(d, 2, 1, 50000); },
         "OrvMeshGeometry::createTorus(): mesh shape: 2500100001 vertices and 5000000000 "
         "triangles are more than a mesh can hold, mesh left empty."},
        {[](OrvMeshData* d) { return OrvMeshGeometry::createPlane(d, 1, 1, INT32_MAX, INT32_MAX); },
         "OrvMeshGeometry::createPlane(): mesh shape: 4611686018427387904 vertices and "
         "9223372028264841218 triangles are more than a mesh can hold, mesh left empty."},
        {[](OrvMeshData* d) {
             return OrvMeshGeometry::createBox(d, 1, 1, 1, INT32_MAX, INT32_MAX, INT32_MAX);
         },
         "OrvMeshGeometry::createBox(): mesh shape: 18446744073709551615 vertices and "
         "18446744073709551615 triangles are more than a mesh can hold, mesh left empty."},
        // Just past the limit: 3 * 4 * 3 * 7999^2 vertices.
        {[](OrvMeshData* d) { return OrvMeshGeometry::createBox(d, 1, 1, 1, 8000, 8000, 8000); },
         "OrvMeshGeometry::createBox(): mesh shape: 2303424036 vertices and 767808012 triangles "
         "are more than a mesh can hold, mesh left empty."},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(OrvMeshGeometry::createPlane(mesh.get(), 1, 1, 1, 1), 0);
        OrvLog::getInstance()->close();
        std::filesystem::remove(log.path());

        EXPECT_EQ(c.generate(mesh.get()), -1);

        expectEmpty();
        EXPECT_EQ(log.messages(), std::vector<std::string>{c.warning});
    }
}

// A record of free-standing triangles, filled by hand.
void fillTriangles(OrvMeshRecord& mesh, const std::vector<Float4>& positions,
                   const std::vector<Triangle>& triangles) {
    mesh->allocVertices(static_cast<int32_t>(positions.size()));
    mesh->allocFaces(static_cast<int32_t>(triangles.size()));
    for (size_t v = 0; v < positions.size(); ++v) {
        std::memcpy(mesh->attributes[OrvMeshData::POSITIONS][v], positions[v].data(), 16);
    }
    for (size_t t = 0; t < triangles.size(); ++t) {
        mesh.setTriangle(t, triangles[t][0], triangles[t][1], triangles[t][2]);
    }
}

Float4 faceNormal(const OrvMeshRecord& mesh, uint32_t face) {
    const OrvFloat4& n = mesh->faceNormals[face];
    return {n[0], n[1], n[2], n[3]};
}

TEST_F(GeometryTest, BoxNormalsPointOutwardsAndStayFlat) {
    ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 4, 6, 8, 3, 4, 5), 0);
    // 4 * (2*3 + 2*4 + 3*4) triangles.
    ASSERT_EQ(mesh->faceCount, 104u);
    mesh->attributeDirty[OrvMeshData::NORMALS] = 0;

    OrvMeshGeometry::computeNormals(mesh.get());

    EXPECT_EQ(mesh->attributeDirty[OrvMeshData::NORMALS], 1);
    const float half[3] = {2, 3, 4};
    for (uint32_t t = 0; t < mesh->faceCount; ++t) {
        Float4 n = faceNormal(mesh, t);
        // The normal is the unit axis of the face the triangle lies on.
        int axis = std::fabs(n[0]) == 1 ? 0 : std::fabs(n[1]) == 1 ? 1 : 2;
        ASSERT_EQ(std::fabs(n[axis]), 1) << "triangle " << t;
        ASSERT_EQ(n[(axis + 1) % 3] == 0 && n[(axis + 2) % 3] == 0, true) << "triangle " << t;
        ASSERT_EQ(n[3], 1);
        for (uint32_t corner = 3 * t; corner < 3 * t + 3; ++corner) {
            ASSERT_EQ(position(corner)[axis], n[axis] * half[axis]) << "vertex " << corner;
            // The float step 1/N may carry the far edge a hair past the size.
            for (int k = 0; k < 3; ++k) {
                ASSERT_LE(std::fabs(position(corner)[k]), half[k] + 1e-5f);
            }
            ASSERT_EQ(normal(corner), (Float4{n[0], n[1], n[2], 0})) << "vertex " << corner;
        }
    }
}

TEST_F(GeometryTest, SharedVerticesAverageTheirFaces) {
    // Two triangles folded along the edge 0-1: one faces +z, the other +x.
    fillTriangles(mesh, {{0, 0, 0, 1}, {0, 1, 0, 1}, {-1, 0, 0, 1}, {0, 0, 1, 1}},
                  {{0, 1, 2}, {0, 1, 3}});

    OrvMeshGeometry::computeNormals(mesh.get());

    EXPECT_EQ(faceNormal(mesh, 0), (Float4{0, 0, 1, 1}));
    EXPECT_EQ(faceNormal(mesh, 1), (Float4{1, 0, 0, 1}));
    const float r = static_cast<float>(1 / std::sqrt(2.0));
    EXPECT_EQ(normal(0), (Float4{r, 0, r, 0}));
    EXPECT_EQ(normal(1), (Float4{r, 0, r, 0}));
    EXPECT_EQ(normal(2), (Float4{0, 0, 1, 0}));
    EXPECT_EQ(normal(3), (Float4{1, 0, 0, 0}));
}

TEST_F(GeometryTest, DegenerateAndTinyTrianglesGetZeroNormalsYetCount) {
    // Triangle 0 is sound; 1 and 2 are a line and a sliver whose cross
    // product is below the threshold (0.005^2 < 0.0001). 3 points at a
    // vertex that does not exist and keeps its old face normal; vertex 5 is
    // used by no triangle.
    fillTriangles(mesh,
                  {{0, 0, 0, 1},
                   {1, 0, 0, 1},
                   {0, 1, 0, 1},
                   {2, 0, 0, 1},
                   {0.1f, 0.005f, 0, 1},
                   {7, 7, 7, 1}},
                  {{0, 1, 2}, {0, 1, 3}, {0, 1, 4}, {0, 1, 9}});
    mesh->faceNormals[3][0] = 0.5f;

    OrvMeshGeometry::computeNormals(mesh.get());

    EXPECT_EQ(faceNormal(mesh, 0), (Float4{0, 0, 1, 1}));
    EXPECT_EQ(faceNormal(mesh, 1), (Float4{0, 0, 0, 1}));
    EXPECT_EQ(faceNormal(mesh, 2), (Float4{0, 0, 0, 1}));
    EXPECT_EQ(faceNormal(mesh, 3), (Float4{0.5f, 0, 0, 1}));
    // Vertex 0's mean is a third of +z, still long enough to renormalise.
    EXPECT_EQ(normal(0), (Float4{0, 0, 1, 0}));
    EXPECT_EQ(normal(3), (Float4{0, 0, 0, 0}));
    EXPECT_EQ(normal(5), (Float4{0, 0, 0, 0}));
}

TEST_F(GeometryTest, ManyDegenerateNeighboursCancelAVertexNormal) {
    // One sound triangle and 200 degenerate ones around vertex 0: the mean at
    // vertex 0 is 1/201 of a unit vector, below the threshold.
    std::vector<Triangle> triangles{{0, 1, 2}};
    triangles.insert(triangles.end(), 200, Triangle{0, 1, 3});
    fillTriangles(mesh, {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {2, 0, 0, 1}}, triangles);

    OrvMeshGeometry::computeNormals(mesh.get());

    EXPECT_EQ(normal(0), (Float4{0, 0, 0, 0}));
    EXPECT_EQ(normal(2), (Float4{0, 0, 1, 0}));
}

TEST_F(GeometryTest, NormalsOfAnEmptyRecordChangeNothing) {
    OrvMeshGeometry::computeNormals(mesh.get());

    EXPECT_EQ(mesh->attributeDirty[OrvMeshData::NORMALS], 0);
}

// Triangle t of the grouping records is (t, t, t), so the order after the
// grouping shows where each triangle went.
void fillNumbered(OrvMeshRecord& mesh, const std::vector<int32_t>& ids, int shortIndices) {
    mesh->setOption(OrvMeshData::shortIndices, shortIndices);
    mesh->allocVertices(static_cast<int32_t>(ids.size()));
    mesh->allocFaces(static_cast<int32_t>(ids.size()));
    for (uint32_t t = 0; t < ids.size(); ++t) {
        mesh.setTriangle(t, t, t, t);
        mesh->faceMaterialIds[t] = ids[t];
    }
}

std::vector<uint32_t> order(const OrvMeshRecord& mesh) {
    std::vector<uint32_t> result;
    for (uint32_t t = 0; t < mesh->faceCount; ++t) {
        result.push_back(mesh.triangle(t)[0]);
    }
    return result;
}

std::vector<std::array<int32_t, 4>> ranges(const OrvMeshRecord& mesh, int count) {
    std::vector<std::array<int32_t, 4>> result;
    for (int i = 0; i < count; ++i) {
        const OrvMaterialRange& r = mesh->materialRanges[i];
        result.push_back({r.firstFace, r.lastFace, r.materialId, r.displayList});
    }
    return result;
}

TEST_F(GeometryTest, GroupingIsStableAndKeepsTrianglesOfUnlistedMaterials) {
    const std::vector<int32_t> ids = {7, 0, 5, 7, 99, 5, 0, 7};
    for (int shortIndices : {1, 0}) {
        OrvMeshRecord record;
        fillNumbered(record, ids, shortIndices);
        const int32_t listed[] = {5, 7, 3};

        EXPECT_EQ(OrvMeshGeometry::groupByMaterial(record.get(), listed, 3), 3);

        EXPECT_EQ(order(record), (std::vector<uint32_t>{2, 5, 0, 3, 7, 1, 6, 4}));
        EXPECT_EQ(std::vector<int32_t>(record->faceMaterialIds, record->faceMaterialIds + 8),
                  (std::vector<int32_t>{5, 5, 7, 7, 7, 0, 0, 99}));
        // Material 3 has no triangles: its range is empty.
        EXPECT_EQ(ranges(record, 3),
                  (std::vector<std::array<int32_t, 4>>{{0, 1, 5, 0}, {2, 4, 7, 0}, {5, 4, 3, 0}}));
        EXPECT_EQ(record->indicesDirty, 1);
    }
}

TEST_F(GeometryTest, AMaterialListedTwiceDrawsItsTrianglesOnce) {
    fillNumbered(mesh, {4, 0, 4}, 1);
    const int32_t listed[] = {4, 4};

    ASSERT_EQ(OrvMeshGeometry::groupByMaterial(mesh.get(), listed, 2), 2);

    EXPECT_EQ(order(mesh), (std::vector<uint32_t>{0, 2, 1}));
    EXPECT_EQ(ranges(mesh, 2), (std::vector<std::array<int32_t, 4>>{{0, 1, 4, 0}, {2, 1, 4, 0}}));
}

TEST_F(GeometryTest, GroupingWithoutMaterialsBuildsNoRanges) {
    fillNumbered(mesh, {3, 0, 3}, 1);

    EXPECT_EQ(OrvMeshGeometry::groupByMaterial(mesh.get(), nullptr, 0), 0);

    EXPECT_EQ(mesh->materialRanges, nullptr);
    EXPECT_EQ(order(mesh), (std::vector<uint32_t>{1, 0, 2}));
}

TEST_F(GeometryTest, GeneratorRunTwiceFreesTheFirstGeometry) {
    const size_t before = OrvMemoryAllocator::trackedBlockCount();
    ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 1, 1, 1, 3, 3, 3), 0);
    const size_t withBox = OrvMemoryAllocator::trackedBlockCount();

    ASSERT_EQ(OrvMeshGeometry::createBox(mesh.get(), 1, 1, 1, 3, 3, 3), 0);

    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), withBox);
    mesh->releaseArrays();
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), before);
}

}  // namespace
