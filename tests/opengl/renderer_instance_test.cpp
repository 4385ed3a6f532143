#include <gtest/gtest.h>

#include "core/orv_memory_allocator.h"
#include "orv_recording_renderer.h"
#include "opengl/orv_renderer_opengl.h"
#include "orv_test_log.h"

namespace {

TEST(RendererInstance, TheRendererIsTheInstanceForItsLifetime) {
    EXPECT_EQ(OrvRenderer::getInstance(), nullptr);
    OrvRendererOpenGL* renderer = ORV_NEW OrvRendererOpenGL();
    EXPECT_EQ(OrvRenderer::getInstance(), renderer);
    EXPECT_EQ(renderer->capabilities().entryPoints().glDrawRangeElements, nullptr);
    ORV_DELETE(renderer);
    EXPECT_EQ(OrvRenderer::getInstance(), nullptr);
}

TEST(RendererInstance, DestroyingAnOlderRendererKeepsTheNewerOne) {
    OrvRecordingRenderer* older = new OrvRecordingRenderer();
    OrvRecordingRenderer newer;
    delete older;
    EXPECT_EQ(OrvRenderer::getInstance(), &newer);
}

// Without a current context the driver answers nothing: that is a call made
// too early, not an old driver, and nothing is loaded or allocated.
TEST(RendererInstance, InitializeWithoutAContextIsRefused) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvRendererOpenGL renderer;
    EXPECT_EQ(renderer.initialize(), -1);
    EXPECT_TRUE(log.contains("OrvRendererOpenGL::initialize(): no OpenGL context is current."));
    EXPECT_TRUE(log.messagesWith("detectAPIVersion").empty());
    EXPECT_EQ(renderer.lightCount(), 0);
    EXPECT_EQ(renderer.isExtensionSupported("GL_ARB_vertex_buffer_object"), 0);
    EXPECT_EQ(renderer.terminate(), 0);
    EXPECT_TRUE(log.contains("OrvRendererOpenGL::terminate(): done."));
}

}  // namespace
