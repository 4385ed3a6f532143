// Orvane: the engine's public API in one include.
#pragma once

#include "orv_node_types.h"
#include "orv_scene_node.h"
#include "orv_scene_node_creator.h"
#include "orv_scene_node_mgr.h"
