/// @file
/// OrvSceneNodeMgr, the one factory and owner of nodes.
#pragma once

#include "core/orv_hash_table.h"
#include "core/orv_linked_list.h"
#include "core/orv_pointer_map.h"

class OrvScene;
class OrvSceneNode;
class OrvSceneNodeCreator;

/// The one factory and owner of nodes. Creators are registered by type string
/// in the hash table this class derives from; createNode asks the matching
/// creator for a node and keeps it in a list until destroyNode or killAllNodes
/// deletes it. The single instance lives until the process ends and is kept out
/// of the allocator's leak report.
class OrvSceneNodeMgr : public OrvHashTable {
  public:
    /// The single manager, made with an empty creator table at the first call.
    static OrvSceneNodeMgr* getInstance();

    /// Drops every creator and node, then starts again with an empty table.
    void init();
    /// Drops every creator and deletes every node still alive.
    void terminate();
    /// Deletes every node in creation order, after every scene has forgotten
    /// its objects; the creators stay registered. Logs a DEBUG line per node.
    void killAllNodes();

    /// The manager keeps the pointer, it does not own the creator. A second
    /// creator for a type string already registered is refused, and so is a
    /// creator without a type string, each with a WARNING line; null is ignored.
    void registerCreator(OrvSceneNodeCreator* creator);
    /// Forgets the creator of that type string, so createNode refuses it from
    /// now on; the nodes it made live on. Null is ignored.
    void unregisterCreator(const char* typeName);

    /// Null for a null or unregistered type string or a failed allocation. A
    /// null name keeps the class's default name. The manager owns the node and
    /// tags it "OSNM"; free it with destroyNode, never with delete.
    OrvSceneNode* createNode(const char* typeName, const char* name);
    /// Ignores pointers the manager does not hold, so a second call is
    /// harmless. Before the node is deleted, everything that points at it lets
    /// go: the scenes drop it from their lists, render states drop a material,
    /// materials drop a GPU shader. Constant time for a node nobody holds.
    void destroyNode(OrvSceneNode* node);
    /// 1 when the manager holds the node (made by createNode and not yet
    /// destroyed), else 0; null gives 0. Constant time.
    int isNode(OrvSceneNode* node);
    /// How many nodes are alive.
    int getNodeCount() const { return nodes.getCount(); }

    /// Scenes register themselves for as long as they exist, so that a node
    /// destroyed anywhere leaves no scene pointing at it. registerScene returns
    /// 1, or 0 when the scene could not be recorded; registering twice is
    /// harmless. OrvScene does both itself.
    ///@{
    int registerScene(OrvScene* scene);
    void unregisterScene(OrvScene* scene);
    ///@}

    /// Calls visit(node) for every node in creation order, without moving the
    /// list's cursor; visit must not create or destroy nodes.
    template <typename Visit>
    void forEachNode(Visit visit) const {
        for (OrvLinkedListNode* n = nodes.getHead(); n != nullptr; n = n->next) {
            visit(static_cast<OrvSceneNode*>(n->data));
        }
    }

  private:
    OrvSceneNodeMgr();
    ~OrvSceneNodeMgr() override = default;

    void detachFromHolders(OrvSceneNode* node);
    void unlist(OrvSceneNode* node, OrvLinkedListNode* previous);

    OrvLinkedList nodes;
    // Every node in nodes, mapped to the list entry before its own (null for
    // the head), so that a node is found and unlinked in constant time.
    OrvPointerMap entryBefore;
    // The scenes alive; the values are unused.
    OrvPointerMap scenes;
    bool tableAllocated = false;
};
