#include "orv_test_images.h"

#include <png.h>

#include <cstdio>
#include <fstream>

#include <jpeglib.h>

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    OrvBytes* out = static_cast<OrvBytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

int channelsOf(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        default:
            return 4;
    }
}

}  // namespace

OrvBytes orvCheckerPixels(int width, int height, int cell, const uint8_t first[4],
                          const uint8_t second[4]) {
    OrvBytes pixels;
    pixels.reserve(static_cast<size_t>(4) * width * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* colour = ((x / cell + y / cell) % 2 == 0) ? first : second;
            pixels.insert(pixels.end(), colour, colour + 4);
        }
    }
    return pixels;
}

OrvBytes orvEncodePng(int width, int height, int colorType, int bitDepth, const OrvBytes& samples) {
    OrvBytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[2] = {{255, 0, 0}, {0, 0, 255}};
        png_set_PLTE(png, info, palette, 2);
    }
    png_write_info(png, info);
    const size_t rowBytes = (static_cast<size_t>(width) * channelsOf(colorType) * bitDepth + 7) / 8;
    for (int y = 0; y < height; ++y) {
        png_write_row(png, samples.data() + y * rowBytes);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

OrvBytes orvEncodePngRgba(int width, int height, const OrvBytes& rgba) {
    return orvEncodePng(width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8, rgba);
}

OrvBytes orvEncodeJpeg(int width, int height, int components, const OrvBytes& samples) {
    jpeg_compress_struct info = {};
    jpeg_error_mgr errors = {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : (components == 3 ? JCS_RGB : JCS_CMYK);
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(samples.data() + info.next_scanline * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    OrvBytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

OrvBytes orvWithPngSize(OrvBytes png, uint32_t width, uint32_t height) {
    const uint32_t values[2] = {width, height};
    for (int i = 0; i < 2; ++i) {
        for (int b = 0; b < 4; ++b) {
            png[16 + 4 * i + b] = static_cast<uint8_t>(values[i] >> (24 - 8 * b));
        }
    }
    return png;
}

OrvBytes orvWithJpegSize(OrvBytes jpeg, uint16_t width, uint16_t height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xff && (jpeg[i + 1] == 0xc0 || jpeg[i + 1] == 0xc2)) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

bool orvWriteFile(const std::string& path, const OrvBytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
