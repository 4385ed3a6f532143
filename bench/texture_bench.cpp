// Pictures in and out of the engine: PNG and JPEG decodes from memory and
// texture uploads with their mipmaps, each in MB/s of RGBA pixels. The
// pictures are a 1024 x 1024 noisy landscape-like gradient made here, so that
// the compressors see something between flat colour and noise. Uploads need
// a display: run under xvfb-run without one.
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

#include "orv_gl_test_window.h"
#include "orv_test_images.h"
#include "orvane.h"
#include "orvane_opengl.h"

namespace {

constexpr int kSide = 1024;

OrvImage makePicture() {
    OrvImage image = {};
    image.allocate(kSide, kSide);
    uint32_t seed = 12345;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            seed = seed * 1664525u + 1013904223u;
            uint8_t* p = image.at(x, y);
            p[0] = static_cast<uint8_t>(x / 4 + (seed >> 28));
            p[1] = static_cast<uint8_t>(y / 4 + (seed >> 29));
            p[2] = static_cast<uint8_t>((x + y) / 8);
            p[3] = 255;
        }
    }
    return image;
}

// The picture's pixels as the encoders take them, with or without alpha.
OrvBytes pictureSamples(int components) {
    OrvImage image = makePicture();
    OrvBytes samples;
    samples.reserve(static_cast<size_t>(kSide) * kSide * components);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            samples.insert(samples.end(), image.at(x, y), image.at(x, y) + components);
        }
    }
    image.release();
    return samples;
}

void decode(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        OrvImage image = {};
        OrvImageLoader::loadMemory(bytes.data(), bytes.size(), "bench", &image);
        benchmark::DoNotOptimize(image.pixels);
        image.release();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSide) * kSide * 4);
}

void BM_DecodePng(benchmark::State& state) {
    static const OrvBytes png = orvEncodePngRgba(kSide, kSide, pictureSamples(4));
    decode(state, png);
}
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State& state) {
    static const OrvBytes jpeg = orvEncodeJpeg(kSide, kSide, 3, pictureSamples(3));
    decode(state, jpeg);
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

// Upload with (argument 1) or without (0) the mipmap chain, finished with
// glFinish so that the driver's copy is counted.
void BM_Upload(benchmark::State& state) {
    OrvGlTestWindow window;
    const std::string failure = window.open(64, 64);
    if (!failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    OrvRendererOpenGL renderer;
    renderer.setContext(&window.context);
    renderer.initialize();
    OrvImage image = makePicture();
    OrvTextureData texture = {};
    texture.setDefaults();
    texture.mipmaps = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        renderer.createTexture(&texture, &image);
        glFinish();
    }
    renderer.destroyTexture(&texture);
    renderer.terminate();
    image.release();
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSide) * kSide * 4);
}
BENCHMARK(BM_Upload)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
