/// @file
/// OrvMain, the engine root.
#pragma once

#include "core/orv_linked_list.h"

class OrvRenderContext;
class OrvRenderer;
class OrvRendererOpenGL;

/// OrvMain: the engine root. It brings the engine up and down in a fixed order,
/// owns the node creators it registers with the node manager, the render
/// contexts made through it and the one renderer, and remembers which context
/// frames are presented on. The application reaches it through getInstance.
class OrvMain {
  public:
    /// Kinds of createRenderContext and createRenderer. KIND_EGL names a
    /// render context only (offscreen, needing no display); the KIND_OPENGL
    /// renderer draws on it as on the GLX context.
    enum Kind {
        KIND_OPENGL = 0,  ///< The GLX render context, and the OpenGL renderer.
        KIND_EGL = 1      ///< The offscreen EGL render context; no renderer of its own.
    };

    /// The one engine root, made at the first call; never null.
    static OrvMain* getInstance();
    /// The library's version, "major.minor.patch"; a program compares it with
    /// ORVANE_VERSION_STRING from the headers it was compiled against.
    static const char* version();

    /// Logs the start, starts the allocator and registers the seven node
    /// creators. Returns 0, or -1 (with the WARNING line "OrvMain::init(): engine
    /// already started.") when already started and not terminated since. A creator
    /// that cannot be allocated is left out with a WARNING line; init still returns 0.
    int init();
    /// Destroys materials, textures, scenes, creators, every node still alive, the
    /// render contexts and the renderer, in that order, then writes the leak report
    /// and closes the log. Returns 0, started or not; init may then run again.
    int terminate();

    /// An empty context of the kind (the caller runs its create), owned by the
    /// engine root until terminate; null for any kind but KIND_OPENGL and KIND_EGL,
    /// and when it cannot be allocated.
    OrvRenderContext* createRenderContext(int kind);
    /// Null changes nothing; otherwise the context becomes current, and the
    /// renderer draws through it from now on.
    void setCurrentRenderContext(OrvRenderContext* context);
    /// The context last made current, or null before the first and after terminate.
    OrvRenderContext* getCurrentRenderContext() const { return currentRenderContext; }
    /// Presents the frame on the current context; nothing before there is one.
    void swapBuffers();

    /// Makes and initialises the renderer of the kind on the current context,
    /// releasing any renderer made before. Returns 0 when it initialised, the renderer's own code
    /// when it did not, -1 for a kind without an implementation (the current renderer then stays).
    /// The renderer's codes are 10 (the OpenGL version is too old: 1.0, 1.1 or unreadable) and -1
    /// when the calling thread has no current OpenGL context, with the WARNING line
    /// "OrvRendererOpenGL::initialize(): no OpenGL context is current."; either way the renderer
    /// stays, not initialised, as getRenderer(). -1 as well when no renderer could be allocated;
    /// there is none then.
    int createRenderer(int kind);
    /// Terminates and deletes the renderer; nothing when there is none.
    void destroyRenderer();
    /// The renderer the engine root owns, or null before createRenderer, after
    /// destroyRenderer and after terminate.
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
