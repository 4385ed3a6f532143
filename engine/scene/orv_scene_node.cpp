#include "scene/orv_scene_node.h"

#include <cstdio>

#include "core/orv_memory_allocator.h"
#include "scene/orv_scene_node_mgr.h"
#include "core/orv_string.h"

OrvSceneNode::OrvSceneNode() : flags{}, id(0), name{}, tag{} {
    addKind(ORV_KIND_NODE);
    id = static_cast<int32_t>(OrvMemoryAllocator::nextUniqueId());
    setDefaultName("node");
}

OrvSceneNode::~OrvSceneNode() {
    detachAllChildren(nullptr);
    for (OrvLinkedListNode* n = kinds.first(0); n != nullptr; n = kinds.next()) {
        OrvSceneNodeKind* kind = static_cast<OrvSceneNodeKind*>(n->data);
        ORV_DELETE(kind);
    }
    kinds.clear();
}

void OrvSceneNode::setName(const char* newName) {
    if (newName == nullptr) {
        return;
    }
    orvCopyBounded(name, sizeof(name), newName);
}

int OrvSceneNode::setFlag(int index, int value) {
    if (index >= 0 && index < kFlagCount) {
        flags[index] = value;
    }
    return index;
}

int OrvSceneNode::getFlag(int index) const {
    if (index < 0 || index >= kFlagCount) {
        return 0;
    }
    return flags[index];
}

void OrvSceneNode::setTag(const char* newTag) {
    if (newTag == nullptr) {
        return;
    }
    orvCopyBounded(tag, sizeof(tag), newTag);
}

int OrvSceneNode::isKindOf(int code) {
    for (OrvLinkedListNode* n = kinds.first(0); n != nullptr; n = kinds.next()) {
        if (static_cast<OrvSceneNodeKind*>(n->data)->code == code) {
            return 1;
        }
    }
    return 0;
}

void OrvSceneNode::detachAllChildren(OrvSceneNode* root) {
    OrvSceneNode* parent = root != nullptr ? root : this;
    for (OrvLinkedListNode* n = parent->children.first(0); n != nullptr;
         n = parent->children.next()) {
        // A null child would stand for the parent itself and never end.
        if (n->data != nullptr) {
            detachAllChildren(static_cast<OrvSceneNode*>(n->data));
        }
    }
    parent->children.clear();
}

void OrvSceneNode::destroyAllChildren(OrvSceneNode* root) {
    OrvSceneNode* parent = root != nullptr ? root : this;
    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    for (OrvLinkedListNode* n = parent->children.first(0); n != nullptr;
         n = parent->children.next()) {
        OrvSceneNode* child = static_cast<OrvSceneNode*>(n->data);
        if (child != nullptr) {
            destroyAllChildren(child);
            manager->destroyNode(child);
        }
    }
    parent->children.clear();
}

void OrvSceneNode::addKind(int code) {
    OrvSceneNodeKind* kind = ORV_NEW OrvSceneNodeKind;
    if (kind == nullptr) {
        return;
    }
    kind->code = code;
    // A record the list could not take would otherwise be lost.
    if (kinds.add(kind) == 0) {
        ORV_DELETE(kind);
    }
}

void OrvSceneNode::setDefaultName(const char* word) {
    char buffer[kNameSize] = {};
    snprintf(buffer, sizeof(buffer), "%s_%d", word, id);
    setName(buffer);
}
