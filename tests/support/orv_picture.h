// OrvPicture: the back buffer of the current context read into memory, for
// tests that check what was drawn and benchmarks that compare two drawings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The back buffer as RGBA bytes, rows bottom-up as OpenGL reads them.
struct OrvPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    // glFinish, then glReadPixels of the back buffer (llvmpipe cannot read the
    // front one) of the current context.
    static OrvPicture readBackBuffer(int width, int height);

    // The pixel at window x, y (y counted from the bottom, as OpenGL does).
    const uint8_t* at(int x, int y) const { return &rgba[4 * (y * width + x)]; }
    // How many pixels differ from the colour (r, g, b) by more than tolerance
    // in some channel.
    int countNot(int r, int g, int b, int tolerance = 0) const;
    // Writes the picture as a PNG through the engine's writer; false on
    // failure.
    bool writePng(const std::string& path) const;
    // Writes it as name.png into $ORVANE_TEST_PICTURES when that is set, so
    // that a developer can look at what a test drew.
    void keep(const std::string& name) const;
};
