// reportGlErrors against a real OpenGL context in a GLUT window.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cstdlib>
#include <string>

#include "teaflux_helpers.h"

namespace {

// Bad enum value that no OpenGL version accepts for glEnable.
constexpr GLenum kNotACapability = 0xFFFF;

TEST(ReportGlErrorsTest, PrintsThePendingErrorOnceAndSaysSo) {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display != nullptr && display[0] != '\0') << "needs an X display";
    int argc = 1;
    char name[] = "teaflux_gl_errors_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA);
    glutCreateWindow("teaflux gl errors test");

    testing::internal::CaptureStdout();
    int beforeError = reportGlErrors("draw.cpp", 7);
    glEnable(kNotACapability);
    int afterError = reportGlErrors("draw.cpp", 42);
    int afterReport = reportGlErrors("draw.cpp", 43);
    std::string output = testing::internal::GetCapturedStdout();

    EXPECT_EQ(beforeError, 0);
    EXPECT_EQ(afterError, 1);
    EXPECT_EQ(afterReport, 0);
    EXPECT_EQ(output, "glError in file draw.cpp @ line 42: invalid enumerant\n");
}

}  // namespace
