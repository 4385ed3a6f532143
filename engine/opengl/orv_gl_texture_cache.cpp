#include "opengl/orv_gl_texture_cache.h"

#include <cstring>

void OrvGlTextureCache::invalidate() {
    m_activeUnit = kUnknown;
    m_clientUnit = kUnknown;
    for (int64_t& binding : m_bindings) {
        binding = kUnknown;
    }
    std::memset(m_enabled, kUnknown, sizeof(m_enabled));
    std::memset(m_environment, kUnknown, sizeof(m_environment));
    std::memset(m_coordArrays, kUnknown, sizeof(m_coordArrays));
    std::memset(m_pointerKnown, 0, sizeof(m_pointerKnown));
}

bool OrvGlTextureCache::changeFlag(int8_t& cached, bool on) {
    const int8_t wanted = on ? 1 : 0;
    const bool send = !m_on || cached != wanted;
    cached = wanted;
    return send;
}

bool OrvGlTextureCache::changeValue(int64_t& cached, int64_t value) {
    const bool send = !m_on || cached != value;
    cached = value;
    return send;
}

bool OrvGlTextureCache::changeActiveUnit(int unit) {
    return changeValue(m_activeUnit, unit);
}

bool OrvGlTextureCache::changeClientUnit(int unit) {
    return changeValue(m_clientUnit, unit);
}

bool OrvGlTextureCache::changeBinding(int unit, GLuint texture) {
    return changeValue(m_bindings[unit], texture);
}

bool OrvGlTextureCache::changeEnabled(int unit, bool on) {
    return changeFlag(m_enabled[unit], on);
}

bool OrvGlTextureCache::changeEnvironment(int unit) {
    return changeFlag(m_environment[unit], true);
}

bool OrvGlTextureCache::changeCoordArray(int unit, bool on) {
    return changeFlag(m_coordArrays[unit], on);
}

bool OrvGlTextureCache::changeCoordPointer(int unit, const void* pointer, GLuint buffer) {
    const bool same =
        m_pointerKnown[unit] && m_pointers[unit] == pointer && m_pointerBuffers[unit] == buffer;
    m_pointerKnown[unit] = true;
    m_pointers[unit] = pointer;
    m_pointerBuffers[unit] = buffer;
    return !m_on || !same;
}

void OrvGlTextureCache::forgetTexture(GLuint texture) {
    for (int64_t& binding : m_bindings) {
        if (binding == texture) {
            binding = kUnknown;
        }
    }
}
