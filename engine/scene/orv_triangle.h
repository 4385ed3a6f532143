/// @file
/// OrvTriangle, the smallest drawable scene object.
#pragma once

#include "scene/orv_scene_object.h"

struct OrvMeshData;

/// The smallest drawable scene object, one triangle with a position and a
/// colour per vertex, drawn every frame in immediate mode, under the GPU shader
/// of its first material when that carries one. It owns an OrvMeshData of three
/// vertices and one triangle; the owner writes the positions and colours into
/// that record directly.
class OrvTriangle : public OrvSceneObject {
  public:
    static constexpr int kVertexCount = 3;  ///< Vertices drawn, and allocated.

    /// Names the triangle "triangle_<id>" and allocates three vertices, every
    /// attribute (0, 0, 0, 1), and one face; flag 4 (draw) is set. Without its
    /// vertices it logs a WARNING line and draws nothing.
    OrvTriangle();
    /// Releases and deletes the mesh data.
    ~OrvTriangle() override;

    int getTypeId() const override { return ORV_KIND_TRIANGLE; }
    const char* getTypeName() const override { return ORV_NODE_TRIANGLE; }
    void reset() override {}
    /// Frees the vertex arrays; the triangle then draws nothing.
    void release() override;
    /// Only clears flag 3: the triangle sends nothing before it draws.
    void apply() override;
    /// The scene object's update (the transform), then flag 1 cleared.
    void update(float dt) override;
    /// The base render (the axes), then, while flag 4 is set and the vertices
    /// exist, the triangle at the object's place with the render state applied
    /// and the first material's GPU shader bound; its colours are the vertex
    /// colours, whatever the material says.
    void render(float dt) override;

    /// Positions and colours are read from the first three elements of the
    /// POSITIONS and COLORS attributes. The triangle owns the record. Null only
    /// when the record could not be allocated.
    OrvMeshData* getMeshData() { return meshData; }

  private:
    bool hasVertices() const;

    OrvMeshData* meshData;
};
