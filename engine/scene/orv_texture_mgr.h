/// @file
/// OrvTextureMgr, the textures materials share, by name.
#pragma once

#include "core/orv_linked_list.h"

class OrvSceneNodeCreator;
class OrvTexture;

/// The textures materials share, by name. getTexture loads each file once and lists the
/// texture under the file's path; materials count themselves in and out with addUser and
/// removeUser, and the texture is destroyed, freeing its GL texture, when the last one leaves.
/// The manager registers the texture creator with the node manager at its first use, so a
/// program that never uses a texture starts, runs and stops exactly as before. The single
/// instance lives until the process ends and is kept out of the allocator's leak report.
class OrvTextureMgr : public OrvLinkedList {
  public:
    /// The single instance, made at the first call and never deleted.
    static OrvTextureMgr* getInstance();
    /// terminate on the instance if there is one; nothing otherwise.
    static void shutdown();
    /// Takes a texture being destroyed off the list, if there is one.
    static void forget(OrvTexture* texture);

    /// The listed texture of that name, else the file at path decoded into a
    /// new listed texture named after it. Null for a null path, or when the
    /// file cannot be loaded (after the loader's WARNING line) or no node can
    /// be made.
    OrvTexture* getTexture(const char* path);
    /// A new listed texture without a picture, for pictures made in memory;
    /// null when the name is null or taken or no node can be made.
    OrvTexture* createTexture(const char* name);
    /// The listed texture of that name, or null (also for a null name).
    /// Names are compared in their first 127 characters.
    OrvTexture* findByName(const char* name);

    /// Counts one more or one fewer material slot using a listed texture; the
    /// count reaching 0 destroys it. Textures not listed are left alone.
    ///@{
    void addUser(OrvTexture* texture);
    void removeUser(OrvTexture* texture);
    ///@}

    /// Destroys every listed texture through the node manager, whatever its
    /// count of users.
    void destroyAllTextures();
    /// Destroys every listed texture and unregisters and deletes the creator,
    /// then writes the DEBUG line "OrvTextureMgr::terminate(): ok.".
    void terminate();

  private:
    OrvTextureMgr() = default;
    ~OrvTextureMgr() = default;

    // Registers the creator unless the node manager has one; false when
    // there is none to be had.
    bool ensureCreator();
    // A listed texture node of that name, or null.
    OrvTexture* makeListed(const char* name);
    void destroy(OrvTexture* texture);
    bool isListed(const OrvTexture* texture);

    OrvSceneNodeCreator* creator = nullptr;
};
