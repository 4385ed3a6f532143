// OrvBoxField: many small lit boxes, one mesh node each, standing on a square
// lattice over the demo's 200 x 200 grid, with their materials dealt out in
// turn. Being lit, they send normals but no colour array. Benchmarks and
// tests add it to a scene to see what each object costs; the frame
// benchmark's reference drawing reads the same boxes back. The node manager
// owns the boxes and materials; the field only lists them. On demand every
// material also wears one checker texture, made in memory and loaded through
// OrvTextureMgr as a program loads a picture file.
#pragma once

#include <vector>

class OrvMaterial;
class OrvMesh;
class OrvScene;
class OrvTexture;

class OrvBoxField {
  public:
    // The side of the square the boxes stand on, centred on the origin.
    static constexpr float kExtent = 200.0f;

    // Makes count boxes and materialCount materials ("box_material_%d", each
    // its own colour) and adds the boxes to the scene. The engine's node
    // creators must be registered.
    OrvBoxField(OrvScene* scene, int count, int materialCount);

    OrvBoxField(const OrvBoxField&) = delete;
    OrvBoxField& operator=(const OrvBoxField&) = delete;

    // The checker's name in the texture manager.
    static constexpr const char* kTextureName = "box_checker";

    // Puts the checker (a PNG encoded in memory, with the engine's default
    // sampling: mipmapped, linear, repeating) on unit 0 of every material
    // and returns it; null, with the materials untouched, when it cannot be
    // made. The materials keep it until removeTexture or their destruction.
    OrvTexture* addTexture();
    // Takes the checker off every material; the last one destroys it.
    void removeTexture();

    const std::vector<OrvMesh*>& boxes() const { return m_boxes; }
    const std::vector<OrvMaterial*>& materials() const { return m_materials; }

  private:
    void makeMaterials(int count);
    OrvMesh* makeBox(int index, int perRow);

    std::vector<OrvMesh*> m_boxes;
    std::vector<OrvMaterial*> m_materials;
};
