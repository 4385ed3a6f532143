#include "orv_demo_frame.h"

#include "orv_demo.h"
#include "orvane.h"

void orvDemoFrameWithoutSwap(OrvDemo& demo, float time, float seconds) {
    OrvMaterialMgr::getInstance()->findByName("mat_box")->getGpuShader()->setUniform1f("time",
                                                                                       time);
    OrvScene* scene = demo.getScene();
    scene->update(seconds);
    scene->beginFrame();
    scene->render(seconds);
    OrvTextInfo text = demo.getTextInfo();
    OrvRenderer::getInstance()->drawText(&text, demo.getWindowInfo());
    scene->endFrame();
}
