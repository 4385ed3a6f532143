#include "orv_png_file.h"

#include <png.h>

std::string orvWritePng(const std::string& path, int width, int height,
                        const std::vector<uint8_t>& rgbBottomUp) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // A negative stride tells libpng that the buffer holds the bottom row
    // first.
    const png_int_32 stride = -3 * width;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgbBottomUp.data(), stride, nullptr) ==
        0) {
        return image.message;
    }
    return "";
}
