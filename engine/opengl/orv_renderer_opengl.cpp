// Start-up of the OpenGL renderer and its fixed-function operations: render
// states, clears, viewport and matrices, single primitives, light units and
// material colours.
#include "opengl/orv_renderer_opengl.h"

#include <GL/glu.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstring>

#include "render/orv_light_data.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"

// One row of a loading table: the entry point's name and its member.
#define ORV_ENTRY_POINT_ROW(type, name) {#name, reinterpret_cast<OrvProc*>(&name)},

namespace {
constexpr float kNoSpotCone = 180.0f;
constexpr int8_t kUnknown = -1;
constexpr GLenum kClientArrayNames[] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY};

// The OpenGL renderer that exists, for contextChanged.
OrvRendererOpenGL* g_openGLRenderer = nullptr;

bool sameValues(const float* cached, const float* values, int count) {
    return std::memcmp(cached, values, count * sizeof(float)) == 0;
}
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
      viewportHeight(1),
      stateCacheOn(1),
      cache{} {
#define ORV_CLEAR_ENTRY_POINT(type, name, ...) name = nullptr;
    ORV_GLX_SWAP_INTERVAL_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_RANGE_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_BUFFER_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_GL2_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
    ORV_GL_ARB_ENTRY_POINTS(ORV_CLEAR_ENTRY_POINT)
#undef ORV_CLEAR_ENTRY_POINT
    invalidateStateCache();
    g_openGLRenderer = this;
}

// No GL call here: the context may already be gone.
OrvRendererOpenGL::~OrvRendererOpenGL() {
    releaseLightUnits();
    if (g_openGLRenderer == this) {
        g_openGLRenderer = nullptr;
    }
}

void OrvRendererOpenGL::setStateCache(int on) {
    // Disables still waiting for a draw are sent before the cache stops.
    flushClientArrays();
    stateCacheOn = on != 0 ? 1 : 0;
    invalidateStateCache();
}

// Unknown values compare unequal to anything, so each is sent at its next use.
// The client arrays a draw wants stay wanted: a display list compiled between
// setting a mesh's arrays and drawing them invalidates the cache mid-mesh.
void OrvRendererOpenGL::invalidateStateCache() {
    std::memset(cache.capabilities, kUnknown, sizeof(cache.capabilities));
    std::memset(cache.lights, kUnknown, sizeof(cache.lights));
    cache.cullFace = 0;
    cache.frontMode = 0;
    cache.backMode = 0;
    cache.matrixMode = 0;
    cache.modelviewIsView = false;
    ++cache.viewGeneration;
    cache.materialKnown = 0;
    std::memset(cache.lightKnown, 0, sizeof(cache.lightKnown));
    std::memset(cache.arraysEnabled, kUnknown, sizeof(cache.arraysEnabled));
    for (ArrayPointer& pointer : cache.pointers) {
        pointer.known = false;
    }
    cache.arrayBuffer = kUnknown;
    cache.elementBuffer = kUnknown;
    cache.program = kUnknown;
}

void OrvRendererOpenGL::contextChanged() {
    if (g_openGLRenderer != nullptr) {
        g_openGLRenderer->invalidateStateCache();
    }
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
    invalidateStateCache();
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
    switch (capability) {
        case VERTICAL_SYNC:
            setSwapInterval(on ? 1 : 0);
            break;
        case LIGHTING:
            setGlCapability(GL_LIGHTING, cache.capabilities[0], on);
            break;
        case FACE_CULLING:
            setGlCapability(GL_CULL_FACE, cache.capabilities[1], on);
            break;
        case DEPTH_TEST:
            setGlCapability(GL_DEPTH_TEST, cache.capabilities[2], on);
            break;
        default:
            break;
    }
}

void OrvRendererOpenGL::setGlCapability(GLenum capability, int8_t& cached, bool on) {
    const int8_t value = on ? 1 : 0;
    if (cacheOn() && cached == value) {
        return;
    }
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
    cached = value;
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
    const GLenum mode = faceFor(face);
    if (cacheOn() && cache.cullFace == mode) {
        return;
    }
    glCullFace(mode);
    cache.cullFace = mode;
}

void OrvRendererOpenGL::setPolygonMode(int mode, int face) {
    const GLenum glMode = polygonModeFor(mode);
    const GLenum glFace = faceFor(face);
    const bool front = glFace != GL_BACK;
    const bool back = glFace != GL_FRONT;
    if (cacheOn() && (!front || cache.frontMode == glMode) && (!back || cache.backMode == glMode)) {
        return;
    }
    glPolygonMode(glFace, glMode);
    cache.frontMode = front ? glMode : cache.frontMode;
    cache.backMode = back ? glMode : cache.backMode;
}

// The scene brackets every frame with these; OpenGL needs nothing at the
// start of one.
void OrvRendererOpenGL::beginScene() {}

// Client-array disables still waiting for a draw are sent, so that the frame
// leaves the state its calls asked for.
void OrvRendererOpenGL::endScene() {
    flushClientArrays();
}

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

void OrvRendererOpenGL::setMatrixMode(GLenum mode) {
    if (cacheOn() && cache.matrixMode == mode) {
        return;
    }
    glMatrixMode(mode);
    cache.matrixMode = mode;
}

void OrvRendererOpenGL::setProjectionMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    setMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m);
}

void OrvRendererOpenGL::setViewMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
    std::memcpy(viewMatrix, m, sizeof(viewMatrix));
    ++cache.viewGeneration;
    cache.modelviewIsView = true;
}

// Every object starts from the camera's view, so objects never accumulate
// each other's transforms.
void OrvRendererOpenGL::loadViewMatrix() {
    setMatrixMode(GL_MODELVIEW);
    if (cacheOn() && cache.modelviewIsView) {
        return;
    }
    glLoadMatrixf(viewMatrix);
    cache.modelviewIsView = true;
}

void OrvRendererOpenGL::multMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    glMultMatrixf(m);
    if (cache.matrixMode != GL_PROJECTION) {
        cache.modelviewIsView = false;
    }
}

void OrvRendererOpenGL::loadModelViewMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
    cache.modelviewIsView = false;
}

// The view read back is exactly the matrix GL holds, so the modelview is the
// view afterwards.
void OrvRendererOpenGL::lookAt(const float* eye, const float* centre, const float* up) {
    if (eye == nullptr || centre == nullptr || up == nullptr) {
        return;
    }
    setMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    glGetFloatv(GL_MODELVIEW_MATRIX, viewMatrix);
    ++cache.viewGeneration;
    cache.modelviewIsView = true;
}

void OrvRendererOpenGL::setPerspective(float fovY, float aspect, float zNear, float zFar) {
    setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovY, aspect, zNear, zFar);
}

void OrvRendererOpenGL::setOrtho(float left, float right, float bottom, float top, float zNear,
                                 float zFar) {
    setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, zNear, zFar);
}

void OrvRendererOpenGL::drawPoint(const float* position, const float* color, float size) {
    if (position == nullptr || color == nullptr) {
        return;
    }
    flushClientArrays();
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
    flushClientArrays();
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
    flushClientArrays();
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

// Units past the cached ones get a slot that never matches, so their switch
// always reaches GL.
void OrvRendererOpenGL::setLightCapability(int unit, bool on) {
    int8_t uncached = kUnknown;
    setGlCapability(GL_LIGHT0 + unit, unit < kCachedLights ? cache.lights[unit] : uncached, on);
}

void OrvRendererOpenGL::enableLight(OrvLightData* light) {
    if (light == nullptr) {
        return;
    }
    const int unit = lightUnitFor(light);
    if (unit >= 0) {
        setLightCapability(unit, true);
    }
}

void OrvRendererOpenGL::disableLight(OrvLightData* light) {
    if (light == nullptr || light->unit < 0 || light->unit >= lightCount) {
        return;
    }
    const int unit = light->unit;
    setLightCapability(unit, false);
    lightUnits[unit] = 0;
    light->unit = OrvLightData::kNoUnit;
}

void OrvRendererOpenGL::setLightParameter(int unit, int parameter, GLenum name, const float* values,
                                          int count) {
    if (unit < kCachedLights) {
        const uint32_t bit = 1u << parameter;
        float* cached = cache.light[unit][parameter];
        if (cacheOn() && (cache.lightKnown[unit] & bit) != 0 && sameValues(cached, values, count)) {
            return;
        }
        std::memcpy(cached, values, count * sizeof(float));
        cache.lightKnown[unit] |= bit;
    }
    if (count == 1) {
        glLightf(GL_LIGHT0 + unit, name, values[0]);
    } else {
        glLightfv(GL_LIGHT0 + unit, name, values);
    }
}

// GL keeps a light's position and direction as they came out of the modelview
// matrix of the call, so a kept value is only the same under the same view.
void OrvRendererOpenGL::setLightVector(int unit, int parameter, GLenum name, const float* values) {
    if (unit < kCachedLights) {
        const uint32_t bit = 1u << parameter;
        uint32_t& generation = cache.lightGeneration[unit][parameter == LIGHT_POSITION ? 0 : 1];
        float* cached = cache.light[unit][parameter];
        const bool same = (cache.lightKnown[unit] & bit) != 0 &&
                          generation == cache.viewGeneration && sameValues(cached, values, 4);
        if (cacheOn() && cache.modelviewIsView && same) {
            return;
        }
        std::memcpy(cached, values, 4 * sizeof(float));
        generation = cache.viewGeneration;
        cache.lightKnown[unit] =
            cache.modelviewIsView ? cache.lightKnown[unit] | bit : cache.lightKnown[unit] & ~bit;
    }
    glLightfv(GL_LIGHT0 + unit, name, values);
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
    switch (light->type) {
        case OrvLightData::DIRECTIONAL:
            setLightVector(unit, LIGHT_POSITION, GL_POSITION, light->direction);
            setLightParameter(unit, LIGHT_SPOT_CUTOFF, GL_SPOT_CUTOFF, &kNoSpotCone, 1);
            break;
        case OrvLightData::SPOT:
            // Out of range, the unit keeps the cone it had.
            if (light->spotCutoff >= 0.0f && light->spotCutoff <= kMaxSpotCutoff) {
                setLightParameter(unit, LIGHT_SPOT_CUTOFF, GL_SPOT_CUTOFF, &light->spotCutoff, 1);
            }
            setLightVector(unit, LIGHT_POSITION, GL_POSITION, light->position);
            setLightVector(unit, LIGHT_SPOT_DIRECTION, GL_SPOT_DIRECTION, light->direction);
            break;
        default:
            setLightVector(unit, LIGHT_POSITION, GL_POSITION, light->position);
            setLightParameter(unit, LIGHT_SPOT_CUTOFF, GL_SPOT_CUTOFF, &kNoSpotCone, 1);
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
    setLightParameter(unit, LIGHT_AMBIENT, GL_AMBIENT, light->ambient, 4);
    setLightParameter(unit, LIGHT_DIFFUSE, GL_DIFFUSE, light->diffuse, 4);
    setLightParameter(unit, LIGHT_SPECULAR, GL_SPECULAR, light->specular, 4);
    // A directional light is infinitely far: distance attenuation means
    // nothing for it.
    if (light->type == OrvLightData::POINT || light->type == OrvLightData::SPOT) {
        setLightParameter(unit, LIGHT_CONSTANT_ATTENUATION, GL_CONSTANT_ATTENUATION,
                          &light->constantAttenuation, 1);
        setLightParameter(unit, LIGHT_LINEAR_ATTENUATION, GL_LINEAR_ATTENUATION,
                          &light->linearAttenuation, 1);
        setLightParameter(unit, LIGHT_QUADRATIC_ATTENUATION, GL_QUADRATIC_ATTENUATION,
                          &light->quadraticAttenuation, 1);
    }
}

void OrvRendererOpenGL::setMaterialParameter(int parameter, GLenum name, const float* values,
                                             int count) {
    const uint32_t bit = 1u << parameter;
    float* cached = cache.material[parameter];
    if (cacheOn() && (cache.materialKnown & bit) != 0 && sameValues(cached, values, count)) {
        return;
    }
    std::memcpy(cached, values, count * sizeof(float));
    cache.materialKnown |= bit;
    if (count == 1) {
        glMaterialf(GL_FRONT_AND_BACK, name, values[0]);
    } else {
        glMaterialfv(GL_FRONT_AND_BACK, name, values);
    }
}

void OrvRendererOpenGL::applyMaterial(const float* material) {
    if (material == nullptr) {
        return;
    }
    setMaterialParameter(MATERIAL_AMBIENT, GL_AMBIENT, material, 4);
    setMaterialParameter(MATERIAL_DIFFUSE, GL_DIFFUSE, material + 4, 4);
    setMaterialParameter(MATERIAL_SPECULAR, GL_SPECULAR, material + 8, 4);
    setMaterialParameter(MATERIAL_EMISSION, GL_EMISSION, material + 12, 4);
    setMaterialParameter(MATERIAL_SHININESS, GL_SHININESS, material + 16, 1);
}

void OrvRendererOpenGL::bindBuffer(GLenum target, GLuint buffer) {
    int64_t& cached = target == GL_ARRAY_BUFFER_ARB ? cache.arrayBuffer : cache.elementBuffer;
    if (cacheOn() && cached == buffer) {
        return;
    }
    glBindBufferARB(target, buffer);
    cached = buffer;
}

void OrvRendererOpenGL::setClientArray(int array, bool on) {
    cache.arraysWanted[array] = on;
    if (on || !cacheOn()) {
        const int8_t value = on ? 1 : 0;
        if (cacheOn() && cache.arraysEnabled[array] == value) {
            return;
        }
        if (on) {
            glEnableClientState(kClientArrayNames[array]);
        } else {
            glDisableClientState(kClientArrayNames[array]);
        }
        cache.arraysEnabled[array] = value;
    }
}

void OrvRendererOpenGL::flushClientArrays() {
    if (!cacheOn()) {
        return;
    }
    for (int array = 0; array < kClientArrays; ++array) {
        if (!cache.arraysWanted[array] && cache.arraysEnabled[array] != 0) {
            glDisableClientState(kClientArrayNames[array]);
            cache.arraysEnabled[array] = 0;
        }
    }
}

// A pointer is the same only into the same buffer: an offset into one buffer
// is another pointer than the same offset into another, or into client memory.
void OrvRendererOpenGL::setArrayPointer(int array, GLint size, GLsizei stride,
                                        const void* pointer) {
    ArrayPointer& cached = cache.pointers[array];
    const bool bufferKnown = cache.arrayBuffer != kUnknown;
    const GLuint buffer = bufferKnown ? static_cast<GLuint>(cache.arrayBuffer) : 0;
    if (cacheOn() && cached.known && bufferKnown && cached.size == size &&
        cached.stride == stride && cached.pointer == pointer && cached.buffer == buffer) {
        return;
    }
    switch (array) {
        case OrvMeshData::POSITIONS:
            glVertexPointer(size, GL_FLOAT, stride, pointer);
            break;
        case OrvMeshData::COLORS:
            glColorPointer(size, GL_FLOAT, stride, pointer);
            break;
        default:
            glNormalPointer(GL_FLOAT, stride, pointer);
            break;
    }
    cached = {bufferKnown, size, stride, pointer, buffer};
}
