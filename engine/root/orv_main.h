// OrvMain: the engine root. It brings the engine up and down in a fixed order,
// owns the node creators it registers with the node manager, the render
// contexts made through it and the one renderer, and remembers which context
// frames are presented on. The application reaches it through getInstance.
#pragma once

#include "core/orv_linked_list.h"

class OrvRenderContext;
class OrvRenderer;
class OrvRendererOpenGL;

class OrvMain {
  public:
    // Kinds of createRenderContext and createRenderer.
    enum Kind { KIND_OPENGL = 0 };

    static OrvMain* getInstance();
    // The library's version, "major.minor.patch"; a program compares it with
    // ORVANE_VERSION_STRING from the headers it was compiled against.
    static const char* version();

    // Logs the start, starts the allocator and registers the seven node
    // creators. Returns 0, or -1 (with a WARNING) when already started.
    int init();
    // Destroys materials, scenes, creators, every node still alive, the render
    // contexts and the renderer, in that order, then writes the leak report
    // and closes the log. Returns 0.
    int terminate();

    // An empty context of the kind (the caller runs its create), owned by the
    // engine root; null for any kind but KIND_OPENGL.
    OrvRenderContext* createRenderContext(int kind);
    // Null changes nothing; otherwise the context becomes current, and the
    // renderer draws through it from now on.
    void setCurrentRenderContext(OrvRenderContext* context);
    OrvRenderContext* getCurrentRenderContext() const { return currentRenderContext; }
    // Presents the frame on the current context; nothing before there is one.
    void swapBuffers();

    // Makes and initialises the renderer of the kind on the current context,
    // releasing any renderer made before. Returns 0 when it initialised, the renderer's own code
    // when it did not (10: the OpenGL version is too old), -1 for a kind without an implementation
    // (the current renderer then stays).
    int createRenderer(int kind);
    void destroyRenderer();
    OrvRenderer* getRenderer() const;

  private:
    OrvMain();
    ~OrvMain() = default;

    OrvMain(const OrvMain&) = delete;
    OrvMain& operator=(const OrvMain&) = delete;

    void registerCreators();
    void unregisterCreators();
    void destroyRenderContexts();

    OrvLinkedList renderContexts;
    OrvRenderContext* currentRenderContext;
    OrvRendererOpenGL* renderer;
    OrvLinkedList creators;
    bool started;
};
