// GPU shader sources loaded from a file that holds exactly the source's
// bytes.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "orv_fuzz_shader.h"
#include "orv_fuzz_support.h"
#include "scene/orv_gpu_shader.h"

namespace {

std::string g_path;

// The node keeps the whole file and a zero after it, an empty file included.
std::optional<std::string> loadFromFile(OrvGpuShader* shader, bool vertex,
                                        const std::string& source) {
    FILE* file = std::fopen(g_path.c_str(), "wb");
    orvFuzzCheck(file != nullptr, "cannot write the shader file");
    std::fwrite(source.data(), 1, source.size(), file);
    std::fclose(file);
    if (vertex) {
        shader->loadVertexShaderFromFile(g_path.c_str());
    } else {
        shader->loadPixelShaderFromFile(g_path.c_str());
    }
    return source + '\0';
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/orvane-fuzz-shader-XXXXXX";
    orvFuzzCheck(mkdtemp(folder) != nullptr, "temporary folder");
    g_path = std::string(folder) + "/shader.glsl";
    orvFuzzQuietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvFuzzShader(data, size, loadFromFile);
    return 0;
}
