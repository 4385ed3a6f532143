#include "orv_fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "orv_gl_test.h"
#include "orv_log.h"
#include "orv_memory_allocator.h"

OrvFuzzBlockCheck::OrvFuzzBlockCheck() : m_before(OrvMemoryAllocator::trackedBlockCount()) {}

OrvFuzzBlockCheck::~OrvFuzzBlockCheck() {
    const size_t after = OrvMemoryAllocator::trackedBlockCount();
    if (after != m_before) {
        std::fprintf(stderr, "tracked blocks: %zu before the input, %zu after it\n", m_before,
                     after);
        std::abort();
    }
}

void orvFuzzCheck(bool condition, const char* message) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", message);
        std::abort();
    }
}

void orvFuzzQuietLog() {
    OrvLog* log = OrvLog::getInstance();
    log->close();
    log->setOutputs(0);
}

OrvRendererOpenGL* orvFuzzRenderer() {
    // Both live until the process ends.
    static OrvGlTestWindow* window = nullptr;
    static OrvRendererOpenGL* renderer = nullptr;
    if (renderer == nullptr) {
        window = new OrvGlTestWindow();
        const std::string failure = window->open();
        orvFuzzCheck(failure.empty(), failure.c_str());
        renderer = ORV_NEW OrvRendererOpenGL();
        orvFuzzCheck(renderer != nullptr && renderer->initialize() == OrvRenderer::RESULT_OK,
                     "the OpenGL renderer did not initialise");
    }
    return renderer;
}
