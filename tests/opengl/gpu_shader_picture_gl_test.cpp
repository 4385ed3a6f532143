// Pictures drawn through a GPU shader node whose sources come from files:
// the colours and the covered area must be what the shaders compute, also
// after the pixel shader is replaced by another file.
#include <GL/gl.h>

#include <string>

#include "shader_gl_test.h"
#include "shader_test_support.h"

namespace {

// Half the window each way: pixels 160 to 479 across, 120 to 359 up.
const char kScaleVertexSource[] =
    "uniform float scale;\n"
    "void main() { gl_Position = vec4(gl_Vertex.xy * scale, 0.0, 1.0); }\n";
const char kTintPixelSource[] =
    "uniform vec4 tint;\n"
    "void main() { gl_FragColor = tint; }\n";
const char kSwappedPixelSource[] =
    "uniform vec4 tint;\n"
    "void main() { gl_FragColor = tint.bgra; }\n";

constexpr int kWindowPixels = OrvGlTestWindow::kWidth * OrvGlTestWindow::kHeight;
constexpr int kHalfPixels = kWindowPixels / 4;
// 0.5 becomes 127 or 128 depending on the driver's rounding.
constexpr int kTolerance = 1;

using GpuShaderPictureTest = ShaderGlTest;

// Clears to black and draws a centred square of the given half size; with
// both matrices the identity, vertices are in normalised device coordinates.
OrvPicture drawSquare(float half) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glVertex2f(-half, -half);
    glVertex2f(half, -half);
    glVertex2f(half, half);
    glVertex2f(-half, half);
    glEnd();
    return OrvPicture::readBackBuffer(OrvGlTestWindow::kWidth, OrvGlTestWindow::kHeight);
}

TEST_F(GpuShaderPictureTest, ShadersFromFilesGiveTheirPictureAndAReplacementTakesOver) {
    const std::string vertexPath = writeFile(log.dir(), "scale.vert", kScaleVertexSource);
    const std::string tintPath = writeFile(log.dir(), "tint.frag", kTintPixelSource);
    const std::string swappedPath = writeFile(log.dir(), "swapped.frag", kSwappedPixelSource);
    OrvGpuShader* shader =
        static_cast<OrvGpuShader*>(manager->createNode(ORV_NODE_GPU_SHADER, "picture"));
    ASSERT_NE(shader, nullptr);
    ASSERT_EQ(shader->loadVertexShaderFromFile(vertexPath.c_str()), 0);
    ASSERT_EQ(shader->loadPixelShaderFromFile(tintPath.c_str()), 0);
    shader->setUniform1f("scale", 0.5f);
    shader->setUniform4f("tint", 1.0f, 0.5f, 0.0f, 1.0f);

    shader->bind();
    OrvPicture tinted = drawSquare(1.0f);
    tinted.keep(std::string("shader_tinted_") + (expectArbPath() ? "arb" : "gl2"));
    EXPECT_EQ(tinted.countNot(0, 0, 0), kHalfPixels);
    EXPECT_EQ(tinted.countNot(255, 128, 0, kTolerance), kWindowPixels - kHalfPixels);
    EXPECT_EQ(tinted.at(160, 120)[0], 255);
    EXPECT_EQ(tinted.at(159, 120)[0], 0);
    EXPECT_EQ(tinted.at(479, 359)[0], 255);
    EXPECT_EQ(tinted.at(480, 359)[0], 0);

    // The uniforms were sent before the relink; the new program gets them
    // again without being told.
    ASSERT_EQ(shader->loadPixelShaderFromFile(swappedPath.c_str()), 0);
    shader->bind();
    OrvPicture swapped = drawSquare(1.0f);
    swapped.keep(std::string("shader_swapped_") + (expectArbPath() ? "arb" : "gl2"));
    EXPECT_EQ(swapped.countNot(0, 0, 0), kHalfPixels);
    EXPECT_EQ(swapped.countNot(0, 128, 255, kTolerance), kWindowPixels - kHalfPixels);

    // Unbound, the fixed-function pipeline draws the square unscaled in the
    // current colour.
    shader->unbind();
    glColor3f(0.0f, 1.0f, 0.0f);
    OrvPicture plain = drawSquare(0.5f);
    EXPECT_EQ(plain.countNot(0, 255, 0), kWindowPixels - kHalfPixels);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
