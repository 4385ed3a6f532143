// OrvGlTextureCache: the texture state the OpenGL renderer last set, per
// texture unit: the bound texture, the GL_TEXTURE_2D switch, the texture
// environment, the texture coordinate array switch and pointer, and which unit
// is active for server and client calls. It answers, like the rest of the
// state cache it belongs to, whether a wanted value must be sent; unknown
// values (after invalidate) always must. It makes no GL call itself.
#pragma once

#include <GL/gl.h>

#include <cstdint>

class OrvGlTextureCache {
  public:
    static constexpr int kUnits = 8;

    OrvGlTextureCache() { invalidate(); }

    // While off every answer is yes.
    void setOn(bool on) {
        m_on = on;
        invalidate();
    }
    void invalidate();

    bool changeActiveUnit(int unit);
    bool changeClientUnit(int unit);
    bool changeBinding(int unit, GLuint texture);
    bool changeEnabled(int unit, bool on);
    // The environment the renderer sets once per unit (GL_MODULATE).
    bool changeEnvironment(int unit);
    bool changeCoordArray(int unit, bool on);
    // A pointer is the same only into the same buffer (0: client memory).
    bool changeCoordPointer(int unit, const void* pointer, GLuint buffer);
    // GL unbinds a deleted texture and may hand its name out again.
    void forgetTexture(GLuint texture);

  private:
    static constexpr int8_t kUnknown = -1;

    bool changeFlag(int8_t& cached, bool on);
    bool changeValue(int64_t& cached, int64_t value);

    bool m_on = true;
    int64_t m_activeUnit;
    int64_t m_clientUnit;
    int64_t m_bindings[kUnits];
    int8_t m_enabled[kUnits];
    int8_t m_environment[kUnits];
    int8_t m_coordArrays[kUnits];
    bool m_pointerKnown[kUnits];
    const void* m_pointers[kUnits];
    GLuint m_pointerBuffers[kUnits];
};
