/// @file
/// OrvImage, an RGBA picture in memory.
#pragma once

#include <cstddef>
#include <cstdint>

/// A picture in memory as 8-bit RGBA, rows top first, with no
/// padding between rows. The image loader fills it from PNG and JPEG data, the
/// renderer uploads it into a texture and reads the back buffer into it, and the
/// PNG writer stores it. The pixels are one tracked block owned by the record.
struct OrvImage {
    /// Bytes per pixel: red, green, blue and alpha.
    static constexpr int kChannels = 4;

    /// The size in pixels, 0 while empty.
    ///@{
    int32_t width;
    int32_t height;
    ///@}
    /// width x height x 4 bytes, or null while empty.
    uint8_t* pixels;

    /// Bytes of one row and of the whole picture.
    ///@{
    size_t rowBytes() const { return static_cast<size_t>(width) * kChannels; }
    size_t byteCount() const { return rowBytes() * static_cast<size_t>(height); }
    ///@}
    /// True while the record holds no pixels.
    bool isEmpty() const { return pixels == nullptr; }
    /// The pixel at column x of row y, counted from the top. Neither is checked:
    /// the image must not be empty and both must lie inside it.
    ///@{
    uint8_t* at(int x, int y) { return pixels + static_cast<size_t>(y) * rowBytes() + 4 * x; }
    const uint8_t* at(int x, int y) const {
        return pixels + static_cast<size_t>(y) * rowBytes() + 4 * x;
    }
    ///@}

    /// Frees what the record held and takes a zero-filled block of width x
    /// height pixels; false, with the record left empty, when the block cannot
    /// be had or a side is not positive.
    bool allocate(int32_t newWidth, int32_t newHeight);
    /// Frees the pixels; the record is empty afterwards.
    void release();
};
