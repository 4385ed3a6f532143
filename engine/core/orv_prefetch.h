/// @file
/// orvPrefetch, the hint that memory is about to be read.
#pragma once

#include <cstddef>

/// orvPrefetch: asks the processor to start loading memory that is about to be
/// read. A scene's objects, their records and their list entries lie scattered
/// over the heap, so a frame over thousands of them waits on memory more than
/// it computes; fetching the next object's memory while the current one draws
/// hides most of that wait. A prefetch never faults, whatever the address.
///
/// One request goes out per 64-byte step over @p bytes from @p address; 0 bytes
/// asks for nothing.
inline void orvPrefetch(const void* address, size_t bytes) {
    constexpr size_t kCacheLine = 64;
    const char* start = static_cast<const char*>(address);
    for (size_t at = 0; at < bytes; at += kCacheLine) {
        __builtin_prefetch(start + at);
    }
}
