// Lights against the real driver: what OpenGL holds for a light unit after a
// light's first frame, for each light type and after a reset, and the picture
// of a lit plane under three coloured spot lights.
#include <GL/gl.h>

#include <functional>

#include "orv_create_node.h"
#include "orv_gl_test.h"
#include "orvane.h"

namespace {

using EngineGlTest = OrvEngineGlTest;

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// The lights' positions reach GL through the view matrix; with the identity
// GL holds them as given.
class LightGlTest : public EngineGlTest {
  protected:
    void SetUp() override {
        EngineGlTest::SetUp();
        if (!HasFatalFailure()) {
            OrvRenderer::getInstance()->setViewMatrix(kIdentity);
        }
    }

    // One frame of the light: update, then apply.
    static void frame(OrvLight* light) {
        light->update(0.016f);
        light->apply();
    }
};

// The light unit given by its number.
std::vector<float> lightValue(int unit, GLenum name, int count = 4) {
    return lightValues(GL_LIGHT0 + unit, name, count);
}

// Constant, linear and quadratic.
std::vector<float> attenuationOf(int unit) {
    return {lightValue(unit, GL_CONSTANT_ATTENUATION, 1)[0],
            lightValue(unit, GL_LINEAR_ATTENUATION, 1)[0],
            lightValue(unit, GL_QUADRATIC_ATTENUATION, 1)[0]};
}

}  // namespace

TEST_F(LightGlTest, FirstFrameTakesUnitZeroWithTheDefaults) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
    frame(light);
    const int unit = light->getLightData()->unit;
    ASSERT_EQ(unit, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(lightValue(unit, GL_POSITION), (std::vector<float>{0, 200, 200, 1}));
    EXPECT_EQ(lightValue(unit, GL_AMBIENT), (std::vector<float>{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(lightValue(unit, GL_DIFFUSE), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(lightValue(unit, GL_SPECULAR), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(lightValue(unit, GL_SPOT_CUTOFF, 1), std::vector<float>{180});
    EXPECT_EQ(attenuationOf(unit), (std::vector<float>{1, 0, 0}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LightGlTest, EachTypeReachesItsUnit) {
    struct Case {
        const char* what;
        std::function<void(OrvLight*)> set;
        std::vector<float> position;
        float cutoff;
        std::vector<float> spotDirection;
        std::vector<float> attenuation;
    };
    const std::vector<Case> cases = {
        {"directional",
         [](OrvLight* l) { l->setLightType(OrvLightData::DIRECTIONAL); },
         {0, 0, -1, 0},
         180,
         {0, 0, -1},
         {1, 0, 0}},
        {"directional, aimed",
         [](OrvLight* l) {
             l->setLightType(OrvLightData::DIRECTIONAL);
             l->setDirection(0, -1, 0);
         },
         {0, -1, 0, 0},
         180,
         {0, 0, -1},
         {1, 0, 0}},
        {"spot",
         [](OrvLight* l) { l->setLightType(OrvLightData::SPOT); },
         {0, 200, 200, 1},
         30,
         {0, 0, -1},
         {1, 0, 0}},
        {"spot, aimed and attenuated",
         [](OrvLight* l) {
             l->setLightType(OrvLightData::SPOT);
             l->setDirection(1, 0, 0);
             l->setSpotCutoff(45);
             l->setAttenuation(0.5f, 0.25f, 0.125f);
         },
         {0, 200, 200, 1},
         45,
         {1, 0, 0},
         {0.5f, 0.25f, 0.125f}},
    };
    for (const Case& c : cases) {
        OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
        c.set(light);
        frame(light);
        const int unit = light->getLightData()->unit;
        ASSERT_GE(unit, 0) << c.what;
        EXPECT_EQ(lightValue(unit, GL_POSITION), c.position) << c.what;
        EXPECT_EQ(lightValue(unit, GL_SPOT_CUTOFF, 1)[0], c.cutoff) << c.what;
        EXPECT_EQ(lightValue(unit, GL_SPOT_DIRECTION, 3), c.spotDirection) << c.what;
        EXPECT_EQ(attenuationOf(unit), c.attenuation) << c.what;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A reset light keeps its unit: dropping it would leave the old unit lit with
// the old colours and take a second one.
TEST_F(LightGlTest, ResetKeepsTheUnit) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
    const float red[4] = {1, 0, 0, 1};
    light->setDiffuse(red);
    frame(light);
    ASSERT_EQ(light->getLightData()->unit, 0);

    light->reset();
    frame(light);
    EXPECT_EQ(light->getLightData()->unit, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(lightValue(0, GL_DIFFUSE), (std::vector<float>{1, 1, 1, 1}));
}

// Three spot lights in a row above a white plane, red, green and blue, each
// aimed straight down with a narrow cone and showing its marker, seen by a
// camera from above: each lights its own patch in its own colour and the
// plane between them stays black (no ambient term anywhere).
TEST_F(EngineGlTest, ThreeColouredLightsOnALitPlane) {
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene("lit_scene");
    addCamera(scene, OrvVector4{0, 300, 0, 1}, OrvVector4{0, 0, -1, 1});

    const float black[4] = {0, 0, 0, 1};
    const float white[4] = {1, 1, 1, 1};
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial("white_mat");
    material->setAmbient(black);
    material->setDiffuse(white);
    material->setSpecular(black);
    OrvMesh* plane = createNode<OrvMesh>(ORV_NODE_MESH, "lit_plane");
    plane->createPlane(400, 400, 80, 80);
    plane->getRenderState()->clearMaterials();
    plane->setMaterial(material, 0, -1);
    plane->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
    plane->getRenderState()->setState(OrvRenderer::STATE_FACE_CULLING, 0);
    scene->addObject(plane);

    struct Spot {
        float x;
        std::array<float, 4> colour;
    };
    const Spot spots[] = {{-100, {1, 0, 0, 1}}, {0, {0, 1, 0, 1}}, {100, {0, 0, 1, 1}}};
    for (const Spot& spot : spots) {
        OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
        light->setLightType(OrvLightData::SPOT);
        light->setDirection(0, -1, 0);
        light->setSpotCutoff(25);
        light->setAmbient(black);
        light->setSpecular(black);
        light->setDiffuse(spot.colour.data());
        const OrvVector4 position{spot.x, 60, 0, 1};
        light->setPosition(&position);
        // The markers move the model-view matrix between the lights, so
        // each light must load the view again to land where it should.
        light->setFlag(ORV_FLAG_DRAW, 1);
        scene->addObject(light);
    }

    const OrvPicture picture = drawFrame(scene);
    picture.keep("scene_three_lights");
    auto expectAt = [&](float x, std::array<int, 3> rgb, const std::string& what) {
        expectColour(picture, windowPixel(x, 0, 0), rgb, 6, what);
    };
    expectAt(-100, {255, 0, 0}, "below the red light");
    expectAt(0, {0, 255, 0}, "below the green light");
    expectAt(100, {0, 0, 255}, "below the blue light");
    expectAt(-50, {0, 0, 0}, "between red and green");
    expectAt(50, {0, 0, 0}, "between green and blue");
    for (int unit = 0; unit < 3; ++unit) {
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + unit)) << unit;
    }
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
}
