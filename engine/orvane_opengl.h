/// @file
/// The OpenGL backend: the renderer, the GLX render context that the engine
/// root makes for KIND_OPENGL and the offscreen EGL one it makes for KIND_EGL.
/// Opt-in, because it includes `<GL/gl.h>` and `<GL/glext.h>`; a program that only
/// builds and draws scenes needs orvane.h alone. A program that uses the
/// backend itself includes both.
#pragma once

#include "opengl/orv_render_context_egl.h"
#include "opengl/orv_render_context_opengl.h"
#include "opengl/orv_renderer_opengl.h"
