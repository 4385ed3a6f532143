// GPU shader sources loaded from memory: the buffer holds exactly the
// source's bytes, with or without a terminating zero, so a read past its
// length is caught.
#include <vector>

#include "orv_fuzz_shader.h"
#include "orv_fuzz_support.h"
#include "scene/orv_gpu_shader.h"

namespace {

// The node keeps the bytes and adds a zero unless the last one is zero; an
// empty buffer is refused.
std::optional<std::string> loadFromMemory(OrvGpuShader* shader, bool vertex,
                                          const std::string& source) {
    std::vector<char> buffer(source.begin(), source.end());
    const int length = static_cast<int>(buffer.size());
    if (vertex) {
        shader->loadVertexShaderFromMemory(buffer.data(), length);
    } else {
        shader->loadPixelShaderFromMemory(buffer.data(), length);
    }
    if (source.empty()) {
        return std::nullopt;
    }
    return source.back() == '\0' ? source : source + '\0';
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvFuzzQuietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvFuzzShader(data, size, loadFromMemory);
    return 0;
}
