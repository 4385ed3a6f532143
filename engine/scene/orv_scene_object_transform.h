/// @file
/// OrvSceneObjectTransform, where a scene object stands.
#pragma once

#include <cstdint>

#include "core/orv_math.h"

/// Where a scene object stands. It places the object by a position only,
/// optionally relative to a parent transform it does not own, and keeps the
/// world matrix the renderer multiplies in. The matrix is rebuilt lazily: only a
/// change of this transform's own position marks it.
class OrvSceneObjectTransform {
  public:
    /// The bit of flags that asks for the matrix to be rebuilt.
    static constexpr int32_t kDirty = 1;

    /// Dirty, at the origin, without a parent, with an all-zero matrix.
    OrvSceneObjectTransform() = default;
    virtual ~OrvSceneObjectTransform() = default;  ///< Leaves the parent alone.

    /// The dirty bit: set at construction and by markDirty, cleared by update.
    /// Whoever writes localPosition or parent directly marks the transform;
    /// moving the parent does not mark its children.
    ///@{
    bool isDirty() const { return (flags & kDirty) != 0; }
    void markDirty() { flags |= kDirty; }
    ///@}

    /// Local position plus the parent chain's world x, y and z, with the local
    /// w; stored in worldPosition and returned. Neither tests nor clears the
    /// dirty bit.
    const OrvVector4& computeWorldPosition();
    /// Rebuilds the matrix from the world position when dirty, else keeps it.
    void update();

    int32_t flags = kDirty;  ///< Bit field; only kDirty is used.
    /// Not owned; null places the object in world space.
    OrvSceneObjectTransform* parent = nullptr;
    /// The world matrix: the identity with the world position as translation
    /// (m[12], m[13], m[14]). All zero until the first rebuild.
    OrvMatrix4 matrix;
    OrvVector4 localPosition;  ///< Relative to the parent; (0, 0, 0, 1) at first.
    /// The world position as the last computeWorldPosition left it.
    OrvVector4 worldPosition;
};
