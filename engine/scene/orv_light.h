/// @file
/// OrvLight, the scene object that drives one fixed-function OpenGL light.
#pragma once

#include "render/orv_light_data.h"
#include "scene/orv_scene_object.h"

/// The scene object that drives one fixed-function OpenGL light. Its parameters live in an
/// owned OrvLightData record that is handed whole to the renderer, which assigns the light a GL
/// light unit at its first apply and writes the unit back. The light can also show itself as a
/// coloured point.
class OrvLight : public OrvSceneObject {
  public:
    /// The size in pixels of the point render draws for the light.
    static constexpr float kMarkerSize = 4.0f;
    /// The spot cone half-angles OpenGL accepts.
    static constexpr float kMaxSpotCutoff = 90.0f;

    OrvLight();
    ~OrvLight() override;

    /// The node's name, copied into the record as well.
    void setName(const char* newName) override;
    int getTypeId() const override { return ORV_KIND_LIGHT; }
    const char* getTypeName() const override { return ORV_NODE_LIGHT; }
    /// Restores the record's defaults (the name and an assigned unit stay) and
    /// the default position; the parameters are marked changed, so the next
    /// apply sends them.
    void reset() override;
    /// Does nothing: the light keeps its GL light unit, enabled, for as long as
    /// the renderer lives, even after the node is destroyed; only the
    /// renderer's disableLight frees it.
    void release() override {}
    /// Enables the light and sends its colours while flag 3 is set, then its
    /// position under the camera's view, every time. update sets flag 3 in
    /// every frame while flag 1 is set, as it is from construction on.
    void apply() override;
    /// Follows the transform: the world position goes into the record.
    void update(float dt) override;
    /// The marker point in the diffuse colour while flag 4 is set.
    void render(float dt) override;

    /// OrvLightData::POINT, DIRECTIONAL or SPOT; the value is stored
    /// unchecked. getLightType gives POINT for a light without a record.
    ///@{
    virtual void setLightType(int newType);
    virtual int getLightType() const;
    ///@}
    /// Each takes red, green, blue and alpha and ignores a null colour.
    ///@{
    virtual void setAmbient(const float* color);
    virtual void setDiffuse(const float* color);
    virtual void setSpecular(const float* color);
    ///@}
    /// A spot light's axis, and a directional light's direction, which is
    /// sent as its GL position with w = 0 and so points towards the light.
    virtual void setDirection(float x, float y, float z);
    /// Refused with a WARNING when a factor is negative. Directional lights
    /// are sent without attenuation.
    virtual void setAttenuation(float constant, float linear, float quadratic);
    /// The spot cone's half-angle in degrees; refused with a WARNING outside
    /// 0 to 90.
    virtual void setSpotCutoff(float degrees);

    /// The parameter record the light owns; null only when it could not be
    /// allocated.
    const OrvLightData* getLightData() const { return data; }

  private:
    void markChanged();

    OrvLightData* data;
};
