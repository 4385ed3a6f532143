// OrvScene: the unit an application updates and draws once per frame. It
// holds flat lists of the scene objects added to it, sorted by kind, and
// drives them in a fixed order: update everything, clear the frame, set up
// the first camera, then every light, every mesh and every other object.
// The lists only point at nodes, which belong to the node manager; the root
// gizmo "SceneObjectRootNode" is updated with the rest but never drawn. A
// scene is known to the node manager for as long as it exists, so a node
// destroyed anywhere is dropped from its lists first.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"

class OrvSceneNode;
class OrvSceneObject;
class OrvMesh;
class OrvStaticBatches;

inline constexpr char ORV_SCENE_ROOT_NAME[] = "SceneObjectRootNode";

class OrvScene {
  public:
    static constexpr int kNameSize = 128;

    OrvScene();
    // Destroys every object of the scene, the root included.
    virtual ~OrvScene();

    OrvScene(const OrvScene&) = delete;
    OrvScene& operator=(const OrvScene&) = delete;

    // Null leaves the name as it is; longer names are cut to 127 characters.
    void setName(const char* newName);
    void setClearColor(float r, float g, float b, float a);
    // Ignores null and nodes that are not scene objects. A node added twice
    // is listed twice.
    void addObject(OrvSceneNode* node);
    // Takes every entry of the node off the lists (the root too, which then
    // becomes null); the node itself lives on. Null and unlisted nodes change
    // nothing.
    void removeObject(OrvSceneNode* node);
    void update(float dt);
    void beginFrame();
    void render(float dt);
    void endFrame();
    // Empties every list without destroying a node; root keeps its value.
    void clear();
    // Destroys every listed node through the node manager and empties the
    // lists.
    void destroyAllObjects();
    // Empties the lists and forgets the root without touching any node: the
    // node manager calls it before it deletes every node at once.
    void forgetAllObjects();

    // Static batching: merges the scene's meshes marked static
    // (OrvMesh::setStatic) that share their render states, the arrays they
    // send and their GPU program into batches in world space, each drawn
    // with one draw per material at the place of its first mesh. Replaces
    // the batches built before; static meshes added later draw on their own
    // until the next call. Before every frame, a batch whose meshes changed
    // (geometry, materials, render states, draw flag, a mesh or material
    // destroyed) is built again; a mesh that moves leaves its batch. Meshes
    // drawn with a GPU program batch only at the identity matrix, and only
    // meshes on the vertex-array path batch at all. Returns how many meshes
    // were batched.
    int buildStaticBatches();
    // Frees every batch; the meshes draw one by one again.
    void releaseStaticBatches();
    // Null until the first buildStaticBatches.
    const OrvStaticBatches* getStaticBatches() const { return staticBatches; }

    int getId() const { return id; }
    const char* getName() const { return name; }
    OrvSceneNode* getRoot() const { return root; }
    const float* getClearColor() const { return clearColor; }
    OrvLinkedList* getObjects() { return &objects; }
    OrvLinkedList* getCameras() { return &cameras; }
    OrvLinkedList* getLights() { return &lights; }
    OrvLinkedList* getOthers() { return &others; }
    OrvLinkedList* getMeshes() { return &meshes; }

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
