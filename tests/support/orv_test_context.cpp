#include "orv_test_context.h"

#include <cstdlib>
#include <cstring>

#include "root/orv_main.h"

bool orvTestOnEgl() {
    const char* kind = std::getenv("ORVANE_TEST_CONTEXT");
    return kind != nullptr && std::strcmp(kind, "egl") == 0;
}

int orvTestContextKind() {
    return orvTestOnEgl() ? OrvMain::KIND_EGL : OrvMain::KIND_OPENGL;
}
