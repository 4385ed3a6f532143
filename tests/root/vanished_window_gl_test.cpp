// The engine on a window the program destroys under it: every X and GLX call
// on the vanished drawing window ends in a WARNING, never in Xlib's default
// error handler, which prints the error and ends the process; and the stop
// still releases everything and writes the leak report.
// gtest first: Xlib's None and Bool macros would break its headers.
#include "orv_gl_test.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "orvane.h"

namespace {

const char kNoLeak[] =
    "OrvMemoryAllocator::dumpMemoryLeaks(): Yeah! No memory leak! Congratulations! You're a "
    "smart pointer man ;)";

std::string hex(unsigned long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%lx", value);
    return text;
}

class VanishedWindowGlTest : public OrvEngineGlTest {
  protected:
    // The leak report's lines are the most detailed ones.
    VanishedWindowGlTest() : OrvEngineGlTest(OrvLog::DETAILED_DEBUG) {}

    // Destroys the program's window, which takes the drawing window with it,
    // and forgets it so that the test window does not destroy it again.
    void destroyWindow() {
        XDestroyWindow(window.info.display, window.info.window);
        XSync(window.info.display, False);
        window.info.window = 0;
    }

    // A scene with a camera, drawn and presented once.
    OrvScene* drawnScene() {
        OrvScene* scene = OrvSceneMgr::getInstance()->createScene("Main_Scene");
        addCamera(scene, OrvVector4{0, 0, 100, 1});
        drawFrame(scene);
        engine->swapBuffers();
        return scene;
    }

    // The engine's stop, which ends with the leak report and the log closed.
    void expectCleanStop() {
        engine->terminate();
        EXPECT_TRUE(log.contains(kNoLeak));
        EXPECT_EQ(log.messages().back(), "Orvane - terminate ok.");
    }

    std::vector<std::string> warnings() const {
        return log.messagesWith("OrvRenderContextOpenGL::");
    }
};

TEST_F(VanishedWindowGlTest, FramesAfterTheWindowWentAreWarnedAboutAndDrawNothing) {
    OrvScene* scene = drawnScene();
    destroyWindow();
    for (int frame = 0; frame < 3; ++frame) {
        drawFrame(scene);
        engine->swapBuffers();
        engine->setCurrentRenderContext(context);
    }
    const std::vector<std::string> lines = warnings();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("OrvRenderContextOpenGL::swapBuffers(): the drawing window 0x", 0), 0u)
        << lines[0];
    EXPECT_EQ(lines.size(), 1u) << "reported once, not once a frame";
    expectCleanStop();
    EXPECT_EQ(log.messagesWith("OrvRenderContextOpenGL::destroy(): the drawing window").size(), 1u);
}

TEST_F(VanishedWindowGlTest, StoppingAfterTheWindowWentReleasesEverything) {
    drawnScene();
    destroyWindow();
    expectCleanStop();
    const std::vector<std::string> lines = warnings();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("OrvRenderContextOpenGL::destroy(): the drawing window 0x", 0), 0u)
        << lines[0];
}

TEST_F(VanishedWindowGlTest, CreatingAgainOnAVanishedWindowGivesMinusOne) {
    drawnScene();
    OrvWindowInfo info = window.info;
    destroyWindow();
    EXPECT_EQ(context->create(&info), -1);
    EXPECT_EQ(info.deviceContext, 0u);
    EXPECT_TRUE(log.contains("OrvRenderContextOpenGL::create(): window " + hex(info.window) +
                             " is not an X window of this display."));
    expectCleanStop();
}

}  // namespace
