#include "orv_engine_gl_test.h"

#include <cmath>

#include "orv_create_node.h"
#include "orv_gl_queries.h"
#include "scene/orv_camera.h"
#include "scene/orv_node_types.h"
#include "scene/orv_scene.h"

void OrvEngineGlTest::SetUp() {
    OrvWindowTest::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_EQ(engine->createRenderer(OrvMain::KIND_OPENGL), OrvRenderer::RESULT_OK);
    renderer = static_cast<OrvRendererOpenGL*>(OrvRenderer::getInstance());
    renderer->setViewport(0, 0, window.info.width, window.info.height);
}

OrvCamera* OrvEngineGlTest::addCamera(OrvScene* scene, const OrvVector4& eye,
                                      const OrvVector4& up) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA);
    camera->setViewport(0, 0, window.info.width, window.info.height);
    camera->setPerspective(60, float(window.info.width) / window.info.height, 1, 1000);
    camera->setLookAt(&eye, nullptr, &up);
    scene->addObject(camera);
    return camera;
}

OrvPicture OrvEngineGlTest::drawFrame(OrvScene* scene) {
    scene->update(0.016f);
    scene->beginFrame();
    scene->render(0.016f);
    scene->endFrame();
    return readPicture();
}

std::array<int, 2> OrvEngineGlTest::windowPixel(double x, double y, double z) {
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
