// The record table is plain zero-initialised storage guarded by a statically
// initialised lock, because the replaced operators serve the whole process:
// the C++ runtime and the GL driver allocate before our static constructors
// run, after our static destructors ran, and from threads of their own.
#include "core/orv_memory_allocator.h"

#include <pthread.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_string.h"

namespace {

// One per tracked block. The file is not copied: every tracked allocation
// names its file with a string literal (ORV_SOURCE_FILE), which lives as long
// as the process.
struct BlockRecord {
    uintptr_t address;
    size_t size;
    const char* file;
    // Allocation order, which the leak report keeps within a bucket.
    uint64_t sequence;
    int line;
};

// The records of the live blocks sit side by side in chunks, numbered 0 to
// blockCount - 1: releasing a block moves the last record into its place, so
// the chunks hold no holes and the spare ones can go back to the heap. A
// chunk stays under malloc's mmap threshold, so it comes from the heap like
// the blocks it describes.
constexpr int kChunkShift = 11;
constexpr size_t kChunkRecords = size_t{1} << kChunkShift;

// The table is open addressing with linear probing. A slot holds the upper
// 32 bits of the address's hash beside the record's number plus one (0 is an
// empty slot), so probing, moving slots back after a removal and rehashing
// read the slots alone: a record is only read once its hash matched. The
// table doubles when three quarters full and halves when under three
// sixteenths, so finding a block costs the same with ten blocks alive or ten
// million.
struct RecordTable {
    uint64_t* slots;
    size_t capacity;
    BlockRecord** chunks;
    size_t chunkCount;
    size_t chunkDirectorySize;
    size_t blockCount;
    uint64_t nextSequence;
    bool destroyed;
};

constexpr size_t kMinCapacity = 16384;
constexpr uint64_t kGolden = 0x9E3779B97F4A7C15ull;
// Record numbers plus one must fit the lower half of a slot.
constexpr size_t kMaxBlocks = 0xFFFFFFFEu;

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

// Tables from kHugeTableBytes up are mapped on their own and asked for huge
// pages: a lookup lands on a random slot, and with small pages a table of
// millions of slots misses the address translation cache nearly every time.
constexpr size_t kHugeTableBytes = size_t{2} << 20;

uint64_t* allocateSlots(size_t capacity) {
    const size_t bytes = capacity * sizeof(uint64_t);
    if (bytes < kHugeTableBytes) {
        return static_cast<uint64_t*>(std::calloc(capacity, sizeof(uint64_t)));
    }
    void* slots = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (slots == MAP_FAILED) {
        return nullptr;
    }
    madvise(slots, bytes, MADV_HUGEPAGE);
    return static_cast<uint64_t*>(slots);
}

void releaseSlots(uint64_t* slots, size_t capacity) {
    const size_t bytes = capacity * sizeof(uint64_t);
    if (bytes < kHugeTableBytes) {
        std::free(slots);
    } else {
        munmap(slots, bytes);
    }
}

// Frees the records and the table (never the user blocks) at process exit;
// later releases of those blocks find no record and go back to free.
class RecordTableCleanup {
  public:
    ~RecordTableCleanup() {
        TableLock lock;
        for (size_t i = 0; i < g_table.chunkCount; ++i) {
            std::free(g_table.chunks[i]);
        }
        std::free(g_table.chunks);
        releaseSlots(g_table.slots, g_table.capacity);
        g_table = RecordTable{};
        g_table.destroyed = true;
    }
};
RecordTableCleanup g_cleanup;

uint64_t addressTag(uintptr_t address) {
    return (static_cast<uint64_t>(address) * kGolden) >> 32;
}

uint64_t slotTag(uint64_t slot) {
    return slot >> 32;
}

size_t slotRecord(uint64_t slot) {
    return static_cast<size_t>(slot & 0xFFFFFFFFu) - 1;
}

uint64_t makeSlot(uint64_t tag, size_t record) {
    return (tag << 32) | (record + 1);
}

size_t homeSlot(uint64_t tag, size_t capacity) {
    return static_cast<size_t>(tag) & (capacity - 1);
}

BlockRecord& recordAt(size_t record) {
    return g_table.chunks[record >> kChunkShift][record & (kChunkRecords - 1)];
}

// The slot holding the block's record, or the empty slot that ends its probe.
size_t findSlot(uintptr_t address) {
    const size_t mask = g_table.capacity - 1;
    const uint64_t tag = addressTag(address);
    size_t i = homeSlot(tag, g_table.capacity);
    for (uint64_t slot = g_table.slots[i]; slot != 0; slot = g_table.slots[i]) {
        if (slotTag(slot) == tag && recordAt(slotRecord(slot)).address == address) {
            break;
        }
        i = (i + 1) & mask;
    }
    return i;
}

// The slot that names the given record; it is in the table.
size_t findSlotOfRecord(uint64_t tag, size_t record) {
    const size_t mask = g_table.capacity - 1;
    size_t i = homeSlot(tag, g_table.capacity);
    while (g_table.slots[i] != makeSlot(tag, record)) {
        i = (i + 1) & mask;
    }
    return i;
}

// The first empty slot on the probe of a tag.
size_t emptySlotFor(uint64_t tag) {
    const size_t mask = g_table.capacity - 1;
    size_t i = homeSlot(tag, g_table.capacity);
    while (g_table.slots[i] != 0) {
        i = (i + 1) & mask;
    }
    return i;
}

// Moves every slot into a table of the given size; false, with the table
// unchanged, when the memory for it cannot be had.
bool resizeTable(size_t capacity) {
    uint64_t* slots = allocateSlots(capacity);
    if (slots == nullptr) {
        return false;
    }
    uint64_t* old = g_table.slots;
    const size_t oldCapacity = g_table.capacity;
    g_table.slots = slots;
    g_table.capacity = capacity;
    for (size_t i = 0; i < oldCapacity; ++i) {
        if (old[i] != 0) {
            g_table.slots[emptySlotFor(slotTag(old[i]))] = old[i];
        }
    }
    releaseSlots(old, oldCapacity);
    return true;
}

// A slot for one more record: the table grows at three quarters full, and a
// table that cannot grow still takes records while it has a free slot beyond
// this one.
bool makeSlotRoom() {
    if (4 * (g_table.blockCount + 1) <= 3 * g_table.capacity) {
        return true;
    }
    const size_t wanted = g_table.capacity == 0 ? kMinCapacity : 2 * g_table.capacity;
    return resizeTable(wanted) || g_table.blockCount + 1 < g_table.capacity;
}

bool addChunk() {
    if (g_table.chunkCount == g_table.chunkDirectorySize) {
        const size_t size = g_table.chunkDirectorySize == 0 ? 64 : 2 * g_table.chunkDirectorySize;
        void* directory = std::realloc(g_table.chunks, size * sizeof(BlockRecord*));
        if (directory == nullptr) {
            return false;
        }
        g_table.chunks = static_cast<BlockRecord**>(directory);
        g_table.chunkDirectorySize = size;
    }
    BlockRecord* chunk =
        static_cast<BlockRecord*>(std::malloc(kChunkRecords * sizeof(BlockRecord)));
    if (chunk == nullptr) {
        return false;
    }
    g_table.chunks[g_table.chunkCount++] = chunk;
    return true;
}

// Room for one more record in the chunks and in the table.
bool makeRoom() {
    if (g_table.blockCount == kMaxBlocks) {
        return false;
    }
    const bool chunkRoom = g_table.blockCount < g_table.chunkCount * kChunkRecords || addChunk();
    return chunkRoom && makeSlotRoom();
}

void insertRecord(uintptr_t address, size_t size, const char* file, int line) {
    const size_t record = g_table.blockCount++;
    recordAt(record) = BlockRecord{address, size, file, g_table.nextSequence++, line};
    const uint64_t tag = addressTag(address);
    g_table.slots[emptySlotFor(tag)] = makeSlot(tag, record);
}

// Empties the slot; the slots behind it up to the next empty one move back
// into the hole when it lies on their way from home.
void clearSlot(size_t hole) {
    const size_t mask = g_table.capacity - 1;
    for (size_t i = (hole + 1) & mask; g_table.slots[i] != 0; i = (i + 1) & mask) {
        const size_t distanceToHole = (i - hole) & mask;
        const size_t distanceFromHome =
            (i - homeSlot(slotTag(g_table.slots[i]), g_table.capacity)) & mask;
        if (distanceFromHome >= distanceToHole) {
            g_table.slots[hole] = g_table.slots[i];
            hole = i;
        }
    }
    g_table.slots[hole] = 0;
}

// Keeps at most one empty chunk, so that a count going to and fro across a
// chunk's edge does not allocate a chunk each time.
void releaseSpareChunks() {
    const size_t needed = (g_table.blockCount + kChunkRecords - 1) >> kChunkShift;
    while (g_table.chunkCount > needed + 1) {
        std::free(g_table.chunks[--g_table.chunkCount]);
    }
}

// Takes the record named by the slot out: the last record moves into its
// place, and its slot is renamed.
void removeRecord(size_t slot) {
    const size_t record = slotRecord(g_table.slots[slot]);
    clearSlot(slot);
    const size_t last = --g_table.blockCount;
    if (record != last) {
        const BlockRecord& moved = recordAt(last);
        const uint64_t tag = addressTag(moved.address);
        g_table.slots[findSlotOfRecord(tag, last)] = makeSlot(tag, record);
        recordAt(record) = moved;
    }
    releaseSpareChunks();
    // A failed shrink keeps the larger table, which works as well.
    if (g_table.capacity > kMinCapacity && 16 * g_table.blockCount < 3 * g_table.capacity) {
        resizeTable(g_table.capacity / 2);
    }
}

// The bucket the leak report files a block under, whatever the table's size:
// ((A >> 8) AND 0x3FFF) XOR (A AND 0x3FFF).
int reportBucket(uintptr_t address) {
    return static_cast<int>(((address >> 8) & 0x3FFF) ^ (address & 0x3FFF));
}

// Buckets in index order, and within a bucket the order of allocation.
bool reportsBefore(const BlockRecord* a, const BlockRecord* b) {
    const int bucketA = reportBucket(a->address);
    const int bucketB = reportBucket(b->address);
    return bucketA != bucketB ? bucketA < bucketB : a->sequence < b->sequence;
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

void writeLeak(OrvLog* log, const BlockRecord* record) {
    log->write(OrvLog::DETAILED_DEBUG,
               "OrvMemoryAllocator::dumpMemoryLeaks(): ADDRESS 0x%.8lx\t%zu bytes "
               "unfreed - file=%s - line=%d",
               addressText(record->address), record->size,
               record->file != nullptr ? record->file : "", record->line);
}

// Lists every record in report order and returns the total of their sizes.
// Sorting needs a copy of the record pointers; without memory for it the
// records are listed in the order they sit in, and a WARNING line says so.
unsigned long long writeLeaks(OrvLog* log) {
    const size_t count = g_table.blockCount;
    BlockRecord** sorted =
        count != 0 ? static_cast<BlockRecord**>(std::malloc(count * sizeof(BlockRecord*)))
                   : nullptr;
    if (count != 0 && sorted == nullptr) {
        log->write(OrvLog::WARNING,
                   "OrvMemoryAllocator::dumpMemoryLeaks(): no memory to sort %zu blocks, "
                   "listed unsorted.",
                   count);
    }
    unsigned long long total = 0;
    for (size_t i = 0; i < count; ++i) {
        BlockRecord* record = &recordAt(i);
        if (sorted != nullptr) {
            sorted[i] = record;
        } else {
            writeLeak(log, record);
        }
        total += record->size;
    }
    if (sorted != nullptr) {
        std::sort(sorted, sorted + count, reportsBefore);
        for (size_t i = 0; i < count; ++i) {
            writeLeak(log, sorted[i]);
        }
        std::free(sorted);
    }
    return total;
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
    bool tracked = false;
    {
        TableLock lock;
        if (g_table.destroyed) {
            return;
        }
        tracked = makeRoom();
        if (tracked) {
            insertRecord(address, size, file, line);
        }
    }
    if (!tracked) {
        log->write(OrvLog::WARNING,
                   "OrvMemoryAllocator::_track_heap_alloc(): no memory for the record of "
                   "ptr=0x%.8lX, the block stays untracked.",
                   addressText(address));
        return;
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
        if (g_table.blockCount == 0) {
            return 0;
        }
        const size_t slot = findSlot(address);
        if (g_table.slots[slot] == 0) {
            return 0;
        }
        size = recordAt(slotRecord(g_table.slots[slot])).size;
        removeRecord(slot);
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
        total = writeLeaks(log);
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
