#include "perf_test_support.h"

#include <algorithm>
#include <cstdlib>

#include "orvane.h"

namespace {
constexpr int kDifferingPerMillion = 100;
}  // namespace

BoxRecord::BoxRecord() {
    OrvMeshData* data = get();
    OrvMeshGeometry::createBox(data, 2.0f, 2.0f, 2.0f, 2, 2, 2);
    OrvMeshGeometry::computeNormals(data);
    data->materialRanges = ORV_NEW OrvMaterialRange[1];
    data->firstFace = 0;
    data->lastFace = static_cast<int32_t>(data->faceCount) - 1;
    data->materialRanges[0] = {data->firstFace, data->lastFace, 0, 0, 0};
}

uint64_t allocationsDuring(const std::function<void()>& work) {
    const uint64_t before = OrvMemoryAllocator::allocationCount();
    work();
    return OrvMemoryAllocator::allocationCount() - before;
}

PictureDifference comparePictures(const OrvPicture& a, const OrvPicture& b, int channelTolerance) {
    PictureDifference difference;
    for (size_t p = 0; p + 3 < a.rgba.size() && p + 3 < b.rgba.size(); p += 4) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c) {
            worst = std::max(worst, std::abs(a.rgba[p + c] - b.rgba[p + c]));
        }
        difference.worstChannel = std::max(difference.worstChannel, worst);
        difference.pixels += worst > channelTolerance ? 1 : 0;
    }
    return difference;
}

::testing::AssertionResult picturesMatch(const OrvPicture& a, const OrvPicture& b) {
    const PictureDifference difference = comparePictures(a, b, kPictureChannelTolerance);
    ::testing::Test::RecordProperty("differing_pixels", difference.pixels);
    ::testing::Test::RecordProperty("worst_channel", difference.worstChannel);
    const double allowed = a.rgba.size() / 4 / 1000000.0 * kDifferingPerMillion;
    if (a.rgba.size() == b.rgba.size() && difference.pixels <= allowed) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << difference.pixels << " pixels differ, worst channel by " << difference.worstChannel
           << " (" << a.width << " x " << a.height << " against " << b.width << " x " << b.height
           << ")";
}
