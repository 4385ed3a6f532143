#include "root/orv_main.h"

#include "scene/orv_camera_creator.h"
#include "scene/orv_gizmo_creator.h"
#include "scene/orv_gpu_shader_creator.h"
#include "scene/orv_light_creator.h"
#include "core/orv_log.h"
#include "scene/orv_material_creator.h"
#include "scene/orv_material_mgr.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_version.h"
#include "scene/orv_mesh_creator.h"
#include "opengl/orv_render_context_opengl.h"
#include "opengl/orv_renderer_opengl.h"
#include "scene/orv_scene_mgr.h"
#include "scene/orv_scene_node_mgr.h"
#include "scene/orv_texture_mgr.h"
#include "scene/orv_triangle_creator.h"

namespace {

template <typename Creator>
OrvSceneNodeCreator* makeCreator() {
    return ORV_NEW Creator();
}

// The creators in the order they are registered and unregistered.
using CreatorFactory = OrvSceneNodeCreator* (*)();
constexpr CreatorFactory kCreatorFactories[] = {
    makeCreator<OrvCameraCreator>,    makeCreator<OrvLightCreator>,
    makeCreator<OrvMaterialCreator>,  makeCreator<OrvMeshCreator>,
    makeCreator<OrvTriangleCreator>,  makeCreator<OrvGizmoCreator>,
    makeCreator<OrvGpuShaderCreator>,
};

}  // namespace

OrvMain* OrvMain::getInstance() {
    static OrvMain instance;
    return &instance;
}

const char* OrvMain::version() {
    return ORVANE_VERSION_STRING;
}

OrvMain::OrvMain() : currentRenderContext(nullptr), renderer(nullptr), started(false) {}

int OrvMain::init() {
    OrvLog* log = OrvLog::getInstance();
    // A second start would reset the id counter under live nodes and
    // register every creator twice.
    if (started) {
        log->write(OrvLog::WARNING, "OrvMain::init(): engine already started.");
        return -1;
    }
    log->write(OrvLog::NORMAL, "Orvane - init in progress...");
    OrvMemoryAllocator::init();
    currentRenderContext = nullptr;
    registerCreators();
    started = true;
    log->write(OrvLog::NORMAL, "Orvane - init ok.");
    return 0;
}

int OrvMain::terminate() {
    OrvMaterialMgr::getInstance()->terminate();
    // Textures go while the renderer can still free their GL names.
    OrvTextureMgr::shutdown();
    OrvSceneMgr::getInstance()->terminate();
    unregisterCreators();
    OrvSceneNodeMgr::getInstance()->terminate();
    destroyRenderContexts();
    destroyRenderer();
    started = false;
    OrvMemoryAllocator::dumpMemoryLeaks();
    OrvMemoryAllocator::terminate();
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::NORMAL, "Orvane - terminate ok.");
    log->close();
    return 0;
}

OrvRenderContext* OrvMain::createRenderContext(int kind) {
    if (kind != KIND_OPENGL) {
        return nullptr;
    }
    OrvRenderContext* context = ORV_NEW OrvRenderContextOpenGL();
    if (context == nullptr) {
        return nullptr;
    }
    // A context the list cannot hold would never be released.
    if (renderContexts.add(context) == 0) {
        ORV_DELETE(context);
        return nullptr;
    }
    return context;
}

void OrvMain::setCurrentRenderContext(OrvRenderContext* context) {
    if (context == nullptr) {
        return;
    }
    currentRenderContext = context;
    context->makeCurrent();
    if (renderer != nullptr) {
        renderer->setContext(context);
    }
}

void OrvMain::swapBuffers() {
    if (currentRenderContext != nullptr) {
        currentRenderContext->swapBuffers();
    }
}

int OrvMain::createRenderer(int kind) {
    if (kind != KIND_OPENGL) {
        return -1;
    }
    // The renderer is one instance: the first is let go before the second
    // takes its place, or its light table and instance slot would be lost.
    destroyRenderer();
    renderer = ORV_NEW OrvRendererOpenGL();
    if (renderer == nullptr) {
        return -1;
    }
    renderer->setContext(currentRenderContext);
    return renderer->initialize();
}

OrvRenderer* OrvMain::getRenderer() const {
    return renderer;
}

void OrvMain::destroyRenderer() {
    if (renderer == nullptr) {
        return;
    }
    renderer->terminate();
    ORV_DELETE(renderer);
    renderer = nullptr;
}

void OrvMain::registerCreators() {
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    for (CreatorFactory make : kCreatorFactories) {
        OrvSceneNodeCreator* creator = make();
        // A creator the list cannot hold would never be unregistered or freed.
        if (creator != nullptr && creators.add(creator) == 0) {
            ORV_DELETE(creator);
            creator = nullptr;
        }
        if (creator == nullptr) {
            OrvLog::getInstance()->write(OrvLog::WARNING,
                                         "OrvMain::init(): a node creator could not be allocated.");
            continue;
        }
        manager->registerCreator(creator);
    }
}

void OrvMain::unregisterCreators() {
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    for (OrvLinkedListNode* n = creators.first(0); n != nullptr; n = creators.next()) {
        OrvSceneNodeCreator* creator = static_cast<OrvSceneNodeCreator*>(n->data);
        manager->unregisterCreator(creator->getTypeName());
        ORV_DELETE(creator);
    }
    creators.clear();
}

void OrvMain::destroyRenderContexts() {
    for (OrvLinkedListNode* n = renderContexts.first(0); n != nullptr; n = renderContexts.next()) {
        OrvRenderContext* context = static_cast<OrvRenderContext*>(n->data);
        ORV_DELETE(context);
    }
    renderContexts.clear();
    // The current context was one of those just deleted.
    currentRenderContext = nullptr;
    if (renderer != nullptr) {
        renderer->setContext(nullptr);
    }
}
