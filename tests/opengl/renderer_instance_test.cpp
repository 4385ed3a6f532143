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

// Without a current context there is no version string to read: it is
// refused like a malformed one, and nothing is loaded or allocated.
TEST(RendererInstance, InitializeWithoutAContextReportsAnOldVersion) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvRendererOpenGL renderer;
    EXPECT_EQ(renderer.initialize(), OrvRenderer::RESULT_VERSION_TOO_OLD);
    EXPECT_TRUE(
        log.contains("OrvRendererOpenGL::detectAPIVersion(): OpenGL version string "
                     "malformed!"));
    EXPECT_TRUE(log.contains(
        "OrvRendererOpenGL::detectAPIVersion(): OpenGL 0.0 detected. Hey bud, your graphics "
        "board is crippled! If you really wanna do serious realtime 3D, change it!"));
    EXPECT_EQ(renderer.lightCount(), 0);
    EXPECT_EQ(renderer.isExtensionSupported("GL_ARB_vertex_buffer_object"), 0);
    EXPECT_EQ(renderer.terminate(), 0);
    EXPECT_TRUE(log.contains("OrvRendererOpenGL::terminate(): done."));
}

}  // namespace
