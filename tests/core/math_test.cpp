// The value types and the transform: defaults, the bounds of the line's
// setters, the world position through a parent chain and the lazy rebuild.
#include <gtest/gtest.h>

#include "core/orv_math.h"
#include "scene/orv_scene_object_transform.h"

namespace {

void expectVector(const OrvVector4& v, float x, float y, float z, float w) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, w);
}

}  // namespace

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

TEST(OrvSceneObjectTransform, RebuildsOnlyWhenDirty) {
    OrvSceneObjectTransform transform;
    EXPECT_TRUE(transform.isDirty());
    EXPECT_EQ(transform.matrix.m[15], 0.0f);

    transform.localPosition.set(1, 50, -3, 1);
    transform.update();
    EXPECT_FALSE(transform.isDirty());
    OrvMatrix4 expected;
    expected.setIdentity();
    expected.m[12] = 1;
    expected.m[13] = 50;
    expected.m[14] = -3;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(transform.matrix.m[i], expected.m[i]) << i;
    }

    // A clean transform keeps its matrix even when its position is changed
    // behind its back; only marking it makes the next update take it up.
    transform.localPosition.set(9, 9, 9, 1);
    transform.update();
    EXPECT_EQ(transform.matrix.m[12], 1.0f);
    transform.markDirty();
    transform.update();
    EXPECT_EQ(transform.matrix.m[12], 9.0f);
}

TEST(OrvSceneObjectTransform, WorldPositionAddsTheParentChain) {
    OrvSceneObjectTransform grandParent;
    OrvSceneObjectTransform parent;
    OrvSceneObjectTransform child;
    grandParent.localPosition.set(100, 0, 0, 0);
    parent.localPosition.set(10, 20, 0, 0);
    child.localPosition.set(1, 2, 3, 1);
    parent.parent = &grandParent;
    child.parent = &parent;

    expectVector(child.computeWorldPosition(), 111, 22, 3, 1);
    // The computation neither needs nor clears the dirty bit.
    EXPECT_TRUE(child.isDirty());
    child.update();
    EXPECT_EQ(child.matrix.m[12], 111.0f);
    EXPECT_EQ(child.matrix.m[13], 22.0f);
    EXPECT_EQ(child.matrix.m[14], 3.0f);
}
