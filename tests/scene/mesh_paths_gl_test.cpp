// Mesh nodes drawn by the real renderer: the four drawing paths must give the
// same picture of the same mesh, display lists are kept per range, and a
// mesh built again or destroyed leaves no GPU object and no block behind.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_mesh_picture_gl_test.h"
#include "orvane.h"

namespace {

// The demo's set-up in small: a lit box over a white wireframe grid, one
// light, a camera above and in front.
class MeshPathsTest : public OrvMeshPictureGlTest {
  protected:
    MeshPathsTest() : OrvMeshPictureGlTest(1000.0f) {}

    void SetUp() override {
        OrvMeshPictureGlTest::SetUp();
        baseline = OrvMemoryAllocator::trackedBlockCount();
    }

    OrvMesh* makeBox(int points) {
        OrvMesh* box = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, "box"));
        box->createBox(50, 50, 50, points, points, points);
        box->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
        box->getRenderState()->clearMaterials();
        return box;
    }

    OrvMesh* makeGrid() {
        OrvMesh* grid = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, "grid"));
        grid->createPlane(200, 200, 10, 10);
        const OrvVector4 below = {0, -40, 0, 1};
        grid->setPosition(&below);
        int32_t* states = grid->getRenderState()->getStates();
        states[OrvRenderer::STATE_FACE_CULLING] = 0;
        states[OrvRenderer::STATE_BACK_POLYGON_MODE] = OrvRenderer::LINES;
        states[OrvRenderer::STATE_FRONT_POLYGON_MODE] = OrvRenderer::LINES;
        grid->getRenderState()->clearMaterials();
        grid->setMaterial("plane_mat", 0, -1);
        return grid;
    }

    OrvMaterial* coloured(const char* name, float r, float g, float b) {
        OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial(name);
        const float diffuse[4] = {r, g, b, 1};
        material->setDiffuse(diffuse);
        material->apply();
        return material;
    }

    size_t baseline = 0;
    BufferProbe buffers;
};

TEST_F(MeshPathsTest, ALitBoxWithOneMaterial) {
    OrvMesh* box = makeBox(20);
    box->setMaterial("mat_box", 0, static_cast<int>(box->getMeshData()->faceCount));

    const OrvPicture picture = expectSamePictureOnEveryPath({box}, "lit_box");

    // Three faces show, each lit differently.
    EXPECT_GT(picture.countNot(25, 25, 51), 20000);
}

TEST_F(MeshPathsTest, ARangeOfOneFace) {
    OrvMesh* box = makeBox(2);
    // The +x side is the box's first two triangles: the first alone keeps
    // the listed material, the others are left without one.
    box->setMaterial(coloured("lone", 1, 1, 0), 0, -1);
    OrvMeshData* data = box->getMeshData();
    for (uint32_t t = 1; t < data->faceCount; ++t) {
        data->faceMaterialIds[t] = 0;
    }

    const OrvPicture picture = expectSamePictureOnEveryPath({box}, "one_face");

    EXPECT_EQ(data->materialRanges[0].firstFace, 0);
    EXPECT_EQ(data->materialRanges[0].lastFace, 0);
    EXPECT_GT(picture.countNot(25, 25, 51), 1000);
}

TEST_F(MeshPathsTest, ABoxOfThreeMaterialsAndTheWireframeGrid) {
    OrvMesh* box = makeBox(8);
    const int faces = static_cast<int>(box->getMeshData()->faceCount);
    box->setMaterial(coloured("red", 1, 0, 0), 0, -1);
    box->setMaterial(coloured("green", 0, 1, 0), faces / 3, -1);
    box->setMaterial(coloured("blue", 0, 0, 1), 2 * faces / 3, -1);
    OrvMesh* grid = makeGrid();

    expectSamePictureOnEveryPath({grid, box}, "box_and_grid");

    // One list per range, made once.
    const OrvMaterialRange* ranges = box->getMeshData()->materialRanges;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(glIsList(ranges[i].displayList), GL_TRUE) << "range " << i;
    }
    EXPECT_NE(ranges[0].displayList, ranges[1].displayList);
    EXPECT_NE(ranges[1].displayList, ranges[2].displayList);
}

TEST_F(MeshPathsTest, RegroupingDeletesTheListsOfTheOldRanges) {
    OrvMesh* box = makeBox(4);
    box->setMaterial(coloured("red", 1, 0, 0), 0, -1);
    box->setMaterial(coloured("green", 0, 1, 0), 10, -1);
    frame({box}, DrawPath::DISPLAY_LISTS);
    const GLuint first = box->getMeshData()->materialRanges[0].displayList;
    ASSERT_EQ(glIsList(first), GL_TRUE);

    box->setMaterial("green", 5, -1);
    box->update(0.016f);

    const OrvMaterialRange* ranges = box->getMeshData()->materialRanges;
    EXPECT_EQ(glIsList(first), GL_FALSE);
    EXPECT_EQ(ranges[0].displayList, 0);
    EXPECT_EQ(ranges[1].displayList, 0);
    EXPECT_EQ(ranges[0].lastFace, 4);
    const OrvPicture client = frame({box}, DrawPath::CLIENT_ARRAYS);
    EXPECT_EQ(differingPixels(frame({box}, DrawPath::DISPLAY_LISTS), client), 0);
}

TEST_F(MeshPathsTest, AGeneratorRunTwiceFreesTheFirstGeometryAndItsGpuObjects) {
    OrvMesh* box = makeBox(6);
    box->setMaterial("mat_box", 0, -1);
    frame({box}, DrawPath::BUFFER_OBJECTS);
    frame({box}, DrawPath::DISPLAY_LISTS);
    const OrvMeshData* data = box->getMeshData();
    const GLuint vertices = data->vertexBufferIds[OrvMeshData::POSITIONS];
    const GLuint indices = data->indexBufferId;
    const GLuint list = data->materialRanges[0].displayList;
    ASSERT_TRUE(buffers.exists(vertices));
    ASSERT_TRUE(buffers.exists(indices));
    ASSERT_EQ(glIsList(list), GL_TRUE);

    box->createBox(30, 30, 30, 3, 3, 3);

    EXPECT_FALSE(buffers.exists(vertices));
    EXPECT_FALSE(buffers.exists(indices));
    EXPECT_EQ(glIsList(list), GL_FALSE);
    EXPECT_EQ(data->vertexBufferIds[OrvMeshData::POSITIONS], 0u);
    EXPECT_EQ(data->indexBufferId, 0u);
    box->setMaterial("mat_box", 0, -1);
    frame({box}, DrawPath::BUFFER_OBJECTS);
    EXPECT_TRUE(buffers.exists(data->vertexBufferIds[OrvMeshData::POSITIONS]));

    OrvMaterialMgr::getInstance()->destroyAllMaterials();
    nodes->killAllNodes();
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), baseline);
}

}  // namespace
