// OrvSceneNodeCreator: makes nodes of one class for the node manager, which
// finds it by its type string. Each node class has one concrete creator that
// allocates the node with ORV_NEW in the creator's own source file. The
// engine root owns the creators; the manager only keeps pointers to them.
#pragma once

class OrvSceneNode;

class OrvSceneNodeCreator {
  public:
    OrvSceneNodeCreator() = default;
    virtual ~OrvSceneNodeCreator();

    OrvSceneNodeCreator(const OrvSceneNodeCreator&) = delete;
    OrvSceneNodeCreator& operator=(const OrvSceneNodeCreator&) = delete;

    // Returns a new node, or null when it could not be allocated.
    virtual OrvSceneNode* createNode() = 0;
    // One of the ORV_NODE_ type strings; the node's getTypeName matches it.
    virtual const char* getTypeName() const = 0;
};
