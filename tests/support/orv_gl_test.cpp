#include "orv_gl_test.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "core/orv_memory_allocator.h"
#include "render/orv_image.h"
#include "render/orv_png_codec.h"

namespace {
constexpr int kOpenAttempts = 20;
constexpr useconds_t kOpenRetryMicroseconds = 100000;
}  // namespace

OrvGlTestWindow::~OrvGlTestWindow() {
    context.destroy();
    if (info.display == nullptr) {
        return;
    }
    if (info.window != 0) {
        XDestroyWindow(info.display, info.window);
    }
    XCloseDisplay(info.display);
}

std::string OrvGlTestWindow::open(int width, int height) {
    setenv("LP_NUM_THREADS", "1", 1);
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        return "DISPLAY is not set: the GL tests need an X server (scripts/test starts Xvfb)";
    }
    // A busy X server sometimes refuses a connection for a moment
    // ("Resource temporarily unavailable"); a short retry keeps that from
    // failing a test that has nothing to do with it.
    for (int attempt = 0; attempt < kOpenAttempts && info.display == nullptr; ++attempt) {
        if (attempt > 0) {
            usleep(kOpenRetryMicroseconds);
        }
        info.display = XOpenDisplay(name);
    }
    if (info.display == nullptr) {
        return std::string("cannot open X display ") + name;
    }
    info.width = width;
    info.height = height;
    info.colorBits = 32;
    info.depthBits = 24;
    info.stencilBits = 8;
    const int screen = DefaultScreen(info.display);
    info.window =
        XCreateSimpleWindow(info.display, RootWindow(info.display, screen), 0, 0, width, height, 0,
                            BlackPixel(info.display, screen), BlackPixel(info.display, screen));
    XMapWindow(info.display, info.window);
    XSync(info.display, False);
    if (context.create(&info) != 0) {
        return "the render context could not be created on the test window";
    }
    return "";
}

OrvPicture OrvPicture::readBackBuffer(int width, int height) {
    OrvPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.resize(static_cast<size_t>(4) * width * height);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
    return picture;
}

int OrvPicture::countNot(int r, int g, int b, int tolerance) const {
    int count = 0;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const bool same = std::abs(rgba[i] - r) <= tolerance &&
                          std::abs(rgba[i + 1] - g) <= tolerance &&
                          std::abs(rgba[i + 2] - b) <= tolerance;
        count += same ? 0 : 1;
    }
    return count;
}

bool OrvPicture::writePng(const std::string& path) const {
    OrvImage image = {};
    if (!image.allocate(width, height)) {
        return false;
    }
    // The picture's rows run bottom-up, the image's top-down.
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.at(0, height - 1 - y), at(0, y), image.rowBytes());
    }
    const bool written = OrvPngCodec::write(path.c_str(), &image) == 0;
    image.release();
    return written;
}

void OrvPicture::keep(const std::string& name) const {
    const char* folder = std::getenv("ORVANE_TEST_PICTURES");
    if (folder != nullptr && folder[0] != '\0') {
        writePng(std::string(folder) + "/" + name + ".png");
    }
}

std::array<double, 2> orvWindowPoint(OrvRenderer* renderer, double x, double y, double z) {
    double model[16];
    double projection[16];
    GLint viewport[4];
    renderer->loadViewMatrix();
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<double, 2> window = {};
    double depth = 0;
    gluProject(x, y, z, model, projection, viewport, &window[0], &window[1], &depth);
    return window;
}

int glInteger(unsigned int name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

std::vector<float> lightValues(unsigned int light, unsigned int name, int count) {
    std::vector<float> values(4, -99.0f);
    glGetLightfv(light, name, values.data());
    values.resize(count);
    return values;
}

const char* OrvReplacedStringsRenderer::queryString(unsigned int name) {
    auto replaced = strings.find(name);
    return replaced != strings.end() ? replaced->second : OrvRendererOpenGL::queryString(name);
}

void OrvGlTest::SetUp() {
    const std::string failure = window.open();
    ASSERT_EQ(failure, "");
    renderer = ORV_NEW OrvReplacedStringsRenderer();
    renderer->setContext(&window.context);
    ASSERT_EQ(renderer->initialize(), OrvRenderer::RESULT_OK);
    renderer->setViewport(0, 0, window.info.width, window.info.height);
}

void OrvGlTest::TearDown() {
    if (renderer != nullptr) {
        renderer->terminate();
        ORV_DELETE(renderer);
        renderer = nullptr;
    }
}
