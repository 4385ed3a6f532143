#include "orv_picture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>

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

bool OrvPicture::writePpm(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            out.write(reinterpret_cast<const char*>(at(x, y)), 3);
        }
    }
    return static_cast<bool>(out);
}

void OrvPicture::keep(const std::string& name) const {
    const char* folder = std::getenv("ORVANE_TEST_PICTURES");
    if (folder != nullptr && folder[0] != '\0') {
        writePpm(std::string(folder) + "/" + name + ".ppm");
    }
}
