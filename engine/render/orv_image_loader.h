/// @file
/// OrvImageLoader, the one way into the engine for PNG and JPEG pictures.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrvImage;

/// Reads PNG and JPEG pictures from a file or from memory into
/// an RGBA OrvImage, so that nothing above the render layer decodes anything.
/// Every failure (a file that is missing, unreadable or cut short, data that
/// is no picture or one the engine does not take, an absurd size in the
/// header, a decode that runs out of memory) writes one WARNING line naming
/// the file and the cause, and leaves the image empty.
class OrvImageLoader {
  public:
    /// The budget for one picture's pixels unless a caller sets another:
    /// 256 MiB, a 8192 x 8192 RGBA picture.
    static constexpr size_t kDefaultMemoryLimit = static_cast<size_t>(256) << 20;
    /// The largest file read whole into memory.
    static constexpr long kMaxFileBytes = 256L << 20;

    /// Each returns 0 (OrvImageDecodeStatus::RESULT_OK) or the failure's
    /// OrvImageDecodeStatus::Result. name stands for the data in the log line,
    /// which reads "OrvImageLoader::load(): NAME: CAUSE." ("(unnamed)" for a null
    /// name). Whatever @p image held is freed first, except that loadFile with a
    /// null @p path leaves it untouched. A null @p image fails (RESULT_CANNOT_OPEN
    /// from a file, RESULT_NOT_AN_IMAGE from memory); null @p data reads as none.
    ///@{
    static int loadFile(const char* path, OrvImage* image);
    static int loadMemory(const void* data, size_t size, const char* name, OrvImage* image);
    ///@}

    /// The most bytes of pixels one decode may take; a picture that needs more
    /// is refused as out of memory. The setting is shared by every later load
    /// (in any thread, unguarded).
    ///@{
    static void setMemoryLimit(size_t bytes);
    static size_t memoryLimit();
    ///@}
};
