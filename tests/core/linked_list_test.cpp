#include <vector>

#include <gtest/gtest.h>

#include "core/orv_linked_list.h"
#include "core/orv_memory_allocator.h"

namespace {

std::vector<void*> contents(OrvLinkedList& list) {
    std::vector<void*> result;
    for (OrvLinkedListNode* node = list.first(0); node != nullptr; node = list.next()) {
        result.push_back(node->data);
    }
    return result;
}

int a, b, c;

TEST(OrvLinkedListTest, RemoveTakesEveryCopyAndRecomputesTheTail) {
    OrvLinkedList list;
    list.add(&a);
    list.add(&b);
    list.add(&a);
    list.add(&c);
    list.add(&a);
    list.remove(&a);
    EXPECT_EQ(list.getCount(), 2);
    EXPECT_EQ(contents(list), (std::vector<void*>{&b, &c}));
    list.remove(&c);
    list.add(&a);
    EXPECT_EQ(contents(list), (std::vector<void*>{&b, &a}));
    EXPECT_EQ(list.remove(&c), nullptr);
}

TEST(OrvLinkedListTest, RemovingTheOnlyNodeEmptiesTheList) {
    OrvLinkedList list;
    list.add(&a);
    list.remove(&a);
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(list.first(0), nullptr);
    list.add(&b);
    EXPECT_EQ(contents(list), std::vector<void*>{&b});
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 1u);
}

TEST(OrvLinkedListTest, CursorMovesAndStopsAtTheEnd) {
    OrvLinkedList list;
    list.add(&a);
    list.add(&b);
    list.add(&c);
    EXPECT_EQ(list.first(1)->data, &b);
    EXPECT_EQ(list.first(3)->data, &c);
    EXPECT_EQ(list.getCurrentData(), &c);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.getCurrentData(), nullptr);
}

TEST(OrvLinkedListTest, RemoveCurrentStepsTheCursorBack) {
    OrvLinkedList list;
    list.add(&a);
    list.add(&b);
    list.add(&c);
    EXPECT_EQ(list.removeCurrent(), nullptr);

    list.first(0);
    list.next();
    list.removeCurrent();
    EXPECT_EQ(list.getCurrentData(), &a);
    EXPECT_EQ(list.next()->data, &c);

    list.first(0);
    list.removeCurrent();
    EXPECT_EQ(list.getCurrent(), nullptr);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(contents(list), std::vector<void*>{&c});
}

// Found by fuzzing: the copy in front of the cursor went too, and the cursor
// was left on its freed node.
TEST(OrvLinkedListTest, RemoveCurrentStepsBackPastCopiesOfTheSamePointer) {
    OrvLinkedList list;
    list.add(&b);
    list.add(&a);
    list.add(&a);
    list.add(&c);
    list.first(2);
    list.removeCurrent();
    EXPECT_EQ(list.getCurrentData(), &b);
    EXPECT_EQ(list.next()->data, &c);

    list.first(0);
    list.removeCurrent();
    EXPECT_EQ(list.getCurrent(), nullptr);
    EXPECT_EQ(contents(list), std::vector<void*>{&c});
}

// A remove that takes the node under the cursor ends the iteration instead of
// leaving the cursor on freed memory.
TEST(OrvLinkedListTest, RemovingTheNodeUnderTheCursorClearsTheCursor) {
    OrvLinkedList list;
    list.add(&a);
    list.add(&b);
    list.add(&c);
    list.first(1);
    list.remove(&b);
    EXPECT_EQ(list.getCurrent(), nullptr);
    EXPECT_EQ(list.next(), nullptr);

    list.first(1);
    list.remove(&a);
    EXPECT_EQ(list.getCurrentData(), &c);
}

TEST(OrvLinkedListTest, EveryAddTakesAnIdFromTheSharedCounter) {
    OrvLinkedList list;
    uint32_t first = list.add(nullptr);
    uint32_t between = OrvMemoryAllocator::nextUniqueId();
    uint32_t second = list.add(nullptr);
    EXPECT_EQ(between, first + 1);
    EXPECT_EQ(second, first + 2);
    EXPECT_EQ(list.getCount(), 2);
}

TEST(OrvLinkedListTest, ClearReleasesEveryNode) {
    OrvLinkedList list;
    list.clear();
    for (int i = 0; i < 10; ++i) {
        list.add(&a);
    }
    list.clear();
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), 0u);
}

}  // namespace
