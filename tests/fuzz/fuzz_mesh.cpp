// Mesh generators with arbitrary arguments (zero, negative, huge, NaN,
// infinite), material runs set on arbitrary face ranges, and grouping by
// arbitrary material ids. After each step the mesh record must be whole:
// every index inside the vertices, 16-bit indices only while they can
// address every vertex, and every range inside the triangles holding only
// its own material's faces.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "orv_fuzz_support.h"
#include "root/orv_main.h"
#include "scene/orv_material.h"
#include "scene/orv_material_mgr.h"
#include "scene/orv_mesh.h"
#include "render/orv_mesh_data.h"
#include "render/orv_mesh_geometry.h"
#include "orv_mesh_record.h"
#include "scene/orv_node_types.h"
#include "orv_recording_renderer.h"
#include "scene/orv_scene_node_mgr.h"

namespace {

// Counts beyond what a mesh can hold, and for the plane and the torus the
// edges of the 16-bit index limit; any mix of them stays small or is refused
// before anything is allocated.
const int kCounts[] = {INT32_MIN, -1, 0, 1, 2, 1 << 30, INT32_MAX};
const int kGridCounts[] = {INT32_MIN, -1, 0, 1, 2, 254, 255, 256, 1 << 30, INT32_MAX};
const float kSizes[] = {0.0f,
                        -1.0f,
                        1e-30f,
                        1e30f,
                        std::numeric_limits<float>::max(),
                        std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity(),
                        std::numeric_limits<float>::quiet_NaN()};

constexpr int kStepsPerInput = 8;

template <size_t N>
int countFrom(FuzzedDataProvider& input, const int (&special)[N]) {
    return input.ConsumeBool() ? input.PickValueInArray(special)
                               : input.ConsumeIntegralInRange(-3, 40);
}

float sizeFrom(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? input.PickValueInArray(kSizes)
                               : input.ConsumeFloatingPointInRange(-100.0f, 100.0f);
}

void generate(FuzzedDataProvider& input, OrvMesh* mesh) {
    mesh->getMeshData()->setOption(OrvMeshData::shortIndices, input.ConsumeBool() ? 1 : 0);
    switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            mesh->createPlane(sizeFrom(input), sizeFrom(input), countFrom(input, kGridCounts),
                              countFrom(input, kGridCounts));
            break;
        case 1:
            mesh->createTorus(sizeFrom(input), sizeFrom(input), countFrom(input, kGridCounts));
            break;
        default:
            mesh->createBox(sizeFrom(input), sizeFrom(input), sizeFrom(input),
                            countFrom(input, kCounts), countFrom(input, kCounts),
                            countFrom(input, kCounts));
            break;
    }
}

uint32_t indexAt(const OrvMeshData* data, uint64_t at) {
    return data->indexFormat == OrvMeshData::INDICES_16 ? data->indices16[at] : data->indices32[at];
}

void checkGeometry(const OrvMeshData* data) {
    for (int i = 0; i < OrvMeshData::kAttributeCount; ++i) {
        orvFuzzCheck(data->vertexCount == 0 || data->attributes[i] != nullptr,
                     "arrays for the vertices");
    }
    orvFuzzCheck(data->indexFormat == OrvMeshData::INDICES_32 || data->vertexCount <= 65536,
                 "16-bit indices address every vertex");
    for (uint64_t at = 0; at < 3ull * data->faceCount; ++at) {
        orvFuzzCheck(indexAt(data, at) < data->vertexCount, "index inside the vertices");
    }
}

void checkRanges(const OrvMeshData* data, const std::vector<int32_t>& ids, int rangeCount) {
    orvFuzzCheck(rangeCount == static_cast<int>(ids.size()), "one range per listed material");
    for (int r = 0; r < rangeCount; ++r) {
        const OrvMaterialRange& range = data->materialRanges[r];
        orvFuzzCheck(range.materialId == ids[r], "range material");
        orvFuzzCheck(range.firstFace >= 0 && range.lastFace >= range.firstFace - 1 &&
                         range.lastFace < static_cast<int64_t>(data->faceCount),
                     "range inside the triangles");
        for (int32_t face = range.firstFace; face <= range.lastFace; ++face) {
            orvFuzzCheck(data->faceMaterialIds[face] == range.materialId, "range holds its own");
        }
    }
}

// Material runs by name (some past the 127 characters a name holds) or by
// node, over face ranges anywhere, then the mesh's own update groups them.
void setMaterials(FuzzedDataProvider& input, OrvMesh* mesh) {
    static const std::string kNames[] = {"red", "green", std::string(300, 'm')};
    const int count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i) {
        const int faces = static_cast<int>(mesh->getMeshData()->faceCount);
        const int first = input.ConsumeIntegralInRange(-2, faces + 2);
        const int last = input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, faces + 2)
                                             : input.PickValueInArray(kCounts);
        if (input.ConsumeBool()) {
            mesh->setMaterial(input.PickValueInArray(kNames).c_str(), first, last);
        } else {
            mesh->setMaterial(OrvMaterialMgr::getInstance()->getMaterial(nullptr), first, last);
        }
    }
    mesh->update(0.0f);
}

// Grouping straight on a record whose triangles carry arbitrary material ids,
// by ids listed in any order, repeated, zero, negative or of no triangle.
void groupByIds(FuzzedDataProvider& input) {
    OrvMeshRecord record;
    OrvMeshData* data = record.get();
    OrvMeshGeometry::createPlane(data, 1.0f, 1.0f, input.ConsumeIntegralInRange(1, 6), 2);
    std::multiset<int32_t> before;
    for (uint32_t face = 0; face < data->faceCount; ++face) {
        data->faceMaterialIds[face] = input.ConsumeIntegralInRange(-1, 4);
        before.insert(data->faceMaterialIds[face]);
    }
    std::vector<int32_t> ids(input.ConsumeIntegralInRange(0, 5));
    for (int32_t& id : ids) {
        id = input.ConsumeIntegralInRange(-2, 5);
    }
    const int32_t* list = ids.empty() ? nullptr : ids.data();
    const int ranges = OrvMeshGeometry::groupByMaterial(data, list, static_cast<int>(ids.size()));
    checkRanges(data, ids, ranges);
    const std::multiset<int32_t> after(data->faceMaterialIds,
                                       data->faceMaterialIds + data->faceCount);
    orvFuzzCheck(after == before, "grouping keeps every triangle");
    checkGeometry(data);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvFuzzQuietLog();
    orvFuzzCheck(OrvMain::getInstance()->init() == 0, "the engine did not start");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A renderer per input, so that its records of the calls are gone when
    // libFuzzer looks for leaks after the input.
    OrvRecordingRenderer renderer;
    FuzzedDataProvider input(data, size);
    OrvFuzzBlockCheck blocks;
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    OrvMesh* mesh = static_cast<OrvMesh*>(nodes->createNode(ORV_NODE_MESH, nullptr));
    orvFuzzCheck(mesh != nullptr, "no mesh");
    // A few steps per input: a generator may make tens of thousands of
    // vertices, and the input's worth is in the mix of steps, not their number.
    for (int step = 0; step < kStepsPerInput && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                generate(input, mesh);
                break;
            case 1:
                setMaterials(input, mesh);
                break;
            case 2:
                groupByIds(input);
                break;
            default:
                mesh->render(0.0f);
                break;
        }
        checkGeometry(mesh->getMeshData());
    }
    nodes->destroyNode(mesh);
    OrvMaterialMgr::getInstance()->destroyAllMaterials();
    return 0;
}
