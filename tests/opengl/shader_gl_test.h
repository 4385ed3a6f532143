// The fixture of the GL shader tests: the engine on OpenGL (OrvEngineGlTest),
// whose node manager makes the GPU shader nodes, and the codepath this run
// must take. The tests run twice: on the driver's own version (GL2 codepath)
// and with MESA_GL_VERSION_OVERRIDE below 2 (ARB).
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "orv_gl_test.h"
#include "orvane.h"

class ShaderGlTest : public OrvEngineGlTest {
  protected:
    void SetUp() override;

    // True when this run must take the ARB codepath.
    static bool expectArbPath();
    // "GL2 codepath" or "ARB codepath", as the renderer's lines say it.
    static std::string pathWords();
    // The log printers' names end in "ARB" on the ARB codepath.
    static std::string printer(const std::string& name);

    // A node from the node manager with both sources loaded; fails the test
    // when either does not compile.
    OrvGpuShader* makeShader(const char* name, const char* vertexSource, const char* pixelSource);

    // The program GL is using now.
    GLuint currentProgram() const;
    // The shaders attached to the program.
    std::vector<GLuint> attachedShaders(GLuint program) const;
    // A uniform of the program in use, read back with glGetUniformfv or
    // glGetUniformiv.
    std::vector<float> uniformFloats(GLuint program, const char* name, int count) const;
    std::vector<int> uniformInts(GLuint program, const char* name, int count) const;

    // The engine's node manager, which makes GPU shader nodes.
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
};
