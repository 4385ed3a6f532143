/// @file
/// OrvScene, the unit an application updates and draws once per frame.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"

class OrvSceneNode;
class OrvSceneObject;
class OrvMesh;
class OrvStaticBatches;

/// The name of the root gizmo every scene makes for itself.
inline constexpr char ORV_SCENE_ROOT_NAME[] = "SceneObjectRootNode";

/// The unit an application updates and draws once per frame. It holds flat
/// lists of the scene objects added to it, sorted by kind, and drives them in a
/// fixed order: update everything, clear the frame, set up the first camera,
/// then every light, every mesh and every other object. The lists only point at
/// nodes, which belong to the node manager; the root gizmo "SceneObjectRootNode"
/// is updated with the rest but never drawn. A scene is known to the node
/// manager for as long as it exists, so a node destroyed anywhere is dropped
/// from its lists first.
class OrvScene {
  public:
    /// Bytes of the name buffer: names keep at most 127 characters.
    static constexpr int kNameSize = 128;

    /// Takes the next engine-wide unique id, names the scene "scene_<id>",
    /// clears to opaque black, registers with the node manager (a WARNING line
    /// when it cannot) and makes the root gizmo, which stays null when no gizmo
    /// can be made. Programs make scenes through OrvSceneMgr::createScene.
    OrvScene();
    /// Destroys every object of the scene, the root included.
    virtual ~OrvScene();

    /// Not copied: the node manager knows each scene by its address.
    ///@{
    OrvScene(const OrvScene&) = delete;
    OrvScene& operator=(const OrvScene&) = delete;
    ///@}

    /// Null leaves the name as it is; longer names are cut to 127 characters.
    void setName(const char* newName);
    /// The colour beginFrame clears to, components 0 to 1. The alpha is kept
    /// but not used: the frame always starts opaque.
    void setClearColor(float r, float g, float b, float a);
    /// Ignores null and nodes that are not scene objects. A node added twice
    /// is listed twice.
    void addObject(OrvSceneNode* node);
    /// Takes every entry of the node off the lists (the root too, which then
    /// becomes null); the node itself lives on. Null and unlisted nodes change
    /// nothing.
    void removeObject(OrvSceneNode* node);
    /// Calls update (@p dt, seconds since the previous frame) of every object
    /// in the order added, the root first.
    void update(float dt);
    /// Starts the frame: the renderer's beginScene, then the colour buffer
    /// cleared to the clear colour and the depth buffer to 1. Nothing without a
    /// renderer.
    void beginFrame();
    /// Draws the frame: builds stale static batches again, applies the first
    /// camera only (no camera is rendered), then applies and renders every
    /// light, every mesh and every other object, each list in the order added.
    void render(float dt);
    /// Ends the frame with the renderer's endScene; presenting it is the
    /// caller's. Nothing without a renderer.
    void endFrame();
    /// Empties every list without destroying a node, after emptying the
    /// objects' children lists and freeing the static batches; root keeps its
    /// value.
    void clear();
    /// Destroys every listed node, with its children, through the node manager
    /// and empties the lists; the root goes too and becomes null.
    void destroyAllObjects();
    /// Empties the lists and forgets the root without touching any node: the
    /// node manager calls it before it deletes every node at once.
    void forgetAllObjects();

    /// Static batching: merges the scene's meshes marked static
    /// (OrvMesh::setStatic) that share their render states, the arrays they
    /// send and their GPU program into batches in world space, each drawn
    /// with one draw per material at the place of its first mesh. Replaces
    /// the batches built before; static meshes added later draw on their own
    /// until the next call. Before every frame, a batch whose meshes changed
    /// (geometry, materials, render states, draw flag, a mesh or material
    /// destroyed) is built again; a mesh that moves leaves its batch. Meshes
    /// drawn with a GPU program batch only at the identity matrix, and only
    /// meshes on the vertex-array path batch at all. Returns how many meshes
    /// were batched, or 0 with a WARNING line when out of memory.
    int buildStaticBatches();
    /// Frees every batch; the meshes draw one by one again.
    void releaseStaticBatches();
    /// Null until the first buildStaticBatches.
    const OrvStaticBatches* getStaticBatches() const { return staticBatches; }

    /// The engine-wide unique id taken at construction.
    int getId() const { return id; }
    /// The scene's name, at most 127 characters; never null.
    const char* getName() const { return name; }
    /// The root gizmo; null when it could not be made or was removed or
    /// destroyed.
    OrvSceneNode* getRoot() const { return root; }
    /// Four floats: red, green, blue and alpha as setClearColor stored them.
    const float* getClearColor() const { return clearColor; }
    /// The scene's lists of OrvSceneObject pointers, in the order added, owned
    /// by the scene: objects holds every object (the root first), and each
    /// object is in one of cameras, lights, meshes (OrvMesh and other nodes of
    /// its kind) or others as well. Read them; change them only through
    /// addObject and removeObject. Do not walk them with first and next from
    /// inside an object's update or render: the scene walks with that cursor.
    ///@{
    OrvLinkedList* getObjects() { return &objects; }
    OrvLinkedList* getCameras() { return &cameras; }
    OrvLinkedList* getLights() { return &lights; }
    OrvLinkedList* getOthers() { return &others; }
    OrvLinkedList* getMeshes() { return &meshes; }
    ///@}

  private:
    void clearLists();
    void leaveStaticBatch(OrvMesh* mesh);
    static void applyAndRender(OrvLinkedList* list, float dt);

    int32_t id;
    char name[kNameSize];
    OrvSceneNode* root;
    OrvLinkedList objects;
    OrvLinkedList cameras;
    OrvLinkedList lights;
    OrvLinkedList others;
    OrvLinkedList meshes;
    float clearColor[4];
    OrvStaticBatches* staticBatches;
};
