/// @file
/// OrvImageDecodeStatus, the outcome of one picture decode.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrvImage;

/// What one decode of PNG or JPEG data came to. The
/// decoders write the result and the cause of a failure here, and take the
/// picture's pixels through allocate, which keeps to the loader's memory
/// budget; the image loader turns a failure into its one WARNING line.
/// Start from a zero-filled record with memoryLimit set.
struct OrvImageDecodeStatus {
    /// Size of cause, the terminating zero included; longer causes are cut.
    static constexpr int kCauseSize = 192;
    /// The largest width and height accepted, far above any texture a driver
    /// takes, so that a header claiming more is refused before any allocation.
    static constexpr int32_t kMaxSide = 16384;

    /// What a decode or load came to.
    enum Result {
        RESULT_OK = 0,            ///< The image holds the picture.
        RESULT_CANNOT_OPEN = 1,   ///< The file could not be opened.
        RESULT_CANNOT_READ = 2,   ///< The file could not be read whole, or is too big.
        RESULT_NOT_AN_IMAGE = 3,  ///< The data starts as neither PNG nor JPEG.
        RESULT_UNSUPPORTED = 4,   ///< A PNG or JPEG of a kind the engine does not take.
        RESULT_BAD_SIZE = 5,      ///< A side outside 1 to kMaxSide.
        RESULT_TRUNCATED = 6,     ///< The data ends before the picture does.
        RESULT_CORRUPT = 7,       ///< The decoder found the data malformed.
        RESULT_OUT_OF_MEMORY = 8  ///< Over the memory budget, or memory could not be had.
    };

    /// A Result; RESULT_OK until a failure is recorded.
    int32_t result;
    /// Why the decode failed, without a final full stop; empty on success.
    char cause[kCauseSize];
    /// The most bytes of pixels a decode may take.
    size_t memoryLimit;

    /// Records the failure and its cause (printf-style); returns result. The
    /// first failure recorded stays.
    int fail(int failure, const char* format, ...) __attribute__((format(printf, 3, 4)));
    /// Refuses a side outside 1 to kMaxSide with RESULT_BAD_SIZE; true when both
    /// sides fit.
    bool checkSize(uint32_t width, uint32_t height);
    /// Takes width x height RGBA pixels for the image, or records
    /// RESULT_OUT_OF_MEMORY when they exceed the budget or cannot be had.
    /// The size is checked first as by checkSize(). Returns true when the image
    /// holds the new zero-filled pixels; on false it may have been emptied.
    bool allocate(OrvImage* image, uint32_t width, uint32_t height);
};
