#include "orv_gl_test_window.h"

#include <cstdlib>

OrvGlTestWindow::~OrvGlTestWindow() {
    context.destroy();
}

std::string OrvGlTestWindow::open(int width, int height) {
    setenv("LP_NUM_THREADS", "1", 1);
    const std::string failure = OrvTestWindow::open(width, height);
    if (!failure.empty()) {
        return failure;
    }
    if (context.create(&info) != 0) {
        return "the render context could not be created on the test window";
    }
    return "";
}
