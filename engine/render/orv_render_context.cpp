// The render context interface has no state of its own.
#include "render/orv_render_context.h"

OrvRenderContext::~OrvRenderContext() = default;

OrvProc OrvRenderContext::getProcAddress(const char*) {
    return nullptr;
}

bool OrvRenderContext::setSwapInterval(int) {
    return false;
}
