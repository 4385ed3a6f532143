// OrvImageDecodeStatus: what one decode of PNG or JPEG data came to. The
// decoders write the result and the cause of a failure here, and take the
// picture's pixels through allocate, which keeps to the loader's memory
// budget; the image loader turns a failure into its one WARNING line.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrvImage;

struct OrvImageDecodeStatus {
    static constexpr int kCauseSize = 192;
    // The largest width and height accepted, far above any texture a driver
    // takes, so that a header claiming more is refused before any allocation.
    static constexpr int32_t kMaxSide = 16384;

    enum Result {
        RESULT_OK = 0,
        RESULT_CANNOT_OPEN = 1,
        RESULT_CANNOT_READ = 2,
        RESULT_NOT_AN_IMAGE = 3,
        RESULT_UNSUPPORTED = 4,
        RESULT_BAD_SIZE = 5,
        RESULT_TRUNCATED = 6,
        RESULT_CORRUPT = 7,
        RESULT_OUT_OF_MEMORY = 8
    };

    int32_t result;
    // Why the decode failed, without a final full stop; empty on success.
    char cause[kCauseSize];
    // The most bytes of pixels a decode may take.
    size_t memoryLimit;

    // Records the failure and its cause (printf-style); returns result. The
    // first failure recorded stays.
    int fail(int failure, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Refuses a side outside 1 to kMaxSide with RESULT_BAD_SIZE.
    bool checkSize(uint32_t width, uint32_t height);
    // Takes width x height RGBA pixels for the image, or records
    // RESULT_OUT_OF_MEMORY when they exceed the budget or cannot be had.
    bool allocate(OrvImage* image, uint32_t width, uint32_t height);
};
