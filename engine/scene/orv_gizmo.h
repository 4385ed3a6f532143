/// @file
/// OrvGizmo, the plainest scene object.
#pragma once

#include "scene/orv_scene_object.h"

/// The plainest scene object, a position and nothing else. Its only visible
/// form is the local axes every scene object can draw. Each scene has one as its
/// root; applications may place more as markers.
class OrvGizmo : public OrvSceneObject {
  public:
    /// Records ORV_KIND_GIZMO; sets no flag and keeps the name "node_<id>".
    OrvGizmo();

    int getTypeId() const override { return ORV_KIND_GIZMO; }
    const char* getTypeName() const override { return ORV_NODE_GIZMO; }
    void reset() override {}
    void release() override {}
    void apply() override {}
};
