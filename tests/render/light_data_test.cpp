#include <cstdio>

#include <gtest/gtest.h>

#include "render/orv_light_data.h"

namespace {

TEST(LightData, DefaultsAreAWhitePointLightAboveTheOrigin) {
    OrvLightData light = {};
    std::snprintf(light.name, sizeof(light.name), "%s", "lamp");
    light.unit = 5;
    light.type = OrvLightData::SPOT;
    light.setDefaults();

    EXPECT_EQ(light.unit, -1);
    EXPECT_EQ(light.type, OrvLightData::POINT);
    const float expected[][4] = {
        {0, 200, 200, 1}, {1, 1, 1, 1}, {0.2f, 0.2f, 0.2f, 1}, {1, 1, 1, 1}, {0, 0, -1, 0}};
    const float* fields[] = {light.position, light.diffuse, light.ambient, light.specular,
                             light.direction};
    for (int f = 0; f < 5; ++f) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(fields[f][i], expected[f][i]) << "field " << f << " component " << i;
        }
    }
    EXPECT_FLOAT_EQ(light.constantAttenuation, 1.0f);
    EXPECT_FLOAT_EQ(light.linearAttenuation, 0.0f);
    EXPECT_FLOAT_EQ(light.quadraticAttenuation, 0.0f);
    EXPECT_FLOAT_EQ(light.spotCutoff, 30.0f);
    // The name belongs to the node that owns the record.
    EXPECT_STREQ(light.name, "lamp");
}

}  // namespace
