// Test helper: a node made through the node manager, cast to its class, as
// the engine's own code makes nodes of a type it knows.
#pragma once

#include "scene/orv_scene_node_mgr.h"

// A node made through the node manager, cast to its class.
template <typename Node>
Node* createNode(const char* typeName, const char* name = nullptr) {
    return static_cast<Node*>(OrvSceneNodeMgr::getInstance()->createNode(typeName, name));
}
