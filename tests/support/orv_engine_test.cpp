#include "orv_engine_test.h"

void OrvEngineTest::SetUp() {
    ASSERT_EQ(engine->init(), 0);
}

void OrvEngineTest::TearDown() {
    engine->terminate();
}
