// Texture uploads on drivers of other capabilities than the test machine's:
// pictures scaled to powers of two where the driver wants them, with a DEBUG
// line, mipmaps through whichever way the driver offers, one unit without
// multitexturing.
#include <cstdio>

#include <gtest/gtest.h>

#include "orv_gl_test.h"
#include "orvane.h"

namespace {

// Drivers without non-power-of-two textures get the picture scaled up, with a
// DEBUG line; older ones make their mipmaps through the texture parameter or
// GLU, and one without multitexturing has a single unit.
TEST(TextureUpload, FollowsWhatTheDriverOffers) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    const struct {
        const char* version;
        const char* extensions;
        int units;
        int width;
        int height;
    } drivers[] = {
        {"1.2 Mesa", "GL_ARB_vertex_buffer_object", 1, 8, 4},
        {"1.5 Mesa", "GL_ARB_vertex_buffer_object GL_ARB_multitexture", 8, 8, 4},
        {"1.5 Mesa", "GL_ARB_multitexture GL_ARB_texture_non_power_of_two", 8, 6, 3},
        {"2.1 Mesa", "GL_ARB_vertex_buffer_object", 8, 6, 3},
    };
    for (const auto& d : drivers) {
        OrvReplacedStringsRenderer renderer;
        renderer.setContext(&window.context);
        renderer.strings[GL_VERSION] = d.version;
        renderer.strings[GL_EXTENSIONS] = d.extensions;
        ASSERT_EQ(renderer.initialize(), 0);
        EXPECT_EQ(renderer.getTextureUnitCount() >= 1, true);
        EXPECT_EQ(renderer.getTextureUnitCount() == 1, d.units == 1) << d.version << d.extensions;
        OrvTextureData data = {};
        data.setDefaults();
        std::snprintf(data.name, sizeof(data.name), "npot");
        OrvImage image = {};
        ASSERT_TRUE(image.allocate(6, 3));
        EXPECT_EQ(renderer.createTexture(&data, &image), 0);
        EXPECT_EQ(data.width, d.width) << d.version << " " << d.extensions;
        EXPECT_EQ(data.height, d.height) << d.version << " " << d.extensions;
        EXPECT_EQ(glIsTexture(data.glName), GL_TRUE);
        renderer.destroyTexture(&data);
        image.release();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << d.version;
        renderer.terminate();
    }
    EXPECT_TRUE(log.contains(
        "OrvRendererOpenGL::createTexture(): texture npot scaled from 6 x 3 to 8 x 4 (power of "
        "two)."));
}

}  // namespace
