// The light node against the recording renderer: what its first frames send,
// the marker point, the setters and the name it shares with its record.
#include <cmath>
#include <cstring>
#include <functional>

#include "orv_create_node.h"
#include "orv_engine_test.h"
#include "orvane.h"

namespace {

using LightTest = OrvEngineTest;

std::vector<float> vec(const float* values, int count = 4) {
    return std::vector<float>(values, values + count);
}

std::string lightLine(const std::string& name, const std::string& light) {
    return name + "(" + light + ")";
}

}  // namespace

TEST_F(LightTest, NewLightHoldsTheDefaults) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(std::string(light->getName()), "light_" + std::to_string(light->getId()));
    EXPECT_STREQ(light->getLightData()->name, light->getName());
    EXPECT_EQ(light->getTypeId(), ORV_KIND_LIGHT);
    EXPECT_STREQ(light->getTypeName(), ORV_NODE_LIGHT);
    for (int kind : {ORV_KIND_NODE, ORV_KIND_SCENE_OBJECT, ORV_KIND_LIGHT}) {
        EXPECT_EQ(light->isKindOf(kind), 1) << kind;
    }
    const std::vector<int> flags = {light->getFlag(0), light->getFlag(1), light->getFlag(3),
                                    light->getFlag(4)};
    EXPECT_EQ(flags, (std::vector<int>{1, 1, 1, 0}));

    const OrvLightData* data = light->getLightData();
    EXPECT_EQ(data->unit, -1);
    EXPECT_EQ(vec(data->ambient), (std::vector<float>{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(vec(data->diffuse), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(vec(data->specular), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(data->type, OrvLightData::POINT);
    EXPECT_EQ(vec(data->direction), (std::vector<float>{0, 0, -1, 0}));
    EXPECT_EQ(data->spotCutoff, 30.0f);
    const OrvVector4* position = light->getPosition();
    EXPECT_EQ(vec(position->data()), (std::vector<float>{0, 200, 200, 1}));
}

TEST_F(LightTest, EveryFrameEnablesAndPlacesTheLight) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, "sun");
    const OrvVector4 where{5, 6, 7, 1};
    light->setPosition(&where);
    recorder.clear();

    const std::vector<std::string> frame = {lightLine("enableLight", "sun"),
                                            lightLine("setLightColors", "sun"), "loadViewMatrix()",
                                            lightLine("setLightPosition", "sun")};
    for (int i = 0; i < 2; ++i) {
        light->update(0.016f);
        light->apply();
        EXPECT_EQ(recorder.texts(), frame) << "frame " << i;
        EXPECT_EQ(recorder.last("setLightPosition")->record, light->getLightData());
        EXPECT_EQ(light->getFlag(3), 0);
        recorder.clear();
    }
    EXPECT_EQ(vec(light->getLightData()->position), (std::vector<float>{5, 6, 7, 1}));

    // A light whose position no longer follows its transform sends its
    // colours once more only when a setter changed them.
    light->setFlag(1, 0);
    light->update(0.016f);
    light->apply();
    EXPECT_EQ(recorder.texts(),
              (std::vector<std::string>{"loadViewMatrix()", lightLine("setLightPosition", "sun")}));
}

TEST_F(LightTest, MarkerPointInTheDiffuseColour) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
    const OrvVector4 where{10, 20, 30, 1};
    light->setPosition(&where);
    const float red[4] = {1, 0, 0, 1};
    light->setDiffuse(red);
    light->update(0.016f);
    recorder.clear();

    light->render(0.016f);
    EXPECT_TRUE(recorder.calls.empty()) << "flag 4 is 0: no marker";

    light->setFlag(4, 1);
    light->render(0.016f);
    EXPECT_EQ(recorder.names(), (std::vector<std::string>{"loadViewMatrix", "multMatrix",
                                                          "applyRenderStates", "drawPoint"}));
    const std::vector<float>& matrix = recorder.last("multMatrix")->values;
    EXPECT_EQ(std::vector<float>(matrix.begin() + 12, matrix.end()),
              (std::vector<float>{10, 20, 30, 1}));
    EXPECT_EQ(recorder.last("drawPoint")->values,
              (std::vector<float>{0, 0, 0, 1, 1, 0, 0, 1, OrvLight::kMarkerSize}));
}

TEST_F(LightTest, SettersChangeTheRecordAndMarkIt) {
    struct Case {
        const char* what;
        std::function<void(OrvLight*)> set;
        std::function<std::vector<float>(const OrvLightData*)> read;
        std::vector<float> expected;
    };
    const float color[4] = {0.25f, 0.5f, 0.75f, 1};
    const std::vector<Case> cases = {
        {"type",
         [](OrvLight* l) { l->setLightType(OrvLightData::SPOT); },
         [](const OrvLightData* d) { return std::vector<float>{float(d->type)}; },
         {2}},
        {"ambient", [&](OrvLight* l) { l->setAmbient(color); },
         [](const OrvLightData* d) { return vec(d->ambient); }, vec(color)},
        {"diffuse", [&](OrvLight* l) { l->setDiffuse(color); },
         [](const OrvLightData* d) { return vec(d->diffuse); }, vec(color)},
        {"specular", [&](OrvLight* l) { l->setSpecular(color); },
         [](const OrvLightData* d) { return vec(d->specular); }, vec(color)},
        {"direction",
         [](OrvLight* l) { l->setDirection(1, -2, 3); },
         [](const OrvLightData* d) { return vec(d->direction); },
         {1, -2, 3, 0}},
        {"attenuation",
         [](OrvLight* l) { l->setAttenuation(0.5f, 0.25f, 0); },
         [](const OrvLightData* d) {
             return std::vector<float>{d->constantAttenuation, d->linearAttenuation,
                                       d->quadraticAttenuation};
         },
         {0.5f, 0.25f, 0}},
        {"cutoff 0",
         [](OrvLight* l) { l->setSpotCutoff(0); },
         [](const OrvLightData* d) { return std::vector<float>{d->spotCutoff}; },
         {0}},
        {"cutoff 90",
         [](OrvLight* l) { l->setSpotCutoff(90); },
         [](const OrvLightData* d) { return std::vector<float>{d->spotCutoff}; },
         {90}},
    };
    for (const Case& c : cases) {
        OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT);
        light->apply();
        ASSERT_EQ(light->getFlag(3), 0);
        c.set(light);
        EXPECT_EQ(light->getFlag(3), 1) << c.what;
        EXPECT_EQ(c.read(light->getLightData()), c.expected) << c.what;
    }
    EXPECT_EQ(createNode<OrvLight>(ORV_NODE_LIGHT)->getLightType(), OrvLightData::POINT);
}

TEST_F(LightTest, BadValuesAreRefused) {
    struct Case {
        std::function<void(OrvLight*)> set;
        std::string warning;
    };
    const std::vector<Case> cases = {
        {[](OrvLight* l) { l->setSpotCutoff(90.5f); },
         "OrvLight::setSpotCutoff(): light [bad]: cutoff 90.5 outside 0 to 90 refused."},
        {[](OrvLight* l) { l->setSpotCutoff(-1); },
         "OrvLight::setSpotCutoff(): light [bad]: cutoff -1 outside 0 to 90 refused."},
        {[](OrvLight* l) { l->setSpotCutoff(NAN); },
         "OrvLight::setSpotCutoff(): light [bad]: cutoff nan outside 0 to 90 refused."},
        {[](OrvLight* l) { l->setAttenuation(1, -0.5f, 0); },
         "OrvLight::setAttenuation(): light [bad]: negative factor (1, -0.5, 0) refused."},
        {[](OrvLight* l) { l->setAmbient(nullptr); }, ""},
        {[](OrvLight* l) { l->setDiffuse(nullptr); }, ""},
        {[](OrvLight* l) { l->setSpecular(nullptr); }, ""},
    };
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, "bad");
    light->apply();
    const OrvLightData before = *light->getLightData();
    for (const Case& c : cases) {
        const size_t lines = log.messages().size();
        c.set(light);
        EXPECT_EQ(light->getFlag(3), 0) << c.warning;
        EXPECT_EQ(memcmp(&before, light->getLightData(), sizeof(before)), 0) << c.warning;
        const std::vector<std::string> messages = log.messages();
        if (c.warning.empty()) {
            EXPECT_EQ(messages.size(), lines);
        } else {
            ASSERT_EQ(messages.size(), lines + 1);
            EXPECT_EQ(messages.back(), c.warning);
            const std::string text = log.text();
            const size_t lastLine = text.rfind('\n', text.size() - 2) + 1;
            EXPECT_EQ(text.compare(lastLine, 13, "<!>[WARNING]#"), 0);
        }
    }
}

TEST_F(LightTest, NameReachesTheRecord) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, "light1");
    EXPECT_STREQ(light->getName(), "light1");
    EXPECT_STREQ(light->getLightData()->name, "light1");

    const std::string longName(200, 'l');
    light->setName(longName.c_str());
    light->setName(nullptr);
    EXPECT_EQ(light->getLightData()->name, longName.substr(0, 127));
    EXPECT_EQ(light->getName(), longName.substr(0, 127));
}

TEST_F(LightTest, ResetRestoresTheDefaults) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, "lamp");
    const float green[4] = {0, 1, 0, 1};
    light->setDiffuse(green);
    light->setLightType(OrvLightData::DIRECTIONAL);
    light->setSpotCutoff(10);
    const OrvVector4 where{1, 2, 3, 1};
    light->setPosition(&where);
    light->update(0.016f);
    light->apply();

    light->reset();
    EXPECT_EQ(light->getFlag(3), 1);
    light->update(0.016f);
    const OrvLightData* data = light->getLightData();
    EXPECT_EQ(vec(data->diffuse), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(data->type, OrvLightData::POINT);
    EXPECT_EQ(data->spotCutoff, 30.0f);
    EXPECT_EQ(vec(data->position), (std::vector<float>{0, 200, 200, 1}));
    EXPECT_STREQ(data->name, "lamp");
}
