// The renderer's GPU program operations against the real driver, through the
// GPU shader node as the engine uses them: compiling, lazy linking, uniforms
// by kind, attributes, replacing a shader, and the logs of failures.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "orv_gl_test.h"
#include "orv_replaced_procs_context.h"
#include "shader_gl_test.h"
#include "shader_test_support.h"

namespace {

const char kVertexSource[] = "void main() { gl_Position = ftransform(); }\n";

const char kPixelSource[] =
    "uniform float time;\n"
    "void main() { gl_FragColor = vec4(time); }\n";

// Every kind of uniform, each used so that the compiler keeps it.
const char kAllKindsPixelSource[] =
    "uniform float f1; uniform vec2 f2; uniform vec3 f3; uniform vec4 f4;\n"
    "uniform int i1; uniform ivec2 i2; uniform ivec3 i3; uniform ivec4 i4;\n"
    "uniform mat3 m3; uniform mat4 m4;\n"
    "void main() {\n"
    "    float s = f1 + f2.y + f3.z + f4.w + float(i1 + i2.y + i3.z + i4.w);\n"
    "    gl_FragColor = vec4(s + m3[2][2] + m4[3][3]);\n"
    "}\n";

// Compiles, but the call has nothing to link against.
const char kUnlinkableVertexSource[] =
    "void helper();\n"
    "void main() { helper(); gl_Position = ftransform(); }\n";

const char kBrokenSource[] = "void main() { this is not GLSL }\n";

const char kAttributeVertexSource[] =
    "attribute vec4 position;\n"
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * position; }\n";

using GpuProgramGlTest = ShaderGlTest;

TEST_F(GpuProgramGlTest, AFloatUniformIsSentOnceAndNotAgain) {
    OrvGpuShader* shader = makeShader("timer", kVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    const GLuint program = shader->getProgram()->program;
    shader->setUniform1f("time", 0.5f);

    shader->bind();
    EXPECT_EQ(currentProgram(), program);
    EXPECT_EQ(uniformFloats(program, "time", 1), std::vector<float>{0.5f});
    EXPECT_EQ(shader->getProgram()->uniforms[0].changed, 0);

    // A value put there behind the node's back survives a bind that has
    // nothing new to send.
    glUniform1f(glGetUniformLocation(program, "time"), 7.0f);
    shader->bind();
    EXPECT_EQ(uniformFloats(program, "time", 1), std::vector<float>{7.0f});

    shader->setUniform1f("time", 2.0f);
    shader->bind();
    EXPECT_EQ(uniformFloats(program, "time", 1), std::vector<float>{2.0f});
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GpuProgramGlTest, EveryKindOfUniformArrivesWhole) {
    OrvGpuShader* shader = makeShader("kinds", kVertexSource, kAllKindsPixelSource);
    ASSERT_FALSE(HasFailure());
    const GLuint program = shader->getProgram()->program;
    std::vector<float> m3(9);
    std::vector<float> m4(16);
    for (int i = 0; i < 16; i++) {
        m4[i] = 0.5f * static_cast<float>(i + 1);
        if (i < 9) {
            m3[i] = -m4[i];
        }
    }
    shader->setUniform1f("f1", 1.5f);
    shader->setUniform2f("f2", 1.0f, 2.0f);
    shader->setUniform3f("f3", 1.0f, 2.0f, 3.0f);
    shader->setUniform4f("f4", 1.0f, 2.0f, 3.0f, 4.0f);
    shader->setUniform1i("i1", -7);
    shader->setUniform2i("i2", 1, 2);
    shader->setUniform3i("i3", 1, 2, 3);
    shader->setUniform4i("i4", 1, 2, 3, 4);
    shader->setUniformMatrix3("m3", m3.data());
    shader->setUniformMatrix4("m4", m4.data());

    shader->bind();

    EXPECT_EQ(uniformFloats(program, "f1", 1), std::vector<float>({1.5f}));
    EXPECT_EQ(uniformFloats(program, "f2", 2), std::vector<float>({1, 2}));
    EXPECT_EQ(uniformFloats(program, "f3", 3), std::vector<float>({1, 2, 3}));
    EXPECT_EQ(uniformFloats(program, "f4", 4), std::vector<float>({1, 2, 3, 4}));
    EXPECT_EQ(uniformInts(program, "i1", 1), std::vector<int>({-7}));
    EXPECT_EQ(uniformInts(program, "i2", 2), std::vector<int>({1, 2}));
    EXPECT_EQ(uniformInts(program, "i3", 3), std::vector<int>({1, 2, 3}));
    EXPECT_EQ(uniformInts(program, "i4", 4), std::vector<int>({1, 2, 3, 4}));
    EXPECT_EQ(uniformFloats(program, "m3", 9), m3);
    EXPECT_EQ(uniformFloats(program, "m4", 16), m4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GpuProgramGlTest, ANameThatIsNoActiveUniformIsDroppedSilently) {
    OrvGpuShader* shader = makeShader("quiet", kVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    shader->setUniform1f("absent", 1.0f);

    shader->bind();

    EXPECT_EQ(shader->getProgram()->uniforms[0].changed, 0);
    EXPECT_EQ(countStartingWith(log, "<!>"), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GpuProgramGlTest, TwoActivationsLinkOnce) {
    OrvGpuShader* shader = makeShader("twice", kVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    const std::string linked = debugLine("OrvRendererOpenGL::activeGpuShader(): " + pathWords() +
                                         " - Shader program [twice] successfully linked.");
    EXPECT_EQ(countStartingWith(log, linked), 0);

    shader->bind();
    shader->bind();

    EXPECT_EQ(countStartingWith(log, linked), 1);
    EXPECT_EQ(shader->getProgram()->linked, 1);
    shader->unbind();
    EXPECT_EQ(currentProgram(), 0u);
}

TEST_F(GpuProgramGlTest, ALinkFailureIsLoggedAndRetriedAtEachActivation) {
    OrvGpuShader* good = makeShader("good", kVertexSource, kPixelSource);
    OrvGpuShader* bad = makeShader("bad", kUnlinkableVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    bad->setUniform1f("time", 0.25f);
    good->bind();

    bad->bind();
    bad->bind();

    const std::string failure =
        warningLine("OrvRendererOpenGL::" + printer("_printGpuProgramInfoLog") + "(): [bad] - ");
    EXPECT_EQ(countStartingWith(log, failure), 2);
    EXPECT_NE(log.text().find("helper"), std::string::npos);
    EXPECT_EQ(bad->getProgram()->linked, 0);
    // The program used before stays in use, and the value waits for a link.
    EXPECT_EQ(currentProgram(), good->getProgram()->program);
    EXPECT_EQ(bad->getProgram()->uniforms[0].changed, 1);
}

TEST_F(GpuProgramGlTest, ACompileFailureIsLoggedOnlyWhenTheCompilerSaysSomething) {
    struct Case {
        bool pixel;
        bool compilerSilent;
    };
    for (const Case& c :
         std::vector<Case>{{false, false}, {true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(std::string(c.pixel ? "pixel" : "vertex") +
                     (c.compilerSilent ? ", silent" : ""));
        OrvGpuShader* shader =
            static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, "broken"));
        ASSERT_NE(shader, nullptr);
        // A compile call that does nothing leaves the shader uncompiled with
        // an empty log, as some drivers report a failure.
        OrvReplacedProcsContext silent(context);
        if (c.compilerSilent) {
            void (*doNothing)(GLuint) = [](GLuint) {};
            silent.procs["glCompileShader"] = reinterpret_cast<OrvProc>(doNothing);
            silent.procs["glCompileShaderARB"] = reinterpret_cast<OrvProc>(doNothing);
            renderer->setContext(&silent);
            ASSERT_EQ(renderer->initialize(), OrvRenderer::RESULT_OK);
        }
        const std::string printerName =
            printer(c.pixel ? "_printGpuPixelShaderInfoLog" : "_printGpuVertexShaderInfoLog");
        const std::string failure =
            warningLine("OrvRendererOpenGL::" + printerName + "(): [broken] - ");
        const int failuresBefore = countStartingWith(log, failure);
        const int warningsBefore = countStartingWith(log, "<!>");

        const int result =
            c.pixel ? shader->loadPixelShaderFromMemory(kBrokenSource, sizeof(kBrokenSource))
                    : shader->loadVertexShaderFromMemory(kBrokenSource, sizeof(kBrokenSource));
        if (c.compilerSilent) {
            renderer->setContext(context);
            ASSERT_EQ(renderer->initialize(), OrvRenderer::RESULT_OK);
        }

        EXPECT_EQ(result, -1);
        const int logged = c.compilerSilent ? 0 : 1;
        EXPECT_EQ(countStartingWith(log, failure), failuresBefore + logged);
        EXPECT_EQ(countStartingWith(log, "<!>"), warningsBefore + logged);
        const OrvGpuProgram* record = shader->getProgram();
        EXPECT_NE(c.pixel ? record->pixelShader : record->vertexShader, 0u);
        EXPECT_TRUE(attachedShaders(record->program).empty());
        manager->destroyNode(shader);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Linked with one stage missing, the program would run with a default
// stage: a program holding a shader that did not compile is never used, the
// fixed-function pipeline draws instead, and the compiler's text stays with
// the node for its owner to show.
TEST_F(GpuProgramGlTest, AProgramWithAShaderThatDidNotCompileIsNotUsed) {
    for (const bool pixel : {false, true}) {
        SCOPED_TRACE(pixel ? "pixel" : "vertex");
        OrvGpuShader* shader =
            static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, "half"));
        ASSERT_NE(shader, nullptr);
        EXPECT_STREQ(shader->getInfoLog(), "");
        const char* good = pixel ? kVertexSource : kPixelSource;
        if (pixel) {
            ASSERT_EQ(
                shader->loadVertexShaderFromMemory(good, static_cast<int>(std::strlen(good) + 1)),
                0);
            EXPECT_EQ(shader->loadPixelShaderFromMemory(kBrokenSource, sizeof(kBrokenSource)), -1);
        } else {
            EXPECT_EQ(shader->loadVertexShaderFromMemory(kBrokenSource, sizeof(kBrokenSource)), -1);
            ASSERT_EQ(
                shader->loadPixelShaderFromMemory(good, static_cast<int>(std::strlen(good) + 1)),
                0);
        }
        const std::string compilerText = shader->getInfoLog();
        EXPECT_NE(compilerText, "");
        EXPECT_TRUE(log.contains(
            "OrvRendererOpenGL::" +
            printer(pixel ? "_printGpuPixelShaderInfoLog" : "_printGpuVertexShaderInfoLog") +
            "(): [half] - " + compilerText.substr(0, compilerText.find('\n'))))
            << compilerText;

        const std::string refusal =
            warningLine("OrvRendererOpenGL::activeGpuShader(): " + pathWords() +
                        " - Shader program [half] has a shader that did "
                        "not compile; drawing without the program.");
        for (int bind = 0; bind < 3; ++bind) {
            shader->bind();
            EXPECT_EQ(currentProgram(), 0u);
        }
        EXPECT_EQ(shader->getProgram()->linked, 0);
        EXPECT_EQ(countStartingWith(log, refusal), pixel ? 2 : 1) << "once per program";
        manager->destroyNode(shader);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The linker's text is kept as the compiler's is.
TEST_F(GpuProgramGlTest, TheLinkersLogIsKeptForTheNode) {
    OrvGpuShader* shader = makeShader("unlinkable", kUnlinkableVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    EXPECT_STREQ(shader->getInfoLog(), "");
    shader->bind();
    const std::string linkerText = shader->getInfoLog();
    EXPECT_NE(linkerText, "");
    EXPECT_EQ(
        countStartingWith(
            log, warningLine("OrvRendererOpenGL::" + printer("_printGpuProgramInfoLog") +
                             "(): [unlinkable] - " + linkerText.substr(0, linkerText.find('\n')))),
        1);
}

// A value of a kind that cannot set the uniform's declared type would raise a
// GL error at every send: it is reported once and not sent, while samplers
// and bools take the values GL allows for them.
TEST_F(GpuProgramGlTest, AUniformSetWithTheWrongKindIsReportedOnceAndNotSent) {
    const char pixelSource[] =
        "uniform float f; uniform ivec2 i2; uniform bool b; uniform sampler2D tex;\n"
        "void main() {\n"
        "    vec4 t = texture2D(tex, vec2(0.5));\n"
        "    gl_FragColor = vec4(f + float(i2.y) + (b ? 1.0 : 0.0)) + t;\n"
        "}\n";
    OrvGpuShader* shader = makeShader("kinds", kVertexSource, pixelSource);
    ASSERT_FALSE(HasFailure());
    const GLuint program = shader->getProgram()->program;
    shader->setUniform1i("f", 3);
    shader->setUniform2f("i2", 1.0f, 2.0f);
    shader->setUniform1f("b", 1.0f);
    shader->setUniform1i("tex", 0);
    for (int bind = 0; bind < 2; ++bind) {
        shader->bind();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        shader->setUniform1i("f", 3);
        shader->setUniform2f("i2", 1.0f, 2.0f);
    }
    const std::string prefix =
        "<!>[WARNING]#OrvRendererOpenGL::updateGpuShaderUniforms(): " + pathWords() +
        " - uniform [";
    EXPECT_EQ(countStartingWith(log, prefix + "f] of shader program [kinds] is declared with GL "
                                              "type 0x1406, which a value of kind 4 cannot set; "
                                              "it is not sent."),
              1);
    EXPECT_EQ(countStartingWith(log, prefix + "i2] of shader program [kinds] is declared with GL "
                                              "type 0x8b53, which a value of kind 1 cannot set; "
                                              "it is not sent."),
              1);
    EXPECT_EQ(countStartingWith(log, prefix), 2) << "the bool and the sampler are set";
    EXPECT_EQ(uniformFloats(program, "f", 1), std::vector<float>{0.0f});
}

TEST_F(GpuProgramGlTest, ASecondSourceReplacesTheShaderAndTheProgramRelinks) {
    OrvGpuShader* shader = makeShader("swap", kVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    shader->bind();
    const GLuint first = shader->getProgram()->vertexShader;

    ASSERT_EQ(
        shader->loadVertexShaderFromMemory(kAttributeVertexSource, sizeof(kAttributeVertexSource)),
        0);

    const OrvGpuProgram* record = shader->getProgram();
    EXPECT_EQ(record->linked, 0);
    EXPECT_EQ(glIsShader(first), GL_FALSE);
    EXPECT_EQ(attachedShaders(record->program).size(), 2u);
    EXPECT_EQ(countStartingWith(
                  log, debugLine("OrvRendererOpenGL::destroyGpuVertexShader(): " + pathWords() +
                                 " - Vertex Shader [swap] "
                                 "successfully detached and deleted.")),
              1);
    shader->bind();
    EXPECT_EQ(record->linked, 1);
    EXPECT_EQ(
        countStartingWith(log, debugLine("OrvRendererOpenGL::activeGpuShader(): " + pathWords() +
                                         " - Shader program [swap] "
                                         "successfully linked.")),
        2);
    EXPECT_GE(glGetAttribLocation(record->program, "position"), 0);
}

TEST_F(GpuProgramGlTest, AttributeLocationsSetBeforeTheLinkTakeEffect) {
    OrvGpuShader* shader = makeShader("attributes", kAttributeVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    shader->setAttributeLocation("position", 5);

    shader->bind();

    EXPECT_EQ(glGetAttribLocation(shader->getProgram()->program, "position"), 5);
    EXPECT_EQ(shader->getProgram()->attributesChanged, 0);
}

TEST_F(GpuProgramGlTest, DestroyingAnEmptyRecordTouchesNothing) {
    std::unique_ptr<OrvGpuProgram> record = std::make_unique<OrvGpuProgram>();
    record->vertexShader = 77;
    record->pixelShader = 78;
    record->linked = 1;

    renderer->destroyGpuProgram(record.get());

    EXPECT_EQ(record->vertexShader, 77u);
    EXPECT_EQ(record->pixelShader, 78u);
    EXPECT_EQ(record->linked, 1);
    EXPECT_EQ(countStartingWith(log, "<*>[DEBUG]#OrvRendererOpenGL::destroy"), 0);
}

TEST_F(GpuProgramGlTest, AShaderWithoutSourceIsRefused) {
    std::unique_ptr<OrvGpuProgram> record = std::make_unique<OrvGpuProgram>();
    std::strcpy(record->name, "empty");
    renderer->createGpuProgram(record.get());

    EXPECT_EQ(renderer->createGpuPixelShader(record.get()), -1);

    EXPECT_EQ(record->pixelShader, 0u);
    EXPECT_EQ(taggedLines(log).back(),
              warningLine("OrvRendererOpenGL::createGpuPixelShader(): " + pathWords() +
                          " - Pixel Shader [empty] has no source."));
    renderer->destroyGpuProgram(record.get());
}

TEST_F(GpuProgramGlTest, DestroyingAProgramDeletesItsShadersAndItself) {
    OrvGpuShader* shader = makeShader("doomed", kVertexSource, kPixelSource);
    ASSERT_FALSE(HasFailure());
    shader->bind();
    shader->unbind();
    const OrvGpuProgram* record = shader->getProgram();
    const GLuint program = record->program;

    shader->release();

    EXPECT_EQ(record->program, 0u);
    EXPECT_EQ(record->vertexShader, 0u);
    EXPECT_EQ(record->pixelShader, 0u);
    EXPECT_EQ(record->linked, 0);
    EXPECT_EQ(glIsProgram(program), GL_FALSE);
    const std::vector<std::string> lines = taggedLines(log);
    const std::vector<std::string> last(lines.end() - 3, lines.end());
    EXPECT_EQ(last, (std::vector<std::string>{
                        debugLine("OrvRendererOpenGL::destroyGpuVertexShader(): " + pathWords() +
                                  " - Vertex Shader [doomed] successfully detached and deleted."),
                        debugLine("OrvRendererOpenGL::destroyGpuPixelShader(): " + pathWords() +
                                  " - Pixel Shader [doomed] successfully detached and deleted."),
                        debugLine("OrvRendererOpenGL::destroyGpuProgram(): " + pathWords() +
                                  " - Shader program [doomed] successfully deleted."),
                    }));
}

TEST_F(GpuProgramGlTest, WithoutGlslEveryOperationStandsAside) {
    // The root's renderer gives way to one without GLSL, which the test owns
    // and releases once the node it drew has gone.
    engine->destroyRenderer();
    OrvReplacedStringsRenderer* plain = ORV_NEW OrvReplacedStringsRenderer();
    renderer = plain;
    plain->strings[GL_VERSION] = "1.5.0 Test";
    plain->strings[GL_EXTENSIONS] = "GL_ARB_vertex_buffer_object GL_ARB_shader_objects";
    plain->setContext(context);
    ASSERT_EQ(plain->initialize(), OrvRenderer::RESULT_OK);
    ASSERT_FALSE(plain->capabilities().hasArbShaders());
    ASSERT_FALSE(plain->capabilities().hasGl2Shaders());
    OrvLog::getInstance()->close();
    std::filesystem::remove(log.path());

    std::unique_ptr<OrvGpuProgram> record = std::make_unique<OrvGpuProgram>();
    record->linked = 1;
    EXPECT_EQ(plain->isGpuProgram(record.get()), 0);
    plain->createGpuProgram(record.get());
    EXPECT_EQ(record->linked, 0);
    EXPECT_EQ(record->program, 0u);
    EXPECT_EQ(plain->createGpuVertexShader(record.get()), -1);
    EXPECT_EQ(plain->createGpuPixelShader(record.get()), -1);
    plain->activeGpuShader(nullptr);
    plain->activeGpuShader(record.get());

    OrvGpuShader* shader =
        static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, "plain"));
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(shader->loadVertexShaderFromMemory(kVertexSource, sizeof(kVertexSource)), -1);
    EXPECT_STREQ(shader->getProgram()->vertexSource, kVertexSource);
    shader->setUniform1f("time", 1.0f);
    shader->setAttributeLocation("position", 1);
    shader->bind();
    shader->unbind();
    EXPECT_EQ(shader->getProgram()->uniforms[0].changed, 1);
    EXPECT_EQ(shader->getProgram()->attributesChanged, 1);

    EXPECT_EQ(countStartingWith(log, "<*>[DEBUG]#OrvRendererOpenGL::"), 0);
    EXPECT_EQ(countStartingWith(log, "<!>"), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    manager->destroyNode(shader);
    plain->terminate();
    ORV_DELETE(plain);
    renderer = nullptr;
}

}  // namespace
