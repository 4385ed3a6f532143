// Running out of memory while a record's arrays are allocated. Each case runs
// in a child process whose address space is capped so that the arrays
// allocated before the failing one fit and the failing one does not: a real
// refusal by the heap, the same in every build.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "orv_mesh_record.h"
#include "orv_test_log.h"
#include "render/orv_mesh_geometry.h"

namespace {

constexpr uint64_t kVertexArrays = OrvMeshData::kAttributeCount;
constexpr uint64_t kFloat4 = 16;

// Exit codes of the child.
enum ChildResult { kEmptyWithWarning = 0, kNotEmpty = 1, kNoWarning = 2, kNoLimit = 3 };

uint64_t addressSpaceInUse() {
    unsigned long pages = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1) {
        pages = 0;
    }
    if (statm != nullptr) {
        std::fclose(statm);
    }
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

bool isEmpty(const OrvMeshData* data) {
    for (const OrvFloat4* array : data->attributes) {
        if (array != nullptr) {
            return false;
        }
    }
    return data->vertexCount == 0 && data->faceCount == 0 && data->indices16 == nullptr &&
           data->indices32 == nullptr && data->faceMaterialIds == nullptr &&
           data->faceNormals == nullptr && data->lastFace == 0;
}

// Runs fill on a fresh record with `budget` bytes of address space beyond
// what the process uses now; returns the child's ChildResult, or -1 when it
// died of a signal.
int runCapped(uint64_t budget, const std::function<void(OrvMeshData*)>& fill,
              const std::string& warning) {
    const pid_t child = fork();
    if (child == 0) {
        OrvTestLog log;
        OrvMeshRecord record;
        std::snprintf(record->name, sizeof(record->name), "%s", "box");
        const rlim_t cap = addressSpaceInUse() + budget;
        const rlimit limit = {cap, cap};
        if (setrlimit(RLIMIT_AS, &limit) != 0) {
            _exit(kNoLimit);
        }
        fill(record.get());
        const int result = !isEmpty(record.get())
                               ? kNotEmpty
                               : (log.contains(warning) ? kEmptyWithWarning : kNoWarning);
        _exit(result);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Case {
    const char* what;
    // Bytes of the arrays allocated before the one that fails, and of that one.
    uint64_t before;
    uint64_t failing;
    std::function<void(OrvMeshData*)> fill;
    const char* warning;
};

// A torus of 1000 segments: 1001 x 1001 vertices and 2,000,000 triangles,
// with 32-bit indices.
constexpr uint64_t kTorusVertices = 1001ull * 1001ull;
constexpr uint64_t kTorusFaces = 2000000ull;
// A box of 200 points per edge: 475,212 triangles of three vertices each.
constexpr uint64_t kBoxFaces = 475212ull;

TEST(MeshDataMemoryTest, ArraysThatCannotBeAllocatedLeaveAnEmptyRecordAndAWarning) {
    const uint64_t torusVertexBytes = kVertexArrays * kFloat4 * kTorusVertices;
    const uint64_t torusFaceBytesBeforeNormals = (12 + 4) * kTorusFaces;
    const Case cases[] = {
        {"allocVertices, sixth array", 5 * kFloat4 * 1000000ull, kFloat4 * 1000000ull,
         [](OrvMeshData* d) { d->allocVertices(1000000); },
         "OrvMeshData::allocVertices(): mesh [box] out of memory for 1000000 vertices, mesh left "
         "empty."},
        {"allocFaces, face normals", (12 + 4) * 4000000ull, kFloat4 * 4000000ull,
         [](OrvMeshData* d) { d->allocFaces(4000000); },
         "OrvMeshData::allocFaces(): mesh [box] out of memory for 4000000 triangles, mesh left "
         "empty."},
        {"allocFaces, material ids", 12 * 4000000ull, 4 * 4000000ull,
         [](OrvMeshData* d) { d->allocFaces(4000000); },
         "OrvMeshData::allocFaces(): mesh [box] out of memory for 4000000 triangles, mesh left "
         "empty."},
        {"torus, face normals", torusVertexBytes + torusFaceBytesBeforeNormals,
         kFloat4 * kTorusFaces,
         [](OrvMeshData* d) { OrvMeshGeometry::createTorus(d, 10.0f, 2.0f, 1000); },
         "OrvMeshGeometry::createTorus(): mesh box: out of memory for 1002001 vertices, mesh left "
         "empty."},
        {"torus, vertices", 3 * kFloat4 * kTorusVertices, kFloat4 * kTorusVertices,
         [](OrvMeshData* d) { OrvMeshGeometry::createTorus(d, 10.0f, 2.0f, 1000); },
         "OrvMeshGeometry::createTorus(): mesh box: out of memory for 1002001 vertices, mesh left "
         "empty."},
        {"plane, face normals", torusVertexBytes + torusFaceBytesBeforeNormals,
         kFloat4 * kTorusFaces,
         [](OrvMeshData* d) { OrvMeshGeometry::createPlane(d, 10.0f, 10.0f, 1000, 1000); },
         "OrvMeshGeometry::createPlane(): mesh box: out of memory for 1002001 vertices, mesh left "
         "empty."},
        {"box, face normals", kVertexArrays * kFloat4 * 3 * kBoxFaces + (12 + 4) * kBoxFaces,
         kFloat4 * kBoxFaces,
         [](OrvMeshData* d) { OrvMeshGeometry::createBox(d, 1.0f, 1.0f, 1.0f, 200, 200, 200); },
         "OrvMeshGeometry::createBox(): mesh box: out of memory for 1425636 vertices, mesh left "
         "empty."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runCapped(c.before + c.failing / 2, c.fill, c.warning), kEmptyWithWarning)
            << c.what << " (" << kNotEmpty << ": arrays left, " << kNoWarning
            << ": no warning, -1: crashed)";
    }
}

}  // namespace
