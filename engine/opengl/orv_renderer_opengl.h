/// @file
/// OrvRendererOpenGL, the renderer on OpenGL's fixed-function pipeline.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "opengl/orv_gl_capabilities.h"
#include "opengl/orv_gl_state_cache.h"
#include "opengl/orv_gl_texture_capabilities.h"
#include "render/orv_renderer.h"

class OrvRenderContext;

/// The renderer on OpenGL 1.1's fixed-function pipeline, with vertex and index buffer objects from
/// GL_ARB_vertex_buffer_object and GLSL through either the OpenGL 2.0 functions (the GL2
/// codepath) or the GL_ARB_shader_objects functions (the ARB codepath).
///
/// It is made of three parts. The capabilities (OrvGlCapabilities): initialize reads the driver's
/// version and extensions once into flags and loads the entry points the flags allow, by name,
/// from the current render context; they are read-only afterwards and each operation tests one
/// flag. The state cache (OrvGlStateCache): what the renderer last set, so that state already in
/// place is not sent to the driver again. And the operations themselves, which live in several
/// files: start-up, state, matrices and lights in orv_renderer_opengl.cpp, text in
/// orv_renderer_opengl_text.cpp, mesh drawing and buffers in orv_renderer_opengl_mesh.cpp,
/// textures in orv_renderer_opengl_texture.cpp and GPU programs in
/// orv_renderer_opengl_gpu_shader.cpp.
///
/// The program's own GL calls. Explicit loads always reach the driver: setViewMatrix,
/// loadViewMatrix, lookAt, loadModelViewMatrix, the projections and the viewport set their matrix
/// mode and load every time. The cache forgets everything at beginScene, so GL calls the program
/// makes between frames are repaired by the next frame. Inside a frame, a program that changes
/// cached state itself (capability switches, material or light parameters, client arrays, buffer
/// or program bindings, texture bindings and switches) calls invalidateStateCache before its next
/// renderer call.
class OrvRendererOpenGL : public OrvRenderer {
  public:
    /// Display lists a font reserves, one per character code.
    static constexpr int kFontLists = 256;
    /// Character codes that get a glyph: 0 to 254.
    static constexpr int kFontGlyphs = 255;
    /// The tallest font createFont makes, in pixels.
    static constexpr int kMaxFontHeight = 512;

    /// Becomes the renderer getInstance returns. Makes no GL call, so it may come before any
    /// context exists; initialize does the work.
    OrvRendererOpenGL();
    /// Makes no GL call, since the context may already be gone: GL objects the renderer made stay
    /// with the context.
    ~OrvRendererOpenGL() override;

    OrvRendererOpenGL(const OrvRendererOpenGL&) = delete;
    OrvRendererOpenGL& operator=(const OrvRendererOpenGL&) = delete;

    /// Needs a current context. Reads the driver's version and extensions through queryString,
    /// loads the entry points from the context given to setContext, takes the GL_MAX_LIGHTS light
    /// units and switches GL_COLOR_MATERIAL off. Returns RESULT_OK, RESULT_VERSION_TOO_OLD, or -1
    /// with the WARNING line "OrvRendererOpenGL::initialize(): no OpenGL context is current.".
    int initialize() override;
    /// Gives the light units back (lightCount is 0 afterwards) and returns 0; it makes no GL call.
    int terminate() override;

    /// Switch a capability (a Capability code) on or off. VERTICAL_SYNC sets the swap interval
    /// through the context given to setContext (no effect without one); LIGHTING, FACE_CULLING and
    /// DEPTH_TEST reach GL through the state cache; any other code does nothing.
    ///@{
    void enable(int capability) override;
    void disable(int capability) override;
    ///@}
    /// Applies a scene object's block of render states, indexed by RenderState (a switch is on at
    /// 1, off otherwise). It goes through enable, disable, setCullFace and setPolygonMode, which
    /// are virtual, so that a derived renderer sees every change; null does nothing.
    void applyRenderStates(const int* states) override;
    void setCullFace(int face) override;
    void setPolygonMode(int mode, int face) override;
    /// Starts a frame by forgetting the whole state cache: whatever the program did to GL between
    /// frames, each value is sent again at its first use.
    void beginScene() override;
    /// Ends a frame by sending the client-array disables still waiting for a draw, so that the
    /// frame leaves the state its calls asked for.
    void endScene() override;

    void clearDepthBuffer(float depth) override;
    void clearColorBuffer(float r, float g, float b, float a) override;
    /// Sets the GL viewport, in window pixels from the bottom left corner. The rectangle is also
    /// kept for drawText's placement and readBackBuffer. A negative size is refused with a
    /// WARNING line and the viewport stays as it was.
    void setViewport(int x, int y, int width, int height) override;
    /// Loads @p m (16 floats, OpenGL order) into GL_PROJECTION, which stays the matrix mode;
    /// null does nothing.
    void setProjectionMatrix(const float* m) override;
    /// Loads @p m (16 floats, OpenGL order) into GL_MODELVIEW and keeps it as the view that
    /// loadViewMatrix loads; null does nothing.
    void setViewMatrix(const float* m) override;
    /// Loads the view last set by setViewMatrix or lookAt into GL_MODELVIEW, so every object
    /// starts from the camera's view and none inherits another's transform.
    void loadViewMatrix() override;
    /// Multiplies @p m into whichever matrix mode is current (GL_MODELVIEW after the view and
    /// modelview loads); null does nothing.
    void multMatrix(const float* m) override;
    /// Loads @p m (16 floats, OpenGL order) into GL_MODELVIEW in place of the view; null does
    /// nothing.
    void loadModelViewMatrix(const float* m) override;
    /// Loads gluLookAt's view into GL_MODELVIEW and keeps the matrix GL then holds as the view
    /// that loadViewMatrix loads; any null pointer does nothing.
    void lookAt(const float* eye, const float* centre, const float* up) override;
    /// Replace the projection with gluPerspective's (@p fovY in degrees) or glOrtho's;
    /// GL_PROJECTION stays the matrix mode.
    ///@{
    void setPerspective(float fovY, float aspect, float zNear, float zFar) override;
    void setOrtho(float left, float right, float bottom, float top, float zNear,
                  float zFar) override;
    ///@}

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

    /// Switches on the GL light unit of @p light, first giving it the lowest free one (written to
    /// its record) when it has none; nothing when all lightCount units are taken or for null.
    void enableLight(OrvLightData* light) override;
    /// Switches the light's unit off and gives it back; the record's unit becomes kNoUnit.
    /// Nothing for null or a light without a unit.
    void disableLight(OrvLightData* light) override;
    /// Sends the light's position, and for a spot light its direction and cutoff, to its unit
    /// (a directional light's direction goes as its position). Position and direction pass
    /// through the modelview matrix current now, so the view matrix is loaded just before. A
    /// spot cutoff outside 0 to 90 degrees leaves the unit's cone as it was. Gives the light a
    /// unit as enableLight does.
    void setLightPosition(OrvLightData* light) override;
    void setLightColors(OrvLightData* light) override;
    void applyMaterial(const float* material) override;

    int hasVBO(const OrvMeshData* mesh, int array) override;
    int hasIBO(const OrvMeshData* mesh) override;
    /// Generate a buffer sized for the whole array, with no data yet and the record's usage code
    /// (0 static, 1 dynamic, 2 stream) as GL's hint, and leave it bound; the array is marked
    /// changed so that updateVBO or updateIBO fills it. A usage code outside 0 to 2 gives -1 with
    /// a WARNING line, and the mesh is drawn from client memory. Otherwise 0 (also when the buffer
    /// exists already), -1 for null or an array index out of range, RESULT_NO_BUFFER_OBJECTS
    /// without buffer objects, or RESULT_NO_VERTEX_BUFFER or RESULT_NO_INDEX_BUFFER with a
    /// WARNING line when GL gives no name.
    ///@{
    int createVBO(OrvMeshData* mesh, int array) override;
    int createIBO(OrvMeshData* mesh) override;
    ///@}
    /// Delete the mesh's buffer (nothing without one) and forget the whole state cache, since GL
    /// unbinds a deleted buffer and may hand its name out again.
    ///@{
    void destroyVBO(OrvMeshData* mesh, int array) override;
    void destroyIBO(OrvMeshData* mesh) override;
    ///@}
    void bindVBO(OrvMeshData* mesh, int array) override;
    void bindIBO(OrvMeshData* mesh) override;
    /// Upload the whole array into the buffer bound now, when the record marks it changed, and
    /// clear the mark: bind the mesh's buffer first (bindVBO, bindIBO). Nothing without buffer
    /// objects, without a buffer for the array or without the array itself.
    ///@{
    void updateVBO(OrvMeshData* mesh, int array) override;
    void updateIBO(OrvMeshData* mesh) override;
    ///@}

    /// 1 when the record's handle is a program: glIsProgram on the GL2 codepath; the ARB
    /// codepath has no such test and takes any nonzero handle. 0 without GLSL or for null.
    int isGpuProgram(OrvGpuProgram* program) override;
    void createGpuProgram(OrvGpuProgram* program) override;
    void destroyGpuProgram(OrvGpuProgram* program) override;
    int createGpuVertexShader(OrvGpuProgram* program) override;
    void destroyGpuVertexShader(OrvGpuProgram* program) override;
    int createGpuPixelShader(OrvGpuProgram* program) override;
    void destroyGpuPixelShader(OrvGpuProgram* program) override;
    /// Links the program when it is not linked yet (binding its attributes first), then puts it
    /// in use through the state cache; null puts none in use. A program with a shader that did
    /// not compile is refused with one WARNING line and none is put in use; a failed link writes
    /// the linker's log and the next activation tries again.
    void activeGpuShader(OrvGpuProgram* program) override;
    void updateGpuShaderUniforms(OrvGpuProgram* program) override;
    void bindGpuShaderAttributes(OrvGpuProgram* program) override;

    /// Compiles one display list per character code (kFontLists of them from the record's
    /// listBase) from the installed font fontconfig finds closest to the face name, in bold, at
    /// the record's height in pixels (at least 1). Returns 0, or -1 with a WARNING line for a
    /// height above kMaxFontHeight or when no font can be made.
    int createFont(OrvTextInfo* text, OrvWindowInfo* window) override;
    void destroyFont(OrvTextInfo* text, OrvWindowInfo* window) override;
    /// Draws the text at the record's x and y, in pixels from the top left corner of the viewport
    /// last given to setViewport, with its baseline a font height below y. Switches LIGHTING off
    /// through disable and leaves the current colour white.
    void drawText(OrvTextInfo* text, OrvWindowInfo* window) override;

    /// Uploads the picture into a new texture, destroying one the record already had, and leaves
    /// it bound on unit 0. A picture GL cannot take as it is (a side not a power of two where the
    /// driver needs one, or past GL_MAX_TEXTURE_SIZE) is scaled with gluScaleImage first, and the
    /// record gets the size uploaded. Returns 0; -1 for a null record or an empty picture, or
    /// with a WARNING line when there is no memory for the scaled one; RESULT_NO_TEXTURE with a
    /// WARNING line when GL gives no name.
    int createTexture(OrvTextureData* texture, const OrvImage* image) override;
    void destroyTexture(OrvTextureData* texture) override;
    void bindTexture(int unit, const OrvTextureData* texture) override;
    /// The driver's units, at most kMaxTextureUnits, read at the first texture operation after
    /// initialize; 1 before initialize.
    int getTextureUnitCount() override;
    /// Reads the back buffer into the image, rows top first: GL_BACK, or the colour attachment of
    /// a bound framebuffer object, inside the rectangle last given to setViewport (not one the
    /// program set with its own glViewport). Returns 0, or -1 for null or, with a WARNING line,
    /// for an empty viewport (none set yet) or no room for the picture.
    int readBackBuffer(OrvImage* image) override;

    /// The render context whose driver the renderer uses: initialize loads the
    /// entry points from it and vertical sync goes through it. The engine root
    /// sets it whenever the current context changes; a context held here must
    /// live until it is replaced (null forgets it). The state cache forgets
    /// everything, since another context holds other state.
    void setContext(OrvRenderContext* context);

    /// The state cache: while it is on (the default), state a call asks for
    /// that is already in place is not sent to the driver again, so every
    /// object may ask for all of its state at no cost. With the cache off
    /// every call reaches the driver. Switching it either way forgets
    /// everything; @p on is 0 for off, anything else for on.
    void setStateCache(int on);
    /// Forgets everything the state cache knows, so that each value is sent at its next use.
    /// Code that changes cached GL state itself inside a frame calls it before its next renderer
    /// call (see the class description).
    void invalidateStateCache();

    /// What initialize found; fixed until the next initialize, but for detectAPIVersion, which
    /// reads the version again.
    const OrvGlCapabilities& capabilities() const { return m_capabilities; }
    /// The GL light units the renderer hands out (GL_MAX_LIGHTS); 0 before
    /// initialize and after terminate.
    int lightCount() const { return m_lightCount; }

    /// Reads GL_VERSION (through queryString) into the version numbers and the OpenGL-2 flag of
    /// capabilities, with the version line in the log, or a WARNING line for a missing or
    /// malformed string. The entry points stay as initialize loaded them.
    void detectAPIVersion();
    /// 1 when @p name occurs anywhere in GL_EXTENSIONS (a plain substring test, so part of a longer
    /// name matches too); 0 otherwise, for null or without a current context.
    int isExtensionSupported(const char* name);
    /// The entry point of that name from the context given to setContext, or null (no context,
    /// or the context has none).
    OrvProc getProcAddress(const char* name);

  protected:
    /// The one place the driver's capability strings are read: GL_VERSION or
    /// GL_EXTENSIONS; null when there is none (no current context). Tests
    /// replace it because Mesa cannot hide every extension. Whether a context
    /// is current at all, initialize asks the driver itself.
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
