#include <array>
#include <cstdio>
#include <cstring>

#include "orv_gl_test.h"
#include "render/orv_light_data.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"
#include "render/orv_text_info.h"

namespace {

// A small scene drawn the way the engine's objects draw: a camera, a light
// near the eye, a lit red triangle facing it, the light's marker point, a
// pair of axis lines and a line of text.
class RendererPictureTest : public OrvEngineGlTest {
  protected:
    void SetUp() override {
        OrvEngineGlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        triangle.reset();
        triangle.allocVertices(3);
        const float corners[3][4] = {{-2, -1.5f, 0, 1}, {2, -1.5f, 0, 1}, {0, 2, 0, 1}};
        std::memcpy(triangle.attributes[OrvMeshData::POSITIONS], corners, sizeof(corners));
        for (int v = 0; v < 3; ++v) {
            // Lighting takes the material's colour, never this one.
            triangle.attributes[OrvMeshData::COLORS][v][1] = 1.0f;
        }
    }
    void TearDown() override {
        triangle.releaseArrays();
        OrvEngineGlTest::TearDown();
    }

    // Where a world point lands in the window, with the renderer's matrices.
    void project(const float* point, int* x, int* y) {
        const std::array<double, 2> at = orvWindowPoint(renderer, point[0], point[1], point[2]);
        *x = static_cast<int>(at[0]);
        *y = static_cast<int>(at[1]);
    }

    OrvMeshData triangle = {};
};

bool colourNear(const OrvPicture& picture, int x, int y, int r, int g, int b) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const uint8_t* p = picture.at(x + dx, y + dy);
            if (p[0] == r && p[1] == g && p[2] == b) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(RendererPictureTest, ALitTriangleAMarkerAxesAndText) {
    const float eye[3] = {0, 0, 10};
    const float centre[3] = {0, 0, 0};
    const float up[3] = {0, 1, 0};
    const int litStates[OrvRenderer::kRenderStateCount] = {0, 1, 0, 0, 1, 0, 0,
                                                           0, 0, 0, 0, 0, 2, 2};
    const int plainStates[OrvRenderer::kRenderStateCount] = {0, 0, 0, 0, 1, 0, 0,
                                                             0, 0, 0, 0, 0, 2, 2};
    const float material[17] = {0.2f, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 16};
    const float marker[4] = {3, 2, 0, 1};
    const float cyan[4] = {0, 1, 1, 1};
    const float xAxis[16] = {-3, -2, 0, 1, -1.5f, -2, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1};
    const float yAxis[16] = {-3, -2, 0, 1, -3, -0.5f, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};

    renderer->beginScene();
    renderer->clearColorBuffer(0.1f, 0.1f, 0.1f, 1.0f);
    renderer->clearDepthBuffer(1.0f);
    renderer->setViewport(0, 0, 640, 480);
    renderer->setPerspective(45.0f, 640.0f / 480.0f, 1.0f, 100.0f);
    renderer->lookAt(eye, centre, up);

    OrvLightData light = {};
    light.setDefaults();
    light.position[1] = 0.0f;
    light.position[2] = 10.0f;
    renderer->enableLight(&light);
    renderer->setLightColors(&light);
    renderer->loadViewMatrix();
    renderer->setLightPosition(&light);

    renderer->loadViewMatrix();
    renderer->applyRenderStates(litStates);
    renderer->applyMaterial(material);
    renderer->drawTriangle(&triangle);

    renderer->loadViewMatrix();
    renderer->applyRenderStates(plainStates);
    renderer->drawPoint(marker, cyan, 6.0f);
    renderer->drawLine(xAxis);
    renderer->drawLine(yAxis);

    OrvTextInfo text = {};
    std::snprintf(text.faceName, sizeof(text.faceName), "%s", "Verdana");
    text.fontHeight = 12;
    std::snprintf(text.text, sizeof(text.text), "%s", "Orvane renderer");
    text.textLength = static_cast<int>(std::strlen(text.text));
    text.x = 10;
    text.y = 10;
    text.color[0] = 1.0f;
    text.color[1] = 1.0f;
    text.color[3] = 1.0f;
    ASSERT_EQ(renderer->createFont(&text, &window.info), 0);
    renderer->drawText(&text, &window.info);
    renderer->endScene();
    const OrvPicture picture = readPicture();
    picture.keep("lit_scene");
    renderer->destroyFont(&text, &window.info);

    // The light sits on the eye's axis, so the triangle's middle faces it
    // head on: ambient 0.2 x 0.2 plus full diffuse, red only.
    const uint8_t* middle = picture.at(320, 240);
    EXPECT_GE(middle[0], 250);
    EXPECT_EQ(middle[1], 0);
    EXPECT_EQ(middle[2], 0);
    int x = 0;
    int y = 0;
    project(marker, &x, &y);
    EXPECT_TRUE(colourNear(picture, x, y, 0, 255, 255)) << x << ", " << y;
    const float xMiddle[3] = {-2.25f, -2, 0};
    project(xMiddle, &x, &y);
    EXPECT_TRUE(colourNear(picture, x, y, 255, 0, 0)) << x << ", " << y;
    const float yMiddle[3] = {-3, -1.25f, 0};
    project(yMiddle, &x, &y);
    EXPECT_TRUE(colourNear(picture, x, y, 0, 255, 0)) << x << ", " << y;
    int yellow = 0;
    for (int row = 480 - 10 - 18; row < 480 - 10; ++row) {
        for (int column = 9; column < 200; ++column) {
            const uint8_t* p = picture.at(column, row);
            yellow += p[0] == 255 && p[1] == 255 && p[2] == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(yellow, 80);
    // Background left where nothing was drawn.
    const uint8_t* corner = picture.at(630, 10);
    EXPECT_EQ(corner[0], 26);
}

}  // namespace
