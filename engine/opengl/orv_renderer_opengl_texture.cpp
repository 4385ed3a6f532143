// Textures of the OpenGL renderer: upload with mipmaps, filters and wrap
// modes, binding per unit through the state cache, texture coordinates for
// the element drawing paths, and the back buffer read into a picture. Units
// are selected through glActiveTexture and glClientActiveTexture only when
// the driver has more than one.
#include <GL/glu.h>

#include <cstring>

#include "opengl/orv_renderer_opengl.h"

#include "core/orv_log.h"
#include "render/orv_image.h"
#include "render/orv_mesh_data.h"
#include "render/orv_texture_data.h"

namespace {

GLint filterFor(int code, bool mipmapped) {
    if (code == OrvTextureData::FILTER_NEAREST) {
        return mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
    }
    return mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
}

GLint wrapFor(int code) {
    return code == OrvTextureData::WRAP_CLAMP ? GL_CLAMP_TO_EDGE : GL_REPEAT;
}

int nextPowerOfTwo(int value) {
    int power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

// The largest power of two not above limit.
int powerOfTwoWithin(int limit) {
    int power = 1;
    while (power * 2 <= limit) {
        power *= 2;
    }
    return power;
}

// The side a picture's side is uploaded at: as it is where the driver takes
// it, else the next power of two, and never above the driver's limit.
int uploadSide(int side, const OrvGlTextureCapabilities& caps) {
    const int wanted = caps.hasNonPowerOfTwo() ? side : nextPowerOfTwo(side);
    if (wanted <= caps.maxSize()) {
        return wanted;
    }
    return caps.hasNonPowerOfTwo() ? caps.maxSize() : powerOfTwoWithin(caps.maxSize());
}

}  // namespace

const OrvGlTextureCapabilities& OrvRendererOpenGL::textureCapabilities() {
    // Before initialize there is no version to go by, and no context is sure.
    if (!m_textureCapabilities.isDetected() && m_capabilities.majorVersion() > 0) {
        m_textureCapabilities.detect(m_capabilities, queryString(GL_EXTENSIONS), m_context);
    }
    return m_textureCapabilities;
}

int OrvRendererOpenGL::getTextureUnitCount() {
    return textureCapabilities().unitCount();
}

void OrvRendererOpenGL::selectUnit(int unit) {
    const auto& entry = textureCapabilities().entryPoints();
    if (entry.glActiveTexture != nullptr && m_cache.textures().changeActiveUnit(unit)) {
        entry.glActiveTexture(GL_TEXTURE0 + unit);
    }
}

void OrvRendererOpenGL::selectClientUnit(int unit) {
    const auto& entry = textureCapabilities().entryPoints();
    if (entry.glClientActiveTexture != nullptr && m_cache.textures().changeClientUnit(unit)) {
        entry.glClientActiveTexture(GL_TEXTURE0 + unit);
    }
}

void OrvRendererOpenGL::bindTextureName(int unit, GLuint name) {
    if (m_cache.textures().changeBinding(unit, name)) {
        selectUnit(unit);
        glBindTexture(GL_TEXTURE_2D, name);
    }
}

// The unit's switch, and once per unit the environment that multiplies the
// lit colour by the texture.
void OrvRendererOpenGL::setTextureUnit(int unit, bool on) {
    if (m_cache.textures().changeEnabled(unit, on)) {
        selectUnit(unit);
        if (on) {
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
    }
    if (on && m_cache.textures().changeEnvironment(unit)) {
        selectUnit(unit);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
}

void OrvRendererOpenGL::setCoordArray(int unit, bool on) {
    if (!m_cache.textures().changeCoordArray(unit, on)) {
        return;
    }
    selectClientUnit(unit);
    if (on) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

void OrvRendererOpenGL::uploadLevels(const OrvTextureData* texture, const OrvImage* image) {
    const bool mipmapped = texture->mipmaps == 1;
    const OrvGlTextureCapabilities& caps = textureCapabilities();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapFor(texture->wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapFor(texture->wrapT));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filterFor(texture->minFilter, mipmapped));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filterFor(texture->magFilter, false));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (mipmapped && caps.mipmapMethod() == OrvGlTextureCapabilities::MIPMAP_GLU) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, image->width, image->height, GL_RGBA,
                          GL_UNSIGNED_BYTE, image->pixels);
        return;
    }
    if (mipmapped && caps.mipmapMethod() == OrvGlTextureCapabilities::MIPMAP_PARAMETER) {
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image->width, image->height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image->pixels);
    if (mipmapped && caps.mipmapMethod() == OrvGlTextureCapabilities::MIPMAP_FUNCTION) {
        caps.entryPoints().glGenerateMipmap(GL_TEXTURE_2D);
    }
}

int OrvRendererOpenGL::createTexture(OrvTextureData* texture, const OrvImage* image) {
    if (texture == nullptr || image == nullptr || image->isEmpty()) {
        return -1;
    }
    destroyTexture(texture);
    OrvLog* log = OrvLog::getInstance();
    const OrvGlTextureCapabilities& caps = textureCapabilities();
    const int width = uploadSide(image->width, caps);
    const int height = uploadSide(image->height, caps);
    OrvImage scaled = {};
    if (width != image->width || height != image->height) {
        if (!scaled.allocate(width, height)) {
            log->write(OrvLog::WARNING,
                       "OrvRendererOpenGL::createTexture(): texture %s: out of memory for %d x %d "
                       "pixels.",
                       texture->name, width, height);
            return -1;
        }
        log->write(OrvLog::DEBUG,
                   "OrvRendererOpenGL::createTexture(): texture %s scaled from %d x %d to %d x %d "
                   "(%s).",
                   texture->name, image->width, image->height, width, height,
                   caps.hasNonPowerOfTwo() ? "GL_MAX_TEXTURE_SIZE" : "power of two");
        gluScaleImage(GL_RGBA, image->width, image->height, GL_UNSIGNED_BYTE, image->pixels, width,
                      height, GL_UNSIGNED_BYTE, scaled.pixels);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) {
        scaled.release();
        log->write(OrvLog::WARNING, "OrvRendererOpenGL::createTexture(): no texture name for %s.",
                   texture->name);
        return RESULT_NO_TEXTURE;
    }
    bindTextureName(0, name);
    uploadLevels(texture, scaled.isEmpty() ? image : &scaled);
    scaled.release();
    texture->glName = name;
    texture->width = width;
    texture->height = height;
    log->write(OrvLog::DEBUG, "OrvRendererOpenGL::createTexture(): texture %s created (%d x %d).",
               texture->name, width, height);
    return RESULT_OK;
}

void OrvRendererOpenGL::destroyTexture(OrvTextureData* texture) {
    if (texture == nullptr || texture->glName == 0) {
        return;
    }
    const GLuint name = texture->glName;
    glDeleteTextures(1, &name);
    m_cache.textures().forgetTexture(name);
    texture->glName = 0;
    OrvLog::getInstance()->write(
        OrvLog::DEBUG, "OrvRendererOpenGL::destroyTexture(): texture %s destroyed.", texture->name);
}

void OrvRendererOpenGL::bindTexture(int unit, const OrvTextureData* texture) {
    if (unit < 0 || unit >= getTextureUnitCount()) {
        return;
    }
    const uint32_t bit = 1u << unit;
    if (texture != nullptr && texture->glName != 0) {
        bindTextureName(unit, texture->glName);
        setTextureUnit(unit, true);
        m_texturedUnits |= bit;
        return;
    }
    setTextureUnit(unit, false);
    setCoordArray(unit, false);
    m_texturedUnits &= ~bit;
}

void OrvRendererOpenGL::pointTexCoords(OrvMeshData* mesh, bool fromBuffers) {
    for (int unit = 0; m_texturedUnits >> unit != 0; ++unit) {
        const int array = OrvMeshData::TEXCOORDS0 + unit;
        if ((m_texturedUnits & (1u << unit)) == 0 || mesh->attributes[array] == nullptr) {
            continue;
        }
        const void* source = fromBuffers ? attributeSource(mesh, array) : mesh->attributes[array];
        const GLuint buffer = fromBuffers && source == nullptr ? mesh->vertexBufferIds[array] : 0;
        if (m_cache.textures().changeCoordPointer(unit, source, buffer)) {
            selectClientUnit(unit);
            glTexCoordPointer(4, GL_FLOAT, 0, source);
        }
        setCoordArray(unit, true);
    }
}

int OrvRendererOpenGL::readBackBuffer(OrvImage* image) {
    if (image == nullptr) {
        return -1;
    }
    if (!image->allocate(m_viewport[2], m_viewport[3])) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvRendererOpenGL::readBackBuffer(): no room for %d x %d pixels.",
            m_viewport[2], m_viewport[3]);
        return -1;
    }
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(m_viewport[0], m_viewport[1], image->width, image->height, GL_RGBA,
                 GL_UNSIGNED_BYTE, image->pixels);
    // GL gives the bottom row first.
    const size_t rowBytes = image->rowBytes();
    for (int top = 0, bottom = image->height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = image->at(0, top);
        uint8_t* b = image->at(0, bottom);
        for (size_t i = 0; i < rowBytes; ++i) {
            const uint8_t kept = a[i];
            a[i] = b[i];
            b[i] = kept;
        }
    }
    return 0;
}
