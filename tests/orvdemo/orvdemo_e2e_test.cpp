// The orvdemo program end to end, on the test's X display: what it shows, how
// the mouse and the menus drive it, how it ends, and how it fails to start.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "orv_demo.h"
#include "orv_demo_process.h"
#include "orv_test_log.h"

namespace {

const int kWindowTimeout = 15000;
const int kExitTimeout = 10000;
const std::vector<std::string> kPinnedThreads = {"LP_NUM_THREADS=1"};

bool isBackground(const uint8_t* p) {
    // The clear colour 0.1 of 255.
    return p[0] >= 24 && p[0] <= 27 && p[1] >= 24 && p[1] <= 27 && p[2] >= 24 && p[2] <= 27;
}

bool isWhite(const uint8_t* p) {
    return p[0] >= 200 && p[1] >= 200 && p[2] >= 200;
}

// A light's colour dominates: one channel stands well above another.
bool isColoured(const uint8_t* p) {
    return std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) >= 60;
}

// Beside and below the twisting box only the camera changes the picture.
int differingBesideTheBox(const OrvScreenPicture& a, const OrvScreenPicture& b) {
    int n = 0;
    for (int y = 300; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const bool besideBox = x < 380 || x >= 644;
            n += besideBox && !std::equal(a.at(x, y), a.at(x, y) + 3, b.at(x, y)) ? 1 : 0;
        }
    }
    return n;
}

std::string lastLogMessage(const std::string& log) {
    std::istringstream lines(log);
    std::string line;
    std::string last;
    while (std::getline(lines, line)) {
        if (!line.empty()) {
            last = line;
        }
    }
    return OrvTestLog::messageOf(last);
}

class OrvDemoEndToEnd : public ::testing::Test {
  protected:
    // Starts the program and waits for its first frame.
    void startDemo(const std::string& program = ORVDEMO_PATH) {
        ASSERT_EQ("", demo.start(program, kPinnedThreads));
        window = demo.waitForWindow("OrvaneDemo", kWindowTimeout);
        ASSERT_NE(0u, window) << demo.standardError();
        frame = demo.rectOf(window);
        area = demo.drawingAreaOf(window);
        ASSERT_EQ(1024, area.width);
        for (int waited = 0; waited < kWindowTimeout; waited += 100) {
            if (isBackground(capture().at(area.width - 10, 60))) {
                return;
            }
            OrvDemoProcess::pause(100);
        }
        FAIL() << "no frame was drawn; " << demo.standardError();
    }

    OrvScreenPicture capture() { return demo.capture(area); }

    // Menu titles sit in the bar above the drawing area, their items just
    // below it.
    void chooseMenuItem(int titleX, int itemX) {
        OrvDemoProcess::click(frame.x + titleX, frame.y + (area.y - frame.y) / 2);
        OrvDemoProcess::pause(300);
        OrvDemoProcess::click(frame.x + itemX, area.y + 12);
    }

    // A left click with the pointer over the drawing area swings the camera
    // from its start pose onto its orbit, where it rests; the picture then.
    void settleOnTheOrbit(OrvScreenPicture* picture) {
        const std::string at =
            std::to_string(area.x + 300) + " " + std::to_string(area.y + 500) + " ";
        ASSERT_TRUE(OrvDemoProcess::xdotool("mousemove " + at + "click 1"));
        OrvDemoProcess::pause(300);
        *picture = capture();
        OrvDemoProcess::pause(200);
        ASSERT_EQ(0, differingBesideTheBox(*picture, capture()));
    }

    int exitThroughFileMenu() {
        chooseMenuItem(18, 30);
        return demo.waitForExit(kExitTimeout);
    }

    void expectCleanEnd() {
        EXPECT_EQ(0, exitThroughFileMenu()) << demo.standardError();
        EXPECT_EQ("Orvane - terminate ok.", lastLogMessage(demo.readFile("Orvane.log")));
    }

    OrvDemoProcess demo;
    unsigned long window = 0;
    OrvScreenRect frame;
    OrvScreenRect area;
};

TEST_F(OrvDemoEndToEnd, ShowsTheLitBoxOverTheGridWithTheRateAndLeavesThroughFileExit) {
    ASSERT_NO_FATAL_FAILURE(startDemo());
    OrvScreenPicture picture = capture();

    EXPECT_EQ(768, picture.height);
    EXPECT_TRUE(isBackground(picture.at(20, 700)));
    // The box stands in the middle on the grid, which shows on both sides of
    // it; the rate text is at the top left.
    EXPECT_GT(picture.count(432, 150, 592, 380, isColoured), 2000);
    EXPECT_GT(picture.count(150, 355, 420, 450, isWhite), 500);
    EXPECT_GT(picture.count(604, 355, 874, 450, isWhite), 500);
    EXPECT_GT(picture.count(5, 15, 120, 50, isWhite), 20);
    EXPECT_EQ(0, picture.count(200, 15, 1024, 50, isWhite));

    expectCleanEnd();
    EXPECT_EQ(std::string::npos, demo.readFile("Orvane.log").find("[WARNING]"));
}

TEST_F(OrvDemoEndToEnd, DragTurnsTheView) {
    ASSERT_NO_FATAL_FAILURE(startDemo());
    OrvScreenPicture before;
    ASSERT_NO_FATAL_FAILURE(settleOnTheOrbit(&before));

    ASSERT_TRUE(
        OrvDemoProcess::xdotool("mousedown 1 mousemove_relative 50 0 "
                                "mousemove_relative 50 0 mousemove_relative 50 0 "
                                "mouseup 1"));
    OrvDemoProcess::pause(300);
    EXPECT_GT(differingBesideTheBox(before, capture()), 1000);

    expectCleanEnd();
}

// Right button presses, a right drag and wheel turns in both directions.
TEST_F(OrvDemoEndToEnd, RightButtonAndWheelLeaveTheViewAsItWas) {
    const char* const actions[] = {
        "mousedown 3 mousemove_relative 50 0 mousemove_relative 50 0 mouseup 3 click 3",
        "click 4 click 4 click 5 click 5 click 5"};
    ASSERT_NO_FATAL_FAILURE(startDemo());
    for (const char* action : actions) {
        OrvScreenPicture before;
        ASSERT_NO_FATAL_FAILURE(settleOnTheOrbit(&before));
        ASSERT_TRUE(OrvDemoProcess::xdotool(action));
        OrvDemoProcess::pause(300);
        EXPECT_EQ(0, differingBesideTheBox(before, capture())) << action;
    }

    expectCleanEnd();
}

TEST_F(OrvDemoEndToEnd, HelpAboutOpensTheDialogAndOkClosesIt) {
    ASSERT_NO_FATAL_FAILURE(startDemo());
    chooseMenuItem(60, 90);
    unsigned long about = demo.waitForWindow("About", kWindowTimeout);
    ASSERT_NE(0u, about);

    OrvScreenRect box = demo.rectOf(about);
    OrvDemoProcess::click(box.x + box.width - 45, box.y + box.height - 20);
    for (int waited = 0; waited < kWindowTimeout && demo.windowExists(about); waited += 100) {
        OrvDemoProcess::pause(100);
    }
    EXPECT_FALSE(demo.windowExists(about));

    expectCleanEnd();
}

TEST_F(OrvDemoEndToEnd, WithoutShaderFilesWarnsAndDrawsTheBoxUnshaded) {
    // A copy of the program has no data folder beside it, and neither has
    // the folder it runs in.
    const std::string copy = demo.directory() + "/orvdemo";
    std::filesystem::copy_file(ORVDEMO_PATH, copy);
    ASSERT_NO_FATAL_FAILURE(startDemo(copy));

    OrvScreenPicture picture = capture();
    int box = picture.count(432, 150, 592, 380, [](const uint8_t* p) { return !isBackground(p); });
    EXPECT_GT(box, 20000);

    expectCleanEnd();
    const std::string log = demo.readFile("Orvane.log");
    for (const char* line :
         {"OrvGpuShader::loadVertexShaderFromFile(): Could not load vertex shader source file "
          "[data/twister_vs.glsl].",
          "OrvGpuShader::loadPixelShaderFromFile(): Could not load pixel shader source file "
          "[data/twister_ps.glsl]."}) {
        EXPECT_NE(std::string::npos, log.find(line)) << line;
    }
}

TEST(OrvDemoStart, WithoutADisplaySaysSoAndFails) {
    OrvDemoProcess demo;
    ASSERT_EQ("", demo.start(ORVDEMO_PATH, {"DISPLAY"}));
    EXPECT_NE(0, demo.waitForExit(kExitTimeout));
    EXPECT_NE(std::string::npos, demo.standardError().find(std::string("Orvane Demo Error: ") +
                                                           OrvDemo::kErrorNoRenderContext));
}

TEST(OrvDemoStart, WithOpenGLTooOldShowsTheErrorBoxAndFails) {
    OrvDemoProcess demo;
    ASSERT_EQ("", demo.start(ORVDEMO_PATH, {"MESA_GL_VERSION_OVERRIDE=1.1"}));
    unsigned long error = demo.waitForWindow("Orvane Demo Error", kWindowTimeout);
    ASSERT_NE(0u, error) << demo.standardError();
    EXPECT_NE(std::string::npos, demo.standardError().find(OrvDemo::kErrorOpenGLTooOld));

    OrvScreenRect box = demo.rectOf(error);
    OrvDemoProcess::click(box.x + box.width - 45, box.y + box.height - 20);
    EXPECT_EQ(1, demo.waitForExit(kExitTimeout));
    EXPECT_EQ("Orvane - terminate ok.", lastLogMessage(demo.readFile("Orvane.log")));
}

}  // namespace
