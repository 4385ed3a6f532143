#include "orv_bench_scene.h"

#include "orvane.h"

namespace {
constexpr float kFrameSeconds = 0.016f;
}  // namespace

OrvBenchScene::OrvBenchScene(int boxes, int materials) {
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    m_scene = OrvSceneMgr::getInstance()->createScene("bench_scene");
    m_scene->setClearColor(0.1f, 0.1f, 0.1f, 1.0f);

    OrvCamera* camera = static_cast<OrvCamera*>(nodes->createNode(ORV_NODE_CAMERA, nullptr));
    m_scene->addObject(camera);
    camera->setViewport(0, 0, kWidth, kHeight);
    camera->setPerspective(60.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
    const OrvVector4 eye{0.0f, 50.0f, 280.0f, 1.0f};
    const OrvVector4 centre{0.0f, 0.0f, 0.0f, 1.0f};
    const OrvVector4 up{0.0f, 1.0f, 0.0f, 1.0f};
    camera->setLookAt(&eye, &centre, &up);

    OrvLight* light = static_cast<OrvLight*>(nodes->createNode(ORV_NODE_LIGHT, nullptr));
    m_scene->addObject(light);
    const OrvVector4 above{0.0f, 140.0f, 60.0f, 1.0f};
    light->setPosition(&above);

    m_field = std::make_unique<OrvBoxField>(m_scene, boxes, materials);
    frame(kFrameSeconds);
}

OrvBenchScene::~OrvBenchScene() {
    m_scene->destroyAllObjects();
}

void OrvBenchScene::frame(float dt) {
    m_scene->update(dt);
    m_scene->beginFrame();
    m_scene->render(dt);
    m_scene->endFrame();
}
