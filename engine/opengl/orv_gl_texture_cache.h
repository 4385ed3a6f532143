/// @file
/// OrvGlTextureCache, the texture state the OpenGL renderer last set.
#pragma once

#include <GL/gl.h>

#include <cstdint>

/// OrvGlTextureCache: the texture state the OpenGL renderer last set, per
/// texture unit: the bound texture, the GL_TEXTURE_2D switch, the texture
/// environment, the texture coordinate array switch and pointer, and which unit
/// is active for server and client calls. It answers, like the rest of the
/// state cache it belongs to, whether a wanted value must be sent; unknown
/// values (after invalidate) always must. It makes no GL call itself.
///
/// Each change operation remembers the wanted value and returns true when
/// the GL call must be made.
class OrvGlTextureCache {
  public:
    /// The units kept. A per-unit operation takes a unit from 0 to kUnits - 1
    /// and does not check it.
    static constexpr int kUnits = 8;

    /// On, with every value unknown.
    OrvGlTextureCache() { invalidate(); }

    /// While off every answer is yes. Switching either way forgets every
    /// value.
    void setOn(bool on) {
        m_on = on;
        invalidate();
    }
    /// Forgets every value, so that the next change of each answers yes: for
    /// after GL calls the cache did not see.
    void invalidate();

    /// Whether @p unit must be made the active unit of server calls
    /// (glActiveTexture).
    bool changeActiveUnit(int unit);
    /// Whether @p unit must be made the active unit of client calls
    /// (glClientActiveTexture).
    bool changeClientUnit(int unit);
    /// Whether @p texture must be bound to GL_TEXTURE_2D on @p unit.
    bool changeBinding(int unit, GLuint texture);
    /// Whether GL_TEXTURE_2D must be switched to @p on for @p unit.
    bool changeEnabled(int unit, bool on);
    /// The environment the renderer sets once per unit (GL_MODULATE): yes
    /// only the first time for @p unit since the last invalidate.
    bool changeEnvironment(int unit);
    /// Whether the texture coordinate array of @p unit must be switched to
    /// @p on.
    bool changeCoordArray(int unit, bool on);
    /// Whether the texture coordinate pointer of @p unit must be set. A
    /// pointer is the same only into the same buffer (0: client memory).
    bool changeCoordPointer(int unit, const void* pointer, GLuint buffer);
    /// Forgets @p texture's binding on every unit it was bound on, for after
    /// it is deleted: GL unbinds a deleted texture and may hand its name out
    /// again.
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
