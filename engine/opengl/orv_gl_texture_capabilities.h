// OrvGlTextureCapabilities: what the driver offers for textures, read the
// first time the renderer needs it rather than at start-up, so that a program
// that never textures anything makes no extra GL call and writes no extra log
// line. Fixed afterwards until the renderer initialises again.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include "render/orv_render_context.h"

class OrvGlCapabilities;

class OrvGlTextureCapabilities {
  public:
    // How a mipmap chain is made: glGenerateMipmap (OpenGL 3.0 or
    // GL_ARB_framebuffer_object) or its GL_EXT_framebuffer_object form, the
    // GL_GENERATE_MIPMAP texture parameter (OpenGL 1.4 or
    // GL_SGIS_generate_mipmap), or gluBuild2DMipmaps on the CPU.
    enum MipmapMethod { MIPMAP_FUNCTION, MIPMAP_PARAMETER, MIPMAP_GLU };

    // Multitexturing through OpenGL 1.3 or GL_ARB_multitexture (the ARB types
    // fit both); null without
    // either, and then only unit 0 exists.
    struct EntryPoints {
        PFNGLACTIVETEXTUREARBPROC glActiveTexture;
        PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTexture;
        PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fv;
        PFNGLGENERATEMIPMAPPROC glGenerateMipmap;
    };

    OrvGlTextureCapabilities() { reset(); }

    // Forgets what was found; the next isDetected is false.
    void reset();
    bool isDetected() const { return m_detected; }
    // Reads GL_MAX_TEXTURE_SIZE and GL_MAX_TEXTURE_UNITS from the current
    // context and takes the rest from the version already detected and the
    // extension string (may be null); entry points come from context.
    void detect(const OrvGlCapabilities& base, const char* extensions, OrvRenderContext* context);

    // The units a material may use: the driver's, at most 8.
    int unitCount() const { return m_unitCount; }
    int maxSize() const { return m_maxSize; }
    bool hasNonPowerOfTwo() const { return m_nonPowerOfTwo; }
    MipmapMethod mipmapMethod() const { return m_mipmapMethod; }
    const EntryPoints& entryPoints() const { return m_entryPoints; }

  private:
    void loadMultitexture(bool core, OrvRenderContext* context);
    void chooseMipmapMethod(const OrvGlCapabilities& base, const char* extensions,
                            OrvRenderContext* context);

    bool m_detected;
    int m_unitCount;
    int m_maxSize;
    bool m_nonPowerOfTwo;
    MipmapMethod m_mipmapMethod;
    EntryPoints m_entryPoints;
};
