// The engine root on a real window and driver: the renderer it makes, a
// renderer made twice, and a whole run from start to stop without a leak.
#include <GL/gl.h>

#include <cstdio>

#include "lifecycle_test_support.h"

namespace {

using EngineDriverVersion = EngineContextGlTest;

const char kRendererDone[] = "OrvRendererOpenGL::terminate(): done.";

}  // namespace

// ctest runs this once more with MESA_GL_VERSION_OVERRIDE=1.1, where the
// driver is too old for the engine.
TEST_F(EngineDriverVersion, CreateRendererReportsWhetherItInitialised) {
    int major = 0;
    int minor = 0;
    ASSERT_EQ(std::sscanf(reinterpret_cast<const char*>(glGetString(GL_VERSION)), "%d.%d", &major,
                          &minor),
              2);
    const int expected =
        major == 1 && minor < 2 ? OrvRenderer::RESULT_VERSION_TOO_OLD : OrvRenderer::RESULT_OK;
    EXPECT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), expected);
    ASSERT_NE(engine->getRenderer(), nullptr);
    EXPECT_EQ(OrvRenderer::getInstance(), engine->getRenderer());

    engine->terminate();
    EXPECT_EQ(messagesWith(log, kRendererDone).size(), 1u);
    EXPECT_EQ(OrvRenderer::getInstance(), nullptr);
    EXPECT_EQ(engine->getRenderer(), nullptr);
}

TEST_F(EngineGlTest, SecondRendererReleasesTheFirst) {
    const size_t blocks = OrvMemoryAllocator::trackedBlockCount();
    EXPECT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), 0);
    EXPECT_EQ(messagesWith(log, kRendererDone).size(), 1u);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocks);
    EXPECT_EQ(OrvRenderer::getInstance(), engine->getRenderer());

    // A kind without an implementation leaves the renderer in place.
    OrvRenderer* current = engine->getRenderer();
    EXPECT_EQ(engine->createRenderer(2), -1);
    EXPECT_EQ(engine->getRenderer(), current);
    EXPECT_EQ(OrvRenderer::getInstance(), current);
}
