/// @file
/// OrvSceneNode, the abstract base of every engine node, and its class-code record.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"
#include "scene/orv_node_types.h"

/// One class code of a node's chain of classes; each is allocated by itself.
struct OrvSceneNodeKind {
    int32_t code;  ///< One of the OrvNodeKind codes.
};

/// The abstract base of every engine node. It gives a node its id, name, flags
/// and tag, records the class codes of its chain of classes for kind tests, and
/// fixes the order of the virtual operations that every node class keeps. Nodes
/// are made and deleted only by the node manager (OrvSceneNodeMgr), which owns
/// them; a node never deletes its children.
class OrvSceneNode {
  public:
    static constexpr int kFlagCount = 13;  ///< Flags per node, indexed 0..12 (OrvNodeFlag).
    /// Bytes of the name buffer: names keep at most 127 characters.
    static constexpr int kNameSize = 128;
    static constexpr int kTagLength = 4;  ///< Characters a tag keeps.

    /// Records class code ORV_KIND_NODE, takes the next engine-wide unique id
    /// (the counter scenes draw from too) and names the node "node_<id>"; every
    /// flag starts at 0 and the tag empty. Programs make nodes through
    /// OrvSceneNodeMgr::createNode, never by themselves.
    OrvSceneNode();
    /// Empties the children lists below the node without deleting a child, and
    /// frees the class-code records. Only the node manager deletes nodes.
    virtual ~OrvSceneNode();

    /// Nodes are not copied: each has its own id and belongs to the node manager.
    ///@{
    OrvSceneNode(const OrvSceneNode&) = delete;
    OrvSceneNode& operator=(const OrvSceneNode&) = delete;
    ///@}

    /// Null leaves the name as it is; longer names are cut to 127 characters.
    /// Light, mesh, material and GPU shader copy the name into their data
    /// record as well.
    virtual void setName(const char* newName);
    /// Both return the index; an index outside 0..12 stores nothing and reads 0.
    /// The indices and what each class makes of them are the OrvNodeFlag values.
    ///@{
    virtual int setFlag(int index, int value);
    virtual int getFlag(int index) const;
    ///@}
    /// The concrete class's own code (OrvNodeKind), such as ORV_KIND_CAMERA for
    /// a camera; isKindOf tests the base classes too.
    virtual int getTypeId() const = 0;
    /// The node's type string (ORV_NODE_CAMERA and the rest), the same text its
    /// creator registers under; log lines name a node by it.
    virtual const char* getTypeName() const = 0;
    /// Restores the node's default parameters (light, material, GPU shader,
    /// texture); the id, name and tag stay, and nothing is freed. Classes
    /// without parameters of their own (camera, gizmo, mesh, triangle) do
    /// nothing.
    virtual void reset() = 0;
    /// Frees what the node holds besides its own fields: its data arrays and
    /// the GPU objects made for them (mesh, triangle, GPU shader, texture). The
    /// node itself stays alive; a released mesh or triangle draws nothing until
    /// it is filled again. Every destructor releases too, so callers need it
    /// only to give memory back early. Classes without such data do nothing.
    virtual void release() = 0;
    /// Sends the node's state to the renderer just before it is drawn: camera
    /// (viewport, projection, view), light (enable, colours, position),
    /// material (surface colours), texture (a picture waiting for upload). Only
    /// what a setter marked changed is sent, and the mark is cleared. The scene
    /// calls it once per frame for its first camera and every drawn object;
    /// without a renderer it does nothing. The other classes do nothing or
    /// only clear a flag.
    virtual void apply() = 0;
    /// Per-frame update before anything is drawn: the scene calls it once per
    /// frame on every object it holds. @p dt is the time since the previous
    /// frame in seconds. Work that a setter marked by a flag (transform rebuild,
    /// a mesh's regrouping by material and normals, a light's position) is done
    /// here, never while drawing.
    virtual void update(float dt) = 0;

    /// The engine-wide unique id taken at construction; it never changes.
    int getId() const { return id; }
    /// The node's name, at most 127 characters; never null.
    const char* getName() const { return name; }
    /// The tag, at most 4 characters; the node manager tags its nodes "OSNM".
    /// Never null, empty until set.
    const char* getTag() const { return tag; }
    /// Null leaves the tag as it is; longer tags are cut to 4 characters.
    void setTag(const char* newTag);
    /// 1 when @p code (OrvNodeKind) is the code of the node's class or of one of
    /// its bases, else 0: a camera is a kind of ORV_KIND_CAMERA,
    /// ORV_KIND_SCENE_OBJECT and ORV_KIND_NODE.
    int isKindOf(int code);

    /// Empties every children list in the subtree below root (this node when
    /// root is null), deepest first; no node is deleted.
    void detachAllChildren(OrvSceneNode* root);
    /// Destroys the subtree below root (this node when root is null) through
    /// the node manager, children before parents; root itself survives.
    void destroyAllChildren(OrvSceneNode* root);

  protected:
    /// Records a class code in the node's chain; each constructor calls it with
    /// its own class's code, after its base's. Nothing is recorded when the
    /// record cannot be allocated.
    void addKind(int code);
    /// Names the node "<word>_<id>" through the virtual setName, so a class
    /// that keeps its name in a data record as well gets it there too.
    void setDefaultName(const char* word);

    /// The child nodes (OrvSceneNode pointers), not owned. Null entries are
    /// skipped by the walks over children.
    OrvLinkedList children;
    int32_t flags[kFlagCount];  ///< The node flags, indexed by OrvNodeFlag.
    int32_t id;                 ///< See getId.
    char name[kNameSize];       ///< See getName; always terminated.
    char tag[kTagLength + 1];   ///< See getTag; always terminated.
    /// The class codes (OrvSceneNodeKind records, owned), base class first.
    OrvLinkedList kinds;
};
