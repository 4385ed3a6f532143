// The defaults of a new light: a white point light at (0, 200, 200) with a dim
// ambient term and no attenuation.
#include "render/orv_light_data.h"

namespace {
void copy4(float* to, float a, float b, float c, float d) {
    to[0] = a;
    to[1] = b;
    to[2] = c;
    to[3] = d;
}
}  // namespace

void OrvLightData::setDefaults() {
    unit = kNoUnit;
    copy4(position, 0.0f, 200.0f, 200.0f, 1.0f);
    copy4(diffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    copy4(ambient, 0.2f, 0.2f, 0.2f, 1.0f);
    copy4(specular, 1.0f, 1.0f, 1.0f, 1.0f);
    type = POINT;
    copy4(direction, 0.0f, 0.0f, -1.0f, 0.0f);
    constantAttenuation = 1.0f;
    linearAttenuation = 0.0f;
    quadraticAttenuation = 0.0f;
    spotCutoff = 30.0f;
}
