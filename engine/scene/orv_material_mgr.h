/// @file
/// OrvMaterialMgr, the list of the materials made through it.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"

class OrvMaterial;

/// The list of materials made through getMaterial, in creation order, to find them by name or
/// node id and to destroy them all at shutdown. The materials are nodes of the node manager;
/// this list only points at them. The single instance lives until the process ends and is kept
/// out of the allocator's leak report.
class OrvMaterialMgr : public OrvLinkedList {
  public:
    /// The single instance, made at the first call and never deleted.
    static OrvMaterialMgr* getInstance();

    /// The listed material of that name, else a new one made through the node
    /// manager and listed; a null name always makes a new one, named "material_"
    /// and its node id. Null when no material can be made (a WARNING line when
    /// it could not be listed).
    OrvMaterial* getMaterial(const char* name);
    /// The listed material of that name, or null (also for a null name).
    /// Names are compared in their first 127 characters.
    OrvMaterial* findByName(const char* name);
    /// The listed material with that node id, or null. Meshes call it for
    /// every range they draw, so it is a binary search behind a one-entry
    /// cache.
    OrvMaterial* findById(int id);
    /// Takes the material off the list; the node itself is left alone.
    void removeMaterial(OrvMaterial* material);
    /// Destroys every listed material through the node manager.
    void destroyAllMaterials();
    /// Destroys every listed material, then writes the DEBUG line
    /// "OrvMaterialMgr::terminate(): ok."; the instance stays usable.
    void terminate();

  private:
    OrvMaterialMgr() = default;
    ~OrvMaterialMgr() = default;

    // Lists the material and files it under its node id; 0 when it could
    // not be listed.
    int list(OrvMaterial* material);

    // The slot of that id in byId, or where it would be inserted.
    int32_t idSlot(int id) const;
    int fileById(OrvMaterial* material);
    void unfileById(OrvMaterial* material);

    // The listed materials sorted by node id: every mesh looks up the material
    // of each of its ranges every frame. A plain array rather than a hash
    // table, because the table's list entries would draw ids from the counter
    // that numbers the nodes, and every later default name would shift. Made
    // with the first listed material and released with the last, so that an
    // idle manager holds no block.
    OrvMaterial** byId = nullptr;
    int32_t byIdCount = 0;
    int32_t byIdCapacity = 0;
    // The material found last: consecutive meshes mostly share materials.
    OrvMaterial* lastFound = nullptr;
};
