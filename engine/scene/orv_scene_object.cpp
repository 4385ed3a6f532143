#include "scene/orv_scene_object.h"

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_render_state.h"
#include "render/orv_renderer.h"

namespace {

// The renderer capabilities the axes switch off, so that the lines show in
// their own colours over everything; the OpenGL renderer ignores the two
// reserved ones. They stay off, because the next object's render state
// switches them again.
constexpr int kAxesDisabledCapabilities[] = {OrvRenderer::RESERVED_CAPABILITY,
                                             OrvRenderer::RESERVED_CAPABILITY_5,
                                             OrvRenderer::LIGHTING, OrvRenderer::DEPTH_TEST};

}  // namespace

OrvSceneObject::OrvSceneObject() : renderState(nullptr) {
    addKind(ORV_KIND_SCENE_OBJECT);
    renderState = ORV_NEW OrvRenderState();
    if (renderState == nullptr) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvSceneObject::OrvSceneObject(): node [%d] has no render state.",
            getId());
        return;
    }
    renderState->addMaterial(ORV_DEFAULT_MATERIAL_NAME);
}

OrvSceneObject::~OrvSceneObject() {
    if (renderState != nullptr) {
        ORV_DELETE(renderState);
        renderState = nullptr;
    }
}

void OrvSceneObject::update(float) {
    transform.update();
}

void OrvSceneObject::render(float) {
    if (getFlag(ORV_FLAG_DRAW_AXES) == 1) {
        drawAxes();
    }
}

void OrvSceneObject::setPosition(const OrvVector4* v) {
    if (v == nullptr) {
        return;
    }
    transform.localPosition = *v;
    transform.markDirty();
    setFlag(ORV_FLAG_POSITION_CHANGED, 1);
}

void OrvSceneObject::forgetMaterial(OrvMaterial* material) {
    if (renderState != nullptr && renderState->hasMaterial(material) == 1) {
        renderState->removeMaterial(material);
        setFlag(ORV_FLAG_MATERIALS_DIRTY, 1);
    }
}

void OrvSceneObject::loadObjectMatrix(OrvRenderer* renderer) {
    renderer->loadViewMatrix();
    transform.update();
    renderer->multMatrix(transform.matrix.m);
}

void OrvSceneObject::drawAxes() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr) {
        return;
    }
    loadObjectMatrix(renderer);
    for (int capability : kAxesDisabledCapabilities) {
        renderer->disable(capability);
    }
    const OrvVector4 origin;
    const OrvVector4 ends[3] = {{kAxisLength, 0.0f, 0.0f, 1.0f},
                                {0.0f, kAxisLength, 0.0f, 1.0f},
                                {0.0f, 0.0f, kAxisLength, 1.0f}};
    const OrvVector4 axisColors[3] = {
        {1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f}};
    for (int axis = 0; axis < 3; ++axis) {
        OrvLine line;
        line.setPoint(0, &origin);
        line.setPoint(1, &ends[axis]);
        line.setColor(0, &axisColors[axis]);
        line.setColor(1, &axisColors[axis]);
        renderer->drawLine(line.data());
    }
}
