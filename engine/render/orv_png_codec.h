// OrvPngCodec: PNG through libpng, both ways. decode turns PNG data in memory
// into an RGBA picture: 8-bit grey, grey with alpha, RGB and RGBA, interlaced
// or not; palettes and other bit depths are refused as unsupported. write
// stores an RGBA picture as an 8-bit RGBA PNG file. libpng reports errors by
// jumping out of its calls, so no C++ object lives across them.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrvImage;
struct OrvImageDecodeStatus;

class OrvPngCodec {
  public:
    static constexpr size_t kSignatureSize = 8;

    // True when data starts with the PNG signature.
    static bool isPng(const uint8_t* data, size_t size);
    // Fills image, or leaves it empty and records the failure in status.
    static void decode(const uint8_t* data, size_t size, OrvImage* image,
                       OrvImageDecodeStatus* status);
    // 0, or -1 with a WARNING line naming the file and the cause.
    static int write(const char* path, const OrvImage* image);
};
