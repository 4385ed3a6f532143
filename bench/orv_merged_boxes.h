// OrvMergedBoxes: the scene of the second reference, which draws the boxes
// of an OrvBoxField the way a hand-batched program would: every box's
// triangles moved into world space once, by this class's own copy loop, and
// gathered into one mesh per material at the identity matrix. The scene also
// lists the source scene's lights and its other meshes, so that
// OrvReferenceScene draws the same picture from it with one draw per
// material. The merged meshes are nodes of the node manager and are
// destroyed with this object; the source scene's nodes are only listed.
#pragma once

#include <vector>

class OrvBoxField;
class OrvMaterial;
class OrvMesh;
class OrvScene;

class OrvMergedBoxes {
  public:
    // The field's boxes must have been grouped by material (one frame drawn).
    OrvMergedBoxes(OrvScene* source, const OrvBoxField& field);
    ~OrvMergedBoxes();

    OrvMergedBoxes(const OrvMergedBoxes&) = delete;
    OrvMergedBoxes& operator=(const OrvMergedBoxes&) = delete;

    OrvScene* scene() const { return m_scene; }

  private:
    OrvMesh* merge(const OrvBoxField& field, OrvMaterial* material);

    OrvScene* m_scene;
    std::vector<OrvMesh*> m_meshes;
};
