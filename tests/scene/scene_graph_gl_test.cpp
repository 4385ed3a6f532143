// The scene graph against the real driver: a material's colours as OpenGL
// holds them, the camera's matrices next to GLU's, and the picture of a scene
// with a camera and a gizmo showing its axes.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "orv_gl_test.h"
#include "orv_create_node.h"
#include "orvane.h"

namespace {

// The engine on OpenGL, with the same leak check as the recording tests:
// the engine's stop releases every block allocated since before its start.
class SceneGraphGlTest : public OrvEngineGlTest {
  protected:
    void SetUp() override {
        baselineBlocks = OrvMemoryAllocator::trackedBlockCount();
        OrvEngineGlTest::SetUp();
    }
    void TearDown() override {
        OrvEngineGlTest::TearDown();
        EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), baselineBlocks);
    }

    size_t baselineBlocks = 0;
};

void expectMatrixNear(const float* actual, const float* expected, const char* what) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << what << " element " << i;
    }
}

// The matrix GL holds for the mode after the call ran on an identity matrix.
template <typename Call>
void referenceMatrix(GLenum mode, GLenum matrix, Call call, float* out) {
    glMatrixMode(mode);
    glPushMatrix();
    glLoadIdentity();
    call();
    glGetFloatv(matrix, out);
    glPopMatrix();
}

// The pixels of one colour, give or take 8 in each channel: how many there
// are and where their centre lies.
struct ColourSpot {
    int count = 0;
    double x = 0;
    double y = 0;
};

ColourSpot findColour(const OrvPicture& picture, int r, int g, int b) {
    ColourSpot spot;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.at(x, y);
            if (std::abs(p[0] - r) <= 8 && std::abs(p[1] - g) <= 8 && std::abs(p[2] - b) <= 8) {
                ++spot.count;
                spot.x += x;
                spot.y += y;
            }
        }
    }
    if (spot.count > 0) {
        spot.x /= spot.count;
        spot.y /= spot.count;
    }
    return spot;
}

}  // namespace

TEST_F(SceneGraphGlTest, MaterialColoursReachBothFaces) {
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial("mat_box");
    ASSERT_NE(material, nullptr);
    const float ambient[4] = {0.2f, 0.3f, 0.4f, 1};
    const float diffuse[4] = {1, 0.5f, 0.25f, 1};
    const float specular[4] = {0.6f, 0.7f, 0.8f, 0.9f};
    material->setAmbient(ambient);
    material->setDiffuse(diffuse);
    material->setSpecular(specular);
    material->setShininess(60.0f);
    material->apply();

    const float emission[4] = {0, 0, 0, 1};
    const std::pair<GLenum, const float*> colours[] = {{GL_AMBIENT, ambient},
                                                       {GL_DIFFUSE, diffuse},
                                                       {GL_SPECULAR, specular},
                                                       {GL_EMISSION, emission}};
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        for (const auto& [parameter, expected] : colours) {
            float actual[4] = {};
            glGetMaterialfv(face, parameter, actual);
            for (int i = 0; i < 4; ++i) {
                EXPECT_FLOAT_EQ(actual[i], expected[i]) << face << " " << parameter << " " << i;
            }
        }
        float shininess = 0;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_FLOAT_EQ(shininess, 60.0f);
    }
}

TEST_F(SceneGraphGlTest, CameraMatricesEqualGlu) {
    struct Case {
        const char* what;
        bool useDefaults;
    };
    for (const Case& c : {Case{"defaults", true}, Case{"demo set-up", false}}) {
        OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
        OrvVector4 eye{0, 10, 20, 1};
        float fovY = 60;
        float aspect = 1.333f;
        if (!c.useDefaults) {
            eye.set(0, 50, 280, 1);
            fovY = 45;
            aspect = 1024.0f / 768.0f;
            camera->setViewport(0, 0, 640, 480);
            camera->setPerspective(fovY, aspect, 1, 1000);
            camera->setLookAt(&eye, nullptr, nullptr);
        }
        camera->apply();

        float projection[16];
        float modelView[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        renderer->loadViewMatrix();
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);

        float expected[16];
        referenceMatrix(
            GL_PROJECTION, GL_PROJECTION_MATRIX, [&] { gluPerspective(fovY, aspect, 1.0, 1000.0); },
            expected);
        expectMatrixNear(projection, expected, c.what);
        referenceMatrix(
            GL_MODELVIEW, GL_MODELVIEW_MATRIX,
            [&] { gluLookAt(eye.x, eye.y, eye.z, 0, 0, 0, 0, 1, 0); }, expected);
        expectMatrixNear(modelView, expected, c.what);

        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.useDefaults ? 0 : 640) << c.what;
        EXPECT_EQ(viewport[3], c.useDefaults ? 1 : 480) << c.what;
    }
}

// A camera looking at the origin from the front, a gizmo there showing its
// axes: the red, green and blue lines run from the gizmo's position towards
// +x, +y and +z over a cleared background, and nothing else is drawn.
TEST_F(SceneGraphGlTest, GizmoAxesShowInTheWindow) {
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene("Main_Scene");
    scene->setClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA, "Main_Camera");
    camera->setViewport(0, 0, window.info.width, window.info.height);
    camera->setPerspective(60, static_cast<float>(window.info.width) / window.info.height, 1, 1000);
    const OrvVector4 eye{30, 25, 60, 1};
    camera->setLookAt(&eye, nullptr, nullptr);
    scene->addObject(camera);
    OrvGizmo* gizmo = createNode<OrvGizmo>(ORV_NODE_GIZMO);
    const OrvVector4 position{-5, -5, 0, 1};
    gizmo->setPosition(&position);
    gizmo->setFlag(ORV_FLAG_DRAW_AXES, 1);
    scene->addObject(gizmo);
    EXPECT_STREQ(gizmo->getRenderState()->getMaterial(0)->getName(), "orvane_default_material");

    scene->update(0.016f);
    scene->beginFrame();
    scene->render(0.016f);
    scene->endFrame();
    const OrvPicture picture = readPicture();
    picture.keep("scene_graph_gizmo_axes");

    auto project = [&](const float* point, double* x, double* y) {
        const std::array<double, 2> at = orvWindowPoint(renderer, point[0], point[1], point[2]);
        *x = at[0];
        *y = at[1];
    };
    struct Axis {
        float end[3];
        int r, g, b;
    };
    const Axis axes[] = {
        {{15, -5, 0}, 255, 0, 0}, {{-5, 15, 0}, 0, 255, 0}, {{-5, -5, 20}, 0, 0, 255}};
    const float origin[3] = {-5, -5, 0};
    double originX = 0;
    double originY = 0;
    project(origin, &originX, &originY);
    int linePixels = 0;
    for (const Axis& axis : axes) {
        double endX = 0;
        double endY = 0;
        project(axis.end, &endX, &endY);
        // A one-pixel line covers one pixel per step along its longer side,
        // centred half way between its projected ends; the origin pixel is
        // shared by all three.
        const ColourSpot spot = findColour(picture, axis.r, axis.g, axis.b);
        const double steps = std::max(std::abs(endX - originX), std::abs(endY - originY));
        EXPECT_NEAR(spot.count, steps, 3.0) << axis.r << "," << axis.g << "," << axis.b;
        EXPECT_NEAR(spot.x, (originX + endX) / 2, 2.0) << axis.r << "," << axis.g << "," << axis.b;
        EXPECT_NEAR(spot.y, (originY + endY) / 2, 2.0) << axis.r << "," << axis.g << "," << axis.b;
        linePixels += spot.count;
    }
    // Everything else is the clear colour (0.1 of 255 rounds to 26).
    EXPECT_EQ(picture.countNot(26, 26, 26, 1), linePixels);
}
