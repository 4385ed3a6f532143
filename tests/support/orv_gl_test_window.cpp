#include "orv_gl_test_window.h"

#include <cstdlib>

OrvGlTestWindow::~OrvGlTestWindow() {
    context.destroy();
}

std::string OrvGlTestWindow::open(int width, int height) {
    setenv("LP_NUM_THREADS", "1", 1);
    const std::string failure = openForTestContext(width, height);
    if (!failure.empty()) {
        return failure;
    }
    if (context.create(&info) != 0) {
        return orvTestOnEgl() ? std::string("the EGL render context could not be created: ") +
                                    eglContext.getFailure()
                              : "the render context could not be created on the test window";
    }
    return "";
}
