#include <gtest/gtest.h>

#include <cstdio>

#include "render/orv_light_data.h"
#include "render/orv_mesh_data.h"
#include "orv_recording_renderer.h"
#include "render/orv_text_info.h"

namespace {

TEST(RecordingRenderer, RecordsEachCallWithItsArgumentsInOrder) {
    OrvRecordingRenderer recorder;
    ASSERT_EQ(OrvRenderer::getInstance(), &recorder);
    OrvLightData light = {};
    std::snprintf(light.name, sizeof(light.name), "%s", "light_7");
    OrvMeshData mesh = {};
    mesh.firstFace = 2;
    mesh.lastFace = 5;
    std::snprintf(mesh.name, sizeof(mesh.name), "%s", "box");
    OrvTextInfo text = {};
    std::snprintf(text.text, sizeof(text.text), "%s", "FPS: 60");
    const int states[OrvRenderer::kRenderStateCount] = {0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 2, 2};
    const float eye[3] = {0, 5, 10};
    const float centre[3] = {0, 0, 0};
    const float up[3] = {0, 1, 0};

    OrvRenderer* renderer = OrvRenderer::getInstance();
    renderer->setViewport(0, 0, 1024, 768);
    renderer->setPerspective(45.0f, 1.5f, 0.5f, 1000.0f);
    renderer->lookAt(eye, centre, up);
    renderer->enableLight(&light);
    renderer->applyRenderStates(states);
    renderer->drawElements(&mesh);
    renderer->multMatrix(nullptr);
    renderer->drawText(&text, nullptr);

    const std::vector<std::string> expected = {
        "setViewport(0, 0, 1024, 768)",
        "setPerspective(45, 1.5, 0.5, 1000)",
        "lookAt(0, 5, 10, 0, 0, 0, 0, 1, 0)",
        "enableLight(light_7)",
        "applyRenderStates(0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 2, 2)",
        "drawElements(box, 2, 5)",
        "multMatrix(null)",
        "drawText(\"FPS: 60\")",
    };
    EXPECT_EQ(recorder.texts(), expected);
    EXPECT_EQ(recorder.last("enableLight")->record, &light);
    EXPECT_EQ(recorder.last("setViewport")->values, (std::vector<float>{0, 0, 1024, 768}));
    EXPECT_EQ(recorder.count("drawElements"), 1);
    EXPECT_EQ(recorder.last("drawMesh"), nullptr);
}

// Capability, face and polygon-mode codes read as OrvRenderer names them; a
// code the interface does not name keeps its number, so a stray value shows.
TEST(RecordingRenderer, NamesTheCodesOfStateCalls) {
    OrvRecordingRenderer recorder;
    recorder.enable(OrvRenderer::VERTICAL_SYNC);
    recorder.disable(OrvRenderer::DEPTH_TEST);
    recorder.disable(5);
    recorder.setCullFace(OrvRenderer::FRONT);
    recorder.setCullFace(-1);
    recorder.setPolygonMode(OrvRenderer::LINES, OrvRenderer::FRONT_AND_BACK);
    recorder.setPolygonMode(OrvRenderer::POINTS, OrvRenderer::BACK);
    recorder.setPolygonMode(3, OrvRenderer::FRONT);
    EXPECT_EQ(recorder.texts(), (std::vector<std::string>{
                                    "enable(VERTICAL_SYNC)",
                                    "disable(DEPTH_TEST)",
                                    "disable(5)",
                                    "setCullFace(FRONT)",
                                    "setCullFace(-1)",
                                    "setPolygonMode(LINES, FRONT_AND_BACK)",
                                    "setPolygonMode(POINTS, BACK)",
                                    "setPolygonMode(3, FRONT)",
                                }));
    EXPECT_EQ(recorder.last("setPolygonMode")->values, (std::vector<float>{3, 2}));
}

TEST(RecordingRenderer, ReturnsTheResultsTheTestChose) {
    OrvRecordingRenderer recorder;
    OrvMeshData mesh = {};
    EXPECT_EQ(recorder.createVBO(&mesh, 0), 0);
    recorder.results["createVBO"] = OrvRenderer::RESULT_NO_BUFFER_OBJECTS;
    recorder.results["initialize"] = OrvRenderer::RESULT_VERSION_TOO_OLD;
    EXPECT_EQ(recorder.createVBO(&mesh, 1), OrvRenderer::RESULT_NO_BUFFER_OBJECTS);
    EXPECT_EQ(recorder.initialize(), OrvRenderer::RESULT_VERSION_TOO_OLD);
    EXPECT_EQ(recorder.createIBO(&mesh), 0);
    EXPECT_EQ(recorder.names(),
              (std::vector<std::string>{"createVBO", "createVBO", "initialize", "createIBO"}));
}

}  // namespace
