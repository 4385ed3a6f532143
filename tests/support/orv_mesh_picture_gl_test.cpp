#include "orv_mesh_picture_gl_test.h"

#include "orvane.h"

void OrvMeshPictureGlTest::SetUp() {
    OrvEngineGlTest::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    renderer->setPerspective(45.0f, 640.0f / 480.0f, 1.0f, m_farPlane);
    lookFrom(90, 110, 160);
    light.setDefaults();
    light.position[0] = 100;
    renderer->loadViewMatrix();
    renderer->enableLight(&light);
    renderer->setLightColors(&light);
    renderer->setLightPosition(&light);
}

void OrvMeshPictureGlTest::lookFrom(float x, float y, float z) {
    const float eye[3] = {x, y, z};
    const float centre[3] = {0, 0, 0};
    const float up[3] = {0, 1, 0};
    renderer->lookAt(eye, centre, up);
}

OrvPicture OrvMeshPictureGlTest::frame(const std::vector<OrvMesh*>& meshes, DrawPath path) {
    renderer->clearColorBuffer(0.1f, 0.1f, 0.2f, 1);
    renderer->clearDepthBuffer(1);
    for (OrvMesh* mesh : meshes) {
        choosePath(mesh->getMeshData(), path);
        mesh->update(0.016f);
        mesh->render(0.016f);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << pathName(path);
    return readPicture();
}

OrvPicture OrvMeshPictureGlTest::expectSamePictureOnEveryPath(const std::vector<OrvMesh*>& meshes,
                                                              const std::string& name) {
    const OrvPicture client = frame(meshes, DrawPath::CLIENT_ARRAYS);
    client.keep(name + "_" + pathName(DrawPath::CLIENT_ARRAYS));
    for (DrawPath path : kAllPaths) {
        // Twice: the second frame replays lists and buffers made by the first.
        frame(meshes, path);
        const OrvPicture picture = frame(meshes, path);
        picture.keep(name + "_" + pathName(path));
        EXPECT_EQ(differingPixels(picture, client), 0) << name << " " << pathName(path);
    }
    return client;
}
