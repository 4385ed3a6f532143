// The one picture format orvrender writes: 8-bit RGB PNG through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height RGB bytes whose rows run bottom-up, as glReadPixels
// gives them, to path as a PNG with the top row first. Returns "" on
// success, else libpng's reason.
std::string orvWritePng(const std::string& path, int width, int height,
                        const std::vector<uint8_t>& rgbBottomUp);
