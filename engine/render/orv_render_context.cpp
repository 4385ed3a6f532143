// The render context interface has no state of its own.
#include "render/orv_render_context.h"

OrvRenderContext::~OrvRenderContext() = default;
