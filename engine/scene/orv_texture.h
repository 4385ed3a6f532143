/// @file
/// OrvTexture, the node that holds a picture for materials to draw with.
#pragma once

#include <cstddef>

#include "scene/orv_scene_node.h"

struct OrvImage;
struct OrvTextureData;

/// A picture for materials to draw with. The node holds the renderer's texture record and,
/// until the first draw that needs it, the decoded picture; apply uploads the picture through
/// the renderer and lets it go. Textures loaded from files are made and shared through
/// OrvTextureMgr, which counts the materials using each one and destroys it when the last lets
/// go.
class OrvTexture : public OrvSceneNode {
  public:
    OrvTexture();
    ~OrvTexture() override;

    /// Also copies the name into the texture record.
    void setName(const char* newName) override;
    int getTypeId() const override { return ORV_KIND_TEXTURE; }
    const char* getTypeName() const override { return ORV_NODE_TEXTURE; }
    /// Mipmapped, linear, repeating; the GL texture and picture stay.
    void reset() override;
    /// Frees the GL texture and any picture not yet uploaded.
    void release() override;
    /// Uploads a waiting picture. The picture is let go whatever the upload
    /// gave, so a texture the driver refuses is not tried every frame.
    void apply() override;
    void update(float) override {}

    /// Decode a picture to upload at the next apply; each returns 0 or the
    /// OrvImageDecodeStatus result, after the loader's WARNING line. A failed
    /// decode also drops any picture still waiting; an uploaded one stays.
    ///@{
    int loadFromFile(const char* path);
    int loadFromMemory(const void* data, size_t size);
    ///@}
    /// Takes the picture's pixels over (the image is empty afterwards) to
    /// upload at the next apply; 0, or -1 for a null or empty picture.
    int takeImage(OrvImage* image);

    /// Settings used by the next upload: OrvTextureData filter and wrap codes,
    /// and 1 or 0 for a mipmap chain (any value but 0 counts as 1).
    ///@{
    void setFilters(int minFilter, int magFilter);
    void setWrap(int wrapS, int wrapT);
    void setMipmaps(int on);
    ///@}

    /// True once the renderer holds the picture.
    bool isUploaded() const;
    /// The texture record the node owns; null only when it could not be
    /// allocated.
    const OrvTextureData* getTextureData() const { return textureData; }

    /// The texture manager's count of the material slots using the texture.
    /// Setting it does not destroy the texture; only OrvTextureMgr::removeUser
    /// does.
    ///@{
    int getUserCount() const { return users; }
    void setUserCount(int count) { users = count; }
    ///@}

  private:
    // The picture waiting for upload, or null.
    OrvImage* pending;
    OrvTextureData* textureData;
    int32_t users;

    // A fresh empty picture record for a decode; null when out of memory.
    OrvImage* freshPicture();
    // Keeps a decoded picture or frees a failed one.
    int keepDecoded(int result);
};
