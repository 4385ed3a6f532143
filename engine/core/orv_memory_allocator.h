/// @file
/// OrvMemoryAllocator, the tracking allocator, and the ORV_NEW and ORV_DELETE macros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

/// OrvMemoryAllocator: tracks every block the engine allocates with the source
/// file and line that asked for it, so that shutdown can list what was never
/// released. The global allocation operators are replaced for the whole
/// process: untracked blocks (the C++ runtime's, the GL driver's) pass straight
/// through to malloc and free.
///
/// Engine code allocates with ORV_NEW and releases with ORV_DELETE or
/// ORV_DELETE_ARRAY, which record this code base's real file and line. The
/// record of a block keeps the file name by pointer, so the name given to a
/// tracked allocation must live as long as the process: ORV_NEW passes the
/// base name inside the `__FILE__` literal.
///
/// The table of records grows and shrinks with the number of blocks, so a
/// lookup costs the same however many are alive. The leak report does not
/// depend on the table's size: it files each block under one of kBucketCount
/// buckets of its address, ((A >> 8) AND 0x3FFF) XOR (A AND 0x3FFF), lists
/// the buckets in index order and the blocks of one bucket in the order they
/// were allocated.
class OrvMemoryAllocator {
  public:
    /// Buckets of the leak report.
    static constexpr int kBucketCount = 16384;
    /// The free location's file buffer, in bytes: a longer name is cut.
    static constexpr int kFileNameSize = 512;

    /// Restarts nextUniqueId's count and forgets the free location, writing a
    /// DETAILED_DEBUG line; blocks tracked before stay tracked. OrvMain::init calls it.
    static void init();
    /// Writes a DETAILED_DEBUG line and nothing else: tracking goes on until the
    /// process ends.
    static void terminate();
    /// Writes the leak report: one DETAILED_DEBUG line per block still tracked, in
    /// bucket order, then the total of their sizes. Its lines reach the log only
    /// when the log's level is DETAILED_DEBUG.
    static void dumpMemoryLeaks();
    /// The next id of a count that init restarts, so the first is 1. The count is
    /// not guarded: ids drawn on several threads at once may repeat.
    static uint32_t nextUniqueId();
    /// Records the file (copied) and line that the trace of the next release names;
    /// a null file is ignored. ORV_DELETE and ORV_DELETE_ARRAY call it. The location
    /// is one for the whole process, kept until the next call.
    static void setFreeLocation(const char* file, int line);

    /// Tracks a block the caller allocated, under the file (kept by pointer, so it
    /// must live as long as the process) and line, with a DETAILED_DEBUG trace.
    /// Without memory for its record the block stays untracked, with a WARNING line.
    static void _track_heap_alloc(void* ptr, size_t size, const char* file, int line);
    /// Forgets a tracked block without freeing it, with a DETAILED_DEBUG trace naming
    /// the file and line. Returns 1 when it was tracked, 0 for null or an untracked block.
    static int _track_heap_free(void* ptr, const char* file, int line);

    /// Releases a block the way the replaced operator delete does: a tracked
    /// block is taken out of the table and freed, an untracked one is freed.
    /// Null is ignored.
    static void release(void* ptr);

    /// Number of blocks the table tracks right now (for tests and benchmarks).
    static size_t trackedBlockCount();
    /// Number of allocations made through the replaced operators, tracked or
    /// not, by any thread, since the process started (for tests and
    /// benchmarks).
    static uint64_t allocationCount();
};

/// The base name of a source path, so that traces name "orv_mesh.cpp" rather
/// than the build machine's directory layout.
constexpr const char* orvBaseName(const char* path) {
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/') {
            base = p + 1;
        }
    }
    return base;
}

/// The allocation forms ORV_NEW uses: a zero-filled block tracked under the file
/// and line, or null (never an exception) when memory runs out. The file is kept
/// by pointer and must live as long as the process. The delete forms run only
/// when a constructor throws; they release the block with that location.
///@{
void* operator new(size_t size, const char* file, int line) noexcept;
void* operator new[](size_t size, const char* file, int line) noexcept;
void operator delete(void* ptr, const char* file, int line) noexcept;
void operator delete[](void* ptr, const char* file, int line) noexcept;
///@}

/// The base name of the file being compiled, a pointer into its `__FILE__` literal.
#define ORV_SOURCE_FILE orvBaseName(__FILE__)

/// Tracked allocation: `ORV_NEW OrvThing()` or `ORV_NEW char[n]`; the block
/// comes back zero-filled, and the expression gives null when memory runs out.
#define ORV_NEW new (ORV_SOURCE_FILE, __LINE__)

/// Deletes an object, null included, naming this file and line in the trace.
#define ORV_DELETE(ptr)                                                 \
    do {                                                                \
        OrvMemoryAllocator::setFreeLocation(ORV_SOURCE_FILE, __LINE__); \
        delete (ptr);                                                   \
    } while (0)

/// Deletes an array made with `ORV_NEW T[n]`, null included, naming this file and
/// line in the trace.
#define ORV_DELETE_ARRAY(ptr)                                           \
    do {                                                                \
        OrvMemoryAllocator::setFreeLocation(ORV_SOURCE_FILE, __LINE__); \
        delete[](ptr);                                                  \
    } while (0)
