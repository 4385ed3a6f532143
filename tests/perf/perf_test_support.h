// Helpers of the per-frame tests: the engine root started around each test
// with the log in a temporary folder, a 1024 x 768 window with the OpenGL
// renderer on it, and the number of allocations a piece of code makes.
#pragma once

#include <cstdint>
#include <functional>

#include <gtest/gtest.h>

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

// The engine root started (its node creators registered) with the log
// captured, and stopped again at the end of the test.
class PerfEngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    OrvTestLog log{OrvLog::NORMAL};
};

// PerfEngineTest with a window of the benchmark scenes' size and an
// initialised OpenGL renderer on it.
class PerfGlTest : public PerfEngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    OrvPicture readPicture() const;

    OrvGlTestWindow window;
    OrvRendererOpenGL* renderer = nullptr;
};
