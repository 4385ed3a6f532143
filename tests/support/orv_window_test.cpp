#include "orv_window_test.h"

#include <cstdlib>

void OrvWindowTest::SetUp() {
    // One rasterizer thread keeps llvmpipe's pictures repeatable.
    setenv("LP_NUM_THREADS", "1", 1);
    ASSERT_EQ(window.open(width, height), "");
    OrvEngineTest::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    context = engine->createRenderContext(OrvMain::KIND_OPENGL);
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(context->create(&window.info), 0);
    engine->setCurrentRenderContext(context);
}
