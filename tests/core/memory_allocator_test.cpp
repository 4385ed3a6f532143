#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "orv_test_log.h"

namespace {

const char* const kStart =
    "OrvMemoryAllocator::dumpMemoryLeaks(): <----------------------- HEAP MEMORY LEAKS [START] "
    "------------------------------>";
const char* const kEnd =
    "OrvMemoryAllocator::dumpMemoryLeaks(): <----------------------- HEAP MEMORY LEAKS END "
    "------------------------------>";
const char* const kNoLeak =
    "OrvMemoryAllocator::dumpMemoryLeaks(): Yeah! No memory leak! Congratulations! You're a "
    "smart pointer man ;)";

std::string hexAddress(const void* p, const char* format) {
    char text[64];
    std::snprintf(text, sizeof(text), format,
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(p)));
    return text;
}

class OrvMemoryAllocatorTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u); }
};

TEST_F(OrvMemoryAllocatorTest, ReportWithoutLeaks) {
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    char* block = ORV_NEW char[32];
    ORV_DELETE_ARRAY(block);
    OrvMemoryAllocator::dumpMemoryLeaks();
    std::vector<std::string> messages = capture.messages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[messages.size() - 3], kStart);
    EXPECT_EQ(messages[messages.size() - 2], kNoLeak);
    EXPECT_EQ(messages[messages.size() - 1], kEnd);
}

TEST_F(OrvMemoryAllocatorTest, ReportListsALeakedBlockWithItsFileAndLine) {
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    const int line = __LINE__ + 1;
    char* block = ORV_NEW char[100];
    OrvMemoryAllocator::dumpMemoryLeaks();
    std::vector<std::string> messages = capture.messages();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[1], kStart);
    EXPECT_EQ(
        messages[2],
        "OrvMemoryAllocator::dumpMemoryLeaks(): ADDRESS " + hexAddress(block, "0x%.8lx") +
            "\t100 bytes unfreed - file=memory_allocator_test.cpp - line=" + std::to_string(line));
    EXPECT_EQ(messages[3], "OrvMemoryAllocator::dumpMemoryLeaks(): Total heap unfreed: 100 bytes");
    EXPECT_EQ(messages[4], kEnd);
    ORV_DELETE_ARRAY(block);
}

// Records made for addresses chosen by the test (never dereferenced), so that
// the buckets are known: 0x400010 and 0x10 share bucket 16, 0x20 is bucket 32.
TEST_F(OrvMemoryAllocatorTest, ReportGoesThroughTheBucketsInIndexOrderAndEachInAllocationOrder) {
    struct Block {
        uintptr_t address;
        size_t size;
        const char* file;
        int line;
    };
    // In allocation order. The first is larger than any signed 32-bit
    // number, so the sizes and the total must print as unsigned.
    const Block blocks[] = {{0x20, 3000000000u, "first.cpp", 1},
                            {0x400010, 100, "second.cpp", 2},
                            {0x10, 20, nullptr, 3}};
    for (const Block& b : blocks) {
        OrvMemoryAllocator::_track_heap_alloc(reinterpret_cast<void*>(b.address), b.size, b.file,
                                              b.line);
    }
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    OrvMemoryAllocator::dumpMemoryLeaks();
    const std::vector<std::string> report = capture.messages();
    for (const Block& b : blocks) {
        OrvMemoryAllocator::_track_heap_free(reinterpret_cast<void*>(b.address), nullptr, 0);
    }

    const std::string leak = "OrvMemoryAllocator::dumpMemoryLeaks(): ADDRESS ";
    EXPECT_EQ(report, (std::vector<std::string>{
                          kStart, leak + "0x00400010\t100 bytes unfreed - file=second.cpp - line=2",
                          leak + "0x00000010\t20 bytes unfreed - file= - line=3",
                          leak + "0x00000020\t3000000000 bytes unfreed - file=first.cpp - line=1",
                          "OrvMemoryAllocator::dumpMemoryLeaks(): Total heap unfreed: 3000000120 "
                          "bytes",
                          kEnd}));
}

TEST_F(OrvMemoryAllocatorTest, TracesNameTheAllocationAndTheReleaseSite) {
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    const int allocLine = __LINE__ + 1;
    int* value = ORV_NEW int(7);
    EXPECT_EQ(*value, 7);
    const int freeLine = __LINE__ + 1;
    ORV_DELETE(value);
    std::string address = hexAddress(value, "0x%.8lX");
    EXPECT_EQ(
        capture.messages(),
        (std::vector<std::string>{
            "OrvMemoryAllocator::_track_heap_alloc(): ptr=" + address +
                " - size=4 - file=memory_allocator_test.cpp - line=" + std::to_string(allocLine),
            "OrvMemoryAllocator::_track_heap_free(): ptr=" + address +
                " - size=4 - file=memory_allocator_test.cpp - line=" + std::to_string(freeLine)}));
    // A 64-bit address is printed with all of its digits.
    EXPECT_GT(address.size(), 10u);
}

// A plain delete records no location of its own, so its trace names the last
// one recorded: nothing right after init, later the previous ORV_DELETE.
TEST_F(OrvMemoryAllocatorTest, AReleaseWithoutItsOwnLocationReportsThePreviousOne) {
    OrvMemoryAllocator::init();
    int* first = ORV_NEW int(1);
    int* second = ORV_NEW int(2);
    int* third = ORV_NEW int(3);
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    delete first;
    const int line = __LINE__ + 1;
    ORV_DELETE(second);
    delete third;

    const std::string released = "OrvMemoryAllocator::_track_heap_free(): ptr=";
    const std::string previous =
        " - size=4 - file=memory_allocator_test.cpp - line=" + std::to_string(line);
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{
                  released + hexAddress(first, "0x%.8lX") + " - size=4 - file= - line=0",
                  released + hexAddress(second, "0x%.8lX") + previous,
                  released + hexAddress(third, "0x%.8lX") + previous}));
}

TEST_F(OrvMemoryAllocatorTest, TrackedBlocksAreZeroFilled) {
    unsigned char* block = ORV_NEW unsigned char[4096];
    size_t nonZero = 0;
    for (int i = 0; i < 4096; ++i) {
        nonZero += block[i] != 0;
    }
    EXPECT_EQ(nonZero, 0u);
    ORV_DELETE_ARRAY(block);
}

TEST_F(OrvMemoryAllocatorTest, UntrackingKeepsTheBlockButDropsItFromTheReport) {
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    int* instance = ORV_NEW int(1);
    EXPECT_EQ(OrvMemoryAllocator::_track_heap_free(instance, nullptr, 0), 1);
    EXPECT_EQ(OrvMemoryAllocator::_track_heap_free(instance, nullptr, 0), 0);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u);
    EXPECT_EQ(*instance, 1);
    delete instance;
    EXPECT_EQ(capture.messages().back(), "OrvMemoryAllocator::_track_heap_free(): ptr=" +
                                             hexAddress(instance, "0x%.8lX") + " - size=4");
}

TEST_F(OrvMemoryAllocatorTest, NextUniqueIdStartsAtOneAfterInit) {
    OrvMemoryAllocator::init();
    EXPECT_EQ(OrvMemoryAllocator::nextUniqueId(), 1u);
    EXPECT_EQ(OrvMemoryAllocator::nextUniqueId(), 2u);
}

// The runtime's own blocks go through the replaced operators; they must all
// be given back, or the whole process would leak.
TEST_F(OrvMemoryAllocatorTest, UntrackedBlocksAreReallyFreed) {
    malloc_trim(0);
    size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 1000000; ++i) {
        char* p = new char[64];
        p[0] = 1;
        delete[] p;
    }
    {
        std::vector<int> grown;
        for (int i = 0; i < 1000000; ++i) {
            grown.push_back(i);
        }
        grown.clear();
        grown.shrink_to_fit();
    }
    size_t after = mallinfo2().uordblks;
    EXPECT_LT(after, before + 64 * 1024);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u);
}

TEST_F(OrvMemoryAllocatorTest, OtherThreadsAllocateWhileTheMainThreadTracks) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (int t = 0; t < 3; ++t) {
        workers.emplace_back([&stop] {
            while (!stop.load()) {
                std::vector<std::string> strings(64, std::string(100, 'x'));
            }
        });
    }
    std::vector<int*> blocks;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 1000; ++i) {
            blocks.push_back(ORV_NEW int(i));
        }
        EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocks.size());
        for (int* block : blocks) {
            ORV_DELETE(block);
        }
        blocks.clear();
    }
    stop = true;
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u);
}

}  // namespace
