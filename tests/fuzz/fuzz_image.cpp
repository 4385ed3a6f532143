// Pictures decoded from memory: the buffer holds exactly the input's bytes,
// so a read past its end is caught. A decode either fills a picture of the
// size it reports, within the loader's limits, or leaves it empty; it never
// keeps a block.
#include <vector>

#include "orv_fuzz_support.h"
#include "render/orv_image.h"
#include "render/orv_image_decode_status.h"
#include "render/orv_image_loader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvFuzzQuietLog();
    // Small enough that a header's claimed size is refused quickly rather
    // than spent on, large enough for every seed.
    OrvImageLoader::setMemoryLimit(static_cast<size_t>(16) << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OrvFuzzBlockCheck blocks;
    std::vector<uint8_t> buffer(data, data + size);
    OrvImage image = {};
    const int result = OrvImageLoader::loadMemory(buffer.data(), buffer.size(), "fuzz", &image);
    if (result == OrvImageDecodeStatus::RESULT_OK) {
        orvFuzzCheck(!image.isEmpty() && image.width >= 1 && image.height >= 1 &&
                         image.width <= OrvImageDecodeStatus::kMaxSide &&
                         image.height <= OrvImageDecodeStatus::kMaxSide,
                     "a decoded picture has a size outside the limits");
        // Every pixel is readable.
        volatile uint8_t last = image.pixels[image.byteCount() - 1];
        (void)last;
    } else {
        orvFuzzCheck(image.isEmpty(), "a failed decode left pixels behind");
    }
    image.release();
    return 0;
}
