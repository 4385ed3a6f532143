// The GPU shader node against a recording renderer: naming, the uniform and
// attribute tables, the source loaders and what the node asks of the renderer.
#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_recording_renderer.h"
#include "orvane.h"
#include "shader_test_support.h"

namespace {

// Writes shader handles back the way the OpenGL renderer does, so that the
// node can tell which shaders it holds.
class HandleRenderer : public OrvRecordingRenderer {
  public:
    int createGpuVertexShader(OrvGpuProgram* program) override {
        program->vertexShader = ++lastHandle;
        return OrvRecordingRenderer::createGpuVertexShader(program);
    }
    void destroyGpuVertexShader(OrvGpuProgram* program) override {
        program->vertexShader = 0;
        OrvRecordingRenderer::destroyGpuVertexShader(program);
    }

    uint32_t lastHandle = 0;
};

class GpuShaderNodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        manager->init();
        manager->registerCreator(&creator);
        shader = static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, nullptr));
        ASSERT_NE(shader, nullptr);
        renderer->clear();
    }

    void TearDown() override { manager->terminate(); }

    const OrvGpuProgram& record() const { return *shader->getProgram(); }

    const OrvGpuUniform* uniform(const char* name) const {
        for (int i = 0; i < record().uniformCount; i++) {
            if (std::strcmp(record().uniforms[i].name, name) == 0) {
                return &record().uniforms[i];
            }
        }
        return nullptr;
    }

    std::string lastLine() const {
        std::vector<std::string> lines = taggedLines(log);
        return lines.empty() ? "" : lines.back();
    }

    OrvTestLog log{OrvLog::DEBUG};
    std::unique_ptr<HandleRenderer> renderer = std::make_unique<HandleRenderer>();
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    OrvGpuShaderCreator creator;
    OrvGpuShader* shader = nullptr;
};

TEST_F(GpuShaderNodeTest, IsNamedAfterItsIdAndCarriesTheNameIntoItsProgram) {
    const std::string expected = "gpu_shader_" + std::to_string(shader->getId());
    EXPECT_EQ(shader->getName(), expected);
    EXPECT_STREQ(record().name, expected.c_str());
    EXPECT_EQ(shader->getTypeId(), 10);
    EXPECT_STREQ(shader->getTypeName(), "ORV_NODE_GPU_SHADER");
    EXPECT_EQ(shader->isKindOf(1), 1);
    EXPECT_EQ(shader->isKindOf(10), 1);
    EXPECT_EQ(shader->isKindOf(2), 0);

    shader->setName("Simple01");
    EXPECT_STREQ(record().name, "Simple01");
    const std::string longName(200, 'n');
    shader->setName(longName.c_str());
    EXPECT_EQ(std::string(record().name), longName.substr(0, 127));
    EXPECT_EQ(std::string(shader->getName()), longName.substr(0, 127));
    shader->setName(nullptr);
    EXPECT_EQ(std::string(record().name), longName.substr(0, 127));
}

TEST_F(GpuShaderNodeTest, EachSetterStoresItsKindAndValues) {
    const int ints[4] = {5, 6, 7, 8};
    const float floats[4] = {0.5f, 1.5f, 2.5f, 3.5f};
    float m3[9];
    float m4[16];
    for (int i = 0; i < 16; i++) {
        m4[i] = 0.25f * static_cast<float>(i + 1);
        if (i < 9) {
            m3[i] = -m4[i];
        }
    }
    struct Case {
        const char* name;
        int kind;
        std::function<void(OrvGpuShader*)> set;
        std::vector<float> floats;
        std::vector<int> ints;
        std::vector<float> matrix;
    };
    const std::vector<Case> cases = {
        {"a",
         ORV_UNIFORM_INT4,
         [&](OrvGpuShader* s) { s->setUniform4iv("a", ints); },
         {},
         {5, 6, 7, 8},
         {}},
        {"b",
         ORV_UNIFORM_INT4,
         [](OrvGpuShader* s) { s->setUniform4i("b", 1, 2, 3, 4); },
         {},
         {1, 2, 3, 4},
         {}},
        {"c",
         ORV_UNIFORM_INT3,
         [](OrvGpuShader* s) { s->setUniform3i("c", 1, 2, 3); },
         {},
         {1, 2, 3},
         {}},
        {"d",
         ORV_UNIFORM_INT2,
         [](OrvGpuShader* s) { s->setUniform2i("d", -1, -2); },
         {},
         {-1, -2},
         {}},
        {"e", ORV_UNIFORM_INT1, [](OrvGpuShader* s) { s->setUniform1i("e", 9); }, {}, {9}, {}},
        {"f",
         ORV_UNIFORM_FLOAT4,
         [&](OrvGpuShader* s) { s->setUniform4fv("f", floats); },
         {0.5f, 1.5f, 2.5f, 3.5f},
         {},
         {}},
        {"g",
         ORV_UNIFORM_FLOAT4,
         [](OrvGpuShader* s) { s->setUniform4f("g", 1, 2, 3, 4); },
         {1, 2, 3, 4},
         {},
         {}},
        {"h",
         ORV_UNIFORM_FLOAT3,
         [](OrvGpuShader* s) { s->setUniform3f("h", 1, 2, 3); },
         {1, 2, 3},
         {},
         {}},
        {"i",
         ORV_UNIFORM_FLOAT2,
         [](OrvGpuShader* s) { s->setUniform2f("i", 1, 2); },
         {1, 2},
         {},
         {}},
        {"j",
         ORV_UNIFORM_FLOAT1,
         [](OrvGpuShader* s) { s->setUniform1f("j", 0.25f); },
         {0.25f},
         {},
         {}},
        {"k",
         ORV_UNIFORM_MATRIX4,
         [&](OrvGpuShader* s) { s->setUniformMatrix4("k", m4); },
         {},
         {},
         std::vector<float>(m4, m4 + 16)},
        {"l",
         ORV_UNIFORM_MATRIX3,
         [&](OrvGpuShader* s) { s->setUniformMatrix3("l", m3); },
         {},
         {},
         std::vector<float>(m3, m3 + 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.set(shader);
        const OrvGpuUniform* entry = uniform(c.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->kind, c.kind);
        EXPECT_EQ(entry->changed, 1);
        EXPECT_EQ(entry->nameLength, 1);
        EXPECT_EQ(std::vector<float>(entry->floatValues, entry->floatValues + c.floats.size()),
                  c.floats);
        EXPECT_EQ(std::vector<int>(entry->intValues, entry->intValues + c.ints.size()), c.ints);
        const float* matrix = c.kind == ORV_UNIFORM_MATRIX3 ? entry->matrix3 : entry->matrix4;
        EXPECT_EQ(std::vector<float>(matrix, matrix + c.matrix.size()), c.matrix);
    }
    EXPECT_EQ(record().uniformCount, static_cast<int>(cases.size()));
    EXPECT_TRUE(renderer->calls.empty());
}

TEST_F(GpuShaderNodeTest, TheFirstSetterFixesTheKindAndLaterOnesUpdateTheEntry) {
    shader->setUniform1f("time", 0.0f);
    shader->setUniform1f("time", 1.5f);
    shader->setUniform1f("x", 0.75f);
    shader->setUniform1i("x", 3);

    ASSERT_EQ(record().uniformCount, 2);
    EXPECT_EQ(uniform("time")->floatValues[0], 1.5f);
    EXPECT_EQ(uniform("x")->kind, ORV_UNIFORM_FLOAT1);
    EXPECT_EQ(uniform("x")->floatValues[0], 0.75f);
    EXPECT_EQ(uniform("x")->intValues[0], 3);
}

TEST_F(GpuShaderNodeTest, NamesAreComparedOverTheirFirst127Characters) {
    const std::string first = std::string(127, 'u') + "first";
    const std::string second = std::string(127, 'u') + "second";
    shader->setUniform1f(first.c_str(), 1.0f);
    shader->setUniform1f(second.c_str(), 2.0f);

    ASSERT_EQ(record().uniformCount, 1);
    EXPECT_EQ(record().uniforms[0].nameLength, 127);
    EXPECT_EQ(std::string(record().uniforms[0].name), first.substr(0, 127));
    EXPECT_EQ(record().uniforms[0].floatValues[0], 2.0f);
}

TEST_F(GpuShaderNodeTest, A513thNameIsIgnoredWhileKnownNamesStillUpdate) {
    for (int i = 0; i < 512; i++) {
        shader->setUniform1i(("u" + std::to_string(i)).c_str(), i);
    }
    shader->setUniform1i("u512", 512);
    shader->setUniform1i("u7", 70);

    EXPECT_EQ(record().uniformCount, 512);
    EXPECT_EQ(uniform("u512"), nullptr);
    EXPECT_EQ(uniform("u7")->intValues[0], 70);
    EXPECT_EQ(uniform("u511")->intValues[0], 511);
}

TEST_F(GpuShaderNodeTest, NullOrEmptyNamesAndNullArraysAreIgnored) {
    shader->setUniform1f(nullptr, 1.0f);
    shader->setUniform1f("", 1.0f);
    shader->setUniform4iv("v", nullptr);
    shader->setUniform4fv("v", nullptr);
    shader->setUniformMatrix3("m", nullptr);
    shader->setUniformMatrix4("m", nullptr);
    shader->setAttributeLocation(nullptr, 1);
    shader->setAttributeLocation("", 1);

    EXPECT_EQ(record().uniformCount, 0);
    EXPECT_EQ(record().attributeCount, 0);
    EXPECT_EQ(record().attributesChanged, 0);
}

TEST_F(GpuShaderNodeTest, AttributeLocationsAppendUpTo64Entries) {
    shader->setAttributeLocation("position", 3);
    shader->setAttributeLocation("position", 4);
    ASSERT_EQ(record().attributeCount, 2);
    EXPECT_STREQ(record().attributes[1].name, "position");
    EXPECT_EQ(record().attributes[1].location, 4);
    EXPECT_EQ(record().attributesChanged, 1);

    for (int i = 2; i < 70; i++) {
        shader->setAttributeLocation("a", i);
    }
    EXPECT_EQ(record().attributeCount, 64);
    EXPECT_EQ(record().attributes[63].location, 63);
}

TEST_F(GpuShaderNodeTest, UnreadableFilesAreReportedAndLeaveTheNodeUnchanged) {
    const std::string folder = log.dir() + "/folder";
    const std::string fifo = log.dir() + "/fifo";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = log.dir() + "/missing.glsl";
    struct Case {
        const char* path;
        const char* shown;
    };
    // The FIFO would block a plain open until a writer came.
    const std::vector<Case> cases = {{missing.c_str(), missing.c_str()},
                                     {folder.c_str(), folder.c_str()},
                                     {fifo.c_str(), fifo.c_str()},
                                     {nullptr, "(null)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(shader->loadVertexShaderFromFile(c.path), -1);
        EXPECT_EQ(lastLine(),
                  warningLine(std::string("OrvGpuShader::loadVertexShaderFromFile(): "
                                          "Could not load vertex shader source file [") +
                              c.shown + "]."));
        EXPECT_EQ(shader->loadPixelShaderFromFile(c.path), -1);
        EXPECT_EQ(lastLine(), warningLine(std::string("OrvGpuShader::loadPixelShaderFromFile(): "
                                                      "Could not load pixel shader source file [") +
                                          c.shown + "]."));
    }
    EXPECT_TRUE(renderer->calls.empty());
    EXPECT_EQ(record().vertexSource, nullptr);
    EXPECT_EQ(record().pixelSource, nullptr);
}

TEST_F(GpuShaderNodeTest, InvalidMemoryBuffersAreRefused) {
    const char text[] = "void main() {}";
    struct Case {
        const char* buffer;
        int length;
    };
    for (const Case& c : std::vector<Case>{{nullptr, 5}, {text, 0}, {text, -1}}) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(shader->loadVertexShaderFromMemory(c.buffer, c.length), -1);
        EXPECT_EQ(lastLine(), warningLine("OrvGpuShader::loadVertexShaderFromMemory(): Invalid "
                                          "memory buffer - null pointer."));
        EXPECT_EQ(shader->loadPixelShaderFromMemory(c.buffer, c.length), -1);
        EXPECT_EQ(lastLine(), warningLine("OrvGpuShader::loadPixelShaderFromMemory(): Invalid "
                                          "memory buffer - null pointer."));
    }
    EXPECT_TRUE(renderer->calls.empty());
    EXPECT_EQ(record().vertexSource, nullptr);
}

TEST_F(GpuShaderNodeTest, AFileOfNBytesIsHeldAsNPlusOneEndingInZero) {
    const std::vector<std::string> contents = {"", "void main() {}\n", std::string("a\0b\xff", 4)};
    for (size_t i = 0; i < contents.size(); i++) {
        SCOPED_TRACE(i);
        const std::string path = writeFile(log.dir(), "source.glsl", contents[i]);
        renderer->clear();
        EXPECT_EQ(shader->loadPixelShaderFromFile(path.c_str()), 0);

        const int n = static_cast<int>(contents[i].size());
        ASSERT_EQ(record().pixelSourceLength, n + 1);
        EXPECT_EQ(std::string(record().pixelSource, n), contents[i]);
        EXPECT_EQ(record().pixelSource[n], '\0');
        EXPECT_EQ(renderer->names(), (std::vector<std::string>{"isGpuProgram", "createGpuProgram",
                                                               "createGpuPixelShader"}));
    }
}

TEST_F(GpuShaderNodeTest, AMemoryBufferWithoutATerminatorGetsOne) {
    EXPECT_EQ(shader->loadVertexShaderFromMemory("abc", 3), 0);
    ASSERT_EQ(record().vertexSourceLength, 4);
    EXPECT_STREQ(record().vertexSource, "abc");

    EXPECT_EQ(shader->loadVertexShaderFromMemory("abcd", 5), 0);
    ASSERT_EQ(record().vertexSourceLength, 5);
    EXPECT_STREQ(record().vertexSource, "abcd");
}

TEST_F(GpuShaderNodeTest, LoadersCreateTheProgramOnceAndReturnTheCompileResult) {
    renderer->results["createGpuVertexShader"] = -1;
    EXPECT_EQ(shader->loadVertexShaderFromMemory("v", 2), -1);
    renderer->results["isGpuProgram"] = 1;
    EXPECT_EQ(shader->loadPixelShaderFromMemory("p", 2), 0);

    EXPECT_EQ(renderer->texts(),
              (std::vector<std::string>{
                  "isGpuProgram(" + std::string(shader->getName()) + ")",
                  "createGpuProgram(" + std::string(shader->getName()) + ")",
                  "createGpuVertexShader(" + std::string(shader->getName()) + ")",
                  "isGpuProgram(" + std::string(shader->getName()) + ")",
                  "createGpuPixelShader(" + std::string(shader->getName()) + ")",
              }));
    // A source that did not compile stays stored.
    EXPECT_STREQ(record().vertexSource, "v");
}

TEST_F(GpuShaderNodeTest, ASecondSourceReplacesTheShaderAndForcesARelink) {
    renderer->results["isGpuProgram"] = 1;
    ASSERT_EQ(shader->loadVertexShaderFromMemory("first", 6), 0);
    const_cast<OrvGpuProgram*>(shader->getProgram())->linked = 1;
    renderer->clear();

    ASSERT_EQ(shader->loadVertexShaderFromMemory("second", 7), 0);

    EXPECT_EQ(renderer->names(), (std::vector<std::string>{"destroyGpuVertexShader", "isGpuProgram",
                                                           "createGpuVertexShader"}));
    EXPECT_EQ(record().linked, 0);
    EXPECT_EQ(record().vertexShader, 2u);
    EXPECT_STREQ(record().vertexSource, "second");
}

TEST_F(GpuShaderNodeTest, BindActivatesAndSendsUnbindReturnsToFixedFunction) {
    const std::string name = shader->getName();
    shader->bind();
    shader->unbind();
    EXPECT_EQ(renderer->texts(), (std::vector<std::string>{"activeGpuShader(" + name + ")",
                                                           "updateGpuShaderUniforms(" + name + ")",
                                                           "activeGpuShader(null)"}));
}

TEST_F(GpuShaderNodeTest, ReleaseAndDestructionFreeEverything) {
    const size_t before = OrvMemoryAllocator::trackedBlockCount();
    OrvGpuShader* other =
        static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, "other"));
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(other->loadVertexShaderFromMemory("v", 2), 0);
    ASSERT_EQ(other->loadPixelShaderFromMemory("p", 2), 0);
    const size_t loaded = OrvMemoryAllocator::trackedBlockCount();
    renderer->clear();

    other->release();
    EXPECT_EQ(renderer->texts(), std::vector<std::string>{"destroyGpuProgram(other)"});
    EXPECT_EQ(other->getProgram()->vertexSource, nullptr);
    EXPECT_EQ(other->getProgram()->pixelSourceLength, 0);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), loaded - 2);

    ASSERT_EQ(other->loadVertexShaderFromMemory("v", 2), 0);
    manager->destroyNode(other);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), before);
}

TEST_F(GpuShaderNodeTest, WithoutARendererSourcesAreKeptButNotCompiled) {
    renderer.reset();
    EXPECT_EQ(shader->loadVertexShaderFromMemory("v", 2), -1);
    EXPECT_STREQ(record().vertexSource, "v");
    EXPECT_EQ(lastLine(), warningLine("OrvGpuShader::loadVertexShaderFromMemory(): No renderer - "
                                      "shader [" +
                                      std::string(shader->getName()) + "] not compiled."));
    shader->setUniform1f("time", 1.0f);
    shader->bind();
    shader->unbind();
    EXPECT_EQ(uniform("time")->changed, 1);
}

}  // namespace
