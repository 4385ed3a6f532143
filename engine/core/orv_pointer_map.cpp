#include "core/orv_pointer_map.h"

#include "core/orv_memory_allocator.h"

namespace {

// The smallest table made; it is kept while the map is in use, so that a
// map that fills and empties again does not allocate each time.
constexpr size_t kMinCapacity = 16;

// Fibonacci hashing: heap addresses differ mostly in their middle bits, and
// the multiplication carries those into the top bits the index is taken from.
constexpr uint64_t kGolden = 0x9E3779B97F4A7C15ull;

}  // namespace

OrvPointerMap::~OrvPointerMap() {
    clear();
}

size_t OrvPointerMap::home(const void* key) const {
    const uint64_t hash = reinterpret_cast<uintptr_t>(key) * kGolden;
    return static_cast<size_t>(hash >> 32) & (m_capacity - 1);
}

// The slot holding the key, or the empty slot where it would go.
size_t OrvPointerMap::findSlot(const void* key) const {
    size_t i = home(key);
    while (m_slots[i].key != nullptr && m_slots[i].key != key) {
        i = (i + 1) & (m_capacity - 1);
    }
    return i;
}

int OrvPointerMap::set(const void* key, void* value) {
    if (key == nullptr) {
        return 0;
    }
    if (2 * (m_count + 1) > m_capacity &&
        !resize(m_capacity == 0 ? kMinCapacity : 2 * m_capacity)) {
        return 0;
    }
    const size_t i = findSlot(key);
    if (m_slots[i].key == nullptr) {
        m_slots[i].key = key;
        ++m_count;
    }
    m_slots[i].value = value;
    return 1;
}

int OrvPointerMap::find(const void* key, void** value) const {
    if (key == nullptr || m_count == 0) {
        return 0;
    }
    const size_t i = findSlot(key);
    if (m_slots[i].key == nullptr) {
        return 0;
    }
    if (value != nullptr) {
        *value = m_slots[i].value;
    }
    return 1;
}

int OrvPointerMap::remove(const void* key) {
    if (key == nullptr || m_count == 0) {
        return 0;
    }
    size_t hole = findSlot(key);
    if (m_slots[hole].key == nullptr) {
        return 0;
    }
    // Every entry after the hole up to the next empty slot moves into the
    // hole when the hole lies on its way from its home slot.
    const size_t mask = m_capacity - 1;
    for (size_t i = (hole + 1) & mask; m_slots[i].key != nullptr; i = (i + 1) & mask) {
        const size_t distanceToHole = (i - hole) & mask;
        const size_t distanceFromHome = (i - home(m_slots[i].key)) & mask;
        if (distanceFromHome >= distanceToHole) {
            m_slots[hole] = m_slots[i];
            hole = i;
        }
    }
    m_slots[hole] = Slot{nullptr, nullptr};
    --m_count;
    shrinkIfSparse();
    return 1;
}

void OrvPointerMap::clear() {
    if (m_slots != nullptr) {
        ORV_DELETE_ARRAY(m_slots);
    }
    m_slots = nullptr;
    m_capacity = 0;
    m_count = 0;
}

// Moves every entry into a new table of the given size; false, with the map
// unchanged, when the table cannot be allocated.
bool OrvPointerMap::resize(size_t capacity) {
    Slot* slots = ORV_NEW Slot[capacity];
    if (slots == nullptr) {
        return false;
    }
    Slot* old = m_slots;
    const size_t oldCapacity = m_capacity;
    m_slots = slots;
    m_capacity = capacity;
    for (size_t i = 0; i < oldCapacity; ++i) {
        if (old[i].key != nullptr) {
            m_slots[findSlot(old[i].key)] = old[i];
        }
    }
    if (old != nullptr) {
        ORV_DELETE_ARRAY(old);
    }
    return true;
}

// A table that grew for a crowd gives its memory back as the crowd leaves. A
// failed allocation keeps the larger table, which works as well.
void OrvPointerMap::shrinkIfSparse() {
    if (m_capacity > kMinCapacity && 8 * m_count < m_capacity) {
        resize(m_capacity / 2);
    }
}
