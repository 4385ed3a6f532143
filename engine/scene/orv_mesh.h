/// @file
/// OrvMesh, the scene object that draws triangle geometry.
#pragma once

#include <cstdint>

#include "scene/orv_scene_object.h"

struct OrvMeshData;
class OrvMaterial;
class OrvStaticBatch;

/// The scene object that draws triangle geometry. It owns one mesh record, fills it with the
/// primitive generators, assigns materials to runs of triangles, keeps the triangles grouped
/// by material and draws one range per material through the renderer, on the path the
/// record's options choose: client arrays, buffer objects, display lists or immediate mode.
/// The materials belong to the node manager; the mesh only records their ids.
class OrvMesh : public OrvSceneObject {
  public:
    OrvMesh();
    ~OrvMesh() override;

    /// Also copies the name into the mesh record, where the renderer quotes it.
    void setName(const char* newName) override;
    int getTypeId() const override { return ORV_KIND_MESH; }
    const char* getTypeName() const override { return ORV_NODE_MESH; }
    /// Does nothing: geometry, materials and options stay; release empties
    /// the record.
    void reset() override {}
    /// Frees the GPU objects and the arrays; options and name stay, so a
    /// generator can refill the record.
    void release() override;
    void apply() override {}
    /// Regroups the triangles (flag 8) and computes normals (flag 5) on demand.
    void update(float dt) override;
    /// Draws the ranges of the last grouping, each with its material's
    /// colours, shader and textures, while flag 4 is set; ranges beyond the
    /// render state's material list and materials the manager no longer
    /// knows are skipped. A batched mesh leaves the drawing to its batch.
    void render(float dt) override;
    /// Draws range number range of the last grouping; a range outside gets a
    /// WARNING line and draws nothing.
    virtual void drawRange(int range);
    /// The generators replace the geometry and ask the next update to regroup
    /// and compute normals. Arguments the record cannot hold leave it empty.
    ///@{
    virtual void createTorus(float majorRadius, float minorRadius, int segments);
    virtual void createPlane(float width, float depth, int segmentsX, int segmentsZ);
    virtual void createBox(float width, float height, float depth, int pointsX, int pointsY,
                           int pointsZ);
    ///@}
    /// Computes the normals now instead of at the next update.
    virtual void computeNormals();
    /// Groups the triangles by the render state's materials now instead of at
    /// the next update, giving one range per material.
    virtual void sortFacesByMaterial();

    /// The mesh record the mesh owns; null only when it could not be
    /// allocated.
    OrvMeshData* getMeshData() { return meshData; }
    /// Finds or creates the material of that name; null is ignored.
    void setMaterial(const char* name, int firstFace, int lastFace);
    /// Gives the triangles firstFace to lastFace the material, or firstFace to
    /// the last triangle unless firstFace < lastFace < faceCount; adds the
    /// material to the render state's list when it is not there yet. A null
    /// material is ignored; a firstFace outside the triangles gets a WARNING
    /// line and changes nothing.
    void setMaterial(OrvMaterial* material, int firstFace, int lastFace);

    /// Static batching, opt-in: 1 promises that the mesh will not move, so
    /// that OrvScene::buildStaticBatches may merge it with the scene's other
    /// static meshes of the same render states into one draw per material.
    /// Moving a batched mesh switches this back to 0 (it then draws on its
    /// own); 0 takes it out of its batch before the next frame. Any value but
    /// 1 counts as 0.
    ///@{
    void setStatic(int value);
    int isStatic() const { return staticOption; }
    ///@}
    /// The batch that draws this mesh, null while it draws itself.
    OrvStaticBatch* getStaticBatch() const { return staticBatch; }
    /// The ranges the last grouping built.
    int getRangeCount() const { return rangeCount; }

  private:
    friend class OrvStaticBatch;

    // Geometry, normals or grouping changed: the batch must be built again.
    void staticChanged();

    void geometryReplaced();
    void recomputeNormals();
    // Display lists hold a copy of the triangles, so any change of them or of
    // the ranges deletes the lists; drawing compiles them again.
    void releaseDisplayLists();

    OrvMeshData* meshData;
    // The ranges the last grouping built: render draws no more than these,
    // whatever the material list holds now.
    int32_t rangeCount;
    int32_t staticOption;
    // Not owned; the batch clears it when the mesh leaves.
    OrvStaticBatch* staticBatch;
    // The mesh's place among the batch's members.
    int32_t staticSlot;
};
