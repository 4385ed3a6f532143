// Start-up of the OpenGL renderer and its fixed-function operations: render
// states, clears, viewport and matrices, single primitives, light units and
// material colours.
#include "opengl/orv_renderer_opengl.h"

#include <GL/glu.h>

#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_light_data.h"
#include "render/orv_mesh_data.h"
#include "render/orv_render_context.h"

namespace {
constexpr float kNoSpotCone = 180.0f;
constexpr float kMaxSpotCutoff = 90.0f;

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
    : m_texturedUnits(0),
      m_context(nullptr),
      m_lightCount(0),
      m_lightUnits(nullptr),
      m_viewMatrix{},
      m_viewport{0, 0, 0, 1} {}

// No GL call here: the context may already be gone.
OrvRendererOpenGL::~OrvRendererOpenGL() {
    releaseLightUnits();
}

void OrvRendererOpenGL::setContext(OrvRenderContext* context) {
    m_context = context;
    m_cache.invalidate();
}

void OrvRendererOpenGL::setStateCache(int on) {
    // Disables still waiting for a draw are sent before the cache stops.
    flushClientArrays();
    m_cache.setOn(on != 0);
}

void OrvRendererOpenGL::invalidateStateCache() {
    m_cache.invalidate();
}

int OrvRendererOpenGL::initialize() {
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::DEBUG, "OrvRendererOpenGL::initialize(): in progress...");
    m_textureCapabilities.reset();
    m_texturedUnits = 0;
    // Without a current context the driver answers no query at all: the
    // call came before the program made its context current, which no
    // version string could say.
    if (glGetString(GL_VERSION) == nullptr) {
        log->write(OrvLog::WARNING,
                   "OrvRendererOpenGL::initialize(): no OpenGL context is current.");
        return -1;
    }
    const int result =
        m_capabilities.detect(queryString(GL_VERSION), queryString(GL_EXTENSIONS), m_context);
    if (result != RESULT_OK) {
        return result;
    }
    allocateLightUnits();
    m_cache.invalidate();
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
    m_capabilities.detectVersion(queryString(GL_VERSION));
}

int OrvRendererOpenGL::isExtensionSupported(const char* name) {
    return OrvGlCapabilities::hasExtension(queryString(GL_EXTENSIONS), name);
}

OrvProc OrvRendererOpenGL::getProcAddress(const char* name) {
    return m_context != nullptr ? m_context->getProcAddress(name) : nullptr;
}

const char* OrvRendererOpenGL::queryString(unsigned int name) {
    return reinterpret_cast<const char*>(glGetString(name));
}

void OrvRendererOpenGL::allocateLightUnits() {
    releaseLightUnits();
    GLint count = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &count);
    if (count <= 0) {
        return;
    }
    m_lightCount = count;
    m_lightUnits = ORV_NEW int32_t[count];
}

void OrvRendererOpenGL::releaseLightUnits() {
    if (m_lightUnits != nullptr) {
        ORV_DELETE_ARRAY(m_lightUnits);
        m_lightUnits = nullptr;
    }
    m_lightCount = 0;
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
            setGlSwitch(GL_LIGHTING, m_cache.changeSwitch(OrvGlStateCache::SWITCH_LIGHTING, on),
                        on);
            break;
        case FACE_CULLING:
            setGlSwitch(GL_CULL_FACE,
                        m_cache.changeSwitch(OrvGlStateCache::SWITCH_FACE_CULLING, on), on);
            break;
        case DEPTH_TEST:
            setGlSwitch(GL_DEPTH_TEST, m_cache.changeSwitch(OrvGlStateCache::SWITCH_DEPTH_TEST, on),
                        on);
            break;
        default:
            break;
    }
}

void OrvRendererOpenGL::setGlSwitch(GLenum capability, bool changed, bool on) {
    if (!changed) {
        return;
    }
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// The context knows its window system's way to the swap interval; without a
// context, or without a way, vertical sync is a switch without effect.
void OrvRendererOpenGL::setSwapInterval(int interval) {
    if (m_context != nullptr) {
        m_context->setSwapInterval(interval);
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
    if (m_cache.changeCullFace(mode)) {
        glCullFace(mode);
    }
}

void OrvRendererOpenGL::setPolygonMode(int mode, int face) {
    const GLenum glMode = polygonModeFor(mode);
    const GLenum glFace = faceFor(face);
    if (m_cache.changePolygonMode(glFace, glMode)) {
        glPolygonMode(glFace, glMode);
    }
}

// The cache forgets everything at the start of a frame: whatever the program
// did to GL between frames, each value is sent again at its first use.
void OrvRendererOpenGL::beginScene() {
    m_cache.invalidate();
}

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
    // GL refuses a negative size with an error nobody would read, and the
    // text placement would go on from a rectangle GL never had.
    if (width < 0 || height < 0) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRendererOpenGL::setViewport(): negative size %d x %d "
                                     "refused; the viewport stays as it was.",
                                     width, height);
        return;
    }
    glViewport(x, y, width, height);
    m_viewport[0] = x;
    m_viewport[1] = y;
    m_viewport[2] = width;
    m_viewport[3] = height;
}

// The matrix operations below set their matrix mode and load every time: a
// load is what the caller wants in place now, whatever GL calls came between.

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
    std::memcpy(m_viewMatrix, m, sizeof(m_viewMatrix));
    m_cache.viewLoaded(true);
}

// Every object starts from the camera's view, so objects never accumulate
// each other's transforms.
void OrvRendererOpenGL::loadViewMatrix() {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m_viewMatrix);
    m_cache.viewLoaded(false);
}

// Whichever matrix is current, the modelview may no longer be the view.
void OrvRendererOpenGL::multMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    glMultMatrixf(m);
    m_cache.modelviewChanged();
}

void OrvRendererOpenGL::loadModelViewMatrix(const float* m) {
    if (m == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
    m_cache.modelviewChanged();
}

// The view read back is exactly the matrix GL holds, so the modelview is the
// view afterwards.
void OrvRendererOpenGL::lookAt(const float* eye, const float* centre, const float* up) {
    if (eye == nullptr || centre == nullptr || up == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    glGetFloatv(GL_MODELVIEW_MATRIX, m_viewMatrix);
    m_cache.viewLoaded(true);
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
        for (int unit = 0; unit < m_lightCount; ++unit) {
            if (m_lightUnits[unit] == 0) {
                m_lightUnits[unit] = 1;
                light->unit = unit;
                break;
            }
        }
    }
    // A unit this renderer never handed out (a stale record) is not used.
    return light->unit >= 0 && light->unit < m_lightCount ? light->unit : -1;
}

void OrvRendererOpenGL::setLightCapability(int unit, bool on) {
    setGlSwitch(GL_LIGHT0 + unit, m_cache.changeLightSwitch(unit, on), on);
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
    if (light == nullptr || light->unit < 0 || light->unit >= m_lightCount) {
        return;
    }
    const int unit = light->unit;
    setLightCapability(unit, false);
    m_lightUnits[unit] = 0;
    light->unit = OrvLightData::kNoUnit;
}

void OrvRendererOpenGL::setLightParameter(int unit, OrvGlStateCache::LightParameter parameter,
                                          GLenum name, const float* values, int count) {
    if (!m_cache.changeLightParameter(unit, parameter, values, count)) {
        return;
    }
    if (count == 1) {
        glLightf(GL_LIGHT0 + unit, name, values[0]);
    } else {
        glLightfv(GL_LIGHT0 + unit, name, values);
    }
}

void OrvRendererOpenGL::setLightVector(int unit, OrvGlStateCache::LightParameter parameter,
                                       GLenum name, const float* values) {
    if (m_cache.changeLightVector(unit, parameter, values)) {
        glLightfv(GL_LIGHT0 + unit, name, values);
    }
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
            setLightVector(unit, OrvGlStateCache::LIGHT_POSITION, GL_POSITION, light->direction);
            setLightParameter(unit, OrvGlStateCache::LIGHT_SPOT_CUTOFF, GL_SPOT_CUTOFF,
                              &kNoSpotCone, 1);
            break;
        case OrvLightData::SPOT:
            // Out of range, the unit keeps the cone it had.
            if (light->spotCutoff >= 0.0f && light->spotCutoff <= kMaxSpotCutoff) {
                setLightParameter(unit, OrvGlStateCache::LIGHT_SPOT_CUTOFF, GL_SPOT_CUTOFF,
                                  &light->spotCutoff, 1);
            }
            setLightVector(unit, OrvGlStateCache::LIGHT_POSITION, GL_POSITION, light->position);
            setLightVector(unit, OrvGlStateCache::LIGHT_SPOT_DIRECTION, GL_SPOT_DIRECTION,
                           light->direction);
            break;
        default:
            setLightVector(unit, OrvGlStateCache::LIGHT_POSITION, GL_POSITION, light->position);
            setLightParameter(unit, OrvGlStateCache::LIGHT_SPOT_CUTOFF, GL_SPOT_CUTOFF,
                              &kNoSpotCone, 1);
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
    setLightParameter(unit, OrvGlStateCache::LIGHT_AMBIENT, GL_AMBIENT, light->ambient, 4);
    setLightParameter(unit, OrvGlStateCache::LIGHT_DIFFUSE, GL_DIFFUSE, light->diffuse, 4);
    setLightParameter(unit, OrvGlStateCache::LIGHT_SPECULAR, GL_SPECULAR, light->specular, 4);
    // A directional light is infinitely far: distance attenuation means
    // nothing for it.
    if (light->type == OrvLightData::POINT || light->type == OrvLightData::SPOT) {
        setLightParameter(unit, OrvGlStateCache::LIGHT_CONSTANT_ATTENUATION,
                          GL_CONSTANT_ATTENUATION, &light->constantAttenuation, 1);
        setLightParameter(unit, OrvGlStateCache::LIGHT_LINEAR_ATTENUATION, GL_LINEAR_ATTENUATION,
                          &light->linearAttenuation, 1);
        setLightParameter(unit, OrvGlStateCache::LIGHT_QUADRATIC_ATTENUATION,
                          GL_QUADRATIC_ATTENUATION, &light->quadraticAttenuation, 1);
    }
}

void OrvRendererOpenGL::setMaterialParameter(OrvGlStateCache::MaterialParameter parameter,
                                             GLenum name, const float* values, int count) {
    if (!m_cache.changeMaterial(parameter, values, count)) {
        return;
    }
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
    setMaterialParameter(OrvGlStateCache::MATERIAL_AMBIENT, GL_AMBIENT, material, 4);
    setMaterialParameter(OrvGlStateCache::MATERIAL_DIFFUSE, GL_DIFFUSE, material + 4, 4);
    setMaterialParameter(OrvGlStateCache::MATERIAL_SPECULAR, GL_SPECULAR, material + 8, 4);
    setMaterialParameter(OrvGlStateCache::MATERIAL_EMISSION, GL_EMISSION, material + 12, 4);
    setMaterialParameter(OrvGlStateCache::MATERIAL_SHININESS, GL_SHININESS, material + 16, 1);
}
