#include "render/orv_image_decode_status.h"

#include <cstdarg>
#include <cstdio>

#include "render/orv_image.h"

int OrvImageDecodeStatus::fail(int failure, const char* format, ...) {
    if (result != RESULT_OK) {
        return result;
    }
    result = failure;
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(cause, sizeof(cause), format, arguments);
    va_end(arguments);
    return result;
}

bool OrvImageDecodeStatus::checkSize(uint32_t width, uint32_t height) {
    const uint32_t limit = kMaxSide;
    if (width >= 1 && height >= 1 && width <= limit && height <= limit) {
        return true;
    }
    fail(RESULT_BAD_SIZE, "size %u x %u is outside 1 to %d pixels a side", width, height, kMaxSide);
    return false;
}

bool OrvImageDecodeStatus::allocate(OrvImage* image, uint32_t width, uint32_t height) {
    if (!checkSize(width, height)) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(width) * height * OrvImage::kChannels;
    if (bytes > memoryLimit ||
        !image->allocate(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
        fail(RESULT_OUT_OF_MEMORY, "out of memory for %u x %u pixels", width, height);
        return false;
    }
    return true;
}
