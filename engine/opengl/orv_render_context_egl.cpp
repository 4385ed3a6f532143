// The EGL render context. Every step of create that can fail names what was
// missing in one WARNING line, because on a server without a display that
// line is all a user has to go on.
#include "opengl/orv_render_context_egl.h"

// The EGL headers would otherwise pull in Xlib for the native types.
#define EGL_NO_X11
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <fcntl.h>
#include <gbm.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/orv_log.h"
#include "render/orv_window_info.h"

namespace {

const char kSurfaceless[] = "surfaceless";
const char kGbm[] = "gbm";
// DRM numbers its render nodes from 128, at most 64 of them.
constexpr int kFirstRenderNode = 128;
constexpr int kRenderNodeCount = 64;
constexpr int kMaxConfigs = 64;
// The largest sizes the framebuffer object path asks of its renderbuffers.
constexpr int kFramebufferDepthBits = 24;
constexpr int kFramebufferStencilBits = 8;

// Every EGL display of the surfaceless platform is the same one, so several
// contexts share it and the last one to go terminates it.
int g_surfacelessUsers = 0;

// True when name is one of the blank-separated words of list.
bool listHas(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    while (list != nullptr && *list != '\0') {
        list += std::strspn(list, " ");
        const size_t word = std::strcspn(list, " ");
        if (word == length && std::strncmp(list, name, length) == 0) {
            return true;
        }
        list += word;
    }
    return false;
}

// glvnd's libEGL and Mesa's both export it, but only as an extension.
EGLDisplay platformDisplay(EGLenum platform, void* native) {
    auto get = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    return get != nullptr ? get(platform, native, nullptr) : EGL_NO_DISPLAY;
}

int configValue(EGLDisplay display, EGLConfig config, EGLint name) {
    EGLint value = 0;
    eglGetConfigAttrib(display, config, name, &value);
    return value;
}

// The entry points of the framebuffer object path, from OpenGL 3.0 or
// GL_ARB_framebuffer_object.
struct FramebufferProcs {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
};

FramebufferProcs loadFramebufferProcs() {
    FramebufferProcs procs;
    procs.genFramebuffers =
        reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(eglGetProcAddress("glGenFramebuffers"));
    procs.bindFramebuffer =
        reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
    procs.genRenderbuffers =
        reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(eglGetProcAddress("glGenRenderbuffers"));
    procs.bindRenderbuffer =
        reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(eglGetProcAddress("glBindRenderbuffer"));
    procs.renderbufferStorage =
        reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(eglGetProcAddress("glRenderbufferStorage"));
    procs.framebufferRenderbuffer = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(
        eglGetProcAddress("glFramebufferRenderbuffer"));
    procs.checkFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(
        eglGetProcAddress("glCheckFramebufferStatus"));
    return procs;
}

// One renderbuffer of format attached to the bound framebuffer at attachment.
void attachRenderbuffer(const FramebufferProcs& procs, GLenum attachment, GLenum format, int width,
                        int height) {
    GLuint renderbuffer = 0;
    procs.genRenderbuffers(1, &renderbuffer);
    procs.bindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    procs.renderbufferStorage(GL_RENDERBUFFER, format, width, height);
    procs.framebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, renderbuffer);
}

}  // namespace

OrvRenderContextEGL::OrvRenderContextEGL()
    : m_display(EGL_NO_DISPLAY),
      m_config(nullptr),
      m_context(EGL_NO_CONTEXT),
      m_surface(EGL_NO_SURFACE),
      m_gbm(nullptr),
      m_gbmFile(-1),
      m_framebuffer(0),
      m_width(0),
      m_height(0),
      m_depthBits(0),
      m_stencilBits(0),
      m_platformName(""),
      m_failure{} {}

OrvRenderContextEGL::~OrvRenderContextEGL() {
    destroy();
}

const char* OrvRenderContextEGL::clientExtensions() {
    return eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
}

int OrvRenderContextEGL::fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_failure, sizeof(m_failure), format, args);
    va_end(args);
    OrvLog::getInstance()->write(OrvLog::WARNING, "OrvRenderContextEGL::create(): %s", m_failure);
    destroy();
    return -1;
}

int OrvRenderContextEGL::create(OrvWindowInfo* window) {
    if (window == nullptr) {
        return -1;
    }
    // A second create replaces the first instead of losing its EGL objects.
    destroy();
    m_failure[0] = '\0';
    if (window->width <= 0 || window->height <= 0) {
        return fail("size %dx%d: an offscreen frame needs at least 1x1 pixels.", window->width,
                    window->height);
    }
    m_width = window->width;
    m_height = window->height;
    m_depthBits = std::max(0, window->depthBits);
    m_stencilBits = std::max(0, window->stencilBits);
    if (openDisplay() != 0 || chooseConfig(*window) != 0 || createContext() != 0) {
        return -1;
    }
    return drawsIntoPbuffer() ? createPbuffer() : createFramebuffer();
}

// Surfaceless first: it needs no device at all. GBM needs a DRM render node.
int OrvRenderContextEGL::openDisplay() {
    const char* extensions = clientExtensions();
    if (extensions == nullptr || !listHas(extensions, "EGL_EXT_platform_base")) {
        return fail(
            "no EGL implementation: the EGL library offers no platform displays "
            "(EGL_EXT_platform_base).");
    }
    if (openSurfaceless(extensions) == 0 || openGbm(extensions) == 0) {
        return 0;
    }
    return fail(
        "neither the surfaceless platform (EGL_MESA_platform_surfaceless) nor a GBM "
        "device (EGL_MESA_platform_gbm on a render node under /dev/dri) could be opened.");
}

int OrvRenderContextEGL::openSurfaceless(const char* extensions) {
    OrvLog* log = OrvLog::getInstance();
    if (!listHas(extensions, "EGL_MESA_platform_surfaceless")) {
        log->write(OrvLog::DEBUG,
                   "OrvRenderContextEGL::create(): EGL offers no surfaceless platform "
                   "(EGL_MESA_platform_surfaceless).");
        return -1;
    }
    log->write(OrvLog::DEBUG, "OrvRenderContextEGL::create(): trying the surfaceless platform.");
    EGLDisplay display = platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY);
    if (initializeDisplay(display, kSurfaceless) != 0) {
        return -1;
    }
    ++g_surfacelessUsers;
    return 0;
}

int OrvRenderContextEGL::openGbm(const char* extensions) {
    OrvLog* log = OrvLog::getInstance();
    if (!listHas(extensions, "EGL_MESA_platform_gbm") &&
        !listHas(extensions, "EGL_KHR_platform_gbm")) {
        log->write(OrvLog::DEBUG,
                   "OrvRenderContextEGL::create(): EGL offers no GBM platform "
                   "(EGL_MESA_platform_gbm).");
        return -1;
    }
    char path[32] = "";
    for (int node = 0; node < kRenderNodeCount && m_gbmFile < 0; ++node) {
        std::snprintf(path, sizeof(path), "/dev/dri/renderD%d", kFirstRenderNode + node);
        m_gbmFile = open(path, O_RDWR | O_CLOEXEC);
    }
    if (m_gbmFile < 0) {
        log->write(OrvLog::DEBUG,
                   "OrvRenderContextEGL::create(): no GBM device: no render node under "
                   "/dev/dri could be opened.");
        return -1;
    }
    log->write(OrvLog::DEBUG, "OrvRenderContextEGL::create(): trying a GBM device on %s.", path);
    m_gbm = gbm_create_device(m_gbmFile);
    EGLDisplay display =
        m_gbm != nullptr ? platformDisplay(EGL_PLATFORM_GBM_MESA, m_gbm) : EGL_NO_DISPLAY;
    return initializeDisplay(display, kGbm);
}

int OrvRenderContextEGL::initializeDisplay(void* display, const char* platformName) {
    OrvLog* log = OrvLog::getInstance();
    EGLint major = 0;
    EGLint minor = 0;
    if (display == EGL_NO_DISPLAY || eglInitialize(display, &major, &minor) != EGL_TRUE) {
        log->write(OrvLog::DEBUG,
                   "OrvRenderContextEGL::create(): the %s platform did not initialise (EGL "
                   "error 0x%x).",
                   platformName, static_cast<unsigned int>(eglGetError()));
        return -1;
    }
    m_display = display;
    m_platformName = platformName;
    log->write(OrvLog::DEBUG, "OrvRenderContextEGL::create(): took the %s platform, EGL %d.%d.",
               platformName, major, minor);
    return 0;
}

// The surfaceless platform draws into a pbuffer and needs a config for one;
// on GBM the framebuffer object brings its own buffers. Among the configs
// with at least the bits asked for, the first with exactly the colour
// channels asked for is taken, as GLX would choose.
int OrvRenderContextEGL::chooseConfig(const OrvWindowInfo& window) {
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        return fail("EGL offers no desktop OpenGL (eglBindAPI(EGL_OPENGL_API) failed).");
    }
    const bool pbuffer = drawsIntoPbuffer();
    const int channelBits = std::min(8, std::max(0, window.colorBits) / 3);
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 pbuffer ? EGL_PBUFFER_BIT : 0,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 channelBits,
                                 EGL_GREEN_SIZE,
                                 channelBits,
                                 EGL_BLUE_SIZE,
                                 channelBits,
                                 EGL_DEPTH_SIZE,
                                 pbuffer ? m_depthBits : 0,
                                 EGL_STENCIL_SIZE,
                                 pbuffer ? m_stencilBits : 0,
                                 EGL_NONE};
    EGLConfig configs[kMaxConfigs];
    EGLint count = 0;
    eglChooseConfig(m_display, attributes, configs, kMaxConfigs, &count);
    for (EGLint i = 0; i < count && m_config == nullptr; ++i) {
        const bool exact = channelBits == 0 ||
                           (configValue(m_display, configs[i], EGL_RED_SIZE) == channelBits &&
                            configValue(m_display, configs[i], EGL_GREEN_SIZE) == channelBits &&
                            configValue(m_display, configs[i], EGL_BLUE_SIZE) == channelBits);
        m_config = exact ? configs[i] : nullptr;
    }
    if (m_config == nullptr) {
        return fail("no desktop OpenGL config with %d colour, %d depth and %d stencil bits.",
                    window.colorBits, m_depthBits, m_stencilBits);
    }
    return 0;
}

// The compatibility profile keeps the fixed-function pipeline the renderer
// draws with.
int OrvRenderContextEGL::createContext() {
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    m_context = eglCreateContext(m_display, m_config, EGL_NO_CONTEXT, attributes);
    if (m_context == EGL_NO_CONTEXT) {
        return fail("EGL made no desktop OpenGL compatibility-profile context (EGL error 0x%x).",
                    static_cast<unsigned int>(eglGetError()));
    }
    return 0;
}

int OrvRenderContextEGL::createPbuffer() {
    const int maxWidth = configValue(m_display, m_config, EGL_MAX_PBUFFER_WIDTH);
    const int maxHeight = configValue(m_display, m_config, EGL_MAX_PBUFFER_HEIGHT);
    if (m_width > maxWidth || m_height > maxHeight) {
        return fail("size %dx%d is over the driver's limit of %dx%d.", m_width, m_height, maxWidth,
                    maxHeight);
    }
    const EGLint attributes[] = {EGL_WIDTH, m_width, EGL_HEIGHT, m_height, EGL_NONE};
    m_surface = eglCreatePbufferSurface(m_display, m_config, attributes);
    if (m_surface == EGL_NO_SURFACE) {
        return fail("EGL made no %dx%d pbuffer (EGL error 0x%x).", m_width, m_height,
                    static_cast<unsigned int>(eglGetError()));
    }
    if (eglMakeCurrent(m_display, m_surface, m_surface, m_context) != EGL_TRUE) {
        return fail("the context could not be made current on its pbuffer (EGL error 0x%x).",
                    static_cast<unsigned int>(eglGetError()));
    }
    return 0;
}

// Without a surface the context needs EGL_KHR_surfaceless_context to be made
// current; its frame is then a framebuffer object that stays bound.
int OrvRenderContextEGL::createFramebuffer() {
    if (eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) != EGL_TRUE) {
        return fail("the context could not be made current without a surface (EGL error 0x%x).",
                    static_cast<unsigned int>(eglGetError()));
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (m_width > maxSize || m_height > maxSize) {
        return fail("size %dx%d is over the driver's limit of %dx%d.", m_width, m_height, maxSize,
                    maxSize);
    }
    if (m_depthBits > kFramebufferDepthBits || m_stencilBits > kFramebufferStencilBits) {
        return fail("no framebuffer object with %d depth and %d stencil bits.", m_depthBits,
                    m_stencilBits);
    }
    const FramebufferProcs procs = loadFramebufferProcs();
    if (procs.genFramebuffers == nullptr || procs.checkFramebufferStatus == nullptr) {
        return fail("the OpenGL context has no framebuffer objects.");
    }
    procs.genFramebuffers(1, &m_framebuffer);
    procs.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    attachRenderbuffer(procs, GL_COLOR_ATTACHMENT0, GL_RGBA8, m_width, m_height);
    if (m_depthBits > 0 || m_stencilBits > 0) {
        attachRenderbuffer(procs, GL_DEPTH_STENCIL_ATTACHMENT, GL_DEPTH24_STENCIL8, m_width,
                           m_height);
    }
    if (procs.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        return fail("the %dx%d framebuffer object is incomplete.", m_width, m_height);
    }
    return 0;
}

bool OrvRenderContextEGL::drawsIntoPbuffer() const {
    return onSurfaceless();
}

bool OrvRenderContextEGL::onSurfaceless() const {
    return std::strcmp(m_platformName, kSurfaceless) == 0;
}

int OrvRenderContextEGL::destroy() {
    const bool held = m_display != EGL_NO_DISPLAY || m_gbmFile >= 0;
    if (m_display != EGL_NO_DISPLAY) {
        releaseDisplay();
    }
    // A GBM device whose display did not initialise is released here too.
    if (m_gbm != nullptr) {
        gbm_device_destroy(m_gbm);
        m_gbm = nullptr;
    }
    if (m_gbmFile >= 0) {
        close(m_gbmFile);
        m_gbmFile = -1;
    }
    return held ? 0 : -1;
}

void OrvRenderContextEGL::releaseDisplay() {
    // Another context of the application may be current; only ours is
    // released. The framebuffer object goes with its context.
    if (eglGetCurrentContext() == m_context) {
        eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    if (m_context != EGL_NO_CONTEXT) {
        eglDestroyContext(m_display, m_context);
    }
    if (m_surface != EGL_NO_SURFACE) {
        eglDestroySurface(m_display, m_surface);
    }
    const bool shared = onSurfaceless() && --g_surfacelessUsers > 0;
    if (!shared) {
        eglTerminate(m_display);
    }
    m_display = EGL_NO_DISPLAY;
    m_config = nullptr;
    m_context = EGL_NO_CONTEXT;
    m_surface = EGL_NO_SURFACE;
    m_framebuffer = 0;
    m_platformName = "";
}

void OrvRenderContextEGL::makeCurrent() {
    if (m_context == EGL_NO_CONTEXT) {
        return;
    }
    eglMakeCurrent(m_display, m_surface, m_surface, m_context);
}

void OrvRenderContextEGL::swapBuffers() {
    if (m_context != EGL_NO_CONTEXT && eglGetCurrentContext() == m_context) {
        glFinish();
    }
}

OrvProc OrvRenderContextEGL::getProcAddress(const char* name) {
    return name != nullptr ? eglGetProcAddress(name) : nullptr;
}

bool OrvRenderContextEGL::setSwapInterval(int) {
    return false;
}
