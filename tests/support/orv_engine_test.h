// OrvEngineTest: OrvLoggedTest with the engine root started around each test
// (its node creators registered) and a recording renderer as the current
// renderer, so that a test sees every call the engine makes. TearDown stops
// the engine, which deletes every node a test left.
#pragma once

#include "orv_logged_test.h"
#include "orv_recording_renderer.h"
#include "root/orv_main.h"

class OrvEngineTest : public OrvLoggedTest {
  protected:
    explicit OrvEngineTest(int level = OrvLog::DEBUG) : OrvLoggedTest(level) {}

    void SetUp() override;
    void TearDown() override;

    OrvRecordingRenderer recorder;
    OrvMain* engine = OrvMain::getInstance();
};
