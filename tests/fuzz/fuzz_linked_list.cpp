// Random operation sequences on OrvLinkedList, checked after every step
// against a vector and a cursor position. The stored pointers come from a
// small pool (null among them) so that duplicates are common.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "orv_fuzz_support.h"
#include "core/orv_linked_list.h"

namespace {

int g_pool[4];

void* pointerFrom(FuzzedDataProvider& input) {
    const int k = input.ConsumeIntegralInRange(0, 4);
    return k == 4 ? nullptr : &g_pool[k];
}

// The list as it should be, with the cursor as an index (-1: none). A remove
// that takes the node under the cursor clears the cursor.
struct Model {
    std::vector<void*> items;
    int cursor = -1;

    void removeAll(const void* data) {
        int before = 0;
        for (int i = 0; i < cursor; ++i) {
            before += items[i] == data ? 1 : 0;
        }
        cursor = cursor >= 0 && items[cursor] == data ? -1 : cursor - before;
        items.erase(std::remove(items.begin(), items.end(), data), items.end());
    }
};

void checkSame(OrvLinkedList& list, const Model& model) {
    orvFuzzCheck(list.getCount() == static_cast<int>(model.items.size()), "count");
    const OrvLinkedListNode* current = list.getCurrent();
    orvFuzzCheck((current == nullptr) == (model.cursor < 0), "cursor presence");
    orvFuzzCheck(model.cursor < 0 || current->data == model.items[model.cursor], "cursor data");
}

// The contents, walked with a cursor of their own: a walk moves the cursor,
// so it ends with the cursor at the end.
void checkContents(OrvLinkedList& list, Model& model) {
    size_t i = 0;
    for (OrvLinkedListNode* node = list.first(0); node != nullptr; node = list.next(), ++i) {
        orvFuzzCheck(i < model.items.size() && node->data == model.items[i], "contents");
    }
    orvFuzzCheck(i == model.items.size(), "length of the walk");
    model.cursor = -1;
}

// Every copy of the cursor's pointer goes, and the cursor steps back to the
// nearest node in front of it that stays (none: no cursor).
void removeCurrent(OrvLinkedList& list, Model& model) {
    if (model.cursor < 0) {
        orvFuzzCheck(list.removeCurrent() == nullptr, "removeCurrent without a cursor");
        return;
    }
    const void* data = model.items[model.cursor];
    int back = model.cursor - 1;
    while (back >= 0 && model.items[back] == data) {
        --back;
    }
    const int goneBefore =
        back < 0
            ? 0
            : static_cast<int>(std::count(model.items.begin(), model.items.begin() + back, data));
    list.removeCurrent();
    model.removeAll(data);
    model.cursor = back < 0 ? -1 : back - goneBefore;
}

void step(FuzzedDataProvider& input, OrvLinkedList& list, Model& model) {
    const int count = static_cast<int>(model.items.size());
    switch (input.ConsumeIntegralInRange(0, 6)) {
        case 0: {
            void* data = pointerFrom(input);
            orvFuzzCheck(list.add(data) != 0, "add");
            model.items.push_back(data);
            break;
        }
        case 1: {
            const void* data = pointerFrom(input);
            const bool present =
                std::find(model.items.begin(), model.items.end(), data) != model.items.end();
            OrvLinkedListNode* tail = list.remove(data);
            model.removeAll(data);
            orvFuzzCheck(present || tail == nullptr, "remove of an absent pointer");
            orvFuzzCheck(!present || (tail == nullptr) == model.items.empty(), "remove's tail");
            orvFuzzCheck(tail == nullptr || tail->data == model.items.back(), "remove's tail data");
            break;
        }
        case 2: {
            const int index = input.ConsumeIntegralInRange(-2, count + 2);
            OrvLinkedListNode* node = list.first(index);
            model.cursor = count == 0 ? -1 : std::clamp(index, 0, count - 1);
            orvFuzzCheck(node == list.getCurrent(), "first returns the cursor");
            break;
        }
        case 3:
            list.next();
            model.cursor = model.cursor < 0 || model.cursor + 1 >= count ? -1 : model.cursor + 1;
            break;
        case 4:
            removeCurrent(list, model);
            break;
        case 5:
            list.clear();
            model = Model();
            break;
        default:
            checkContents(list, model);
            break;
    }
    checkSame(list, model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    OrvFuzzBlockCheck blocks;
    OrvLinkedList list;
    Model model;
    while (input.remaining_bytes() > 0) {
        step(input, list, model);
    }
    checkContents(list, model);
    return 0;
}
