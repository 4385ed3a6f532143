// The mesh node against the recording renderer: construction, material runs,
// grouping and normals on update, the calls a frame makes on each drawing
// path, and the release of GPU objects and arrays.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_recording_renderer.h"
#include "orv_test_log.h"
#include "orvane.h"

namespace {

class MeshNodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        nodes->init();
        nodes->registerCreator(&materialCreator);
        nodes->registerCreator(&meshCreator);
        mesh = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, "probe"));
        ASSERT_NE(mesh, nullptr);
        data = mesh->getMeshData();
    }
    void TearDown() override {
        OrvMaterialMgr::getInstance()->destroyAllMaterials();
        nodes->terminate();
    }

    OrvMaterial* material(const char* name) {
        return OrvMaterialMgr::getInstance()->getMaterial(name);
    }
    std::vector<int32_t> faceIds() const {
        return std::vector<int32_t>(data->faceMaterialIds, data->faceMaterialIds + data->faceCount);
    }
    // The texts of the recorded calls with one of the names.
    std::vector<std::string> callsNamed(const std::vector<std::string>& names) const {
        std::vector<std::string> result;
        for (const OrvRecordedCall& call : recorder.calls) {
            for (const std::string& name : names) {
                if (call.name == name) {
                    result.push_back(call.text);
                }
            }
        }
        return result;
    }
    void frame() {
        mesh->update(0.016f);
        recorder.clear();
        mesh->render(0.016f);
    }

    OrvTestLog log{OrvLog::NORMAL};
    OrvRecordingRenderer recorder;
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvMaterialCreator materialCreator;
    OrvMeshCreator meshCreator;
    OrvMesh* mesh = nullptr;
    OrvMeshData* data = nullptr;
};

const std::vector<std::string> kDrawCalls = {
    "setVertexArrays", "drawElements",       "unsetVertexArrays",  "setVertexBuffers",
    "drawElementsVBO", "unsetVertexBuffers", "compileDisplayList", "callDisplayList",
    "drawImmediate",   "applyMaterial"};

TEST_F(MeshNodeTest, ANewMeshIsEmptyNamedAndAsksForGroupingAndNormals) {
    OrvMesh* unnamed = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, nullptr));

    const std::string name = "mesh_" + std::to_string(unnamed->getId());
    EXPECT_EQ(std::string(unnamed->getName()), name);
    EXPECT_EQ(std::string(unnamed->getMeshData()->name), name);
    EXPECT_STREQ(data->name, "probe");
    EXPECT_EQ(mesh->getTypeId(), 5);
    EXPECT_STREQ(mesh->getTypeName(), "ORV_NODE_MESH");
    EXPECT_EQ(mesh->isKindOf(2), 1);
    EXPECT_EQ(mesh->isKindOf(5), 1);
    const int expectedFlags[13] = {1, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0};
    for (int flag = 0; flag < 13; ++flag) {
        EXPECT_EQ(mesh->getFlag(flag), expectedFlags[flag]) << "flag " << flag;
    }
    EXPECT_EQ(data->vertexCount, 0u);
    EXPECT_EQ(data->faceCount, 0u);
    EXPECT_EQ(data->options[OrvMeshData::vertexArrays], 1);
    OrvRenderState* state = mesh->getRenderState();
    ASSERT_EQ(state->getMaterialCount(), 1);
    EXPECT_STREQ(state->getMaterial(0)->getName(), "orvane_default_material");
}

TEST_F(MeshNodeTest, SetNameCutsTheRecordCopyAt127Characters) {
    const std::string longName(200, 'n');
    mesh->setName(longName.c_str());
    EXPECT_EQ(std::string(data->name), longName.substr(0, 127));
    mesh->setName(nullptr);
    EXPECT_EQ(std::string(data->name), longName.substr(0, 127));
}

TEST_F(MeshNodeTest, SetMaterialAssignsRuns) {
    struct Case {
        int firstFace;
        int lastFace;
        int runFirst;
        int runLast;
    };
    // 8 triangles. A lastFace that is -1, not above firstFace or not below
    // the face count runs to the last triangle.
    const Case cases[] = {{0, 8, 0, 7}, {5, 5, 5, 7}, {2, 4, 2, 4}, {3, -1, 3, 7},
                          {4, 2, 4, 7}, {0, 6, 0, 6}, {7, 7, 7, 7}};
    mesh->createPlane(10, 10, 2, 2);
    OrvMaterial* red = material("red");
    for (const Case& c : cases) {
        std::memset(data->faceMaterialIds, 0, sizeof(int32_t) * data->faceCount);
        mesh->setFlag(ORV_FLAG_MATERIALS_DIRTY, 0);

        mesh->setMaterial(red, c.firstFace, c.lastFace);

        std::vector<int32_t> expected(8, 0);
        for (int t = c.runFirst; t <= c.runLast; ++t) {
            expected[t] = red->getId();
        }
        EXPECT_EQ(faceIds(), expected) << c.firstFace << ".." << c.lastFace;
        EXPECT_EQ(mesh->getFlag(ORV_FLAG_MATERIALS_DIRTY), 1);
    }
    // Listed once, after the default material.
    ASSERT_EQ(mesh->getRenderState()->getMaterialCount(), 2);
    EXPECT_EQ(mesh->getRenderState()->getMaterial(1), red);
}

TEST_F(MeshNodeTest, SetMaterialIgnoresNullsAndRefusesAFirstFaceOutsideTheMesh) {
    mesh->createPlane(10, 10, 2, 2);
    mesh->setFlag(ORV_FLAG_MATERIALS_DIRTY, 0);
    mesh->setMaterial(static_cast<const char*>(nullptr), 0, -1);
    mesh->setMaterial(static_cast<OrvMaterial*>(nullptr), 0, -1);
    mesh->setMaterial("blue", 8, -1);
    mesh->setMaterial("blue", -1, 3);

    EXPECT_EQ(faceIds(), std::vector<int32_t>(8, 0));
    EXPECT_EQ(mesh->getFlag(ORV_FLAG_MATERIALS_DIRTY), 0);
    EXPECT_EQ(log.messages(), (std::vector<std::string>{
                                  "OrvMesh::setMaterial(): mesh probe has no face 8 (8 faces).",
                                  "OrvMesh::setMaterial(): mesh probe has no face -1 (8 faces)."}));
}

TEST_F(MeshNodeTest, UpdateGroupsAndComputesNormalsOnlyWhenFlagged) {
    mesh->createBox(2, 2, 2, 2, 2, 2);
    mesh->getRenderState()->clearMaterials();
    mesh->setMaterial("mat_box", 0, static_cast<int>(data->faceCount));

    mesh->update(0.016f);

    EXPECT_EQ(mesh->getFlag(ORV_FLAG_MATERIALS_DIRTY), 0);
    EXPECT_EQ(mesh->getFlag(ORV_FLAG_NORMALS_DIRTY), 0);
    ASSERT_NE(data->materialRanges, nullptr);
    const OrvMaterialRange& range = data->materialRanges[0];
    EXPECT_EQ(range.firstFace, 0);
    EXPECT_EQ(range.lastFace, 11);
    EXPECT_EQ(range.materialId, material("mat_box")->getId());
    EXPECT_EQ(data->attributes[OrvMeshData::NORMALS][0][0], 1.0f);

    // Unflagged, a second update leaves a hand-made change alone.
    data->attributes[OrvMeshData::NORMALS][0][0] = 5.0f;
    data->faceMaterialIds[0] = 0;
    mesh->update(0.016f);
    EXPECT_EQ(data->attributes[OrvMeshData::NORMALS][0][0], 5.0f);
    EXPECT_EQ(data->materialRanges[0].lastFace, 11);
}

TEST_F(MeshNodeTest, RenderDrawsOneRangePerMaterialOfTheLastGrouping) {
    mesh->createPlane(10, 10, 2, 2);
    // The default material stays listed first and keeps no triangle.
    mesh->setMaterial("a", 0, 2);
    mesh->setMaterial("b", 3, -1);
    frame();

    // Every material here has the default colours.
    const std::string applied =
        "applyMaterial(0.6, 0.6, 0.6, 1, 0.9, 0.9, 0.9, 1, 0.1, 0.1, 0.1, 1, "
        "0, 0, 0, 1, 16)";
    EXPECT_EQ(recorder.names().front(), "loadViewMatrix");
    EXPECT_EQ(callsNamed({"multMatrix", "applyRenderStates"}).size(), 2u);
    EXPECT_EQ(
        callsNamed({"setVertexArrays", "applyMaterial", "drawElements", "unsetVertexArrays"}),
        (std::vector<std::string>{"setVertexArrays(probe)", applied, "drawElements(probe, 0, -1)",
                                  applied, "drawElements(probe, 0, 2)", applied,
                                  "drawElements(probe, 3, 7)", "unsetVertexArrays(probe)"}));

    // A material listed after the grouping waits for the next regrouping.
    mesh->getRenderState()->addMaterial("late");
    recorder.clear();
    mesh->render(0.016f);
    EXPECT_EQ(recorder.count("drawElements"), 3);
    mesh->setFlag(ORV_FLAG_MATERIALS_DIRTY, 1);
    frame();
    EXPECT_EQ(recorder.count("drawElements"), 4);
}

TEST_F(MeshNodeTest, AMeshWithoutMaterialsDrawsNothingAndAHiddenOneCallsNothing) {
    mesh->createPlane(10, 10, 2, 2);
    frame();
    EXPECT_EQ(callsNamed({"drawElements"}), std::vector<std::string>{"drawElements(probe, 0, -1)"});

    mesh->setFlag(ORV_FLAG_DRAW, 0);
    recorder.clear();
    mesh->render(0.016f);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(MeshNodeTest, ARangeWhoseMaterialIsGoneIsSkipped) {
    mesh->createPlane(10, 10, 2, 2);
    mesh->setMaterial("gone", 0, -1);
    OrvMaterialMgr::getInstance()->removeMaterial(material("gone"));
    frame();
    EXPECT_EQ(callsNamed({"drawElements"}), std::vector<std::string>{"drawElements(probe, 0, -1)"});
}

TEST_F(MeshNodeTest, TheOptionsChooseTheDrawingPath) {
    struct Case {
        int vertexArrays;
        int bufferObjects;
        int displayList;
        int immediateMode;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {1,
         0,
         1,
         1,
         {"setVertexArrays(probe)", "drawElements(probe, 0, 7)", "unsetVertexArrays(probe)"}},
        {1,
         1,
         1,
         1,
         {"setVertexBuffers(probe)", "drawElementsVBO(probe, 0, 7)", "unsetVertexBuffers(probe)"}},
        {0,
         0,
         1,
         1,
         {"setVertexArrays(probe)", "compileDisplayList(probe)", "callDisplayList(probe)",
          "unsetVertexArrays(probe)"}},
        {0,
         1,
         0,
         1,
         {"setVertexBuffers(probe)", "drawImmediate(probe, 0, 7)", "unsetVertexBuffers(probe)"}},
        {0, 0, 0, 0, {"setVertexArrays(probe)", "unsetVertexArrays(probe)"}},
    };
    mesh->createPlane(10, 10, 2, 2);
    mesh->getRenderState()->clearMaterials();
    mesh->setMaterial("only", 0, -1);
    for (const Case& c : cases) {
        data->setOption(OrvMeshData::vertexArrays, c.vertexArrays);
        data->setOption(OrvMeshData::bufferObjects, c.bufferObjects);
        data->setOption(OrvMeshData::displayList, c.displayList);
        data->setOption(OrvMeshData::immediateMode, c.immediateMode);
        frame();
        std::vector<std::string> drawn = callsNamed(kDrawCalls);
        drawn.erase(drawn.begin() + 1);  // applyMaterial
        EXPECT_EQ(drawn, c.calls);
    }
    EXPECT_EQ(data->options[OrvMeshData::displayListBuilt], 1);
}

TEST_F(MeshNodeTest, DrawRangeOutsideTheGroupingDrawsNothing) {
    mesh->createPlane(10, 10, 1, 1);
    mesh->update(0.016f);
    recorder.clear();

    mesh->drawRange(1);
    mesh->drawRange(-1);

    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"OrvMesh::drawRange(): mesh probe has no range 1.",
                                        "OrvMesh::drawRange(): mesh probe has no range -1."}));
}

TEST_F(MeshNodeTest, ReleaseFreesGpuObjectsThenArraysAndKeepsOptions) {
    mesh->createBox(2, 2, 2, 3, 3, 3);
    data->setOption(OrvMeshData::bufferObjects, 1);
    recorder.clear();

    mesh->release();

    std::vector<std::string> expected;
    for (int array = 0; array < 11; ++array) {
        expected.push_back("destroyVBO(probe, " + std::to_string(array) + ")");
    }
    expected.push_back("destroyIBO(probe)");
    EXPECT_EQ(recorder.texts(), expected);
    EXPECT_EQ(data->vertexCount, 0u);
    EXPECT_EQ(data->attributes[OrvMeshData::POSITIONS], nullptr);
    EXPECT_EQ(data->options[OrvMeshData::bufferObjects], 1);
    EXPECT_STREQ(data->name, "probe");
}

TEST_F(MeshNodeTest, AGeneratorReleasesTheOldGeometryFirstAndAsksForAnUpdate) {
    mesh->createBox(2, 2, 2, 3, 3, 3);
    mesh->update(0.016f);
    recorder.clear();

    mesh->createPlane(4, 4, 1, 1);

    EXPECT_EQ(recorder.count("destroyVBO"), 11);
    EXPECT_EQ(recorder.count("destroyIBO"), 1);
    EXPECT_EQ(data->faceCount, 2u);
    EXPECT_EQ(mesh->getFlag(ORV_FLAG_MATERIALS_DIRTY), 1);
    EXPECT_EQ(mesh->getFlag(ORV_FLAG_NORMALS_DIRTY), 1);
    // The old ranges went with the old geometry.
    EXPECT_EQ(data->materialRanges, nullptr);
    recorder.clear();
    mesh->render(0.016f);
    EXPECT_EQ(recorder.count("drawElements"), 0);
}

TEST_F(MeshNodeTest, ATooLargeGeneratorLeavesTheMeshEmpty) {
    mesh->createPlane(10, 10, 2, 2);
    mesh->createTorus(5, 1, 0);
    mesh->update(0.016f);

    EXPECT_EQ(data->vertexCount, 0u);
    EXPECT_EQ(data->faceCount, 0u);
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"OrvMeshGeometry::createTorus(): mesh probe: 0 segments, at "
                                       "least 1 needed, mesh left empty."});
}

}  // namespace
