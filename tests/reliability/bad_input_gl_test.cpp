// Bad input that only the real driver shows the answer to: a display without
// GLX, a compiler log longer than the log's line, and null for every record
// the OpenGL renderer takes.
#include "orv_gl_test.h"

#include <GL/glx.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "scene/orv_gpu_shader.h"
#include "render/orv_text_info.h"
#include "core/orv_memory_allocator.h"

namespace {

// A virtual X server of its own, started without the GLX extension, and
// stopped again at the end of the test.
class XServerWithoutGlx {
  public:
    XServerWithoutGlx() {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-extension", "GLX", "-nolisten",
                   "tcp", "-screen", "0", "320x240x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes its display number and a newline once it accepts
        // connections, and gives up if the pipe closes before it is done.
        std::string number;
        char c = 0;
        while (m_pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        if (c == '\n') {
            m_display = ":" + number;
        }
        close(fds[0]);
    }

    ~XServerWithoutGlx() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

    XServerWithoutGlx(const XServerWithoutGlx&) = delete;
    XServerWithoutGlx& operator=(const XServerWithoutGlx&) = delete;

    // ":N", or "" when the server did not start.
    const std::string& display() const { return m_display; }

  private:
    pid_t m_pid = -1;
    std::string m_display;
};

TEST(BadInputGl, ADisplayWithoutGlxGetsNoContext) {
    OrvTestLog log;
    XServerWithoutGlx server;
    ASSERT_NE(server.display(), "") << "Xvfb did not start";
    Display* display = XOpenDisplay(server.display().c_str());
    ASSERT_NE(display, nullptr);
    int opcode = 0;
    int event = 0;
    int error = 0;
    ASSERT_FALSE(XQueryExtension(display, "GLX", &opcode, &event, &error));
    OrvWindowInfo info = {};
    info.display = display;
    info.window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
    info.colorBits = 32;
    info.depthBits = 24;
    info.stencilBits = 8;
    {
        OrvRenderContextOpenGL context;
        EXPECT_EQ(context.create(&info), -1);
        EXPECT_EQ(info.glContext, nullptr);
        EXPECT_EQ(context.getWindowInfo(), nullptr);
    }
    EXPECT_EQ(log.messages().back(),
              "OrvRenderContextOpenGL::create(): no double-buffered RGBA visual with 32 colour, "
              "24 depth and 8 stencil bits.");
    XDestroyWindow(display, info.window);
    XCloseDisplay(display);
}

class BadInputGlTest : public OrvEngineGlTest {};

// Hundreds of errors make a compiler log of many kilobytes; its line is cut
// to the log's line buffer and the next line is whole.
TEST_F(BadInputGlTest, ACompilerLogLongerThanTheLogLineIsCut) {
    std::string source = "void main() {\n";
    for (int i = 0; i < 400; ++i) {
        source += "  undeclared_" + std::to_string(i) + " = 1.0;\n";
    }
    source += "}\n";
    OrvGpuShader* shader = ORV_NEW OrvGpuShader();
    shader->setName("noisy");
    EXPECT_EQ(shader->loadVertexShaderFromMemory(source.c_str(), static_cast<int>(source.size())),
              -1);
    ORV_DELETE(shader);
    OrvLog::getInstance()->write(OrvLog::WARNING, "next");

    // The compiler's own lines follow the tag's line; the engine's next line
    // starts with its tag.
    const std::string text = log.text();
    const size_t warning =
        text.find("#OrvRendererOpenGL::_printGpuVertexShaderInfoLog(): [noisy] - ");
    ASSERT_NE(warning, std::string::npos);
    const size_t lineStart = text.rfind("<!>[WARNING]#", warning);
    const size_t nextLine = text.find("\n<", warning);
    ASSERT_NE(nextLine, std::string::npos);
    EXPECT_EQ(nextLine + 1 - lineStart, static_cast<size_t>(OrvLog::kBufferSize - 1));
    EXPECT_EQ(log.messages().back(), "next");
}

// A negative viewport size would only raise a GL error: it is refused with a
// WARNING and the viewport stays, for GL and for the text placement alike.
TEST_F(BadInputGlTest, ANegativeViewportSizeIsRefused) {
    renderer->setViewport(10, 20, 300, 200);
    const struct {
        int width;
        int height;
    } cases[] = {{-1, 200}, {300, -5}, {-640, -480}};
    for (const auto& c : cases) {
        renderer->setViewport(0, 0, c.width, c.height);
        EXPECT_TRUE(log.contains("OrvRendererOpenGL::setViewport(): negative size " +
                                 std::to_string(c.width) + " x " + std::to_string(c.height) +
                                 " refused; the viewport stays as it was."));
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4),
                  (std::vector<GLint>{10, 20, 300, 200}));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// Every glyph is rendered and kept at the height asked: 20,000 pixels took
// seconds and gigabytes. Past 512 pixels no font is made.
TEST_F(BadInputGlTest, AFontTallerThanTheLargestIsRefused) {
    OrvTextInfo text = {};
    std::snprintf(text.faceName, sizeof(text.faceName), "%s", "Verdana");
    for (const int height : {513, 20000, 2147483647}) {
        text.fontHeight = height;
        EXPECT_EQ(renderer->createFont(&text, &window.info), -1);
        EXPECT_EQ(text.listBase, 0u);
        EXPECT_TRUE(log.contains("OrvRendererOpenGL::createFont(): font height " +
                                 std::to_string(height) +
                                 " is past the largest, 512 pixels; no font made."));
    }
    text.fontHeight = 512;
    ASSERT_EQ(renderer->createFont(&text, &window.info), 0);
    renderer->destroyFont(&text, &window.info);
}

// Every operation of the renderer that takes a record refuses null: it
// returns its failure result, makes no GL call with it and raises no GL error.
TEST_F(BadInputGlTest, NullRecordsAreRefusedByEveryRendererOperation) {
    OrvRendererOpenGL& r = *renderer;
    const std::vector<std::function<int()>> calls = {
        [&] { return r.hasVBO(nullptr, 0); },
        [&] { return r.hasIBO(nullptr); },
        [&] { return r.createVBO(nullptr, 0) == -1 ? 0 : 1; },
        [&] { return r.createIBO(nullptr) == -1 ? 0 : 1; },
        [&] { return r.isGpuProgram(nullptr); },
        [&] { return r.createGpuVertexShader(nullptr) == -1 ? 0 : 1; },
        [&] { return r.createGpuPixelShader(nullptr) == -1 ? 0 : 1; },
        [&] { return r.createFont(nullptr, nullptr) == -1 ? 0 : 1; },
        [&] {
            OrvTextInfo text = {};
            return r.createFont(&text, nullptr) == -1 ? 0 : 1;
        },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i](), 0) << "call " << i;
    }
    const std::vector<std::function<void()>> operations = {
        [&] { r.applyRenderStates(nullptr); },
        [&] { r.setProjectionMatrix(nullptr); },
        [&] { r.setViewMatrix(nullptr); },
        [&] { r.multMatrix(nullptr); },
        [&] { r.loadModelViewMatrix(nullptr); },
        [&] { r.lookAt(nullptr, nullptr, nullptr); },
        [&] { r.drawPoint(nullptr, nullptr, 1.0f); },
        [&] { r.drawTriangle(nullptr); },
        [&] { r.drawLine(nullptr); },
        [&] { r.setVertexArrays(nullptr); },
        [&] { r.drawElements(nullptr); },
        [&] { r.unsetVertexArrays(nullptr); },
        [&] { r.setVertexBuffers(nullptr); },
        [&] { r.drawElementsVBO(nullptr); },
        [&] { r.unsetVertexBuffers(nullptr); },
        [&] { r.drawMesh(nullptr); },
        [&] { r.drawMeshVBO(nullptr); },
        [&] { r.drawImmediate(nullptr); },
        [&] { r.compileDisplayList(nullptr); },
        [&] { r.deleteDisplayList(nullptr); },
        [&] { r.callDisplayList(nullptr); },
        [&] { r.enableLight(nullptr); },
        [&] { r.disableLight(nullptr); },
        [&] { r.setLightPosition(nullptr); },
        [&] { r.setLightColors(nullptr); },
        [&] { r.applyMaterial(nullptr); },
        [&] { r.destroyVBO(nullptr, 0); },
        [&] { r.destroyIBO(nullptr); },
        [&] { r.bindVBO(nullptr, 0); },
        [&] { r.bindIBO(nullptr); },
        [&] { r.updateVBO(nullptr, 0); },
        [&] { r.updateIBO(nullptr); },
        [&] { r.createGpuProgram(nullptr); },
        [&] { r.destroyGpuProgram(nullptr); },
        [&] { r.destroyGpuVertexShader(nullptr); },
        [&] { r.destroyGpuPixelShader(nullptr); },
        [&] { r.updateGpuShaderUniforms(nullptr); },
        [&] { r.bindGpuShaderAttributes(nullptr); },
        [&] { r.destroyFont(nullptr, nullptr); },
        [&] { r.drawText(nullptr, nullptr); },
    };
    for (size_t i = 0; i < operations.size(); ++i) {
        operations[i]();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "operation " << i;
    }
}

}  // namespace
