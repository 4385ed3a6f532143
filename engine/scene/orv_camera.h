/// @file
/// OrvCamera, the scene object that sets the viewport, projection and view.
#pragma once

#include <cstdint>

#include "scene/orv_scene_object.h"

/// The scene object that sets the renderer's viewport, perspective projection
/// and view before a scene is drawn. It keeps its parameters and sends only the
/// groups that changed since its last apply, using flags 9 (viewport), 10
/// (projection) and 11 (view) as change marks. A scene applies only its first
/// camera and never renders one.
class OrvCamera : public OrvSceneObject {
  public:
    /// Names the camera "camera_<id>" and marks all three groups changed, so the
    /// first apply sends them all: viewport (0, 0, 0, 1), a 60-degree
    /// perspective with aspect 1.333 from 1 to 1000, and the view from
    /// (0, 10, 20) at the origin with y up. Flag 4 (draw) starts at 0.
    OrvCamera();

    int getTypeId() const override { return ORV_KIND_CAMERA; }
    const char* getTypeName() const override { return ORV_NODE_CAMERA; }
    void reset() override {}
    void release() override {}
    /// Sends each group marked changed (viewport, projection, view) to the
    /// renderer and clears its mark; a second apply without a setter between
    /// sends nothing. Nothing without a renderer.
    void apply() override;
    /// Only clears flag 1 (moved); the transform is not rebuilt here, since
    /// nothing but the camera's axes reads it.
    void update(float dt) override;

    /// The rectangle drawn into, in pixels from the bottom-left corner of the
    /// window; sent at the next apply. The renderer refuses a negative size.
    /// A new camera's viewport is 0 wide: call this before the first frame.
    void setViewport(int x, int y, int width, int height);
    /// The vertical field of view in degrees, the width-to-height aspect, and
    /// the near and far clipping distances (0 < near < far; nothing checks
    /// them); sent at the next apply.
    void setPerspective(float newFovY, float newAspect, float newZNear, float newZFar);
    /// A null argument keeps that value. A given eye also becomes the object's
    /// position, since the camera's transform follows its eye. Sent at the next
    /// apply.
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
