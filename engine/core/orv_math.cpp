#include "core/orv_math.h"

OrvVector4& OrvVector4::set(float newX, float newY, float newZ, float newW) {
    x = newX;
    y = newY;
    z = newZ;
    w = newW;
    return *this;
}

void OrvMatrix4::setIdentity() {
    for (int i = 0; i < 16; ++i) {
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

void OrvLine::setPoint(int index, const OrvVector4* v) {
    if (v == nullptr || index < 0 || index > 1) {
        return;
    }
    points[index] = *v;
}

void OrvLine::setColor(int index, const OrvVector4* color) {
    if (color == nullptr || index < 0 || index > 1) {
        return;
    }
    colors[index] = *color;
}
