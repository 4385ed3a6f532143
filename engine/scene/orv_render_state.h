// OrvRenderState: the fixed-function switches the renderer applies before a
// scene object draws itself, and the materials the object is drawn with. The
// scene object owns its render state; the materials belong to the node
// manager, so the list only points at them.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"
#include "render/orv_renderer.h"

class OrvMaterial;

class OrvRenderState {
  public:
    // Indexed as the renderer's applyRenderStates reads the block
    // (OrvRenderer::STATE_LIGHTING and the rest).
    static constexpr int kStateCount = OrvRenderer::kRenderStateCount;
    // setState and getState reach indices 0 to 10; the cull face and the two
    // polygon modes only through getStates.
    static constexpr int kSettableStates = 11;

    OrvRenderState();
    virtual ~OrvRenderState();

    OrvRenderState(const OrvRenderState&) = delete;
    OrvRenderState& operator=(const OrvRenderState&) = delete;

    // Both return the index; an index outside 0..10 stores nothing and reads 0.
    virtual int setState(int index, int value);
    virtual int getState(int index) const;
    virtual void apply();
    virtual int32_t* getStates() { return states; }
    virtual void clearMaterials();
    // Finds the material of that name through the material manager, which
    // creates it when there is none; nothing is listed when that fails.
    virtual void addMaterial(const char* name);
    virtual void addMaterial(OrvMaterial* material);
    // Removes every entry holding the material; the material itself lives on.
    virtual void removeMaterial(OrvMaterial* material);

    // Null for an index outside the list.
    OrvMaterial* getMaterial(int index);
    int getMaterialCount() const { return materials.getCount(); }
    int hasMaterial(OrvMaterial* material);

  private:
    int32_t states[kStateCount];
    OrvLinkedList materials;
};
