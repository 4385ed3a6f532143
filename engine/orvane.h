// The engine's public API in one include.
#pragma once

#include "core/orv_hash_table.h"
#include "core/orv_linked_list.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_node_types.h"
#include "scene/orv_scene_node.h"
#include "scene/orv_scene_node_creator.h"
#include "scene/orv_scene_node_mgr.h"
