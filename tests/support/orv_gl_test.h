// GL test support in one include: the engine on OpenGL around each test
// (OrvEngineGlTest), a window with a context of its own for tests without the
// engine root, the back buffer as a picture, GL state read back, and a
// renderer with capability strings of the test's choosing.
#pragma once

#include "orv_engine_gl_test.h"
#include "orv_gl_queries.h"
#include "orv_gl_test_window.h"
#include "orv_picture.h"
#include "orv_replaced_strings_renderer.h"
