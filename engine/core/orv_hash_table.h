/// @file
/// OrvHashTable, the fixed-size table of names or pointers to pointer-sized values.
#pragma once

#include <cstdint>

#include "core/orv_linked_list.h"

/// One entry of an OrvHashTable. A name entry holds a null pointerKey, a
/// pointer entry an empty nameKey.
struct OrvHashTableEntry {
    /// Bytes of nameKey, the terminator included: names are cut to 255 characters.
    static constexpr int kNameSize = 256;

    uintptr_t pointerKey;     ///< The pointer key, or 0 in a name entry.
    char nameKey[kNameSize];  ///< The name key, or "" in a pointer entry.
    /// The value; in open addressing 0 marks a free slot.
    intptr_t value;
};

/// OrvHashTable: keys (a name of up to 255 characters, or a pointer) to
/// pointer-sized values, in chained buckets (mode 0) or open addressing
/// (mode 1). The table never grows or rehashes. The node manager derives from
/// it to find creators by type string.
///
/// A key inserted twice is held twice, not replaced. An empty name and a null
/// pointer are what entries of the other kind hold, so they can match those.
class OrvHashTable {
  public:
    /// How the table stores its entries.
    enum Mode {
        /// One linked list per bucket, an entry allocated for each insert; never full.
        MODE_CHAINED = 0,
        /// One array of getSize() entries, probed upwards from the key's slot and then
        /// downwards; full at getSize() entries.
        MODE_OPEN_ADDRESSING = 1
    };
    /// Buckets (or entries) of a new table.
    static constexpr int kDefaultSize = 1021;

    /// An empty chained table of kDefaultSize buckets.
    OrvHashTable();
    virtual ~OrvHashTable();

    OrvHashTable(const OrvHashTable&) = delete;
    OrvHashTable& operator=(const OrvHashTable&) = delete;

    /// Drops every entry and makes empty storage of getSize() for the mode. With a
    /// size of 0 or less, an unknown mode, or no memory (a WARNING line), the table
    /// has no storage: inserts give 0 and lookups find nothing.
    virtual void allocate();
    /// Frees every entry and the storage (never what the values point to) and
    /// clears the collision count; the table accepts nothing until the next allocate.
    virtual void release();
    /// Switches to the mode (a Mode value) and, when it differs from the current
    /// one, allocates afresh, dropping every entry. Returns the mode now in use.
    virtual int setMode(int mode);
    /// The mode last set, a Mode value unless an unknown one was set.
    virtual int getMode() const;
    /// Adds the value under the name. Returns, chained, the number of entries in
    /// the name's bucket now; in open addressing 1. Returns 0, adding nothing, for
    /// a null name, a table without storage, no memory for the entry or a full
    /// table (the last two with a WARNING line).
    virtual int insert(const char* name, intptr_t value);
    /// Adds the value under the pointer; returns as the name form does.
    virtual int insert(const void* key, intptr_t value);
    /// Removes one entry of the name (the first found); 1 when there was one,
    /// else 0 (always 0 for a null name).
    virtual int remove(const char* name);
    /// Removes one entry of the pointer (the first found); 1 when there was one, else 0.
    virtual int remove(const void* key);
    /// The value of the first entry found under the name, or 0 when there is none
    /// or the name is null.
    virtual intptr_t find(const char* name);
    /// The value of the first entry found under the pointer, or 0 when there is none.
    virtual intptr_t find(const void* key);
    /// Inserts since the last allocate that met an occupied place: chained, one per
    /// insert into a bucket already holding an entry; in open addressing, one per
    /// occupied slot an insert stepped over. Removals do not lower it.
    virtual int getCollisionCount() const;
    /// The bucket of a pointer: (p XOR p >> 8) AND (storage size - 1).
    virtual int hashPointer(const void* key) const;
    /// The bucket of a name: the sum of its characters, as signed chars, AND
    /// (storage size - 1); 0 for null. Masking with the size minus one reaches
    /// every bucket only for a power-of-two size: with 1021, every fourth one.
    virtual int hashString(const char* name) const;

    /// The number of buckets (or entries) allocate makes.
    /// setSize takes effect at the next allocate: until then the table keeps hashing
    /// into, and walking, the storage it has.
    ///@{
    void setSize(int size) { m_size = size; }
    int getSize() const { return m_size; }
    ///@}

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
