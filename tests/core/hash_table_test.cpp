#include <string>

#include <gtest/gtest.h>

#include "core/orv_hash_table.h"
#include "core/orv_memory_allocator.h"

namespace {

class OrvHashTableModeTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { table.setMode(GetParam()); }
    OrvHashTable table;
};

TEST_P(OrvHashTableModeTest, DuplicateNamesAreStoredTwiceAndUncoveredByRemove) {
    table.insert("ORV_NODE_MESH", 1);
    table.insert("ORV_NODE_MESH", 2);
    EXPECT_EQ(table.find("ORV_NODE_MESH"), 1);
    EXPECT_EQ(table.remove("ORV_NODE_MESH"), 1);
    EXPECT_EQ(table.find("ORV_NODE_MESH"), 2);
    table.remove("ORV_NODE_MESH");
    EXPECT_EQ(table.find("ORV_NODE_MESH"), 0);
    EXPECT_EQ(table.remove("ORV_NODE_MESH"), 0);
}

TEST_P(OrvHashTableModeTest, AnagramsShareABucketButNotAValue) {
    table.insert("AB", 10);
    table.insert("BA", 20);
    EXPECT_EQ(table.find("AB"), 10);
    EXPECT_EQ(table.find("BA"), 20);
    EXPECT_EQ(table.getCollisionCount(), 1);
}

TEST_P(OrvHashTableModeTest, PointerKeysCompareAllSixtyFourBits) {
    const void* low = reinterpret_cast<const void*>(uintptr_t{0x0000000012345678});
    const void* high = reinterpret_cast<const void*>(uintptr_t{0x0000700012345678});
    // Both land in one bucket, so only the full key tells them apart.
    ASSERT_EQ(table.hashPointer(low), table.hashPointer(high));
    table.insert(low, 1);
    table.insert(high, 2);
    EXPECT_EQ(table.find(low), 1);
    EXPECT_EQ(table.find(high), 2);
    table.remove(low);
    EXPECT_EQ(table.find(low), 0);
    EXPECT_EQ(table.find(high), 2);
}

TEST_P(OrvHashTableModeTest, ValuesHoldWholePointers) {
    static int target;
    table.insert("creator", reinterpret_cast<intptr_t>(&target));
    EXPECT_EQ(reinterpret_cast<int*>(table.find("creator")), &target);
}

TEST_P(OrvHashTableModeTest, NamesCompareOverTheirFirst255Characters) {
    // Same first 255 characters and the same character sum, so the same bucket.
    std::string stored = std::string(255, 'n') + "xy";
    std::string probe = std::string(255, 'n') + "yx";
    table.insert(stored.c_str(), 5);
    EXPECT_EQ(table.find(stored.c_str()), 5);
    EXPECT_EQ(table.find(probe.c_str()), 5);
}

// Found by fuzzing: a size set without allocate was taken at once for
// hashing and walking, so lookups missed and released storage was overrun.
TEST_P(OrvHashTableModeTest, ANewSizeWaitsForAllocate) {
    const std::string far(10, 'z');
    table.insert("ab", 1);
    table.insert(far.c_str(), 2);
    table.setSize(4096);
    EXPECT_EQ(table.find("ab"), 1);
    EXPECT_EQ(table.find(far.c_str()), 2);
    EXPECT_EQ(table.remove("ab"), 1);
    table.allocate();
    EXPECT_EQ(table.find(far.c_str()), 0);
    EXPECT_EQ(table.insert(far.c_str(), 3), 1);
    EXPECT_EQ(table.hashString(far.c_str()), 1220);
    EXPECT_EQ(table.find(far.c_str()), 3);
}

// The characters' sum passes INT_MAX; it must wrap, not overflow.
TEST_P(OrvHashTableModeTest, ANameOfMillionsOfCharactersHashesInsideTheTable) {
    const std::string huge(20'000'000, '\x7f');
    EXPECT_EQ(table.hashString(huge.c_str()),
              static_cast<int>((20'000'000u * 127u) & (OrvHashTable::kDefaultSize - 1)));
    table.insert(huge.c_str(), 7);
    EXPECT_EQ(table.find(huge.c_str()), 7);
}

INSTANTIATE_TEST_SUITE_P(BothModes, OrvHashTableModeTest,
                         ::testing::Values(OrvHashTable::MODE_CHAINED,
                                           OrvHashTable::MODE_OPEN_ADDRESSING));

TEST(OrvHashTableTest, NameHashIsTheMaskedSignedSum) {
    OrvHashTable table;
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {
        {"AB", 128},                   // 65 + 66 = 131, masked with 1020
        {nullptr, 0},                  //
        {"", 0},                       //
        {"\xFF", -1 & 1020},           // a character above 127 counts negative
        {"A\x80", (65 - 128) & 1020},  //
        {"ORV_NODE_CAMERA", 1156 & 1020},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table.hashString(c.name), c.index) << (c.name ? c.name : "null");
    }
}

TEST(OrvHashTableTest, PointerHashStaysInsideTheTable) {
    OrvHashTable table;
    for (uintptr_t p = 1; p < (uintptr_t{1} << 48); p = p * 3 + 7) {
        int index = table.hashPointer(reinterpret_cast<const void*>(p));
        EXPECT_EQ(index & ~1020, 0) << p;
    }
}

TEST(OrvHashTableTest, SetModeKeepsContentsOnlyWhenUnchanged) {
    OrvHashTable table;
    table.insert("kept", 1);
    table.setMode(OrvHashTable::MODE_CHAINED);
    EXPECT_EQ(table.find("kept"), 1);
    table.setMode(OrvHashTable::MODE_OPEN_ADDRESSING);
    EXPECT_EQ(table.find("kept"), 0);
}

TEST(OrvHashTableTest, OpenAddressingTreatsValueZeroAsFree) {
    OrvHashTable table;
    table.setMode(OrvHashTable::MODE_OPEN_ADDRESSING);
    table.insert("zero", 0);
    table.insert("AB", 3);
    table.insert("BA", 4);
    // "zero" occupied nothing, so only "BA" had to step past a used slot.
    EXPECT_EQ(table.getCollisionCount(), 1);
    EXPECT_EQ(table.find("BA"), 4);
}

TEST(OrvHashTableTest, OpenAddressingFullTableDropsTheInsert) {
    OrvHashTable table;
    table.setSize(4);
    table.setMode(OrvHashTable::MODE_OPEN_ADDRESSING);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(table.insert(std::to_string(i).c_str(), i), 1);
    }
    EXPECT_EQ(table.insert("5", 5), 0);
    EXPECT_EQ(table.find("5"), 0);
    EXPECT_EQ(table.find("4"), 4);
}

TEST(OrvHashTableTest, ReleaseFreesEveryEntryAndAllocateStartsAfresh) {
    {
        OrvHashTable table;
        table.insert("a", 1);
        table.insert("b", 2);
        table.release();
        EXPECT_EQ(table.find("a"), 0);
        table.allocate();
        table.insert("c", 3);
        EXPECT_EQ(table.find("c"), 3);
    }
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u);
}

}  // namespace
