// The value types: defaults and the bounds of the line's setters.
#include <gtest/gtest.h>

#include "core/orv_math.h"
#include "orv_expect_vector.h"

TEST(OrvMath, DefaultsAndIdentity) {
    expectVector(OrvVector4(), 0, 0, 0, 1);
    OrvVector4 v;
    expectVector(v.set(1, 2, 3, 0), 1, 2, 3, 0);

    OrvMatrix4 matrix;
    for (float element : matrix.m) {
        EXPECT_EQ(element, 0.0f);
    }
    matrix.m[12] = 7.0f;
    matrix.setIdentity();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(matrix.m[i], (i == 0 || i == 5 || i == 10 || i == 15) ? 1.0f : 0.0f) << i;
    }

    const float expected[16] = {-10, -10, 0, 1, 10, 10, 0, 1, 1, 1, 0, 1, 0, 0, 1, 1};
    OrvLine line;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(line.data()[i], expected[i]) << i;
    }
}

TEST(OrvMath, LineSettersIgnoreBadIndexAndNull) {
    const OrvVector4 v{5, 6, 7, 1};
    struct Case {
        int index;
        const OrvVector4* vector;
        bool changes;
    };
    const Case cases[] = {
        {0, &v, true}, {1, &v, true}, {2, &v, false}, {-1, &v, false}, {0, nullptr, false}};
    for (const Case& c : cases) {
        OrvLine line;
        const OrvLine before;
        line.setPoint(c.index, c.vector);
        line.setColor(c.index, c.vector);
        for (int i = 0; i < 2; ++i) {
            const bool written = c.changes && i == c.index;
            const OrvVector4& point = written ? v : before.points[i];
            const OrvVector4& color = written ? v : before.colors[i];
            expectVector(line.points[i], point.x, point.y, point.z, point.w);
            expectVector(line.colors[i], color.x, color.y, color.z, color.w);
        }
    }
}
