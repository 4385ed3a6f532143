// Files are read whole into one tracked block and decoded from memory, so both
// ways in share one decode and one set of checks.
#include "render/orv_image_loader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_image.h"
#include "render/orv_image_decode_status.h"
#include "render/orv_jpeg_decoder.h"
#include "render/orv_png_codec.h"

namespace {

size_t g_memoryLimit = OrvImageLoader::kDefaultMemoryLimit;

int report(const char* name, const OrvImageDecodeStatus& status) {
    if (status.result != OrvImageDecodeStatus::RESULT_OK) {
        OrvLog::getInstance()->write(OrvLog::WARNING, "OrvImageLoader::load(): %s: %s.",
                                     name != nullptr ? name : "(unnamed)", status.cause);
    }
    return status.result;
}

void decode(const uint8_t* data, size_t size, OrvImage* image, OrvImageDecodeStatus* status) {
    if (OrvPngCodec::isPng(data, size)) {
        OrvPngCodec::decode(data, size, image, status);
    } else if (OrvJpegDecoder::isJpeg(data, size)) {
        OrvJpegDecoder::decode(data, size, image, status);
    } else {
        status->fail(OrvImageDecodeStatus::RESULT_NOT_AN_IMAGE, "not a PNG or JPEG image");
    }
}

int failRead(OrvImageDecodeStatus* status, int error) {
    return status->fail(OrvImageDecodeStatus::RESULT_CANNOT_READ, "cannot read the file (%s)",
                        strerror(error));
}

// The file's size, or -1 with the cause recorded. A folder opens like a file
// but has no bytes to read.
long fileSize(FILE* file, OrvImageDecodeStatus* status) {
    struct stat about = {};
    if (fstat(fileno(file), &about) != 0) {
        failRead(status, errno);
        return -1;
    }
    if (S_ISDIR(about.st_mode)) {
        failRead(status, EISDIR);
        return -1;
    }
    if (about.st_size > OrvImageLoader::kMaxFileBytes) {
        status->fail(OrvImageDecodeStatus::RESULT_CANNOT_READ,
                     "the file's %lld bytes are more than %ld",
                     static_cast<long long>(about.st_size), OrvImageLoader::kMaxFileBytes);
        return -1;
    }
    return static_cast<long>(about.st_size);
}

// The file's bytes in a tracked block the caller frees, or null with the
// cause recorded.
uint8_t* readWhole(FILE* file, size_t* size, OrvImageDecodeStatus* status) {
    const long length = fileSize(file, status);
    if (length < 0) {
        return nullptr;
    }
    uint8_t* bytes = ORV_NEW uint8_t[length > 0 ? length : 1];
    if (bytes == nullptr) {
        status->fail(OrvImageDecodeStatus::RESULT_OUT_OF_MEMORY,
                     "out of memory for the file's %ld bytes", length);
        return nullptr;
    }
    *size = fread(bytes, 1, static_cast<size_t>(length), file);
    if (*size != static_cast<size_t>(length) || ferror(file) != 0) {
        failRead(status, errno != 0 ? errno : EIO);
        ORV_DELETE_ARRAY(bytes);
        return nullptr;
    }
    return bytes;
}

OrvImageDecodeStatus freshStatus() {
    OrvImageDecodeStatus status = {};
    status.memoryLimit = g_memoryLimit;
    return status;
}

}  // namespace

int OrvImageLoader::loadFile(const char* path, OrvImage* image) {
    OrvImageDecodeStatus status = freshStatus();
    if (image == nullptr || path == nullptr) {
        status.fail(OrvImageDecodeStatus::RESULT_CANNOT_OPEN, "no file or no image record");
        return report(path, status);
    }
    image->release();
    errno = 0;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        status.fail(OrvImageDecodeStatus::RESULT_CANNOT_OPEN, "cannot open the file (%s)",
                    strerror(errno));
        return report(path, status);
    }
    size_t size = 0;
    uint8_t* bytes = readWhole(file, &size, &status);
    fclose(file);
    if (bytes != nullptr) {
        decode(bytes, size, image, &status);
        ORV_DELETE_ARRAY(bytes);
    }
    return report(path, status);
}

int OrvImageLoader::loadMemory(const void* data, size_t size, const char* name, OrvImage* image) {
    OrvImageDecodeStatus status = freshStatus();
    if (image == nullptr) {
        status.fail(OrvImageDecodeStatus::RESULT_NOT_AN_IMAGE, "no image record");
        return report(name, status);
    }
    image->release();
    decode(static_cast<const uint8_t*>(data), data != nullptr ? size : 0, image, &status);
    return report(name, status);
}

void OrvImageLoader::setMemoryLimit(size_t bytes) {
    g_memoryLimit = bytes;
}

size_t OrvImageLoader::memoryLimit() {
    return g_memoryLimit;
}
