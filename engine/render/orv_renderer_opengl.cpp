// Start-up of the OpenGL renderer and its fixed-function operations: render
// states, clears, viewport and matrices, single primitives, light units and
// material colours.
#include "orv_renderer_opengl.h"

#include <GL/glu.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstring>

#include "orv_light_data.h"
#include "orv_log.h"
#include "orv_memory_allocator.h"
#include "orv_mesh_data.h"

// One row of a loading table: the entry point's name and its member.
#define ORV_ENTRY_POINT_ROW(type, name) {#name, reinterpret_cast<OrvProc*>(&name)},

namespace {
constexpr float kNoSpotCone = 180.0f;
constexpr float kMaxSpotCutoff = 90.0f;

// 1 when name is one of the blank-separated words of list.
bool hasWord(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

GLenum faceFor(int face) {
    switch (face) {
        case OrvRenderer::FRONT_AND_BACK:
            return GL_FRONT_AND_BACK;
        case OrvRenderer::FRONT:
            return GL_FRONT;
        default:
            return GL_BACK;
    }
}

GLenum polygonModeFor(int mode) {
    switch (mode) {
        case OrvRenderer::POINTS:
            return GL_POINT;
        case OrvRenderer::LINES:
            return GL_LINE;
        default:
            return GL_FILL;
    }
}
}  // namespace

OrvRendererOpenGL::OrvRendererOpenGL()
    : hasOpenGL2(0),
      hasBufferObjects(0),
      hasArbShaders(0),
      hasGl2Shaders(0),
      majorVersion(0),
      minorVersion(0),
      lightCount(0),
      lightUnits(nullptr),
      viewMatrix{},
      viewportX(0),
      viewportY(0),
      viewportWidth(0),
      viewportHeight(1) {
#define ORV_CLEAR_ENTRY_POINT(type, name, ...) name = nullptr;
    ORV_GLX_SWAP_INTERVAL_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_RANGE_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_BUFFER_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_GL2_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_ARB_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
#undef ORV_CLEAR_ENTRY_POINT
}

// No GL call here: the context may already be gone.
OrvRendererOpenGL::~OrvRendererOpenGL() {
    releaseLightUnits();
}

int OrvRendererOpenGL::initialize() {
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): in progress...");
    hasOpenGL2 = 0;
    hasBufferObjects = 0;
    hasArbShaders = 0;
    hasGl2Shaders = 0;

    detectAPIVersion();
    if (majorVersion < 2 && minorVersion < 2) {
        log->write(OrvLog::DEBUG,
                   "OrvRendererOpenGL::detectAPIVersion(): OpenGL %d.%d detected. Hey bud, your "
                   "graphics board is crippled! If you really wanna do serious realtime 3D, "
                   "change it!",
                   majorVersion, minorVersion);
        return RESULT_VERSION_TOO_OLD;
    }

    loadSwapInterval();
    const EntryPoint range[] = {ORV_GL_RANGE_ENTRY_POINTS(ORV_ENTRY_POINT_ROW)};
    loadEntryPoints(range);
    loadBufferEntryPoints();
    loadShaderEntryPoints();
    allocateLightUnits();
    glDisable(GL_COLOR_MATERIAL);
    log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): done.");
    return RESULT_OK;
}

int OrvRendererOpenGL::terminate() {
    releaseLightUnits();
    OrvLog::getInstance()->write(OrvLog::DEBUG, "OrvRendererOpenGL::terminate(): done.");
    return 0;
}

void OrvRendererOpenGL::detectAPIVersion() {
    const char* version = queryString(GL_VERSION);
    // A missing string (no current context) is as useless as a malformed one.
    const int converted =
        version != nullptr ? std::sscanf(version, "%d.%d", &majorVersion, &minorVersion) : 0;
    if (converted != 2) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvRendererOpenGL::detectAPIVersion(): OpenGL version string malformed!");
        return;
    }
    OrvLog::getInstance()->write(OrvLog::NORMAL,
                                 "OrvRendererOpenGL::detectAPIVersion(): OpenGL version %d.%d "
                                 "detected.",
                                 majorVersion, minorVersion);
    hasOpenGL2 = majorVersion >= 2 ? 1 : 0;
}

int OrvRendererOpenGL::isExtensionSupported(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    const char* extensions = queryString(GL_EXTENSIONS);
    return extensions != nullptr && std::strstr(extensions, name) != nullptr ? 1 : 0;
}

OrvProc OrvRendererOpenGL::getProcAddress(const char* name) {
    return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
}

const char* OrvRendererOpenGL::queryString(unsigned int name) {
    if (name != kGlxExtensions) {
        return reinterpret_cast<const char*>(glGetString(name));
    }
    Display* display = glXGetCurrentDisplay();
    return display != nullptr ? glXQueryExtensionsString(display, DefaultScreen(display)) : nullptr;
}

template <int N>
void OrvRendererOpenGL::loadEntryPoints(const EntryPoint (&table)[N]) {
    for (const EntryPoint& entry : table) {
        *entry.slot = getProcAddress(entry.name);
    }
}

// Mesa hands out a stub for any name, so the GLX extension string, not a
// non-null pointer, decides which swap-interval entry point exists.
void OrvRendererOpenGL::loadSwapInterval() {
    const char* extensions = queryString(kGlxExtensions);
    if (extensions == nullptr) {
        return;
    }
#define ORV_LOAD_SWAP_INTERVAL(type, name, extension)         \
    if (hasWord(extensions, extension)) {                     \
        name = reinterpret_cast<type>(getProcAddress(#name)); \
        return;                                               \
    }
    ORV_GLX_SWAP_INTERVAL_ENTRY_POINTS(ORV_LOAD_SWAP_INTERVAL)
#undef ORV_LOAD_SWAP_INTERVAL
}

void OrvRendererOpenGL::loadBufferEntryPoints() {
    OrvLog* log = OrvLog::getInstance();
    hasBufferObjects = isExtensionSupported("GL_ARB_vertex_buffer_object");
    if (hasBufferObjects != 1) {
        log->write(OrvLog::DEBUG,
                   "OrvRendererOpenGL::initialize(): vertex_buffer_object NOT supported.");
        return;
    }
    const EntryPoint buffers[] = {ORV_GL_BUFFER_ENTRY_POINTS(ORV_ENTRY_POINT_ROW)};
    loadEntryPoints(buffers);
    log->write(OrvLog::DEBUG,
               "OrvRendererOpenGL::initialize(): vertex_buffer_object supported - very good - "
               "you're ready for high polycount!!!");
}

void OrvRendererOpenGL::loadShaderEntryPoints() {
    OrvLog* log = OrvLog::getInstance();
    if (isExtensionSupported("GL_ARB_shader_objects") &&
        isExtensionSupported("GL_ARB_shading_language_100")) {
        hasArbShaders = 1;
        log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): GLSL ARB codepath supported.");
    }
    if (hasOpenGL2 == 1) {
        hasGl2Shaders = 1;
        log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): GLSL GL2 codepath supported.");
    }
    // Every GPU program operation prefers the GL2 path, so the ARB group is
    // loaded only when it is the one in use.
    if (hasGl2Shaders == 1) {
        const EntryPoint gl2[] = {ORV_GL_GL2_ENTRY_POINTS(ORV_ENTRY_POINT_ROW)};
        loadEntryPoints(gl2);
    } else if (hasArbShaders == 1) {
        const EntryPoint arb[] = {ORV_GL_ARB_ENTRY_POINTS(ORV_ENTRY_POINT_ROW)};
        loadEntryPoints(arb);
    } else {
        log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): GLSL  NOT supported.");
    }
}
#undef ORV_ENTRY_POINT_ROW

void OrvRendererOpenGL::allocateLightUnits() {
    releaseLightUnits();
    GLint count = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &count);
    if (count <= 0) {
        return;
    }
    lightCount = count;
    lightUnits = ORV_NEW int32_t[count];
}

void OrvRendererOpenGL::releaseLightUnits() {
    if (lightUnits != nullptr) {
        ORV_DELETE_ARRAY(lightUnits);
        lightUnits = nullptr;
    }
    lightCount = 0;
}

void OrvRendererOpenGL::enable(int capability) {
    setCapability(capability, true);
}

void OrvRendererOpenGL::disable(int capability) {
    setCapability(capability, false);
}

void OrvRendererOpenGL::setCapability(int capability, bool on) {
    GLenum cap = 0;
    switch (capability) {
        case VERTICAL_SYNC:
            setSwapInterval(on ? 1 : 0);
            return;
        case LIGHTING:
            cap = GL_LIGHTING;
            break;
        case FACE_CULLING:
            cap = GL_CULL_FACE;
            break;
        case DEPTH_TEST:
            cap = GL_DEPTH_TEST;
            break;
        default:
            return;
    }
    if (on) {
        glEnable(cap);
    } else {
        glDisable(cap);
    }
}

void OrvRendererOpenGL::setSwapInterval(int interval) {
    if (glXSwapIntervalEXT != nullptr) {
        Display* display = glXGetCurrentDisplay();
        GLXDrawable drawable = glXGetCurrentDrawable();
        if (display != nullptr && drawable != 0) {
            glXSwapIntervalEXT(display, drawable, interval);
        }
    } else if (glXSwapIntervalMESA != nullptr) {
        glXSwapIntervalMESA(static_cast<unsigned int>(interval));
    } else if (glXSwapIntervalSGI != nullptr && interval > 0) {
        // The SGI extension refuses 0: without another one, vertical sync
        // cannot be switched off again.
        glXSwapIntervalSGI(interval);
    }
}

void OrvRendererOpenGL::applyRenderStates(const int* states) {
    if (states == nullptr) {
        return;
    }
    // Each switch goes through the virtual operations so that a derived
    // renderer sees every change.
    auto apply = [this](int capability, int state) {
        if (state == 1) {
            enable(capability);
        } else {
            disable(capability);
        }
    };
    apply(LIGHTING, states[STATE_LIGHTING]);
    apply(DEPTH_TEST, states[STATE_DEPTH_TEST]);
    apply(FACE_CULLING, states[STATE_FACE_CULLING]);
    setCullFace(states[STATE_CULL_FACE]);
    setPolygonMode(states[STATE_FRONT_POLYGON_MODE], FRONT);
    setPolygonMode(states[STATE_BACK_POLYGON_MODE], BACK);
    apply(RESERVED_CAPABILITY, states[STATE_RESERVED]);
}

void OrvRendererOpenGL::setCullFace(int face) {
    glCullFace(faceFor(face));
}

void OrvRendererOpenGL::setPolygonMode(int mode, int face) {
    glPolygonMode(faceFor(face), polygonModeFor(mode));
}

// The scene brackets every frame with these; OpenGL needs nothing there.
void OrvRendererOpenGL::beginScene() {}

void OrvRendererOpenGL::endScene() {}

void OrvRendererOpenGL::clearDepthBuffer(float depth) {
    glClearDepth(depth);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void OrvRendererOpenGL::clearColorBuffer(float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void OrvRendererOpenGL::setViewport(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    viewportX = x;
    viewportY = y;
    viewportWidth = width;
    viewportHeight = height;
}

void OrvRendererOpenGL::setProjectionMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m);
}

void OrvRendererOpenGL::setViewMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
    std::memcpy(viewMatrix, m, sizeof(viewMatrix));
}

// Every object starts from the camera's view, so objects never accumulate
// each other's transforms.
void OrvRendererOpenGL::loadViewMatrix() {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(viewMatrix);
}

void OrvRendererOpenGL::multMatrix(const float* m) {
    if (m != nullptr) {
        glMultMatrixf(m);
    }
}

void OrvRendererOpenGL::loadModelViewMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
}

void OrvRendererOpenGL::lookAt(const float* eye, const float* centre, const float* up) {
    if (eye == nullptr || centre == nullptr || up == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    glGetFloatv(GL_MODELVIEW_MATRIX, viewMatrix);
}

void OrvRendererOpenGL::setPerspective(float fovY, float aspect, float zNear, float zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovY, aspect, zNear, zFar);
}

void OrvRendererOpenGL::setOrtho(float left, float right, float bottom, float top, float zNear,
                                 float zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, zNear, zFar);
}

void OrvRendererOpenGL::drawPoint(const float* position, const float* color, float size) {
    if (position == nullptr || color == nullptr) {
        return;
    }
    glPointSize(size);
    glBegin(GL_POINTS);
    glColor4fv(color);
    glVertex4fv(position);
    glEnd();
}

void OrvRendererOpenGL::drawTriangle(const OrvMeshData* mesh) {
    if (mesh == nullptr || mesh->vertexCount < 3 ||
        mesh->attributes[OrvMeshData::POSITIONS] == nullptr ||
        mesh->attributes[OrvMeshData::COLORS] == nullptr) {
        return;
    }
    glBegin(GL_TRIANGLES);
    for (int v = 0; v < 3; ++v) {
        glColor4fv(mesh->attributes[OrvMeshData::COLORS][v]);
        glVertex4fv(mesh->attributes[OrvMeshData::POSITIONS][v]);
    }
    glEnd();
}

void OrvRendererOpenGL::drawLine(const float* line) {
    if (line == nullptr) {
        return;
    }
    glBegin(GL_LINES);
    glColor4fv(line + 8);
    glVertex4fv(line);
    glColor4fv(line + 12);
    glVertex4fv(line + 4);
    glEnd();
}

int OrvRendererOpenGL::lightUnitFor(OrvLightData* light) {
    if (light->unit == OrvLightData::kNoUnit) {
        for (int unit = 0; unit < lightCount; ++unit) {
            if (lightUnits[unit] == 0) {
                lightUnits[unit] = 1;
                light->unit = unit;
                break;
            }
        }
    }
    // A unit this renderer never handed out (a stale record) is not used.
    return light->unit >= 0 && light->unit < lightCount ? light->unit : -1;
}

void OrvRendererOpenGL::enableLight(OrvLightData* light) {
    if (light == nullptr) {
        return;
    }
    const int unit = lightUnitFor(light);
    if (unit >= 0) {
        glEnable(GL_LIGHT0 + unit);
    }
}

void OrvRendererOpenGL::disableLight(OrvLightData* light) {
    if (light == nullptr || light->unit < 0 || light->unit >= lightCount) {
        return;
    }
    glDisable(GL_LIGHT0 + light->unit);
    lightUnits[light->unit] = 0;
    light->unit = OrvLightData::kNoUnit;
}

// Position and direction pass through the modelview matrix current now; the
// light loads the view matrix just before.
void OrvRendererOpenGL::setLightPosition(OrvLightData* light) {
    if (light == nullptr) {
        return;
    }
    const int unit = lightUnitFor(light);
    if (unit < 0) {
        return;
    }
    const GLenum id = GL_LIGHT0 + unit;
    switch (light->type) {
        case OrvLightData::DIRECTIONAL:
            glLightfv(id, GL_POSITION, light->direction);
            glLightf(id, GL_SPOT_CUTOFF, kNoSpotCone);
            break;
        case OrvLightData::SPOT:
            // Out of range, the unit keeps the cone it had.
            if (light->spotCutoff >= 0.0f && light->spotCutoff <= kMaxSpotCutoff) {
                glLightf(id, GL_SPOT_CUTOFF, light->spotCutoff);
            }
            glLightfv(id, GL_POSITION, light->position);
            glLightfv(id, GL_SPOT_DIRECTION, light->direction);
            break;
        default:
            glLightfv(id, GL_POSITION, light->position);
            glLightf(id, GL_SPOT_CUTOFF, kNoSpotCone);
            break;
    }
}

void OrvRendererOpenGL::setLightColors(OrvLightData* light) {
    if (light == nullptr) {
        return;
    }
    const int unit = lightUnitFor(light);
    if (unit < 0) {
        return;
    }
    const GLenum id = GL_LIGHT0 + unit;
    glLightfv(id, GL_AMBIENT, light->ambient);
    glLightfv(id, GL_DIFFUSE, light->diffuse);
    glLightfv(id, GL_SPECULAR, light->specular);
    // A directional light is infinitely far: distance attenuation means
    // nothing for it.
    if (light->type == OrvLightData::POINT || light->type == OrvLightData::SPOT) {
        glLightf(id, GL_CONSTANT_ATTENUATION, light->constantAttenuation);
        glLightf(id, GL_LINEAR_ATTENUATION, light->linearAttenuation);
        glLightf(id, GL_QUADRATIC_ATTENUATION, light->quadraticAttenuation);
    }
}

void OrvRendererOpenGL::applyMaterial(const float* material) {
    if (material == nullptr) {
        return;
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material + 4);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material + 8);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material + 12);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material[16]);
}
