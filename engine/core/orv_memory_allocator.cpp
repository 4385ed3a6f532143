// The record table is plain zero-initialised storage guarded by a statically
// initialised lock, because the replaced operators serve the whole process:
// the C++ runtime and the GL driver allocate before our static constructors
// run, after our static destructors ran, and from threads of their own.
#include "core/orv_memory_allocator.h"

#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_string.h"

namespace {

struct BlockRecord {
    BlockRecord* next;
    uintptr_t address;
    size_t size;
    char file[OrvMemoryAllocator::kFileNameSize];
    int line;
};

struct Bucket {
    BlockRecord* head;
    BlockRecord* tail;
    int32_t count;
};

struct RecordTable {
    Bucket buckets[OrvMemoryAllocator::kBucketCount];
    size_t blockCount;
    bool destroyed;
};

// Constant-initialised, so both exist before any constructor of this process
// runs. The lock is recursive because the log may be written while it is held.
RecordTable g_table;
pthread_mutex_t g_lock = PTHREAD_RECURSIVE_MUTEX_INITIALIZER_NP;

// Constant-initialised as well: the runtime allocates before main.
std::atomic<uint64_t> g_allocationCount{0};

char g_freeFile[OrvMemoryAllocator::kFileNameSize];
int g_freeLine;
uint32_t g_uniqueId;

class TableLock {
  public:
    TableLock() { pthread_mutex_lock(&g_lock); }
    ~TableLock() { pthread_mutex_unlock(&g_lock); }
};

// Frees the records (never the user blocks) at process exit; later releases of
// those blocks find no record and go back to free.
class RecordTableCleanup {
  public:
    ~RecordTableCleanup() {
        TableLock lock;
        for (Bucket& bucket : g_table.buckets) {
            BlockRecord* record = bucket.head;
            while (record != nullptr) {
                BlockRecord* next = record->next;
                std::free(record);
                record = next;
            }
            bucket = Bucket{};
        }
        g_table.blockCount = 0;
        g_table.destroyed = true;
    }
};
RecordTableCleanup g_cleanup;

int bucketIndex(uintptr_t address) {
    return static_cast<int>(((address >> 8) & 0x3FFF) ^ (address & 0x3FFF));
}

void copyFileName(char* destination, const char* file) {
    orvCopyBounded(destination, OrvMemoryAllocator::kFileNameSize, file != nullptr ? file : "");
}

unsigned long addressText(uintptr_t address) {
    return static_cast<unsigned long>(address);
}

void* allocateUntracked(size_t size) {
    g_allocationCount.fetch_add(1, std::memory_order_relaxed);
    // malloc(0) may return null, which operator new must never do.
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* allocateTracked(size_t size, const char* file, int line) {
    g_allocationCount.fetch_add(1, std::memory_order_relaxed);
    void* block = std::calloc(1, size != 0 ? size : 1);
    if (block != nullptr) {
        OrvMemoryAllocator::_track_heap_alloc(block, size, file, line);
    }
    return block;
}

}  // namespace

void OrvMemoryAllocator::init() {
    g_uniqueId = 0;
    std::memset(g_freeFile, 0, sizeof(g_freeFile));
    g_freeLine = 0;
    OrvLog::getInstance()->write(OrvLog::DETAILED_DEBUG, "OrvMemoryAllocator::init(): ok");
}

void OrvMemoryAllocator::terminate() {
    OrvLog::getInstance()->write(OrvLog::DETAILED_DEBUG, "OrvMemoryAllocator::terminate(): ok");
}

uint32_t OrvMemoryAllocator::nextUniqueId() {
    return ++g_uniqueId;
}

void OrvMemoryAllocator::setFreeLocation(const char* file, int line) {
    if (file == nullptr) {
        return;
    }
    copyFileName(g_freeFile, file);
    g_freeLine = line;
}

void OrvMemoryAllocator::_track_heap_alloc(void* ptr, size_t size, const char* file, int line) {
    uintptr_t address = reinterpret_cast<uintptr_t>(ptr);
    OrvLog* log = OrvLog::getInstance();
    BlockRecord* record = static_cast<BlockRecord*>(std::calloc(1, sizeof(BlockRecord)));
    if (record == nullptr) {
        log->write(OrvLog::WARNING,
                   "OrvMemoryAllocator::_track_heap_alloc(): no memory for the record of "
                   "ptr=0x%.8lX, the block stays untracked.",
                   addressText(address));
        return;
    }
    record->address = address;
    record->size = size;
    copyFileName(record->file, file);
    record->line = line;
    {
        TableLock lock;
        if (g_table.destroyed) {
            std::free(record);
            return;
        }
        Bucket& bucket = g_table.buckets[bucketIndex(address)];
        if (bucket.tail != nullptr) {
            bucket.tail->next = record;
        } else {
            bucket.head = record;
        }
        bucket.tail = record;
        ++bucket.count;
        ++g_table.blockCount;
    }
    if (file != nullptr) {
        log->write(OrvLog::DETAILED_DEBUG,
                   "OrvMemoryAllocator::_track_heap_alloc(): ptr=0x%.8lX - size=%zu - file=%s - "
                   "line=%d",
                   addressText(address), size, file, line);
    } else {
        log->write(OrvLog::DETAILED_DEBUG,
                   "OrvMemoryAllocator::_track_heap_alloc(): ptr=0x%.8lX - size=%zu",
                   addressText(address), size);
    }
}

int OrvMemoryAllocator::_track_heap_free(void* ptr, const char* file, int line) {
    if (ptr == nullptr) {
        return 0;
    }
    uintptr_t address = reinterpret_cast<uintptr_t>(ptr);
    size_t size = 0;
    {
        TableLock lock;
        Bucket& bucket = g_table.buckets[bucketIndex(address)];
        BlockRecord* previous = nullptr;
        BlockRecord* record = bucket.head;
        while (record != nullptr && record->address != address) {
            previous = record;
            record = record->next;
        }
        if (record == nullptr) {
            return 0;
        }
        if (previous != nullptr) {
            previous->next = record->next;
        } else {
            bucket.head = record->next;
        }
        if (bucket.tail == record) {
            bucket.tail = previous;
        }
        --bucket.count;
        --g_table.blockCount;
        size = record->size;
        std::free(record);
    }
    if (file != nullptr) {
        OrvLog::getInstance()->write(OrvLog::DETAILED_DEBUG,
                                     "OrvMemoryAllocator::_track_heap_free(): ptr=0x%.8lX - "
                                     "size=%zu - file=%s - line=%d",
                                     addressText(address), size, file, line);
    } else {
        OrvLog::getInstance()->write(OrvLog::DETAILED_DEBUG,
                                     "OrvMemoryAllocator::_track_heap_free(): ptr=0x%.8lX - "
                                     "size=%zu",
                                     addressText(address), size);
    }
    return 1;
}

void OrvMemoryAllocator::release(void* ptr) {
    if (ptr == nullptr) {
        return;
    }
    _track_heap_free(ptr, g_freeFile, g_freeLine);
    std::free(ptr);
}

uint64_t OrvMemoryAllocator::allocationCount() {
    return g_allocationCount.load(std::memory_order_relaxed);
}

size_t OrvMemoryAllocator::trackedBlockCount() {
    TableLock lock;
    return g_table.blockCount;
}

void OrvMemoryAllocator::dumpMemoryLeaks() {
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::DETAILED_DEBUG,
               "OrvMemoryAllocator::dumpMemoryLeaks(): <----------------------- HEAP MEMORY "
               "LEAKS [START] ------------------------------>");
    unsigned long long total = 0;
    {
        TableLock lock;
        for (const Bucket& bucket : g_table.buckets) {
            for (const BlockRecord* record = bucket.head; record != nullptr;
                 record = record->next) {
                log->write(OrvLog::DETAILED_DEBUG,
                           "OrvMemoryAllocator::dumpMemoryLeaks(): ADDRESS 0x%.8lx\t%zu bytes "
                           "unfreed - file=%s - line=%d",
                           addressText(record->address), record->size, record->file, record->line);
                total += record->size;
            }
        }
    }
    if (total != 0) {
        log->write(OrvLog::DETAILED_DEBUG,
                   "OrvMemoryAllocator::dumpMemoryLeaks(): Total heap unfreed: %llu bytes", total);
    } else {
        log->write(OrvLog::DETAILED_DEBUG,
                   "OrvMemoryAllocator::dumpMemoryLeaks(): Yeah! No memory leak! "
                   "Congratulations! You're a smart pointer man ;)");
    }
    log->write(OrvLog::DETAILED_DEBUG,
               "OrvMemoryAllocator::dumpMemoryLeaks(): <----------------------- HEAP MEMORY "
               "LEAKS END ------------------------------>");
}

// The replaced global operators. Untracked blocks come from malloc as well, so
// every release ends in free whether the table knew the block or not.

void* operator new(size_t size) {
    return allocateUntracked(size);
}
void* operator new[](size_t size) {
    return allocateUntracked(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept {
    g_allocationCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    g_allocationCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size != 0 ? size : 1);
}

void* operator new(size_t size, const char* file, int line) noexcept {
    return allocateTracked(size, file, line);
}
void* operator new[](size_t size, const char* file, int line) noexcept {
    return allocateTracked(size, file, line);
}

void operator delete(void* ptr) noexcept {
    OrvMemoryAllocator::release(ptr);
}
void operator delete[](void* ptr) noexcept {
    OrvMemoryAllocator::release(ptr);
}
void operator delete(void* ptr, size_t) noexcept {
    OrvMemoryAllocator::release(ptr);
}
void operator delete[](void* ptr, size_t) noexcept {
    OrvMemoryAllocator::release(ptr);
}
void operator delete(void* ptr, const std::nothrow_t&) noexcept {
    OrvMemoryAllocator::release(ptr);
}
void operator delete[](void* ptr, const std::nothrow_t&) noexcept {
    OrvMemoryAllocator::release(ptr);
}

// Run when a constructor fails during a tracked allocation.
void operator delete(void* ptr, const char* file, int line) noexcept {
    OrvMemoryAllocator::setFreeLocation(file, line);
    OrvMemoryAllocator::release(ptr);
}
void operator delete[](void* ptr, const char* file, int line) noexcept {
    OrvMemoryAllocator::setFreeLocation(file, line);
    OrvMemoryAllocator::release(ptr);
}
