// The small float value types the scene graph hands to the renderer: a point
// or colour, a column-major matrix as OpenGL loads it, and a line segment
// with a colour at each end. Plain values, copied freely.
#pragma once

struct OrvVector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    OrvVector4& set(float newX, float newY, float newZ, float newW);
    // The four components as the float array the renderer reads.
    const float* data() const { return &x; }
};

struct OrvMatrix4 {
    // Column-major: the diagonal is m[0], m[5], m[10], m[15] and the
    // translation m[12], m[13], m[14].
    float m[16] = {};

    void setIdentity();
};

struct OrvLine {
    OrvVector4 points[2] = {{-10.0f, -10.0f, 0.0f, 1.0f}, {10.0f, 10.0f, 0.0f, 1.0f}};
    OrvVector4 colors[2] = {{1.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f}};

    // Both ignore a null vector and any index but 0 and 1.
    void setPoint(int index, const OrvVector4* v);
    void setColor(int index, const OrvVector4* color);
    // Point 0, point 1, colour 0, colour 1: the 16 floats drawLine takes.
    const float* data() const { return points[0].data(); }
};

// The renderer reads these as bare float arrays, so no padding may creep in.
static_assert(sizeof(OrvVector4) == 4 * sizeof(float), "OrvVector4 must be four packed floats");
static_assert(sizeof(OrvMatrix4) == 16 * sizeof(float), "OrvMatrix4 must be 16 packed floats");
static_assert(sizeof(OrvLine) == 16 * sizeof(float), "OrvLine must be 16 packed floats");
