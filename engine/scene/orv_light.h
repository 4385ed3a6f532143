// OrvLight: the scene object that drives one fixed-function OpenGL light. Its
// parameters live in an owned OrvLightData record that is handed whole to the
// renderer, which assigns the light a GL light unit at its first apply and
// writes the unit back. The light can also show itself as a coloured point.
#pragma once

#include "render/orv_light_data.h"
#include "scene/orv_scene_object.h"

class OrvLight : public OrvSceneObject {
  public:
    static constexpr float kMarkerSize = 4.0f;
    // The spot cone half-angles OpenGL accepts.
    static constexpr float kMaxSpotCutoff = 90.0f;

    OrvLight();
    ~OrvLight() override;

    // The node's name, copied into the record as well.
    void setName(const char* newName) override;
    int getTypeId() const override { return ORV_KIND_LIGHT; }
    const char* getTypeName() const override { return ORV_NODE_LIGHT; }
    // Restores the record's defaults (the name and an assigned unit stay) and
    // the default position; the parameters are not marked changed.
    void reset() override;
    void release() override {}
    // Enables the light and sends its colours while flag 3 is set, then its
    // position under the camera's view, every time. update sets flag 3 in
    // every frame while flag 1 is set, as it is from construction on.
    void apply() override;
    // Follows the transform: the world position goes into the record.
    void update(float dt) override;
    // The marker point in the diffuse colour while flag 4 is set.
    void render(float dt) override;

    // OrvLightData::POINT, DIRECTIONAL or SPOT.
    virtual void setLightType(int newType);
    virtual int getLightType() const;
    // Each ignores a null colour.
    virtual void setAmbient(const float* color);
    virtual void setDiffuse(const float* color);
    virtual void setSpecular(const float* color);
    // The direction a directional light shines in and a spot light's axis.
    virtual void setDirection(float x, float y, float z);
    // Refused with a WARNING when a factor is negative.
    virtual void setAttenuation(float constant, float linear, float quadratic);
    // The spot cone's half-angle; refused with a WARNING outside 0 to 90.
    virtual void setSpotCutoff(float degrees);

    const OrvLightData* getLightData() const { return data; }

  private:
    void markChanged();

    OrvLightData* data;
};
