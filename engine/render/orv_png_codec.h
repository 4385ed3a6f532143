/// @file
/// OrvPngCodec, PNG decoding and writing through libpng.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrvImage;
struct OrvImageDecodeStatus;

/// PNG through libpng, both ways. decode turns PNG data in memory
/// into an RGBA picture: 8-bit grey, grey with alpha, RGB and RGBA, interlaced
/// or not; palettes and other bit depths are refused as unsupported. write
/// stores an RGBA picture as an 8-bit RGBA PNG file. libpng reports errors by
/// jumping out of its calls, so no C++ object lives across them.
class OrvPngCodec {
  public:
    /// The length of the signature every PNG starts with.
    static constexpr size_t kSignatureSize = 8;

    /// True when data starts with the PNG signature; false for null @p data.
    static bool isPng(const uint8_t* data, size_t size);
    /// Fills image, or leaves it empty and records the failure in status.
    /// Reads no byte past @p size. @p image and @p status must not be null;
    /// the image loader checks isPng() first.
    static void decode(const uint8_t* data, size_t size, OrvImage* image,
                       OrvImageDecodeStatus* status);
    /// 0, or -1 with a WARNING line naming the file and the cause. A null or
    /// empty @p image is refused before the file is touched; a write that fails
    /// part way may leave a partial file behind.
    static int write(const char* path, const OrvImage* image);
};
