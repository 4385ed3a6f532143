#include "scene/orv_render_state.h"

#include "scene/orv_material_mgr.h"

namespace {

// A state block with its defaults: of what the renderer reads, only culling
// (of back faces) and the depth test are on, and both polygon faces are
// filled; everything else is 0 but the unread first entry.
struct DefaultStates {
    int32_t values[OrvRenderState::kStateCount];
};

constexpr DefaultStates makeDefaultStates() {
    DefaultStates defaults = {};
    defaults.values[OrvRenderer::STATE_UNREAD] = 1;
    defaults.values[OrvRenderer::STATE_FACE_CULLING] = 1;
    defaults.values[OrvRenderer::STATE_DEPTH_TEST] = 1;
    defaults.values[OrvRenderer::STATE_CULL_FACE] = OrvRenderer::BACK;
    defaults.values[OrvRenderer::STATE_BACK_POLYGON_MODE] = OrvRenderer::FILL;
    defaults.values[OrvRenderer::STATE_FRONT_POLYGON_MODE] = OrvRenderer::FILL;
    return defaults;
}

constexpr DefaultStates kDefaultStates = makeDefaultStates();

}  // namespace

OrvRenderState::OrvRenderState() {
    for (int i = 0; i < kStateCount; ++i) {
        states[i] = kDefaultStates.values[i];
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
