#include "scene/orv_camera.h"

#include "render/orv_renderer.h"

OrvCamera::OrvCamera() {
    addKind(ORV_KIND_CAMERA);
    // A new camera has every group marked changed, so its first apply sends
    // all three.
    setFlag(ORV_FLAG_INITIALISED, 1);
    setFlag(ORV_FLAG_MOVED, 1);
    setFlag(ORV_FLAG_DRAW, 0);
    setFlag(ORV_FLAG_VIEWPORT_CHANGED, 1);
    setFlag(ORV_FLAG_PROJECTION_CHANGED, 1);
    setFlag(ORV_FLAG_VIEW_CHANGED, 1);
    setDefaultName("camera");
}

void OrvCamera::apply() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr) {
        return;
    }
    if (getFlag(ORV_FLAG_VIEWPORT_CHANGED) == 1) {
        renderer->setViewport(viewportX, viewportY, viewportWidth, viewportHeight);
        setFlag(ORV_FLAG_VIEWPORT_CHANGED, 0);
    }
    if (getFlag(ORV_FLAG_PROJECTION_CHANGED) == 1) {
        renderer->setPerspective(fovY, aspect, zNear, zFar);
        setFlag(ORV_FLAG_PROJECTION_CHANGED, 0);
    }
    if (getFlag(ORV_FLAG_VIEW_CHANGED) == 1) {
        renderer->lookAt(eye.data(), center.data(), up.data());
        setFlag(ORV_FLAG_VIEW_CHANGED, 0);
    }
}

// The camera's transform is not rebuilt here: nothing draws it but its axes,
// which rebuild it themselves.
void OrvCamera::update(float) {
    setFlag(ORV_FLAG_MOVED, 0);
}

void OrvCamera::setViewport(int x, int y, int width, int height) {
    viewportX = x;
    viewportY = y;
    viewportWidth = width;
    viewportHeight = height;
    setFlag(ORV_FLAG_VIEWPORT_CHANGED, 1);
}

void OrvCamera::setPerspective(float newFovY, float newAspect, float newZNear, float newZFar) {
    fovY = newFovY;
    aspect = newAspect;
    zNear = newZNear;
    zFar = newZFar;
    setFlag(ORV_FLAG_PROJECTION_CHANGED, 1);
}

void OrvCamera::setLookAt(const OrvVector4* newEye, const OrvVector4* newCenter,
                          const OrvVector4* newUp) {
    if (newEye != nullptr) {
        eye = *newEye;
        transform.localPosition = *newEye;
        transform.markDirty();
    }
    if (newCenter != nullptr) {
        center = *newCenter;
    }
    if (newUp != nullptr) {
        up = *newUp;
    }
    setFlag(ORV_FLAG_VIEW_CHANGED, 1);
}
