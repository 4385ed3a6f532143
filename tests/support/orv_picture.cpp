#include "orv_picture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "render/orv_image.h"
#include "render/orv_png_codec.h"

OrvPicture OrvPicture::readBackBuffer(int width, int height) {
    OrvPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.resize(static_cast<size_t>(4) * width * height);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
    return picture;
}

int OrvPicture::countNot(int r, int g, int b, int tolerance) const {
    int count = 0;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const bool same = std::abs(rgba[i] - r) <= tolerance &&
                          std::abs(rgba[i + 1] - g) <= tolerance &&
                          std::abs(rgba[i + 2] - b) <= tolerance;
        count += same ? 0 : 1;
    }
    return count;
}

bool OrvPicture::writePng(const std::string& path) const {
    OrvImage image = {};
    if (!image.allocate(width, height)) {
        return false;
    }
    // The picture's rows run bottom-up, the image's top-down.
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.at(0, height - 1 - y), at(0, y), image.rowBytes());
    }
    const bool written = OrvPngCodec::write(path.c_str(), &image) == 0;
    image.release();
    return written;
}

void OrvPicture::keep(const std::string& name) const {
    const char* folder = std::getenv("ORVANE_TEST_PICTURES");
    if (folder != nullptr && folder[0] != '\0') {
        writePng(std::string(folder) + "/" + name + ".png");
    }
}
