// OrvLoggedTest: the lowest rung of the test fixtures. Each test runs in a
// temporary folder of its own, where the engine's "Orvane.log" lands, with
// the log at the level the fixture asks for. The rungs above it start the
// engine with a recording renderer (OrvEngineTest), add a window and a
// render context (OrvWindowTest), and put the OpenGL renderer in place
// (OrvEngineGlTest).
#pragma once

#include <gtest/gtest.h>

#include "orv_test_log.h"

class OrvLoggedTest : public ::testing::Test {
  protected:
    explicit OrvLoggedTest(int level = OrvLog::DEBUG) : log(level) {}

    OrvTestLog log;
};
