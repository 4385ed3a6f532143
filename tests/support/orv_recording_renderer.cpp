// Each operation turns its arguments into one recorded call; nothing is drawn.
#include "orv_recording_renderer.h"

#include <cstdio>

#include "render/orv_gpu_shader_data.h"
#include "render/orv_light_data.h"
#include "render/orv_mesh_data.h"
#include "render/orv_image.h"
#include "render/orv_text_info.h"
#include "render/orv_texture_data.h"

namespace {
constexpr int kMatrixSize = 16;
constexpr int kLineSize = 16;
constexpr int kMaterialSize = 17;

std::string joinValues(const std::vector<float>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof(number), "%g", values[i]);
        text += (i == 0 ? "" : ", ") + std::string(number);
    }
    return text;
}

// The draw calls keep the face range, which changes from call to call.
std::vector<float> faceRange(const OrvMeshData* mesh) {
    if (mesh == nullptr) {
        return {};
    }
    return {static_cast<float>(mesh->firstFace), static_cast<float>(mesh->lastFace)};
}

std::vector<float> floats(const float* values, int count) {
    return std::vector<float>(values, values + count);
}

// The interface's codes by value, as OrvRenderer names them.
const char* const kCapabilityNames[] = {"VERTICAL_SYNC", "LIGHTING", "RESERVED_CAPABILITY",
                                        "FACE_CULLING", "DEPTH_TEST"};
const char* const kFaceNames[] = {"BACK", "FRONT_AND_BACK", "FRONT"};
const char* const kPolygonModeNames[] = {"POINTS", "LINES", "FILL"};

// The name of a code, or its number when the interface names no such code, so
// that a stray value stays visible in the recorded text.
template <size_t N>
std::string codeName(int code, const char* const (&names)[N]) {
    if (code >= 0 && static_cast<size_t>(code) < N) {
        return names[code];
    }
    return std::to_string(code);
}
}  // namespace

std::vector<std::string> OrvRecordingRenderer::texts() const {
    std::vector<std::string> result;
    for (const OrvRecordedCall& call : calls) {
        result.push_back(call.text);
    }
    return result;
}

std::vector<std::string> OrvRecordingRenderer::names() const {
    std::vector<std::string> result;
    for (const OrvRecordedCall& call : calls) {
        result.push_back(call.name);
    }
    return result;
}

int OrvRecordingRenderer::count(const std::string& name) const {
    int result = 0;
    for (const OrvRecordedCall& call : calls) {
        result += call.name == name ? 1 : 0;
    }
    return result;
}

const OrvRecordedCall* OrvRecordingRenderer::last(const std::string& name) const {
    for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
        if (call->name == name) {
            return &*call;
        }
    }
    return nullptr;
}

void OrvRecordingRenderer::add(const char* name, std::vector<float> values) {
    std::string arguments = joinValues(values);
    addNamed(name, std::move(values), arguments);
}

void OrvRecordingRenderer::addNamed(const char* name, std::vector<float> values,
                                    const std::string& arguments) {
    OrvRecordedCall call;
    call.name = name;
    call.text = call.name + "(" + arguments + ")";
    call.values = std::move(values);
    calls.push_back(std::move(call));
}

void OrvRecordingRenderer::addArray(const char* name, const float* values, int count) {
    if (values == nullptr) {
        addRecord(name, nullptr, "null");
        return;
    }
    add(name, floats(values, count));
}

void OrvRecordingRenderer::addRecord(const char* name, const void* record,
                                     const std::string& recordName, std::vector<float> values) {
    OrvRecordedCall call;
    call.name = name;
    call.record = record;
    call.text =
        call.name + "(" + recordName + (values.empty() ? "" : ", ") + joinValues(values) + ")";
    call.values = std::move(values);
    calls.push_back(std::move(call));
}

void OrvRecordingRenderer::addMesh(const char* name, const OrvMeshData* mesh,
                                   std::vector<float> values) {
    addRecord(name, mesh, mesh != nullptr ? mesh->name : "null", std::move(values));
}

void OrvRecordingRenderer::addLight(const char* name, const OrvLightData* light) {
    addRecord(name, light, light != nullptr ? light->name : "null");
}

void OrvRecordingRenderer::addProgram(const char* name, const OrvGpuProgram* program) {
    addRecord(name, program, program != nullptr ? program->name : "null");
}

void OrvRecordingRenderer::addText(const char* name, const OrvTextInfo* text) {
    addRecord(name, text, text != nullptr ? "\"" + std::string(text->text) + "\"" : "null");
}

int OrvRecordingRenderer::resultOf(const char* name) const {
    auto found = results.find(name);
    return found != results.end() ? found->second : 0;
}

int OrvRecordingRenderer::initialize() {
    add("initialize", {});
    return resultOf("initialize");
}

int OrvRecordingRenderer::terminate() {
    add("terminate", {});
    return resultOf("terminate");
}

void OrvRecordingRenderer::enable(int capability) {
    addNamed("enable", {static_cast<float>(capability)}, codeName(capability, kCapabilityNames));
}

void OrvRecordingRenderer::disable(int capability) {
    addNamed("disable", {static_cast<float>(capability)}, codeName(capability, kCapabilityNames));
}

void OrvRecordingRenderer::applyRenderStates(const int* states) {
    if (states == nullptr) {
        addRecord("applyRenderStates", nullptr, "null");
        return;
    }
    add("applyRenderStates", std::vector<float>(states, states + kRenderStateCount));
}

void OrvRecordingRenderer::setCullFace(int face) {
    addNamed("setCullFace", {static_cast<float>(face)}, codeName(face, kFaceNames));
}

void OrvRecordingRenderer::setPolygonMode(int mode, int face) {
    addNamed("setPolygonMode", {static_cast<float>(mode), static_cast<float>(face)},
             codeName(mode, kPolygonModeNames) + ", " + codeName(face, kFaceNames));
}

void OrvRecordingRenderer::beginScene() {
    add("beginScene", {});
}

void OrvRecordingRenderer::endScene() {
    add("endScene", {});
}

void OrvRecordingRenderer::clearDepthBuffer(float depth) {
    add("clearDepthBuffer", {depth});
}

void OrvRecordingRenderer::clearColorBuffer(float r, float g, float b, float a) {
    add("clearColorBuffer", {r, g, b, a});
}

void OrvRecordingRenderer::setViewport(int x, int y, int width, int height) {
    add("setViewport", {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                        static_cast<float>(height)});
}

void OrvRecordingRenderer::setProjectionMatrix(const float* m) {
    addArray("setProjectionMatrix", m, kMatrixSize);
}

void OrvRecordingRenderer::setViewMatrix(const float* m) {
    addArray("setViewMatrix", m, kMatrixSize);
}

void OrvRecordingRenderer::loadViewMatrix() {
    add("loadViewMatrix", {});
}

void OrvRecordingRenderer::multMatrix(const float* m) {
    addArray("multMatrix", m, kMatrixSize);
}

void OrvRecordingRenderer::loadModelViewMatrix(const float* m) {
    addArray("loadModelViewMatrix", m, kMatrixSize);
}

void OrvRecordingRenderer::lookAt(const float* eye, const float* centre, const float* up) {
    if (eye == nullptr || centre == nullptr || up == nullptr) {
        addRecord("lookAt", nullptr, "null");
        return;
    }
    add("lookAt", {eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]});
}

void OrvRecordingRenderer::setPerspective(float fovY, float aspect, float zNear, float zFar) {
    add("setPerspective", {fovY, aspect, zNear, zFar});
}

void OrvRecordingRenderer::setOrtho(float left, float right, float bottom, float top, float zNear,
                                    float zFar) {
    add("setOrtho", {left, right, bottom, top, zNear, zFar});
}

void OrvRecordingRenderer::drawPoint(const float* position, const float* color, float size) {
    if (position == nullptr || color == nullptr) {
        addRecord("drawPoint", nullptr, "null");
        return;
    }
    std::vector<float> values = floats(position, 4);
    values.insert(values.end(), color, color + 4);
    values.push_back(size);
    add("drawPoint", values);
}

void OrvRecordingRenderer::drawTriangle(const OrvMeshData* mesh) {
    addMesh("drawTriangle", mesh);
}

void OrvRecordingRenderer::drawLine(const float* line) {
    addArray("drawLine", line, kLineSize);
}

void OrvRecordingRenderer::setVertexArrays(OrvMeshData* mesh) {
    addMesh("setVertexArrays", mesh);
}

void OrvRecordingRenderer::drawElements(OrvMeshData* mesh) {
    addMesh("drawElements", mesh, faceRange(mesh));
}

void OrvRecordingRenderer::unsetVertexArrays(OrvMeshData* mesh) {
    addMesh("unsetVertexArrays", mesh);
}

void OrvRecordingRenderer::setVertexBuffers(OrvMeshData* mesh) {
    addMesh("setVertexBuffers", mesh);
}

void OrvRecordingRenderer::drawElementsVBO(OrvMeshData* mesh) {
    addMesh("drawElementsVBO", mesh, faceRange(mesh));
}

void OrvRecordingRenderer::unsetVertexBuffers(OrvMeshData* mesh) {
    addMesh("unsetVertexBuffers", mesh);
}

void OrvRecordingRenderer::drawMesh(OrvMeshData* mesh) {
    addMesh("drawMesh", mesh);
}

void OrvRecordingRenderer::drawMeshVBO(OrvMeshData* mesh) {
    addMesh("drawMeshVBO", mesh);
}

void OrvRecordingRenderer::drawImmediate(OrvMeshData* mesh) {
    addMesh("drawImmediate", mesh, faceRange(mesh));
}

void OrvRecordingRenderer::compileDisplayList(OrvMeshData* mesh) {
    addMesh("compileDisplayList", mesh);
}

void OrvRecordingRenderer::deleteDisplayList(OrvMeshData* mesh) {
    addMesh("deleteDisplayList", mesh);
}

void OrvRecordingRenderer::callDisplayList(OrvMeshData* mesh) {
    addMesh("callDisplayList", mesh);
}

void OrvRecordingRenderer::enableLight(OrvLightData* light) {
    addLight("enableLight", light);
}

void OrvRecordingRenderer::disableLight(OrvLightData* light) {
    addLight("disableLight", light);
}

void OrvRecordingRenderer::setLightPosition(OrvLightData* light) {
    addLight("setLightPosition", light);
}

void OrvRecordingRenderer::setLightColors(OrvLightData* light) {
    addLight("setLightColors", light);
}

void OrvRecordingRenderer::applyMaterial(const float* material) {
    addArray("applyMaterial", material, kMaterialSize);
}

int OrvRecordingRenderer::hasVBO(const OrvMeshData* mesh, int array) {
    addMesh("hasVBO", mesh, {static_cast<float>(array)});
    return resultOf("hasVBO");
}

int OrvRecordingRenderer::hasIBO(const OrvMeshData* mesh) {
    addMesh("hasIBO", mesh);
    return resultOf("hasIBO");
}

int OrvRecordingRenderer::createVBO(OrvMeshData* mesh, int array) {
    addMesh("createVBO", mesh, {static_cast<float>(array)});
    return resultOf("createVBO");
}

int OrvRecordingRenderer::createIBO(OrvMeshData* mesh) {
    addMesh("createIBO", mesh);
    return resultOf("createIBO");
}

void OrvRecordingRenderer::destroyVBO(OrvMeshData* mesh, int array) {
    addMesh("destroyVBO", mesh, {static_cast<float>(array)});
}

void OrvRecordingRenderer::destroyIBO(OrvMeshData* mesh) {
    addMesh("destroyIBO", mesh);
}

void OrvRecordingRenderer::bindVBO(OrvMeshData* mesh, int array) {
    addMesh("bindVBO", mesh, {static_cast<float>(array)});
}

void OrvRecordingRenderer::bindIBO(OrvMeshData* mesh) {
    addMesh("bindIBO", mesh);
}

void OrvRecordingRenderer::updateVBO(OrvMeshData* mesh, int array) {
    addMesh("updateVBO", mesh, {static_cast<float>(array)});
}

void OrvRecordingRenderer::updateIBO(OrvMeshData* mesh) {
    addMesh("updateIBO", mesh);
}

int OrvRecordingRenderer::isGpuProgram(OrvGpuProgram* program) {
    addProgram("isGpuProgram", program);
    return resultOf("isGpuProgram");
}

void OrvRecordingRenderer::createGpuProgram(OrvGpuProgram* program) {
    addProgram("createGpuProgram", program);
}

void OrvRecordingRenderer::destroyGpuProgram(OrvGpuProgram* program) {
    addProgram("destroyGpuProgram", program);
}

int OrvRecordingRenderer::createGpuVertexShader(OrvGpuProgram* program) {
    addProgram("createGpuVertexShader", program);
    return resultOf("createGpuVertexShader");
}

void OrvRecordingRenderer::destroyGpuVertexShader(OrvGpuProgram* program) {
    addProgram("destroyGpuVertexShader", program);
}

int OrvRecordingRenderer::createGpuPixelShader(OrvGpuProgram* program) {
    addProgram("createGpuPixelShader", program);
    return resultOf("createGpuPixelShader");
}

void OrvRecordingRenderer::destroyGpuPixelShader(OrvGpuProgram* program) {
    addProgram("destroyGpuPixelShader", program);
}

void OrvRecordingRenderer::activeGpuShader(OrvGpuProgram* program) {
    addProgram("activeGpuShader", program);
}

void OrvRecordingRenderer::updateGpuShaderUniforms(OrvGpuProgram* program) {
    addProgram("updateGpuShaderUniforms", program);
}

void OrvRecordingRenderer::bindGpuShaderAttributes(OrvGpuProgram* program) {
    addProgram("bindGpuShaderAttributes", program);
}

int OrvRecordingRenderer::createFont(OrvTextInfo* text, OrvWindowInfo*) {
    addText("createFont", text);
    return resultOf("createFont");
}

void OrvRecordingRenderer::destroyFont(OrvTextInfo* text, OrvWindowInfo*) {
    addText("destroyFont", text);
}

void OrvRecordingRenderer::drawText(OrvTextInfo* text, OrvWindowInfo*) {
    addText("drawText", text);
}

void OrvRecordingRenderer::addTexture(const char* name, const OrvTextureData* texture,
                                      std::vector<float> values) {
    addRecord(name, texture, texture != nullptr ? texture->name : "null", std::move(values));
}

int OrvRecordingRenderer::createTexture(OrvTextureData* texture, const OrvImage* image) {
    addTexture("createTexture", texture);
    const int result = resultOf("createTexture");
    if (result == 0 && texture != nullptr && image != nullptr) {
        texture->glName = ++lastTextureName;
        texture->width = image->width;
        texture->height = image->height;
    }
    return result;
}

void OrvRecordingRenderer::destroyTexture(OrvTextureData* texture) {
    addTexture("destroyTexture", texture);
    if (texture != nullptr) {
        texture->glName = 0;
    }
}

void OrvRecordingRenderer::bindTexture(int unit, const OrvTextureData* texture) {
    addTexture("bindTexture", texture, {static_cast<float>(unit)});
}

int OrvRecordingRenderer::getTextureUnitCount() {
    add("getTextureUnitCount", {});
    return textureUnits;
}

int OrvRecordingRenderer::readBackBuffer(OrvImage* image) {
    addRecord("readBackBuffer", image, image != nullptr ? "image" : "null");
    return resultOf("readBackBuffer");
}
