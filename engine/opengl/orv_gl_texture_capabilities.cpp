#include "opengl/orv_gl_texture_capabilities.h"

#include "opengl/orv_gl_capabilities.h"
#include "render/orv_renderer.h"

namespace {

// At least the version major.minor.
bool atLeast(const OrvGlCapabilities& base, int major, int minor) {
    return base.majorVersion() > major ||
           (base.majorVersion() == major && base.minorVersion() >= minor);
}

template <typename Proc>
Proc load(OrvRenderContext* context, const char* name) {
    return context != nullptr ? reinterpret_cast<Proc>(context->getProcAddress(name)) : nullptr;
}

}  // namespace

void OrvGlTextureCapabilities::reset() {
    m_detected = false;
    m_unitCount = 1;
    m_maxSize = 64;
    m_nonPowerOfTwo = false;
    m_mipmapMethod = MIPMAP_GLU;
    m_entryPoints = {};
}

void OrvGlTextureCapabilities::detect(const OrvGlCapabilities& base, const char* extensions,
                                      OrvRenderContext* context) {
    reset();
    m_detected = true;
    GLint value = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
    // OpenGL promises at least 64 texels a side.
    m_maxSize = value >= 64 ? value : 64;
    const bool coreMultitexture = atLeast(base, 1, 3);
    if (coreMultitexture || OrvGlCapabilities::hasExtension(extensions, "GL_ARB_multitexture")) {
        loadMultitexture(coreMultitexture, context);
    }
    m_nonPowerOfTwo = base.hasOpenGL2() || OrvGlCapabilities::hasExtension(
                                               extensions, "GL_ARB_texture_non_power_of_two");
    chooseMipmapMethod(base, extensions, context);
}

// Every unit needs the three entry points; without them unit 0 is all there is.
void OrvGlTextureCapabilities::loadMultitexture(bool core, OrvRenderContext* context) {
    m_entryPoints.glActiveTexture =
        load<PFNGLACTIVETEXTUREARBPROC>(context, core ? "glActiveTexture" : "glActiveTextureARB");
    m_entryPoints.glClientActiveTexture = load<PFNGLCLIENTACTIVETEXTUREARBPROC>(
        context, core ? "glClientActiveTexture" : "glClientActiveTextureARB");
    m_entryPoints.glMultiTexCoord4fv = load<PFNGLMULTITEXCOORD4FVARBPROC>(
        context, core ? "glMultiTexCoord4fv" : "glMultiTexCoord4fvARB");
    if (m_entryPoints.glActiveTexture == nullptr ||
        m_entryPoints.glClientActiveTexture == nullptr ||
        m_entryPoints.glMultiTexCoord4fv == nullptr) {
        m_entryPoints = {};
        return;
    }
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    m_unitCount =
        units < 1 ? 1
                  : (units > OrvRenderer::kMaxTextureUnits ? OrvRenderer::kMaxTextureUnits : units);
}

void OrvGlTextureCapabilities::chooseMipmapMethod(const OrvGlCapabilities& base,
                                                  const char* extensions,
                                                  OrvRenderContext* context) {
    if (atLeast(base, 3, 0) ||
        OrvGlCapabilities::hasExtension(extensions, "GL_ARB_framebuffer_object")) {
        m_entryPoints.glGenerateMipmap = load<PFNGLGENERATEMIPMAPPROC>(context, "glGenerateMipmap");
    } else if (OrvGlCapabilities::hasExtension(extensions, "GL_EXT_framebuffer_object")) {
        m_entryPoints.glGenerateMipmap =
            load<PFNGLGENERATEMIPMAPPROC>(context, "glGenerateMipmapEXT");
    }
    if (m_entryPoints.glGenerateMipmap != nullptr) {
        m_mipmapMethod = MIPMAP_FUNCTION;
    } else if (atLeast(base, 1, 4) ||
               OrvGlCapabilities::hasExtension(extensions, "GL_SGIS_generate_mipmap")) {
        m_mipmapMethod = MIPMAP_PARAMETER;
    } else {
        m_mipmapMethod = MIPMAP_GLU;
    }
}
