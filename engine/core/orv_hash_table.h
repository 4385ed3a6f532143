// OrvHashTable: keys (a name of up to 255 characters, or a pointer) to
// pointer-sized values, in chained buckets (mode 0) or open addressing
// (mode 1). The table never grows or rehashes. The node manager derives from
// it to find creators by type string.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"

struct OrvHashTableEntry {
    static constexpr int kNameSize = 256;

    uintptr_t pointerKey;
    char nameKey[kNameSize];
    intptr_t value;
};

class OrvHashTable {
  public:
    enum Mode { MODE_CHAINED = 0, MODE_OPEN_ADDRESSING = 1 };
    static constexpr int kDefaultSize = 1021;

    OrvHashTable();
    virtual ~OrvHashTable();

    OrvHashTable(const OrvHashTable&) = delete;
    OrvHashTable& operator=(const OrvHashTable&) = delete;

    virtual void allocate();
    virtual void release();
    virtual int setMode(int mode);
    virtual int getMode() const;
    virtual int insert(const char* name, intptr_t value);
    virtual int insert(const void* key, intptr_t value);
    virtual int remove(const char* name);
    virtual int remove(const void* key);
    virtual intptr_t find(const char* name);
    virtual intptr_t find(const void* key);
    virtual int getCollisionCount() const;
    virtual int hashPointer(const void* key) const;
    virtual int hashString(const char* name) const;

    // Takes effect at the next allocate: until then the table keeps hashing
    // into, and walking, the storage it has.
    void setSize(int size) { m_size = size; }
    int getSize() const { return m_size; }

  private:
    OrvHashTableEntry* findChained(int index, const char* name, uintptr_t key);
    OrvHashTableEntry* findOpen(int index, const char* name, uintptr_t key);
    OrvHashTableEntry* findEntry(int index, const char* name, uintptr_t key);
    int insertEntry(int index, const char* name, uintptr_t key, intptr_t value);
    int removeEntry(int index, const char* name, uintptr_t key);

    int32_t m_mode;
    OrvLinkedList* m_buckets;
    OrvHashTableEntry* m_entries;
    int32_t m_size;
    // The number of buckets or entries the storage was allocated with.
    int32_t m_storageSize;
    int32_t m_collisionCount;
};
