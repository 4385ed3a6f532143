// orvane.h is the API a program needs without any OpenGL header: a program
// that brings its own GL loader includes the loader after it. libepoxy
// refuses to compile after <GL/gl.h> or <GL/glext.h>, so this file compiling
// at all shows that no header reachable from orvane.h includes one.
#include "orvane.h"

#if defined(__gl_h_) || defined(GL_VERSION_1_1) || defined(__glext_h_) || defined(GLX_H) || \
    defined(GLX_VERSION_1_1)
#error "a header reachable from orvane.h includes an OpenGL or GLX header"
#endif

#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PublicHeader, VersionOfTheHeadersIsTheLibrarys) {
    const std::string numbers = std::to_string(ORVANE_VERSION_MAJOR) + "." +
                                std::to_string(ORVANE_VERSION_MINOR) + "." +
                                std::to_string(ORVANE_VERSION_PATCH);
    EXPECT_EQ(numbers, ORVANE_VERSION_STRING);
    EXPECT_STREQ(OrvMain::version(), ORVANE_VERSION_STRING);
}

}  // namespace
