#include "orv_fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"

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
