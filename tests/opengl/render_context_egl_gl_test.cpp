// The EGL render context on its own: what create makes, what it refuses and
// with which words, which platform it takes, that two contexts on the one
// surfaceless display live and die independently, and that the engine's
// renderer takes its entry points from it. None of it needs X.
#define EGL_NO_X11
#include <EGL/egl.h>
#include <GL/gl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "orv_gl_test.h"
#include "render/orv_image.h"

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;

OrvWindowInfo frameInfo(int width, int height) {
    OrvWindowInfo info = {};
    info.width = width;
    info.height = height;
    info.colorBits = 32;
    info.depthBits = 24;
    info.stencilBits = 8;
    return info;
}

// The first log message that starts with prefix, or "".
std::string messageStartingWith(const OrvTestLog& log, const std::string& prefix) {
    for (const std::string& message : log.messages()) {
        if (message.compare(0, prefix.size(), prefix) == 0) {
            return message;
        }
    }
    return "";
}

bool renderNodeOpens() {
    const int file = open("/dev/dri/renderD128", O_RDWR | O_CLOEXEC);
    if (file >= 0) {
        close(file);
    }
    return file >= 0;
}

// EGL's client extensions replaced, to hide platforms.
class OrvPlatformsEGL : public OrvRenderContextEGL {
  public:
    explicit OrvPlatformsEGL(const char* extensions) : m_extensions(extensions) {}

  protected:
    const char* clientExtensions() override { return m_extensions; }

  private:
    const char* m_extensions;
};

// The framebuffer object that GBM draws into, here on the surfaceless
// platform.
class OrvFramebufferEGL : public OrvRenderContextEGL {
  protected:
    bool drawsIntoPbuffer() const override { return false; }
};

// Clears the current frame to red and reads back its middle pixel.
std::array<int, 3> clearedMiddle(int width, int height) {
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const OrvPicture picture = OrvPicture::readBackBuffer(width, height);
    const uint8_t* middle = picture.at(width / 2, height / 2);
    return {middle[0], middle[1], middle[2]};
}

TEST(RenderContextEGL, MakesACompatibilityContextOnAnOffscreenFrameOfTheSizeAndBits) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvRenderContextEGL context;
    OrvWindowInfo info = frameInfo(kWidth, kHeight);
    ASSERT_EQ(context.create(&info), 0) << context.getFailure();
    EXPECT_STREQ(context.getFailure(), "");
    EXPECT_STREQ(context.getPlatformName(), "surfaceless");
    EXPECT_EQ(messageStartingWith(log,
                                  "OrvRenderContextEGL::create(): took the surfaceless "
                                  "platform, EGL 1.")
                  .empty(),
              false);
    EXPECT_EQ(eglGetCurrentContext(), context.getEGLContext());

    // The fixed-function pipeline is there: a compatibility profile.
    EXPECT_NE(std::strstr(reinterpret_cast<const char*>(glGetString(GL_VERSION)), "Compatibility"),
              nullptr);
    EXPECT_NE(glInteger(GL_CONTEXT_PROFILE_MASK) & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT, 0);
    EXPECT_EQ(glInteger(GL_RED_BITS), 8);
    EXPECT_EQ(glInteger(GL_GREEN_BITS), 8);
    EXPECT_EQ(glInteger(GL_BLUE_BITS), 8);
    EXPECT_GE(glInteger(GL_DEPTH_BITS), 24);
    EXPECT_GE(glInteger(GL_STENCIL_BITS), 8);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
    EXPECT_EQ(clearedMiddle(kWidth, kHeight), (std::array<int, 3>{255, 0, 0}));

    // Entry points and swap control come from EGL; an offscreen frame has no
    // refresh to wait for.
    EXPECT_NE(context.getProcAddress("glCreateProgram"), nullptr);
    EXPECT_EQ(context.getProcAddress(nullptr), nullptr);
    EXPECT_FALSE(context.setSwapInterval(1));
    EXPECT_FALSE(context.setSwapInterval(0));
    context.swapBuffers();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_EQ(context.destroy(), 0);
    EXPECT_EQ(eglGetCurrentContext(), nullptr);
    EXPECT_EQ(context.destroy(), -1);
}

// Every refusal names what was missing, in the log and in getFailure.
TEST(RenderContextEGL, RefusalsSayWhy) {
    const struct {
        int width;
        int height;
        const char* expected;
    } cases[] = {
        {0, 0, "size 0x0: an offscreen frame needs at least 1x1 pixels."},
        {-5, 10, "size -5x10: an offscreen frame needs at least 1x1 pixels."},
        {640, 0, "size 640x0: an offscreen frame needs at least 1x1 pixels."},
        {100000, 100000, "size 100000x100000 is over the driver's limit of "},
        {100000, 16, "size 100000x16 is over the driver's limit of "},
    };
    for (const auto& c : cases) {
        OrvTestLog log(OrvLog::DEBUG);
        OrvRenderContextEGL context;
        OrvWindowInfo info = frameInfo(c.width, c.height);
        EXPECT_EQ(context.create(&info), -1) << c.expected;
        const std::string warning = "OrvRenderContextEGL::create(): " + std::string(c.expected);
        EXPECT_NE(messageStartingWith(log, warning), "") << c.expected;
        EXPECT_EQ(std::string(context.getFailure()).rfind(c.expected, 0), 0u) << c.expected;
        EXPECT_EQ(eglGetCurrentContext(), nullptr) << c.expected;
        EXPECT_EQ(context.destroy(), -1) << c.expected;
    }
    OrvRenderContextEGL context;
    EXPECT_EQ(context.create(nullptr), -1);
}

// Without the surfaceless platform the context turns to a GBM device, which
// needs a DRM render node; without either it says so.
TEST(RenderContextEGL, PlatformsTriedInTurn) {
    const char kNone[] =
        "neither the surfaceless platform (EGL_MESA_platform_surfaceless) nor a GBM device "
        "(EGL_MESA_platform_gbm on a render node under /dev/dri) could be opened.";
    const char kNoEgl[] =
        "no EGL implementation: the EGL library offers no platform displays "
        "(EGL_EXT_platform_base).";
    const struct {
        const char* extensions;
        const char* failure;
    } cases[] = {
        {nullptr, kNoEgl},
        {"", kNoEgl},
        {"EGL_EXT_platform_base", kNone},
        {"EGL_EXT_platform_base EGL_MESA_platform_gbm", renderNodeOpens() ? "" : kNone},
    };
    for (const auto& c : cases) {
        OrvTestLog log(OrvLog::DEBUG);
        OrvPlatformsEGL context(c.extensions);
        OrvWindowInfo info = frameInfo(kWidth, kHeight);
        const char* label = c.extensions != nullptr ? c.extensions : "(null)";
        EXPECT_EQ(context.create(&info), c.failure[0] == '\0' ? 0 : -1) << label;
        EXPECT_STREQ(context.getFailure(), c.failure) << label;
        if (c.failure[0] != '\0') {
            EXPECT_TRUE(log.contains(std::string("OrvRenderContextEGL::create(): ") + c.failure))
                << label;
        }
        if (c.extensions != nullptr && c.failure != kNoEgl) {
            EXPECT_TRUE(
                log.contains("OrvRenderContextEGL::create(): EGL offers no surfaceless "
                             "platform (EGL_MESA_platform_surfaceless)."))
                << label;
        }
    }
}

// The surfaceless display is one for the whole process: the context that
// goes first must leave it to the other.
TEST(RenderContextEGL, TwoContextsShareTheDisplayAndOutliveEachOther) {
    OrvTestLog log;
    OrvRenderContextEGL first;
    OrvRenderContextEGL second;
    OrvWindowInfo firstInfo = frameInfo(kWidth, kHeight);
    OrvWindowInfo secondInfo = frameInfo(kHeight, kWidth);
    ASSERT_EQ(first.create(&firstInfo), 0);
    ASSERT_EQ(second.create(&secondInfo), 0);
    EXPECT_EQ(first.getEGLDisplay(), second.getEGLDisplay());
    EXPECT_EQ(first.destroy(), 0);
    second.makeCurrent();
    EXPECT_EQ(eglGetCurrentContext(), second.getEGLContext());
    EXPECT_EQ(clearedMiddle(kHeight, kWidth), (std::array<int, 3>{255, 0, 0}));
    // A context made after the first went still finds the display working.
    ASSERT_EQ(first.create(&firstInfo), 0);
    EXPECT_EQ(clearedMiddle(kWidth, kHeight), (std::array<int, 3>{255, 0, 0}));
}

TEST(RenderContextEGL, TheFramebufferObjectFrameHasTheSizeAndBits) {
    OrvTestLog log;
    OrvFramebufferEGL context;
    OrvWindowInfo info = frameInfo(kWidth, kHeight);
    ASSERT_EQ(context.create(&info), 0) << context.getFailure();
    EXPECT_NE(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_GE(glInteger(GL_DEPTH_BITS), 24);
    EXPECT_GE(glInteger(GL_STENCIL_BITS), 8);
    EXPECT_EQ(clearedMiddle(kWidth, kHeight), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The renderer reads the frame from the framebuffer object, which has no
    // back buffer to name.
    OrvRendererOpenGL renderer;
    renderer.setContext(&context);
    ASSERT_EQ(renderer.initialize(), OrvRenderer::RESULT_OK);
    renderer.setViewport(0, 0, kWidth, kHeight);
    OrvImage image = {};
    ASSERT_EQ(renderer.readBackBuffer(&image), 0);
    EXPECT_EQ(image.width, kWidth);
    EXPECT_EQ(image.height, kHeight);
    const uint8_t* middle = image.at(kWidth / 2, kHeight / 2);
    EXPECT_EQ(std::vector<int>(middle, middle + 4), (std::vector<int>{255, 0, 0, 255}));
    image.release();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    renderer.terminate();

    OrvFramebufferEGL tooLarge;
    OrvWindowInfo large = frameInfo(100000, 100000);
    EXPECT_EQ(tooLarge.create(&large), -1);
    EXPECT_EQ(std::string(tooLarge.getFailure())
                  .rfind("size 100000x100000 is over the driver's "
                         "limit of ",
                         0),
              0u);
}

// Every entry point name asked of it, in order.
class OrvCountingEGL : public OrvRenderContextEGL {
  public:
    OrvProc getProcAddress(const char* name) override {
        names.push_back(name);
        return OrvRenderContextEGL::getProcAddress(name);
    }

    std::vector<std::string> names;
};

class RenderContextEGLEngineTest : public OrvEngineTest {
  protected:
    bool asked(const char* name) const {
        return std::find(context.names.begin(), context.names.end(), name) != context.names.end();
    }

    // Outlives the engine's stop in TearDown, which lets the renderer go.
    OrvCountingEGL context;
};

// The root hands the renderer the current context, and the renderer loads
// every entry point through it: on EGL they come from eglGetProcAddress, so
// the GLSL codepaths work with no X connection.
TEST_F(RenderContextEGLEngineTest, TheRendererTakesItsEntryPointsFromTheCurrentContext) {
    OrvWindowInfo info = frameInfo(kWidth, kHeight);
    ASSERT_EQ(context.create(&info), 0) << context.getFailure();
    engine->setCurrentRenderContext(&context);
    ASSERT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), OrvRenderer::RESULT_OK);
    const auto* renderer = static_cast<OrvRendererOpenGL*>(OrvRenderer::getInstance());
    const OrvGlCapabilities& capabilities = renderer->capabilities();
    EXPECT_TRUE(capabilities.hasGl2Shaders());
    EXPECT_TRUE(capabilities.hasBufferObjects());
    for (const char* name : {"glCreateProgram", "glGenBuffersARB", "glDrawRangeElements"}) {
        EXPECT_TRUE(asked(name)) << name;
    }
    EXPECT_EQ(reinterpret_cast<OrvProc>(capabilities.entryPoints().glCreateProgram),
              eglGetProcAddress("glCreateProgram"));
}

}  // namespace
