// Random operation sequences on OrvHashTable in both storage modes, with mode
// and size changes among them, checked against a map from key to the values
// stored under it. Names collide on purpose: anagrams, names that agree in
// their first 255 characters, characters above 127.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "orv_fuzz_support.h"
#include "core/orv_hash_table.h"

namespace {

constexpr size_t kNameLength = OrvHashTableEntry::kNameSize - 1;
const int kSizes[] = {-5, 0, 1, 2, 3, 4, 7, 8, 64, 1021, 4096};
int g_pool[6];

// A name key or a pointer key, as the table tells keys apart: names by their
// first 255 characters. Empty names and null pointers are left out, because
// an entry of the other kind holds exactly those as its unused key field.
struct Key {
    std::string name;
    const void* pointer = nullptr;

    bool operator<(const Key& other) const {
        return name != other.name ? name < other.name : pointer < other.pointer;
    }
};

Key keyFrom(FuzzedDataProvider& input) {
    Key key;
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            key.pointer = &g_pool[input.ConsumeIntegralInRange(0, 5)];
            return key;
        case 1: {
            static const char* const kNames[] = {"ab", "ba", "\xff\x80", "\x80\xff", "node"};
            key.name = kNames[input.ConsumeIntegralInRange(0, 4)];
            return key;
        }
        case 2:
            key.name = std::string(255, 'x') + input.ConsumeBytesAsString(2);
            break;
        default:
            key.name = input.ConsumeRandomLengthString(300);
            break;
    }
    key.name = key.name.substr(0, std::min(key.name.find('\0'), kNameLength));
    if (key.name.empty()) {
        key.name = "e";
    }
    return key;
}

// The table as it should be: the storage that allocate made (none, chained
// or open, with its capacity) and the values under each key, oldest first.
struct Model {
    int mode = OrvHashTable::MODE_CHAINED;
    int size = OrvHashTable::kDefaultSize;
    int storageMode = OrvHashTable::MODE_CHAINED;
    int capacity = OrvHashTable::kDefaultSize;
    std::map<Key, std::vector<intptr_t>> values;
    int entries = 0;

    void allocate() {
        const bool storage = size > 0 && (mode == OrvHashTable::MODE_CHAINED ||
                                          mode == OrvHashTable::MODE_OPEN_ADDRESSING);
        storageMode = storage ? mode : -1;
        capacity = storage ? size : 0;
        values.clear();
        entries = 0;
    }
};

void insert(OrvHashTable& table, Model& model, const Key& key, intptr_t value) {
    const int result = key.pointer != nullptr ? table.insert(key.pointer, value)
                                              : table.insert(key.name.c_str(), value);
    const bool fits =
        model.storageMode == OrvHashTable::MODE_CHAINED ||
        (model.storageMode == OrvHashTable::MODE_OPEN_ADDRESSING && model.entries < model.capacity);
    orvFuzzCheck((result > 0) == fits, "insert stores exactly when there is room");
    if (fits) {
        model.values[key].push_back(value);
        ++model.entries;
    }
}

intptr_t find(OrvHashTable& table, const Key& key) {
    return key.pointer != nullptr ? table.find(key.pointer) : table.find(key.name.c_str());
}

// Chained buckets give back the oldest value of a key; open addressing the
// first one its probe meets, which must at least be one stored under the key.
void checkFind(OrvHashTable& table, const Model& model, const Key& key) {
    const intptr_t found = find(table, key);
    const auto it = model.values.find(key);
    if (it == model.values.end() || it->second.empty()) {
        orvFuzzCheck(found == 0, "find of an absent key");
    } else if (model.storageMode == OrvHashTable::MODE_CHAINED) {
        orvFuzzCheck(found == it->second.front(), "find returns the oldest value");
    } else {
        const std::vector<intptr_t>& stored = it->second;
        orvFuzzCheck(std::find(stored.begin(), stored.end(), found) != stored.end(),
                     "find returns a stored value");
    }
}

// remove takes the entry that find meets first.
void remove(OrvHashTable& table, Model& model, const Key& key) {
    const intptr_t found = find(table, key);
    const int removed =
        key.pointer != nullptr ? table.remove(key.pointer) : table.remove(key.name.c_str());
    auto it = model.values.find(key);
    const bool present = it != model.values.end() && !it->second.empty();
    orvFuzzCheck(removed == (present ? 1 : 0), "remove reports what it took");
    if (present) {
        std::vector<intptr_t>& stored = it->second;
        stored.erase(std::find(stored.begin(), stored.end(), found));
        --model.entries;
    }
}

void step(FuzzedDataProvider& input, OrvHashTable& table, Model& model) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
        case 0:
        case 1: {
            const Key key = keyFrom(input);
            insert(table, model, key, input.ConsumeIntegralInRange<intptr_t>(1, 1000));
            break;
        }
        case 2:
            remove(table, model, keyFrom(input));
            break;
        case 3:
            checkFind(table, model, keyFrom(input));
            break;
        case 4: {
            const int mode = input.ConsumeIntegralInRange(-1, 2);
            const bool changed = mode != model.mode;
            orvFuzzCheck(table.setMode(mode) == mode, "setMode");
            model.mode = mode;
            if (changed) {
                model.allocate();
            }
            break;
        }
        case 5:
            // A new size takes effect only at the next allocate; until then
            // the table keeps working on the storage it has.
            model.size = input.PickValueInArray(kSizes);
            table.setSize(model.size);
            if (input.ConsumeBool()) {
                table.allocate();
                model.allocate();
            }
            break;
        default:
            table.release();
            model.storageMode = -1;
            model.capacity = 0;
            model.values.clear();
            model.entries = 0;
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    OrvFuzzBlockCheck blocks;
    OrvHashTable table;
    Model model;
    while (input.remaining_bytes() > 0) {
        step(input, table, model);
    }
    for (const auto& entry : model.values) {
        checkFind(table, model, entry.first);
    }
    return 0;
}
