/// @file
/// OrvSceneObject, the base of every node that can stand in a scene.
#pragma once

#include "scene/orv_scene_node.h"
#include "scene/orv_scene_object_transform.h"

class OrvMaterial;
class OrvRenderState;
class OrvRenderer;

/// The name of the engine's default material, which the material manager makes
/// at its first request and every new scene object lists first.
inline constexpr char ORV_DEFAULT_MATERIAL_NAME[] = "orvane_default_material";

/// The base of every node that can stand in a scene (camera, light, mesh,
/// triangle, gizmo). It adds a position-only transform, an owned render state
/// whose material list starts with the engine's default material, the base
/// update (rebuild the transform) and the base render (the object's local axes
/// while flag 12 is set).
class OrvSceneObject : public OrvSceneNode {
  public:
    /// Length of each local axis drawn while flag 12 is set, in world units.
    static constexpr float kAxisLength = 20.0f;

    /// Records ORV_KIND_SCENE_OBJECT and makes the render state with the
    /// default material in its list; the object stands at the origin. Without
    /// a render state it logs a WARNING line and goes on without one.
    OrvSceneObject();
    /// Deletes the render state; the materials it listed live on.
    ~OrvSceneObject() override;

    /// Rebuilds the transform's matrix when its position changed; @p dt is not
    /// used. Derived classes call it first in their own update.
    void update(float dt) override;
    /// Draws the object; the base draws the local axes while flag 12 is 1.
    /// Derived classes call it first in their own render. The scene calls it
    /// once per frame, right after apply.
    virtual void render(float dt);

    /// The object's own transform, which lives as long as the object. Whoever
    /// writes its position directly must call its markDirty.
    OrvSceneObjectTransform* getTransform() { return &transform; }
    /// The render state the object owns. Null only when the block could not be
    /// allocated.
    OrvRenderState* getRenderState() { return renderState; }
    /// Copies @p v (w too) as the local position, relative to the transform's
    /// parent, marks the transform dirty so the next update rebuilds the matrix,
    /// and sets flag 2. Null is ignored.
    void setPosition(const OrvVector4* v);
    /// Drops every entry of the material from the render state and, when
    /// there was one, asks for the faces to be grouped again; the node manager
    /// calls it for a material about to be destroyed.
    void forgetMaterial(OrvMaterial* material);
    /// The local position, relative to the transform's parent; (0, 0, 0, 1) for
    /// a new object.
    const OrvVector4* getPosition() const { return &transform.localPosition; }

  protected:
    /// Loads the camera's view, then the object's own transform on top of it,
    /// so what is drawn next lands where the object stands.
    void loadObjectMatrix(OrvRenderer* renderer);
    /// Draws the x, y and z axes in red, green and blue, kAxisLength long, at
    /// the object's place, with lighting and the depth test switched off (they
    /// stay off for the next object's render state to set). Nothing without a
    /// renderer.
    void drawAxes();

    /// Owned; null only when it could not be allocated.
    OrvRenderState* renderState;
    /// Where the object stands.
    OrvSceneObjectTransform transform;
};
