// OrvCamera: the scene object that sets the renderer's viewport, perspective
// projection and view before a scene is drawn. It keeps its parameters and
// sends only the groups that changed since its last apply, using flags 9
// (viewport), 10 (projection) and 11 (view) as change marks.
#pragma once

#include <cstdint>

#include "scene/orv_scene_object.h"

class OrvCamera : public OrvSceneObject {
  public:
    OrvCamera();

    int getTypeId() const override { return ORV_KIND_CAMERA; }
    const char* getTypeName() const override { return ORV_NODE_CAMERA; }
    void reset() override {}
    void release() override {}
    void apply() override;
    void update(float dt) override;

    void setViewport(int x, int y, int width, int height);
    void setPerspective(float newFovY, float newAspect, float newZNear, float newZFar);
    // A null argument keeps that value. A given eye also becomes the object's
    // position, since the camera's transform follows its eye.
    void setLookAt(const OrvVector4* newEye, const OrvVector4* newCenter, const OrvVector4* newUp);

  private:
    OrvVector4 eye{0.0f, 10.0f, 20.0f, 1.0f};
    OrvVector4 center{0.0f, 0.0f, 0.0f, 1.0f};
    OrvVector4 up{0.0f, 1.0f, 0.0f, 1.0f};
    float fovY = 60.0f;
    // The engine's literal default, deliberately not 4/3.
    float aspect = 1.333f;
    float zNear = 1.0f;
    float zFar = 1000.0f;
    int32_t viewportX = 0;
    int32_t viewportY = 0;
    int32_t viewportWidth = 0;
    int32_t viewportHeight = 1;
};
