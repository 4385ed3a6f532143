/// @file
/// OrvLinkedList, the engine's general container of untyped pointers.
#pragma once

#include <cstdint>

/// One node of an OrvLinkedList, owned by the list.
struct OrvLinkedListNode {
    OrvLinkedListNode* next;  ///< The following node, null at the tail.
    /// The id add gave the node, from OrvMemoryAllocator::nextUniqueId.
    uint32_t id;
    void* data;  ///< What the node stores; the list never owns it.
};

/// OrvLinkedList: the engine's general container, a singly linked list of
/// untyped pointers with one built-in cursor. It never owns what it stores.
class OrvLinkedList {
  public:
    /// An empty list.
    OrvLinkedList();
    /// Frees the nodes, never what they store.
    ~OrvLinkedList();

    OrvLinkedList(const OrvLinkedList&) = delete;
    OrvLinkedList& operator=(const OrvLinkedList&) = delete;

    /// Appends the data (null and repeats allowed) at the tail.
    /// Returns the new node's id, or 0 when no node could be allocated (with a
    /// WARNING line).
    uint32_t add(void* data);
    /// Removes every node holding the data, compared as a pointer, in linear time.
    /// Returns the list's tail afterwards, null when nothing was removed or the
    /// list is now empty. A cursor standing on a removed node is cleared, so an
    /// iteration with next ends there.
    OrvLinkedListNode* remove(const void* data);
    /// Removes every node holding the cursor's data, those before the cursor too,
    /// and steps the cursor back to the nearest node before it that stays, so that
    /// next continues the iteration; with none before it the cursor is cleared and
    /// the iteration ends. Returns as remove does, or null without a cursor.
    OrvLinkedListNode* removeCurrent();
    /// Removes the one node that follows previous, or the head when previous
    /// is null, in constant time; returns its data, or null when there is no
    /// such node. A cursor standing on it is cleared.
    void* removeAfter(OrvLinkedListNode* previous);
    /// Frees every node (never what they store) and clears the cursor.
    void clear();

    /// The number of nodes.
    int getCount() const { return m_count; }
    /// The first and the last node, null when the list is empty.
    /// Walking from these through next pointers leaves the cursor alone.
    ///@{
    OrvLinkedListNode* getHead() const { return m_head; }
    OrvLinkedListNode* getTail() const { return m_tail; }
    ///@}
    /// Puts the cursor on the node at the index and returns it: 0 or less gives the
    /// head, the count or more the tail, an empty list null.
    OrvLinkedListNode* first(int index);
    /// Moves the cursor to the following node and returns it; null (the cursor
    /// cleared) past the tail, and null when there is no cursor.
    OrvLinkedListNode* next();
    /// The node under the cursor, or null.
    OrvLinkedListNode* getCurrent() const { return m_cursor; }
    /// The data of the node under the cursor, or null when there is no cursor.
    void* getCurrentData() const { return m_cursor ? m_cursor->data : nullptr; }

  private:
    OrvLinkedListNode* m_head;
    OrvLinkedListNode* m_tail;
    OrvLinkedListNode* m_cursor;
    int32_t m_count;
};
