/// @file
/// orvCopyBounded, the copy into a fixed-size name buffer.
#pragma once

#include <cstddef>
#include <cstring>

/// orvCopyBounded: fills a fixed-size name buffer. At most size - 1 characters
/// of src are copied and the rest of dst is cleared, so the result is always
/// terminated and the buffer's bytes never depend on what it held before.
/// memmove lets an object be given a name that already lives in the buffer.
///
/// @p size must be at least 1 and @p src must not be null: neither is checked.
inline void orvCopyBounded(char* dst, size_t size, const char* src) {
    size_t length = strnlen(src, size - 1);
    memmove(dst, src, length);
    memset(dst + length, 0, size - length);
}
