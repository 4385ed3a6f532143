// OrvMaterial: a node that carries fixed-function surface colours and a
// shininess, and optionally a GPU shader that is active while faces with this
// material are drawn. The material owns its colour record; the shader is a
// node of the node manager and is only pointed at. Materials made through
// OrvMaterialMgr::getMaterial are listed there, and destroying one takes it
// off that list.
#pragma once

#include "scene/orv_scene_node.h"

struct OrvMaterialData;
class OrvGpuShader;
class OrvTexture;

class OrvMaterial : public OrvSceneNode {
  public:
    OrvMaterial();
    ~OrvMaterial() override;

    // Also copies the name into the colour record.
    void setName(const char* newName) override;
    int getTypeId() const override { return ORV_KIND_MATERIAL; }
    const char* getTypeName() const override { return ORV_NODE_MATERIAL; }
    // Restores every colour and the shininess; the name and shader stay.
    void reset() override;
    void release() override {}
    // Sends the colours to the renderer.
    void apply() override;
    void update(float) override {}
    // The colour setters ignore null.
    virtual void setAmbient(const float rgba[4]);
    virtual void setDiffuse(const float rgba[4]);
    virtual void setSpecular(const float rgba[4]);
    virtual void setShininess(float value);

    void setGpuShader(OrvGpuShader* shader) { gpuShader = shader; }
    OrvGpuShader* getGpuShader() const { return gpuShader; }
    // Lets go of the shader when it is the one attached; the node manager
    // calls it for a shader about to be destroyed.
    void forgetGpuShader(const OrvSceneNode* shader);
    // Both do nothing without an attached shader.
    void bindShader();
    void unbindShader();

    // Texture slots: unit i samples the texture with texture coordinate set
    // i. Units run from 0 to the renderer's unit count less one, at most
    // kTextureSlots - 1; a unit outside gets a WARNING line and -1. A null
    // texture empties the slot. Textures listed by OrvTextureMgr count the
    // slots using them, so the last slot to let go destroys the texture.
    static constexpr int kTextureSlots = 8;
    int setTexture(int unit, OrvTexture* texture);
    // The file's texture through OrvTextureMgr; a file that cannot be loaded
    // leaves the slot empty, so the material draws untextured.
    int setTexture(int unit, const char* path);
    OrvTexture* getTexture(int unit) const;
    // Upload waiting pictures and bind every uploaded slot's texture to its
    // unit, and unbind them again; both do nothing for a material without
    // textures.
    void bindTextures();
    void unbindTextures();

    // Null only when the record could not be allocated.
    const OrvMaterialData* getMaterialData() const { return materialData; }

  private:
    void setColor(float* target, const float rgba[4]);
    bool isTextureUnit(int unit);

    OrvMaterialData* materialData;
    OrvGpuShader* gpuShader;
    OrvTexture* textures[kTextureSlots];
};
