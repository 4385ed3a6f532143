// A triangle node in a scene against the real driver: its vertex colours
// blend across it, and a shader on its first material replaces them.
#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>

#include "lifecycle_test_support.h"

namespace {

const char kVertexSource[] = "void main() { gl_Position = ftransform(); }";
const char kYellowSource[] = "void main() { gl_FragColor = vec4(1.0, 1.0, 0.0, 1.0); }";

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
        OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
        camera->setViewport(0, 0, window.info.width, window.info.height);
        camera->setPerspective(60, float(window.info.width) / window.info.height, 1, 1000);
        const OrvVector4 eye{0, 0, 100, 1};
        camera->setLookAt(&eye, nullptr, nullptr);
        scene->addObject(camera);

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

    OrvPicture drawFrame() {
        scene->update(0.016f);
        scene->beginFrame();
        scene->render(0.016f);
        scene->endFrame();
        return readPicture();
    }

    // The window pixel of the point with barycentric weights w over the
    // corners, under the matrices GL holds after the frame.
    static std::array<int, 2> pixelAt(const std::array<float, 3>& w) {
        double model[16];
        double projection[16];
        GLint viewport[4];
        OrvRenderer::getInstance()->loadViewMatrix();
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        double p[3] = {};
        for (int v = 0; v < 3; ++v) {
            for (int i = 0; i < 3; ++i) {
                p[i] += w[v] * kCorners[v][i];
            }
        }
        double x = 0;
        double y = 0;
        double z = 0;
        gluProject(p[0], p[1], p[2], model, projection, viewport, &x, &y, &z);
        return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    }

    static constexpr float kCorners[3][4] = {{-30, -30, 0, 1}, {30, -30, 0, 1}, {0, 30, 0, 1}};
    static constexpr float kColours[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};

    OrvScene* scene = nullptr;
    OrvTriangle* triangle = nullptr;
};

void expectColour(const OrvPicture& picture, const std::array<int, 2>& at,
                  const std::array<int, 3>& rgb, int tolerance, const std::string& what) {
    const uint8_t* p = picture.at(at[0], at[1]);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(p[c], rgb[c], tolerance) << what << " channel " << c;
    }
}

}  // namespace

TEST_F(TriangleGlTest, VertexColoursBlendAcrossTheTriangle) {
    const OrvPicture picture = drawFrame();
    picture.keep("lifecycle_triangle_colours");
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

    const OrvPicture picture = drawFrame();
    picture.keep("lifecycle_triangle_shader");
    for (const std::array<float, 3>& w :
         {std::array<float, 3>{0.8f, 0.1f, 0.1f}, {1 / 3.0f, 1 / 3.0f, 1 / 3.0f}}) {
        expectColour(picture, pixelAt(w), {255, 255, 0}, 0, ::testing::PrintToString(w));
    }
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0) << "the shader is unbound after the draw";
}
