#include "scene/orv_gpu_shader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_renderer.h"
#include "core/orv_string.h"

// What differs between the vertex and the pixel shader: the record's fields,
// the renderer's operations and the loaders' log lines.
struct OrvGpuShaderStage {
    const char* fileOperation;
    const char* memoryOperation;
    const char* unreadableFileLine;
    const char* invalidBufferLine;
    char* OrvGpuProgram::*source;
    int32_t OrvGpuProgram::*sourceLength;
    uint32_t OrvGpuProgram::*shader;
    int (OrvRenderer::*create)(OrvGpuProgram*);
    void (OrvRenderer::*destroy)(OrvGpuProgram*);
};

namespace {

const OrvGpuShaderStage kVertexStage = {
    "loadVertexShaderFromFile",
    "loadVertexShaderFromMemory",
    "OrvGpuShader::loadVertexShaderFromFile(): Could not load vertex shader source file [%s].",
    "OrvGpuShader::loadVertexShaderFromMemory(): Invalid memory buffer - null pointer.",
    &OrvGpuProgram::vertexSource,
    &OrvGpuProgram::vertexSourceLength,
    &OrvGpuProgram::vertexShader,
    &OrvRenderer::createGpuVertexShader,
    &OrvRenderer::destroyGpuVertexShader,
};

const OrvGpuShaderStage kPixelStage = {
    "loadPixelShaderFromFile",
    "loadPixelShaderFromMemory",
    "OrvGpuShader::loadPixelShaderFromFile(): Could not load pixel shader source file [%s].",
    "OrvGpuShader::loadPixelShaderFromMemory(): Invalid memory buffer - null pointer.",
    &OrvGpuProgram::pixelSource,
    &OrvGpuProgram::pixelSourceLength,
    &OrvGpuProgram::pixelShader,
    &OrvRenderer::createGpuPixelShader,
    &OrvRenderer::destroyGpuPixelShader,
};

// Reads up to size bytes; fewer when the file shrank meanwhile. -1 on a read
// error.
int64_t readAll(int fd, char* buffer, int64_t size) {
    int64_t done = 0;
    while (done < size) {
        ssize_t got = read(fd, buffer + done, static_cast<size_t>(size - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

}  // namespace

OrvGpuShader::OrvGpuShader() : program(nullptr) {
    addKind(ORV_KIND_GPU_SHADER);
    program = ORV_NEW OrvGpuProgram();
    if (program != nullptr) {
        reset();
    }
    setDefaultName("gpu_shader");
}

OrvGpuShader::~OrvGpuShader() {
    release();
    ORV_DELETE(program);
}

void OrvGpuShader::setName(const char* newName) {
    OrvSceneNode::setName(newName);
    if (newName != nullptr && program != nullptr) {
        orvCopyBounded(program->name, sizeof(program->name), newName);
    }
}

int OrvGpuShader::getTypeId() const {
    return ORV_KIND_GPU_SHADER;
}

const char* OrvGpuShader::getTypeName() const {
    return ORV_NODE_GPU_SHADER;
}

void OrvGpuShader::reset() {
    program->program = 0;
    program->linked = 0;
    program->vertexShader = 0;
    program->pixelShader = 0;
    memset(program->uniforms, 0, sizeof(program->uniforms));
    program->uniformCount = 0;
    memset(program->attributes, 0, sizeof(program->attributes));
    program->attributeCount = 0;
    program->vertexSource = nullptr;
    program->vertexSourceLength = 0;
    program->pixelSource = nullptr;
    program->pixelSourceLength = 0;
    program->infoLog[0] = '\0';
    program->refusalLogged = 0;
}

void OrvGpuShader::release() {
    if (program == nullptr) {
        return;
    }
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr) {
        renderer->destroyGpuProgram(program);
    }
    _freeSource(kVertexStage);
    _freeSource(kPixelStage);
}

void OrvGpuShader::apply() {}

void OrvGpuShader::update(float) {}

void OrvGpuShader::bind() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr) {
        return;
    }
    renderer->activeGpuShader(program);
    renderer->updateGpuShaderUniforms(program);
}

void OrvGpuShader::unbind() {
    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer != nullptr) {
        renderer->activeGpuShader(nullptr);
    }
}

void OrvGpuShader::setUniform4iv(const char* uniformName, const int v[4]) {
    if (v != nullptr) {
        _setInts(uniformName, ORV_UNIFORM_INT4, {v[0], v[1], v[2], v[3]});
    }
}

void OrvGpuShader::setUniform4i(const char* uniformName, int x, int y, int z, int w) {
    _setInts(uniformName, ORV_UNIFORM_INT4, {x, y, z, w});
}

void OrvGpuShader::setUniform3i(const char* uniformName, int x, int y, int z) {
    _setInts(uniformName, ORV_UNIFORM_INT3, {x, y, z});
}

void OrvGpuShader::setUniform2i(const char* uniformName, int x, int y) {
    _setInts(uniformName, ORV_UNIFORM_INT2, {x, y});
}

void OrvGpuShader::setUniform1i(const char* uniformName, int x) {
    _setInts(uniformName, ORV_UNIFORM_INT1, {x});
}

void OrvGpuShader::setUniform4fv(const char* uniformName, const float v[4]) {
    if (v != nullptr) {
        _setFloats(uniformName, ORV_UNIFORM_FLOAT4, {v[0], v[1], v[2], v[3]});
    }
}

void OrvGpuShader::setUniform4f(const char* uniformName, float x, float y, float z, float w) {
    _setFloats(uniformName, ORV_UNIFORM_FLOAT4, {x, y, z, w});
}

void OrvGpuShader::setUniform3f(const char* uniformName, float x, float y, float z) {
    _setFloats(uniformName, ORV_UNIFORM_FLOAT3, {x, y, z});
}

void OrvGpuShader::setUniform2f(const char* uniformName, float x, float y) {
    _setFloats(uniformName, ORV_UNIFORM_FLOAT2, {x, y});
}

void OrvGpuShader::setUniform1f(const char* uniformName, float x) {
    _setFloats(uniformName, ORV_UNIFORM_FLOAT1, {x});
}

void OrvGpuShader::setUniformMatrix4(const char* uniformName, const float m[16]) {
    _setMatrix(uniformName, ORV_UNIFORM_MATRIX4, m);
}

void OrvGpuShader::setUniformMatrix3(const char* uniformName, const float m[9]) {
    _setMatrix(uniformName, ORV_UNIFORM_MATRIX3, m);
}

void OrvGpuShader::setAttributeLocation(const char* attributeName, int location) {
    if (attributeName == nullptr || attributeName[0] == '\0' ||
        program->attributeCount >= OrvGpuProgram::kMaxAttributes) {
        return;
    }
    OrvGpuAttribute& entry = program->attributes[program->attributeCount];
    orvCopyBounded(entry.name, sizeof(entry.name), attributeName);
    entry.location = location;
    program->attributesChanged = 1;
    program->attributeCount++;
}

int OrvGpuShader::loadVertexShaderFromFile(const char* path) {
    return _loadFromFile(kVertexStage, path);
}

int OrvGpuShader::loadPixelShaderFromFile(const char* path) {
    return _loadFromFile(kPixelStage, path);
}

int OrvGpuShader::loadVertexShaderFromMemory(const char* buffer, int length) {
    return _loadFromMemory(kVertexStage, buffer, length);
}

int OrvGpuShader::loadPixelShaderFromMemory(const char* buffer, int length) {
    return _loadFromMemory(kPixelStage, buffer, length);
}

// The file is opened without blocking so that a FIFO or device given as a
// path is refused instead of waiting for a writer.
int OrvGpuShader::_loadFromFile(const OrvGpuShaderStage& stage, const char* path) {
    OrvLog* log = OrvLog::getInstance();
    int fd = path != nullptr ? open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0) {
            close(fd);
        }
        log->write(OrvLog::WARNING, stage.unreadableFileLine, path != nullptr ? path : "(null)");
        return -1;
    }
    // The held source counts its terminating zero in an int.
    if (info.st_size >= INT_MAX) {
        close(fd);
        log->write(OrvLog::WARNING, "OrvGpuShader::%s(): Shader source file [%s] is too large.",
                   stage.fileOperation, path);
        return -1;
    }
    int64_t size = info.st_size;
    char* text = ORV_NEW char[size + 1];
    // A file that grows while it is read is cut at the size taken above.
    int64_t got = text != nullptr ? readAll(fd, text, size) : -1;
    close(fd);
    if (got < 0) {
        ORV_DELETE_ARRAY(text);
        log->write(OrvLog::WARNING, stage.unreadableFileLine, path);
        return -1;
    }
    text[got] = '\0';
    int result = _loadFromMemory(stage, text, static_cast<int>(got + 1));
    ORV_DELETE_ARRAY(text);
    return result;
}

int OrvGpuShader::_loadFromMemory(const OrvGpuShaderStage& stage, const char* buffer, int length) {
    OrvLog* log = OrvLog::getInstance();
    if (buffer == nullptr || length <= 0) {
        log->write(OrvLog::WARNING, "%s", stage.invalidBufferLine);
        return -1;
    }
    // The compiler reads the source up to its first zero byte, so a buffer
    // without one gets it appended rather than read past its end.
    int64_t held = buffer[length - 1] == '\0' ? length : int64_t{length} + 1;
    if (held > INT_MAX) {
        log->write(OrvLog::WARNING, "OrvGpuShader::%s(): Shader source of %d bytes is too large.",
                   stage.memoryOperation, length);
        return -1;
    }
    char* copy = ORV_NEW char[held];
    if (copy == nullptr) {
        log->write(OrvLog::WARNING, "OrvGpuShader::%s(): No memory for %lld bytes of source.",
                   stage.memoryOperation, static_cast<long long>(held));
        return -1;
    }
    memcpy(copy, buffer, static_cast<size_t>(length));
    _freeSource(stage);
    program->*stage.source = copy;
    program->*stage.sourceLength = static_cast<int32_t>(held);

    OrvRenderer* renderer = OrvRenderer::getInstance();
    if (renderer == nullptr) {
        log->write(OrvLog::WARNING, "OrvGpuShader::%s(): No renderer - shader [%s] not compiled.",
                   stage.memoryOperation, program->name);
        return -1;
    }
    // A program links only once, so a replaced shader is taken out and the
    // program linked again at its next bind.
    if (program->*stage.shader != 0) {
        (renderer->*stage.destroy)(program);
        program->linked = 0;
    }
    if (renderer->isGpuProgram(program) == 0) {
        renderer->createGpuProgram(program);
    }
    return (renderer->*stage.create)(program);
}

void OrvGpuShader::_freeSource(const OrvGpuShaderStage& stage) {
    ORV_DELETE_ARRAY(program->*stage.source);
    program->*stage.source = nullptr;
    program->*stage.sourceLength = 0;
}

OrvGpuUniform* OrvGpuShader::_uniformFor(const char* uniformName, int kind) {
    if (uniformName == nullptr || uniformName[0] == '\0') {
        return nullptr;
    }
    // Names are held cut to 127 characters with their length, so comparing
    // lengths first skips most entries without reading their names.
    const int32_t length = static_cast<int32_t>(strnlen(uniformName, OrvGpuUniform::kNameSize - 1));
    for (int i = 0; i < program->uniformCount; i++) {
        OrvGpuUniform& entry = program->uniforms[i];
        if (entry.nameLength == length && memcmp(entry.name, uniformName, length) == 0) {
            return &entry;
        }
    }
    if (program->uniformCount >= OrvGpuProgram::kMaxUniforms) {
        return nullptr;
    }
    OrvGpuUniform& entry = program->uniforms[program->uniformCount++];
    entry.kind = kind;
    orvCopyBounded(entry.name, sizeof(entry.name), uniformName);
    entry.nameLength = length;
    return &entry;
}

void OrvGpuShader::_setFloats(const char* uniformName, int kind,
                              std::initializer_list<float> values) {
    OrvGpuUniform* entry = _uniformFor(uniformName, kind);
    if (entry != nullptr) {
        std::copy(values.begin(), values.end(), entry->floatValues);
        entry->changed = 1;
    }
}

void OrvGpuShader::_setInts(const char* uniformName, int kind, std::initializer_list<int> values) {
    OrvGpuUniform* entry = _uniformFor(uniformName, kind);
    if (entry != nullptr) {
        std::copy(values.begin(), values.end(), entry->intValues);
        entry->changed = 1;
    }
}

void OrvGpuShader::_setMatrix(const char* uniformName, int kind, const float* m) {
    OrvGpuUniform* entry = m != nullptr ? _uniformFor(uniformName, kind) : nullptr;
    if (entry == nullptr) {
        return;
    }
    if (kind == ORV_UNIFORM_MATRIX3) {
        memcpy(entry->matrix3, m, sizeof(entry->matrix3));
    } else {
        memcpy(entry->matrix4, m, sizeof(entry->matrix4));
    }
    entry->changed = 1;
}
