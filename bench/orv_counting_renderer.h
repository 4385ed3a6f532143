// OrvCountingRenderer: a renderer that passes every call on to another one
// and counts what goes through: every call, the draws among them (each
// element, list, immediate, point, line, triangle or text draw) and, of
// those, the draws of mesh triangles. Constructing
// it makes it OrvRenderer::getInstance(); it must be destroyed before the
// renderer it wraps, after which the engine has no current renderer.
#pragma once

#include <cstdint>

#include "render/orv_renderer.h"

class OrvCountingRenderer : public OrvRenderer {
  public:
    explicit OrvCountingRenderer(OrvRenderer* inner) : m_inner(inner) {}
    ~OrvCountingRenderer() override = default;

    OrvCountingRenderer(const OrvCountingRenderer&) = delete;
    OrvCountingRenderer& operator=(const OrvCountingRenderer&) = delete;

    void resetCounts() {
        calls = 0;
        draws = 0;
        meshDraws = 0;
    }

    uint64_t calls = 0;
    uint64_t draws = 0;
    uint64_t meshDraws = 0;

    int initialize() override {
        ++calls;
        return m_inner->initialize();
    }
    int terminate() override {
        ++calls;
        return m_inner->terminate();
    }
    void enable(int capability) override {
        ++calls;
        m_inner->enable(capability);
    }
    void disable(int capability) override {
        ++calls;
        m_inner->disable(capability);
    }
    void applyRenderStates(const int* states) override {
        ++calls;
        m_inner->applyRenderStates(states);
    }
    void setCullFace(int face) override {
        ++calls;
        m_inner->setCullFace(face);
    }
    void setPolygonMode(int mode, int face) override {
        ++calls;
        m_inner->setPolygonMode(mode, face);
    }
    void beginScene() override {
        ++calls;
        m_inner->beginScene();
    }
    void endScene() override {
        ++calls;
        m_inner->endScene();
    }
    void clearDepthBuffer(float depth) override {
        ++calls;
        m_inner->clearDepthBuffer(depth);
    }
    void clearColorBuffer(float r, float g, float b, float a) override {
        ++calls;
        m_inner->clearColorBuffer(r, g, b, a);
    }
    void setViewport(int x, int y, int width, int height) override {
        ++calls;
        m_inner->setViewport(x, y, width, height);
    }
    void setProjectionMatrix(const float* m) override {
        ++calls;
        m_inner->setProjectionMatrix(m);
    }
    void setViewMatrix(const float* m) override {
        ++calls;
        m_inner->setViewMatrix(m);
    }
    void loadViewMatrix() override {
        ++calls;
        m_inner->loadViewMatrix();
    }
    void multMatrix(const float* m) override {
        ++calls;
        m_inner->multMatrix(m);
    }
    void loadModelViewMatrix(const float* m) override {
        ++calls;
        m_inner->loadModelViewMatrix(m);
    }
    void lookAt(const float* eye, const float* centre, const float* up) override {
        ++calls;
        m_inner->lookAt(eye, centre, up);
    }
    void setPerspective(float fovY, float aspect, float zNear, float zFar) override {
        ++calls;
        m_inner->setPerspective(fovY, aspect, zNear, zFar);
    }
    void setOrtho(float left, float right, float bottom, float top, float zNear,
                  float zFar) override {
        ++calls;
        m_inner->setOrtho(left, right, bottom, top, zNear, zFar);
    }
    void drawPoint(const float* position, const float* color, float size) override {
        ++calls;
        ++draws;
        m_inner->drawPoint(position, color, size);
    }
    void drawTriangle(const OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        m_inner->drawTriangle(mesh);
    }
    void drawLine(const float* line) override {
        ++calls;
        ++draws;
        m_inner->drawLine(line);
    }
    void setVertexArrays(OrvMeshData* mesh) override {
        ++calls;
        m_inner->setVertexArrays(mesh);
    }
    void drawElements(OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        ++meshDraws;
        m_inner->drawElements(mesh);
    }
    void unsetVertexArrays(OrvMeshData* mesh) override {
        ++calls;
        m_inner->unsetVertexArrays(mesh);
    }
    void setVertexBuffers(OrvMeshData* mesh) override {
        ++calls;
        m_inner->setVertexBuffers(mesh);
    }
    void drawElementsVBO(OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        ++meshDraws;
        m_inner->drawElementsVBO(mesh);
    }
    void unsetVertexBuffers(OrvMeshData* mesh) override {
        ++calls;
        m_inner->unsetVertexBuffers(mesh);
    }
    void drawMesh(OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        ++meshDraws;
        m_inner->drawMesh(mesh);
    }
    void drawMeshVBO(OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        ++meshDraws;
        m_inner->drawMeshVBO(mesh);
    }
    void drawImmediate(OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        ++meshDraws;
        m_inner->drawImmediate(mesh);
    }
    void compileDisplayList(OrvMeshData* mesh) override {
        ++calls;
        m_inner->compileDisplayList(mesh);
    }
    void deleteDisplayList(OrvMeshData* mesh) override {
        ++calls;
        m_inner->deleteDisplayList(mesh);
    }
    void callDisplayList(OrvMeshData* mesh) override {
        ++calls;
        ++draws;
        ++meshDraws;
        m_inner->callDisplayList(mesh);
    }
    void enableLight(OrvLightData* light) override {
        ++calls;
        m_inner->enableLight(light);
    }
    void disableLight(OrvLightData* light) override {
        ++calls;
        m_inner->disableLight(light);
    }
    void setLightPosition(OrvLightData* light) override {
        ++calls;
        m_inner->setLightPosition(light);
    }
    void setLightColors(OrvLightData* light) override {
        ++calls;
        m_inner->setLightColors(light);
    }
    void applyMaterial(const float* material) override {
        ++calls;
        m_inner->applyMaterial(material);
    }
    int hasVBO(const OrvMeshData* mesh, int array) override {
        ++calls;
        return m_inner->hasVBO(mesh, array);
    }
    int hasIBO(const OrvMeshData* mesh) override {
        ++calls;
        return m_inner->hasIBO(mesh);
    }
    int createVBO(OrvMeshData* mesh, int array) override {
        ++calls;
        return m_inner->createVBO(mesh, array);
    }
    int createIBO(OrvMeshData* mesh) override {
        ++calls;
        return m_inner->createIBO(mesh);
    }
    void destroyVBO(OrvMeshData* mesh, int array) override {
        ++calls;
        m_inner->destroyVBO(mesh, array);
    }
    void destroyIBO(OrvMeshData* mesh) override {
        ++calls;
        m_inner->destroyIBO(mesh);
    }
    void bindVBO(OrvMeshData* mesh, int array) override {
        ++calls;
        m_inner->bindVBO(mesh, array);
    }
    void bindIBO(OrvMeshData* mesh) override {
        ++calls;
        m_inner->bindIBO(mesh);
    }
    void updateVBO(OrvMeshData* mesh, int array) override {
        ++calls;
        m_inner->updateVBO(mesh, array);
    }
    void updateIBO(OrvMeshData* mesh) override {
        ++calls;
        m_inner->updateIBO(mesh);
    }
    int isGpuProgram(OrvGpuProgram* program) override {
        ++calls;
        return m_inner->isGpuProgram(program);
    }
    void createGpuProgram(OrvGpuProgram* program) override {
        ++calls;
        m_inner->createGpuProgram(program);
    }
    void destroyGpuProgram(OrvGpuProgram* program) override {
        ++calls;
        m_inner->destroyGpuProgram(program);
    }
    int createGpuVertexShader(OrvGpuProgram* program) override {
        ++calls;
        return m_inner->createGpuVertexShader(program);
    }
    void destroyGpuVertexShader(OrvGpuProgram* program) override {
        ++calls;
        m_inner->destroyGpuVertexShader(program);
    }
    int createGpuPixelShader(OrvGpuProgram* program) override {
        ++calls;
        return m_inner->createGpuPixelShader(program);
    }
    void destroyGpuPixelShader(OrvGpuProgram* program) override {
        ++calls;
        m_inner->destroyGpuPixelShader(program);
    }
    void activeGpuShader(OrvGpuProgram* program) override {
        ++calls;
        m_inner->activeGpuShader(program);
    }
    void updateGpuShaderUniforms(OrvGpuProgram* program) override {
        ++calls;
        m_inner->updateGpuShaderUniforms(program);
    }
    void bindGpuShaderAttributes(OrvGpuProgram* program) override {
        ++calls;
        m_inner->bindGpuShaderAttributes(program);
    }
    int createFont(OrvTextInfo* text, OrvWindowInfo* window) override {
        ++calls;
        return m_inner->createFont(text, window);
    }
    void destroyFont(OrvTextInfo* text, OrvWindowInfo* window) override {
        ++calls;
        m_inner->destroyFont(text, window);
    }
    void drawText(OrvTextInfo* text, OrvWindowInfo* window) override {
        ++calls;
        ++draws;
        m_inner->drawText(text, window);
    }

    int createTexture(OrvTextureData* texture, const OrvImage* image) override {
        ++calls;
        return m_inner->createTexture(texture, image);
    }
    void destroyTexture(OrvTextureData* texture) override {
        ++calls;
        m_inner->destroyTexture(texture);
    }
    void bindTexture(int unit, const OrvTextureData* texture) override {
        ++calls;
        m_inner->bindTexture(unit, texture);
    }
    int getTextureUnitCount() override {
        ++calls;
        return m_inner->getTextureUnitCount();
    }
    int readBackBuffer(OrvImage* image) override {
        ++calls;
        return m_inner->readBackBuffer(image);
    }

  private:
    OrvRenderer* m_inner;
};
