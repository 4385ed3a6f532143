#include <cstdint>
#include <random>
#include <unordered_map>

#include <gtest/gtest.h>

#include "core/orv_linked_list.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_pointer_map.h"

namespace {

const void* key(uintptr_t k) {
    return reinterpret_cast<const void*>(k);
}

// Random sets and removals over a pool of keys that collide often, checked
// after every step against a standard map, through growth to thousands of
// entries and shrinking back.
TEST(OrvPointerMapTest, AgreesWithAStandardMapThroughGrowthAndShrinking) {
    const size_t blocksBefore = OrvMemoryAllocator::trackedBlockCount();
    OrvPointerMap map;
    std::unordered_map<const void*, void*> model;
    std::mt19937 random(19);
    for (int round = 0; round < 2; ++round) {
        // Fill up, then mostly remove.
        for (int step = 0; step < 40000; ++step) {
            const bool filling = step < 20000;
            const uintptr_t k = 16 * (1 + random() % 8000);
            void* value = reinterpret_cast<void*>(static_cast<uintptr_t>(step));
            if (random() % 4 != 0 ? filling : !filling) {
                ASSERT_EQ(map.set(key(k), value), 1);
                model[key(k)] = value;
            } else {
                ASSERT_EQ(map.remove(key(k)), model.erase(key(k)) == 1 ? 1 : 0);
            }
            ASSERT_EQ(map.getCount(), model.size());
        }
        for (const auto& entry : model) {
            void* value = nullptr;
            ASSERT_EQ(map.find(entry.first, &value), 1);
            EXPECT_EQ(value, entry.second);
        }
        size_t visited = 0;
        map.forEach([&](const void* k, void* v) {
            ++visited;
            EXPECT_EQ(model.at(k), v);
        });
        EXPECT_EQ(visited, model.size());
    }
    EXPECT_EQ(map.find(key(16 * 9000), nullptr), 0);
    EXPECT_EQ(map.set(nullptr, nullptr), 0);
    EXPECT_EQ(map.find(nullptr, nullptr), 0);
    map.clear();
    EXPECT_EQ(map.getCount(), 0u);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocksBefore);
}

// Removal after a known node: the head, the middle and the tail, with the
// count, the tail for the next add and a cursor standing on the removed node.
TEST(OrvLinkedListTest, RemoveAfterUnlinksExactlyOneNode) {
    int a = 1, b = 2, c = 3, d = 4;
    OrvLinkedList list;
    for (int* p : {&a, &b, &c}) {
        list.add(p);
    }
    list.first(1);  // the cursor on b
    EXPECT_EQ(list.removeAfter(list.getHead()), &b);
    EXPECT_EQ(list.getCurrent(), nullptr);
    EXPECT_EQ(list.removeAfter(list.getHead()), &c);
    EXPECT_EQ(list.getTail(), list.getHead());
    list.add(&d);
    EXPECT_EQ(list.getTail()->data, &d);
    EXPECT_EQ(list.removeAfter(nullptr), &a);
    EXPECT_EQ(list.getHead()->data, &d);
    EXPECT_EQ(list.removeAfter(list.getTail()), nullptr);
    EXPECT_EQ(list.getCount(), 1);
    EXPECT_EQ(list.removeAfter(nullptr), &d);
    EXPECT_EQ(list.getHead(), nullptr);
    EXPECT_EQ(list.getTail(), nullptr);
    EXPECT_EQ(list.removeAfter(nullptr), nullptr);
}

}  // namespace
