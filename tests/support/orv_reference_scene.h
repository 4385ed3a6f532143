// OrvReferenceScene: the limit the engine is measured against. It takes an
// engine scene apart once (lights, markers, meshes with their render states,
// materials, GLSL programs, vertex arrays and overlay text) and then draws the
// same picture every frame with plain OpenGL calls in a context of its own,
// the way a hand-written program would: state set at start-up once, and per
// frame only the matrices, the light positions and the state that changes
// from one object to the next. Each mesh is drawn as its first material
// range, on the drawing path its record selects. The engine's nodes must
// outlive it; it keeps pointers into their arrays.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <utility>
#include <vector>

struct OrvMeshData;
struct OrvTextInfo;
class OrvMesh;
class OrvScene;

class OrvReferenceScene {
  public:
    // Reads the scene with the engine's context current (the projection is
    // read back from it, the view from the engine's renderer); text may be
    // null. Call setUp afterwards with the reference's own context current.
    OrvReferenceScene(OrvScene* scene, const OrvTextInfo* text);
    ~OrvReferenceScene();

    OrvReferenceScene(const OrvReferenceScene&) = delete;
    OrvReferenceScene& operator=(const OrvReferenceScene&) = delete;

    // Compiles the programs, makes buffers and display lists and sets the
    // state that never changes, in the current context. fontBase holds the
    // overlay's glyph lists in that context (0: no text).
    void setUp(GLuint fontBase);
    // One frame; time feeds the "time" uniform of the programs.
    void frame(float time);

  private:
    enum Path { CLIENT_ARRAYS, BUFFER_OBJECTS, DISPLAY_LIST, IMMEDIATE, NOTHING };

    struct Mesh {
        const OrvMeshData* data;
        float model[16];
        bool lit;
        bool cull;
        GLenum cullFace;
        GLenum frontMode;
        GLenum backMode;
        const float* material;
        const char* vertexSource;
        const char* pixelSource;
        std::vector<std::pair<const char*, float>> uniforms;
        Path path;
        GLsizei count;
        size_t firstIndex;
        GLuint program = 0;
        GLint timeLocation = -1;
        GLuint buffers[3] = {0, 0, 0};
        GLuint indexBuffer = 0;
        GLuint list = 0;
    };

    struct Light {
        int unit;
        float position[4];
        float ambient[4];
        float diffuse[4];
        float specular[4];
        float attenuation[3];
        bool marker;
        float model[16];
    };

    void readMesh(OrvMesh* node);
    void setUpMesh(Mesh& mesh);
    void drawMesh(const Mesh& mesh, float time);
    void drawArrays(const Mesh& mesh);
    void emitTriangles(const Mesh& mesh) const;
    void drawText();
    void setLit(bool lit);
    void setProgram(GLuint program);
    void setArray(GLenum array, bool on, bool& current);

    float m_view[16];
    float m_projection[16];
    float m_clearColor[4];
    std::vector<Light> m_lights;
    std::vector<Mesh> m_meshes;
    const OrvTextInfo* m_text;
    float m_rasterPosition[3] = {0.0f, 0.0f, 0.0f};
    GLuint m_fontBase = 0;

    // What the previous object left in place.
    bool m_lit = false;
    bool m_cull = true;
    GLenum m_cullFace = GL_BACK;
    GLenum m_frontMode = GL_FILL;
    GLenum m_backMode = GL_FILL;
    const float* m_material = nullptr;
    GLuint m_program = 0;
    bool m_colorArray = false;
    bool m_normalArray = false;
};
