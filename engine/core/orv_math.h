/// @file
/// The small float value types the scene graph hands to the renderer: a point
/// or colour, a column-major matrix as OpenGL loads it, and a line segment
/// with a colour at each end. Plain values, copied freely.
#pragma once

/// A point (w 1) or an RGBA colour (x, y, z, w as red, green, blue, alpha).
struct OrvVector4 {
    /// The components; a new vector is the origin point (0, 0, 0, 1).
    ///@{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
    ///@}

    /// Sets all four components; returns this vector.
    OrvVector4& set(float newX, float newY, float newZ, float newW);
    /// The four components as the float array the renderer reads.
    const float* data() const { return &x; }
};

/// A 4x4 float matrix in the order OpenGL loads it.
struct OrvMatrix4 {
    /// Column-major: the diagonal is m[0], m[5], m[10], m[15] and the
    /// translation m[12], m[13], m[14]. All zero in a new matrix.
    float m[16] = {};

    /// Makes it the identity: 1 on the diagonal, 0 elsewhere.
    void setIdentity();
};

/// A line segment with a colour at each end, as drawLine takes it. A new line
/// runs from (-10, -10, 0), yellow, to (10, 10, 0), blue.
struct OrvLine {
    /// The two end points.
    OrvVector4 points[2] = {{-10.0f, -10.0f, 0.0f, 1.0f}, {10.0f, 10.0f, 0.0f, 1.0f}};
    /// The colour at each end point.
    OrvVector4 colors[2] = {{1.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f}};

    /// Copy the vector into the end point or colour at the index.
    /// Both ignore a null vector and any index but 0 and 1.
    ///@{
    void setPoint(int index, const OrvVector4* v);
    void setColor(int index, const OrvVector4* color);
    ///@}
    /// Point 0, point 1, colour 0, colour 1: the 16 floats drawLine takes.
    const float* data() const { return points[0].data(); }
};

// The renderer reads these as bare float arrays, so no padding may creep in.
static_assert(sizeof(OrvVector4) == 4 * sizeof(float), "OrvVector4 must be four packed floats");
static_assert(sizeof(OrvMatrix4) == 16 * sizeof(float), "OrvMatrix4 must be 16 packed floats");
static_assert(sizeof(OrvLine) == 16 * sizeof(float), "OrvLine must be 16 packed floats");
