// Test helper: expects each component of a vector to equal the given value.
#pragma once

#include <gtest/gtest.h>

#include "core/orv_math.h"

inline void expectVector(const OrvVector4& v, float x, float y, float z, float w) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, w);
}
