// OrvLightData: every parameter of one fixed-function OpenGL light, owned by
// the light node and handed whole to the renderer, which writes back only the
// light unit it assigned.
#pragma once

#include <cstdint>

struct OrvLightData {
    static constexpr int kNameSize = 128;
    static constexpr int32_t kNoUnit = -1;

    enum Type { POINT = 0, DIRECTIONAL = 1, SPOT = 2 };

    // Added to GL_LIGHT0; kNoUnit until the renderer assigns one.
    int32_t unit;
    float position[4];
    float diffuse[4];
    float ambient[4];
    float specular[4];
    int32_t type;
    // A directional light's direction (sent as its position, w = 0) and a spot
    // light's axis.
    float direction[4];
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
    // Half-angle of the spot cone in degrees; sent only between 0 and 90.
    float spotCutoff;
    char name[kNameSize];

    // Writes the default white point light above the origin into every field
    // but the name, which belongs to the owning node.
    void setDefaults();
};
