// OrvSceneNodeMgr: the one factory and owner of nodes. Creators are
// registered by type string in the hash table this class derives from;
// createNode asks the matching creator for a node and keeps it in a list
// until destroyNode or killAllNodes deletes it. The single instance lives
// until the process ends and is kept out of the allocator's leak report.
#pragma once

#include "core/orv_hash_table.h"
#include "core/orv_linked_list.h"

class OrvSceneNode;
class OrvSceneNodeCreator;

class OrvSceneNodeMgr : public OrvHashTable {
  public:
    static OrvSceneNodeMgr* getInstance();

    // Drops every creator and node, then starts again with an empty table.
    void init();
    // Drops every creator and deletes every node still alive.
    void terminate();
    void killAllNodes();

    // The manager keeps the pointer, it does not own the creator. A second
    // creator for a type string already registered is refused.
    void registerCreator(OrvSceneNodeCreator* creator);
    void unregisterCreator(const char* typeName);

    // Null for a null or unregistered type string or a failed allocation. A
    // null name keeps the class's default name.
    OrvSceneNode* createNode(const char* typeName, const char* name);
    // Ignores pointers the manager does not hold, so a second call is harmless.
    void destroyNode(OrvSceneNode* node);
    int isNode(OrvSceneNode* node);
    int getNodeCount() const { return nodes.getCount(); }

  private:
    OrvSceneNodeMgr();
    ~OrvSceneNodeMgr() override = default;

    OrvLinkedList nodes;
    bool tableAllocated = false;
};
