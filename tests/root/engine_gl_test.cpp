// The engine root on a real window and driver: the renderer it makes, a
// renderer made twice, and a whole run from start to stop without a leak.
#include <GL/gl.h>

#include <cstdio>

#include "orv_create_node.h"
#include "orv_gl_test.h"
#include "orvane.h"

namespace {

using EngineDriverVersion = OrvWindowTest;
using EngineGlTest = OrvEngineGlTest;
using EngineWindowTest = OrvWindowTest;

const char kRendererDone[] = "OrvRendererOpenGL::terminate(): done.";

}  // namespace

// ctest runs this once more with MESA_GL_VERSION_OVERRIDE=1.1, where the
// driver is too old for the engine.
TEST_F(EngineDriverVersion, CreateRendererReportsWhetherItInitialised) {
    int major = 0;
    int minor = 0;
    ASSERT_EQ(std::sscanf(reinterpret_cast<const char*>(glGetString(GL_VERSION)), "%d.%d", &major,
                          &minor),
              2);
    const int expected =
        major == 1 && minor < 2 ? OrvRenderer::RESULT_VERSION_TOO_OLD : OrvRenderer::RESULT_OK;
    EXPECT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), expected);
    ASSERT_NE(engine->getRenderer(), nullptr);
    EXPECT_EQ(OrvRenderer::getInstance(), engine->getRenderer());

    engine->terminate();
    EXPECT_EQ(log.messagesWith(kRendererDone).size(), 1u);
    EXPECT_EQ(OrvRenderer::getInstance(), nullptr);
    EXPECT_EQ(engine->getRenderer(), nullptr);
}

TEST_F(EngineGlTest, SecondRendererReleasesTheFirst) {
    const size_t blocks = OrvMemoryAllocator::trackedBlockCount();
    EXPECT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), 0);
    EXPECT_EQ(log.messagesWith(kRendererDone).size(), 1u);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocks);
    EXPECT_EQ(OrvRenderer::getInstance(), engine->getRenderer());

    // A kind without an implementation leaves the renderer in place.
    OrvRenderer* current = engine->getRenderer();
    EXPECT_EQ(engine->createRenderer(2), -1);
    EXPECT_EQ(engine->getRenderer(), current);
    EXPECT_EQ(OrvRenderer::getInstance(), current);
}

namespace {

const char kTwistVertex[] =
    "uniform float time;\n"
    "void main() {\n"
    "    vec4 v = gl_Vertex;\n"
    "    float a = 0.01 * time * v.y;\n"
    "    v.xz = mat2(cos(a), -sin(a), sin(a), cos(a)) * v.xz;\n"
    "    gl_FrontColor = gl_Color;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * v;\n"
    "}\n";
const char kTwistPixel[] = "void main() { gl_FragColor = vec4(1.0, 0.5, 0.0, 1.0); }\n";

// The engine from start to stop with the log at its most detailed level.
class EngineRunGlTest : public EngineGlTest {
  protected:
    EngineRunGlTest() : EngineGlTest(OrvLog::DETAILED_DEBUG) {}
};

}  // namespace

// A scene with a node of every kind, a few frames presented through the root,
// and the stop: nothing the engine allocated is left over.
TEST_F(EngineRunGlTest, WholeRunLeavesNoLeak) {
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene("Main_Scene");
    scene->setClearColor(0.1f, 0.1f, 0.1f, 1);
    addCamera(scene, OrvVector4{0, 80, 160, 1});

    const float colours[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
        light->setDiffuse(colours[i]);
        const OrvVector4 position{-60.0f + 60 * i, 60, 40, 1};
        light->setPosition(&position);
        light->setFlag(ORV_FLAG_DRAW, 1);
        scene->addObject(light);
    }

    OrvGpuShader* shader = createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER, "Simple01");
    ASSERT_EQ(shader->loadVertexShaderFromMemory(kTwistVertex, sizeof(kTwistVertex)), 0);
    ASSERT_EQ(shader->loadPixelShaderFromMemory(kTwistPixel, sizeof(kTwistPixel)), 0);
    OrvMaterial* boxMaterial = OrvMaterialMgr::getInstance()->getMaterial("mat_box");
    boxMaterial->setGpuShader(shader);
    OrvMesh* box = createNode<OrvMesh>(ORV_NODE_MESH, "MeshBox");
    box->createBox(40, 60, 40, 4, 6, 4);
    box->getRenderState()->clearMaterials();
    box->setMaterial("mat_box", 0, -1);
    box->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
    scene->addObject(box);

    OrvMesh* grid = createNode<OrvMesh>(ORV_NODE_MESH, "MeshPlane");
    grid->createPlane(200, 200, 10, 10);
    grid->getRenderState()->clearMaterials();
    grid->setMaterial("plane_mat", 0, -1);
    grid->getRenderState()->setState(OrvRenderer::STATE_FACE_CULLING, 0);
    int32_t* gridStates = grid->getRenderState()->getStates();
    gridStates[OrvRenderer::STATE_BACK_POLYGON_MODE] = OrvRenderer::LINES;
    gridStates[OrvRenderer::STATE_FRONT_POLYGON_MODE] = OrvRenderer::LINES;
    grid->getMeshData()->setOption(OrvMeshData::bufferObjects, 1);
    scene->addObject(grid);

    OrvTriangle* triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE);
    const float corners[3][4] = {{60, 0, 0, 1}, {100, 0, 0, 1}, {80, 40, 0, 1}};
    for (int v = 0; v < 3; ++v) {
        for (int i = 0; i < 4; ++i) {
            triangle->getMeshData()->attributes[OrvMeshData::POSITIONS][v][i] = corners[v][i];
            triangle->getMeshData()->attributes[OrvMeshData::COLORS][v][i] = colours[v][i];
        }
    }
    scene->addObject(triangle);
    OrvGizmo* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    gizmo->setFlag(ORV_FLAG_DRAW_AXES, 1);
    scene->addObject(gizmo);

    const int frames = 3;
    for (int frame = 0; frame < frames; ++frame) {
        shader->setUniform1f("time", 0.016f * frame);
        const OrvPicture picture = drawFrame(scene);
        if (frame == frames - 1) {
            picture.keep("root_whole_run");
            EXPECT_GT(picture.countNot(26, 26, 26, 1), 5000) << "the scene was drawn";
        }
        engine->swapBuffers();
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    engine->terminate();
    EXPECT_TRUE(
        log.contains("OrvMemoryAllocator::dumpMemoryLeaks(): Yeah! No memory leak! "
                     "Congratulations! You're a smart pointer man ;)"));
    EXPECT_EQ(log.messagesWith("bytes unfreed").size(), 0u);
    EXPECT_EQ(log.text().find("<!>[WARNING]#"), std::string::npos) << "no failure on the way";
    EXPECT_EQ(log.messages().back(), "Orvane - terminate ok.");
}

// Each context keeps its own surface, so a second context on the same window
// record neither takes the first one's surface nor leaves its own behind.
TEST_F(EngineWindowTest, StopDestroysTheSurfaceOfEveryContextOnOneRecord) {
    OrvRenderContext* second = engine->createRenderContext(OrvMain::KIND_OPENGL);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->create(&window.info), 0);
    EXPECT_EQ(window.childWindowCount(), 2u);
    engine->terminate();
    EXPECT_EQ(window.childWindowCount(), 0u);
}
