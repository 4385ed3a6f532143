#include "scene/orv_static_batches.h"

#include "core/orv_linked_list.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "scene/orv_mesh.h"
#include "scene/orv_static_batch.h"

namespace {

// Scratch arrays of one grouping, released together.
struct Grouping {
    explicit Grouping(int32_t count)
        : keys(ORV_NEW OrvStaticBatchKey[count]),
          groupOf(ORV_NEW int32_t[count]),
          leader(ORV_NEW int32_t[count]),
          sizes(ORV_NEW int32_t[count]) {}
    ~Grouping() {
        ORV_DELETE_ARRAY(keys);
        ORV_DELETE_ARRAY(groupOf);
        ORV_DELETE_ARRAY(leader);
        ORV_DELETE_ARRAY(sizes);
    }
    Grouping(const Grouping&) = delete;
    Grouping& operator=(const Grouping&) = delete;

    bool allocated() const {
        return keys != nullptr && groupOf != nullptr && leader != nullptr && sizes != nullptr;
    }
    // The group of mesh i's key, made when no earlier mesh had that key.
    void place(int32_t i) {
        for (int32_t g = 0; g < groups; ++g) {
            if (keys[leader[g]] == keys[i]) {
                groupOf[i] = g;
                ++sizes[g];
                return;
            }
        }
        leader[groups] = i;
        sizes[groups] = 1;
        groupOf[i] = groups++;
    }

    OrvStaticBatchKey* keys;
    int32_t* groupOf;
    int32_t* leader;
    int32_t* sizes;
    int32_t groups = 0;
};

void warnOutOfMemory(int32_t meshes) {
    OrvLog::getInstance()->write(
        OrvLog::WARNING,
        "OrvStaticBatches::group(): out of memory for %d meshes; they draw one by one.", meshes);
}

}  // namespace

OrvStaticBatches::~OrvStaticBatches() {
    releaseAll();
    if (batches != nullptr) {
        ORV_DELETE_ARRAY(batches);
    }
}

int OrvStaticBatches::build(OrvLinkedList* meshes) {
    releaseAll();
    const int32_t count = meshes->getCount();
    OrvMesh** candidates = count > 0 ? ORV_NEW OrvMesh* [count] : nullptr;
    if (candidates == nullptr) {
        if (count > 0) {
            warnOutOfMemory(count);
        }
        return 0;
    }
    int32_t listed = 0;
    for (OrvLinkedListNode* n = meshes->first(0); n != nullptr; n = meshes->next()) {
        OrvMesh* mesh = static_cast<OrvMesh*>(n->data);
        // Meshes are built before their first update too: the batch takes
        // the matrix the next update would give them.
        mesh->getTransform()->update();
        candidates[listed++] = mesh;
    }
    const int batched = group(candidates, listed);
    ORV_DELETE_ARRAY(candidates);
    OrvLog::getInstance()->write(
        OrvLog::DEBUG, "OrvStaticBatches::build(): %d meshes in %d batches.", batched, batchCount);
    return batched;
}

void OrvStaticBatches::releaseAll() {
    while (batchCount > 0) {
        removeBatch(batchCount - 1);
    }
}

int OrvStaticBatches::group(OrvMesh** meshes, int32_t count) {
    Grouping grouping(count);
    if (!grouping.allocated() || !reserve(batchCount + count)) {
        warnOutOfMemory(count);
        return 0;
    }
    for (int32_t i = 0; i < count; ++i) {
        grouping.groupOf[i] = -1;
        if (OrvStaticBatch::keyOf(meshes[i], &grouping.keys[i])) {
            grouping.place(i);
        }
    }
    const int32_t first = batchCount;
    for (int32_t g = 0; g < grouping.groups; ++g) {
        batches[batchCount++] =
            ORV_NEW OrvStaticBatch(this, grouping.keys[grouping.leader[g]], grouping.sizes[g]);
    }
    for (int32_t i = 0; i < count; ++i) {
        OrvStaticBatch* batch =
            grouping.groupOf[i] >= 0 ? batches[first + grouping.groupOf[i]] : nullptr;
        if (batch != nullptr) {
            batch->add(meshes[i]);
        }
    }
    int batched = 0;
    for (int32_t b = batchCount - 1; b >= first; --b) {
        if (batches[b] == nullptr || batches[b]->getMemberCount() == 0) {
            warnOutOfMemory(grouping.sizes[b - first]);
            removeBatch(b);
        } else if (!batches[b]->build()) {
            removeBatch(b);
        } else {
            batched += batches[b]->getMemberCount();
        }
    }
    return batched;
}

bool OrvStaticBatches::reserve(int32_t count) {
    if (count <= batchCapacity) {
        return true;
    }
    OrvStaticBatch** grown = ORV_NEW OrvStaticBatch* [count];
    if (grown == nullptr) {
        return false;
    }
    for (int32_t b = 0; b < batchCount; ++b) {
        grown[b] = batches[b];
    }
    if (batches != nullptr) {
        ORV_DELETE_ARRAY(batches);
    }
    batches = grown;
    batchCapacity = count;
    return true;
}

void OrvStaticBatches::removeBatch(int32_t index) {
    if (batches[index] != nullptr) {
        ORV_DELETE(batches[index]);
    }
    for (int32_t b = index; b + 1 < batchCount; ++b) {
        batches[b] = batches[b + 1];
    }
    --batchCount;
}

void OrvStaticBatches::beginRender(OrvLinkedList* meshes) {
    rendering = true;
    bool stale = false;
    for (int32_t b = 0; b < batchCount; ++b) {
        batches[b]->beginFrame();
        stale = stale || batches[b]->isStale();
    }
    if (stale) {
        rebuildStale(meshes);
    }
}

// The meshes of the stale batches are taken in the scene's order, so the new
// batches keep the order the meshes would draw in one by one.
void OrvStaticBatches::rebuildStale(OrvLinkedList* meshes) {
    const int32_t count = meshes->getCount();
    OrvMesh** gathered = count > 0 ? ORV_NEW OrvMesh* [count] : nullptr;
    int32_t taken = 0;
    for (OrvLinkedListNode* n = meshes->first(0); n != nullptr && gathered != nullptr;
         n = meshes->next()) {
        OrvMesh* mesh = static_cast<OrvMesh*>(n->data);
        const OrvStaticBatch* batch = mesh->getStaticBatch();
        if (batch != nullptr && batch->isStale()) {
            gathered[taken++] = mesh;
        }
    }
    for (int32_t b = batchCount - 1; b >= 0; --b) {
        if (batches[b]->isStale()) {
            removeBatch(b);
        }
    }
    if (gathered == nullptr) {
        if (count > 0) {
            warnOutOfMemory(count);
        }
        return;
    }
    group(gathered, taken);
    ORV_DELETE_ARRAY(gathered);
    // The new batches draw in this frame as well.
    for (int32_t b = 0; b < batchCount; ++b) {
        batches[b]->beginFrame();
    }
}

OrvStaticBatch* OrvStaticBatches::getBatch(int32_t index) const {
    return index >= 0 && index < batchCount ? batches[index] : nullptr;
}

int OrvStaticBatches::getBatchedMeshCount() const {
    int count = 0;
    for (int32_t b = 0; b < batchCount; ++b) {
        count += batches[b]->getMeshCount();
    }
    return count;
}
