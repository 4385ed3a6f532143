// OrvDemo driven directly: the mouse control and the frame rate without a
// window, and the started demo in an X window of the test's own.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <string>
#include <thread>

#include "orv_demo.h"
#include "orv_frame_rate_counter.h"
#include "orv_test_display.h"
#include "orv_test_log.h"

// Last: Xlib defines macros such as None and Bool.
#include <X11/Xlib.h>

namespace {

const float kStartDistance = std::sqrt(50.0f * 50.0f + 280.0f * 280.0f);  // about 284.4

// The twister program hung on the box's material.
const OrvGpuProgram* boxProgram() {
    OrvMaterial* material = OrvMaterialMgr::getInstance()->findByName("mat_box");
    if (material == nullptr || material->getGpuShader() == nullptr) {
        return nullptr;
    }
    return material->getGpuShader()->getProgram();
}

float uniformValue(const OrvGpuProgram* program, const char* name) {
    for (int i = 0; i < program->uniformCount; ++i) {
        if (std::strcmp(program->uniforms[i].name, name) == 0) {
            return program->uniforms[i].floatValues[0];
        }
    }
    return -1.0f;
}

float distanceFromOrigin(const OrvVector4* p) {
    return std::sqrt(p->x * p->x + p->y * p->y + p->z * p->z);
}

// Without init the demo has no camera, but the orbit angles still follow the
// mouse from zero.
struct DragCase {
    const char* name;
    int fromX, fromY, toX, toY;
    int moveFlags;
    float yaw, pitch;
};

const DragCase kDragCases[] = {
    {"right and down", 100, 100, 130, 150, 1, 3.0f, 5.0f},
    {"into negative positions", 10, 10, -5, -20, 1, -1.5f, -3.0f},
    {"between negative positions", -300, -400, -310, -380, 1, -1.0f, 2.0f},
    {"held at 80 going down", 0, 0, 40, 1000, 1, 4.0f, 80.0f},
    {"held at -80 going up", 0, 1000, 0, 0, 1, 0.0f, -80.0f},
    {"ignored with Control", 0, 0, 50, 50, 1 | OrvDemo::kMouseControl, 0.0f, 0.0f},
};

TEST(OrvDemoMouse, DragTurnsTheOrbitAnglesByATenthOfADegreePerPixel) {
    for (const DragCase& c : kDragCases) {
        OrvDemo demo;
        demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(c.fromX, c.fromY));
        demo.onMouseMove(c.moveFlags, OrvDemo::packPosition(c.toX, c.toY));
        EXPECT_FLOAT_EQ(c.yaw, demo.getYaw()) << c.name;
        EXPECT_FLOAT_EQ(c.pitch, demo.getPitch()) << c.name;
    }
}

TEST(OrvDemoMouse, OnlyADragMovesAndOnlyItsReleaseCoasts) {
    OrvDemo demo;
    demo.onMouseMove(0, OrvDemo::packPosition(50, 50));
    EXPECT_EQ(0.0f, demo.getYaw());

    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 0));
    EXPECT_EQ(1, demo.getFlag(OrvDemo::FLAG_DRAGGING));
    demo.onMouseOther(0, OrvDemo::packPosition(80, 80));
    EXPECT_EQ(0.0f, demo.getYaw());
    demo.onLeftButtonUp(0, OrvDemo::packPosition(0, 0));
    EXPECT_EQ(0, demo.getFlag(OrvDemo::FLAG_DRAGGING));
    EXPECT_EQ(1, demo.getFlag(OrvDemo::FLAG_COASTING));

    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 0));
    EXPECT_EQ(0, demo.getFlag(OrvDemo::FLAG_COASTING));
}

TEST(OrvDemoFlags, IndicesOutsideTheFourAreIgnoredAndReadZero) {
    OrvDemo demo;
    for (int index : {-1, 4, 1000}) {
        demo.setFlag(index, 7);
        EXPECT_EQ(0, demo.getFlag(index)) << index;
    }
    demo.setFlag(1, 7);
    EXPECT_EQ(7, demo.getFlag(1));
}

// The counter feeds a demo that is not running, so only the rate counts.
class OrvFrameRateCounterTest : public ::testing::Test {
  protected:
    // Idle frames every step milliseconds after start; the rate after each.
    std::vector<int> ratesAfterFrames(uint32_t start, uint32_t step, int frames) {
        std::vector<int> rates;
        counter.start(start);
        for (int i = 1; i <= frames; ++i) {
            counter.idleFrame(start + static_cast<uint32_t>(i) * step, &demo);
            rates.push_back(demo.getFps());
        }
        return rates;
    }

    OrvDemo demo;
    OrvFrameRateCounter counter;
};

TEST_F(OrvFrameRateCounterTest, ShowsZeroForTheFirstSecondThenTheFramesOfIt) {
    std::vector<int> rates = ratesAfterFrames(5000, 10, 100);
    EXPECT_EQ(0, rates[98]);
    EXPECT_EQ(100, rates[99]);
}

TEST_F(OrvFrameRateCounterTest, CountsAcrossTheClockWrapping) {
    std::vector<int> rates = ratesAfterFrames(0xFFFFFF00u, 10, 100);
    EXPECT_EQ(0, rates[98]);
    EXPECT_EQ(100, rates[99]);
}

TEST_F(OrvFrameRateCounterTest, ALongFrameEndsThePeriodAndItsExcessIsDropped) {
    counter.start(0);
    counter.idleFrame(300, &demo);
    counter.idleFrame(1800, &demo);
    EXPECT_EQ(2, demo.getFps());
    // The next period starts from zero, not from the 1100 ms gone by.
    for (uint32_t now = 1810; now < 2800; now += 10) {
        counter.idleFrame(now, &demo);
    }
    EXPECT_EQ(2, demo.getFps());
    counter.idleFrame(2800, &demo);
    EXPECT_EQ(100, demo.getFps());
}

// A started demo in a 1024 x 768 X window of the test's own.
class OrvDemoStarted : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("LP_NUM_THREADS", "1", 1);
        display = OrvTestDisplay::get();
        ASSERT_NE(nullptr, display) << "the demo tests need an X display";
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1024, 768, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }

    void TearDown() override {
        if (started) {
            demo.shutdown();
        }
        if (display != nullptr) {
            XDestroyWindow(display, window);
            XSync(display, False);
        }
    }

    void start() {
        started = true;
        ASSERT_EQ(0, demo.init(display, window, 1024, 768)) << demo.getError();
    }

    const OrvVector4* cameraPosition() const { return demo.getCamera()->getPosition(); }

    OrvTestLog log;
    Display* display = nullptr;
    Window window = 0;
    OrvDemo demo;
    bool started = false;
};

TEST_F(OrvDemoStarted, StartsWithTheCameraBackFromTheOriginAndTheRateZero) {
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(1, demo.getFlag(OrvDemo::FLAG_RUNNING));
    EXPECT_EQ(0.0f, cameraPosition()->x);
    EXPECT_EQ(50.0f, cameraPosition()->y);
    EXPECT_EQ(280.0f, cameraPosition()->z);
    EXPECT_FLOAT_EQ(90.0f, demo.getYaw());
    EXPECT_FLOAT_EQ(20.0f, demo.getPitch());

    demo.frame(0.016f);
    EXPECT_STREQ("FPS: 0", demo.getTextInfo().text);
    EXPECT_EQ(6, demo.getTextInfo().textLength);
    EXPECT_EQ(std::string::npos, log.text().find("[WARNING]")) << log.text();

    // The box's first draw linked the shader pair found beside the program.
    const OrvGpuProgram* program = boxProgram();
    ASSERT_NE(nullptr, program);
    EXPECT_EQ(1, program->linked);
    EXPECT_EQ(100.0f, uniformValue(program, "height"));
    EXPECT_EQ(90.0f, uniformValue(program, "angle_deg_max"));
}

TEST_F(OrvDemoStarted, TheShaderTimeRunsOnTheClockNotOnTheFrameSteps) {
    ASSERT_NO_FATAL_FAILURE(start());
    demo.frame(0.016f);
    const float first = uniformValue(boxProgram(), "time");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    demo.frame(0.0f);
    EXPECT_GE(uniformValue(boxProgram(), "time") - first, 0.049f);
}

TEST_F(OrvDemoStarted, TheFirstDragStepKeepsTheDistance) {
    ASSERT_NO_FATAL_FAILURE(start());
    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(500, 400));
    demo.onMouseMove(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(500, 410));

    EXPECT_FLOAT_EQ(21.0f, demo.getPitch());
    EXPECT_NEAR(284.4f, distanceFromOrigin(cameraPosition()), 0.05f);
    EXPECT_NEAR(kStartDistance * std::sin(21.0f * 0.017453292f), cameraPosition()->y, 0.01f);
    EXPECT_NEAR(0.0f, cameraPosition()->x, 0.01f);
}

TEST_F(OrvDemoStarted, PitchHeldAtEightyThenOnlyTheYawTurns) {
    ASSERT_NO_FATAL_FAILURE(start());
    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 0));
    demo.onMouseMove(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 2000));
    EXPECT_EQ(80.0f, demo.getPitch());
    const float height = cameraPosition()->y;

    demo.onMouseMove(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(300, 2100));
    EXPECT_EQ(80.0f, demo.getPitch());
    EXPECT_FLOAT_EQ(120.0f, demo.getYaw());
    EXPECT_FLOAT_EQ(height, cameraPosition()->y);
    EXPECT_NEAR(kStartDistance, distanceFromOrigin(cameraPosition()), 0.05f);
}

TEST_F(OrvDemoStarted, ControlDragLeavesTheCameraWhereItIs) {
    ASSERT_NO_FATAL_FAILURE(start());
    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 0));
    demo.onMouseMove(OrvDemo::kMouseLeftButton | OrvDemo::kMouseControl,
                     OrvDemo::packPosition(200, 100));
    EXPECT_EQ(50.0f, cameraPosition()->y);
    EXPECT_EQ(280.0f, cameraPosition()->z);
}

TEST_F(OrvDemoStarted, AReleaseWithoutMovementEndsTheCoastingOnTheNextFrame) {
    ASSERT_NO_FATAL_FAILURE(start());
    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(10, 10));
    demo.onLeftButtonUp(0, OrvDemo::packPosition(10, 10));
    ASSERT_EQ(1, demo.getFlag(OrvDemo::FLAG_COASTING));

    demo.frame(0.016f);
    EXPECT_EQ(0, demo.getFlag(OrvDemo::FLAG_COASTING));
    EXPECT_FLOAT_EQ(20.0f, demo.getPitch());
    EXPECT_FLOAT_EQ(90.0f, demo.getYaw());
}

TEST_F(OrvDemoStarted, ADragReleasedGlidesOnAndComesToRest) {
    ASSERT_NO_FATAL_FAILURE(start());
    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 0));
    demo.onMouseMove(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(100, 0));
    demo.onLeftButtonUp(0, OrvDemo::packPosition(100, 0));
    const float released = demo.getYaw();

    demo.coast(0.5f);
    EXPECT_FLOAT_EQ(released + 4.5f, demo.getYaw());
    for (int i = 0; i < 1000 && demo.getFlag(OrvDemo::FLAG_COASTING) != 0; ++i) {
        demo.coast(0.5f);
    }
    EXPECT_EQ(0, demo.getFlag(OrvDemo::FLAG_COASTING));
}

struct BadWindowCase {
    const char* name;
    unsigned long window;
};

TEST_F(OrvDemoStarted, AWindowWithoutAContextFailsTheStartAndSaysSo) {
    for (const BadWindowCase& c : {BadWindowCase{"no window", 0ul},
                                   BadWindowCase{"not a window of the display", 0x7ffffffful}}) {
        OrvDemo failing;
        EXPECT_EQ(-1, failing.init(display, c.window, 1024, 768)) << c.name;
        EXPECT_EQ(OrvDemo::kErrorNoGLContext, failing.getError()) << c.name;
        EXPECT_EQ(0, failing.getFlag(OrvDemo::FLAG_RUNNING)) << c.name;
        char line[128];
        std::snprintf(line, sizeof(line),
                      "OrvDemo::init(): Could not create the render context on window [0x%lx].",
                      c.window);
        EXPECT_TRUE(log.contains(line)) << c.name << "\n" << log.text();
        failing.shutdown();
    }
}

}  // namespace
