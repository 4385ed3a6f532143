#include "scene/orv_render_state.h"

#include "scene/orv_material_mgr.h"
#include "render/orv_renderer.h"

namespace {

// Nothing read by the renderer but culling and the depth test is on, and both
// polygon faces are filled.
constexpr int32_t kDefaultStates[OrvRenderState::kStateCount] = {1, 0, 0, 1, 1, 0, 0,
                                                                 0, 0, 0, 0, 0, 2, 2};

}  // namespace

OrvRenderState::OrvRenderState() {
    for (int i = 0; i < kStateCount; ++i) {
        states[i] = kDefaultStates[i];
    }
}

OrvRenderState::~OrvRenderState() {
    materials.clear();
}

int OrvRenderState::setState(int index, int value) {
    if (index >= 0 && index < kSettableStates) {
        states[index] = value;
    }
    return index;
}

int OrvRenderState::getState(int index) const {
    if (index < 0 || index >= kSettableStates) {
        return 0;
    }
    return states[index];
}

void OrvRenderState::apply() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr) {
        renderer->applyRenderStates(states);
    }
}

void OrvRenderState::clearMaterials() {
    materials.clear();
}

void OrvRenderState::addMaterial(const char* name) {
    addMaterial(OrvMaterialMgr::getInstance()->getMaterial(name));
}

void OrvRenderState::addMaterial(OrvMaterial* material) {
    if (material != nullptr) {
        materials.add(material);
    }
}

void OrvRenderState::removeMaterial(OrvMaterial* material) {
    if (material != nullptr) {
        materials.remove(material);
    }
}

OrvMaterial* OrvRenderState::getMaterial(int index) {
    if (index < 0 || index >= materials.getCount()) {
        return nullptr;
    }
    return static_cast<OrvMaterial*>(materials.first(index)->data);
}

int OrvRenderState::hasMaterial(OrvMaterial* material) {
    for (OrvLinkedListNode* n = materials.first(0); n != nullptr; n = materials.next()) {
        if (n->data == material) {
            return 1;
        }
    }
    return 0;
}
