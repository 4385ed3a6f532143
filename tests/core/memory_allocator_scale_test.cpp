// The tracked allocator with many blocks alive: what a block costs beside
// itself, and the leak report's order once the table has grown far past its
// first size.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "orv_test_log.h"

namespace {

constexpr int kBlocks = 100000;

int reportBucket(uintptr_t address) {
    return static_cast<int>(((address >> 8) & 0x3FFF) ^ (address & 0x3FFF));
}

class MemoryAllocatorScaleTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u); }
    void TearDown() override {
        for (char* block : blocks) {
            ORV_DELETE_ARRAY(block);
        }
        EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u);
    }

    // Blocks of 1 to 16 bytes, so that the sizes in the report tell them apart.
    void allocate(int count) {
        for (int i = 0; i < count; ++i) {
            allocationLine = __LINE__ + 1;
            blocks.push_back(ORV_NEW char[sizeOf(blocks.size())]);
        }
    }

    void release(size_t index) {
        ORV_DELETE_ARRAY(blocks[index]);
        blocks[index] = nullptr;
    }

    static int sizeOf(size_t index) { return 1 + static_cast<int>(index % 16); }

    // The blocks still held, listed by buckets of the address in index order
    // and in allocation order within a bucket, each with its size, file and
    // line, and the total their sum.
    void expectReportOfLiveBlocks() {
        OrvTestLog capture(OrvLog::DETAILED_DEBUG);
        OrvMemoryAllocator::dumpMemoryLeaks();
        const std::vector<std::string> messages = capture.messages();
        std::vector<std::vector<size_t>> byBucket(OrvMemoryAllocator::kBucketCount);
        unsigned long long total = 0;
        size_t live = 0;
        for (size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i] != nullptr) {
                byBucket[reportBucket(reinterpret_cast<uintptr_t>(blocks[i]))].push_back(i);
                total += sizeOf(i);
                ++live;
            }
        }
        ASSERT_EQ(messages.size(), live + 3u);
        size_t at = 1;
        for (const std::vector<size_t>& bucket : byBucket) {
            for (size_t i : bucket) {
                char expected[256];
                std::snprintf(expected, sizeof(expected),
                              "OrvMemoryAllocator::dumpMemoryLeaks(): ADDRESS 0x%.8lx\t%d bytes "
                              "unfreed - file=memory_allocator_scale_test.cpp - line=%d",
                              static_cast<unsigned long>(reinterpret_cast<uintptr_t>(blocks[i])),
                              sizeOf(i), allocationLine);
                ASSERT_EQ(messages[at++], expected) << "block " << i;
            }
        }
        EXPECT_EQ(messages[at], "OrvMemoryAllocator::dumpMemoryLeaks(): Total heap unfreed: " +
                                    std::to_string(total) + " bytes");
    }

    std::vector<char*> blocks;
    int allocationLine = 0;
};

// The record of a block holds no copy of the file name: with the block, its
// record and its share of the table, a 16-byte block costs a fraction of what
// a 512-byte name would alone. (Under AddressSanitizer mallinfo2 does not see
// its heap, and the check holds trivially.)
TEST_F(MemoryAllocatorScaleTest, ATrackedBlockCostsLittleMoreThanItself) {
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < kBlocks; ++i) {
        blocks.push_back(ORV_NEW char[16]);
    }
    const size_t after = mallinfo2().uordblks;
    EXPECT_LE((after - before) / kBlocks, 128u);
}

// A hundred thousand blocks: buckets of the address in index order, blocks of
// one bucket in allocation order, each with its size, file and line, and the
// total their sum, exactly as with a handful of blocks.
TEST_F(MemoryAllocatorScaleTest, TheReportKeepsBucketAndAllocationOrderAfterTheTableGrew) {
    allocate(kBlocks);
    expectReportOfLiveBlocks();
}

// Blocks released from the middle, from the back and from the front, then new
// ones allocated where the heap hands back the freed addresses: each release
// takes out its own block and no other, and the report still lists the rest
// in bucket and allocation order.
TEST_F(MemoryAllocatorScaleTest, ReleasesInAnyOrderLeaveTheOthersListedInOrder) {
    allocate(kBlocks);
    for (size_t i = kBlocks / 2; i < kBlocks; i += 3) {
        release(i);
    }
    for (size_t i = kBlocks / 2; i-- > 0;) {
        if (i % 3 != 0) {
            release(i);
        }
    }
    for (size_t i = 0; i < kBlocks / 4; i += 7) {
        if (blocks[i] != nullptr) {
            release(i);
        }
    }
    expectReportOfLiveBlocks();
    allocate(kBlocks / 10);
    expectReportOfLiveBlocks();
}

}  // namespace
