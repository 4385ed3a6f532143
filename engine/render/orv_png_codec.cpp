// libpng is driven through callbacks: reads come from the caller's buffer and
// never past its end, errors are copied into the status and end the decode
// through libpng's jump, warnings are dropped (a damaged ancillary chunk does
// not spoil the picture).
#include "render/orv_png_codec.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/orv_log.h"
#include "render/orv_image.h"
#include "render/orv_image_decode_status.h"

namespace {

// Bytes 12 to 23 of a PNG: the IHDR chunk's name, width and height.
constexpr size_t kHeaderEnd = 24;

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t at;
    bool truncated;
    char message[OrvImageDecodeStatus::kCauseSize];
};

uint32_t bigEndian32(const uint8_t* bytes) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
}

void readFromSource(png_structp png, png_bytep out, png_size_t length) {
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->at) {
        source->truncated = true;
        png_error(png, "truncated");
    }
    memcpy(out, source->data + source->at, length);
    source->at += length;
}

// The error pointer is the caller's message buffer of kCauseSize bytes.
void keepError(png_structp png, png_const_charp message) {
    char* kept = static_cast<char*>(png_get_error_ptr(png));
    if (kept != nullptr) {
        snprintf(kept, OrvImageDecodeStatus::kCauseSize, "%s", message);
    }
    png_longjmp(png, 1);
}

void dropWarning(png_structp, png_const_charp) {}

// The header's size is checked before libpng reads it, so that every absurd
// size gets the same cause whatever libpng thinks of it.
bool checkHeaderSize(const uint8_t* data, size_t size, OrvImageDecodeStatus* status) {
    if (size < kHeaderEnd || memcmp(data + 12, "IHDR", 4) != 0) {
        return true;
    }
    return status->checkSize(bigEndian32(data + 16), bigEndian32(data + 20));
}

// Refuses what the engine does not take, then asks libpng for 8-bit RGBA.
bool setUpTransforms(png_structp png, png_infop info, OrvImageDecodeStatus* status) {
    const int depth = png_get_bit_depth(png, info);
    const int type = png_get_color_type(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE) {
        status->fail(OrvImageDecodeStatus::RESULT_UNSUPPORTED,
                     "unsupported PNG format: palette colours");
        return false;
    }
    if (depth != 8) {
        status->fail(OrvImageDecodeStatus::RESULT_UNSUPPORTED,
                     "unsupported PNG format: %d bits per channel", depth);
        return false;
    }
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if ((type & PNG_COLOR_MASK_ALPHA) == 0) {
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    }
    return true;
}

// Everything between libpng's set-up and tear-down; a libpng error jumps back
// here with false.
bool readImage(png_structp png, png_infop info, OrvImage* image, OrvImageDecodeStatus* status) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_user_limits(png, OrvImageDecodeStatus::kMaxSide, OrvImageDecodeStatus::kMaxSide);
    png_read_info(png, info);
    if (!setUpTransforms(png, info, status)) {
        return false;
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) !=
            static_cast<png_size_t>(png_get_image_width(png, info)) * OrvImage::kChannels ||
        !status->allocate(image, png_get_image_width(png, info), png_get_image_height(png, info))) {
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t row = 0; row < image->height; ++row) {
            png_read_row(png, image->at(0, row), nullptr);
        }
    }
    return true;
}

void failFromSource(const PngSource& source, OrvImageDecodeStatus* status) {
    if (source.truncated) {
        status->fail(OrvImageDecodeStatus::RESULT_TRUNCATED, "truncated PNG data");
    } else if (strstr(source.message, "emory") != nullptr) {
        status->fail(OrvImageDecodeStatus::RESULT_OUT_OF_MEMORY, "out of memory in libpng (%s)",
                     source.message);
    } else {
        status->fail(OrvImageDecodeStatus::RESULT_CORRUPT, "corrupt PNG data (%s)",
                     source.message[0] != '\0' ? source.message : "no detail");
    }
}

struct PngSink {
    char message[OrvImageDecodeStatus::kCauseSize];
};

bool writeRows(png_structp png, png_infop info, FILE* file, const OrvImage* image) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image->width, image->height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t row = 0; row < image->height; ++row) {
        png_write_row(png, image->at(0, row));
    }
    png_write_end(png, nullptr);
    return true;
}

void warnWrite(const char* path, const char* cause) {
    OrvLog::getInstance()->write(OrvLog::WARNING, "OrvPngCodec::write(): %s: %s.", path, cause);
}

}  // namespace

bool OrvPngCodec::isPng(const uint8_t* data, size_t size) {
    return data != nullptr && size >= kSignatureSize && png_sig_cmp(data, 0, kSignatureSize) == 0;
}

void OrvPngCodec::decode(const uint8_t* data, size_t size, OrvImage* image,
                         OrvImageDecodeStatus* status) {
    if (!checkHeaderSize(data, size, status)) {
        return;
    }
    PngSource source = {data, size, 0, false, {}};
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, source.message, keepError, dropWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        status->fail(OrvImageDecodeStatus::RESULT_OUT_OF_MEMORY, "out of memory in libpng");
        return;
    }
    png_set_read_fn(png, &source, readFromSource);
    if (!readImage(png, info, image, status)) {
        image->release();
        failFromSource(source, status);
    }
    png_destroy_read_struct(&png, &info, nullptr);
}

int OrvPngCodec::write(const char* path, const OrvImage* image) {
    if (path == nullptr || image == nullptr || image->isEmpty()) {
        warnWrite(path != nullptr ? path : "(null)", "no picture to write");
        return -1;
    }
    FILE* file = fopen(path, "wb");
    if (file == nullptr) {
        warnWrite(path, strerror(errno));
        return -1;
    }
    PngSink sink = {};
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, sink.message, keepError, dropWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool written = info != nullptr && writeRows(png, info, file, image);
    png_destroy_write_struct(&png, &info);
    const bool closed = fclose(file) == 0;
    if (!written || !closed) {
        warnWrite(path, sink.message[0] != '\0' ? sink.message : "the file could not be written");
        return -1;
    }
    return 0;
}
