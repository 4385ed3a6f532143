// Helpers of the per-frame tests: the engine started with the log at its
// normal level, as the benchmarks run it, alone or on OpenGL in a window of
// the benchmark scenes' size; a small box's record; and the number of
// allocations a piece of code makes.
#pragma once

#include <cstdint>
#include <functional>

#include "orv_bench_scene.h"
#include "orv_gl_test.h"
#include "orv_mesh_record.h"

// A small box's mesh record with normals and one range over all of its
// triangles, owned as a mesh node owns its record.
class BoxRecord : public OrvMeshRecord {
  public:
    BoxRecord();
};

// Allocations made through the replaced operator new, by any thread, while
// work runs.
uint64_t allocationsDuring(const std::function<void()>& work);

class PerfEngineTest : public OrvEngineTest {
  protected:
    PerfEngineTest() : OrvEngineTest(OrvLog::NORMAL) {}
};

class PerfGlTest : public OrvEngineGlTest {
  protected:
    PerfGlTest() : OrvEngineGlTest(OrvLog::NORMAL, OrvBenchScene::kWidth, OrvBenchScene::kHeight) {}
};
