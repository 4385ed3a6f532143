#include "opengl/orv_gl_state_cache.h"

#include <GL/glext.h>

#include <cstring>

namespace {
bool sameValues(const float* cached, const float* values, int count) {
    return std::memcmp(cached, values, count * sizeof(float)) == 0;
}
}  // namespace

OrvGlStateCache::OrvGlStateCache()
    : m_on(true),
      m_switches{},
      m_lights{},
      m_cullFace(0),
      m_frontMode(0),
      m_backMode(0),
      m_modelviewIsView(false),
      m_viewGeneration(0),
      m_materialKnown(0),
      m_material{},
      m_lightKnown{},
      m_light{},
      m_lightGeneration{},
      m_arraysEnabled{},
      m_arraysWanted{},
      m_pointers{},
      m_arrayBuffer(kUnknown),
      m_elementBuffer(kUnknown),
      m_program(kUnknown) {
    invalidate();
}

void OrvGlStateCache::setOn(bool on) {
    m_on = on;
    m_textures.setOn(on);
    invalidate();
}

void OrvGlStateCache::invalidate() {
    std::memset(m_switches, kUnknown, sizeof(m_switches));
    std::memset(m_lights, kUnknown, sizeof(m_lights));
    m_cullFace = 0;
    m_frontMode = 0;
    m_backMode = 0;
    m_modelviewIsView = false;
    ++m_viewGeneration;
    m_materialKnown = 0;
    std::memset(m_lightKnown, 0, sizeof(m_lightKnown));
    std::memset(m_arraysEnabled, kUnknown, sizeof(m_arraysEnabled));
    for (ArrayPointer& pointer : m_pointers) {
        pointer.known = false;
    }
    m_arrayBuffer = kUnknown;
    m_elementBuffer = kUnknown;
    m_program = kUnknown;
    m_textures.invalidate();
}

bool OrvGlStateCache::changeFlag(int8_t& cached, bool on) {
    const int8_t value = on ? 1 : 0;
    if (m_on && cached == value) {
        return false;
    }
    cached = value;
    return true;
}

bool OrvGlStateCache::changeSwitch(Switch which, bool on) {
    return changeFlag(m_switches[which], on);
}

bool OrvGlStateCache::changeLightSwitch(int unit, bool on) {
    return unit >= kLights || changeFlag(m_lights[unit], on);
}

bool OrvGlStateCache::changeCullFace(GLenum face) {
    if (m_on && m_cullFace == face) {
        return false;
    }
    m_cullFace = face;
    return true;
}

bool OrvGlStateCache::changePolygonMode(GLenum face, GLenum mode) {
    const bool front = face != GL_BACK;
    const bool back = face != GL_FRONT;
    if (m_on && (!front || m_frontMode == mode) && (!back || m_backMode == mode)) {
        return false;
    }
    m_frontMode = front ? mode : m_frontMode;
    m_backMode = back ? mode : m_backMode;
    return true;
}

bool OrvGlStateCache::changeMaterial(MaterialParameter parameter, const float* values, int count) {
    const uint32_t bit = 1u << parameter;
    float* cached = m_material[parameter];
    if (m_on && (m_materialKnown & bit) != 0 && sameValues(cached, values, count)) {
        return false;
    }
    std::memcpy(cached, values, count * sizeof(float));
    m_materialKnown |= bit;
    return true;
}

bool OrvGlStateCache::changeLightParameter(int unit, LightParameter parameter, const float* values,
                                           int count) {
    if (unit >= kLights) {
        return true;
    }
    const uint32_t bit = 1u << parameter;
    float* cached = m_light[unit][parameter];
    if (m_on && (m_lightKnown[unit] & bit) != 0 && sameValues(cached, values, count)) {
        return false;
    }
    std::memcpy(cached, values, count * sizeof(float));
    m_lightKnown[unit] |= bit;
    return true;
}

bool OrvGlStateCache::changeLightVector(int unit, LightParameter parameter, const float* values) {
    if (unit >= kLights) {
        return true;
    }
    const uint32_t bit = 1u << parameter;
    uint32_t& generation = m_lightGeneration[unit][parameter == LIGHT_POSITION ? 0 : 1];
    float* cached = m_light[unit][parameter];
    const bool same = (m_lightKnown[unit] & bit) != 0 && generation == m_viewGeneration &&
                      sameValues(cached, values, 4);
    if (m_on && m_modelviewIsView && same) {
        return false;
    }
    std::memcpy(cached, values, 4 * sizeof(float));
    generation = m_viewGeneration;
    // Sent under another matrix than the view, the value is not one a later
    // call under the view could reuse.
    m_lightKnown[unit] = m_modelviewIsView ? m_lightKnown[unit] | bit : m_lightKnown[unit] & ~bit;
    return true;
}

void OrvGlStateCache::viewLoaded(bool newView) {
    if (newView) {
        ++m_viewGeneration;
    }
    m_modelviewIsView = true;
}

bool OrvGlStateCache::changeBuffer(GLenum target, GLuint buffer) {
    int64_t& cached = target == GL_ARRAY_BUFFER_ARB ? m_arrayBuffer : m_elementBuffer;
    if (m_on && cached == buffer) {
        return false;
    }
    cached = buffer;
    return true;
}

bool OrvGlStateCache::changeProgram(GLuint program) {
    if (m_on && m_program == static_cast<int64_t>(program)) {
        return false;
    }
    m_program = program;
    return true;
}

void OrvGlStateCache::forgetProgram(GLuint program) {
    if (m_program == static_cast<int64_t>(program)) {
        m_program = kUnknown;
    }
}

bool OrvGlStateCache::enableArray(int array) {
    m_arraysWanted[array] = true;
    return changeFlag(m_arraysEnabled[array], true);
}

bool OrvGlStateCache::disableArray(int array) {
    m_arraysWanted[array] = false;
    return !m_on && changeFlag(m_arraysEnabled[array], false);
}

bool OrvGlStateCache::takeDisable(int array) {
    if (!m_on || m_arraysWanted[array] || m_arraysEnabled[array] == 0) {
        return false;
    }
    m_arraysEnabled[array] = 0;
    return true;
}

bool OrvGlStateCache::changeArrayPointer(int array, GLint size, GLsizei stride,
                                         const void* pointer) {
    ArrayPointer& cached = m_pointers[array];
    const bool bufferKnown = m_arrayBuffer != kUnknown;
    const GLuint buffer = bufferKnown ? static_cast<GLuint>(m_arrayBuffer) : 0;
    if (m_on && cached.known && bufferKnown && cached.size == size && cached.stride == stride &&
        cached.pointer == pointer && cached.buffer == buffer) {
        return false;
    }
    cached = {bufferKnown, size, stride, pointer, buffer};
    return true;
}
