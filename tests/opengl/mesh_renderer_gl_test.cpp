// The renderer's mesh operations against the real driver: index offsets on
// every path, buffer creation, upload and destruction, the fall-backs when a
// buffer or an entry point is missing, display lists and immediate mode.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mesh_gl_support.h"
#include "orv_mesh_record.h"
#include "orv_replaced_procs_context.h"
#include "render/orv_mesh_geometry.h"

namespace {

const std::string kVboCreated =
    "OrvRendererOpenGL::createVBO(): VBO successfully created for mesh probe";
const std::string kIboCreated =
    "OrvRendererOpenGL::createIBO(): IBO successfully created for mesh probe";

// A 40 x 40 plane of 4 x 4 cells seen from above, unlit and white on black,
// so that each of its 32 triangles covers pixels of its own.
class MeshRendererTest : public OrvEngineGlTest {
  protected:
    void SetUp() override {
        OrvEngineGlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        lookDown();
        std::strcpy(mesh->name, "probe");
        clearLog();
    }
    // The view from 60 units above the origin, down onto the plane.
    void lookDown() {
        const float eye[3] = {0, 60, 0};
        const float centre[3] = {0, 0, 0};
        const float up[3] = {0, 0, -1};
        renderer->setPerspective(45.0f, 640.0f / 480.0f, 1.0f, 200.0f);
        renderer->lookAt(eye, centre, up);
    }

    void TearDown() override {
        if (renderer != nullptr) {
            releaseGpuObjects();
        }
        if (replaced != nullptr) {
            replaced->terminate();
            ORV_DELETE(replaced);
            renderer = nullptr;
        }
        OrvEngineGlTest::TearDown();
    }

    void releaseGpuObjects() {
        for (int array = 0; array < OrvMeshData::kAttributeCount; ++array) {
            renderer->destroyVBO(mesh.get(), array);
        }
        renderer->destroyIBO(mesh.get());
        renderer->deleteDisplayList(mesh.get());
    }

    // Starts the renderer again on a driver that offers buffer objects or
    // not (without any extension at all, for not). The root's renderer first
    // gives way to one whose strings the test chooses, released by TearDown.
    void restartWithBufferObjects(bool on) {
        if (replaced == nullptr) {
            releaseGpuObjects();
            engine->destroyRenderer();
            replaced = ORV_NEW OrvReplacedStringsRenderer();
            replaced->setContext(context);
            renderer = replaced;
        }
        if (on) {
            replaced->strings.erase(GL_EXTENSIONS);
        } else {
            replaced->strings[GL_EXTENSIONS] = "";
        }
        ASSERT_EQ(replaced->initialize(), OrvRenderer::RESULT_OK);
        ASSERT_EQ(replaced->capabilities().hasBufferObjects(), on);
        replaced->setViewport(0, 0, window.info.width, window.info.height);
        lookDown();
    }

    // Forgets the lines written so far: the log opens its file again, empty.
    void clearLog() {
        OrvLog::getInstance()->close();
        std::filesystem::remove(log.path());
    }

    void makePlane(int shortIndices) {
        mesh->setOption(OrvMeshData::shortIndices, shortIndices);
        ASSERT_EQ(OrvMeshGeometry::createPlane(mesh.get(), 40, 40, 4, 4), 0);
        // Display lists belong to a range; this record has one.
        mesh->materialRanges = ORV_NEW OrvMaterialRange[1];
        mesh->currentRange = 0;
    }

    void setFaces(int first, int last) {
        mesh->firstFace = first;
        mesh->lastFace = last;
    }

    OrvPicture draw(DrawPath path) {
        renderer->clearColorBuffer(0, 0, 0, 1);
        renderer->clearDepthBuffer(1);
        renderer->loadViewMatrix();
        switch (path) {
            case DrawPath::CLIENT_ARRAYS:
                renderer->drawMesh(mesh.get());
                break;
            case DrawPath::BUFFER_OBJECTS:
                renderer->drawMeshVBO(mesh.get());
                break;
            case DrawPath::DISPLAY_LISTS:
                renderer->compileDisplayList(mesh.get());
                renderer->callDisplayList(mesh.get());
                break;
            case DrawPath::IMMEDIATE_MODE:
                renderer->drawImmediate(mesh.get());
                break;
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << pathName(path);
        return readPicture();
    }

    int countMessages(const std::string& message) const {
        int count = 0;
        for (const std::string& m : log.messages()) {
            count += m == message ? 1 : 0;
        }
        return count;
    }

    OrvMeshRecord mesh;
    // The renderer with test-chosen strings, once a test has asked for one.
    OrvReplacedStringsRenderer* replaced = nullptr;
    BufferProbe buffers;
};

TEST_F(MeshRendererTest, OneFaceAtAnOffsetDrawsTheSameOnEveryPath) {
    struct Case {
        int shortIndices;
        int format;
    };
    for (const Case c : {Case{1, OrvMeshData::INDICES_16}, Case{0, OrvMeshData::INDICES_32}}) {
        makePlane(c.shortIndices);
        ASSERT_EQ(mesh->indexFormat, c.format);
        setFaces(0, 0);
        const OrvPicture faceZero = draw(DrawPath::CLIENT_ARRAYS);
        setFaces(4, 4);

        const OrvPicture client = draw(DrawPath::CLIENT_ARRAYS);

        if (c.format == OrvMeshData::INDICES_16) {
            EXPECT_EQ(mesh->drawIndices16, mesh->indices16 + 12);
        } else {
            EXPECT_EQ(mesh->drawIndices32, mesh->indices32 + 12);
        }
        EXPECT_GT(client.countNot(0, 0, 0), 500);
        EXPECT_GT(differingPixels(client, faceZero), 500);
        for (DrawPath path : kAllPaths) {
            EXPECT_EQ(differingPixels(draw(path), client), 0) << pathName(path);
        }
        releaseGpuObjects();
    }
}

TEST_F(MeshRendererTest, TheRangedDrawAndItsFallbackDrawLikeThePlainOne) {
    makePlane(1);
    setFaces(3, 20);
    const OrvPicture plain = draw(DrawPath::CLIENT_ARRAYS);
    mesh->setOption(OrvMeshData::plainDrawElements, 0);

    EXPECT_EQ(differingPixels(draw(DrawPath::CLIENT_ARRAYS), plain), 0);
    EXPECT_EQ(differingPixels(draw(DrawPath::BUFFER_OBJECTS), plain), 0);
    // A driver without glDrawRangeElements.
    OrvReplacedProcsContext withoutRange(context);
    withoutRange.procs["glDrawRangeElements"] = nullptr;
    renderer->setContext(&withoutRange);
    ASSERT_EQ(renderer->initialize(), OrvRenderer::RESULT_OK);
    ASSERT_EQ(renderer->capabilities().entryPoints().glDrawRangeElements, nullptr);
    EXPECT_EQ(differingPixels(draw(DrawPath::CLIENT_ARRAYS), plain), 0);
    EXPECT_EQ(differingPixels(draw(DrawPath::BUFFER_OBJECTS), plain), 0);
    renderer->setContext(context);
}

TEST_F(MeshRendererTest, BuffersAreMadeOnceAndUploadedOnlyWhenMarked) {
    makePlane(1);
    draw(DrawPath::BUFFER_OBJECTS);

    const GLuint positions = mesh->vertexBufferIds[OrvMeshData::POSITIONS];
    const GLuint indices = mesh->indexBufferId;
    for (int array = 0; array < OrvMeshData::kAttributeCount; ++array) {
        // Only positions, colours and normals go to GL.
        EXPECT_EQ(buffers.exists(mesh->vertexBufferIds[array]), array < 3) << "array " << array;
        EXPECT_EQ(mesh->attributeDirty[array], array < 3 ? 0 : 1) << "array " << array;
    }
    EXPECT_TRUE(buffers.exists(indices));
    EXPECT_EQ(mesh->indicesDirty, 0);
    EXPECT_EQ(countMessages(kVboCreated), 3);
    EXPECT_EQ(countMessages(kIboCreated), 1);
    EXPECT_EQ(buffers.read<float>(GL_ARRAY_BUFFER_ARB, positions, 16 * 24), 20.0f);
    EXPECT_EQ(buffers.read<uint16_t>(GL_ELEMENT_ARRAY_BUFFER_ARB, indices, 2 * 95), 24);

    // Changed without the flags: the buffers keep what they had.
    mesh->attributes[OrvMeshData::POSITIONS][24][0] = 21.0f;
    mesh->indices16[95] = 23;
    draw(DrawPath::BUFFER_OBJECTS);
    EXPECT_EQ(buffers.read<float>(GL_ARRAY_BUFFER_ARB, positions, 16 * 24), 20.0f);
    EXPECT_EQ(buffers.read<uint16_t>(GL_ELEMENT_ARRAY_BUFFER_ARB, indices, 2 * 95), 24);

    mesh->attributeDirty[OrvMeshData::POSITIONS] = 1;
    mesh->indicesDirty = 1;
    draw(DrawPath::BUFFER_OBJECTS);
    EXPECT_EQ(buffers.read<float>(GL_ARRAY_BUFFER_ARB, positions, 16 * 24), 21.0f);
    EXPECT_EQ(buffers.read<uint16_t>(GL_ELEMENT_ARRAY_BUFFER_ARB, indices, 2 * 95), 23);
    EXPECT_EQ(mesh->attributeDirty[OrvMeshData::POSITIONS], 0);
    EXPECT_EQ(mesh->indicesDirty, 0);
    EXPECT_EQ(mesh->vertexBufferIds[OrvMeshData::POSITIONS], positions);
    EXPECT_EQ(mesh->indexBufferId, indices);
    EXPECT_EQ(countMessages(kVboCreated), 3);
    EXPECT_EQ(countMessages(kIboCreated), 1);
}

TEST_F(MeshRendererTest, DestroyingDeletesTheBuffersOnceWithTheirLines) {
    makePlane(1);
    draw(DrawPath::BUFFER_OBJECTS);
    const GLuint names[4] = {mesh->vertexBufferIds[0], mesh->vertexBufferIds[1],
                             mesh->vertexBufferIds[2], mesh->indexBufferId};
    const std::string destroyed =
        "OrvRendererOpenGL::destroyVBO(): VBO successfully destroyed for mesh probe";

    for (int round = 0; round < 2; ++round) {
        for (int array = 0; array < OrvMeshData::kAttributeCount; ++array) {
            renderer->destroyVBO(mesh.get(), array);
            EXPECT_EQ(mesh->vertexBufferIds[array], 0u);
        }
        renderer->destroyIBO(mesh.get());
    }

    EXPECT_EQ(mesh->indexBufferId, 0u);
    for (GLuint name : names) {
        EXPECT_FALSE(buffers.exists(name));
    }
    EXPECT_EQ(countMessages(destroyed), 3);
}

TEST_F(MeshRendererTest, BufferCreationResults) {
    makePlane(1);
    EXPECT_EQ(renderer->createVBO(nullptr, 0), -1);
    EXPECT_EQ(renderer->createIBO(nullptr), -1);
    EXPECT_EQ(renderer->createVBO(mesh.get(), 11), -1);
    EXPECT_EQ(renderer->createVBO(mesh.get(), -1), -1);
    EXPECT_EQ(renderer->hasVBO(mesh.get(), 11), 0);
    EXPECT_EQ(renderer->hasIBO(nullptr), 0);
    mesh->name[0] = '\0';
    mesh->vertexBufferUsage[1] = 7;

    EXPECT_EQ(renderer->createVBO(mesh.get(), 0), 0);
    EXPECT_EQ(renderer->createVBO(mesh.get(), 0), 0);
    EXPECT_EQ(renderer->createIBO(mesh.get()), 0);
    EXPECT_EQ(renderer->createVBO(mesh.get(), 1), -1);

    EXPECT_EQ(renderer->hasVBO(mesh.get(), 0), 1);
    EXPECT_EQ(renderer->hasIBO(mesh.get()), 1);
    EXPECT_EQ(mesh->vertexBufferIds[1], 0u);
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{
                  "OrvRendererOpenGL::createVBO(): VBO successfully created.",
                  "OrvRendererOpenGL::createIBO(): IBO successfully created.",
                  "OrvRendererOpenGL::createVBO(): mesh  has usage code 7, not 0 to 2."}));
}

TEST_F(MeshRendererTest, WithoutABufferTheBufferPathDrawsFromClientMemory) {
    struct Case {
        const char* cause;
        int bufferObjects;
        int vertexUsage;
        int indexUsage;
    };
    const Case cases[] = {{"no buffer objects", 0, 0, 0},
                          {"bad vertex usage", 1, 9, 0},
                          {"bad index usage", 1, 0, -2}};
    makePlane(1);
    const OrvPicture client = draw(DrawPath::CLIENT_ARRAYS);
    for (const Case& c : cases) {
        restartWithBufferObjects(c.bufferObjects == 1);
        mesh->vertexBufferUsage[OrvMeshData::POSITIONS] = c.vertexUsage;
        mesh->indexBufferUsage = c.indexUsage;

        EXPECT_EQ(differingPixels(draw(DrawPath::BUFFER_OBJECTS), client), 0) << c.cause;

        EXPECT_EQ(renderer->hasVBO(mesh.get(), OrvMeshData::POSITIONS),
                  c.bufferObjects == 1 && c.vertexUsage == 0);
        EXPECT_EQ(renderer->hasIBO(mesh.get()), c.bufferObjects == 1 && c.indexUsage == 0);
        restartWithBufferObjects(true);
        for (int array = 0; array < 3; ++array) {
            renderer->destroyVBO(mesh.get(), array);
        }
        renderer->destroyIBO(mesh.get());
    }
    restartWithBufferObjects(false);
    EXPECT_EQ(renderer->createVBO(mesh.get(), 0), OrvRenderer::RESULT_NO_BUFFER_OBJECTS);
    EXPECT_EQ(renderer->createIBO(mesh.get()), OrvRenderer::RESULT_NO_BUFFER_OBJECTS);
    EXPECT_EQ(renderer->hasIBO(mesh.get()), 0);
}

TEST_F(MeshRendererTest, BindingANullMeshUnbindsAndAMeshWithoutBufferKeepsTheBinding) {
    makePlane(1);
    const OrvGlCapabilities::EntryPoints& gl = renderer->capabilities().entryPoints();
    GLuint other = 0;
    gl.glGenBuffersARB(1, &other);
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, other);
    GLint bound = 0;

    renderer->bindVBO(mesh.get(), OrvMeshData::POSITIONS);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), other);

    renderer->bindVBO(nullptr, OrvMeshData::POSITIONS);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
    EXPECT_EQ(bound, 0);
    gl.glDeleteBuffersARB(1, &other);
}

TEST_F(MeshRendererTest, ADisplayListCompiledAgainReplacesTheOldOne) {
    makePlane(1);
    renderer->compileDisplayList(mesh.get());
    const GLuint first = static_cast<GLuint>(mesh->materialRanges[0].displayList);
    ASSERT_EQ(glIsList(first), GL_TRUE);

    renderer->compileDisplayList(mesh.get());
    const GLuint second = static_cast<GLuint>(mesh->materialRanges[0].displayList);
    ASSERT_EQ(glIsList(second), GL_TRUE);
    renderer->deleteDisplayList(mesh.get());

    EXPECT_EQ(mesh->materialRanges[0].displayList, 0);
    EXPECT_EQ(glIsList(second), GL_FALSE);
    if (first != second) {
        EXPECT_EQ(glIsList(first), GL_FALSE);
    }
    // Nothing to call or delete any more, and no range list at all.
    renderer->callDisplayList(mesh.get());
    renderer->deleteDisplayList(mesh.get());
    OrvMeshData bare = {};
    renderer->compileDisplayList(&bare);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshRendererTest, ImmediateModeSendsColoursWhateverTheArrayOption) {
    makePlane(1);
    for (uint32_t v = 0; v < mesh->vertexCount; ++v) {
        mesh->attributes[OrvMeshData::COLORS][v][1] = 0.0f;
        mesh->attributes[OrvMeshData::COLORS][v][2] = 0.0f;
    }
    mesh->setOption(OrvMeshData::colorArray, 0);
    glColor4f(0, 0, 1, 1);

    const OrvPicture picture = draw(DrawPath::IMMEDIATE_MODE);

    const uint8_t* centre = picture.at(320, 240);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[2], 0);
}

TEST_F(MeshRendererTest, ARangeOutsideTheMeshDrawsNothing) {
    makePlane(1);
    setFaces(0, 32);

    for (DrawPath path : kAllPaths) {
        EXPECT_EQ(draw(path).countNot(0, 0, 0), 0) << pathName(path);
    }

    EXPECT_EQ(countMessages("OrvRendererOpenGL::drawElements(): faces 0 to 32 are outside the 32 "
                            "triangles of mesh probe."),
              1);
    EXPECT_EQ(countMessages("OrvRendererOpenGL::drawImmediate(): faces 0 to 32 are outside the 32 "
                            "triangles of mesh probe."),
              1);
}

}  // namespace
