// libjpeg reports errors through its error manager, whose exit here jumps
// back out of the library; warnings are dropped except the one for data that
// ends early, which ends the decode as truncated.
#include "render/orv_jpeg_decoder.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>
#include <csetjmp>

#include <jerror.h>
#include <jpeglib.h>

#include "render/orv_image.h"
#include "render/orv_image_decode_status.h"

namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf jump;
    bool truncated;
    char message[JMSG_LENGTH_MAX];
};

void leaveOnError(j_common_ptr info) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    longjmp(errors->jump, 1);
}

// Level -1 is a warning about the data; only the early end matters.
void leaveOnEarlyEnd(j_common_ptr info, int level) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        errors->truncated = true;
        longjmp(errors->jump, 1);
    }
}

bool chooseOutput(jpeg_decompress_struct* info, OrvImageDecodeStatus* status) {
    switch (info->jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            info->out_color_space = JCS_EXT_RGBA;
            return true;
        default:
            status->fail(OrvImageDecodeStatus::RESULT_UNSUPPORTED,
                         "unsupported JPEG format: %d colour components of space %d",
                         info->num_components, static_cast<int>(info->jpeg_color_space));
            return false;
    }
}

// Everything between libjpeg's set-up and tear-down; a libjpeg error jumps
// back here with false.
bool readImage(jpeg_decompress_struct* info, JpegErrors* errors, const uint8_t* data, size_t size,
               OrvImage* image, OrvImageDecodeStatus* status) {
    if (setjmp(errors->jump) != 0) {
        return false;
    }
    jpeg_create_decompress(info);
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);
    if (!status->checkSize(info->image_width, info->image_height) || !chooseOutput(info, status)) {
        return false;
    }
    jpeg_start_decompress(info);
    if (info->output_components != OrvImage::kChannels ||
        !status->allocate(image, info->output_width, info->output_height)) {
        return false;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->at(0, static_cast<int>(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return true;
}

void recordFailure(const jpeg_decompress_struct& info, const JpegErrors& errors,
                   OrvImageDecodeStatus* status) {
    const int code = errors.manager.msg_code;
    if (errors.truncated) {
        status->fail(OrvImageDecodeStatus::RESULT_TRUNCATED, "truncated JPEG data");
        return;
    }
    // libjpeg refuses empty and oversized pictures itself; they get the same
    // cause as in any other format.
    if ((code == JERR_EMPTY_IMAGE || code == JERR_IMAGE_TOO_BIG) &&
        !status->checkSize(info.image_width, info.image_height)) {
        return;
    }
    if (code == JERR_OUT_OF_MEMORY) {
        status->fail(OrvImageDecodeStatus::RESULT_OUT_OF_MEMORY, "out of memory in libjpeg (%s)",
                     errors.message);
        return;
    }
    status->fail(OrvImageDecodeStatus::RESULT_CORRUPT, "corrupt JPEG data (%s)", errors.message);
}

}  // namespace

bool OrvJpegDecoder::isJpeg(const uint8_t* data, size_t size) {
    return data != nullptr && size >= 3 && data[0] == 0xff && data[1] == 0xd8 && data[2] == 0xff;
}

void OrvJpegDecoder::decode(const uint8_t* data, size_t size, OrvImage* image,
                            OrvImageDecodeStatus* status) {
    jpeg_decompress_struct info = {};
    JpegErrors errors = {};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveOnError;
    errors.manager.emit_message = leaveOnEarlyEnd;
    if (!readImage(&info, &errors, data, size, image, status)) {
        image->release();
        recordFailure(info, errors, status);
    }
    jpeg_destroy_decompress(&info);
}
