// OrvMaterialMgr: the list of materials made through getMaterial, in
// creation order, to find them by name or node id and to destroy them all at
// shutdown. The materials are nodes of the node manager; this list only
// points at them. The single instance lives until the process ends and is
// kept out of the allocator's leak report.
#pragma once

#include "orv_linked_list.h"

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
};
