// Which render context the GL tests run on. By default the GLX context on an
// X window; with ORVANE_TEST_CONTEXT=egl the offscreen EGL context, with no X
// window and no display needed, so that the same tests prove the engine on a
// machine without an X server.
#pragma once

// True when ORVANE_TEST_CONTEXT asks for the EGL context.
bool orvTestOnEgl();
// The kind of render context the engine root makes for the GL tests:
// OrvMain::KIND_EGL on EGL, else OrvMain::KIND_OPENGL.
int orvTestContextKind();
