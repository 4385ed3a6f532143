// The demo in its GTK window, in the test's own process: frames that the
// window's draw signal renders, against the idle frames of the loop that the
// rate counts.
#include <gtest/gtest.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "orv_demo.h"
#include "orv_demo_window.h"
#include "orv_frame_rate_counter.h"
#include "orv_test_display.h"
#include "orv_test_log.h"

namespace {

// run reads the clock a moment after the test does.
const uint32_t kClockSlack = 5;
// Longer than a frame, so that idle frames run between the draws.
const guint kRedrawMilliseconds = 100;
const int kRedrawLimit = 100;
const int kDrawWaitMilliseconds = 5000;

// Presents the demo's frames on the demo's own context and writes each down:
// whether the drawing area's draw signal asked for it, the rate the demo
// showed and the demo's clock when it was presented.
struct OrvFrameLog : public OrvRenderContext {
    struct Frame {
        bool drawSignal;
        int fps;
        uint32_t milliseconds;
    };

    int create(OrvWindowInfo*) override { return -1; }
    int destroy() override { return -1; }
    void makeCurrent() override { context->makeCurrent(); }
    void swapBuffers() override {
        frames.push_back({inDrawSignal, demo->getFps(), demo->elapsedMilliseconds(0)});
        inDrawSignal = false;
        context->swapBuffers();
    }

    OrvDemo* demo = nullptr;
    OrvRenderContext* context = nullptr;
    std::vector<Frame> frames;
    bool inDrawSignal = false;
    GtkWidget* drawingArea = nullptr;
    int redrawsLeft = kRedrawLimit;
};

// Runs before the handlers of every draw signal.
gboolean noteDrawSignal(GSignalInvocationHint*, guint, const GValue* values, gpointer data) {
    OrvFrameLog* log = static_cast<OrvFrameLog*>(data);
    if (g_value_get_object(&values[0]) == log->drawingArea) {
        log->inDrawSignal = true;
    }
    return TRUE;
}

// The widget that owns the X window.
GtkWidget* widgetOf(unsigned long xWindow) {
    GdkWindow* window = gdk_x11_window_lookup_for_display(gdk_display_get_default(), xWindow);
    gpointer widget = nullptr;
    if (window != nullptr) {
        gdk_window_get_user_data(window, &widget);
    }
    return static_cast<GtkWidget*>(widget);
}

class OrvDemoWindowTest : public ::testing::Test {
  protected:
    // Once: GDK keeps the text it is given, and a second call would lose the
    // first.
    static void SetUpTestSuite() { gdk_set_allowed_backends("x11"); }

    void SetUp() override {
        setenv("LP_NUM_THREADS", "1", 1);
        // Opened first, it keeps the X server from resetting between tests.
        ASSERT_NE(nullptr, OrvTestDisplay::get()) << "the demo window tests need an X display";
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
        drawSignal = g_signal_lookup("draw", GTK_TYPE_WIDGET);
        hook = g_signal_add_emission_hook(drawSignal, 0, noteDrawSignal, &frameLog, nullptr);
        window = std::make_unique<OrvDemoWindow>(&demo);
        ASSERT_EQ(0, window->create());
        started = true;
        ASSERT_EQ(0, demo.init(window->getXDisplay(), window->getXWindow(),
                               OrvDemoWindow::kClientWidth, OrvDemoWindow::kClientHeight))
            << demo.getError();
        frameLog.drawingArea = widgetOf(window->getXWindow());
        ASSERT_TRUE(GTK_IS_DRAWING_AREA(frameLog.drawingArea));
        frameLog.demo = &demo;
        frameLog.context = OrvMain::getInstance()->getCurrentRenderContext();
        OrvMain::getInstance()->setCurrentRenderContext(&frameLog);
    }

    void TearDown() override {
        g_signal_remove_emission_hook(drawSignal, hook);
        if (started) {
            demo.shutdown();
        }
        window.reset();
    }

    // Asks the window to redraw and dispatches its events until that has
    // presented a frame; false when none came in time.
    bool drawOnce() {
        const size_t before = frameLog.frames.size();
        gtk_widget_queue_draw(frameLog.drawingArea);
        for (int waited = 0; waited < kDrawWaitMilliseconds && frameLog.frames.size() == before;
             ++waited) {
            gtk_main_iteration_do(FALSE);
            g_usleep(1000);
        }
        return frameLog.frames.size() > before;
    }

    // While the loop runs: redraws the window until a frame has shown a rate,
    // then closes it; a rate that never comes ends the loop after the last
    // redraw allowed.
    static gboolean redrawUntilRated(gpointer data) {
        OrvFrameLog* log = static_cast<OrvFrameLog*>(data);
        --log->redrawsLeft;
        if ((!log->frames.empty() && log->frames.back().fps != 0) || log->redrawsLeft == 0) {
            gtk_window_close(GTK_WINDOW(gtk_widget_get_toplevel(log->drawingArea)));
            return G_SOURCE_REMOVE;
        }
        gtk_widget_queue_draw(log->drawingArea);
        return G_SOURCE_CONTINUE;
    }

    OrvTestLog log;
    OrvDemo demo;
    OrvFrameLog frameLog;
    std::unique_ptr<OrvDemoWindow> window;
    guint drawSignal = 0;
    gulong hook = 0;
    bool started = false;
};

// A drag released at 10 degrees a frame coasts on by dt x 10 x 0.9 degrees in
// the next frame, so the yaw shows the step that frame was rendered with.
TEST_F(OrvDemoWindowTest, TheDrawSignalRendersAFrameOfSixteenMilliseconds) {
    demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(0, 0));
    demo.onMouseMove(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(100, 0));
    demo.onLeftButtonUp(0, OrvDemo::packPosition(100, 0));
    const float released = demo.getYaw();

    ASSERT_TRUE(drawOnce());
    EXPECT_TRUE(frameLog.frames.back().drawSignal);
    EXPECT_FLOAT_EQ(released + 0.016f * 10.0f * 0.9f, demo.getYaw());
}

// The first rate is the number of idle frames begun within the first 1000 ms
// of the loop's clock, whatever the draws in between took: the period ends
// with the first idle frame begun at 1000 ms or later.
TEST_F(OrvDemoWindowTest, DrawSignalFramesStayOutOfTheRateAndTheFrameTimer) {
    g_timeout_add(kRedrawMilliseconds, redrawUntilRated, &frameLog);
    OrvFrameRateCounter counter;
    const uint32_t start = demo.elapsedMilliseconds(0);
    window->run(&counter);

    using Frame = OrvFrameLog::Frame;
    const std::vector<Frame>& frames = frameLog.frames;
    const auto rated =
        std::find_if(frames.begin(), frames.end(), [](const Frame& f) { return f.fps != 0; });
    ASSERT_NE(rated, frames.end());
    const auto isIdle = [](const Frame& f) { return !f.drawSignal; };
    const auto idleFrames = std::count_if(frames.begin(), rated, isIdle);
    ASSERT_GE(std::distance(frames.begin(), rated) - idleFrames, 5) << "too few draws to tell";
    EXPECT_EQ(idleFrames, rated->fps);

    const auto ending = std::prev(rated);
    ASSERT_TRUE(isIdle(*ending));
    EXPECT_GE(ending->milliseconds - start, 1000u);
    // The idle frame before it began before 1000 ms, after the frame ahead of
    // it was presented.
    const auto previousIdle =
        std::find_if(std::make_reverse_iterator(ending), frames.rend(), isIdle);
    ASSERT_NE(previousIdle, frames.rend());
    if (std::next(previousIdle) != frames.rend()) {
        EXPECT_LT(std::next(previousIdle)->milliseconds - start, 1000u + kClockSlack);
    }
}

}  // namespace
