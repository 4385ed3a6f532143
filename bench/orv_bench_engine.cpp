#include "orv_bench_engine.h"

#include <memory>

#include "orv_null_renderer.h"
#include "orvane.h"

namespace {
std::unique_ptr<OrvNullRenderer> g_nullRenderer;
}  // namespace

void OrvBenchEngine::start() {
    OrvLog::getInstance()->setLevel(OrvLog::NORMAL);
    OrvMain::getInstance()->init();
}

void OrvBenchEngine::useNullRenderer() {
    if (g_nullRenderer == nullptr || OrvRenderer::getInstance() != g_nullRenderer.get()) {
        g_nullRenderer = std::make_unique<OrvNullRenderer>();
    }
}

void OrvBenchEngine::stop() {
    OrvMain::getInstance()->terminate();
    g_nullRenderer.reset();
}
