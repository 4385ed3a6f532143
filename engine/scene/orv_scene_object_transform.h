// OrvSceneObjectTransform: where a scene object stands. It places the object
// by a position only, optionally relative to a parent transform it does not
// own, and keeps the world matrix the renderer multiplies in. The matrix is
// rebuilt lazily: only a change of this transform's own position marks it.
#pragma once

#include <cstdint>

#include "core/orv_math.h"

class OrvSceneObjectTransform {
  public:
    static constexpr int32_t kDirty = 1;

    OrvSceneObjectTransform() = default;
    virtual ~OrvSceneObjectTransform() = default;

    bool isDirty() const { return (flags & kDirty) != 0; }
    void markDirty() { flags |= kDirty; }

    // Local position plus the parent chain's world x, y and z, with the local
    // w; stored in worldPosition and returned. Neither tests nor clears the
    // dirty bit.
    const OrvVector4& computeWorldPosition();
    // Rebuilds the matrix from the world position when dirty, else keeps it.
    void update();

    int32_t flags = kDirty;
    // Not owned; null places the object in world space.
    OrvSceneObjectTransform* parent = nullptr;
    // All zero until the first rebuild.
    OrvMatrix4 matrix;
    OrvVector4 localPosition;
    OrvVector4 worldPosition;
};
