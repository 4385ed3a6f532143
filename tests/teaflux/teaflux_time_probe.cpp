// Loaded into the teaflux program with LD_PRELOAD by its end-to-end test. It
// stands in for glutSwapBuffers: before each swap it reads back the "time"
// uniform of the program in use, as the frame just drawn sent it, and prints
// "after N frames: time V" on standard output; once the frame that follows
// 100 others is reported, it ends the program with exit code 0.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kLastReport = 100;

template <typename Function>
Function glFunction(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// -1 when no program with a "time" uniform is in use.
float timeUniform() {
    static const auto getUniformLocation =
        glFunction<PFNGLGETUNIFORMLOCATIONPROC>("glGetUniformLocation");
    static const auto getUniformfv = glFunction<PFNGLGETUNIFORMFVPROC>("glGetUniformfv");
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    const GLint location =
        program != 0 ? getUniformLocation(static_cast<GLuint>(program), "time") : -1;
    float value = -1.0f;
    if (location >= 0) {
        getUniformfv(static_cast<GLuint>(program), location, &value);
    }
    return value;
}

}  // namespace

extern "C" void glutSwapBuffers() {
    static const auto swap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    static int framesBefore = 0;
    std::printf("after %d frames: time %.1f\n", framesBefore, timeUniform());
    if (framesBefore == kLastReport) {
        std::exit(0);
    }
    ++framesBefore;
    swap();
}
