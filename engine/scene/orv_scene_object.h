// OrvSceneObject: the base of every node that can stand in a scene (camera,
// light, mesh, triangle, gizmo). It adds a position-only transform, an owned
// render state whose material list starts with the engine's default
// material, the base update (rebuild the transform) and the base render
// (the object's local axes while flag 12 is set).
#pragma once

#include "scene/orv_scene_node.h"
#include "scene/orv_scene_object_transform.h"

class OrvMaterial;
class OrvRenderState;
class OrvRenderer;

inline constexpr char ORV_DEFAULT_MATERIAL_NAME[] = "orvane_default_material";

class OrvSceneObject : public OrvSceneNode {
  public:
    static constexpr float kAxisLength = 20.0f;

    OrvSceneObject();
    ~OrvSceneObject() override;

    void update(float dt) override;
    // Draws the object; the base draws the local axes while flag 12 is 1.
    // Derived classes call it first in their own render.
    virtual void render(float dt);

    OrvSceneObjectTransform* getTransform() { return &transform; }
    // Null only when the block could not be allocated.
    OrvRenderState* getRenderState() { return renderState; }
    void setPosition(const OrvVector4* v);
    // Drops every entry of the material from the render state and, when
    // there was one, asks for the faces to be grouped again; the node manager
    // calls it for a material about to be destroyed.
    void forgetMaterial(OrvMaterial* material);
    const OrvVector4* getPosition() const { return &transform.localPosition; }

  protected:
    // Loads the camera's view, then the object's own transform on top of it,
    // so what is drawn next lands where the object stands.
    void loadObjectMatrix(OrvRenderer* renderer);
    void drawAxes();

    OrvRenderState* renderState;
    OrvSceneObjectTransform transform;
};
