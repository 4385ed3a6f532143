// OrvMemoryAllocator: tracks every block the engine allocates with the source
// file and line that asked for it, so that shutdown can list what was never
// released. The global allocation operators are replaced for the whole
// process: untracked blocks (the C++ runtime's, the GL driver's) pass straight
// through to malloc and free.
//
// Engine code allocates with ORV_NEW and releases with ORV_DELETE or
// ORV_DELETE_ARRAY, which record this code base's real file and line. The
// record of a block keeps the file name by pointer, so the name given to a
// tracked allocation must live as long as the process: ORV_NEW passes the
// base name inside the __FILE__ literal.
//
// The table of records grows and shrinks with the number of blocks, so a
// lookup costs the same however many are alive. The leak report does not
// depend on the table's size: it files each block under one of kBucketCount
// buckets of its address, ((A >> 8) AND 0x3FFF) XOR (A AND 0x3FFF), lists
// the buckets in index order and the blocks of one bucket in the order they
// were allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

class OrvMemoryAllocator {
  public:
    // Buckets of the leak report.
    static constexpr int kBucketCount = 16384;
    // The free location's file buffer.
    static constexpr int kFileNameSize = 512;

    static void init();
    static void terminate();
    static void dumpMemoryLeaks();
    static uint32_t nextUniqueId();
    static void setFreeLocation(const char* file, int line);

    static void _track_heap_alloc(void* ptr, size_t size, const char* file, int line);
    static int _track_heap_free(void* ptr, const char* file, int line);

    // Releases a block the way the replaced operator delete does: a tracked
    // block is taken out of the table and freed, an untracked one is freed.
    static void release(void* ptr);

    // Number of blocks the table tracks right now (for tests and benchmarks).
    static size_t trackedBlockCount();
    // Number of allocations made through the replaced operators, tracked or
    // not, by any thread, since the process started (for tests and
    // benchmarks).
    static uint64_t allocationCount();
};

// The base name of a source path, so that traces name "orv_mesh.cpp" rather
// than the build machine's directory layout.
constexpr const char* orvBaseName(const char* path) {
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/') {
            base = p + 1;
        }
    }
    return base;
}

void* operator new(size_t size, const char* file, int line) noexcept;
void* operator new[](size_t size, const char* file, int line) noexcept;
void operator delete(void* ptr, const char* file, int line) noexcept;
void operator delete[](void* ptr, const char* file, int line) noexcept;

#define ORV_SOURCE_FILE orvBaseName(__FILE__)

// Tracked allocation: `ORV_NEW OrvThing()` or `ORV_NEW char[n]`; the block
// comes back zero-filled.
#define ORV_NEW new (ORV_SOURCE_FILE, __LINE__)

#define ORV_DELETE(ptr)                                                 \
    do {                                                                \
        OrvMemoryAllocator::setFreeLocation(ORV_SOURCE_FILE, __LINE__); \
        delete (ptr);                                                   \
    } while (0)

#define ORV_DELETE_ARRAY(ptr)                                           \
    do {                                                                \
        OrvMemoryAllocator::setFreeLocation(ORV_SOURCE_FILE, __LINE__); \
        delete[](ptr);                                                  \
    } while (0)
