#include <gtest/gtest.h>

#include <cstring>

#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"
#include "orv_test_log.h"

namespace {

// A record as its owner makes it: zero-filled by the allocator, then reset.
class MeshDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        blocksBefore = OrvMemoryAllocator::trackedBlockCount();
        mesh = ORV_NEW OrvMeshData();
        mesh->reset();
        std::snprintf(mesh->name, sizeof(mesh->name), "%s", "box");
    }
    void TearDown() override {
        mesh->releaseArrays();
        ORV_DELETE(mesh);
        EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocksBefore) << "arrays leaked";
    }

    OrvTestLog log{OrvLog::DEBUG};
    size_t blocksBefore = 0;
    OrvMeshData* mesh = nullptr;
};

TEST_F(MeshDataTest, ResetSetsTheDrawOptionsAndLeavesTheBuiltFlag) {
    mesh->options[OrvMeshData::displayListBuilt] = 1;
    mesh->vertexBufferIds[3] = 9;
    mesh->indexBufferId = 4;
    mesh->reset();

    const int expected[OrvMeshData::kOptionCount] = {1, 1, 1, 1, 0, 0, 1, 1, 1, 0};
    for (int i = 0; i < OrvMeshData::kOptionCount; ++i) {
        EXPECT_EQ(mesh->options[i], expected[i]) << "option " << i;
    }
    EXPECT_EQ(mesh->indexFormat, OrvMeshData::INDICES_32);
    EXPECT_EQ(mesh->indices16, nullptr);
    EXPECT_EQ(mesh->indices32, nullptr);
    EXPECT_EQ(mesh->vertexBufferIds[3], 0u);
    EXPECT_EQ(mesh->indexBufferId, 0u);
    EXPECT_EQ(mesh->name[0], '\0');
}

TEST_F(MeshDataTest, SetOptionStoresOnlyIndicesZeroToNine) {
    const int indices[] = {-1, 0, 9, 10};
    for (int index : indices) {
        int before[OrvMeshData::kOptionCount];
        std::memcpy(before, mesh->options, sizeof(before));
        EXPECT_EQ(mesh->setOption(index, 7), index);
        for (int i = 0; i < OrvMeshData::kOptionCount; ++i) {
            EXPECT_EQ(mesh->options[i], i == index ? 7 : before[i]) << index << " " << i;
        }
    }
}

TEST_F(MeshDataTest, AllocVerticesFillsEveryArrayWithUnitW) {
    mesh->allocVertices(5);
    ASSERT_EQ(mesh->vertexCount, 5u);
    for (int a = 0; a < OrvMeshData::kAttributeCount; ++a) {
        ASSERT_NE(mesh->attributes[a], nullptr);
        EXPECT_EQ(mesh->attributeDirty[a], 1);
        for (int v = 0; v < 5; ++v) {
            const float* e = mesh->attributes[a][v];
            EXPECT_TRUE(e[0] == 0 && e[1] == 0 && e[2] == 0 && e[3] == 1) << a << " " << v;
        }
    }
}

TEST_F(MeshDataTest, SixteenBitIndicesOnlyWhileTrianglesAndVerticesFit) {
    struct Case {
        int shortIndices;
        int vertices;
        int faces;
        int format;
    };
    const Case cases[] = {
        {1, 3, 65535, OrvMeshData::INDICES_16}, {1, 3, 65536, OrvMeshData::INDICES_32},
        {0, 3, 1, OrvMeshData::INDICES_32},     {1, 65535, 1, OrvMeshData::INDICES_16},
        {1, 65536, 1, OrvMeshData::INDICES_32},
    };
    for (const Case& c : cases) {
        mesh->setOption(OrvMeshData::shortIndices, c.shortIndices);
        mesh->allocVertices(c.vertices);
        mesh->allocFaces(c.faces);
        const bool sixteen = c.format == OrvMeshData::INDICES_16;
        EXPECT_EQ(mesh->indexFormat, c.format) << c.vertices << " vertices, " << c.faces;
        EXPECT_EQ(mesh->indices16 != nullptr, sixteen);
        EXPECT_EQ(mesh->indices32 != nullptr, !sixteen);
        EXPECT_EQ(mesh->drawIndices16, mesh->indices16);
        EXPECT_EQ(mesh->drawIndices32, mesh->indices32);
        EXPECT_EQ(mesh->faceCount, static_cast<uint32_t>(c.faces));
        EXPECT_EQ(mesh->firstFace, 0);
        EXPECT_EQ(mesh->lastFace, c.faces - 1);
        const float* lastNormal = mesh->faceNormals[c.faces - 1];
        EXPECT_EQ(lastNormal[3], 1.0f);
        EXPECT_EQ(mesh->faceMaterialIds[c.faces - 1], 0);
        mesh->releaseArrays();
    }
}

TEST_F(MeshDataTest, CountsThatCannotBeDrawnAreRefusedAndLeaveTheMeshEmpty) {
    struct Case {
        bool vertices;
        int count;
        const char* warning;
    };
    const Case cases[] = {
        {true, -1, "OrvMeshData::allocVertices(): mesh [box] refused -1 vertices."},
        {false, -2, "OrvMeshData::allocFaces(): mesh [box] refused -2 triangles."},
        {false, 715827883, "OrvMeshData::allocFaces(): mesh [box] refused 715827883 triangles."},
    };
    for (const Case& c : cases) {
        mesh->allocVertices(3);
        mesh->allocFaces(1);
        if (c.vertices) {
            mesh->allocVertices(c.count);
        } else {
            mesh->allocFaces(c.count);
        }
        EXPECT_TRUE(log.contains(c.warning)) << c.warning;
        EXPECT_EQ(mesh->vertexCount, 0u);
        EXPECT_EQ(mesh->attributes[OrvMeshData::POSITIONS], nullptr);
        EXPECT_EQ(mesh->faceCount, 0u);
        EXPECT_EQ(mesh->indices16, nullptr);
        EXPECT_EQ(mesh->indices32, nullptr);
        EXPECT_EQ(mesh->faceNormals, nullptr);
    }
}

TEST_F(MeshDataTest, AllocatingAgainWithoutReleasingLosesNothing) {
    mesh->allocVertices(4);
    mesh->allocFaces(2);
    mesh->allocVertices(6);
    mesh->allocFaces(3);
    EXPECT_EQ(mesh->vertexCount, 6u);
    EXPECT_EQ(mesh->faceCount, 3u);
    // TearDown checks that every earlier array was given back.
}

TEST_F(MeshDataTest, ReleaseArraysKeepsOptionsBufferNamesAndFlags) {
    mesh->allocVertices(3);
    mesh->allocFaces(1);
    mesh->materialRanges = ORV_NEW OrvMaterialRange[2];
    mesh->setOption(OrvMeshData::displayList, 1);
    mesh->vertexBufferIds[0] = 11;
    mesh->indexBufferId = 12;
    mesh->indicesDirty = 1;

    mesh->releaseArrays();
    EXPECT_EQ(mesh->vertexCount, 0u);
    EXPECT_EQ(mesh->faceCount, 0u);
    for (int a = 0; a < OrvMeshData::kAttributeCount; ++a) {
        EXPECT_EQ(mesh->attributes[a], nullptr);
        EXPECT_EQ(mesh->attributeDirty[a], 1);
    }
    EXPECT_EQ(mesh->materialRanges, nullptr);
    EXPECT_EQ(mesh->faceMaterialIds, nullptr);
    EXPECT_EQ(mesh->drawIndices16, nullptr);
    EXPECT_EQ(mesh->lastFace, 0);
    EXPECT_EQ(mesh->options[OrvMeshData::displayList], 1);
    EXPECT_EQ(mesh->vertexBufferIds[0], 11u);
    EXPECT_EQ(mesh->indexBufferId, 12u);
    EXPECT_EQ(mesh->indicesDirty, 1);
}

}  // namespace
