// orvdemo: opens the demo window, starts the engine and the scene on it, and
// runs the loop until the window is closed. A program that cannot start says
// why and ends with a non-zero exit code. "--screenshot PATH" (opt-in, for
// scripts) writes the frame drawn three seconds after start as a PNG.
#include <gtk/gtk.h>

#include <cstdlib>
#include <cstring>

#include "orv_demo.h"
#include "orv_demo_window.h"
#include "orv_frame_rate_counter.h"

namespace {
constexpr uint32_t kScreenshotMilliseconds = 3000;
}  // namespace

int main(int argc, char** argv) {
    // The render context draws with GLX on the drawing area's X window.
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(&argc, &argv)) {
        const char* display = std::getenv("DISPLAY");
        OrvDemoWindow::showError("%s\nNo X display could be opened [%s].",
                                 OrvDemo::kErrorNoRenderContext, display ? display : "");
        return EXIT_FAILURE;
    }

    OrvDemo demo;
    OrvDemoWindow window(&demo);
    if (window.create() != 0) {
        OrvDemoWindow::showError("%s\nThe demo window has no X window to draw into.",
                                 OrvDemo::kErrorNoRenderContext);
        return EXIT_FAILURE;
    }
    if (demo.init(window.getXDisplay(), window.getXWindow(), OrvDemoWindow::kClientWidth,
                  OrvDemoWindow::kClientHeight) != 0) {
        // The engine is stopped before the box is shown, so that the log is
        // complete and closed whatever the user does next.
        demo.shutdown();
        OrvDemoWindow::showError("%s", demo.getError().c_str());
        return EXIT_FAILURE;
    }

    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0) {
            demo.requestScreenshot(argv[i + 1], kScreenshotMilliseconds);
        }
    }

    OrvFrameRateCounter counter;
    int exitCode = window.run(&counter);
    demo.shutdown();
    return exitCode;
}
