// OrvMaterialMgr: the list of materials made through getMaterial, in
// creation order, to find them by name or node id and to destroy them all at
// shutdown. The materials are nodes of the node manager; this list only
// points at them. The single instance lives until the process ends and is
// kept out of the allocator's leak report.
#pragma once

#include "core/orv_linked_list.h"

class OrvHashTable;
class OrvMaterial;

class OrvMaterialMgr : public OrvLinkedList {
  public:
    static OrvMaterialMgr* getInstance();

    // The listed material of that name, else a new one made through the node
    // manager and listed; a null name always makes a new "material_%d". Null
    // when no material can be made.
    OrvMaterial* getMaterial(const char* name);
    // Names are compared in their first 127 characters.
    OrvMaterial* findByName(const char* name);
    OrvMaterial* findById(int id);
    // Takes the material off the list; the node itself is left alone.
    void removeMaterial(OrvMaterial* material);
    // Destroys every listed material through the node manager.
    void destroyAllMaterials();
    void terminate();

  private:
    OrvMaterialMgr() = default;
    ~OrvMaterialMgr() = default;

    // Lists the material and files it under its node id; 0 when it could
    // not be listed.
    int list(OrvMaterial* material);

    // The listed materials by node id: every mesh looks up the material of
    // each of its ranges every frame. Made with the first listed material and
    // released with the last, so that an idle manager holds no block.
    OrvHashTable* byId = nullptr;
    // The material found last: consecutive meshes mostly share materials.
    OrvMaterial* lastFound = nullptr;
};
