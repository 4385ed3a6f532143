// The engine's public API in one include.
#pragma once

#include "core/orv_hash_table.h"
#include "core/orv_linked_list.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
