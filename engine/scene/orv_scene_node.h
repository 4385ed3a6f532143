// OrvSceneNode: the abstract base of every engine node. It gives a node its
// id, name, flags and tag, records the class codes of its chain of classes
// for kind tests, and fixes the order of the virtual operations that every
// node class keeps. Nodes are made and deleted only by the node manager,
// which owns them; a node never deletes its children.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"
#include "scene/orv_node_types.h"

// One class code of a node's chain of classes; each is allocated by itself.
struct OrvSceneNodeKind {
    int32_t code;
};

class OrvSceneNode {
  public:
    static constexpr int kFlagCount = 13;
    static constexpr int kNameSize = 128;
    static constexpr int kTagLength = 4;

    OrvSceneNode();
    virtual ~OrvSceneNode();

    OrvSceneNode(const OrvSceneNode&) = delete;
    OrvSceneNode& operator=(const OrvSceneNode&) = delete;

    // Null leaves the name as it is; longer names are cut to 127 characters.
    virtual void setName(const char* newName);
    // Both return the index; an index outside 0..12 stores nothing and reads 0.
    virtual int setFlag(int index, int value);
    virtual int getFlag(int index) const;
    virtual int getTypeId() const = 0;
    virtual const char* getTypeName() const = 0;
    virtual void reset() = 0;
    virtual void release() = 0;
    virtual void apply() = 0;
    virtual void update(float dt) = 0;

    int getId() const { return id; }
    const char* getName() const { return name; }
    const char* getTag() const { return tag; }
    // Null leaves the tag as it is; longer tags are cut to 4 characters.
    void setTag(const char* newTag);
    int isKindOf(int code);

    // Empties every children list in the subtree below root (this node when
    // root is null), deepest first; no node is deleted.
    void detachAllChildren(OrvSceneNode* root);
    // Destroys the subtree below root (this node when root is null) through
    // the node manager, children before parents; root itself survives.
    void destroyAllChildren(OrvSceneNode* root);

  protected:
    void addKind(int code);
    // Names the node "<word>_<id>" through the virtual setName, so a class
    // that keeps its name in a data record as well gets it there too.
    void setDefaultName(const char* word);

    OrvLinkedList children;
    int32_t flags[kFlagCount];
    int32_t id;
    char name[kNameSize];
    char tag[kTagLength + 1];
    OrvLinkedList kinds;
};
