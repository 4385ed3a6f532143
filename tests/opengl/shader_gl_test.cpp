#define GL_GLEXT_PROTOTYPES
#include "shader_gl_test.h"

#include <GL/glext.h>
#include <GL/glx.h>

#include <cstdlib>
#include <cstring>

void ShaderGlTest::SetUp() {
    OrvEngineGlTest::SetUp();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(renderer->capabilities().hasGl2Shaders(), !expectArbPath());
    ASSERT_TRUE(renderer->capabilities().hasArbShaders());
}

bool ShaderGlTest::expectArbPath() {
    const char* version = std::getenv("MESA_GL_VERSION_OVERRIDE");
    return version != nullptr && version[0] != '\0' && std::atoi(version) < 2;
}

std::string ShaderGlTest::pathWords() {
    return expectArbPath() ? "ARB codepath" : "GL2 codepath";
}

std::string ShaderGlTest::printer(const std::string& name) {
    return name + (expectArbPath() ? "ARB" : "");
}

OrvGpuShader* ShaderGlTest::makeShader(const char* name, const char* vertexSource,
                                       const char* pixelSource) {
    OrvGpuShader* shader =
        static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, name));
    EXPECT_NE(shader, nullptr);
    if (shader != nullptr) {
        const int vertexLength = static_cast<int>(std::strlen(vertexSource)) + 1;
        const int pixelLength = static_cast<int>(std::strlen(pixelSource)) + 1;
        EXPECT_EQ(shader->loadVertexShaderFromMemory(vertexSource, vertexLength), 0);
        EXPECT_EQ(shader->loadPixelShaderFromMemory(pixelSource, pixelLength), 0);
    }
    return shader;
}

// GL_CURRENT_PROGRAM is an OpenGL 2.0 name, which a 1.5 context refuses; the
// library exports no ARB functions, so that one is looked up.
GLuint ShaderGlTest::currentProgram() const {
    if (expectArbPath()) {
        auto getHandle = reinterpret_cast<PFNGLGETHANDLEARBPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glGetHandleARB")));
        return getHandle(GL_PROGRAM_OBJECT_ARB);
    }
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<GLuint>(program);
}

std::vector<GLuint> ShaderGlTest::attachedShaders(GLuint program) const {
    GLuint shaders[8] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 8, &count, shaders);
    return std::vector<GLuint>(shaders, shaders + count);
}

std::vector<float> ShaderGlTest::uniformFloats(GLuint program, const char* name, int count) const {
    std::vector<float> values(16, -99.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), values.data());
    values.resize(static_cast<size_t>(count));
    return values;
}

std::vector<int> ShaderGlTest::uniformInts(GLuint program, const char* name, int count) const {
    std::vector<int> values(16, -99);
    glGetUniformiv(program, glGetUniformLocation(program, name), values.data());
    values.resize(static_cast<size_t>(count));
    return values;
}
