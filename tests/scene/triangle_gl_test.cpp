// A triangle node in a scene against the real driver: its vertex colours
// blend across it, and a shader on its first material replaces them.
#include <GL/gl.h>

#include "orv_create_node.h"
#include "orv_gl_test.h"
#include "orvane.h"

namespace {

using EngineGlTest = OrvEngineGlTest;

const char kVertexSource[] = "void main() { gl_Position = ftransform(); }";
const char kYellowSource[] = "void main() { gl_FragColor = vec4(1.0, 1.0, 0.0, 1.0); }";

const float kCorners[3][4] = {{-30, -30, 0, 1}, {30, -30, 0, 1}, {0, 30, 0, 1}};
const float kColours[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};

// A camera on the z axis looking at a triangle around the origin whose
// corners are red, green and blue.
class TriangleGlTest : public EngineGlTest {
  protected:
    void SetUp() override {
        EngineGlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        scene = OrvSceneMgr::getInstance()->createScene("triangle_scene");
        addCamera(scene, OrvVector4{0, 0, 100, 1});
        triangle = createNode<OrvTriangle>(ORV_NODE_TRIANGLE);
        OrvMeshData* mesh = triangle->getMeshData();
        for (int v = 0; v < 3; ++v) {
            for (int i = 0; i < 4; ++i) {
                mesh->attributes[OrvMeshData::POSITIONS][v][i] = kCorners[v][i];
                mesh->attributes[OrvMeshData::COLORS][v][i] = kColours[v][i];
            }
        }
        scene->addObject(triangle);
    }

    // The window pixel of the point with barycentric weights w over the
    // corners.
    static std::array<int, 2> pixelAt(const std::array<float, 3>& w) {
        double p[3] = {};
        for (int v = 0; v < 3; ++v) {
            for (int i = 0; i < 3; ++i) {
                p[i] += w[v] * kCorners[v][i];
            }
        }
        return windowPixel(p[0], p[1], p[2]);
    }

    OrvScene* scene = nullptr;
    OrvTriangle* triangle = nullptr;
};

}  // namespace

TEST_F(TriangleGlTest, VertexColoursBlendAcrossTheTriangle) {
    const OrvPicture picture = drawFrame(scene);
    picture.keep("scene_triangle_colours");
    struct Case {
        std::array<float, 3> weights;
        std::array<int, 3> rgb;
    };
    const Case cases[] = {
        {{0.8f, 0.1f, 0.1f}, {204, 26, 26}},
        {{0.1f, 0.8f, 0.1f}, {26, 204, 26}},
        {{0.1f, 0.1f, 0.8f}, {26, 26, 204}},
        {{1 / 3.0f, 1 / 3.0f, 1 / 3.0f}, {85, 85, 85}},
    };
    for (const Case& c : cases) {
        expectColour(picture, pixelAt(c.weights), c.rgb, 3, ::testing::PrintToString(c.weights));
    }
    // Outside the triangle only the clear colour.
    expectColour(picture, {5, 5}, {0, 0, 0}, 0, "corner of the window");
    const int covered = picture.countNot(0, 0, 0);
    EXPECT_GT(covered, 1000);
    EXPECT_LT(covered, window.info.width * window.info.height / 2);
}

TEST_F(TriangleGlTest, ShaderOfTheFirstMaterialColoursIt) {
    OrvGpuShader* shader = createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER, "yellow");
    ASSERT_EQ(shader->loadVertexShaderFromMemory(kVertexSource, sizeof(kVertexSource)), 0);
    ASSERT_EQ(shader->loadPixelShaderFromMemory(kYellowSource, sizeof(kYellowSource)), 0);
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial("yellow_mat");
    material->setGpuShader(shader);
    triangle->getRenderState()->clearMaterials();
    triangle->getRenderState()->addMaterial(material);

    const OrvPicture picture = drawFrame(scene);
    picture.keep("scene_triangle_shader");
    for (const std::array<float, 3>& w :
         {std::array<float, 3>{0.8f, 0.1f, 0.1f}, {1 / 3.0f, 1 / 3.0f, 1 / 3.0f}}) {
        expectColour(picture, pixelAt(w), {255, 255, 0}, 0, ::testing::PrintToString(w));
    }
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0) << "the shader is unbound after the draw";
}
