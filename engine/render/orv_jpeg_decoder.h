/// @file
/// OrvJpegDecoder, JPEG decoding through libjpeg-turbo.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrvImage;
struct OrvImageDecodeStatus;

/// JPEG data in memory to an RGBA picture through libjpeg-turbo.
/// Grey and colour (YCbCr or RGB) pictures are taken; CMYK and YCCK are refused
/// as unsupported. Data that ends early counts as truncated, although libjpeg
/// itself would only warn and fill the rest with grey.
class OrvJpegDecoder {
  public:
    /// True when data starts with a JPEG start-of-image marker; false for null
    /// @p data.
    static bool isJpeg(const uint8_t* data, size_t size);
    /// Fills image, or leaves it empty and records the failure in status.
    /// Every picture comes out fully opaque. @p image and @p status must not be
    /// null; the image loader checks isJpeg() first.
    static void decode(const uint8_t* data, size_t size, OrvImage* image,
                       OrvImageDecodeStatus* status);
};
