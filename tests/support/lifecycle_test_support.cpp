#include "lifecycle_test_support.h"

#include <cmath>

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

OrvCamera* EngineGlTest::addCamera(OrvScene* scene, const OrvVector4& eye, const OrvVector4& up) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    camera->setViewport(0, 0, window.info.width, window.info.height);
    camera->setPerspective(60, float(window.info.width) / window.info.height, 1, 1000);
    camera->setLookAt(&eye, nullptr, &up);
    scene->addObject(camera);
    return camera;
}

OrvPicture EngineGlTest::drawFrame(OrvScene* scene) {
    scene->update(0.016f);
    scene->beginFrame();
    scene->render(0.016f);
    scene->endFrame();
    return readPicture();
}

std::array<int, 2> EngineGlTest::windowPixel(double x, double y, double z) {
    const std::array<double, 2> at = orvWindowPoint(OrvRenderer::getInstance(), x, y, z);
    return {static_cast<int>(std::lround(at[0])), static_cast<int>(std::lround(at[1]))};
}

void expectColour(const OrvPicture& picture, const std::array<int, 2>& at,
                  const std::array<int, 3>& rgb, int tolerance, const std::string& what) {
    const uint8_t* p = picture.at(at[0], at[1]);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(p[c], rgb[c], tolerance) << what << " channel " << c;
    }
}
