/// @file
/// OrvTextInfo, one line of overlay text and its font.
#pragma once

#include <cstdint>

/// One line of overlay text and the bitmap font it is drawn in, owned and
/// filled by the application. createFont writes the display-list base of the
/// font's 256 glyphs; the glyphs live in those lists, so no other font object
/// outlives createFont and listBase 0 means "no font".
struct OrvTextInfo {
    static constexpr int kFaceNameSize = 128;  ///< Bytes of faceName, terminator included.
    static constexpr int kTextSize = 256;      ///< Bytes of text: the most drawText draws.

    /// First of the font's 256 display lists, one per character code; written
    /// by createFont and destroyFont.
    uint32_t listBase;
    /// The font family wanted, zero-terminated; the closest installed face
    /// stands in, and an empty name takes the system's default.
    char faceName[kFaceNameSize];
    /// Glyph height in pixels: createFont takes 1 for less and refuses more
    /// than 512; drawText places the line by it.
    int32_t fontHeight;
    /// The characters, one Latin-1 byte each, without a terminator needed;
    /// code 255 and codes the font lacks draw nothing.
    char text[kTextSize];
    /// Characters of text drawText draws, taken as 0 to kTextSize.
    int32_t textLength;
    /// Pixels from the left and from the top of the viewport.
    ///@{
    int32_t x;
    int32_t y;
    ///@}
    float color[4];  ///< Colour of the text: red, green, blue, alpha, 0 to 1.
};
