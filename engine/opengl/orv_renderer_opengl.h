// OrvRendererOpenGL: the renderer on OpenGL 1.1's fixed-function pipeline,
// with vertex and index buffer objects from GL_ARB_vertex_buffer_object and
// GLSL through either the OpenGL 2.0 functions (the GL2 codepath) or the
// GL_ARB_shader_objects functions (the ARB codepath).
//
// It is made of three parts. The capabilities (OrvGlCapabilities): initialize
// reads the driver's version and extensions once into flags and loads the
// entry points the flags allow, by name, from the current render context;
// they are read-only afterwards and each operation tests one flag. The state
// cache (OrvGlStateCache): what the renderer last set, so that state already
// in place is not sent to the driver again. And the operations themselves,
// which live in several files: start-up, state, matrices and lights in
// orv_renderer_opengl.cpp, text in orv_renderer_opengl_text.cpp, mesh drawing
// and buffers in orv_renderer_opengl_mesh.cpp and GPU programs in
// orv_renderer_opengl_gpu_shader.cpp.
//
// The program's own GL calls. Explicit loads always reach the driver:
// setViewMatrix, loadViewMatrix, lookAt, loadModelViewMatrix, the projections
// and the viewport set their matrix mode and load every time. The cache
// forgets everything at beginScene, so GL calls the program makes between
// frames are repaired by the next frame. Inside a frame, a program that
// changes cached state itself (capability switches, material or light
// parameters, client arrays, buffer or program bindings) calls
// invalidateStateCache before its next renderer call.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "opengl/orv_gl_capabilities.h"
#include "opengl/orv_gl_state_cache.h"
#include "opengl/orv_gl_texture_capabilities.h"
#include "render/orv_renderer.h"

class OrvRenderContext;

class OrvRendererOpenGL : public OrvRenderer {
  public:
    // Display lists a font reserves, one per character code.
    static constexpr int kFontLists = 256;
    // Character codes that get a glyph: 0 to 254.
    static constexpr int kFontGlyphs = 255;
    // The tallest font createFont makes, in pixels.
    static constexpr int kMaxFontHeight = 512;

    OrvRendererOpenGL();
    ~OrvRendererOpenGL() override;

    OrvRendererOpenGL(const OrvRendererOpenGL&) = delete;
    OrvRendererOpenGL& operator=(const OrvRendererOpenGL&) = delete;

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

    int createTexture(OrvTextureData* texture, const OrvImage* image) override;
    void destroyTexture(OrvTextureData* texture) override;
    void bindTexture(int unit, const OrvTextureData* texture) override;
    int getTextureUnitCount() override;
    int readBackBuffer(OrvImage* image) override;

    // The render context whose driver the renderer uses: initialize loads the
    // entry points from it and vertical sync goes through it. The engine root
    // sets it whenever the current context changes; a context held here must
    // live until it is replaced (null forgets it). The state cache forgets
    // everything, since another context holds other state.
    void setContext(OrvRenderContext* context);

    // The state cache: while it is on (the default), state a call asks for
    // that is already in place is not sent to the driver again, so every
    // object may ask for all of its state at no cost. With the cache off
    // every call reaches the driver. Code that changes cached GL state
    // itself inside a frame calls invalidateStateCache (see the top of this
    // file).
    void setStateCache(int on);
    void invalidateStateCache();

    // What initialize found; fixed until the next initialize.
    const OrvGlCapabilities& capabilities() const { return m_capabilities; }
    // The GL light units the renderer hands out (GL_MAX_LIGHTS); 0 before
    // initialize and after terminate.
    int lightCount() const { return m_lightCount; }

    // Reads GL_VERSION into the version numbers and the OpenGL-2 flag.
    void detectAPIVersion();
    // 1 when name occurs anywhere in GL_EXTENSIONS (a plain substring test).
    int isExtensionSupported(const char* name);
    // The current context's entry point of that name, or null.
    OrvProc getProcAddress(const char* name);

  protected:
    // The one place the driver's capability strings are read: GL_VERSION or
    // GL_EXTENSIONS; null when there is none (no current context). Tests
    // replace it because Mesa cannot hide every extension.
    virtual const char* queryString(unsigned int name);

  private:
    void allocateLightUnits();
    void releaseLightUnits();
    void setCapability(int capability, bool on);
    void setGlSwitch(GLenum capability, bool changed, bool on);
    void setLightCapability(int unit, bool on);
    void setMaterialParameter(OrvGlStateCache::MaterialParameter parameter, GLenum name,
                              const float* values, int count);
    void setLightParameter(int unit, OrvGlStateCache::LightParameter parameter, GLenum name,
                           const float* values, int count);
    // Position and direction also depend on the modelview matrix.
    void setLightVector(int unit, OrvGlStateCache::LightParameter parameter, GLenum name,
                        const float* values);
    void setSwapInterval(int interval);
    // The light's GL unit, assigning the lowest free one when it has none;
    // -1 when every unit is taken.
    int lightUnitFor(OrvLightData* light);

    // Client-array and buffer state for the mesh drawing paths, each compared
    // with the cache first. Client-array disables wait for the next draw,
    // which calls flushClientArrays first.
    void bindBuffer(GLenum target, GLuint buffer);
    void setClientArray(int array, bool on);
    void setArrayPointer(int array, GLint size, GLsizei stride, const void* pointer);
    void flushClientArrays();
    // Points GL at the positions and at the colours and normals the mesh's
    // options ask for, from its buffers (created and brought up to date on
    // the way) or from client memory, and enables their client states.
    void pointArrays(OrvMeshData* mesh, bool fromBuffers);
    const void* attributeSource(OrvMeshData* mesh, int array);
    // Generates, binds and sizes one buffer for the record's name slot.
    // Returns 0, -1 for a usage code outside 0 to 2, or failure when no name
    // was obtained.
    int createBuffer(OrvMeshData* mesh, GLenum target, uint32_t& name, GLsizeiptr bytes,
                     int usageCode, const char* kind, int failure);
    void deleteBuffer(uint32_t& name);
    // Indexed drawing of count indices from start, an offset into the bound
    // element buffer or a client pointer.
    void drawIndexed(const OrvMeshData* mesh, GLsizei count, const void* start);
    // Uses the program (0: none) unless it is in use already.
    void useProgram(GLuint program);

    // Textures (orv_renderer_opengl_texture.cpp). The texture capabilities
    // are read at the first texture operation.
    const OrvGlTextureCapabilities& textureCapabilities();
    void selectUnit(int unit);
    void selectClientUnit(int unit);
    void bindTextureName(int unit, GLuint name);
    void setTextureUnit(int unit, bool on);
    void setCoordArray(int unit, bool on);
    // Sampling settings and the picture's levels, for the texture bound on
    // unit 0.
    void uploadLevels(const OrvTextureData* texture, const OrvImage* image);
    // Points each textured unit at its texture coordinate set, from the
    // mesh's buffers or from client memory. Nothing while no unit has a
    // texture.
    void pointTexCoords(OrvMeshData* mesh, bool fromBuffers);

    // Compiler and linker logs as WARNING lines, one printer per object and
    // codepath.
    void _printGpuProgramInfoLog(OrvGpuProgram* program);
    void _printGpuVertexShaderInfoLog(OrvGpuProgram* program);
    void _printGpuPixelShaderInfoLog(OrvGpuProgram* program);
    void _printGpuProgramInfoLogARB(OrvGpuProgram* program);
    void _printGpuVertexShaderInfoLogARB(OrvGpuProgram* program);
    void _printGpuPixelShaderInfoLogARB(OrvGpuProgram* program);

    const OrvGlCapabilities::EntryPoints& gl() const { return m_capabilities.entryPoints(); }

    OrvGlCapabilities m_capabilities;
    OrvGlStateCache m_cache;
    OrvGlTextureCapabilities m_textureCapabilities;
    // Bit i is set while unit i has a texture bound through bindTexture.
    uint32_t m_texturedUnits;
    OrvRenderContext* m_context;
    // GL light units: m_lightUnits[i] is 1 while unit i is bound to a light.
    int32_t m_lightCount;
    int32_t* m_lightUnits;
    // The matrix last set by setViewMatrix or lookAt, in OpenGL order.
    float m_viewMatrix[16];
    // The rectangle last set by setViewport: x, y, width, height.
    int32_t m_viewport[4];
};
