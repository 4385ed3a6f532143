// hello_box: the smallest Orvane program. A camera circles a lit box that
// stands on a wireframe grid, with the frame rate in the corner. Escape or
// the window's close button ends it.
//
//   hello_box [--frames N]
#include <cmath>

#include "orv_example_window.h"
#include "orvane.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Nodes are made by the node manager, by type, and belong to the engine.
template <typename Node>
Node* createNode(const char* type, const char* name) {
    return static_cast<Node*>(OrvSceneNodeMgr::getInstance()->createNode(type, name));
}

// Gives every triangle of the mesh one material, made with that colour, and
// lights the mesh: a mesh starts unlit, in its vertex colours.
void paint(OrvMesh* mesh, const char* material, const float diffuse[4]) {
    OrvMaterial* made = OrvMaterialMgr::getInstance()->getMaterial(material);
    made->setDiffuse(diffuse);
    OrvRenderState* state = mesh->getRenderState();
    state->clearMaterials();
    state->setState(OrvRenderer::STATE_LIGHTING, 1);
    mesh->setMaterial(made, 0, -1);
}

OrvCamera* addCamera(OrvScene* scene) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA, "camera");
    camera->setViewport(0, 0, kWidth, kHeight);
    camera->setPerspective(60.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
    scene->addObject(camera);
    return camera;
}

void addLight(OrvScene* scene) {
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, "sun");
    const OrvVector4 position{80.0f, 160.0f, 120.0f, 1.0f};
    light->setPosition(&position);
    scene->addObject(light);
}

void addBox(OrvScene* scene) {
    OrvMesh* box = createNode<OrvMesh>(ORV_NODE_MESH, "box");
    box->createBox(50.0f, 50.0f, 50.0f, 8, 8, 8);
    const float orange[4] = {1.0f, 0.55f, 0.1f, 1.0f};
    paint(box, "orange", orange);
    // The box is centred on its origin; this stands it on the grid.
    const OrvVector4 position{0.0f, 25.0f, 0.0f, 1.0f};
    box->setPosition(&position);
    scene->addObject(box);
}

void addGrid(OrvScene* scene) {
    OrvMesh* grid = createNode<OrvMesh>(ORV_NODE_MESH, "grid");
    grid->createPlane(200.0f, 200.0f, 10, 10);
    const float grey[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    paint(grid, "grey", grey);
    int* states = grid->getRenderState()->getStates();
    states[OrvRenderer::STATE_FACE_CULLING] = 0;
    states[OrvRenderer::STATE_FRONT_POLYGON_MODE] = OrvRenderer::LINES;
    states[OrvRenderer::STATE_BACK_POLYGON_MODE] = OrvRenderer::LINES;
    scene->addObject(grid);
}

}  // namespace

int main(int argc, char** argv) {
    OrvExampleWindow window(argc, argv);
    if (window.open("hello_box", kWidth, kHeight) != 0) {
        return 1;
    }

    OrvScene* scene = OrvSceneMgr::getInstance()->createScene("hello");
    scene->setClearColor(0.1f, 0.1f, 0.15f, 1.0f);
    OrvCamera* camera = addCamera(scene);
    addLight(scene);
    addBox(scene);
    addGrid(scene);

    float angle = 0.0f;
    while (window.nextFrame()) {
        const float dt = window.frameSeconds();
        angle += 0.3f * dt;
        const OrvVector4 eye{150.0f * std::sin(angle), 90.0f, 150.0f * std::cos(angle), 1.0f};
        const OrvVector4 centre{0.0f, 20.0f, 0.0f, 1.0f};
        const OrvVector4 up{0.0f, 1.0f, 0.0f, 0.0f};
        camera->setLookAt(&eye, &centre, &up);

        scene->update(dt);
        scene->beginFrame();
        scene->render(dt);
        window.drawText(24, "FPS: %d", window.framesPerSecond());
        scene->endFrame();
        OrvMain::getInstance()->swapBuffers();
    }
    // The window's destructor stops the engine, which destroys every node.
    return 0;
}
