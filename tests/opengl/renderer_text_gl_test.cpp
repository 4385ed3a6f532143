#include <GL/gl.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>

#include "orv_gl_test.h"
#include "orv_recording_renderer_opengl.h"
#include "render/orv_text_info.h"

namespace {

class RendererTextTest : public OrvEngineGlTest {
  protected:
    void SetUp() override {
        OrvEngineGlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        text = {};
        std::snprintf(text.faceName, sizeof(text.faceName), "%s", "Verdana");
        text.fontHeight = 12;
        text.color[0] = 1.0f;
        text.color[1] = 1.0f;
        text.color[3] = 1.0f;
    }
    void TearDown() override {
        if (renderer != nullptr) {
            renderer->destroyFont(&text, &window.info);
        }
        OrvEngineGlTest::TearDown();
    }

    void setText(const char* line) {
        std::snprintf(text.text, sizeof(text.text), "%s", line);
        text.textLength = static_cast<int>(std::strlen(text.text));
    }

    OrvTextInfo text = {};
};

// The glyphs start at the raster position, so an empty line leaves it where
// drawText put it.
TEST_F(RendererTextTest, TheRasterLandsAtTheTextPositionCountedFromTheTop) {
    struct Case {
        int viewport[4];
        int x;
        int y;
        int height;
        float windowX;
        float windowY;
    };
    const Case cases[] = {
        {{0, 0, 640, 480}, 10, 30, 12, 9.0f, 437.0f},
        {{100, 50, 320, 240}, 10, 30, 12, 109.0f, 247.0f},
        {{0, 0, 640, 480}, 0, 0, 20, -1.0f, 459.0f},
    };
    ASSERT_EQ(renderer->createFont(&text, &window.info), 0);
    for (const Case& c : cases) {
        renderer->setViewport(c.viewport[0], c.viewport[1], c.viewport[2], c.viewport[3]);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_LIGHTING);
        // Changed behind the renderer, so its state cache must forget.
        renderer->invalidateStateCache();
        text.x = c.x;
        text.y = c.y;
        text.fontHeight = c.height;
        setText("");
        renderer->drawText(&text, &window.info);

        float raster[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
        EXPECT_EQ(raster[0], c.windowX) << c.x << ", " << c.y;
        EXPECT_EQ(raster[1], c.windowY) << c.x << ", " << c.y;
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(std::vector<int>(viewport, viewport + 4),
                  std::vector<int>(c.viewport, c.viewport + 4));
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        float color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        EXPECT_EQ(std::vector<float>(color, color + 4), std::vector<float>(4, 1.0f));
    }
}

// Lighting and capability 2 go off through the virtual operations, so a
// derived renderer sees them; nothing else is switched.
TEST_F(RendererTextTest, DrawTextSwitchesOffLightingThenCapabilityTwo) {
    OrvRecordingRendererOpenGL recording;
    recording.setContext(context);
    ASSERT_EQ(recording.initialize(), OrvRenderer::RESULT_OK);
    recording.setViewport(0, 0, window.info.width, window.info.height);
    ASSERT_EQ(recording.createFont(&text, &window.info), 0);
    setText("Orvane");
    recording.drawText(&text, &window.info);
    EXPECT_EQ(recording.calls,
              (std::vector<std::string>{"disable(LIGHTING)", "disable(RESERVED_CAPABILITY)"}));

    recording.calls.clear();
    recording.drawText(nullptr, &window.info);
    recording.drawText(&text, nullptr);
    EXPECT_EQ(recording.calls, std::vector<std::string>());
    recording.terminate();
}

// A renderer that was never given a viewport places text as in one at the
// origin, 0 wide and 1 high.
TEST_F(RendererTextTest, BeforeAnyViewportTheTextViewportIsOneHigh) {
    OrvRendererOpenGL fresh;
    fresh.setContext(context);
    ASSERT_EQ(fresh.initialize(), OrvRenderer::RESULT_OK);
    ASSERT_EQ(fresh.createFont(&text, &window.info), 0);
    text.x = 10;
    text.y = -30;
    setText("");
    fresh.drawText(&text, &window.info);
    float raster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    EXPECT_EQ(raster[0], 9.0f);
    EXPECT_EQ(raster[1], 1.0f + 30.0f - 12.0f - 1.0f);
    fresh.destroyFont(&text, &window.info);
    fresh.terminate();
}

TEST_F(RendererTextTest, TextPixelsAppearInTheTextColourBelowThePosition) {
    ASSERT_EQ(renderer->createFont(&text, &window.info), 0);
    EXPECT_NE(text.listBase, 0u);
    renderer->clearColorBuffer(0.0f, 0.0f, 0.0f, 1.0f);
    text.x = 10;
    text.y = 30;
    setText("Orvane 123");
    renderer->drawText(&text, &window.info);
    const OrvPicture picture = readPicture();
    picture.keep("text");

    // Every lit pixel is yellow and lies in the band of one line of text:
    // from the top of the tallest glyph to the bottom of a descender.
    int yellow = 0;
    int elsewhere = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.at(x, y);
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) {
                continue;
            }
            const int top = picture.height - 1 - y;
            const bool inBand = x >= 9 && x < 200 && top >= 30 && top < 30 + 12 + 6;
            const bool isYellow = p[0] == 255 && p[1] == 255 && p[2] == 0;
            yellow += inBand && isYellow ? 1 : 0;
            elsewhere += inBand && isYellow ? 0 : 1;
        }
    }
    EXPECT_GT(yellow, 60);
    EXPECT_EQ(elsewhere, 0);
}

TEST_F(RendererTextTest, AnUnknownFaceFallsBackToAnInstalledFont) {
    std::snprintf(text.faceName, sizeof(text.faceName), "%s", "No Such Face Anywhere");
    ASSERT_EQ(renderer->createFont(&text, &window.info), 0);
    renderer->clearColorBuffer(0.0f, 0.0f, 0.0f, 1.0f);
    setText("Fallback");
    renderer->drawText(&text, &window.info);
    EXPECT_GT(readPicture().countNot(0, 0, 0), 30);
}

TEST_F(RendererTextTest, DestroyFontGivesTheListsBack) {
    ASSERT_EQ(renderer->createFont(&text, &window.info), 0);
    const GLuint base = text.listBase;
    EXPECT_TRUE(glIsList(base + 'A'));
    renderer->destroyFont(&text, &window.info);
    EXPECT_EQ(text.listBase, 0u);
    EXPECT_FALSE(glIsList(base + 'A'));
}

TEST_F(RendererTextTest, MissingRecordsAreRefused) {
    EXPECT_EQ(renderer->createFont(nullptr, &window.info), -1);
    EXPECT_EQ(renderer->createFont(&text, nullptr), -1);
    EXPECT_EQ(text.listBase, 0u);
    renderer->destroyFont(nullptr, &window.info);
    renderer->drawText(nullptr, &window.info);
    renderer->drawText(&text, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// With a font configuration that knows no font, there is nothing to build.
TEST_F(RendererTextTest, WithoutAnyFontCreateFontFailsAndTextDrawsNothing) {
    FcConfig* installed = FcConfigReference(nullptr);
    FcConfig* empty = FcConfigCreate();
    ASSERT_TRUE(FcConfigSetCurrent(empty));
    const int result = renderer->createFont(&text, &window.info);
    FcConfigSetCurrent(installed);
    FcConfigDestroy(installed);
    FcConfigDestroy(empty);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(text.listBase, 0u);
    EXPECT_TRUE(
        log.contains("OrvRendererOpenGL::createFont(): no font for face [Verdana] at 12 pixels."));
    renderer->clearColorBuffer(0.0f, 0.0f, 0.0f, 1.0f);
    setText("Nothing");
    renderer->drawText(&text, &window.info);
    EXPECT_EQ(readPicture().countNot(0, 0, 0), 0);
}

}  // namespace
