#include "perf_test_support.h"

#include "orvane.h"

BoxRecord::BoxRecord() {
    OrvMeshData* data = get();
    OrvMeshGeometry::createBox(data, 2.0f, 2.0f, 2.0f, 2, 2, 2);
    OrvMeshGeometry::computeNormals(data);
    data->materialRanges = ORV_NEW OrvMaterialRange[1];
    data->firstFace = 0;
    data->lastFace = static_cast<int32_t>(data->faceCount) - 1;
    data->materialRanges[0] = {data->firstFace, data->lastFace, 0, 0};
}

uint64_t allocationsDuring(const std::function<void()>& work) {
    const uint64_t before = OrvMemoryAllocator::allocationCount();
    work();
    return OrvMemoryAllocator::allocationCount() - before;
}
