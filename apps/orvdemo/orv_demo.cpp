#include "orv_demo.h"

#include <limits.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const char kVertexShaderPath[] = "data/twister_vs.glsl";
const char kPixelShaderPath[] = "data/twister_ps.glsl";
const char kBoxMaterial[] = "mat_box";

const float kDegreesToRadians = 0.017453292f;
const float kMouseDegreesPerPixel = 0.1f;
const float kPitchLimit = 80.0f;
const float kCoastDamping = 0.9f;

struct LightSetup {
    const char* name;
    float diffuse[4];
    float position[4];
};

const float kLightAmbient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
const float kLightSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const LightSetup kLights[] = {
    {"light1", {1.0f, 0.2f, 0.2f, 1.0f}, {0.0f, 140.0f, 60.0f, 1.0f}},
    {"light2", {0.2f, 0.2f, 1.0f, 1.0f}, {-50.0f, 40.0f, 60.0f, 1.0f}},
    {"light3", {0.2f, 1.0f, 0.2f, 1.0f}, {50.0f, 40.0f, 60.0f, 1.0f}},
};

OrvVector4 vector4(float x, float y, float z, float w) {
    OrvVector4 v;
    v.set(x, y, z, w);
    return v;
}

std::string executableDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return std::string();
    }
    path[length] = '\0';
    std::string directory(path);
    return directory.substr(0, directory.rfind('/'));
}

// The data files are looked up in the current directory first, so that a
// copy next to the user's work wins; then next to the executable, so that the
// built program runs from anywhere; then in the installed tree's share folder
// (ORVDEMO_INSTALLED_DATA, relative to the executable's folder). When none
// exists the relative path is kept, so that the loader's warning names the
// path the scene asks for.
std::string findDataFile(const char* relativePath) {
    if (access(relativePath, R_OK) == 0) {
        return relativePath;
    }
    const std::string directory = executableDirectory();
    for (const std::string& candidate :
         {directory + "/" + relativePath,
          directory + "/" + ORVDEMO_INSTALLED_DATA + "/" + relativePath}) {
        if (access(candidate.c_str(), R_OK) == 0) {
            return candidate;
        }
    }
    return relativePath;
}

int unpackX(int32_t position) {
    return static_cast<int16_t>(static_cast<uint32_t>(position) & 0xFFFFu);
}

int unpackY(int32_t position) {
    return static_cast<int16_t>((static_cast<uint32_t>(position) >> 16) & 0xFFFFu);
}

}  // namespace

OrvDemo::OrvDemo()
    : m_flags{},
      m_renderContext(nullptr),
      m_window{},
      m_scene(nullptr),
      m_camera(nullptr),
      m_activeCamera(nullptr),
      m_text{},
      m_framesPerSecond(0),
      m_cameraMode(kCameraModeOrbit),
      m_yaw(0.0f),
      m_pitch(0.0f),
      m_yawVelocity(0.0f),
      m_pitchVelocity(0.0f),
      m_orbitTarget{0.0f, 0.0f, 0.0f, 1.0f},
      m_lastMouseX(0),
      m_lastMouseY(0),
      m_timerBase(0),
      m_screenshotDue(0) {
    m_window.colorBits = 32;
    m_window.depthBits = 24;
    m_window.stencilBits = 8;
    m_text.fontHeight = 14;
    m_text.x = 10;
    m_text.y = 10;
    m_text.color[0] = 1.0f;
    m_text.color[1] = 1.0f;
    m_text.color[2] = 0.0f;
    m_text.color[3] = 1.0f;
}

int OrvDemo::init(_XDisplay* display, unsigned long window, int width, int height) {
    m_error.clear();
    if (startEngine(display, window, width, height) != 0) {
        return -1;
    }
    buildScene();
    setFlag(FLAG_RUNNING, 1);
    return 0;
}

int OrvDemo::startEngine(_XDisplay* display, unsigned long window, int width, int height) {
    elapsedMilliseconds(1);
    OrvLog::getInstance()->setLevel(OrvLog::NORMAL);
    OrvMain* engine = OrvMain::getInstance();
    engine->init();

    m_renderContext = engine->createRenderContext(OrvMain::KIND_OPENGL);
    if (m_renderContext == nullptr) {
        return fail(kErrorNoRenderContext);
    }
    m_window.width = width;
    m_window.height = height;
    m_window.display = display;
    m_window.window = window;
    // Without a GL context every later step would draw into nothing, so a
    // failed create ends the start here.
    if (m_renderContext->create(&m_window) != 0) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvDemo::init(): Could not create the render context on "
                                     "window [0x%lx].",
                                     window);
        return fail(kErrorNoGLContext);
    }
    engine->setCurrentRenderContext(m_renderContext);
    // Only a version that is too old stops the start: a driver that lacks
    // an optional feature (buffer objects, GLSL) still draws the scene.
    if (engine->createRenderer(OrvMain::KIND_OPENGL) == OrvRenderer::RESULT_VERSION_TOO_OLD) {
        return fail(kErrorOpenGLTooOld);
    }
    return 0;
}

int OrvDemo::fail(const char* message) {
    m_error = message;
    return -1;
}

void OrvDemo::buildScene() {
    m_scene = OrvSceneMgr::getInstance()->createScene("Main_Scene");
    m_scene->setClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    createCamera();
    createLights();
    createBox(createShader());
    createGrid();
    createOverlay();
    OrvRenderer::getInstance()->enable(OrvRenderer::VERTICAL_SYNC);
}

void OrvDemo::createCamera() {
    m_camera = static_cast<OrvCamera*>(
        OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_CAMERA, "Main_Camera"));
    m_scene->addObject(m_camera);
    m_activeCamera = m_camera;
    setCameraMode(kCameraModeOrbit);
    // The start view stands further back than setupCamera's; the orbit angles
    // keep setupCamera's values, so the first drag swings from pitch 20.
    OrvVector4 eye = vector4(0.0f, 50.0f, 280.0f, 1.0f);
    OrvVector4 centre = vector4(0.0f, 0.0f, 0.0f, 1.0f);
    OrvVector4 up = vector4(0.0f, 1.0f, 0.0f, 1.0f);
    m_camera->setLookAt(&eye, &centre, &up);
}

void OrvDemo::createLights() {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    for (const LightSetup& setup : kLights) {
        OrvLight* light = static_cast<OrvLight*>(nodes->createNode(ORV_NODE_LIGHT, setup.name));
        m_scene->addObject(light);
        light->setAmbient(kLightAmbient);
        light->setDiffuse(setup.diffuse);
        light->setSpecular(kLightSpecular);
        OrvVector4 position =
            vector4(setup.position[0], setup.position[1], setup.position[2], setup.position[3]);
        light->setPosition(&position);
        light->setFlag(ORV_FLAG_DRAW, 1);
    }
}

OrvGpuShader* OrvDemo::createShader() {
    OrvGpuShader* shader = static_cast<OrvGpuShader*>(
        OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_GPU_SHADER, "Simple01"));
    shader->loadVertexShaderFromFile(findDataFile(kVertexShaderPath).c_str());
    shader->loadPixelShaderFromFile(findDataFile(kPixelShaderPath).c_str());
    shader->setUniform1f("time", 0.0f);
    shader->setUniform1f("height", 100.0f);
    shader->setUniform1f("angle_deg_max", 90.0f);
    return shader;
}

void OrvDemo::createBox(OrvGpuShader* shader) {
    OrvMesh* box =
        static_cast<OrvMesh*>(OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_MESH, "MeshBox"));
    m_scene->addObject(box);
    box->createBox(50.0f, 100.0f, 50.0f, 20, 20, 20);
    OrvRenderState* state = box->getRenderState();
    state->clearMaterials();
    box->setMaterial(kBoxMaterial, 0, static_cast<int>(box->getMeshData()->faceCount));
    state->setState(OrvRenderer::STATE_LIGHTING, 1);
    // The box is centred on its origin; this stands it on the grid.
    OrvVector4 position = vector4(0.0f, 50.0f, 0.0f, 1.0f);
    box->setPosition(&position);

    OrvMaterial* material = OrvMaterialMgr::getInstance()->findByName(kBoxMaterial);
    if (material == nullptr) {
        return;
    }
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const float diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float specular[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    material->setAmbient(ambient);
    material->setDiffuse(diffuse);
    material->setSpecular(specular);
    material->setShininess(60.0f);
    material->setGpuShader(shader);
}

void OrvDemo::createGrid() {
    OrvMesh* grid = static_cast<OrvMesh*>(
        OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_MESH, "MeshPlane"));
    m_scene->addObject(grid);
    grid->createPlane(200.0f, 200.0f, 10, 10);
    OrvRenderState* state = grid->getRenderState();
    state->clearMaterials();
    grid->setMaterial("plane_mat", 0, -1);
    state->setState(OrvRenderer::STATE_LIGHTING, 0);
    state->setState(OrvRenderer::STATE_FACE_CULLING, 0);
    int* states = state->getStates();
    states[OrvRenderer::STATE_CULL_FACE] = OrvRenderer::BACK;
    states[OrvRenderer::STATE_FRONT_POLYGON_MODE] = OrvRenderer::LINES;
    states[OrvRenderer::STATE_BACK_POLYGON_MODE] = OrvRenderer::LINES;

    // Unlit, the grid shows its vertex colours: all white.
    OrvMeshData* data = grid->getMeshData();
    OrvFloat4* colors = data->attributes[OrvMeshData::COLORS];
    for (uint32_t v = 0; colors != nullptr && v < data->vertexCount; ++v) {
        for (int c = 0; c < 4; ++c) {
            colors[v][c] = 1.0f;
        }
    }
    data->attributeDirty[OrvMeshData::COLORS] = 1;
}

void OrvDemo::createOverlay() {
    std::snprintf(m_text.faceName, sizeof(m_text.faceName), "%s", "Verdana");
    m_text.fontHeight = 12;
    OrvRenderer::getInstance()->createFont(&m_text, &m_window);
}

void OrvDemo::frame(float dt) {
    if (getFlag(FLAG_RUNNING) == 0) {
        return;
    }
    // The twist runs on the time since init began, not on the frame steps,
    // so it keeps its pace whatever the frame rate.
    const float time = elapsedMilliseconds(0) * 0.001f;
    coast(dt);
    renderFrame(time, dt);
    saveScreenshotWhenDue();
    OrvMain::getInstance()->swapBuffers();
}

void OrvDemo::requestScreenshot(const std::string& path, uint32_t afterMilliseconds) {
    m_screenshotPath = path;
    m_screenshotDue = afterMilliseconds;
}

// The back buffer still holds the finished frame before the swap.
void OrvDemo::saveScreenshotWhenDue() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (m_screenshotPath.empty() || renderer == nullptr ||
        elapsedMilliseconds(0) < m_screenshotDue) {
        return;
    }
    OrvImage image = {};
    if (renderer->readBackBuffer(&image) == 0) {
        OrvPngCodec::write(m_screenshotPath.c_str(), &image);
    }
    image.release();
    m_screenshotPath.clear();
}

void OrvDemo::renderFrame(float time, float dt) {
    // Before init and after shutdown the scene's nodes do not exist.
    if (getFlag(FLAG_RUNNING) == 0) {
        return;
    }
    setShaderTime(time);
    m_scene->update(dt);
    m_scene->beginFrame();
    m_scene->render(dt);
    drawOverlay();
    m_scene->endFrame();
}

void OrvDemo::setShaderTime(float time) {
    OrvMaterial* material = OrvMaterialMgr::getInstance()->findByName(kBoxMaterial);
    if (material == nullptr || material->getGpuShader() == nullptr) {
        return;
    }
    material->getGpuShader()->setUniform1f("time", time);
}

void OrvDemo::drawOverlay() {
    std::memset(m_text.text, 0, sizeof(m_text.text));
    std::snprintf(m_text.text, sizeof(m_text.text), "FPS: %d", m_framesPerSecond);
    m_text.textLength = static_cast<int32_t>(std::strlen(m_text.text));
    m_text.x = 10;
    m_text.y = 30;
    m_text.color[0] = 1.0f;
    m_text.color[1] = 1.0f;
    m_text.color[2] = 1.0f;
    OrvRenderer::getInstance()->drawText(&m_text, &m_window);
}

void OrvDemo::setFps(int framesPerSecond) {
    m_framesPerSecond = framesPerSecond;
}

void OrvDemo::shutdown() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr && m_text.listBase != 0) {
        renderer->destroyFont(&m_text, &m_window);
    }
    // The engine's stop deletes every node, so frames must not reach them.
    setFlag(FLAG_RUNNING, 0);
    OrvMain::getInstance()->terminate();
    m_renderContext = nullptr;
    m_scene = nullptr;
    m_camera = nullptr;
    m_activeCamera = nullptr;
}

uint32_t OrvDemo::elapsedMilliseconds(int reset) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint32_t milliseconds = static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                                  static_cast<uint64_t>(now.tv_nsec) / 1000000u);
    if (reset != 0) {
        m_timerBase = milliseconds;
        return 0;
    }
    return milliseconds - m_timerBase;
}

void OrvDemo::setCameraMode(int mode) {
    m_cameraMode = mode;
    setupCamera();
}

void OrvDemo::setupCamera() {
    if (m_activeCamera == nullptr) {
        return;
    }
    m_activeCamera->setViewport(0, 0, m_window.width, m_window.height);
    float aspect = 1.333f;
    if (m_window.height > 0) {
        aspect = static_cast<float>(m_window.width) / static_cast<float>(m_window.height);
    }
    m_activeCamera->setPerspective(60.0f, aspect, 1.0f, 1000.0f);
    OrvVector4 eye = vector4(0.0f, 30.0f, 50.0f, 1.0f);
    OrvVector4 centre = vector4(0.0f, 0.0f, 0.0f, 1.0f);
    OrvVector4 up = vector4(0.0f, 1.0f, 0.0f, 1.0f);
    m_activeCamera->setLookAt(&eye, &centre, &up);

    for (float& component : m_orbitTarget) {
        component = 0.0f;
    }
    m_yaw = 90.0f;
    m_pitch = 20.0f;
    m_yawVelocity = 0.0f;
    m_pitchVelocity = 0.0f;
    orbit(m_orbitTarget, m_pitch, m_yaw);
}

void OrvDemo::orbit(const float target[4], float pitchDegrees, float yawDegrees) {
    if (m_activeCamera == nullptr) {
        return;
    }
    // The distance to the target is kept; only the direction changes.
    const OrvVector4* position = m_activeCamera->getPosition();
    float dx = position->x - target[0];
    float dy = position->y - target[1];
    float dz = position->z - target[2];
    float radius = std::sqrt(dx * dx + dy * dy + dz * dz);
    float pitch = pitchDegrees * kDegreesToRadians;
    float yaw = yawDegrees * kDegreesToRadians;
    OrvVector4 eye = vector4(target[0] + radius * std::cos(pitch) * std::cos(yaw),
                             target[1] + radius * std::sin(pitch),
                             target[2] + radius * std::cos(pitch) * std::sin(yaw), position->w);
    OrvVector4 centre = vector4(target[0], target[1], target[2], target[3]);
    m_activeCamera->setLookAt(&eye, &centre, nullptr);
}

void OrvDemo::coast(float dt) {
    if (getFlag(FLAG_COASTING) == 0) {
        return;
    }
    // The velocities shrink by dt times the damping every frame and end up
    // exactly zero once they underflow, which ends the coasting.
    m_yawVelocity = dt * m_yawVelocity * kCoastDamping;
    m_pitchVelocity = dt * m_pitchVelocity * kCoastDamping;
    m_yaw += m_yawVelocity;
    m_pitch += m_pitchVelocity;
    clampPitch();
    orbit(m_orbitTarget, m_pitch, m_yaw);
    if (m_yawVelocity == 0.0f && m_pitchVelocity == 0.0f) {
        setFlag(FLAG_COASTING, 0);
    }
}

void OrvDemo::clampPitch() {
    if (m_pitch >= kPitchLimit) {
        m_pitch = kPitchLimit;
    }
    if (m_pitch <= -kPitchLimit) {
        m_pitch = -kPitchLimit;
    }
}

void OrvDemo::onLeftButtonDown(int, int32_t position) {
    setFlag(FLAG_DRAGGING, 1);
    setFlag(FLAG_COASTING, 0);
    if (m_cameraMode != kCameraModeOrbit) {
        return;
    }
    m_lastMouseX = unpackX(position);
    m_lastMouseY = unpackY(position);
}

void OrvDemo::onLeftButtonUp(int, int32_t) {
    setFlag(FLAG_DRAGGING, 0);
    if (m_cameraMode == kCameraModeOrbit) {
        setFlag(FLAG_COASTING, 1);
    }
}

void OrvDemo::onMouseMove(int flags, int32_t position) {
    // Control held while dragging freezes the view.
    if ((flags & kMouseControl) != 0) {
        return;
    }
    if (m_cameraMode != kCameraModeOrbit || getFlag(FLAG_DRAGGING) == 0) {
        return;
    }
    int x = unpackX(position);
    int y = unpackY(position);
    m_yawVelocity = static_cast<float>(x - m_lastMouseX) * kMouseDegreesPerPixel;
    m_pitchVelocity = static_cast<float>(y - m_lastMouseY) * kMouseDegreesPerPixel;
    m_lastMouseX = x;
    m_lastMouseY = y;
    m_yaw += m_yawVelocity;
    m_pitch += m_pitchVelocity;
    clampPitch();
    orbit(m_orbitTarget, m_pitch, m_yaw);
}

void OrvDemo::onMouseOther(int, int32_t) {}

int32_t OrvDemo::packPosition(int x, int y) {
    uint32_t low = static_cast<uint16_t>(x);
    uint32_t high = static_cast<uint16_t>(y);
    return static_cast<int32_t>(low | (high << 16));
}

void OrvDemo::setFlag(int index, int value) {
    if (index < 0 || index >= kFlagCount) {
        return;
    }
    m_flags[index] = value;
}

int OrvDemo::getFlag(int index) const {
    if (index < 0 || index >= kFlagCount) {
        return 0;
    }
    return m_flags[index];
}
