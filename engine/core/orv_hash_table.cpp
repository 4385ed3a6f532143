#include "core/orv_hash_table.h"

#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_string.h"

namespace {

void setKey(OrvHashTableEntry* entry, const char* name, uintptr_t key) {
    entry->pointerKey = key;
    orvCopyBounded(entry->nameKey, sizeof(entry->nameKey), name != nullptr ? name : "");
}

// A name lookup compares names, a pointer lookup compares pointers; names are
// compared over the 255 characters an entry can hold.
bool matches(const OrvHashTableEntry* entry, const char* name, uintptr_t key) {
    if (name != nullptr) {
        return std::strncmp(entry->nameKey, name, OrvHashTableEntry::kNameSize - 1) == 0;
    }
    return entry->pointerKey == key;
}

}  // namespace

OrvHashTable::OrvHashTable()
    : m_mode(-1),
      m_buckets(nullptr),
      m_entries(nullptr),
      m_size(0),
      m_storageSize(0),
      m_collisionCount(0) {
    // Non-virtual calls on purpose: a derived class is not built yet.
    OrvHashTable::setMode(MODE_CHAINED);
    setSize(kDefaultSize);
    OrvHashTable::allocate();
}

OrvHashTable::~OrvHashTable() {
    OrvHashTable::release();
}

void OrvHashTable::allocate() {
    release();
    m_collisionCount = 0;
    if (m_size <= 0) {
        return;
    }
    if (m_mode == MODE_CHAINED) {
        m_buckets = ORV_NEW OrvLinkedList[m_size];
    } else if (m_mode == MODE_OPEN_ADDRESSING) {
        m_entries = ORV_NEW OrvHashTableEntry[m_size];
    }
    if (m_buckets != nullptr || m_entries != nullptr) {
        m_storageSize = m_size;
    } else if (m_mode == MODE_CHAINED || m_mode == MODE_OPEN_ADDRESSING) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING, "OrvHashTable::allocate(): out of memory for %d entries.", m_size);
    }
}

void OrvHashTable::release() {
    if (m_buckets != nullptr) {
        for (int i = 0; i < m_storageSize; ++i) {
            OrvLinkedList& bucket = m_buckets[i];
            for (OrvLinkedListNode* node = bucket.first(0); node != nullptr; node = bucket.next()) {
                ORV_DELETE(static_cast<OrvHashTableEntry*>(node->data));
            }
            bucket.clear();
        }
        ORV_DELETE_ARRAY(m_buckets);
        m_buckets = nullptr;
    }
    if (m_entries != nullptr) {
        ORV_DELETE_ARRAY(m_entries);
        m_entries = nullptr;
    }
    m_storageSize = 0;
    m_collisionCount = 0;
}

int OrvHashTable::setMode(int mode) {
    if (mode != m_mode) {
        m_mode = mode;
        allocate();
    }
    return m_mode;
}

int OrvHashTable::getMode() const {
    return m_mode;
}

int OrvHashTable::getCollisionCount() const {
    return m_collisionCount;
}

int OrvHashTable::hashPointer(const void* key) const {
    uintptr_t p = reinterpret_cast<uintptr_t>(key);
    return static_cast<int>((p ^ (p >> 8)) & static_cast<uintptr_t>(m_storageSize - 1));
}

int OrvHashTable::hashString(const char* name) const {
    if (name == nullptr) {
        return 0;
    }
    // Unsigned, so that a name of millions of characters wraps instead of
    // overflowing; the masked result is the same as that of a signed sum.
    unsigned int sum = 0;
    for (const char* c = name; *c != '\0'; ++c) {
        sum += static_cast<unsigned int>(static_cast<signed char>(*c));
    }
    return static_cast<int>(sum & static_cast<unsigned int>(m_storageSize - 1));
}

int OrvHashTable::insert(const char* name, intptr_t value) {
    if (name == nullptr) {
        return 0;
    }
    return insertEntry(hashString(name), name, 0, value);
}

int OrvHashTable::insert(const void* key, intptr_t value) {
    return insertEntry(hashPointer(key), nullptr, reinterpret_cast<uintptr_t>(key), value);
}

int OrvHashTable::remove(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    return removeEntry(hashString(name), name, 0);
}

int OrvHashTable::remove(const void* key) {
    return removeEntry(hashPointer(key), nullptr, reinterpret_cast<uintptr_t>(key));
}

intptr_t OrvHashTable::find(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    OrvHashTableEntry* entry = findEntry(hashString(name), name, 0);
    return entry != nullptr ? entry->value : 0;
}

intptr_t OrvHashTable::find(const void* key) {
    OrvHashTableEntry* entry =
        findEntry(hashPointer(key), nullptr, reinterpret_cast<uintptr_t>(key));
    return entry != nullptr ? entry->value : 0;
}

int OrvHashTable::insertEntry(int index, const char* name, uintptr_t key, intptr_t value) {
    if (m_buckets != nullptr) {
        OrvHashTableEntry* entry = ORV_NEW OrvHashTableEntry;
        if (entry == nullptr) {
            OrvLog::getInstance()->write(OrvLog::WARNING,
                                         "OrvHashTable::insert(): out of memory, entry not added.");
            return 0;
        }
        setKey(entry, name, key);
        entry->value = value;
        OrvLinkedList& bucket = m_buckets[index];
        if (bucket.add(entry) == 0) {
            ORV_DELETE(entry);
            return 0;
        }
        if (bucket.getCount() > 1) {
            ++m_collisionCount;
        }
        return bucket.getCount();
    }
    if (m_entries == nullptr) {
        return 0;
    }
    OrvHashTableEntry* slot = nullptr;
    for (int i = index; i < m_storageSize && slot == nullptr; ++i) {
        if (m_entries[i].value == 0) {
            slot = &m_entries[i];
        } else {
            ++m_collisionCount;
        }
    }
    for (int i = index - 1; i >= 0 && slot == nullptr; --i) {
        if (m_entries[i].value == 0) {
            slot = &m_entries[i];
        } else {
            ++m_collisionCount;
        }
    }
    if (slot == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvHashTable::insert(): table full (%d entries), entry "
                                     "not added.",
                                     m_storageSize);
        return 0;
    }
    setKey(slot, name, key);
    slot->value = value;
    return 1;
}

int OrvHashTable::removeEntry(int index, const char* name, uintptr_t key) {
    OrvHashTableEntry* entry = findEntry(index, name, key);
    if (entry == nullptr) {
        return 0;
    }
    if (m_buckets != nullptr) {
        // findChained left the bucket's cursor on the entry.
        m_buckets[index].removeCurrent();
        ORV_DELETE(entry);
    } else {
        setKey(entry, nullptr, 0);
        entry->value = 0;
    }
    return 1;
}

OrvHashTableEntry* OrvHashTable::findEntry(int index, const char* name, uintptr_t key) {
    if (m_buckets != nullptr) {
        return findChained(index, name, key);
    }
    if (m_entries != nullptr) {
        return findOpen(index, name, key);
    }
    return nullptr;
}

OrvHashTableEntry* OrvHashTable::findChained(int index, const char* name, uintptr_t key) {
    OrvLinkedList& bucket = m_buckets[index];
    for (OrvLinkedListNode* node = bucket.first(0); node != nullptr; node = bucket.next()) {
        OrvHashTableEntry* entry = static_cast<OrvHashTableEntry*>(node->data);
        if (matches(entry, name, key)) {
            return entry;
        }
    }
    return nullptr;
}

// Open addressing never stops at a free slot, because a removal leaves a hole
// in the middle of a probe run.
OrvHashTableEntry* OrvHashTable::findOpen(int index, const char* name, uintptr_t key) {
    for (int i = index; i < m_storageSize; ++i) {
        if (matches(&m_entries[i], name, key)) {
            return &m_entries[i];
        }
    }
    for (int i = index - 1; i >= 0; --i) {
        if (matches(&m_entries[i], name, key)) {
            return &m_entries[i];
        }
    }
    return nullptr;
}
