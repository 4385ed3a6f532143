// OrvTriangle: the smallest drawable scene object, one triangle with a
// position and a colour per vertex, drawn every frame in immediate mode,
// under the GPU shader of its first material when that carries one. It owns
// an OrvMeshData of three vertices and one triangle; the owner writes the
// positions and colours into that record directly.
#pragma once

#include "scene/orv_scene_object.h"

struct OrvMeshData;

class OrvTriangle : public OrvSceneObject {
  public:
    static constexpr int kVertexCount = 3;

    OrvTriangle();
    ~OrvTriangle() override;

    int getTypeId() const override { return ORV_KIND_TRIANGLE; }
    const char* getTypeName() const override { return ORV_NODE_TRIANGLE; }
    void reset() override {}
    // Frees the vertex arrays; the triangle then draws nothing.
    void release() override;
    void apply() override;
    void update(float dt) override;
    void render(float dt) override;

    // Null only when the record could not be allocated.
    OrvMeshData* getMeshData() { return meshData; }

  private:
    bool hasVertices() const;

    OrvMeshData* meshData;
};
