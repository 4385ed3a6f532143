/// @file
/// OrvStaticBatches, the static batches of one scene.
#pragma once

#include <cstdint>

class OrvLinkedList;
class OrvMesh;
class OrvStaticBatch;

/// The static batches of one scene, made by OrvScene::buildStaticBatches and owned by the
/// scene. At the start of every frame the scene asks it to build the stale batches again, from
/// the meshes they held that are still alive and static, so that no frame draws a batch that
/// disagrees with its meshes; meanwhile each batch is drawn at its first member in the scene's
/// mesh order.
class OrvStaticBatches {
  public:
    OrvStaticBatches() = default;
    /// Frees every batch; the meshes draw one by one again.
    ~OrvStaticBatches();

    OrvStaticBatches(const OrvStaticBatches&) = delete;
    OrvStaticBatches& operator=(const OrvStaticBatches&) = delete;

    /// Replaces every batch with new ones made from the static meshes of the
    /// list, in its order; every entry of @p meshes must be an OrvMesh. Returns
    /// how many meshes were batched (0, after a WARNING, when memory runs out).
    int build(OrvLinkedList* meshes);
    /// Frees every batch.
    void releaseAll();

    /// Before the scene draws anything: builds stale batches again from the
    /// scene's meshes and arms each batch's one draw of the frame.
    void beginRender(OrvLinkedList* meshes);
    /// After the scene's frame: until the next beginRender, members draw
    /// themselves, as when another scene draws them.
    void endRender() { rendering = false; }
    /// True between beginRender and endRender.
    bool isRendering() const { return rendering; }

    /// The batches now held, in the order they were made.
    int32_t getBatchCount() const { return batchCount; }
    /// The batch at @p index, from 0 to getBatchCount() - 1, owned by this
    /// list; null for any other index.
    OrvStaticBatch* getBatch(int32_t index) const;
    /// Meshes drawn through a batch now.
    int getBatchedMeshCount() const;

  private:
    // Groups the meshes by what they must share and builds one batch per
    // group; meshes of a batch that cannot be built draw one by one.
    int group(OrvMesh** meshes, int32_t count);
    bool reserve(int32_t count);
    void rebuildStale(OrvLinkedList* meshes);
    void removeBatch(int32_t index);

    OrvStaticBatch** batches = nullptr;
    int32_t batchCount = 0;
    int32_t batchCapacity = 0;
    bool rendering = false;
};
