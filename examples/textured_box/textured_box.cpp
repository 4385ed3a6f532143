// textured_box: a box wearing a checker through the fixed-function pipeline
// and a torus wearing a landscape picture through a GLSL program that samples
// it, under one white light. The pictures and shaders are read
// from the program's own folder, where the build puts them.
//
// Usage: textured_box [--frames N] [--screenshot PATH]
// It runs until its window is closed, or for N frames; with --screenshot the
// last frame is also written as a PNG.
#include <X11/Xlib.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orvane.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Options {
    long frames = -1;
    const char* screenshot = nullptr;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0) {
            options.frames = std::atol(argv[++i]);
        } else if (std::strcmp(argv[i], "--screenshot") == 0) {
            options.screenshot = argv[++i];
        }
    }
    return options;
}

// The folder the program lives in, with a final slash.
std::string programFolder() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string folder(path, length > 0 ? static_cast<size_t>(length) : 0);
    return folder.substr(0, folder.find_last_of('/') + 1);
}

template <typename Node>
Node* make(const char* type, const char* name) {
    return static_cast<Node*>(OrvSceneNodeMgr::getInstance()->createNode(type, name));
}

OrvVector4 point(float x, float y, float z) {
    return {x, y, z, 1.0f};
}

void addCameraAndLight(OrvScene* scene) {
    OrvCamera* camera = make<OrvCamera>(ORV_NODE_CAMERA, "camera");
    scene->addObject(camera);
    camera->setViewport(0, 0, kWidth, kHeight);
    camera->setPerspective(45.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
    OrvVector4 eye = point(0.0f, 90.0f, 250.0f);
    OrvVector4 centre = point(0.0f, 0.0f, 0.0f);
    OrvVector4 up = point(0.0f, 1.0f, 0.0f);
    camera->setLookAt(&eye, &centre, &up);
    OrvLight* light = make<OrvLight>(ORV_NODE_LIGHT, "light");
    scene->addObject(light);
    OrvVector4 position = point(120.0f, 200.0f, 200.0f);
    light->setPosition(&position);
}

OrvMesh* addMesh(OrvScene* scene, const char* name, float x) {
    OrvMesh* mesh = make<OrvMesh>(ORV_NODE_MESH, name);
    scene->addObject(mesh);
    mesh->getRenderState()->clearMaterials();
    mesh->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
    OrvVector4 position = point(x, 0.0f, 0.0f);
    mesh->setPosition(&position);
    return mesh;
}

// The box: the checker, modulated by the fixed-function lighting.
void addBox(OrvScene* scene, const std::string& folder) {
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial("checker_box");
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    material->setDiffuse(white);
    material->setTexture(0, (folder + "checker.png").c_str());
    OrvMesh* box = addMesh(scene, "box", -60.0f);
    box->createBox(80.0f, 80.0f, 80.0f, 4, 4, 4);
    box->setMaterial(material, 0, -1);
}

// The torus: the landscape, sampled by a GLSL program through the uniform
// "picture", which names texture unit 0.
void addTorus(OrvScene* scene, const std::string& folder) {
    OrvMaterial* material = OrvMaterialMgr::getInstance()->getMaterial("landscape_torus");
    material->setTexture(0, (folder + "landscape.png").c_str());
    OrvGpuShader* shader = make<OrvGpuShader>(ORV_NODE_GPU_SHADER, "landscape_shader");
    shader->loadVertexShaderFromFile((folder + "textured_vs.glsl").c_str());
    shader->loadPixelShaderFromFile((folder + "textured_ps.glsl").c_str());
    shader->setUniform1i("picture", 0);
    material->setGpuShader(shader);
    OrvMesh* torus = addMesh(scene, "torus", 70.0f);
    torus->createTorus(45.0f, 18.0f, 48);
    torus->setMaterial(material, 0, -1);
}

struct ExampleWindow {
    Display* display = nullptr;
    ::Window window = 0;
    Atom closeAtom = 0;
    OrvWindowInfo info = {};
};

bool openWindow(ExampleWindow* w) {
    w->display = XOpenDisplay(nullptr);
    if (w->display == nullptr) {
        std::fprintf(stderr, "textured_box: no X display\n");
        return false;
    }
    const int screen = DefaultScreen(w->display);
    w->window =
        XCreateSimpleWindow(w->display, RootWindow(w->display, screen), 0, 0, kWidth, kHeight, 0,
                            BlackPixel(w->display, screen), BlackPixel(w->display, screen));
    XStoreName(w->display, w->window, "Orvane textured box");
    w->closeAtom = XInternAtom(w->display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(w->display, w->window, &w->closeAtom, 1);
    XMapWindow(w->display, w->window);
    XSync(w->display, False);
    w->info.display = w->display;
    w->info.window = w->window;
    w->info.width = kWidth;
    w->info.height = kHeight;
    w->info.colorBits = 32;
    w->info.depthBits = 24;
    w->info.stencilBits = 8;
    return true;
}

bool closeRequested(ExampleWindow* w) {
    while (XPending(w->display) > 0) {
        XEvent event;
        XNextEvent(w->display, &event);
        if (event.type == ClientMessage &&
            static_cast<Atom>(event.xclient.data.l[0]) == w->closeAtom) {
            return true;
        }
    }
    return false;
}

bool startEngine(ExampleWindow* w) {
    OrvMain* engine = OrvMain::getInstance();
    engine->init();
    OrvRenderContext* context = engine->createRenderContext(OrvMain::KIND_OPENGL);
    if (context == nullptr || context->create(&w->info) != 0) {
        std::fprintf(stderr, "textured_box: no OpenGL context on the window\n");
        return false;
    }
    engine->setCurrentRenderContext(context);
    if (engine->createRenderer(OrvMain::KIND_OPENGL) != 0) {
        std::fprintf(stderr, "textured_box: the OpenGL driver is too old\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    ExampleWindow window;
    if (!openWindow(&window)) {
        return EXIT_FAILURE;
    }
    int status = EXIT_SUCCESS;
    if (startEngine(&window)) {
        const std::string folder = programFolder();
        OrvScene* scene = OrvSceneMgr::getInstance()->createScene("textured_scene");
        scene->setClearColor(0.12f, 0.12f, 0.16f, 1.0f);
        addCameraAndLight(scene);
        addBox(scene, folder);
        addTorus(scene, folder);
        for (long frame = 0; options.frames < 0 || frame < options.frames; ++frame) {
            if (closeRequested(&window)) {
                break;
            }
            scene->update(0.016f);
            scene->beginFrame();
            scene->render(0.016f);
            scene->endFrame();
            if (options.screenshot != nullptr && frame + 1 == options.frames) {
                OrvImage shot = {};
                if (OrvRenderer::getInstance()->readBackBuffer(&shot) != 0 ||
                    OrvPngCodec::write(options.screenshot, &shot) != 0) {
                    status = EXIT_FAILURE;
                }
                shot.release();
            }
            OrvMain::getInstance()->swapBuffers();
        }
    } else {
        status = EXIT_FAILURE;
    }
    OrvMain::getInstance()->terminate();
    XDestroyWindow(window.display, window.window);
    XCloseDisplay(window.display);
    return status;
}
