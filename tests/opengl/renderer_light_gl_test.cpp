#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "orv_gl_test.h"
#include "render/orv_light_data.h"

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class RendererLightTest : public OrvEngineGlTest {
  protected:
    void SetUp() override {
        OrvEngineGlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // Light positions pass through the modelview matrix; keep them as given.
        renderer->loadModelViewMatrix(kIdentity);
    }

    static OrvLightData makeLight(int type) {
        OrvLightData light = {};
        light.setDefaults();
        light.type = type;
        return light;
    }
};

TEST_F(RendererLightTest, LightsTakeTheLowestFreeUnitAndGiveItBack) {
    ASSERT_EQ(renderer->lightCount(), 8) << "the cases below assume Mesa's eight lights";
    std::vector<OrvLightData> lights(9, makeLight(OrvLightData::POINT));
    for (int i = 0; i < 8; ++i) {
        renderer->enableLight(&lights[i]);
        EXPECT_EQ(lights[i].unit, i);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i)) << i;
    }

    OrvLightData& ninth = lights[8];
    ninth.diffuse[0] = 0.5f;
    renderer->enableLight(&ninth);
    renderer->setLightColors(&ninth);
    renderer->setLightPosition(&ninth);
    EXPECT_EQ(ninth.unit, -1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lightValues(GL_LIGHT0 + i, GL_DIFFUSE, 1)[0], i == 0 ? 1.0f : 0.0f) << i;
    }

    renderer->disableLight(&lights[3]);
    EXPECT_EQ(lights[3].unit, -1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    // Unit 3 is free again: the light waiting for one gets it.
    renderer->enableLight(&ninth);
    EXPECT_EQ(ninth.unit, 3);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));

    // A light without a unit, and a unit this renderer never handed out, are
    // left alone.
    OrvLightData stranger = makeLight(OrvLightData::POINT);
    renderer->disableLight(&stranger);
    stranger.unit = 12;
    renderer->disableLight(&stranger);
    renderer->enableLight(&stranger);
    renderer->enableLight(nullptr);
    EXPECT_EQ(stranger.unit, 12);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RendererLightTest, SpotCutoffsAreSentOnlyBetweenZeroAndNinety) {
    struct Case {
        int type;
        float cutoff;
        float sent;
    };
    // The unit starts each case with a cutoff of 45.
    const Case cases[] = {
        {OrvLightData::SPOT, 90.0f, 90.0f},         {OrvLightData::SPOT, 0.0f, 0.0f},
        {OrvLightData::SPOT, 30.0f, 30.0f},         {OrvLightData::SPOT, 90.5f, 45.0f},
        {OrvLightData::SPOT, -1.0f, 45.0f},         {OrvLightData::POINT, 30.0f, 180.0f},
        {OrvLightData::DIRECTIONAL, 30.0f, 180.0f},
    };
    for (const Case& c : cases) {
        OrvLightData light = makeLight(c.type);
        light.spotCutoff = c.cutoff;
        light.position[0] = 7.0f;
        light.direction[1] = 0.5f;
        renderer->enableLight(&light);
        glLightf(GL_LIGHT0 + light.unit, GL_SPOT_CUTOFF, 45.0f);
        // Changed behind the renderer, so its state cache must forget.
        renderer->invalidateStateCache();
        renderer->setLightPosition(&light);

        const GLenum unit = GL_LIGHT0 + light.unit;
        EXPECT_EQ(lightValues(unit, GL_SPOT_CUTOFF, 1)[0], c.sent) << c.type << " " << c.cutoff;
        const float* position =
            c.type == OrvLightData::DIRECTIONAL ? light.direction : light.position;
        EXPECT_EQ(lightValues(unit, GL_POSITION, 4), std::vector<float>(position, position + 4))
            << c.type << " " << c.cutoff;
        if (c.type == OrvLightData::SPOT) {
            EXPECT_EQ(lightValues(unit, GL_SPOT_DIRECTION, 3),
                      std::vector<float>(light.direction, light.direction + 3))
                << c.cutoff;
        }
        renderer->disableLight(&light);
    }
}

TEST_F(RendererLightTest, ColoursForEveryLightAttenuationOnlyForPointAndSpot) {
    struct Case {
        int type;
        bool attenuated;
    };
    const Case cases[] = {{OrvLightData::POINT, true},
                          {OrvLightData::SPOT, true},
                          {OrvLightData::DIRECTIONAL, false},
                          {7, false}};
    for (const Case& c : cases) {
        OrvLightData light = makeLight(c.type);
        light.ambient[1] = 0.3f;
        light.specular[2] = 0.4f;
        light.constantAttenuation = 2.0f;
        light.linearAttenuation = 0.5f;
        light.quadraticAttenuation = 0.25f;
        renderer->enableLight(&light);
        const GLenum unit = GL_LIGHT0 + light.unit;
        glLightf(unit, GL_CONSTANT_ATTENUATION, 9.0f);
        glLightf(unit, GL_LINEAR_ATTENUATION, 9.0f);
        glLightf(unit, GL_QUADRATIC_ATTENUATION, 9.0f);
        renderer->invalidateStateCache();
        renderer->setLightColors(&light);

        EXPECT_EQ(lightValues(unit, GL_AMBIENT, 4),
                  std::vector<float>(light.ambient, light.ambient + 4));
        EXPECT_EQ(lightValues(unit, GL_DIFFUSE, 4),
                  std::vector<float>(light.diffuse, light.diffuse + 4));
        EXPECT_EQ(lightValues(unit, GL_SPECULAR, 4),
                  std::vector<float>(light.specular, light.specular + 4));
        const std::vector<float> attenuation = {lightValues(unit, GL_CONSTANT_ATTENUATION, 1)[0],
                                                lightValues(unit, GL_LINEAR_ATTENUATION, 1)[0],
                                                lightValues(unit, GL_QUADRATIC_ATTENUATION, 1)[0]};
        const std::vector<float> expected =
            c.attenuated ? std::vector<float>{2.0f, 0.5f, 0.25f} : std::vector<float>{9, 9, 9};
        EXPECT_EQ(attenuation, expected) << c.type;
        renderer->disableLight(&light);
    }
}

TEST_F(RendererLightTest, MaterialColoursGoToBothFaces) {
    float block[17];
    for (int i = 0; i < 17; ++i) {
        block[i] = 0.05f * static_cast<float>(i);
    }
    renderer->applyMaterial(block);
    renderer->applyMaterial(nullptr);
    const GLenum names[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        for (int n = 0; n < 4; ++n) {
            float value[4];
            glGetMaterialfv(face, names[n], value);
            for (int i = 0; i < 4; ++i) {
                EXPECT_FLOAT_EQ(value[i], block[4 * n + i]) << face << " " << n << " " << i;
            }
        }
        float shininess = 0.0f;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_FLOAT_EQ(shininess, block[16]);
    }
}

}  // namespace
