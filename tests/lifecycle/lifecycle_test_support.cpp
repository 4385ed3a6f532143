#include "lifecycle_test_support.h"

std::vector<std::string> messagesWith(const OrvTestLog& log, const std::string& text) {
    std::vector<std::string> result;
    for (const std::string& message : log.messages()) {
        if (message.find(text) != std::string::npos) {
            result.push_back(message);
        }
    }
    return result;
}

void EngineTest::SetUp() {
    ASSERT_EQ(OrvMain::getInstance()->init(), 0);
}

void EngineTest::TearDown() {
    OrvMain::getInstance()->terminate();
}

void EngineContextGlTest::SetUp() {
    ASSERT_EQ(window.open(), "");
    // The engine root makes and owns the context of these tests, so the one
    // the test window brings is given up.
    window.context.destroy();
    ASSERT_EQ(engine->init(), 0);
    context = engine->createRenderContext(OrvMain::KIND_OPENGL);
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(context->create(&window.info), 0);
    engine->setCurrentRenderContext(context);
}

void EngineContextGlTest::TearDown() {
    engine->terminate();
}

void EngineGlTest::SetUp() {
    EngineContextGlTest::SetUp();
    ASSERT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), 0);
}
