// OrvRecordingRenderer: a renderer for scene-level tests. Every operation of
// the interface appends one OrvRecordedCall with its arguments and draws
// nothing, so a test can check which calls an object makes, in which order,
// with which values. Constructing it makes it OrvRenderer::getInstance().
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/orv_renderer.h"

struct OrvRecordedCall {
    // The operation: "setViewport", "enableLight", ...
    std::string name;
    // The numeric arguments in order, arrays expanded (a matrix gives 16
    // values, a render-state block 14); integers are stored exactly.
    std::vector<float> values;
    // The record argument (mesh, light, GPU program or text record), or null.
    const void* record = nullptr;
    // The call as one line: "setViewport(0, 0, 640, 480)", numbers printed
    // with %g; the codes of enable, disable, setCullFace and setPolygonMode
    // by their OrvRenderer names ("disable(DEPTH_TEST)", a code without a
    // name as its number); a record appears as its name ("enableLight(light_3)", a text
    // record as its text in quotes) and a null pointer as "null".
    std::string text;
};

class OrvRecordingRenderer : public OrvRenderer {
  public:
    OrvRecordingRenderer() = default;
    ~OrvRecordingRenderer() override = default;

    OrvRecordingRenderer(const OrvRecordingRenderer&) = delete;
    OrvRecordingRenderer& operator=(const OrvRecordingRenderer&) = delete;

    // Every call received so far, oldest first.
    std::vector<OrvRecordedCall> calls;
    // What the operations with a result return, by operation name; 0 for a
    // name not listed. Example: results["createVBO"] = 20.
    std::map<std::string, int> results;

    // What getTextureUnitCount answers.
    int textureUnits = OrvRenderer::kMaxTextureUnits;

    // The text of every call, oldest first.
    std::vector<std::string> texts() const;
    // The name of every call, oldest first.
    std::vector<std::string> names() const;
    // How many calls of that operation were made.
    int count(const std::string& name) const;
    // The most recent call of that operation, or null.
    const OrvRecordedCall* last(const std::string& name) const;
    void clear() { calls.clear(); }

    int initialize() override;
    int terminate() override;

    void enable(int capability) override;
    void disable(int capability) override;
    void applyRenderStates(const int* states) override;
    void setCullFace(int face) override;
    void setPolygonMode(int mode, int face) override;
    void beginScene() override;
    void endScene() override;

    void clearDepthBuffer(float depth) override;
    void clearColorBuffer(float r, float g, float b, float a) override;
    void setViewport(int x, int y, int width, int height) override;
    void setProjectionMatrix(const float* m) override;
    void setViewMatrix(const float* m) override;
    void loadViewMatrix() override;
    void multMatrix(const float* m) override;
    void loadModelViewMatrix(const float* m) override;
    void lookAt(const float* eye, const float* centre, const float* up) override;
    void setPerspective(float fovY, float aspect, float zNear, float zFar) override;
    void setOrtho(float left, float right, float bottom, float top, float zNear,
                  float zFar) override;

    void drawPoint(const float* position, const float* color, float size) override;
    void drawTriangle(const OrvMeshData* mesh) override;
    void drawLine(const float* line) override;

    void setVertexArrays(OrvMeshData* mesh) override;
    void drawElements(OrvMeshData* mesh) override;
    void unsetVertexArrays(OrvMeshData* mesh) override;
    void setVertexBuffers(OrvMeshData* mesh) override;
    void drawElementsVBO(OrvMeshData* mesh) override;
    void unsetVertexBuffers(OrvMeshData* mesh) override;
    void drawMesh(OrvMeshData* mesh) override;
    void drawMeshVBO(OrvMeshData* mesh) override;
    void drawImmediate(OrvMeshData* mesh) override;
    void compileDisplayList(OrvMeshData* mesh) override;
    void deleteDisplayList(OrvMeshData* mesh) override;
    void callDisplayList(OrvMeshData* mesh) override;

    void enableLight(OrvLightData* light) override;
    void disableLight(OrvLightData* light) override;
    void setLightPosition(OrvLightData* light) override;
    void setLightColors(OrvLightData* light) override;
    void applyMaterial(const float* material) override;

    int hasVBO(const OrvMeshData* mesh, int array) override;
    int hasIBO(const OrvMeshData* mesh) override;
    int createVBO(OrvMeshData* mesh, int array) override;
    int createIBO(OrvMeshData* mesh) override;
    void destroyVBO(OrvMeshData* mesh, int array) override;
    void destroyIBO(OrvMeshData* mesh) override;
    void bindVBO(OrvMeshData* mesh, int array) override;
    void bindIBO(OrvMeshData* mesh) override;
    void updateVBO(OrvMeshData* mesh, int array) override;
    void updateIBO(OrvMeshData* mesh) override;

    int isGpuProgram(OrvGpuProgram* program) override;
    void createGpuProgram(OrvGpuProgram* program) override;
    void destroyGpuProgram(OrvGpuProgram* program) override;
    int createGpuVertexShader(OrvGpuProgram* program) override;
    void destroyGpuVertexShader(OrvGpuProgram* program) override;
    int createGpuPixelShader(OrvGpuProgram* program) override;
    void destroyGpuPixelShader(OrvGpuProgram* program) override;
    void activeGpuShader(OrvGpuProgram* program) override;
    void updateGpuShaderUniforms(OrvGpuProgram* program) override;
    void bindGpuShaderAttributes(OrvGpuProgram* program) override;

    int createFont(OrvTextInfo* text, OrvWindowInfo* window) override;
    void destroyFont(OrvTextInfo* text, OrvWindowInfo* window) override;
    void drawText(OrvTextInfo* text, OrvWindowInfo* window) override;

    // A successful createTexture gives the record a new name (1, 2, ...) and
    // the picture's size; destroyTexture clears the name.
    int createTexture(OrvTextureData* texture, const OrvImage* image) override;
    void destroyTexture(OrvTextureData* texture) override;
    // Recorded with the unit and the texture's name, or null.
    void bindTexture(int unit, const OrvTextureData* texture) override;
    int getTextureUnitCount() override;
    int readBackBuffer(OrvImage* image) override;

  private:
    void add(const char* name, std::vector<float> values);
    void addNamed(const char* name, std::vector<float> values, const std::string& arguments);
    void addArray(const char* name, const float* values, int count);
    void addRecord(const char* name, const void* record, const std::string& recordName,
                   std::vector<float> values = {});
    void addMesh(const char* name, const OrvMeshData* mesh, std::vector<float> values = {});
    void addLight(const char* name, const OrvLightData* light);
    void addProgram(const char* name, const OrvGpuProgram* program);
    void addText(const char* name, const OrvTextInfo* text);
    int resultOf(const char* name) const;
    void addTexture(const char* name, const OrvTextureData* texture,
                    std::vector<float> values = {});

    uint32_t lastTextureName = 0;
};
