// Capability detection of the OpenGL renderer. The lines written here keep
// their "OrvRendererOpenGL::" prefixes word for word although the code lives
// in this class now: the log is part of the engine's contract.
#include "opengl/orv_gl_capabilities.h"

#include <cstdio>
#include <cstring>

#include "core/orv_log.h"
#include "render/orv_renderer.h"

OrvGlCapabilities::OrvGlCapabilities() {
    reset();
}

void OrvGlCapabilities::reset() {
    m_majorVersion = 0;
    m_minorVersion = 0;
    m_openGL2 = false;
    m_bufferObjects = false;
    m_arbShaders = false;
    m_gl2Shaders = false;
    m_entryPoints = {};
}

int OrvGlCapabilities::detect(const char* version, const char* extensions,
                              OrvRenderContext* context) {
    reset();
    detectVersion(version);
    if (m_majorVersion < 2 && m_minorVersion < 2) {
        OrvLog::getInstance()->write(
            OrvLog::DEBUG,
            "OrvRendererOpenGL::detectAPIVersion(): OpenGL %d.%d detected. Hey bud, your "
            "graphics board is crippled! If you really wanna do serious realtime 3D, "
            "change it!",
            m_majorVersion, m_minorVersion);
        return OrvRenderer::RESULT_VERSION_TOO_OLD;
    }
    detectBuffers(extensions);
    const unsigned shaders = detectShaders(extensions);
    load(GROUP_RANGE | (m_bufferObjects ? GROUP_BUFFERS : 0) | shaders, context);
    return OrvRenderer::RESULT_OK;
}

void OrvGlCapabilities::detectVersion(const char* version) {
    // A missing string (no current context) is as useless as a malformed one.
    const int converted =
        version != nullptr ? std::sscanf(version, "%d.%d", &m_majorVersion, &m_minorVersion) : 0;
    OrvLog* log = OrvLog::getInstance();
    if (converted != 2) {
        log->write(OrvLog::WARNING,
                   "OrvRendererOpenGL::detectAPIVersion(): OpenGL version string malformed!");
        return;
    }
    log->write(OrvLog::NORMAL,
               "OrvRendererOpenGL::detectAPIVersion(): OpenGL version %d.%d detected.",
               m_majorVersion, m_minorVersion);
    m_openGL2 = m_majorVersion >= 2;
}

int OrvGlCapabilities::hasExtension(const char* extensions, const char* name) {
    if (extensions == nullptr || name == nullptr) {
        return 0;
    }
    return std::strstr(extensions, name) != nullptr ? 1 : 0;
}

void OrvGlCapabilities::detectBuffers(const char* extensions) {
    m_bufferObjects = hasExtension(extensions, "GL_ARB_vertex_buffer_object") == 1;
    OrvLog::getInstance()->write(
        OrvLog::DEBUG,
        m_bufferObjects
            ? "OrvRendererOpenGL::initialize(): vertex_buffer_object supported - very good - "
              "you're ready for high polycount!!!"
            : "OrvRendererOpenGL::initialize(): vertex_buffer_object NOT supported.");
}

unsigned OrvGlCapabilities::detectShaders(const char* extensions) {
    OrvLog* log = OrvLog::getInstance();
    if (hasExtension(extensions, "GL_ARB_shader_objects") &&
        hasExtension(extensions, "GL_ARB_shading_language_100")) {
        m_arbShaders = true;
        log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): GLSL ARB codepath supported.");
    }
    if (m_openGL2) {
        m_gl2Shaders = true;
        log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): GLSL GL2 codepath supported.");
    }
    // Every GPU program operation prefers the GL2 path, so the ARB group is
    // loaded only when it is the one in use.
    if (m_gl2Shaders) {
        return GROUP_GL2;
    }
    if (m_arbShaders) {
        return GROUP_ARB;
    }
    log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): GLSL  NOT supported.");
    return 0;
}

// One row per entry point; without a context nothing can be found, and every
// entry point stays null.
void OrvGlCapabilities::load(unsigned groups, OrvRenderContext* context) {
    struct Row {
        unsigned group;
        const char* name;
        OrvProc* slot;
    };
#define ORV_ENTRY_POINT_ROW(group, type, name) \
    {group, #name, reinterpret_cast<OrvProc*>(&m_entryPoints.name)},
    const Row rows[] = {ORV_GL_ENTRY_POINTS(ORV_ENTRY_POINT_ROW)};
#undef ORV_ENTRY_POINT_ROW
    for (const Row& row : rows) {
        if ((row.group & groups) != 0 && context != nullptr) {
            *row.slot = context->getProcAddress(row.name);
        }
    }
}
