// OrvRendererOpenGL: the renderer on OpenGL 1.1's fixed-function pipeline,
// with vertex and index buffer objects from GL_ARB_vertex_buffer_object and
// GLSL through either the OpenGL 2.0 functions (the GL2 codepath) or the
// GL_ARB_shader_objects functions (the ARB codepath). initialize reads the
// driver's version and extensions once into the capability flags and loads
// the entry points the flags allow; afterwards each operation tests one flag.
//
// The operations live in several files: start-up, state, matrices and lights
// in orv_renderer_opengl.cpp, text in orv_renderer_opengl_text.cpp, mesh
// drawing and buffers in orv_renderer_opengl_mesh.cpp and GPU programs in
// orv_renderer_opengl_gpu_shader.cpp.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "orv_renderer.h"

struct _XDisplay;

// The entry points loaded by name, one group per capability, in member order.
// X(type, name): each member is named exactly as the entry point it holds.
#define ORV_GL_RANGE_ENTRY_POINTS(X) X(PFNGLDRAWRANGEELEMENTSPROC, glDrawRangeElements)

#define ORV_GL_BUFFER_ENTRY_POINTS(X)                \
    X(PFNGLGENBUFFERSARBPROC, glGenBuffersARB)       \
    X(PFNGLBINDBUFFERARBPROC, glBindBufferARB)       \
    X(PFNGLBUFFERDATAARBPROC, glBufferDataARB)       \
    X(PFNGLBUFFERSUBDATAARBPROC, glBufferSubDataARB) \
    X(PFNGLDELETEBUFFERSARBPROC, glDeleteBuffersARB) \
    X(PFNGLMAPBUFFERARBPROC, glMapBufferARB)         \
    X(PFNGLUNMAPBUFFERARBPROC, glUnmapBufferARB)     \
    X(PFNGLGETBUFFERPARAMETERIVARBPROC, glGetBufferParameterivARB)

#define ORV_GL_GL2_ENTRY_POINTS(X)                                   \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                       \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                       \
    X(PFNGLCREATESHADERPROC, glCreateShader)                         \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                         \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                         \
    X(PFNGLDETACHSHADERPROC, glDetachShader)                         \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                         \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                       \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                           \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                             \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                         \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)               \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)             \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                               \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                               \
    X(PFNGLUNIFORM3FPROC, glUniform3f)                               \
    X(PFNGLUNIFORM4FPROC, glUniform4f)                               \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                               \
    X(PFNGLUNIFORM2IPROC, glUniform2i)                               \
    X(PFNGLUNIFORM3IPROC, glUniform3i)                               \
    X(PFNGLUNIFORM4IPROC, glUniform4i)                               \
    X(PFNGLUNIFORM1FVPROC, glUniform1fv)                             \
    X(PFNGLUNIFORM2FVPROC, glUniform2fv)                             \
    X(PFNGLUNIFORM3FVPROC, glUniform3fv)                             \
    X(PFNGLUNIFORM4FVPROC, glUniform4fv)                             \
    X(PFNGLUNIFORM1IVPROC, glUniform1iv)                             \
    X(PFNGLUNIFORM2IVPROC, glUniform2iv)                             \
    X(PFNGLUNIFORM3IVPROC, glUniform3iv)                             \
    X(PFNGLUNIFORM4IVPROC, glUniform4iv)                             \
    X(PFNGLUNIFORMMATRIX2FVPROC, glUniformMatrix2fv)                 \
    X(PFNGLUNIFORMMATRIX3FVPROC, glUniformMatrix3fv)                 \
    X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv)                 \
    X(PFNGLBINDATTRIBLOCATIONPROC, glBindAttribLocation)             \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)           \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)   \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, glDisableVertexAttribArray) \
    X(PFNGLISPROGRAMPROC, glIsProgram)                               \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                           \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)

#define ORV_GL_ARB_ENTRY_POINTS(X)                                       \
    X(PFNGLCREATEPROGRAMOBJECTARBPROC, glCreateProgramObjectARB)         \
    X(PFNGLCREATESHADEROBJECTARBPROC, glCreateShaderObjectARB)           \
    X(PFNGLDELETEOBJECTARBPROC, glDeleteObjectARB)                       \
    X(PFNGLATTACHOBJECTARBPROC, glAttachObjectARB)                       \
    X(PFNGLDETACHOBJECTARBPROC, glDetachObjectARB)                       \
    X(PFNGLSHADERSOURCEARBPROC, glShaderSourceARB)                       \
    X(PFNGLCOMPILESHADERARBPROC, glCompileShaderARB)                     \
    X(PFNGLLINKPROGRAMARBPROC, glLinkProgramARB)                         \
    X(PFNGLUSEPROGRAMOBJECTARBPROC, glUseProgramObjectARB)               \
    X(PFNGLGETOBJECTPARAMETERIVARBPROC, glGetObjectParameterivARB)       \
    X(PFNGLGETINFOLOGARBPROC, glGetInfoLogARB)                           \
    X(PFNGLGETUNIFORMLOCATIONARBPROC, glGetUniformLocationARB)           \
    X(PFNGLUNIFORM1FARBPROC, glUniform1fARB)                             \
    X(PFNGLUNIFORM2FARBPROC, glUniform2fARB)                             \
    X(PFNGLUNIFORM3FARBPROC, glUniform3fARB)                             \
    X(PFNGLUNIFORM4FARBPROC, glUniform4fARB)                             \
    X(PFNGLUNIFORM1IARBPROC, glUniform1iARB)                             \
    X(PFNGLUNIFORM2IARBPROC, glUniform2iARB)                             \
    X(PFNGLUNIFORM3IARBPROC, glUniform3iARB)                             \
    X(PFNGLUNIFORM4IARBPROC, glUniform4iARB)                             \
    X(PFNGLUNIFORM1FVARBPROC, glUniform1fvARB)                           \
    X(PFNGLUNIFORM2FVARBPROC, glUniform2fvARB)                           \
    X(PFNGLUNIFORM3FVARBPROC, glUniform3fvARB)                           \
    X(PFNGLUNIFORM4FVARBPROC, glUniform4fvARB)                           \
    X(PFNGLUNIFORM1IVARBPROC, glUniform1ivARB)                           \
    X(PFNGLUNIFORM2IVARBPROC, glUniform2ivARB)                           \
    X(PFNGLUNIFORM3IVARBPROC, glUniform3ivARB)                           \
    X(PFNGLUNIFORM4IVARBPROC, glUniform4ivARB)                           \
    X(PFNGLUNIFORMMATRIX2FVARBPROC, glUniformMatrix2fvARB)               \
    X(PFNGLUNIFORMMATRIX3FVARBPROC, glUniformMatrix3fvARB)               \
    X(PFNGLUNIFORMMATRIX4FVARBPROC, glUniformMatrix4fvARB)               \
    X(PFNGLBINDATTRIBLOCATIONARBPROC, glBindAttribLocationARB)           \
    X(PFNGLVERTEXATTRIBPOINTERARBPROC, glVertexAttribPointerARB)         \
    X(PFNGLENABLEVERTEXATTRIBARRAYARBPROC, glEnableVertexAttribArrayARB) \
    X(PFNGLDISABLEVERTEXATTRIBARRAYARBPROC, glDisableVertexAttribArrayARB)

// The three GLX swap-interval extensions, tried in this order; their
// signatures differ, so each has its own member.
#define ORV_GLX_SWAP_INTERVAL_ENTRY_POINTS(X)                                \
    X(OrvSwapIntervalEXTProc, glXSwapIntervalEXT, "GLX_EXT_swap_control")    \
    X(OrvSwapIntervalMESAProc, glXSwapIntervalMESA, "GLX_MESA_swap_control") \
    X(OrvSwapIntervalSGIProc, glXSwapIntervalSGI, "GLX_SGI_swap_control")

typedef void (*OrvSwapIntervalEXTProc)(_XDisplay* display, unsigned long drawable, int interval);
typedef int (*OrvSwapIntervalMESAProc)(unsigned int interval);
typedef int (*OrvSwapIntervalSGIProc)(int interval);
// What glXGetProcAddressARB hands back.
typedef void (*OrvProc)();

#define ORV_DECLARE_ENTRY_POINT(type, name, ...) type name;

class OrvRendererOpenGL : public OrvRenderer {
  public:
    // The name of the GLX extension string for queryString, beside
    // GL_VERSION and GL_EXTENSIONS.
    static constexpr unsigned int kGlxExtensions = 3;
    // Display lists a font reserves, one per character code.
    static constexpr int kFontLists = 256;
    // Character codes that get a glyph: 0 to 254.
    static constexpr int kFontGlyphs = 255;

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

    // Reads GL_VERSION into the version numbers and the OpenGL-2 flag.
    void detectAPIVersion();
    // 1 when name occurs anywhere in GL_EXTENSIONS (a plain substring test).
    int isExtensionSupported(const char* name);
    // The driver's entry point of that name, or null.
    OrvProc getProcAddress(const char* name);

    // Capability flags, 0 or 1, fixed by initialize.
    int32_t hasOpenGL2;
    int32_t hasBufferObjects;
    int32_t hasArbShaders;
    int32_t hasGl2Shaders;
    int32_t majorVersion;
    int32_t minorVersion;

    ORV_GLX_SWAP_INTERVAL_ENTRY_POINTS(ORV_DECLARE_ENTRY_POINT)
    ORV_GL_RANGE_ENTRY_POINTS(ORV_DECLARE_ENTRY_POINT)
    ORV_GL_BUFFER_ENTRY_POINTS(ORV_DECLARE_ENTRY_POINT)
    ORV_GL_GL2_ENTRY_POINTS(ORV_DECLARE_ENTRY_POINT)
    ORV_GL_ARB_ENTRY_POINTS(ORV_DECLARE_ENTRY_POINT)

    // GL light units: lightUnits[i] is 1 while unit i is bound to a light.
    int32_t lightCount;
    int32_t* lightUnits;
    // The matrix last set by setViewMatrix or lookAt, in OpenGL order.
    float viewMatrix[16];
    // The rectangle last set by setViewport.
    int32_t viewportX;
    int32_t viewportY;
    int32_t viewportWidth;
    int32_t viewportHeight;

  protected:
    // The one place the driver's capability strings are read: GL_VERSION,
    // GL_EXTENSIONS or kGlxExtensions; null when there is none (no current
    // context). Tests replace it because Mesa cannot hide every extension.
    virtual const char* queryString(unsigned int name);

  private:
    struct EntryPoint {
        const char* name;
        OrvProc* slot;
    };

    template <int N>
    void loadEntryPoints(const EntryPoint (&table)[N]);
    void loadSwapInterval();
    void loadBufferEntryPoints();
    void loadShaderEntryPoints();
    void allocateLightUnits();
    void releaseLightUnits();
    void setCapability(int capability, bool on);
    void setSwapInterval(int interval);
    // The light's GL unit, assigning the lowest free one when it has none;
    // -1 when every unit is taken.
    int lightUnitFor(OrvLightData* light);
    // Compiler and linker logs as WARNING lines, one printer per object and
    // codepath.
    void _printGpuProgramInfoLog(OrvGpuProgram* program);
    void _printGpuVertexShaderInfoLog(OrvGpuProgram* program);
    void _printGpuPixelShaderInfoLog(OrvGpuProgram* program);
    void _printGpuProgramInfoLogARB(OrvGpuProgram* program);
    void _printGpuVertexShaderInfoLogARB(OrvGpuProgram* program);
    void _printGpuPixelShaderInfoLogARB(OrvGpuProgram* program);
};
