// OrvRendererOpenGL: the renderer on OpenGL 1.1's fixed-function pipeline,
// with vertex and index buffer objects from GL_ARB_vertex_buffer_object and
// GLSL through either the OpenGL 2.0 functions (the GL2 codepath) or the
// GL_ARB_shader_objects functions (the ARB codepath). initialize reads the
// driver's version and extensions once into the capability flags and loads
// the entry points the flags allow; afterwards each operation tests one flag.
// A state cache remembers what the renderer last set, so that state already in
// place is not sent to the driver again (see setStateCache).
//
// The operations live in several files: start-up, state, matrices and lights
// in orv_renderer_opengl.cpp, text in orv_renderer_opengl_text.cpp, mesh
// drawing and buffers in orv_renderer_opengl_mesh.cpp and GPU programs in
// orv_renderer_opengl_gpu_shader.cpp.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "render/orv_renderer.h"

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

    // The state cache: while it is on (the default), state a call asks for
    // that is already in place is not sent to the driver again, so every
    // object may ask for all of its state at no cost. Code that changes GL
    // state itself, behind the renderer, calls invalidateStateCache; with the
    // cache off every call reaches the driver.
    void setStateCache(int on);
    void invalidateStateCache();
    // Invalidates the cache of the OpenGL renderer that exists, if any: a new
    // or another current context holds state this renderer did not set.
    static void contextChanged();

    // Client-array and buffer state for the mesh drawing paths, each compared
    // with the cache first. Client-array disables wait for the next draw, which
    // calls flushClientArrays first: a mesh that follows another with the same
    // arrays then changes nothing.
    void bindBuffer(GLenum target, GLuint buffer);
    void setClientArray(int array, bool on);
    void setArrayPointer(int array, GLint size, GLsizei stride, const void* pointer);
    void flushClientArrays();

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
    // Lights whose parameters the cache keeps; units beyond are always sent.
    static constexpr int kCachedLights = 8;
    // The client arrays the mesh paths use: positions, colours, normals.
    static constexpr int kClientArrays = 3;
    enum LightParameter {
        LIGHT_AMBIENT,
        LIGHT_DIFFUSE,
        LIGHT_SPECULAR,
        LIGHT_POSITION,
        LIGHT_SPOT_DIRECTION,
        LIGHT_SPOT_CUTOFF,
        LIGHT_CONSTANT_ATTENUATION,
        LIGHT_LINEAR_ATTENUATION,
        LIGHT_QUADRATIC_ATTENUATION,
        kLightParameters
    };
    enum MaterialParameter {
        MATERIAL_AMBIENT,
        MATERIAL_DIFFUSE,
        MATERIAL_SPECULAR,
        MATERIAL_EMISSION,
        MATERIAL_SHININESS,
        kMaterialParameters
    };
    // One client array's pointer as GL holds it: the buffer bound when it
    // was set is part of it.
    struct ArrayPointer {
        bool known;
        GLint size;
        GLsizei stride;
        const void* pointer;
        GLuint buffer;
    };
    // What the driver holds, as far as this renderer set it. Values marked
    // unknown are sent at their next use.
    struct StateCache {
        // -1 unknown, else 0 or 1: lighting, face culling, depth test.
        int8_t capabilities[3];
        int8_t lights[kCachedLights];
        GLenum cullFace;
        GLenum frontMode;
        GLenum backMode;
        GLenum matrixMode;
        // The modelview holds viewMatrix as loaded at viewGeneration, so
        // light positions and directions sent now land where they did.
        bool modelviewIsView;
        uint32_t viewGeneration;
        uint32_t materialKnown;
        float material[kMaterialParameters][4];
        uint32_t lightKnown[kCachedLights];
        float light[kCachedLights][kLightParameters][4];
        uint32_t lightGeneration[kCachedLights][2];
        // Client arrays: what GL has enabled (-1 unknown) and what the
        // current draw wants; disables wait until the next draw so that a
        // mesh following another with the same arrays changes nothing.
        int8_t arraysEnabled[kClientArrays];
        bool arraysWanted[kClientArrays];
        ArrayPointer pointers[kClientArrays];
        // Bound buffers (-1 unknown) and the program in use.
        int64_t arrayBuffer;
        int64_t elementBuffer;
        int64_t program;
    };

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
    void setGlCapability(GLenum capability, int8_t& cached, bool on);
    void setLightCapability(int unit, bool on);
    void setMatrixMode(GLenum mode);
    void setMaterialParameter(int parameter, GLenum name, const float* values, int count);
    void setLightParameter(int unit, int parameter, GLenum name, const float* values, int count);
    // Position and direction also depend on the modelview matrix.
    void setLightVector(int unit, int parameter, GLenum name, const float* values);

    bool cacheOn() const { return stateCacheOn != 0; }
    void forgetMatrixMode() { cache.matrixMode = 0; }
    // Uses the program (0: none) unless it is in use already.
    void useProgram(GLuint program);
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

    int32_t stateCacheOn;
    StateCache cache;
};
