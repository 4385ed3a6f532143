/// @file
/// OrvStaticBatch, static meshes merged into one record, and OrvStaticBatchKey, what they share.
#pragma once

#include <cstdint>

#include "scene/orv_render_state.h"

struct OrvMeshData;
class OrvGpuShader;
class OrvMaterial;
class OrvMesh;
class OrvStaticBatches;

/// What meshes must share to be drawn together.
struct OrvStaticBatchKey {
    int32_t states[OrvRenderState::kStateCount];  ///< The mesh's render states, state by state.
    int32_t colorArray;   ///< The mesh record's colorArray option: 1 sends per-vertex colours.
    int32_t normalArray;  ///< The mesh record's normalArray option: 1 sends normals.
    /// The first material of the mesh that carries a GPU program, 0 for none:
    /// a programmed mesh shares a batch only with meshes of that material.
    int32_t programMaterialId;

    /// True when every render state, both array options and the programmed
    /// material agree.
    bool operator==(const OrvStaticBatchKey& other) const;
};

/// Static meshes of one scene that share their render states, the arrays they send and their
/// GPU program, merged into one mesh record in world space and drawn with one draw per
/// material. The batch owns that record and its GPU buffers; the meshes stay nodes of the node
/// manager and are only pointed at. Each member keeps what it was built from (matrix, render
/// states, draw flag, material count): a member that moves leaves the batch for good, any
/// other change marks the batch stale so that its scene builds it again before the next frame
/// is drawn.
class OrvStaticBatch {
  public:
    /// Fills key and returns true when mesh may join a batch: it is marked
    /// static, in no batch yet, drawn from vertex arrays, uses no textured
    /// material (a batch carries no texture coordinates) and, when one of its
    /// materials carries a GPU program, standing at the origin with the
    /// identity matrix, because a program sees the vertices in the mesh's own
    /// space. The mesh's matrix must be up to date.
    static bool keyOf(OrvMesh* mesh, OrvStaticBatchKey* key);

    /// Room for capacity members (none when it cannot be allocated); the
    /// owner's rendering flag decides whether members are drawn through the
    /// batch.
    OrvStaticBatch(const OrvStaticBatches* owner, const OrvStaticBatchKey& key, int32_t capacity);
    /// Frees the record and its GPU buffers; the members are left unbatched.
    ~OrvStaticBatch();

    OrvStaticBatch(const OrvStaticBatch&) = delete;
    OrvStaticBatch& operator=(const OrvStaticBatch&) = delete;

    /// What every member shares, fixed at construction.
    const OrvStaticBatchKey& getKey() const { return key; }
    /// The scene's batch list that made the batch and decides when it draws.
    const OrvStaticBatches* getOwner() const { return owner; }
    /// Takes mesh in as the next member, up to the capacity; a mesh already
    /// in a batch, or one past the capacity, is ignored.
    void add(OrvMesh* mesh);
    /// Merges the members' triangles, material by material, in the order the
    /// meshes would draw them one by one. False, after a WARNING, when the
    /// counts are too large or memory runs out; the caller then lets the
    /// members go, and they draw one by one.
    bool build();

    /// A member's update reports here: a member whose matrix changed leaves
    /// the batch and stops being static; a change of its render states, draw
    /// flag or material count marks the batch stale. @p mesh must be a member.
    void check(OrvMesh* mesh);
    /// Geometry, materials or normals of a member changed.
    void markStale() { stale = true; }
    /// The member is being destroyed: it leaves and the batch is stale.
    void forget(OrvMesh* mesh);
    /// True once the batch no longer matches its members and must be built
    /// again.
    bool isStale() const { return stale; }

    /// At the start of a frame: finds the batch's materials again (a
    /// destroyed material, a program given to a material or a texture given
    /// to one marks the batch stale) and arms the one draw of the frame.
    void beginFrame();
    /// Called by each member's render: the first member reached draws the
    /// whole batch. False when the owner is not rendering, so that a mesh
    /// drawn by another scene draws itself.
    bool drawFrom(const OrvMesh* mesh);

    /// Lets every member go, writing the meshes still alive to out (room for
    /// getMemberCount entries; null writes nothing); returns how many were
    /// written.
    int32_t releaseMembers(OrvMesh** out);

    /// Members taken in, those that left since included.
    int32_t getMemberCount() const { return memberCount; }
    /// Members still drawn through the batch.
    int32_t getMeshCount() const;
    /// The merged record, null before a successful build.
    const OrvMeshData* getMeshData() const { return meshData; }
    /// The merged record's ranges, one per material drawn; 0 before a
    /// successful build.
    int32_t getRangeCount() const { return rangeCount; }

  private:
    struct Member {
        OrvMesh* mesh;
        float matrix[16];
        int32_t states[OrvRenderState::kStateCount];
        int32_t draw;
        int32_t materialCount;
        // Where its vertices start in the batch; -1 while it gives none.
        int64_t firstVertex;
    };

    struct Range {
        int32_t materialId;
        // The program the material had at build time.
        const OrvGpuShader* program;
        // Found again at the start of every frame.
        OrvMaterial* material;
    };

    void snapshot(Member& member);
    // The ranges a member draws one by one: as many as both its material list
    // and its last grouping hold, none while it is not drawn.
    static int32_t drawnRanges(const Member& member);
    bool countGeometry(uint64_t* vertices, uint64_t* faces);
    int32_t rangeSlot(int32_t materialId) const;
    bool allocate(uint64_t vertices, uint64_t faces);
    void fillVertices();
    void translatePositions(const Member& member, const OrvMeshData* source);
    void transformVertices(const Member& member, const OrvMeshData* source);
    void fillTriangles();
    void appendTriangles(const Member& member, int32_t materialId, uint32_t* face);
    void chooseBuffers();
    void releaseRecord();
    void leave(Member& member);
    void draw();

    const OrvStaticBatches* owner;
    OrvStaticBatchKey key;
    Member* members;
    int32_t memberCount;
    int32_t memberCapacity;
    Range* ranges;
    int32_t rangeCount;
    OrvMeshData* meshData;
    bool stale;
    bool drawPending;
};
