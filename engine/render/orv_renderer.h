// OrvRenderer: the interface every part of the engine draws through, reached
// with getInstance. OrvRendererOpenGL is the engine's implementation; tests
// put a recording implementation in its place. Records passed in stay owned
// by the caller; the renderer keeps no pointer to them after a call.
#pragma once

struct OrvGpuProgram;
struct OrvImage;
struct OrvLightData;
struct OrvMeshData;
struct OrvTextInfo;
struct OrvTextureData;
struct OrvWindowInfo;

class OrvRenderer {
  public:
    // Capability codes of enable and disable.
    enum Capability {
        VERTICAL_SYNC = 0,
        LIGHTING = 1,
        RESERVED_CAPABILITY = 2,
        FACE_CULLING = 3,
        DEPTH_TEST = 4,
        // A second code without meaning in the OpenGL renderer; the scene
        // object's axes switch it off with the others.
        RESERVED_CAPABILITY_5 = 5
    };
    // Face codes of setCullFace and setPolygonMode; any value but 1 and 2 is
    // the back face.
    enum Face { BACK = 0, FRONT_AND_BACK = 1, FRONT = 2 };
    // Mode codes of setPolygonMode; any other value fills.
    enum PolygonMode { POINTS = 0, LINES = 1, FILL = 2 };
    // Indices into a scene object's block of render states.
    enum RenderState {
        // Read by no renderer; a scene object starts with it at 1.
        STATE_UNREAD = 0,
        STATE_LIGHTING = 1,
        STATE_RESERVED = 2,
        STATE_FACE_CULLING = 3,
        STATE_DEPTH_TEST = 4,
        STATE_CULL_FACE = 11,
        STATE_BACK_POLYGON_MODE = 12,
        STATE_FRONT_POLYGON_MODE = 13,
        kRenderStateCount = 14
    };
    // Results of initialize, and of createVBO and createIBO beside 0 and -1.
    enum Result {
        RESULT_OK = 0,
        RESULT_VERSION_TOO_OLD = 10,
        RESULT_NO_BUFFER_OBJECTS = 20,
        RESULT_NO_VERTEX_BUFFER = 21,
        RESULT_NO_INDEX_BUFFER = 22,
        // createTexture: the driver gave no texture name.
        RESULT_NO_TEXTURE = 23
    };
    // The most texture units a material uses, whatever the driver has.
    static constexpr int kMaxTextureUnits = 8;

    // The renderer that exists now, or null.
    static OrvRenderer* getInstance();

    virtual ~OrvRenderer();

    virtual int initialize() = 0;
    virtual int terminate() = 0;

    virtual void enable(int capability) = 0;
    virtual void disable(int capability) = 0;
    virtual void applyRenderStates(const int* states) = 0;
    virtual void setCullFace(int face) = 0;
    virtual void setPolygonMode(int mode, int face) = 0;
    virtual void beginScene() = 0;
    virtual void endScene() = 0;

    virtual void clearDepthBuffer(float depth) = 0;
    virtual void clearColorBuffer(float r, float g, float b, float a) = 0;
    virtual void setViewport(int x, int y, int width, int height) = 0;
    virtual void setProjectionMatrix(const float* m) = 0;
    virtual void setViewMatrix(const float* m) = 0;
    virtual void loadViewMatrix() = 0;
    virtual void multMatrix(const float* m) = 0;
    virtual void loadModelViewMatrix(const float* m) = 0;
    virtual void lookAt(const float* eye, const float* centre, const float* up) = 0;
    virtual void setPerspective(float fovY, float aspect, float zNear, float zFar) = 0;
    virtual void setOrtho(float left, float right, float bottom, float top, float zNear,
                          float zFar) = 0;

    virtual void drawPoint(const float* position, const float* color, float size) = 0;
    virtual void drawTriangle(const OrvMeshData* mesh) = 0;
    // line: start point, end point, start colour, end colour, 4 floats each.
    virtual void drawLine(const float* line) = 0;

    virtual void setVertexArrays(OrvMeshData* mesh) = 0;
    virtual void drawElements(OrvMeshData* mesh) = 0;
    virtual void unsetVertexArrays(OrvMeshData* mesh) = 0;
    virtual void setVertexBuffers(OrvMeshData* mesh) = 0;
    virtual void drawElementsVBO(OrvMeshData* mesh) = 0;
    virtual void unsetVertexBuffers(OrvMeshData* mesh) = 0;
    virtual void drawMesh(OrvMeshData* mesh) = 0;
    virtual void drawMeshVBO(OrvMeshData* mesh) = 0;
    virtual void drawImmediate(OrvMeshData* mesh) = 0;
    virtual void compileDisplayList(OrvMeshData* mesh) = 0;
    virtual void deleteDisplayList(OrvMeshData* mesh) = 0;
    virtual void callDisplayList(OrvMeshData* mesh) = 0;

    virtual void enableLight(OrvLightData* light) = 0;
    virtual void disableLight(OrvLightData* light) = 0;
    virtual void setLightPosition(OrvLightData* light) = 0;
    virtual void setLightColors(OrvLightData* light) = 0;
    // material: ambient, diffuse, specular, emission (RGBA) and shininess.
    virtual void applyMaterial(const float* material) = 0;

    virtual int hasVBO(const OrvMeshData* mesh, int array) = 0;
    virtual int hasIBO(const OrvMeshData* mesh) = 0;
    virtual int createVBO(OrvMeshData* mesh, int array) = 0;
    virtual int createIBO(OrvMeshData* mesh) = 0;
    virtual void destroyVBO(OrvMeshData* mesh, int array) = 0;
    virtual void destroyIBO(OrvMeshData* mesh) = 0;
    virtual void bindVBO(OrvMeshData* mesh, int array) = 0;
    virtual void bindIBO(OrvMeshData* mesh) = 0;
    virtual void updateVBO(OrvMeshData* mesh, int array) = 0;
    virtual void updateIBO(OrvMeshData* mesh) = 0;

    virtual int isGpuProgram(OrvGpuProgram* program) = 0;
    virtual void createGpuProgram(OrvGpuProgram* program) = 0;
    virtual void destroyGpuProgram(OrvGpuProgram* program) = 0;
    virtual int createGpuVertexShader(OrvGpuProgram* program) = 0;
    virtual void destroyGpuVertexShader(OrvGpuProgram* program) = 0;
    virtual int createGpuPixelShader(OrvGpuProgram* program) = 0;
    virtual void destroyGpuPixelShader(OrvGpuProgram* program) = 0;
    virtual void activeGpuShader(OrvGpuProgram* program) = 0;
    virtual void updateGpuShaderUniforms(OrvGpuProgram* program) = 0;
    virtual void bindGpuShaderAttributes(OrvGpuProgram* program) = 0;

    virtual int createFont(OrvTextInfo* text, OrvWindowInfo* window) = 0;
    virtual void destroyFont(OrvTextInfo* text, OrvWindowInfo* window) = 0;
    virtual void drawText(OrvTextInfo* text, OrvWindowInfo* window) = 0;

    // Textures. createTexture uploads the picture into a new texture with the
    // record's settings and writes its name and size into the record, first
    // destroying one the record already had; 0, -1 for a null record or an
    // empty picture, or RESULT_NO_TEXTURE. The new texture is left bound on
    // unit 0. destroyTexture frees the name.
    virtual int createTexture(OrvTextureData* texture, const OrvImage* image) = 0;
    virtual void destroyTexture(OrvTextureData* texture) = 0;
    // Binds the texture to a unit, or unbinds the unit for null. While a unit
    // has a texture, mesh draws send texture coordinate set unit with each
    // vertex and fixed-function drawing modulates the lit colour with it.
    virtual void bindTexture(int unit, const OrvTextureData* texture) = 0;
    // The units bindTexture takes: the driver's, at most kMaxTextureUnits.
    virtual int getTextureUnitCount() = 0;
    // Reads the back buffer inside the viewport into the image, rows top
    // first; 0, or -1 with the image left empty.
    virtual int readBackBuffer(OrvImage* image) = 0;

  protected:
    // Implementations register themselves on construction, so that the engine
    // reaches whichever renderer exists.
    OrvRenderer();

  private:
    static OrvRenderer* s_instance;
};
