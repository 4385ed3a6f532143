#include "orv_fuzz_shader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include "orv_fuzz_support.h"
#include "scene/orv_gpu_shader.h"
#include "core/orv_memory_allocator.h"
#include "orv_recording_renderer.h"

namespace {

// Names run past the 127 characters an entry holds.
void setValues(FuzzedDataProvider& input, OrvGpuShader* shader) {
    const int count = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < count; ++i) {
        const std::string name = input.ConsumeRandomLengthString(300);
        const float m[16] = {input.ConsumeFloatingPoint<float>()};
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                shader->setUniform1f(name.c_str(), m[0]);
                break;
            case 1:
                shader->setUniform4i(name.c_str(), 1, -2, 3, input.ConsumeIntegral<int>());
                break;
            case 2:
                shader->setUniformMatrix4(name.c_str(), m);
                break;
            default:
                shader->setAttributeLocation(name.c_str(), input.ConsumeIntegralInRange(-1, 40));
                break;
        }
    }
}

std::string heldSource(const OrvGpuShader* shader, bool vertex) {
    const OrvGpuProgram* program = shader->getProgram();
    const char* text = vertex ? program->vertexSource : program->pixelSource;
    const int length = vertex ? program->vertexSourceLength : program->pixelSourceLength;
    return text != nullptr ? std::string(text, length) : std::string();
}

void load(OrvFuzzShaderLoader loader, OrvGpuShader* shader, bool vertex,
          const std::string& source) {
    const std::string before = heldSource(shader, vertex);
    const std::optional<std::string> expected = loader(shader, vertex, source);
    const std::string held = heldSource(shader, vertex);
    orvFuzzCheck(held == expected.value_or(before), "the node holds the source it was given");
}

}  // namespace

void orvFuzzShader(const uint8_t* data, size_t size, OrvFuzzShaderLoader loader) {
    // A renderer per input, so that its records of the calls are gone when
    // libFuzzer looks for leaks after the input.
    OrvRecordingRenderer renderer;
    FuzzedDataProvider input(data, size);
    OrvFuzzBlockCheck blocks;
    OrvGpuShader* shader = ORV_NEW OrvGpuShader();
    const bool twice = input.ConsumeBool();
    setValues(input, shader);
    const std::string vertex = input.ConsumeRandomLengthString(size);
    const std::string pixel = input.ConsumeRemainingBytesAsString();
    load(loader, shader, true, vertex);
    if (twice) {
        shader->bind();
        load(loader, shader, true, pixel);
    }
    load(loader, shader, false, pixel);
    shader->bind();
    shader->unbind();
    ORV_DELETE(shader);
}
