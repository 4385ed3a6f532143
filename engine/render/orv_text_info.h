// OrvTextInfo: one line of overlay text and the bitmap font it is drawn in,
// owned and filled by the application. createFont writes the display-list base
// of the font's 256 glyphs; the glyphs live in those lists, so no other font
// object outlives createFont and listBase 0 means "no font".
#pragma once

#include <cstdint>

struct OrvTextInfo {
    static constexpr int kFaceNameSize = 128;
    static constexpr int kTextSize = 256;

    uint32_t listBase;
    char faceName[kFaceNameSize];
    int32_t fontHeight;
    char text[kTextSize];
    int32_t textLength;
    // Pixels from the left and from the top of the viewport.
    int32_t x;
    int32_t y;
    float color[4];
};
