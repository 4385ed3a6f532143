#include "scene/orv_light.h"

#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_render_state.h"
#include "render/orv_renderer.h"
#include "core/orv_string.h"

namespace {

const OrvVector4 kDefaultPosition{0.0f, 200.0f, 200.0f, 1.0f};

void copyColor(float* to, const float* from) {
    memcpy(to, from, 4 * sizeof(float));
}

}  // namespace

OrvLight::OrvLight() : data(nullptr) {
    addKind(ORV_KIND_LIGHT);
    data = ORV_NEW OrvLightData();
    if (data == nullptr) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvLight::OrvLight(): node [%d] has no light record.", getId());
    } else {
        data->setDefaults();
    }
    reset();
    setFlag(ORV_FLAG_INITIALISED, 1);
    setFlag(ORV_FLAG_MOVED, 1);
    setFlag(ORV_FLAG_PARAMS_CHANGED, 1);
    setFlag(ORV_FLAG_DRAW, 0);
    setDefaultName("light");
}

OrvLight::~OrvLight() {
    release();
    if (data != nullptr) {
        ORV_DELETE(data);
        data = nullptr;
    }
}

void OrvLight::setName(const char* newName) {
    OrvSceneNode::setName(newName);
    if (newName == nullptr || data == nullptr) {
        return;
    }
    orvCopyBounded(data->name, sizeof(data->name), newName);
}

void OrvLight::reset() {
    if (data != nullptr) {
        // The renderer keeps the unit marked as this light's: dropping it here
        // would leave that GL light burning and take a second one.
        int32_t unit = data->unit;
        data->setDefaults();
        data->unit = unit;
        markChanged();
    }
    transform.localPosition = kDefaultPosition;
    transform.markDirty();
}

void OrvLight::apply() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr || data == nullptr) {
        return;
    }
    if (getFlag(ORV_FLAG_PARAMS_CHANGED) == 1) {
        renderer->enableLight(data);
        renderer->setLightColors(data);
        setFlag(ORV_FLAG_PARAMS_CHANGED, 0);
    }
    // GL takes the position through the current model-view matrix, so the
    // camera's view must be loaded for it to land in world coordinates.
    renderer->loadViewMatrix();
    renderer->setLightPosition(data);
}

void OrvLight::update(float dt) {
    OrvSceneObject::update(dt);
    if (getFlag(ORV_FLAG_MOVED) != 1 || data == nullptr) {
        return;
    }
    copyColor(data->position, transform.computeWorldPosition().data());
    markChanged();
}

void OrvLight::render(float dt) {
    OrvSceneObject::render(dt);
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (getFlag(ORV_FLAG_DRAW) != 1 || renderer == nullptr || data == nullptr) {
        return;
    }
    loadObjectMatrix(renderer);
    if (renderState != nullptr) {
        renderState->apply();
    }
    const OrvVector4 origin;
    renderer->drawPoint(origin.data(), data->diffuse, kMarkerSize);
}

void OrvLight::setLightType(int newType) {
    if (data == nullptr) {
        return;
    }
    data->type = newType;
    markChanged();
}

int OrvLight::getLightType() const {
    return data != nullptr ? data->type : OrvLightData::POINT;
}

void OrvLight::setAmbient(const float* color) {
    if (color == nullptr || data == nullptr) {
        return;
    }
    copyColor(data->ambient, color);
    markChanged();
}

void OrvLight::setDiffuse(const float* color) {
    if (color == nullptr || data == nullptr) {
        return;
    }
    copyColor(data->diffuse, color);
    markChanged();
}

void OrvLight::setSpecular(const float* color) {
    if (color == nullptr || data == nullptr) {
        return;
    }
    copyColor(data->specular, color);
    markChanged();
}

void OrvLight::setDirection(float x, float y, float z) {
    if (data == nullptr) {
        return;
    }
    // w = 0: a directional light sends its direction as its GL position, and
    // only a w of 0 makes GL treat it as a direction.
    const OrvVector4 direction{x, y, z, 0.0f};
    copyColor(data->direction, direction.data());
    markChanged();
}

void OrvLight::setAttenuation(float constant, float linear, float quadratic) {
    if (data == nullptr) {
        return;
    }
    // GL rejects negative factors and would keep the old ones unnoticed.
    if (!(constant >= 0.0f && linear >= 0.0f && quadratic >= 0.0f)) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvLight::setAttenuation(): light [%s]: negative factor (%g, %g, %g) refused.",
            getName(), constant, linear, quadratic);
        return;
    }
    data->constantAttenuation = constant;
    data->linearAttenuation = linear;
    data->quadraticAttenuation = quadratic;
    markChanged();
}

void OrvLight::setSpotCutoff(float degrees) {
    if (data == nullptr) {
        return;
    }
    // The renderer sends only cutoffs GL accepts for a cone; any other value
    // would silently leave the previous cone in place.
    if (!(degrees >= 0.0f && degrees <= kMaxSpotCutoff)) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvLight::setSpotCutoff(): light [%s]: cutoff %g outside 0 to 90 refused.", getName(),
            degrees);
        return;
    }
    data->spotCutoff = degrees;
    markChanged();
}

void OrvLight::markChanged() {
    setFlag(ORV_FLAG_PARAMS_CHANGED, 1);
}
