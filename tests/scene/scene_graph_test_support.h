// Helpers shared by the scene graph tests: stand-ins for the mesh, light and
// triangle nodes (small scene objects that mark their calls in the recording
// renderer), the engine's managers brought up and down around each test, and
// the fixture that joins them to a recording renderer.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_create_node.h"
#include "orv_recording_renderer.h"
#include "orv_logged_test.h"
#include "orvane.h"

inline constexpr char kStandInMeshType[] = "TEST_NODE_MESH";
inline constexpr char kStandInLightType[] = "TEST_NODE_LIGHT";
inline constexpr char kStandInTriangleType[] = "TEST_NODE_TRIANGLE";

// A scene object of the given class code. Its update, apply and render each
// add a call named "mark" to the recording renderer (the current renderer
// must be one), with the text "<node name>.<operation>", so that a test sees
// the objects' own steps in one sequence with the renderer calls.
template <int Kind, const char* TypeName>
class StandInObject : public OrvSceneObject {
  public:
    static constexpr const char* kTypeName = TypeName;

    StandInObject() { addKind(Kind); }

    int getTypeId() const override { return Kind; }
    const char* getTypeName() const override { return TypeName; }
    void reset() override {}
    void release() override {}
    void apply() override { mark("apply"); }
    void update(float dt) override {
        OrvSceneObject::update(dt);
        mark("update");
    }
    void render(float dt) override {
        OrvSceneObject::render(dt);
        mark("render");
    }

  private:
    void mark(const char* operation) {
        OrvRecordedCall call;
        call.name = "mark";
        call.record = this;
        call.text = std::string(getName()) + "." + operation;
        static_cast<OrvRecordingRenderer*>(OrvRenderer::getInstance())->calls.push_back(call);
    }
};

using StandInMesh = StandInObject<ORV_KIND_MESH, kStandInMeshType>;
using StandInLight = StandInObject<ORV_KIND_LIGHT, kStandInLightType>;
using StandInTriangle = StandInObject<ORV_KIND_TRIANGLE, kStandInTriangleType>;

template <typename Node>
class StandInCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override { return ORV_NEW Node(); }
    const char* getTypeName() const override { return Node::kTypeName; }
};

// The node manager started afresh with the camera, gizmo and material
// creators and the three stand-ins registered, and shut down again in the
// engine's order: materials, scenes, creators, nodes.
class SceneGraphEngine {
  public:
    SceneGraphEngine();
    ~SceneGraphEngine() { shutdown(); }

    // Safe to call more than once.
    void shutdown();

  private:
    OrvCameraCreator cameraCreator;
    OrvGizmoCreator gizmoCreator;
    OrvMaterialCreator materialCreator;
    StandInCreator<StandInMesh> meshCreator;
    StandInCreator<StandInLight> lightCreator;
    StandInCreator<StandInTriangle> triangleCreator;
    std::vector<OrvSceneNodeCreator*> creators;
};

// A recording renderer, the engine's managers and the log captured at the
// DEBUG level. TearDown shuts the managers down and checks that every block
// the engine allocated during the test was released.
class SceneGraphTest : public OrvLoggedTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The recorded texts of the calls made since the last clear.
    std::vector<std::string> calls() const { return renderer.texts(); }

    OrvRecordingRenderer renderer;
    size_t baselineBlocks = 0;
    SceneGraphEngine* engine = nullptr;
};

// The texts drawLine records for the three local axes of an object.
std::vector<std::string> axesLines();
