// The single renderer instance. A renderer becomes the instance when it is
// constructed and stops being it when it is destroyed.
#include "render/orv_renderer.h"

OrvRenderer* OrvRenderer::s_instance = nullptr;

OrvRenderer* OrvRenderer::getInstance() {
    return s_instance;
}

OrvRenderer::OrvRenderer() {
    s_instance = this;
}

OrvRenderer::~OrvRenderer() {
    // A renderer made after this one owns the instance now; leave it alone.
    if (s_instance == this) {
        s_instance = nullptr;
    }
}
