// OrvMeshPictureGlTest: OrvEngineGlTest set up to draw mesh nodes by hand,
// without a scene: a 45-degree perspective out to the far plane the test
// gives, the view from (90, 110, 160) to the origin and one default light at
// x = 100. Its frames draw the meshes on a chosen drawing path and read them
// back, so that a test can hold the four paths' pictures against each other.
#pragma once

#include <string>
#include <vector>

// The fixture (and with it GoogleTest) before the GL headers, whose X11
// macros would break GoogleTest's.
#include "orv_engine_gl_test.h"
#include "mesh_gl_support.h"
#include "render/orv_light_data.h"
#include "scene/orv_scene_node_mgr.h"

class OrvMesh;

class OrvMeshPictureGlTest : public OrvEngineGlTest {
  protected:
    explicit OrvMeshPictureGlTest(float farPlane) : m_farPlane(farPlane) {}

    void SetUp() override;

    // Looks at the origin from the point, up along y.
    void lookFrom(float x, float y, float z);
    // One frame of the meshes on the path, read back.
    OrvPicture frame(const std::vector<OrvMesh*>& meshes, DrawPath path = DrawPath::CLIENT_ARRAYS);
    // Draws the meshes on every path and expects the client-array picture
    // each time; returns that picture. Each picture is kept as
    // "<name>_<path>".
    OrvPicture expectSamePictureOnEveryPath(const std::vector<OrvMesh*>& meshes,
                                            const std::string& name);

    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvLightData light = {};

  private:
    float m_farPlane;
};
