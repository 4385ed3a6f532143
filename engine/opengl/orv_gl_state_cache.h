// OrvGlStateCache: the GL state the OpenGL renderer last set, so that a value
// already in place is not sent to the driver again. Each change operation
// compares the wanted value with the one remembered, remembers the wanted one
// and answers whether the driver must be told; while the cache is off every
// answer is yes. A value the cache does not know (after invalidate) compares
// unequal to anything. The cache makes no GL call itself.
//
// It keeps capability switches, cull face and polygon modes, material and
// light parameters, client-array pointers and enables, and buffer and program
// bindings. Matrices, the matrix mode and the viewport are not kept: explicit
// loads always reach the driver.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "opengl/orv_gl_texture_cache.h"

class OrvGlStateCache {
  public:
    // The capability switches kept: lighting, face culling, depth test.
    enum Switch { SWITCH_LIGHTING, SWITCH_FACE_CULLING, SWITCH_DEPTH_TEST, kSwitches };
    enum LightParameter {
        LIGHT_AMBIENT,
        LIGHT_DIFFUSE,
        LIGHT_SPECULAR,
        LIGHT_POSITION,
        LIGHT_SPOT_DIRECTION,
        LIGHT_SPOT_CUTOFF,
        LIGHT_CONSTANT_ATTENUATION,
        LIGHT_LINEAR_ATTENUATION,
        LIGHT_QUADRATIC_ATTENUATION,
        kLightParameters
    };
    enum MaterialParameter {
        MATERIAL_AMBIENT,
        MATERIAL_DIFFUSE,
        MATERIAL_SPECULAR,
        MATERIAL_EMISSION,
        MATERIAL_SHININESS,
        kMaterialParameters
    };
    // Light units whose switch and parameters are kept; later units always
    // reach the driver.
    static constexpr int kLights = 8;
    // The client arrays of the mesh paths: positions, colours, normals.
    static constexpr int kClientArrays = 3;

    // On, knowing nothing.
    OrvGlStateCache();

    bool isOn() const { return m_on; }
    // Switches the cache on or off; either way it forgets everything.
    void setOn(bool on);
    // Forgets every value, so that each is sent at its next use. The client
    // arrays a draw wants stay wanted: a display list compiled between
    // setting a mesh's arrays and drawing them invalidates mid-mesh.
    void invalidate();

    bool changeSwitch(Switch which, bool on);
    bool changeLightSwitch(int unit, bool on);
    bool changeCullFace(GLenum face);
    // face is GL_FRONT, GL_BACK or GL_FRONT_AND_BACK.
    bool changePolygonMode(GLenum face, GLenum mode);
    bool changeMaterial(MaterialParameter parameter, const float* values, int count);
    bool changeLightParameter(int unit, LightParameter parameter, const float* values, int count);
    // A light's position and direction: GL keeps them as the modelview matrix
    // of the call turned them, so a kept one is the same only under the same
    // view, loaded unchanged.
    bool changeLightVector(int unit, LightParameter parameter, const float* values);

    // The modelview matrix: viewLoaded after the view matrix was loaded
    // (newView: another view than before), modelviewChanged after anything
    // else was loaded or multiplied in.
    void viewLoaded(bool newView);
    void modelviewChanged() { m_modelviewIsView = false; }

    // target is GL_ARRAY_BUFFER_ARB or GL_ELEMENT_ARRAY_BUFFER_ARB.
    bool changeBuffer(GLenum target, GLuint buffer);
    bool changeProgram(GLuint program);
    // GL may hand a deleted program's name to a new one while the deleted
    // one is still in use, so its binding is no longer known.
    void forgetProgram(GLuint program);

    // Client arrays. An enable goes out at once; a disable waits for the
    // next draw (takeDisable), so that a mesh that follows another with the
    // same arrays changes nothing. With the cache off, disables go out at once.
    bool enableArray(int array);
    bool disableArray(int array);
    // True, once, when the array's disable is waiting and must go out now.
    bool takeDisable(int array);
    // A pointer is the same only into the same buffer: an offset into one
    // buffer is another pointer than the same offset into another, or into
    // client memory.
    bool changeArrayPointer(int array, GLint size, GLsizei stride, const void* pointer);

    // The texture units' state; it is switched and forgotten with the rest.
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
