// teaflux_helpers: file reading, data-file lookup, the reshape rule and the GL
// error report of the teaflux sample.
#include "teaflux_helpers.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

namespace {

// Closes the file on every return path of readTextFile.
struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

// Opens a regular file for reading, or gives null. The open does not block, so
// a FIFO without a writer in place of a shader file is refused at once instead
// of stopping the program before its first frame; directories and devices,
// which would open and then read as nonsense or without end, are refused too.
FILE* openRegularFile(const char* path) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info;
    FILE* file = nullptr;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        file = fdopen(fd, "r");
    }
    if (file == nullptr) {
        close(fd);
    }
    return file;
}

// Size of an open file, or -1 when it cannot be measured.
long fileSize(FILE* file) {
    if (fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    long size = ftell(file);
    rewind(file);
    return size;
}

}  // namespace

std::unique_ptr<char[]> readTextFile(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    std::unique_ptr<FILE, FileCloser> file(openRegularFile(path));
    if (!file) {
        return nullptr;
    }
    long size = fileSize(file.get());
    if (size < 1) {
        return nullptr;
    }
    std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
    if (!text) {
        return nullptr;
    }
    // Text-mode reading may deliver fewer bytes than the file's size, so the
    // terminator goes after what was actually read.
    size_t count = fread(text.get(), 1, static_cast<size_t>(size), file.get());
    if (ferror(file.get())) {
        return nullptr;
    }
    text[count] = '\0';
    return text;
}

std::string findDataFile(const char* name) {
    std::error_code error;
    if (std::filesystem::exists(name, error)) {
        return name;
    }
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return name;
    }
    std::filesystem::path besideExecutable = executable.parent_path() / name;
    std::filesystem::path installed = executable.parent_path() / TEAFLUX_INSTALLED_DATA / name;
    if (!std::filesystem::exists(besideExecutable, error) &&
        std::filesystem::exists(installed, error)) {
        return installed.string();
    }
    return besideExecutable.string();
}

ReshapeView reshapeView(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    return ReshapeView{width, height, width * 1.0f / height};
}

int reportGlErrors(const char* file, int line) {
    int printed = 0;
    for (GLenum code = glGetError(); code != GL_NO_ERROR; code = glGetError()) {
        // GLU has no text for codes newer than itself and then gives null.
        const GLubyte* text = gluErrorString(code);
        printf("glError in file %s @ line %d: %s\n", file, line,
               text != nullptr ? reinterpret_cast<const char*>(text) : "unknown error");
        printed = 1;
    }
    return printed;
}
