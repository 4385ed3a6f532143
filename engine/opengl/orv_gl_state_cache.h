/// @file
/// OrvGlStateCache, the GL state the OpenGL renderer last set.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "opengl/orv_gl_texture_cache.h"

/// The GL state the OpenGL renderer last set, so that a value already in place is not sent to the
/// driver again. Each change operation compares the wanted value with the one remembered,
/// remembers the wanted one and answers whether the driver must be told; while the cache is off
/// every answer is yes. A value the cache does not know (after invalidate) compares unequal to
/// anything. The cache makes no GL call itself.
///
/// It keeps capability switches, cull face and polygon modes, material and light parameters,
/// client-array pointers and enables, and buffer and program bindings. Matrices, the matrix mode
/// and the viewport are not kept: explicit loads always reach the driver.
///
/// The renderer owns its one cache; indices are not range-checked except where a member says so.
class OrvGlStateCache {
  public:
    /// The capability switches kept: lighting, face culling, depth test.
    enum Switch {
        SWITCH_LIGHTING,      ///< GL_LIGHTING.
        SWITCH_FACE_CULLING,  ///< GL_CULL_FACE.
        SWITCH_DEPTH_TEST,    ///< GL_DEPTH_TEST.
        kSwitches             ///< The number of switches kept.
    };
    /// The parameters of a light unit that are kept, each up to four floats.
    enum LightParameter {
        LIGHT_AMBIENT,                ///< GL_AMBIENT, RGBA.
        LIGHT_DIFFUSE,                ///< GL_DIFFUSE, RGBA.
        LIGHT_SPECULAR,               ///< GL_SPECULAR, RGBA.
        LIGHT_POSITION,               ///< GL_POSITION, kept through changeLightVector.
        LIGHT_SPOT_DIRECTION,         ///< GL_SPOT_DIRECTION, kept through changeLightVector.
        LIGHT_SPOT_CUTOFF,            ///< GL_SPOT_CUTOFF, one float in degrees.
        LIGHT_CONSTANT_ATTENUATION,   ///< GL_CONSTANT_ATTENUATION, one float.
        LIGHT_LINEAR_ATTENUATION,     ///< GL_LINEAR_ATTENUATION, one float.
        LIGHT_QUADRATIC_ATTENUATION,  ///< GL_QUADRATIC_ATTENUATION, one float.
        kLightParameters              ///< The number of light parameters kept.
    };
    /// The material parameters kept; the renderer sets them for GL_FRONT_AND_BACK.
    enum MaterialParameter {
        MATERIAL_AMBIENT,    ///< GL_AMBIENT, RGBA.
        MATERIAL_DIFFUSE,    ///< GL_DIFFUSE, RGBA.
        MATERIAL_SPECULAR,   ///< GL_SPECULAR, RGBA.
        MATERIAL_EMISSION,   ///< GL_EMISSION, RGBA.
        MATERIAL_SHININESS,  ///< GL_SHININESS, one float.
        kMaterialParameters  ///< The number of material parameters kept.
    };
    /// Light units whose switch and parameters are kept; later units always
    /// reach the driver.
    static constexpr int kLights = 8;
    /// The client arrays of the mesh paths: positions, colours, normals, indexed as
    /// OrvMeshData's POSITIONS, COLORS and NORMALS.
    static constexpr int kClientArrays = 3;

    /// On, knowing nothing.
    OrvGlStateCache();

    /// True while the cache compares; while it is off every change operation answers true.
    bool isOn() const { return m_on; }
    /// Switches the cache on or off; either way it forgets everything.
    void setOn(bool on);
    /// Forgets every value, so that each is sent at its next use. The client
    /// arrays a draw wants stay wanted: a display list compiled between
    /// setting a mesh's arrays and drawing them invalidates mid-mesh.
    void invalidate();

    /// True when capability switch @p which must be set to @p on.
    bool changeSwitch(Switch which, bool on);
    /// True when GL_LIGHT0 + @p unit must be switched to @p on; always true for a unit from
    /// kLights on.
    bool changeLightSwitch(int unit, bool on);
    /// True when glCullFace must be told @p face (GL_FRONT, GL_BACK or GL_FRONT_AND_BACK).
    bool changeCullFace(GLenum face);
    /// True when glPolygonMode must set @p mode for @p face, which is GL_FRONT, GL_BACK or
    /// GL_FRONT_AND_BACK; the front and back modes are kept apart.
    bool changePolygonMode(GLenum face, GLenum mode);
    /// True when the material @p parameter must be set to the @p count floats at @p values (4
    /// for a colour, 1 for shininess); values compare bit for bit.
    bool changeMaterial(MaterialParameter parameter, const float* values, int count);
    /// True when @p parameter of light unit @p unit must be set to the @p count floats at
    /// @p values (at most 4); always true for a unit from kLights on.
    bool changeLightParameter(int unit, LightParameter parameter, const float* values, int count);
    /// A light's position and direction (@p parameter LIGHT_POSITION or LIGHT_SPOT_DIRECTION,
    /// four floats): GL keeps them as the modelview matrix of the call turned them, so a kept one
    /// is the same only under the same view, loaded unchanged. Always true for a unit from
    /// kLights on.
    bool changeLightVector(int unit, LightParameter parameter, const float* values);

    /// The modelview matrix: viewLoaded after the view matrix was loaded
    /// (@p newView: another view than before), modelviewChanged after anything
    /// else was loaded or multiplied in.
    ///@{
    void viewLoaded(bool newView);
    void modelviewChanged() { m_modelviewIsView = false; }
    ///@}

    /// True when @p buffer (0: none) must be bound to @p target, which is
    /// GL_ARRAY_BUFFER_ARB or GL_ELEMENT_ARRAY_BUFFER_ARB.
    bool changeBuffer(GLenum target, GLuint buffer);
    /// True when @p program (0: none, the fixed-function pipeline) must be put in use.
    bool changeProgram(GLuint program);
    /// Called when @p program is deleted. GL may hand a deleted program's name to a new one while
    /// the deleted one is still in use, so its binding is no longer known.
    void forgetProgram(GLuint program);

    /// Client arrays (@p array below kClientArrays). An enable goes out at once; a disable waits
    /// for the next draw (takeDisable), so that a mesh that follows another with the same arrays
    /// changes nothing. With the cache off, disables go out at once. True when the driver must be
    /// told now.
    ///@{
    bool enableArray(int array);
    bool disableArray(int array);
    ///@}
    /// True, once, when the array's disable is waiting and must go out now.
    bool takeDisable(int array);
    /// True when the array's pointer must be set. A pointer is the same only into the same
    /// buffer: an offset into one buffer is another pointer than the same offset into another, or
    /// into client memory. While the bound array buffer is unknown the answer is always true.
    bool changeArrayPointer(int array, GLint size, GLsizei stride, const void* pointer);

    /// The texture units' state; it is switched and forgotten with the rest.
    OrvGlTextureCache& textures() { return m_textures; }

  private:
    static constexpr int8_t kUnknown = -1;
    struct ArrayPointer {
        bool known;
        GLint size;
        GLsizei stride;
        const void* pointer;
        GLuint buffer;
    };

    bool changeFlag(int8_t& cached, bool on);

    bool m_on;
    // -1 unknown, else 0 or 1.
    int8_t m_switches[kSwitches];
    int8_t m_lights[kLights];
    GLenum m_cullFace;
    GLenum m_frontMode;
    GLenum m_backMode;
    // The modelview holds the view matrix as loaded at m_viewGeneration.
    bool m_modelviewIsView;
    uint32_t m_viewGeneration;
    uint32_t m_materialKnown;
    float m_material[kMaterialParameters][4];
    uint32_t m_lightKnown[kLights];
    float m_light[kLights][kLightParameters][4];
    uint32_t m_lightGeneration[kLights][2];
    // What GL has enabled (-1 unknown) and what the current draw wants.
    int8_t m_arraysEnabled[kClientArrays];
    bool m_arraysWanted[kClientArrays];
    ArrayPointer m_pointers[kClientArrays];
    // Bound buffers and the program in use, -1 unknown.
    int64_t m_arrayBuffer;
    int64_t m_elementBuffer;
    int64_t m_program;
    OrvGlTextureCache m_textures;
};
