#include "render/orv_image.h"

#include "core/orv_memory_allocator.h"

bool OrvImage::allocate(int32_t newWidth, int32_t newHeight) {
    release();
    if (newWidth <= 0 || newHeight <= 0) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight) * kChannels;
    pixels = ORV_NEW uint8_t[bytes];
    if (pixels == nullptr) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    return true;
}

void OrvImage::release() {
    if (pixels != nullptr) {
        ORV_DELETE_ARRAY(pixels);
    }
    pixels = nullptr;
    width = 0;
    height = 0;
}
