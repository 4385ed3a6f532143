// Helpers shared by the lifecycle tests: the engine started by its root around
// each test with a recording renderer in place, and the same engine on a real
// X window with the driver's context and the OpenGL renderer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_create_node.h"
#include "orv_gl_test.h"
#include "orv_recording_renderer.h"
#include "orv_test_log.h"
#include "orvane.h"

// The messages of the log that contain the text, in order.
std::vector<std::string> messagesWith(const OrvTestLog& log, const std::string& text);

// The engine started with OrvMain::init and stopped again in TearDown, a
// recording renderer as the current renderer and the log captured at the
// DEBUG level.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    OrvTestLog log{OrvLog::DEBUG};
    OrvRecordingRenderer renderer;
};

// The engine started on a test window: its own render context made current
// through the root, and, for EngineGlTest, the OpenGL renderer from
// createRenderer. The log is captured at the level the test asks for.
class EngineContextGlTest : public ::testing::Test {
  protected:
    explicit EngineContextGlTest(int level = OrvLog::DEBUG) : log(level) {}

    void SetUp() override;
    void TearDown() override;

    OrvPicture readPicture() const {
        return OrvPicture::readBackBuffer(window.info.width, window.info.height);
    }

    OrvTestLog log;
    OrvGlTestWindow window;
    OrvMain* engine = OrvMain::getInstance();
    OrvRenderContext* context = nullptr;
};

class EngineGlTest : public EngineContextGlTest {
  protected:
    explicit EngineGlTest(int level = OrvLog::DEBUG) : EngineContextGlTest(level) {}

    void SetUp() override;

    // A camera over the whole window with a 60-degree view, at eye looking at
    // the origin, added to the scene.
    OrvCamera* addCamera(OrvScene* scene, const OrvVector4& eye,
                         const OrvVector4& up = OrvVector4{0, 1, 0, 1});
    // One frame of the scene, read back before it is presented.
    OrvPicture drawFrame(OrvScene* scene);
    // The window pixel (x, y) a world point lands on under the view the
    // renderer holds and GL's projection and viewport.
    static std::array<int, 2> windowPixel(double x, double y, double z);
};

// Expects the pixel's red, green and blue within tolerance of rgb.
void expectColour(const OrvPicture& picture, const std::array<int, 2>& at,
                  const std::array<int, 3>& rgb, int tolerance, const std::string& what);
