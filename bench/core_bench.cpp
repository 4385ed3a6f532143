// Costs of the engine core: tracked allocation against plain malloc, hash
// lookups of the node type strings, and list traversal.
#include <cstdlib>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/orv_hash_table.h"
#include "core/orv_linked_list.h"
#include "core/orv_memory_allocator.h"

namespace {

struct Block64 {
    char bytes[64];
};

// Keeps `count` tracked blocks alive while the benchmark runs, so that
// lookups walk populated buckets.
class LiveBlocks {
  public:
    explicit LiveBlocks(int count) {
        for (int i = 0; i < count; ++i) {
            m_blocks.push_back(ORV_NEW Block64);
        }
    }
    ~LiveBlocks() {
        for (Block64* block : m_blocks) {
            ORV_DELETE(block);
        }
    }

  private:
    std::vector<Block64*> m_blocks;
};

void BM_TrackedNewDelete(benchmark::State& state) {
    LiveBlocks live(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Block64* block = ORV_NEW Block64;
        benchmark::DoNotOptimize(block);
        ORV_DELETE(block);
    }
}
BENCHMARK(BM_TrackedNewDelete)->Arg(0)->Arg(10000)->Arg(1000000);

void BM_MallocFree(benchmark::State& state) {
    LiveBlocks live(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        void* block = std::malloc(sizeof(Block64));
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
}
BENCHMARK(BM_MallocFree)->Arg(0)->Arg(10000)->Arg(1000000);

void BM_HashFindTypeString(benchmark::State& state) {
    const char* const types[] = {"ORV_NODE_CAMERA",    "ORV_NODE_LIGHT",    "ORV_NODE_MATERIAL",
                                 "ORV_NODE_MESH",      "ORV_NODE_TRIANGLE", "ORV_NODE_GIZMO",
                                 "ORV_NODE_GPU_SHADER"};
    OrvHashTable table;
    for (int i = 0; i < 7; ++i) {
        table.insert(types[i], i + 1);
    }
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.find(types[i]));
        i = (i + 1) % 7;
    }
}
BENCHMARK(BM_HashFindTypeString);

void BM_ListAdd(benchmark::State& state) {
    OrvLinkedList list;
    int value = 0;
    for (auto _ : state) {
        list.add(&value);
        if (list.getCount() == 4096) {
            state.PauseTiming();
            list.clear();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ListAdd);

void BM_ListIterate(benchmark::State& state) {
    OrvLinkedList list;
    int value = 0;
    for (int64_t i = 0; i < state.range(0); ++i) {
        list.add(&value);
    }
    for (auto _ : state) {
        int visited = 0;
        for (OrvLinkedListNode* node = list.first(0); node != nullptr; node = list.next()) {
            benchmark::DoNotOptimize(node->data);
            ++visited;
        }
        benchmark::DoNotOptimize(visited);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListIterate)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
