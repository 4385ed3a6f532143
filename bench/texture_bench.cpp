// Pictures in and out of the engine: PNG and JPEG decodes from memory and
// texture uploads with their mipmaps, each in MB/s of RGBA pixels. The
// pictures are a 1024 x 1024 noisy landscape-like gradient made here, so that
// the compressors see something between flat colour and noise. Uploads need
// a display: run under xvfb-run without one.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "orv_gl_test_window.h"
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

std::vector<uint8_t> readFile(const char* path) {
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return bytes;
    }
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return bytes;
}

std::vector<uint8_t> encodedPng() {
    OrvImage image = makePicture();
    OrvPngCodec::write("texture_bench.png", &image);
    image.release();
    return readFile("texture_bench.png");
}

std::vector<uint8_t> encodedJpeg() {
    OrvImage image = makePicture();
    jpeg_compress_struct info = {};
    jpeg_error_mgr errors = {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = kSide;
    info.image_height = kSide;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBA;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = image.at(0, static_cast<int>(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    image.release();
    return bytes;
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
    static const std::vector<uint8_t> png = encodedPng();
    decode(state, png);
}
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State& state) {
    static const std::vector<uint8_t> jpeg = encodedJpeg();
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
