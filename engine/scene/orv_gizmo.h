// OrvGizmo: the plainest scene object, a position and nothing else. Its only
// visible form is the local axes every scene object can draw. Each scene has
// one as its root; applications may place more as markers.
#pragma once

#include "scene/orv_scene_object.h"

class OrvGizmo : public OrvSceneObject {
  public:
    OrvGizmo();

    int getTypeId() const override { return ORV_KIND_GIZMO; }
    const char* getTypeName() const override { return ORV_NODE_GIZMO; }
    void reset() override {}
    void release() override {}
    void apply() override {}
};
