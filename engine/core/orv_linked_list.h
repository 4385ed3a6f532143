// OrvLinkedList: the engine's general container, a singly linked list of
// untyped pointers with one built-in cursor. It never owns what it stores.
#pragma once

#include <cstdint>

struct OrvLinkedListNode {
    OrvLinkedListNode* next;
    uint32_t id;
    void* data;
};

class OrvLinkedList {
  public:
    OrvLinkedList();
    ~OrvLinkedList();

    OrvLinkedList(const OrvLinkedList&) = delete;
    OrvLinkedList& operator=(const OrvLinkedList&) = delete;

    // Returns the new node's id, or 0 when no node could be allocated.
    uint32_t add(void* data);
    OrvLinkedListNode* remove(const void* data);
    OrvLinkedListNode* removeCurrent();
    // Removes the one node that follows previous, or the head when previous
    // is null, in constant time; returns its data, or null when there is no
    // such node. A cursor standing on it is cleared.
    void* removeAfter(OrvLinkedListNode* previous);
    void clear();

    int getCount() const { return m_count; }
    // Walking from these through next pointers leaves the cursor alone.
    OrvLinkedListNode* getHead() const { return m_head; }
    OrvLinkedListNode* getTail() const { return m_tail; }
    OrvLinkedListNode* first(int index);
    OrvLinkedListNode* next();
    OrvLinkedListNode* getCurrent() const { return m_cursor; }
    void* getCurrentData() const { return m_cursor ? m_cursor->data : nullptr; }

  private:
    OrvLinkedListNode* m_head;
    OrvLinkedListNode* m_tail;
    OrvLinkedListNode* m_cursor;
    int32_t m_count;
};
