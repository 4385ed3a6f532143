// scene_tour: more of what a scene can hold. Two tori, a box and a floor
// share three materials, one of them a GLSL program whose "time" uniform
// changes every frame; the box carries two materials on two ranges of its
// triangles. Each mesh draws on one of the four paths a mesh can take, and a
// point, a spot and a directional light move over them. Escape or the
// window's close button ends it.
//
//   scene_tour [--frames N]
#include <cmath>

#include "orv_example_window.h"
#include "orvane.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

const char kWaveVertexShader[] = R"(
uniform float time;
varying vec3 normal;
void main() {
    vec4 vertex = gl_Vertex;
    vertex.xyz += gl_Normal * 3.0 * sin(3.0 * time + 0.2 * gl_Vertex.x);
    normal = gl_NormalMatrix * gl_Normal;
    gl_Position = gl_ModelViewProjectionMatrix * vertex;
}
)";

const char kWaveFragmentShader[] = R"(
uniform float time;
varying vec3 normal;
void main() {
    float facing = max(normalize(normal).z, 0.0);
    vec3 colour = 0.5 + 0.5 * cos(time + vec3(0.0, 2.0, 4.0));
    gl_FragColor = vec4(colour * (0.3 + 0.7 * facing), 1.0);
}
)";

// The four ways a mesh draws, chosen by the options of its mesh record.
enum class DrawPath { CLIENT_ARRAYS, BUFFER_OBJECTS, DISPLAY_LIST, IMMEDIATE };

template <typename Node>
Node* createNode(const char* type, const char* name) {
    return static_cast<Node*>(OrvSceneNodeMgr::getInstance()->createNode(type, name));
}

void useDrawPath(OrvMesh* mesh, DrawPath path) {
    OrvMeshData* data = mesh->getMeshData();
    const bool arrays = path == DrawPath::CLIENT_ARRAYS || path == DrawPath::BUFFER_OBJECTS;
    data->setOption(OrvMeshData::vertexArrays, arrays);
    data->setOption(OrvMeshData::bufferObjects, path == DrawPath::BUFFER_OBJECTS);
    data->setOption(OrvMeshData::displayList, path == DrawPath::DISPLAY_LIST);
    data->setOption(OrvMeshData::immediateMode, path == DrawPath::IMMEDIATE);
}

OrvMaterial* createMaterial(const char* name, const float diffuse[4]) {
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial(name);
    const float specular[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    material->setDiffuse(diffuse);
    material->setSpecular(specular);
    material->setShininess(40.0f);
    return material;
}

OrvGpuShader* createWaveShader(OrvMaterial* material) {
    OrvGpuShader* shader = createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER, "wave");
    shader->loadVertexShaderFromMemory(kWaveVertexShader, sizeof(kWaveVertexShader) - 1);
    shader->loadPixelShaderFromMemory(kWaveFragmentShader, sizeof(kWaveFragmentShader) - 1);
    shader->setUniform1f("time", 0.0f);
    material->setGpuShader(shader);
    return shader;
}

OrvMesh* addMesh(OrvScene* scene, const char* name, DrawPath path, OrvVector4 position) {
    OrvMesh* mesh = createNode<OrvMesh>(ORV_NODE_MESH, name);
    useDrawPath(mesh, path);
    mesh->setPosition(&position);
    // A mesh starts unlit, in its vertex colours, with the default material.
    OrvRenderState* state = mesh->getRenderState();
    state->clearMaterials();
    state->setState(OrvRenderer::STATE_LIGHTING, 1);
    scene->addObject(mesh);
    return mesh;
}

// Three lights add up, so they bring no ambient light of their own (the
// directional one gets a little below); otherwise the colours wash out.
OrvLight* addLight(OrvScene* scene, const char* name, int type, const float diffuse[4]) {
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    OrvLight* light = createNode<OrvLight>(ORV_NODE_LIGHT, name);
    light->setLightType(type);
    light->setAmbient(black);
    light->setDiffuse(diffuse);
    light->setSpecular(diffuse);
    scene->addObject(light);
    return light;
}

void addCamera(OrvScene* scene) {
    OrvCamera* camera = createNode<OrvCamera>(ORV_NODE_CAMERA, "camera");
    camera->setViewport(0, 0, kWidth, kHeight);
    camera->setPerspective(50.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 2000.0f);
    const OrvVector4 eye{0.0f, 170.0f, 300.0f, 1.0f};
    const OrvVector4 centre{0.0f, 10.0f, 0.0f, 1.0f};
    const OrvVector4 up{0.0f, 1.0f, 0.0f, 0.0f};
    camera->setLookAt(&eye, &centre, &up);
    scene->addObject(camera);
}

struct Tour {
    OrvScene* scene;
    OrvGpuShader* wave;
    OrvLight* point;
    OrvLight* spot;
    OrvLight* sun;
};

Tour buildTour() {
    Tour tour{};
    tour.scene = OrvSceneMgr::getInstance()->createScene("tour");
    tour.scene->setClearColor(0.05f, 0.05f, 0.08f, 1.0f);
    addCamera(tour.scene);

    const float red[4] = {0.9f, 0.15f, 0.1f, 1.0f};
    const float gold[4] = {0.9f, 0.7f, 0.2f, 1.0f};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    OrvMaterial* redMaterial = createMaterial("red", red);
    OrvMaterial* goldMaterial = createMaterial("gold", gold);
    OrvMaterial* waveMaterial = createMaterial("wave", white);
    tour.wave = createWaveShader(waveMaterial);

    OrvMesh* floor = addMesh(tour.scene, "floor", DrawPath::IMMEDIATE, {0.0f, 0.0f, 0.0f, 1.0f});
    floor->createPlane(360.0f, 240.0f, 36, 24);
    floor->setMaterial(goldMaterial, 0, -1);

    OrvMesh* torus =
        addMesh(tour.scene, "wave_torus", DrawPath::CLIENT_ARRAYS, {-110.0f, 40.0f, 0.0f, 1.0f});
    torus->createTorus(30.0f, 12.0f, 48);
    torus->setMaterial(waveMaterial, 0, -1);

    // Two materials on one mesh: the first half of its triangles red, the
    // rest gold. The mesh groups them into one draw per material.
    OrvMesh* box =
        addMesh(tour.scene, "box", DrawPath::BUFFER_OBJECTS, {0.0f, 30.0f, -20.0f, 1.0f});
    box->createBox(60.0f, 60.0f, 60.0f, 10, 10, 10);
    const int half = static_cast<int>(box->getMeshData()->faceCount / 2);
    box->setMaterial(redMaterial, 0, half - 1);
    box->setMaterial(goldMaterial, half, -1);

    OrvMesh* ring =
        addMesh(tour.scene, "red_torus", DrawPath::DISPLAY_LIST, {110.0f, 40.0f, 0.0f, 1.0f});
    ring->createTorus(30.0f, 12.0f, 48);
    ring->setMaterial(redMaterial, 0, -1);

    const float warm[4] = {0.8f, 0.7f, 0.5f, 1.0f};
    const float blue[4] = {0.2f, 0.4f, 1.0f, 1.0f};
    const float dim[4] = {0.3f, 0.3f, 0.35f, 1.0f};
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    tour.point = addLight(tour.scene, "point", OrvLightData::POINT, warm);
    tour.point->setFlag(ORV_FLAG_DRAW, 1);
    tour.spot = addLight(tour.scene, "spot", OrvLightData::SPOT, blue);
    tour.spot->setSpotCutoff(20.0f);
    tour.sun = addLight(tour.scene, "sun", OrvLightData::DIRECTIONAL, dim);
    tour.sun->setAmbient(ambient);
    return tour;
}

// The point light circles the scene, the spot light sweeps the floor from
// above and the directional light turns slowly about the vertical.
void moveLights(const Tour& tour, float time) {
    const OrvVector4 point{150.0f * std::cos(time), 70.0f, 150.0f * std::sin(time), 1.0f};
    tour.point->setPosition(&point);
    const OrvVector4 spot{120.0f * std::sin(0.7f * time), 160.0f, 60.0f, 1.0f};
    tour.spot->setPosition(&spot);
    tour.spot->setDirection(0.0f, -1.0f, -0.3f);
    tour.sun->setDirection(std::cos(0.3f * time), 1.0f, std::sin(0.3f * time));
}

}  // namespace

int main(int argc, char** argv) {
    OrvExampleWindow window(argc, argv);
    if (window.open("scene_tour", kWidth, kHeight) != 0) {
        return 1;
    }
    const Tour tour = buildTour();

    float time = 0.0f;
    while (window.nextFrame()) {
        const float dt = window.frameSeconds();
        time += dt;
        tour.wave->setUniform1f("time", time);
        moveLights(tour, time);

        tour.scene->update(dt);
        tour.scene->beginFrame();
        tour.scene->render(dt);
        window.drawText(24, "FPS: %d", window.framesPerSecond());
        window.drawText(44, "left torus: client arrays, GLSL wave");
        window.drawText(64, "box: buffer objects, two materials");
        window.drawText(84, "right torus: display list   floor: immediate mode");
        tour.scene->endFrame();
        OrvMain::getInstance()->swapBuffers();
    }
    return 0;
}
