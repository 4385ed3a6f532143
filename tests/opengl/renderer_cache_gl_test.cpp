// The state cache and the program's own GL calls, against the driver. Loads
// (view, modelview, projection, viewport) always reach the driver, whatever
// the program did in between; cached state made stale by the program inside a
// frame is repaired by invalidateStateCache, and between frames by the next
// frame's beginScene alone.
#include <GL/gl.h>

#include <functional>
#include <vector>

#include "orv_gl_test.h"
#include "render/orv_light_data.h"

namespace {

// What gluLookAt makes for an eye on the z axis at 5 looking at the origin.
const float kLookAt[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1};
const float kMoved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1};
const float kEye[3] = {0, 0, 5};
const float kCentre[3] = {0, 0, 0};
const float kUp[3] = {0, 1, 0};

std::vector<float> matrix(GLenum name) {
    float m[16];
    glGetFloatv(name, m);
    return std::vector<float>(m, m + 16);
}

std::vector<float> values(const float* m, int count = 16) {
    return std::vector<float>(m, m + count);
}

bool matrixIs(GLenum mode, GLenum name, const float* expected) {
    return glInteger(GL_MATRIX_MODE) == static_cast<GLint>(mode) &&
           matrix(name) == values(expected);
}

std::vector<int> viewport() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return std::vector<int>(v, v + 4);
}

// A renderer call, a GL call of the program that spoils what it set, and
// whether what the call asked for is in place.
struct Case {
    const char* label;
    std::function<void()> set;
    std::function<void()> spoil;
    std::function<bool()> inPlace;
};

class RendererCacheTest : public OrvEngineGlTest {
  protected:
    void SetUp() override {
        OrvEngineGlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        light.setDefaults();
    }
    void TearDown() override {
        if (renderer != nullptr) {
            renderer->disableLight(&light);
        }
        OrvEngineGlTest::TearDown();
    }

    // The state the cache keeps, each spoilt by a GL call of the program.
    std::vector<Case> cachedCases() {
        return {
            {"lighting", [this] { renderer->enable(OrvRenderer::LIGHTING); },
             [] { glDisable(GL_LIGHTING); }, [] { return glIsEnabled(GL_LIGHTING) == GL_TRUE; }},
            {"depth test", [this] { renderer->disable(OrvRenderer::DEPTH_TEST); },
             [] { glEnable(GL_DEPTH_TEST); },
             [] { return glIsEnabled(GL_DEPTH_TEST) == GL_FALSE; }},
            {"cull face", [this] { renderer->setCullFace(OrvRenderer::FRONT); },
             [] { glCullFace(GL_BACK); }, [] { return glInteger(GL_CULL_FACE_MODE) == GL_FRONT; }},
            {"material", [this] { renderer->applyMaterial(material); },
             [] {
                 const float grey[4] = {0.9f, 0.9f, 0.9f, 1.0f};
                 glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
             },
             [this] {
                 float diffuse[4];
                 glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
                 return values(diffuse, 4) == values(material + 4, 4);
             }},
            {"light enable", [this] { renderer->enableLight(&light); },
             [this] { glDisable(GL_LIGHT0 + light.unit); },
             [this] { return glIsEnabled(GL_LIGHT0 + light.unit) == GL_TRUE; }},
        };
    }

    float material[17] = {0.1f, 0.2f, 0.3f, 1, 0.4f, 0.5f, 0.6f, 1, 0, 0, 0, 1, 0, 0, 0, 1, 8};
    OrvLightData light = {};
};

TEST_F(RendererCacheTest, LoadsReachTheDriverWhateverTheProgramDidInBetween) {
    const std::vector<Case> cases = {
        {"loadViewMatrix after glLoadIdentity", [this] { renderer->loadViewMatrix(); },
         [] { glLoadIdentity(); },
         [] { return matrixIs(GL_MODELVIEW, GL_MODELVIEW_MATRIX, kLookAt); }},
        {"loadViewMatrix after another matrix mode", [this] { renderer->loadViewMatrix(); },
         [] { glMatrixMode(GL_PROJECTION); },
         [] { return matrixIs(GL_MODELVIEW, GL_MODELVIEW_MATRIX, kLookAt); }},
        {"lookAt", [this] { renderer->lookAt(kEye, kCentre, kUp); },
         [] {
             glMatrixMode(GL_MODELVIEW);
             glLoadMatrixf(kMoved);
         },
         [] { return matrixIs(GL_MODELVIEW, GL_MODELVIEW_MATRIX, kLookAt); }},
        {"setViewMatrix",
         [this] {
             renderer->setViewMatrix(kLookAt);
             renderer->loadViewMatrix();
         },
         [] { glLoadIdentity(); },
         [] { return matrixIs(GL_MODELVIEW, GL_MODELVIEW_MATRIX, kLookAt); }},
        {"loadModelViewMatrix", [this] { renderer->loadModelViewMatrix(kMoved); },
         [] {
             glMatrixMode(GL_PROJECTION);
             glLoadIdentity();
         },
         [] { return matrixIs(GL_MODELVIEW, GL_MODELVIEW_MATRIX, kMoved); }},
        {"setProjectionMatrix", [this] { renderer->setProjectionMatrix(kMoved); },
         [] {
             glMatrixMode(GL_MODELVIEW);
             glMatrixMode(GL_PROJECTION);
             glLoadIdentity();
             glMatrixMode(GL_MODELVIEW);
         },
         [] { return matrixIs(GL_PROJECTION, GL_PROJECTION_MATRIX, kMoved); }},
        {"setOrtho", [this] { renderer->setOrtho(-1, 1, -1, 1, -1, 1); },
         [] {
             glMatrixMode(GL_PROJECTION);
             glLoadMatrixf(kMoved);
             glMatrixMode(GL_MODELVIEW);
         },
         [] {
             const float flipped[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
             return matrixIs(GL_PROJECTION, GL_PROJECTION_MATRIX, flipped);
         }},
        {"setViewport", [this] { renderer->setViewport(10, 20, 300, 200); },
         [] { glViewport(0, 0, 1, 1); },
         [] {
             return viewport() == std::vector<int>{10, 20, 300, 200};
         }},
    };
    renderer->beginScene();
    renderer->lookAt(kEye, kCentre, kUp);
    for (const Case& c : cases) {
        c.set();
        ASSERT_TRUE(c.inPlace()) << c.label;
        c.spoil();
        ASSERT_FALSE(c.inPlace()) << c.label << ": the spoiling call changed nothing";
        c.set();
        EXPECT_TRUE(c.inPlace()) << c.label;
    }
    renderer->endScene();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Inside a frame the cache still believes what it set; the program that
// changed it says so with invalidateStateCache.
TEST_F(RendererCacheTest, InsideAFrameInvalidatingRepairsWhatTheProgramChanged) {
    renderer->beginScene();
    for (const Case& c : cachedCases()) {
        c.set();
        ASSERT_TRUE(c.inPlace()) << c.label;
        c.spoil();
        renderer->invalidateStateCache();
        c.set();
        EXPECT_TRUE(c.inPlace()) << c.label;
    }
    renderer->endScene();
}

// Between frames the program may do as it likes: the next frame sends every
// state again at its first use.
TEST_F(RendererCacheTest, TheNextFrameRepairsWhatTheProgramChangedBetweenFrames) {
    for (const Case& c : cachedCases()) {
        renderer->beginScene();
        c.set();
        renderer->endScene();
        ASSERT_TRUE(c.inPlace()) << c.label;
        c.spoil();
        ASSERT_FALSE(c.inPlace()) << c.label << ": the spoiling call changed nothing";

        renderer->beginScene();
        c.set();
        EXPECT_TRUE(c.inPlace()) << c.label;
        renderer->endScene();
    }
}

// The view a light's position passes through is loaded again although the
// renderer loaded it last: the program replaced the modelview since.
TEST_F(RendererCacheTest, ALightPlacedAfterTheProgramsLoadIdentityUsesTheView) {
    light.position[0] = 1.0f;
    light.position[1] = 0.0f;
    light.position[2] = 0.0f;
    light.position[3] = 1.0f;
    renderer->beginScene();
    renderer->lookAt(kEye, kCentre, kUp);
    glLoadIdentity();
    renderer->loadViewMatrix();
    renderer->setLightPosition(&light);
    renderer->endScene();
    EXPECT_EQ(lightValues(GL_LIGHT0 + light.unit, GL_POSITION, 4),
              (std::vector<float>{1, 0, -5, 1}));
}

}  // namespace
