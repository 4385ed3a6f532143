// Pictures made by the tests themselves: RGBA checkers, and PNG and JPEG
// files of every kind the loader meets, encoded in memory with libpng and
// libjpeg so that no test depends on a file it did not write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using OrvBytes = std::vector<uint8_t>;

// width x height RGBA pixels, rows top first: squares of cell pixels
// alternating between the two colours, first at the top left.
OrvBytes orvCheckerPixels(int width, int height, int cell, const uint8_t first[4],
                          const uint8_t second[4]);

// A PNG of the colour type (PNG_COLOR_TYPE_...) and bit depth with the given
// samples (channels of the type, bytes per sample by depth, rows packed). A
// palette picture gets a palette of two entries.
OrvBytes orvEncodePng(int width, int height, int colorType, int bitDepth, const OrvBytes& samples);
// An RGBA PNG of the pixels.
OrvBytes orvEncodePngRgba(int width, int height, const OrvBytes& rgba);
// A JPEG of components 1 (grey), 3 (RGB) or 4 (CMYK) channels per pixel.
OrvBytes orvEncodeJpeg(int width, int height, int components, const OrvBytes& samples);

// The same data claiming another size in its header: the PNG's IHDR or the
// JPEG's first start-of-frame marker.
OrvBytes orvWithPngSize(OrvBytes png, uint32_t width, uint32_t height);
OrvBytes orvWithJpegSize(OrvBytes jpeg, uint16_t width, uint16_t height);

bool orvWriteFile(const std::string& path, const OrvBytes& bytes);
