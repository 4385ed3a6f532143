#include <GL/gl.h>

#include <cstring>
#include <string>
#include <vector>

#include "orv_gl_test.h"
#include "orv_recording_renderer_opengl.h"

namespace {

using RendererStateTest = OrvEngineGlTest;

// Front then back polygon mode.
std::pair<GLint, GLint> polygonModes() {
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return {modes[0], modes[1]};
}

TEST_F(RendererStateTest, RenderStateBlocksSwitchTheFixedFunctionState) {
    struct Case {
        const char* label;
        int states[OrvRenderer::kRenderStateCount];
        bool lighting;
        bool depthTest;
        bool culling;
        GLint cullFace;
        GLint front;
        GLint back;
    };
    const Case cases[] = {
        {"a new object's block",
         {0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 2, 2},
         false,
         true,
         true,
         GL_BACK,
         GL_FILL,
         GL_FILL},
        {"only exactly 1 switches on",
         {0, 2, 0, 7, -1, 0, 0, 0, 0, 0, 0, 1, 0, 1},
         false,
         false,
         false,
         GL_FRONT_AND_BACK,
         GL_LINE,
         GL_POINT},
        {"everything on",
         {0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 2, 1, 0},
         true,
         true,
         true,
         GL_FRONT,
         GL_POINT,
         GL_LINE},
    };
    for (const Case& c : cases) {
        renderer->applyRenderStates(c.states);
        EXPECT_EQ(glIsEnabled(GL_LIGHTING), c.lighting) << c.label;
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), c.depthTest) << c.label;
        EXPECT_EQ(glIsEnabled(GL_CULL_FACE), c.culling) << c.label;
        EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), c.cullFace) << c.label;
        EXPECT_EQ(polygonModes(), std::make_pair(c.front, c.back)) << c.label;
    }
    renderer->applyRenderStates(nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Each switch goes through the virtual operations, so a derived renderer sees
// all of them, always in this order, with the block's codes passed unchanged.
TEST_F(RendererStateTest, RenderStateBlocksSwitchThroughTheVirtualOperationsInOrder) {
    struct Case {
        const char* label;
        int states[OrvRenderer::kRenderStateCount];
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"a new object's block",
         {0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 2, 2},
         {"disable(LIGHTING)", "enable(DEPTH_TEST)", "enable(FACE_CULLING)", "setCullFace(BACK)",
          "setPolygonMode(FILL, FRONT)", "setPolygonMode(FILL, BACK)",
          "disable(RESERVED_CAPABILITY)"}},
        {"codes outside the tables, unread entries set",
         {9, 2, 1, 7, -1, 9, 9, 9, 9, 9, 9, 42, 0, 7},
         {"disable(LIGHTING)", "disable(DEPTH_TEST)", "disable(FACE_CULLING)", "setCullFace(42)",
          "setPolygonMode(7, FRONT)", "setPolygonMode(POINTS, BACK)",
          "enable(RESERVED_CAPABILITY)"}},
        {"everything on",
         {0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0},
         {"enable(LIGHTING)", "enable(DEPTH_TEST)", "enable(FACE_CULLING)",
          "setCullFace(FRONT_AND_BACK)", "setPolygonMode(POINTS, FRONT)",
          "setPolygonMode(LINES, BACK)", "enable(RESERVED_CAPABILITY)"}},
    };
    OrvRecordingRendererOpenGL recorder;
    ASSERT_EQ(recorder.initialize(), OrvRenderer::RESULT_OK);
    for (const Case& c : cases) {
        recorder.calls.clear();
        recorder.applyRenderStates(c.states);
        EXPECT_EQ(recorder.calls, c.calls) << c.label;
    }
    recorder.terminate();
}

TEST_F(RendererStateTest, FaceAndModeCodesOutsideTheTablesMeanBackAndFill) {
    struct Case {
        int mode;
        int face;
        GLint front;
        GLint back;
    };
    // Each case starts from points on both faces.
    const Case cases[] = {{1, 1, GL_LINE, GL_LINE},
                          {7, 9, GL_POINT, GL_FILL},
                          {0, 2, GL_POINT, GL_POINT},
                          {2, 0, GL_POINT, GL_FILL},
                          {1, -3, GL_POINT, GL_LINE}};
    for (const Case& c : cases) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
        // Changed behind the renderer, so its state cache must forget.
        renderer->invalidateStateCache();
        renderer->setPolygonMode(c.mode, c.face);
        EXPECT_EQ(polygonModes(), std::make_pair(c.front, c.back)) << c.mode << ", " << c.face;
    }
    const std::pair<int, GLint> cullCases[] = {
        {1, GL_FRONT_AND_BACK}, {2, GL_FRONT}, {0, GL_BACK}, {42, GL_BACK}};
    for (const auto& c : cullCases) {
        renderer->setCullFace(c.first);
        EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), c.second) << c.first;
    }
}

TEST_F(RendererStateTest, CapabilitiesOutsideTheTableChangeNothing) {
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    const int codes[] = {OrvRenderer::RESERVED_CAPABILITY, 5, -1, 1000};
    for (int code : codes) {
        for (bool on : {true, false}) {
            if (on) {
                renderer->enable(code);
            } else {
                renderer->disable(code);
            }
            EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << code << on;
            EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << code << on;
            EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << code << on;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RendererStateTest, ClearsTouchOnlyTheirOwnBuffer) {
    renderer->clearColorBuffer(0.0f, 0.0f, 1.0f, 1.0f);
    renderer->clearDepthBuffer(0.25f);
    renderer->clearColorBuffer(1.0f, 0.0f, 0.0f, 1.0f);
    GLfloat depth = 0.0f;
    glFinish();
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.25f, 1e-5f);
    EXPECT_EQ(readPicture().countNot(255, 0, 0), 0);
}

// The matrix gluLookAt makes for an eye on the z axis at 5 looking at the
// origin: a plain move by -5 along z.
const float kLookAtMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1};

void expectModelView(const float* expected, const char* label) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << label << " element " << i;
    }
}

TEST_F(RendererStateTest, LookAtBecomesTheViewMatrixThatObjectsStartFrom) {
    const float eye[3] = {0, 0, 5};
    const float centre[3] = {0, 0, 0};
    const float up[3] = {0, 1, 0};
    const float model[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
    renderer->lookAt(eye, centre, up);
    expectModelView(kLookAtMatrix, "lookAt");

    // The view stays what lookAt made: loadViewMatrix brings it back.
    renderer->loadModelViewMatrix(model);
    expectModelView(model, "loadModelViewMatrix");
    renderer->loadViewMatrix();
    expectModelView(kLookAtMatrix, "loadViewMatrix");
    renderer->multMatrix(model);
    const float combined[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, -2, 1};
    expectModelView(combined, "multMatrix");

    renderer->setViewMatrix(model);
    glLoadIdentity();
    renderer->invalidateStateCache();
    renderer->loadViewMatrix();
    expectModelView(model, "setViewMatrix");
}

TEST_F(RendererStateTest, ProjectionsLeaveTheProjectionMatrixCurrent) {
    renderer->setPerspective(90.0f, 2.0f, 1.0f, 3.0f);
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_PROJECTION);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    // cot(45 degrees) / aspect, cot(45 degrees), -(far + near) / (far - near).
    EXPECT_NEAR(p[0], 0.5f, 1e-6f);
    EXPECT_NEAR(p[5], 1.0f, 1e-6f);
    EXPECT_NEAR(p[10], -2.0f, 1e-6f);
    EXPECT_NEAR(p[11], -1.0f, 1e-6f);

    renderer->setOrtho(0.0f, 640.0f, 0.0f, 480.0f, -1.0f, 1.0f);
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_PROJECTION);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[0], 2.0f / 640.0f, 1e-7f);
    EXPECT_NEAR(p[12], -1.0f, 1e-6f);

    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1};
    renderer->setProjectionMatrix(m);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_EQ(std::memcmp(p, m, sizeof(m)), 0);
}

// That the rectangle is remembered for text, RendererTextTest shows by where
// the text lands.
TEST_F(RendererStateTest, TheViewportReachesGl) {
    renderer->setViewport(100, 50, 320, 240);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<int>(viewport, viewport + 4), (std::vector<int>{100, 50, 320, 240}));
}

}  // namespace
