// The engine's public API in one include.
#pragma once

#include "core/orv_hash_table.h"
#include "core/orv_linked_list.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_main.h"
#include "geometry/orv_triangle.h"
#include "geometry/orv_triangle_creator.h"
#include "scene/orv_light.h"
#include "scene/orv_light_creator.h"
