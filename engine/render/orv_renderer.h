/// @file
/// OrvRenderer, the interface every part of the engine draws through.
#pragma once

struct OrvGpuProgram;
struct OrvImage;
struct OrvLightData;
struct OrvMeshData;
struct OrvTextInfo;
struct OrvTextureData;
struct OrvWindowInfo;

/// The interface every part of the engine draws through, reached with
/// getInstance. OrvRendererOpenGL is the engine's implementation; tests put a
/// recording implementation in its place. Records passed in stay owned by the
/// caller; the renderer keeps no pointer to them after a call.
///
/// A null record or array makes an operation do nothing (and return -1, or 0
/// for the has/is tests), except where its comment gives null a meaning.
///
/// The mesh operations draw the triangles firstFace to lastFace (inclusive) of
/// an OrvMeshData record. A range reaching outside the record's triangles draws
/// nothing and writes a WARNING line; an empty range, or a record missing its
/// indices, its positions, or a colour or normal array its options ask for,
/// draws nothing and logs nothing. The array and buffer paths send colours and
/// normals where the record's colorArray and normalArray options are 1;
/// immediate mode and display lists send whatever arrays the record has. Every
/// path sends the texture coordinate set of each unit bindTexture gave a
/// texture.
class OrvRenderer {
  public:
    /// Capability codes of enable and disable.
    enum Capability {
        /// Waiting for the display's vertical refresh at each swap, set through the
        /// current render context; no effect where the context cannot set it.
        VERTICAL_SYNC = 0,
        LIGHTING = 1,             ///< Lighting by the enabled lights and the applied material.
        RESERVED_CAPABILITY = 2,  ///< Kept for the render-state block's index 2; no effect.
        FACE_CULLING = 3,         ///< Culling of the faces setCullFace names.
        DEPTH_TEST = 4,           ///< Depth testing against the depth buffer.
        /// A second code without meaning in the OpenGL renderer; the scene
        /// object's axes switch it off with the others.
        RESERVED_CAPABILITY_5 = 5
    };
    /// Face codes of setCullFace and setPolygonMode; any value but 1 and 2 is
    /// the back face.
    enum Face {
        BACK = 0,            ///< Back faces.
        FRONT_AND_BACK = 1,  ///< Front and back faces.
        FRONT = 2            ///< Front faces.
    };
    /// Mode codes of setPolygonMode; any other value fills.
    enum PolygonMode {
        POINTS = 0,  ///< Only the vertices, as points.
        LINES = 1,   ///< Only the edges, as lines.
        FILL = 2     ///< Filled faces.
    };
    /// Indices into a scene object's block of render states. The switches
    /// are on when their entry is exactly 1 and off for any other value;
    /// indices 5 to 10 are read by no renderer.
    enum RenderState {
        /// Read by no renderer; a scene object starts with it at 1.
        STATE_UNREAD = 0,
        STATE_LIGHTING = 1,             ///< Switch of LIGHTING.
        STATE_RESERVED = 2,             ///< Switch of RESERVED_CAPABILITY.
        STATE_FACE_CULLING = 3,         ///< Switch of FACE_CULLING.
        STATE_DEPTH_TEST = 4,           ///< Switch of DEPTH_TEST.
        STATE_CULL_FACE = 11,           ///< Face code given to setCullFace.
        STATE_BACK_POLYGON_MODE = 12,   ///< Polygon mode code of the back faces.
        STATE_FRONT_POLYGON_MODE = 13,  ///< Polygon mode code of the front faces.
        kRenderStateCount = 14          ///< Ints in the block.
    };
    /// Results of initialize, and of createVBO and createIBO beside 0 and -1.
    enum Result {
        RESULT_OK = 0,  ///< Success.
        /// initialize: the driver's OpenGL is 1.0 or 1.1, or its version string is
        /// unreadable; nothing can be drawn.
        RESULT_VERSION_TOO_OLD = 10,
        /// createVBO, createIBO: the driver has no buffer objects; meshes draw
        /// from client memory instead.
        RESULT_NO_BUFFER_OBJECTS = 20,
        RESULT_NO_VERTEX_BUFFER = 21,  ///< createVBO: the driver gave no buffer name.
        RESULT_NO_INDEX_BUFFER = 22,   ///< createIBO: the driver gave no buffer name.
        /// createTexture: the driver gave no texture name.
        RESULT_NO_TEXTURE = 23
    };
    /// The most texture units a material uses, whatever the driver has.
    static constexpr int kMaxTextureUnits = 8;

    /// The renderer that exists now, or null.
    static OrvRenderer* getInstance();

    /// Stops being the instance, unless a renderer made later has taken its
    /// place. GL objects made through it stay their owners' to destroy.
    virtual ~OrvRenderer();

    /// Reads what the driver of the current render context offers and gets the
    /// renderer ready to draw: RESULT_OK, RESULT_VERSION_TOO_OLD, or -1 with a
    /// WARNING line when no context is current. A feature the driver lacks is
    /// not an error: the operations that need it fall back or do nothing.
    virtual int initialize() = 0;
    /// Gives back what initialize took (the light units); always 0. Buffers,
    /// textures, programs and fonts stay their owners' to destroy.
    virtual int terminate() = 0;

    /// Switches a Capability on or off; an unknown code does nothing.
    ///@{
    virtual void enable(int capability) = 0;
    virtual void disable(int capability) = 0;
    ///@}
    /// Applies a scene object's block of kRenderStateCount ints, indexed by
    /// RenderState: lighting, depth test and face culling, the cull face, the
    /// front and back polygon modes, then the reserved switch. The switches go
    /// through enable and disable, so a derived renderer sees every change.
    virtual void applyRenderStates(const int* states) = 0;
    /// Chooses the faces FACE_CULLING removes, by Face code.
    virtual void setCullFace(int face) = 0;
    /// Draws the faces of a Face code as points, lines or filled, by
    /// PolygonMode code.
    virtual void setPolygonMode(int mode, int face) = 0;
    /// Opens a frame. The OpenGL renderer forgets its state cache here, so
    /// GL state the program changed between frames is sent again at its first
    /// use.
    virtual void beginScene() = 0;
    /// Closes the frame: state changes the renderer still held back are sent,
    /// so the driver is left as the frame's calls asked.
    virtual void endScene() = 0;

    /// Fills the depth buffer with depth (0 near to 1 far); colour is left.
    virtual void clearDepthBuffer(float depth) = 0;
    /// Fills the colour buffer with the colour (components 0 to 1); depth is
    /// left.
    virtual void clearColorBuffer(float r, float g, float b, float a) = 0;
    /// The rectangle of the window drawing goes to, in pixels from its
    /// bottom-left corner; drawText and readBackBuffer go by it too. A negative
    /// width or height is refused with a WARNING line and the viewport stays.
    virtual void setViewport(int x, int y, int width, int height) = 0;
    /// Loads m (16 floats, column by column) as the projection.
    virtual void setProjectionMatrix(const float* m) = 0;
    /// Loads m (16 floats, column by column) as the modelview and keeps it as
    /// the view that loadViewMatrix loads.
    virtual void setViewMatrix(const float* m) = 0;
    /// Loads the view last given to setViewMatrix or lookAt as the modelview,
    /// so each object starts from the camera; all zeros before either is
    /// called.
    virtual void loadViewMatrix() = 0;
    /// Multiplies the current matrix by m (16 floats, column by column) on the
    /// right: after loadViewMatrix, the object's transform onto the view. In
    /// the OpenGL renderer the current matrix is the projection right after
    /// setProjectionMatrix, setPerspective or setOrtho.
    virtual void multMatrix(const float* m) = 0;
    /// Loads m (16 floats, column by column) as the whole modelview; the view
    /// kept for loadViewMatrix is unchanged.
    virtual void loadModelViewMatrix(const float* m) = 0;
    /// Loads the view of an eye at @p eye looking at @p centre, with @p up
    /// upwards (3 floats each), and keeps it for loadViewMatrix.
    virtual void lookAt(const float* eye, const float* centre, const float* up) = 0;
    /// Loads a perspective projection: vertical field of view in degrees,
    /// width over height, and the near and far clip distances (both positive).
    virtual void setPerspective(float fovY, float aspect, float zNear, float zFar) = 0;
    /// Loads an orthographic projection of the box given in eye coordinates.
    virtual void setOrtho(float left, float right, float bottom, float top, float zNear,
                          float zFar) = 0;

    /// Draws one point at position (4 floats, with w) in colour (RGBA), size
    /// pixels across.
    virtual void drawPoint(const float* position, const float* color, float size) = 0;
    /// Draws the mesh's first three vertices as one triangle, each in its
    /// colour; nothing without three vertices, positions and colours.
    virtual void drawTriangle(const OrvMeshData* mesh) = 0;
    /// line: start point, end point, start colour, end colour, 4 floats each.
    virtual void drawLine(const float* line) = 0;

    /// Points the renderer at the mesh's vertex arrays in client memory, for
    /// drawElements until unsetVertexArrays.
    virtual void setVertexArrays(OrvMeshData* mesh) = 0;
    /// Draws the mesh's range from the arrays setVertexArrays set, with the
    /// indices from client memory.
    virtual void drawElements(OrvMeshData* mesh) = 0;
    /// Switches off the arrays setVertexArrays switched on.
    virtual void unsetVertexArrays(OrvMeshData* mesh) = 0;
    /// Points the renderer at the mesh's vertex buffers, creating them and
    /// uploading changed arrays on the way; an array whose buffer cannot be
    /// made is read from client memory.
    virtual void setVertexBuffers(OrvMeshData* mesh) = 0;
    /// Draws the mesh's range from the buffers setVertexBuffers set, with the
    /// indices from their buffer (created or brought up to date on the way);
    /// when no index buffer can be made, the indices come from client memory
    /// and every array stays where setVertexBuffers pointed it.
    virtual void drawElementsVBO(OrvMeshData* mesh) = 0;
    /// Switches off the arrays setVertexBuffers switched on and unbinds the
    /// vertex buffer.
    virtual void unsetVertexBuffers(OrvMeshData* mesh) = 0;
    /// setVertexArrays, drawElements and unsetVertexArrays in one call.
    virtual void drawMesh(OrvMeshData* mesh) = 0;
    /// setVertexBuffers, drawElementsVBO and unsetVertexBuffers in one call.
    virtual void drawMeshVBO(OrvMeshData* mesh) = 0;
    /// Draws the mesh's range one vertex at a time; a triangle with an index
    /// past the vertices is left out.
    virtual void drawImmediate(OrvMeshData* mesh) = 0;
    /// Records the range as drawImmediate draws it into a display list kept
    /// in the material range that currentRange names, replacing the one it
    /// had, with the texture coordinate sets of the units textured now (noted
    /// in the range's listTextureUnits); a WARNING line when the driver gives
    /// no list.
    virtual void compileDisplayList(OrvMeshData* mesh) = 0;
    /// Frees the display list of the current material range; nothing when it
    /// has none.
    virtual void deleteDisplayList(OrvMeshData* mesh) = 0;
    /// Draws the display list of the current material range, first compiling
    /// it again when the units textured now are not those it was recorded
    /// with; nothing when it has none.
    virtual void callDisplayList(OrvMeshData* mesh) = 0;

    /// Switches the light on, first giving it the lowest free light unit
    /// (written into its unit) when it has none; nothing when every unit is
    /// taken.
    virtual void enableLight(OrvLightData* light) = 0;
    /// Switches the light off and gives its unit back (unit becomes
    /// OrvLightData::kNoUnit); nothing for a light without a unit.
    virtual void disableLight(OrvLightData* light) = 0;
    /// Sends the light's position, and a spot light's axis and cone, through
    /// the modelview matrix in place now: load the view first so that the
    /// light stays put in the world. Takes a unit as enableLight does, without
    /// switching the light on.
    virtual void setLightPosition(OrvLightData* light) = 0;
    /// Sends the light's ambient, diffuse and specular colours and, for point
    /// and spot lights, its attenuation. Takes a unit as setLightPosition does.
    virtual void setLightColors(OrvLightData* light) = 0;
    /// material: ambient, diffuse, specular, emission (RGBA) and shininess.
    virtual void applyMaterial(const float* material) = 0;

    /// 1 while vertex array @p array (an OrvMeshData::Attribute index, 0 to
    /// 10) of the mesh has a buffer, else 0.
    virtual int hasVBO(const OrvMeshData* mesh, int array) = 0;
    /// 1 while the mesh's indices have a buffer, else 0.
    virtual int hasIBO(const OrvMeshData* mesh) = 0;
    /// Makes the buffer of one vertex array, sized for vertexCount vertices with
    /// the array's usage code, leaves the new buffer bound and marks the array
    /// changed so that updateVBO fills it. 0 when made or already there; -1 for an
    /// array or usage code out of range (a WARNING line for the usage),
    /// RESULT_NO_BUFFER_OBJECTS, or RESULT_NO_VERTEX_BUFFER with a WARNING.
    virtual int createVBO(OrvMeshData* mesh, int array) = 0;
    /// Makes the buffer of the mesh's indices, sized for faceCount triangles in
    /// the index format in use, as createVBO does; RESULT_NO_INDEX_BUFFER when
    /// the driver gives no name.
    virtual int createIBO(OrvMeshData* mesh) = 0;
    /// Frees the buffer of one vertex array and clears its name; nothing when
    /// it has none.
    virtual void destroyVBO(OrvMeshData* mesh, int array) = 0;
    /// Frees the buffer of the mesh's indices and clears its name; nothing
    /// when it has none.
    virtual void destroyIBO(OrvMeshData* mesh) = 0;
    /// Binds the buffer of one vertex array; a null mesh unbinds the vertex
    /// buffer. Nothing for an array without a buffer.
    virtual void bindVBO(OrvMeshData* mesh, int array) = 0;
    /// Binds the buffer of the mesh's indices; a null mesh unbinds the index
    /// buffer. Nothing for a mesh without one.
    virtual void bindIBO(OrvMeshData* mesh) = 0;
    /// Copies a vertex array marked changed into the buffer bound now (bind it
    /// with bindVBO first) and clears the mark. Without a buffer the array
    /// keeps its mark for the buffer to come.
    virtual void updateVBO(OrvMeshData* mesh, int array) = 0;
    /// Copies the indices, when marked changed, into the index buffer bound
    /// now (bind it with bindIBO first) and clears the mark.
    virtual void updateIBO(OrvMeshData* mesh) = 0;

    /// 1 when the record's program handle names a GPU program of the driver,
    /// else 0 (also without GLSL). Where the driver has no such test, any
    /// handle but 0 counts.
    virtual int isGpuProgram(OrvGpuProgram* program) = 0;
    /// Makes an empty program object for the record and clears its linked
    /// flag, log and refusal mark. A program the record had is not freed:
    /// destroy it first. Without GLSL the handle is left as it was.
    virtual void createGpuProgram(OrvGpuProgram* program) = 0;
    /// Destroys both shaders and the program object and clears their handles
    /// and the linked flag; nothing for a record without a program.
    virtual void destroyGpuProgram(OrvGpuProgram* program) = 0;
    /// Compiles vertexSource into a new vertex shader and attaches it to the
    /// record's program (made by createGpuProgram); the program links at the
    /// next activeGpuShader. 0, or -1 without GLSL, without a source (WARNING)
    /// or when the compile fails (the compiler's log as a WARNING line and in
    /// infoLog; the program is unlinked). Destroy a shader the record already
    /// has first.
    virtual int createGpuVertexShader(OrvGpuProgram* program) = 0;
    /// Detaches and deletes the vertex shader and clears its handle. A linked
    /// program keeps running it until it links again (clear linked for that).
    virtual void destroyGpuVertexShader(OrvGpuProgram* program) = 0;
    /// As createGpuVertexShader, for the pixel (fragment) shader from
    /// pixelSource.
    virtual int createGpuPixelShader(OrvGpuProgram* program) = 0;
    /// As destroyGpuVertexShader, for the pixel (fragment) shader.
    virtual void destroyGpuPixelShader(OrvGpuProgram* program) = 0;
    /// Makes the program the one drawing runs, linking it first when it is not
    /// linked; null goes back to fixed-function drawing. A program with a
    /// shader that failed to compile is refused (one WARNING line) and drawing
    /// goes on without a program. A failed link writes the linker's log as a
    /// WARNING line, leaves the program in use as it was, and the next call
    /// links again.
    virtual void activeGpuShader(OrvGpuProgram* program) = 0;
    /// Sends the uniforms marked changed to the program in use, which must be
    /// this one (activeGpuShader first), and clears their marks; then binds
    /// changed attribute locations. A uniform the program does not declare is
    /// dropped, one whose kind cannot set its declared type is never sent (one
    /// WARNING line). Before the program links the values stay marked.
    virtual void updateGpuShaderUniforms(OrvGpuProgram* program) = 0;
    /// Binds each attribute name to its location when attributesChanged is 1,
    /// then clears the flag; the bindings take effect at the program's next
    /// link.
    virtual void bindGpuShaderAttributes(OrvGpuProgram* program) = 0;

    /// Makes the bitmap font the text record names (the closest installed
    /// face, bold, fontHeight pixels high) and writes its base into listBase,
    /// first freeing a font the record had; 0, or -1 with a WARNING line when
    /// no font can be made or the height is past the largest (512 pixels in
    /// the OpenGL renderer). The font is the program's: destroyFont before
    /// the renderer goes. The window is required but not otherwise read.
    virtual int createFont(OrvTextInfo* text, OrvWindowInfo* window) = 0;
    /// Frees the record's font; listBase is 0 afterwards.
    virtual void destroyFont(OrvTextInfo* text, OrvWindowInfo* window) = 0;
    /// Draws textLength characters of the record's text in its colour, the line's
    /// top-left corner at x, y, whatever the matrices; nothing without a font. x
    /// and y count pixels from the viewport's left and top. It switches lighting
    /// off and leaves it off. The text lies at mid depth, so with the depth test on
    /// nearer geometry hides it.
    virtual void drawText(OrvTextInfo* text, OrvWindowInfo* window) = 0;

    /// Uploads the picture into a new texture with the record's settings and
    /// writes its name and size into the record, first destroying one the
    /// record already had; 0, -1 for a null record or an empty picture (or no
    /// memory to scale it, with a WARNING), or RESULT_NO_TEXTURE. The new
    /// texture is left bound on unit 0.
    virtual int createTexture(OrvTextureData* texture, const OrvImage* image) = 0;
    /// Frees the texture's name (glName is 0 afterwards); nothing for a record
    /// without one.
    virtual void destroyTexture(OrvTextureData* texture) = 0;
    /// Binds the texture to a unit, or unbinds the unit for null. While a unit
    /// has a texture, mesh draws send texture coordinate set unit with each
    /// vertex and fixed-function drawing modulates the lit colour with it. A
    /// unit outside 0 to getTextureUnitCount() - 1 is ignored.
    virtual void bindTexture(int unit, const OrvTextureData* texture) = 0;
    /// The units bindTexture takes: the driver's, at most kMaxTextureUnits
    /// (and at least 1).
    virtual int getTextureUnitCount() = 0;
    /// Reads the back buffer inside the viewport into the image, rows top
    /// first; 0, or -1 with the image left empty.
    virtual int readBackBuffer(OrvImage* image) = 0;

  protected:
    /// Implementations register themselves on construction, so that the engine
    /// reaches whichever renderer exists.
    OrvRenderer();

  private:
    static OrvRenderer* s_instance;
};
