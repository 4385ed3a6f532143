/// @file
/// OrvSceneNodeCreator, the maker of nodes of one class for the node manager.
#pragma once

class OrvSceneNode;

/// Makes nodes of one class for the node manager, which finds it by its type
/// string. Each node class has one concrete creator that allocates the node
/// with ORV_NEW in the creator's own source file. The engine root owns the
/// creators; the manager only keeps pointers to them.
class OrvSceneNodeCreator {
  public:
    OrvSceneNodeCreator() = default;  ///< A creator holds no state.
    /// Does not unregister itself: its owner unregisters it from the node
    /// manager before deleting it, or the manager keeps a dangling pointer.
    virtual ~OrvSceneNodeCreator();

    /// Creators are not copied: the node manager keeps one pointer per type string.
    ///@{
    OrvSceneNodeCreator(const OrvSceneNodeCreator&) = delete;
    OrvSceneNodeCreator& operator=(const OrvSceneNodeCreator&) = delete;
    ///@}

    /// Returns a new node, or null when it could not be allocated. The caller
    /// (the node manager's createNode) takes ownership.
    virtual OrvSceneNode* createNode() = 0;
    /// One of the ORV_NODE_ type strings; the node's getTypeName matches it.
    virtual const char* getTypeName() const = 0;
};
