// A mesh record owned the way a mesh node owns it (tracked, reset, arrays
// released before it is deleted), with readers and writers for its
// triangles, for tests and benchmarks that work on a record without a node.
#pragma once

#include <array>
#include <cstdint>

#include "core/orv_memory_allocator.h"
#include "render/orv_mesh_data.h"

class OrvMeshRecord {
  public:
    OrvMeshRecord() {
        data = ORV_NEW OrvMeshData();
        data->reset();
    }
    ~OrvMeshRecord() {
        data->releaseArrays();
        ORV_DELETE(data);
    }
    OrvMeshRecord(const OrvMeshRecord&) = delete;
    OrvMeshRecord& operator=(const OrvMeshRecord&) = delete;

    OrvMeshData* operator->() const { return data; }
    OrvMeshData* get() const { return data; }

    std::array<uint32_t, 3> triangle(uint32_t face) const {
        std::array<uint32_t, 3> t{};
        for (int k = 0; k < 3; ++k) {
            const size_t at = 3 * static_cast<size_t>(face) + k;
            t[k] = data->indexFormat == OrvMeshData::INDICES_16 ? data->indices16[at]
                                                                : data->indices32[at];
        }
        return t;
    }

    void setTriangle(uint32_t face, uint32_t a, uint32_t b, uint32_t c) {
        const uint32_t v[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            const size_t at = 3 * static_cast<size_t>(face) + k;
            if (data->indexFormat == OrvMeshData::INDICES_16) {
                data->indices16[at] = static_cast<uint16_t>(v[k]);
            } else {
                data->indices32[at] = v[k];
            }
        }
    }

    std::array<float, 4> element(int attribute, uint32_t vertex) const {
        const OrvFloat4& e = data->attributes[attribute][vertex];
        return {e[0], e[1], e[2], e[3]};
    }

  private:
    OrvMeshData* data;
};
