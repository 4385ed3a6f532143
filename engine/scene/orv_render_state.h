/// @file
/// OrvRenderState, the switches and materials a scene object is drawn with.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"
#include "render/orv_renderer.h"

class OrvMaterial;

/// The fixed-function switches the renderer applies before a scene object
/// draws itself, and the materials the object is drawn with. The scene object
/// owns its render state; the materials belong to the node manager, so the list
/// only points at them.
class OrvRenderState {
  public:
    /// Indexed as the renderer's applyRenderStates reads the block
    /// (OrvRenderer::STATE_LIGHTING and the rest).
    static constexpr int kStateCount = OrvRenderer::kRenderStateCount;
    /// setState and getState reach indices 0 to 10; the cull face and the two
    /// polygon modes only through getStates.
    static constexpr int kSettableStates = 11;

    /// Back-face culling and the depth test on, both faces filled, lighting and
    /// everything else off; no material listed.
    OrvRenderState();
    /// Empties the list; the materials live on.
    virtual ~OrvRenderState();

    /// Not copied: a render state belongs to one scene object.
    ///@{
    OrvRenderState(const OrvRenderState&) = delete;
    OrvRenderState& operator=(const OrvRenderState&) = delete;
    ///@}

    /// Both return the index; an index outside 0..10 stores nothing and reads 0.
    ///@{
    virtual int setState(int index, int value);
    virtual int getState(int index) const;
    ///@}
    /// Hands the whole block to the renderer's applyRenderStates; nothing
    /// without a renderer. Scene objects call it in their render.
    virtual void apply();
    /// The whole block of kStateCount entries, writable; the render state owns
    /// it.
    virtual int32_t* getStates() { return states; }
    /// Empties the material list; the materials live on.
    virtual void clearMaterials();
    /// Finds the material of that name through the material manager, which
    /// creates it when there is none; nothing is listed when that fails.
    virtual void addMaterial(const char* name);
    /// Appends the material at the end of the list; null is ignored. A material
    /// added twice is listed twice.
    virtual void addMaterial(OrvMaterial* material);
    /// Removes every entry holding the material; the material itself lives on.
    virtual void removeMaterial(OrvMaterial* material);

    /// Null for an index outside the list.
    OrvMaterial* getMaterial(int index);
    /// How many entries the material list has, repeats included.
    int getMaterialCount() const { return materials.getCount(); }
    /// 1 when the material is listed, else 0.
    int hasMaterial(OrvMaterial* material);

  private:
    int32_t states[kStateCount];
    OrvLinkedList materials;
};
