// The renderer's state cache against the driver. State changed behind the
// renderer's back shows whether a call reached the driver: with the cache on,
// a call whose state the renderer believes in place is skipped, and after an
// invalidation, or with the cache off, it is sent.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <functional>
#include <vector>

#include "orvane.h"
#include "perf_test_support.h"

namespace {

using StateCacheTest = OrvEngineGlTest;

std::vector<float> materialValues(GLenum name) {
    float values[4] = {};
    glGetMaterialfv(GL_FRONT, name, values);
    return std::vector<float>(values, values + 4);
}

const char kVertexSource[] = "void main() { gl_Position = ftransform(); }";
const char kPixelSource[] = "void main() { gl_FragColor = vec4(1.0); }";

// A program record built and linked through the renderer, released again.
class Program {
  public:
    explicit Program(OrvRendererOpenGL* renderer, const char* vertex = kVertexSource)
        : m_renderer(renderer), record(ORV_NEW OrvGpuProgram()) {
        std::strcpy(record->name, "cache_test");
        load(vertex);
    }
    ~Program() {
        m_renderer->destroyGpuProgram(record);
        ORV_DELETE_ARRAY(record->vertexSource);
        ORV_DELETE_ARRAY(record->pixelSource);
        ORV_DELETE(record);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Gives the record a new vertex shader; the program links again at its
    // next activation.
    void load(const char* vertex) {
        ORV_DELETE_ARRAY(record->vertexSource);
        record->vertexSource = copy(vertex);
        if (record->pixelSource == nullptr) {
            record->pixelSource = copy(kPixelSource);
            m_renderer->createGpuProgram(record);
            m_renderer->createGpuPixelShader(record);
        }
        m_renderer->destroyGpuVertexShader(record);
        m_renderer->createGpuVertexShader(record);
        record->linked = 0;
    }

  private:
    static char* copy(const char* text) {
        char* held = ORV_NEW char[std::strlen(text) + 1];
        std::strcpy(held, text);
        return held;
    }

    OrvRendererOpenGL* m_renderer;

  public:
    OrvGpuProgram* record;
};

struct Case {
    const char* label;
    // Asks the renderer for a state.
    std::function<void()> set;
    // Undoes it behind the renderer's back.
    std::function<void()> undo;
    // Whether the state is the one asked for.
    std::function<bool()> inPlace;
};

TEST_F(StateCacheTest, StateInPlaceIsNotSentAgainUntilTheCacheForgetsIt) {
    BoxRecord mesh;
    Program program(renderer);
    OrvLightData light;
    light.setDefaults();
    float material[17] = {0.1f, 0.2f, 0.3f, 1, 0.4f, 0.5f, 0.6f, 1, 0, 0, 0, 1, 0, 0, 0, 1, 8};
    const float other[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    const Case cases[] = {
        {"lighting", [&] { renderer->enable(OrvRenderer::LIGHTING); },
         [] { glDisable(GL_LIGHTING); }, [] { return glIsEnabled(GL_LIGHTING) == GL_TRUE; }},
        {"cull face", [&] { renderer->setCullFace(OrvRenderer::FRONT); },
         [] { glCullFace(GL_BACK); }, [] { return glInteger(GL_CULL_FACE_MODE) == GL_FRONT; }},
        {"polygon mode",
         [&] { renderer->setPolygonMode(OrvRenderer::LINES, OrvRenderer::FRONT_AND_BACK); },
         [] { glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); },
         [] { return glInteger(GL_POLYGON_MODE) == GL_LINE; }},
        {"material", [&] { renderer->applyMaterial(material); },
         [&] { glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, other); },
         [&] {
             return materialValues(GL_DIFFUSE) == std::vector<float>(material + 4, material + 8);
         }},
        {"light enable", [&] { renderer->enableLight(&light); },
         [&] { glDisable(GL_LIGHT0 + light.unit); },
         [&] { return glIsEnabled(GL_LIGHT0 + light.unit) == GL_TRUE; }},
        {"light colour", [&] { renderer->setLightColors(&light); },
         [&] { glLightfv(GL_LIGHT0 + light.unit, GL_DIFFUSE, other); },
         [&] {
             return lightValues(GL_LIGHT0 + light.unit, GL_DIFFUSE, 4) ==
                    std::vector<float>(light.diffuse, light.diffuse + 4);
         }},
        {"program", [&] { renderer->activeGpuShader(program.record); }, [] { glUseProgram(0); },
         [&] {
             return glInteger(GL_CURRENT_PROGRAM) == static_cast<GLint>(program.record->program);
         }},
        {"client array", [&] { renderer->setVertexArrays(mesh.get()); },
         [] { glDisableClientState(GL_NORMAL_ARRAY); },
         [] { return glIsEnabled(GL_NORMAL_ARRAY) == GL_TRUE; }},
    };
    for (const Case& c : cases) {
        c.set();
        ASSERT_TRUE(c.inPlace()) << c.label;
        c.undo();
        c.set();
        EXPECT_FALSE(c.inPlace()) << c.label << ": sent although the cache held it";
        renderer->invalidateStateCache();
        c.set();
        EXPECT_TRUE(c.inPlace()) << c.label << ": not sent after invalidation";

        renderer->setStateCache(0);
        c.undo();
        c.set();
        EXPECT_TRUE(c.inPlace()) << c.label << ": not sent with the cache off";
        renderer->setStateCache(1);
    }
    renderer->activeGpuShader(nullptr);
    renderer->unsetVertexArrays(mesh.get());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Whatever runs behind the renderer makes it forget: a new current context
// (the engine root tells the renderer), a compiled display list, a built font.
TEST_F(StateCacheTest, CallsAfterAnInvalidatingStepReachTheDriver) {
    BoxRecord mesh;
    OrvTextInfo text = {};
    text.fontHeight = 12;
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"setCurrentRenderContext", [&] { engine->setCurrentRenderContext(context); }},
        {"compileDisplayList", [&] { renderer->compileDisplayList(mesh.get()); }},
        {"createFont", [&] { ASSERT_EQ(renderer->createFont(&text, &window.info), 0); }},
    };
    for (const auto& step : steps) {
        renderer->enable(OrvRenderer::LIGHTING);
        glDisable(GL_LIGHTING);
        step.second();
        renderer->enable(OrvRenderer::LIGHTING);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << step.first;
    }
    renderer->deleteDisplayList(mesh.get());
    renderer->destroyFont(&text, &window.info);
}

// A light's position is kept in eye coordinates, so the same position under
// another modelview matrix is another value and must be sent.
TEST_F(StateCacheTest, LightPositionIsSentAgainUnderAnotherModelView) {
    OrvLightData light;
    light.setDefaults();
    light.position[0] = 1.0f;
    light.position[1] = 2.0f;
    light.position[2] = 3.0f;
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float moved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    renderer->setViewMatrix(identity);
    renderer->setLightPosition(&light);
    const GLenum unit = GL_LIGHT0 + light.unit;
    EXPECT_EQ(lightValues(unit, GL_POSITION, 4), (std::vector<float>{1, 2, 3, 1}));

    renderer->setViewMatrix(moved);
    renderer->setLightPosition(&light);
    EXPECT_EQ(lightValues(unit, GL_POSITION, 4), (std::vector<float>{11, 2, 3, 1}));

    renderer->setViewMatrix(identity);
    renderer->multMatrix(moved);
    renderer->setLightPosition(&light);
    EXPECT_EQ(lightValues(unit, GL_POSITION, 4), (std::vector<float>{11, 2, 3, 1}));
    renderer->disableLight(&light);
}

// Locations are kept per linked program: a new link may move a uniform, and
// its value must still reach it.
TEST_F(StateCacheTest, UniformLocationsAreLookedUpAgainAfterALink) {
    Program program(renderer,
                    "uniform float time; void main() { gl_Position = ftransform() * time; }");
    OrvGpuUniform& time = program.record->uniforms[0];
    std::strcpy(time.name, "time");
    time.nameLength = 4;
    time.kind = ORV_UNIFORM_FLOAT1;
    program.record->uniformCount = 1;
    time.floatValues[0] = 0.5f;
    time.changed = 1;
    renderer->activeGpuShader(program.record);
    renderer->updateGpuShaderUniforms(program.record);
    const GLint first = glGetUniformLocation(program.record->program, "time");

    program.load(
        "uniform vec4 aaa; uniform vec4 bbb; uniform float time;"
        "void main() { gl_Position = ftransform() * time + aaa + bbb; }");
    time.floatValues[0] = 2.0f;
    time.changed = 1;
    renderer->activeGpuShader(program.record);
    renderer->updateGpuShaderUniforms(program.record);
    const GLint second = glGetUniformLocation(program.record->program, "time");
    ASSERT_NE(first, second) << "the new link must move the uniform for this test to mean much";
    float value = 0.0f;
    glGetUniformfv(program.record->program, second, &value);
    EXPECT_EQ(value, 2.0f);
    renderer->activeGpuShader(nullptr);
}

// GL may give a deleted program's name to the next program made while the
// deleted one is still in use.
TEST_F(StateCacheTest, ANewProgramIsUsedAfterTheOneInUseWasDeleted) {
    auto first = std::make_unique<Program>(renderer);
    renderer->activeGpuShader(first->record);
    first.reset();
    Program second(renderer);
    renderer->activeGpuShader(second.record);
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), static_cast<GLint>(second.record->program));
    renderer->activeGpuShader(nullptr);
}

// Disables of client arrays wait for the next draw, but a frame leaves the
// state its calls asked for.
TEST_F(StateCacheTest, ClientArraysAreAsAskedAfterTheFrameEnds) {
    BoxRecord mesh;
    renderer->setVertexArrays(mesh.get());
    renderer->drawElements(mesh.get());
    renderer->unsetVertexArrays(mesh.get());
    renderer->endScene();
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
}

}  // namespace
