/// @file
/// OrvGlTextureCapabilities, what the OpenGL driver offers for textures.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include "render/orv_render_context.h"

class OrvGlCapabilities;

/// OrvGlTextureCapabilities: what the driver offers for textures, read the
/// first time the renderer needs it rather than at start-up, so that a program
/// that never textures anything makes no extra GL call and writes no extra log
/// line. Fixed afterwards until the renderer initialises again.
class OrvGlTextureCapabilities {
  public:
    /// How a mipmap chain is made: glGenerateMipmap (OpenGL 3.0 or
    /// GL_ARB_framebuffer_object) or its GL_EXT_framebuffer_object form, the
    /// GL_GENERATE_MIPMAP texture parameter (OpenGL 1.4 or
    /// GL_SGIS_generate_mipmap), or gluBuild2DMipmaps on the CPU.
    enum MipmapMethod {
        MIPMAP_FUNCTION,   ///< Through EntryPoints::glGenerateMipmap.
        MIPMAP_PARAMETER,  ///< Through the GL_GENERATE_MIPMAP texture parameter.
        MIPMAP_GLU         ///< Through gluBuild2DMipmaps; also before detect.
    };

    /// The texture entry points, null before detect and where the driver
    /// lacks them.
    struct EntryPoints {
        /// Multitexturing through OpenGL 1.3 or GL_ARB_multitexture (the ARB
        /// types fit both); null without either, or when one of the three
        /// cannot be found, and then only unit 0 exists.
        ///@{
        PFNGLACTIVETEXTUREARBPROC glActiveTexture;
        PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTexture;
        PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fv;
        ///@}
        /// glGenerateMipmap or glGenerateMipmapEXT; null unless the mipmap
        /// method is MIPMAP_FUNCTION.
        PFNGLGENERATEMIPMAPPROC glGenerateMipmap;
    };

    /// Nothing detected yet, as after reset.
    OrvGlTextureCapabilities() { reset(); }

    /// Forgets what was found; the next isDetected is false.
    void reset();
    /// Whether detect ran since construction or the last reset.
    bool isDetected() const { return m_detected; }
    /// Reads GL_MAX_TEXTURE_SIZE and GL_MAX_TEXTURE_UNITS from the current
    /// context and takes the rest from the version already detected and the
    /// extension string (may be null); entry points come from context (none
    /// from a null one).
    void detect(const OrvGlCapabilities& base, const char* extensions, OrvRenderContext* context);

    /// The units a material may use: the driver's, at most 8; 1 before detect
    /// and without multitexturing.
    int unitCount() const { return m_unitCount; }
    /// The largest texture side in texels the driver takes, at least the 64
    /// OpenGL promises (also before detect).
    int maxSize() const { return m_maxSize; }
    /// Whether a texture's sides may be other than powers of two: OpenGL 2.0
    /// or GL_ARB_texture_non_power_of_two.
    bool hasNonPowerOfTwo() const { return m_nonPowerOfTwo; }
    /// How mipmap chains are made on this driver.
    MipmapMethod mipmapMethod() const { return m_mipmapMethod; }
    /// The entry points detect loaded, owned by the capabilities.
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
