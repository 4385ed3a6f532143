// The scene object transform: the lazy rebuild and the world position
// through a parent chain.
#include <gtest/gtest.h>

#include "core/orv_math.h"
#include "orv_expect_vector.h"
#include "scene/orv_scene_object_transform.h"

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
