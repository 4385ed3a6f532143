/// @file
/// OrvMaterial, the node that carries surface colours, a GPU shader and textures.
#pragma once

#include "scene/orv_scene_node.h"

struct OrvMaterialData;
class OrvGpuShader;
class OrvTexture;

/// A node that carries fixed-function surface colours and a shininess, and optionally a GPU
/// shader that is active while faces with this material are drawn. The material owns its
/// colour record; the shader is a node of the node manager and is only pointed at. Materials
/// made through OrvMaterialMgr::getMaterial are listed there, and destroying one takes it off
/// that list.
class OrvMaterial : public OrvSceneNode {
  public:
    OrvMaterial();
    ~OrvMaterial() override;

    /// Also copies the name into the colour record.
    void setName(const char* newName) override;
    int getTypeId() const override { return ORV_KIND_MATERIAL; }
    const char* getTypeName() const override { return ORV_NODE_MATERIAL; }
    /// Restores every colour and the shininess; the name, shader and
    /// textures stay.
    void reset() override;
    void release() override {}
    /// Sends the colours and the shininess to the renderer.
    void apply() override;
    void update(float) override {}
    /// The colour setters take red, green, blue and alpha, and ignore null.
    ///@{
    virtual void setAmbient(const float rgba[4]);
    virtual void setDiffuse(const float rgba[4]);
    virtual void setSpecular(const float rgba[4]);
    ///@}
    /// The specular exponent, sent to the renderer as it is.
    virtual void setShininess(float value);

    /// The shader bound around this material's faces; null draws with the
    /// fixed-function pipeline. The material does not own it.
    ///@{
    void setGpuShader(OrvGpuShader* shader) { gpuShader = shader; }
    OrvGpuShader* getGpuShader() const { return gpuShader; }
    ///@}
    /// Lets go of the shader when it is the one attached; the node manager
    /// calls it for a shader about to be destroyed.
    void forgetGpuShader(const OrvSceneNode* shader);
    /// Both do nothing without an attached shader.
    ///@{
    void bindShader();
    void unbindShader();
    ///@}

    /// Texture slots: unit i samples the texture with texture coordinate set
    /// i. Units run from 0 to the renderer's unit count less one, at most
    /// kTextureSlots - 1.
    static constexpr int kTextureSlots = 8;
    /// Puts @p texture in the slot of @p unit and returns 0; a unit outside
    /// gets a WARNING line and -1. A null texture empties the slot (-1,
    /// without a line, only for a unit outside 0 to kTextureSlots - 1).
    /// Textures listed by OrvTextureMgr count the slots using them, so the
    /// last slot to let go destroys the texture.
    int setTexture(int unit, OrvTexture* texture);
    /// The file's texture through OrvTextureMgr; -1 for a null path, a unit
    /// outside (with a WARNING line) or a file that cannot be loaded, which
    /// leaves the slot as it was: an empty slot keeps the material drawing
    /// untextured.
    int setTexture(int unit, const char* path);
    /// The texture in the slot of @p unit; null for an empty slot or a unit
    /// outside 0 to kTextureSlots - 1. The material does not own it.
    OrvTexture* getTexture(int unit) const;
    /// Empties every slot that holds @p texture, without telling the texture
    /// manager; the node manager calls it for a texture about to be destroyed.
    void forgetTexture(const OrvSceneNode* texture);
    /// Upload waiting pictures and bind every uploaded slot's texture to its
    /// unit, and unbind them again; both do nothing for a material without
    /// textures.
    ///@{
    void bindTextures();
    void unbindTextures();
    ///@}

    /// The colour record the material owns; null only when it could not be
    /// allocated.
    const OrvMaterialData* getMaterialData() const { return materialData; }

  private:
    void setColor(float* target, const float rgba[4]);
    bool isTextureUnit(int unit);

    OrvMaterialData* materialData;
    OrvGpuShader* gpuShader;
    OrvTexture* textures[kTextureSlots];
};
