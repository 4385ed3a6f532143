/// @file
/// OrvPointerMap, the constant-time map from pointers to pointers.
#pragma once

#include <cstddef>
#include <cstdint>

/// OrvPointerMap: maps pointers to pointers in constant time on average, for
/// the indexes that must not slow down as the engine's node count grows. Open
/// addressing with linear probing in one tracked array that doubles when half
/// full and halves when an eighth full, so its size follows its contents; a
/// removal shifts the entries behind it back instead of leaving tombstones. It
/// stores pointers only and never owns what they point to. Null keys are not
/// stored.
class OrvPointerMap {
  public:
    /// An empty map; it allocates at the first set.
    OrvPointerMap() = default;
    /// Frees the storage, never what the keys and values point to.
    ~OrvPointerMap();

    OrvPointerMap(const OrvPointerMap&) = delete;
    OrvPointerMap& operator=(const OrvPointerMap&) = delete;

    /// Adds the key or replaces its value. Returns 1, or 0 for a null key or
    /// when no storage could be allocated (the map is then unchanged).
    int set(const void* key, void* value);
    /// 1 and the value through value (when not null) if the key is present;
    /// otherwise 0, value untouched. A null key is never present.
    int find(const void* key, void** value) const;
    /// Returns 1 when the key was present, 0 otherwise (a null key included).
    int remove(const void* key);
    /// Removes every entry and frees the storage.
    void clear();

    /// The number of keys stored.
    size_t getCount() const { return m_count; }

    /// Calls visit(key, value) for every entry, in no particular order. The
    /// map must not change while it runs.
    template <typename Visit>
    void forEach(Visit visit) const {
        for (size_t i = 0; i < m_capacity; ++i) {
            if (m_slots[i].key != nullptr) {
                visit(m_slots[i].key, m_slots[i].value);
            }
        }
    }

  private:
    struct Slot {
        const void* key;
        void* value;
    };

    size_t home(const void* key) const;
    size_t findSlot(const void* key) const;
    bool resize(size_t capacity);
    void shrinkIfSparse();

    Slot* m_slots = nullptr;
    size_t m_capacity = 0;
    size_t m_count = 0;
};
