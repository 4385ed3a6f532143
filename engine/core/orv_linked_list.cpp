#include "core/orv_linked_list.h"

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"

OrvLinkedList::OrvLinkedList() : m_head(nullptr), m_tail(nullptr), m_cursor(nullptr), m_count(0) {}

OrvLinkedList::~OrvLinkedList() {
    clear();
}

uint32_t OrvLinkedList::add(void* data) {
    OrvLinkedListNode* node = ORV_NEW OrvLinkedListNode;
    if (node == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvLinkedList::add(): out of memory, entry not added.");
        return 0;
    }
    node->next = nullptr;
    node->id = OrvMemoryAllocator::nextUniqueId();
    node->data = data;
    if (m_tail != nullptr) {
        m_tail->next = node;
    } else {
        m_head = node;
    }
    m_tail = node;
    ++m_count;
    return node->id;
}

OrvLinkedListNode* OrvLinkedList::remove(const void* data) {
    if (m_head == nullptr) {
        return nullptr;
    }
    bool removed = false;
    OrvLinkedListNode* previous = nullptr;
    OrvLinkedListNode* node = m_head;
    while (node != nullptr) {
        OrvLinkedListNode* next = node->next;
        if (node->data != data) {
            previous = node;
        } else {
            if (previous != nullptr) {
                previous->next = next;
            } else {
                m_head = next;
            }
            // A cursor left on a freed node would be read by the next call
            // of next; without one, an iteration simply ends.
            if (node == m_cursor) {
                m_cursor = nullptr;
            }
            ORV_DELETE(node);
            --m_count;
            removed = true;
        }
        node = next;
    }
    if (!removed) {
        return nullptr;
    }
    // Every node after the last one kept was removed, so it ends the list.
    m_tail = previous;
    return m_tail;
}

OrvLinkedListNode* OrvLinkedList::removeCurrent() {
    if (m_cursor == nullptr) {
        return nullptr;
    }
    // Every node holding the cursor's data goes, those in front of it too, so
    // the cursor steps back to the nearest node before it that stays.
    const void* data = m_cursor->data;
    OrvLinkedListNode* previous = nullptr;
    for (OrvLinkedListNode* node = m_head; node != m_cursor; node = node->next) {
        if (node->data != data) {
            previous = node;
        }
    }
    OrvLinkedListNode* result = remove(data);
    m_cursor = previous;
    return result;
}

void* OrvLinkedList::removeAfter(OrvLinkedListNode* previous) {
    OrvLinkedListNode* node = previous != nullptr ? previous->next : m_head;
    if (node == nullptr) {
        return nullptr;
    }
    if (previous != nullptr) {
        previous->next = node->next;
    } else {
        m_head = node->next;
    }
    if (node == m_tail) {
        m_tail = previous;
    }
    if (node == m_cursor) {
        m_cursor = nullptr;
    }
    void* data = node->data;
    ORV_DELETE(node);
    --m_count;
    return data;
}

void OrvLinkedList::clear() {
    OrvLinkedListNode* node = m_head;
    while (node != nullptr) {
        OrvLinkedListNode* next = node->next;
        ORV_DELETE(node);
        node = next;
    }
    m_head = nullptr;
    m_tail = nullptr;
    m_cursor = nullptr;
    m_count = 0;
}

OrvLinkedListNode* OrvLinkedList::first(int index) {
    m_cursor = m_head;
    if (index <= 0) {
        return m_cursor;
    }
    if (index >= m_count) {
        m_cursor = m_tail;
        return m_cursor;
    }
    for (int i = 0; i < index && m_cursor != nullptr; ++i) {
        m_cursor = m_cursor->next;
    }
    return m_cursor;
}

OrvLinkedListNode* OrvLinkedList::next() {
    if (m_cursor != nullptr) {
        m_cursor = m_cursor->next;
    }
    return m_cursor;
}
