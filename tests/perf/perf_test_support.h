// Helpers of the per-frame tests: the engine started with the log at its
// normal level, as the benchmarks run it, alone or on OpenGL in a window of
// the benchmark scenes' size; a small box's record; the number of
// allocations a piece of code makes; and how far two pictures differ.
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

// The pixels of two pictures of one size with a channel (red, green or blue)
// off by more than channelTolerance, and the largest difference of a channel
// over all pixels.
struct PictureDifference {
    int pixels = 0;
    int worstChannel = 0;
};
PictureDifference comparePictures(const OrvPicture& a, const OrvPicture& b, int channelTolerance);

// A pixel of two drawings of one scene differs when one of its channels is
// off by more than this.
constexpr int kPictureChannelTolerance = 2;
// Two drawings of one scene match when at most 100 pixels in a million
// differ: edge pixels whose coverage flips with a rounding step. The difference is recorded as the
// test's properties differing_pixels and worst_channel.
::testing::AssertionResult picturesMatch(const OrvPicture& a, const OrvPicture& b);

class PerfEngineTest : public OrvEngineTest {
  protected:
    PerfEngineTest() : OrvEngineTest(OrvLog::NORMAL) {}
};

class PerfGlTest : public OrvEngineGlTest {
  protected:
    PerfGlTest() : OrvEngineGlTest(OrvLog::NORMAL, OrvBenchScene::kWidth, OrvBenchScene::kHeight) {}
};
