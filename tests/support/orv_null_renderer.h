// OrvNullRenderer: a renderer that draws nothing, so that a benchmark or test
// sees what the engine itself costs per frame. Every operation returns at
// once; those with a result answer as a driver without buffer objects or
// GLSL would. Constructing it makes it OrvRenderer::getInstance().
#pragma once

#include "render/orv_renderer.h"
#include "render/orv_texture_data.h"

class OrvNullRenderer : public OrvRenderer {
  public:
    OrvNullRenderer() = default;
    ~OrvNullRenderer() override = default;

    OrvNullRenderer(const OrvNullRenderer&) = delete;
    OrvNullRenderer& operator=(const OrvNullRenderer&) = delete;

    int initialize() override { return RESULT_OK; }
    int terminate() override { return 0; }

    void enable(int) override {}
    void disable(int) override {}
    void applyRenderStates(const int*) override {}
    void setCullFace(int) override {}
    void setPolygonMode(int, int) override {}
    void beginScene() override {}
    void endScene() override {}

    void clearDepthBuffer(float) override {}
    void clearColorBuffer(float, float, float, float) override {}
    void setViewport(int, int, int, int) override {}
    void setProjectionMatrix(const float*) override {}
    void setViewMatrix(const float*) override {}
    void loadViewMatrix() override {}
    void multMatrix(const float*) override {}
    void loadModelViewMatrix(const float*) override {}
    void lookAt(const float*, const float*, const float*) override {}
    void setPerspective(float, float, float, float) override {}
    void setOrtho(float, float, float, float, float, float) override {}

    void drawPoint(const float*, const float*, float) override {}
    void drawTriangle(const OrvMeshData*) override {}
    void drawLine(const float*) override {}

    void setVertexArrays(OrvMeshData*) override {}
    void drawElements(OrvMeshData*) override {}
    void unsetVertexArrays(OrvMeshData*) override {}
    void setVertexBuffers(OrvMeshData*) override {}
    void drawElementsVBO(OrvMeshData*) override {}
    void unsetVertexBuffers(OrvMeshData*) override {}
    void drawMesh(OrvMeshData*) override {}
    void drawMeshVBO(OrvMeshData*) override {}
    void drawImmediate(OrvMeshData*) override {}
    void compileDisplayList(OrvMeshData*) override {}
    void deleteDisplayList(OrvMeshData*) override {}
    void callDisplayList(OrvMeshData*) override {}

    void enableLight(OrvLightData*) override {}
    void disableLight(OrvLightData*) override {}
    void setLightPosition(OrvLightData*) override {}
    void setLightColors(OrvLightData*) override {}
    void applyMaterial(const float*) override {}

    int hasVBO(const OrvMeshData*, int) override { return 0; }
    int hasIBO(const OrvMeshData*) override { return 0; }
    int createVBO(OrvMeshData*, int) override { return kNoBufferObjects; }
    int createIBO(OrvMeshData*) override { return kNoBufferObjects; }
    void destroyVBO(OrvMeshData*, int) override {}
    void destroyIBO(OrvMeshData*) override {}
    void bindVBO(OrvMeshData*, int) override {}
    void bindIBO(OrvMeshData*) override {}
    void updateVBO(OrvMeshData*, int) override {}
    void updateIBO(OrvMeshData*) override {}

    int isGpuProgram(OrvGpuProgram*) override { return 0; }
    void createGpuProgram(OrvGpuProgram*) override {}
    void destroyGpuProgram(OrvGpuProgram*) override {}
    int createGpuVertexShader(OrvGpuProgram*) override { return -1; }
    void destroyGpuVertexShader(OrvGpuProgram*) override {}
    int createGpuPixelShader(OrvGpuProgram*) override { return -1; }
    void destroyGpuPixelShader(OrvGpuProgram*) override {}
    void activeGpuShader(OrvGpuProgram*) override {}
    void updateGpuShaderUniforms(OrvGpuProgram*) override {}
    void bindGpuShaderAttributes(OrvGpuProgram*) override {}

    int createFont(OrvTextInfo*, OrvWindowInfo*) override { return 0; }
    void destroyFont(OrvTextInfo*, OrvWindowInfo*) override {}
    void drawText(OrvTextInfo*, OrvWindowInfo*) override {}

    // Every texture gets the same name, so that binding costs what it costs
    // the engine.
    int createTexture(OrvTextureData* texture, const OrvImage*) override {
        texture->glName = 1;
        return 0;
    }
    void destroyTexture(OrvTextureData*) override {}
    void bindTexture(int, const OrvTextureData*) override {}
    int getTextureUnitCount() override { return 1; }
    int readBackBuffer(OrvImage*) override { return -1; }

  private:
    // What the buffer operations answer when the driver has no buffer objects.
    static constexpr int kNoBufferObjects = 20;
};
