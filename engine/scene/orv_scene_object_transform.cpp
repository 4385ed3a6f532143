#include "scene/orv_scene_object_transform.h"

const OrvVector4& OrvSceneObjectTransform::computeWorldPosition() {
    worldPosition = localPosition;
    if (parent != nullptr) {
        const OrvVector4& parentWorld = parent->computeWorldPosition();
        worldPosition.x += parentWorld.x;
        worldPosition.y += parentWorld.y;
        worldPosition.z += parentWorld.z;
    }
    return worldPosition;
}

void OrvSceneObjectTransform::update() {
    if (!isDirty()) {
        return;
    }
    const OrvVector4& world = computeWorldPosition();
    matrix.setIdentity();
    matrix.m[12] = world.x;
    matrix.m[13] = world.y;
    matrix.m[14] = world.z;
    flags &= ~kDirty;
}
