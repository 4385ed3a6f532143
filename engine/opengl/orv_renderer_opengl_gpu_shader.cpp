// GPU program operations of the OpenGL renderer: an OrvGpuProgram record
// becomes a GLSL program on the GL2 codepath (OpenGL 2.0 entry points) or the
// ARB codepath (GL_ARB_shader_objects). The record stays its owner's; these
// operations write back only its handles and flags.
#include "render/orv_gpu_shader_data.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "core/orv_string.h"
#include "opengl/orv_renderer_opengl.h"

#include <cstring>

namespace {

using Renderer = OrvRendererOpenGL;
using Gl = OrvGlCapabilities::EntryPoints;

const Gl& glOf(const Renderer& renderer) {
    return renderer.capabilities().entryPoints();
}

// The entry points and enumerants of one codepath. On Linux GLhandleARB is an
// unsigned int, so the ARB entry points have the GL2 signatures and one body
// of code serves both paths; only the shader source and the program test
// differ in form.
struct OrvGpuPath {
    const char* name;
    GLenum vertexShaderType;
    GLenum pixelShaderType;
    GLenum compileStatus;
    GLenum linkStatus;
    GLenum activeUniforms;
    PFNGLCREATEPROGRAMPROC Gl::*createProgram;
    PFNGLDELETEPROGRAMPROC Gl::*deleteProgram;
    PFNGLCREATESHADERPROC Gl::*createShader;
    PFNGLDELETESHADERPROC Gl::*deleteShader;
    PFNGLATTACHSHADERPROC Gl::*attachShader;
    PFNGLDETACHSHADERPROC Gl::*detachShader;
    PFNGLCOMPILESHADERPROC Gl::*compileShader;
    PFNGLLINKPROGRAMPROC Gl::*linkProgram;
    PFNGLUSEPROGRAMPROC Gl::*useProgram;
    PFNGLGETPROGRAMIVPROC Gl::*getProgramiv;
    PFNGLGETSHADERIVPROC Gl::*getShaderiv;
    PFNGLGETUNIFORMLOCATIONPROC Gl::*getUniformLocation;
    PFNGLGETACTIVEUNIFORMPROC Gl::*getActiveUniform;
    PFNGLUNIFORM1FPROC Gl::*uniform1f;
    PFNGLUNIFORM2FPROC Gl::*uniform2f;
    PFNGLUNIFORM3FPROC Gl::*uniform3f;
    PFNGLUNIFORM4FPROC Gl::*uniform4f;
    PFNGLUNIFORM1IPROC Gl::*uniform1i;
    PFNGLUNIFORM2IPROC Gl::*uniform2i;
    PFNGLUNIFORM3IPROC Gl::*uniform3i;
    PFNGLUNIFORM4IPROC Gl::*uniform4i;
    PFNGLUNIFORMMATRIX3FVPROC Gl::*uniformMatrix3fv;
    PFNGLUNIFORMMATRIX4FVPROC Gl::*uniformMatrix4fv;
    PFNGLBINDATTRIBLOCATIONPROC Gl::*bindAttribLocation;
    void (*shaderSource)(const Gl& gl, GLuint shader, const char* text);
    int (*isProgram)(const Gl& gl, GLuint program);
};

const OrvGpuPath kGl2Path = {
    "GL2 codepath",
    GL_VERTEX_SHADER,
    GL_FRAGMENT_SHADER,
    GL_COMPILE_STATUS,
    GL_LINK_STATUS,
    GL_ACTIVE_UNIFORMS,
    &Gl::glCreateProgram,
    &Gl::glDeleteProgram,
    &Gl::glCreateShader,
    &Gl::glDeleteShader,
    &Gl::glAttachShader,
    &Gl::glDetachShader,
    &Gl::glCompileShader,
    &Gl::glLinkProgram,
    &Gl::glUseProgram,
    &Gl::glGetProgramiv,
    &Gl::glGetShaderiv,
    &Gl::glGetUniformLocation,
    &Gl::glGetActiveUniform,
    &Gl::glUniform1f,
    &Gl::glUniform2f,
    &Gl::glUniform3f,
    &Gl::glUniform4f,
    &Gl::glUniform1i,
    &Gl::glUniform2i,
    &Gl::glUniform3i,
    &Gl::glUniform4i,
    &Gl::glUniformMatrix3fv,
    &Gl::glUniformMatrix4fv,
    &Gl::glBindAttribLocation,
    [](const Gl& gl, GLuint shader, const char* text) {
        gl.glShaderSource(shader, 1, &text, nullptr);
    },
    [](const Gl& gl, GLuint program) { return gl.glIsProgram(program) == GL_TRUE ? 1 : 0; },
};

const OrvGpuPath kArbPath = {
    "ARB codepath",
    GL_VERTEX_SHADER_ARB,
    GL_FRAGMENT_SHADER_ARB,
    GL_OBJECT_COMPILE_STATUS_ARB,
    GL_OBJECT_LINK_STATUS_ARB,
    GL_OBJECT_ACTIVE_UNIFORMS_ARB,
    &Gl::glCreateProgramObjectARB,
    &Gl::glDeleteObjectARB,
    &Gl::glCreateShaderObjectARB,
    &Gl::glDeleteObjectARB,
    &Gl::glAttachObjectARB,
    &Gl::glDetachObjectARB,
    &Gl::glCompileShaderARB,
    &Gl::glLinkProgramARB,
    &Gl::glUseProgramObjectARB,
    &Gl::glGetObjectParameterivARB,
    &Gl::glGetObjectParameterivARB,
    &Gl::glGetUniformLocationARB,
    &Gl::glGetActiveUniformARB,
    &Gl::glUniform1fARB,
    &Gl::glUniform2fARB,
    &Gl::glUniform3fARB,
    &Gl::glUniform4fARB,
    &Gl::glUniform1iARB,
    &Gl::glUniform2iARB,
    &Gl::glUniform3iARB,
    &Gl::glUniform4iARB,
    &Gl::glUniformMatrix3fvARB,
    &Gl::glUniformMatrix4fvARB,
    &Gl::glBindAttribLocationARB,
    [](const Gl& gl, GLuint shader, const char* text) {
        gl.glShaderSourceARB(shader, 1, &text, nullptr);
    },
    // The ARB functions have no program test: a handle is a program.
    [](const Gl&, GLuint program) { return program != 0 ? 1 : 0; },
};

// What differs between the vertex and the pixel (fragment) shader.
struct OrvGpuStage {
    GLenum OrvGpuPath::*shaderType;
    uint32_t OrvGpuProgram::*shader;
    char* OrvGpuProgram::*source;
    const char* compiledLine;
    const char* deletedLine;
    const char* noSourceLine;
};

const OrvGpuStage kVertexStage = {
    &OrvGpuPath::vertexShaderType,
    &OrvGpuProgram::vertexShader,
    &OrvGpuProgram::vertexSource,
    "OrvRendererOpenGL::createGpuVertexShader(): %s - Vertex Shader [%s] successfully compiled "
    "and attached.",
    "OrvRendererOpenGL::destroyGpuVertexShader(): %s - Vertex Shader [%s] successfully detached "
    "and deleted.",
    "OrvRendererOpenGL::createGpuVertexShader(): %s - Vertex Shader [%s] has no source.",
};

const OrvGpuStage kPixelStage = {
    &OrvGpuPath::pixelShaderType,
    &OrvGpuProgram::pixelShader,
    &OrvGpuProgram::pixelSource,
    "OrvRendererOpenGL::createGpuPixelShader(): %s - Pixel Shader [%s] successfully compiled "
    "and attached.",
    "OrvRendererOpenGL::destroyGpuPixelShader(): %s - Pixel Shader [%s] successfully detached "
    "and deleted.",
    "OrvRendererOpenGL::createGpuPixelShader(): %s - Pixel Shader [%s] has no source.",
};

typedef void (Renderer::*OrvLogPrinter)(OrvGpuProgram* program);

// GL2 first: with OpenGL 2 and the ARB extensions both flags are set, but
// only the GL2 entry points were loaded.
const OrvGpuPath* activePath(const Renderer& renderer) {
    if (renderer.capabilities().hasGl2Shaders()) {
        return &kGl2Path;
    }
    if (renderer.capabilities().hasArbShaders()) {
        return &kArbPath;
    }
    return nullptr;
}

int shaderCompiled(Renderer& renderer, const OrvGpuPath& path, GLuint shader) {
    GLint status = 0;
    (glOf(renderer).*path.getShaderiv)(shader, path.compileStatus, &status);
    return status != 0 ? 1 : 0;
}

int createShader(Renderer& renderer, const OrvGpuStage& stage, OrvLogPrinter printLog,
                 OrvGpuProgram* program) {
    const OrvGpuPath* path = activePath(renderer);
    if (path == nullptr || program == nullptr) {
        return -1;
    }
    const char* source = program->*stage.source;
    if (source == nullptr) {
        OrvLog::getInstance()->write(OrvLog::WARNING, stage.noSourceLine, path->name,
                                     program->name);
        return -1;
    }
    GLuint shader = (glOf(renderer).*path->createShader)(path->*stage.shaderType);
    program->*stage.shader = shader;
    path->shaderSource(glOf(renderer), shader, source);
    (glOf(renderer).*path->compileShader)(shader);
    if (shaderCompiled(renderer, *path, shader) == 0) {
        (renderer.*printLog)(program);
        // A program already linked without this stage must not go on being
        // used as if it had it: the next activation looks again.
        program->linked = 0;
        return -1;
    }
    (glOf(renderer).*path->attachShader)(program->program, shader);
    OrvLog::getInstance()->write(OrvLog::DEBUG, stage.compiledLine, path->name, program->name);
    return 0;
}

void destroyShader(Renderer& renderer, const OrvGpuStage& stage, OrvGpuProgram* program) {
    const OrvGpuPath* path = activePath(renderer);
    if (path == nullptr || program == nullptr || program->*stage.shader == 0) {
        return;
    }
    GLuint shader = program->*stage.shader;
    // A shader that failed to compile was never attached; detaching it would
    // only raise a GL error.
    if (program->program != 0 && shaderCompiled(renderer, *path, shader) == 1) {
        (glOf(renderer).*path->detachShader)(program->program, shader);
    }
    (glOf(renderer).*path->deleteShader)(shader);
    program->*stage.shader = 0;
    OrvLog::getInstance()->write(OrvLog::DEBUG, stage.deletedLine, path->name, program->name);
}

// Links the program and marks it linked; on failure prints the linker's log
// and returns 0, and the next activation tries again.
int linkProgram(Renderer& renderer, const OrvGpuPath& path, OrvLogPrinter printLog,
                OrvGpuProgram* program) {
    // Attribute bindings take effect only when a program links.
    renderer.bindGpuShaderAttributes(program);
    (glOf(renderer).*path.linkProgram)(program->program);
    GLint status = 0;
    (glOf(renderer).*path.getProgramiv)(program->program, path.linkStatus, &status);
    if (status == 0) {
        (renderer.*printLog)(program);
        return 0;
    }
    program->linked = 1;
    program->refusalLogged = 0;
    OrvLog::getInstance()->write(
        OrvLog::DEBUG,
        "OrvRendererOpenGL::activeGpuShader(): %s - Shader program [%s] successfully linked.",
        path.name, program->name);
    // Linking resets every uniform of the program and may move them, so all
    // values are sent again, to locations looked up again.
    for (int i = 0; i < program->uniformCount; i++) {
        program->uniforms[i].changed = 1;
        program->uniforms[i].locationKnown = 0;
    }
    return 1;
}

void sendUniform(Renderer& renderer, const OrvGpuPath& path, GLint location,
                 const OrvGpuUniform& uniform) {
    const float* f = uniform.floatValues;
    const int32_t* i = uniform.intValues;
    switch (uniform.kind) {
        case ORV_UNIFORM_FLOAT1:
            (glOf(renderer).*path.uniform1f)(location, f[0]);
            break;
        case ORV_UNIFORM_FLOAT2:
            (glOf(renderer).*path.uniform2f)(location, f[0], f[1]);
            break;
        case ORV_UNIFORM_FLOAT3:
            (glOf(renderer).*path.uniform3f)(location, f[0], f[1], f[2]);
            break;
        case ORV_UNIFORM_FLOAT4:
            (glOf(renderer).*path.uniform4f)(location, f[0], f[1], f[2], f[3]);
            break;
        case ORV_UNIFORM_INT1:
            (glOf(renderer).*path.uniform1i)(location, i[0]);
            break;
        case ORV_UNIFORM_INT2:
            (glOf(renderer).*path.uniform2i)(location, i[0], i[1]);
            break;
        case ORV_UNIFORM_INT3:
            (glOf(renderer).*path.uniform3i)(location, i[0], i[1], i[2]);
            break;
        case ORV_UNIFORM_INT4:
            (glOf(renderer).*path.uniform4i)(location, i[0], i[1], i[2], i[3]);
            break;
        case ORV_UNIFORM_MATRIX3:
            (glOf(renderer).*path.uniformMatrix3fv)(location, 1, GL_FALSE, uniform.matrix3);
            break;
        case ORV_UNIFORM_MATRIX4:
            (glOf(renderer).*path.uniformMatrix4fv)(location, 1, GL_FALSE, uniform.matrix4);
            break;
        default:
            break;
    }
}

// True when a shader of the program was kept after its compile failed: linked
// without it, the program would run with a default stage and draw garbage.
bool hasFailedStage(Renderer& renderer, const OrvGpuPath& path, const OrvGpuProgram& program) {
    for (GLuint shader : {program.vertexShader, program.pixelShader}) {
        if (shader != 0 && shaderCompiled(renderer, path, shader) == 0) {
            return true;
        }
    }
    return false;
}

void refuseProgram(const OrvGpuPath& path, OrvGpuProgram* program) {
    if (program->refusalLogged == 1) {
        return;
    }
    program->refusalLogged = 1;
    OrvLog::getInstance()->write(OrvLog::WARNING,
                                 "OrvRendererOpenGL::activeGpuShader(): %s - Shader program [%s] "
                                 "has a shader that did not compile; drawing without the program.",
                                 path.name, program->name);
}

// Sampler (and image) uniforms are set with one int like an int.
bool isSamplerType(GLenum type) {
    static const GLenum kRanges[][2] = {
        {GL_SAMPLER_1D, GL_SAMPLER_2D_RECT_SHADOW},
        {GL_SAMPLER_1D_ARRAY, GL_SAMPLER_CUBE_SHADOW},
        {GL_INT_SAMPLER_1D, GL_UNSIGNED_INT_SAMPLER_BUFFER},
        {GL_SAMPLER_CUBE_MAP_ARRAY, GL_UNSIGNED_INT_SAMPLER_CUBE_MAP_ARRAY},
        {GL_IMAGE_1D, GL_UNSIGNED_INT_IMAGE_2D_MULTISAMPLE_ARRAY},
        {GL_SAMPLER_2D_MULTISAMPLE, GL_UNSIGNED_INT_SAMPLER_2D_MULTISAMPLE_ARRAY},
    };
    for (const auto& range : kRanges) {
        if (type >= range[0] && type <= range[1]) {
            return true;
        }
    }
    return false;
}

// Whether a value of the kind can set a uniform declared with the type: its
// own type, the bool type of its size (set by float and int values alike),
// and for one int a sampler.
bool kindSetsType(int kind, GLenum type) {
    static const GLenum kTypes[][2] = {
        {GL_FLOAT, GL_BOOL},
        {GL_FLOAT_VEC2, GL_BOOL_VEC2},
        {GL_FLOAT_VEC3, GL_BOOL_VEC3},
        {GL_FLOAT_VEC4, GL_BOOL_VEC4},
        {GL_INT, GL_BOOL},
        {GL_INT_VEC2, GL_BOOL_VEC2},
        {GL_INT_VEC3, GL_BOOL_VEC3},
        {GL_INT_VEC4, GL_BOOL_VEC4},
        {GL_FLOAT_MAT3, GL_FLOAT_MAT3},
        {GL_FLOAT_MAT4, GL_FLOAT_MAT4},
    };
    if (kind < ORV_UNIFORM_FLOAT1 || kind > ORV_UNIFORM_MATRIX4) {
        return true;
    }
    return type == kTypes[kind][0] || type == kTypes[kind][1] ||
           (kind == ORV_UNIFORM_INT1 && isSamplerType(type));
}

// The length of a uniform name without its array index: GL names an array
// "name[0]", and a program may set any of its elements.
size_t baseNameLength(const char* name) {
    const char* bracket = std::strchr(name, '[');
    return bracket != nullptr ? static_cast<size_t>(bracket - name) : std::strlen(name);
}

// The type the program declares the uniform with, or 0 when GL lists no
// active uniform of that name.
GLenum declaredType(Renderer& renderer, const OrvGpuPath& path, GLuint program, const char* name) {
    GLint count = 0;
    (glOf(renderer).*path.getProgramiv)(program, path.activeUniforms, &count);
    const size_t length = baseNameLength(name);
    for (GLint index = 0; index < count; index++) {
        char active[OrvGpuUniform::kNameSize] = {};
        GLint size = 0;
        GLenum type = 0;
        (glOf(renderer).*path.getActiveUniform)(program, static_cast<GLuint>(index), sizeof(active),
                                                nullptr, &size, &type, active);
        if (baseNameLength(active) == length && std::strncmp(active, name, length) == 0) {
            return type;
        }
    }
    return 0;
}

// Looks the uniform's location up after a link. A value GL would refuse for
// the declared type is reported once and never sent, instead of raising a
// GL error at every send.
void findLocation(Renderer& renderer, const OrvGpuPath& path, const OrvGpuProgram& program,
                  OrvGpuUniform& uniform) {
    uniform.location = (glOf(renderer).*path.getUniformLocation)(program.program, uniform.name);
    uniform.locationKnown = 1;
    if (uniform.location < 0) {
        return;
    }
    const GLenum type = declaredType(renderer, path, program.program, uniform.name);
    if (type != 0 && !kindSetsType(uniform.kind, type)) {
        OrvLog::getInstance()->write(OrvLog::WARNING,
                                     "OrvRendererOpenGL::updateGpuShaderUniforms(): %s - uniform "
                                     "[%s] of shader program [%s] is declared with GL type 0x%04x, "
                                     "which a value of kind %d cannot set; it is not sent.",
                                     path.name, uniform.name, program.name, type, uniform.kind);
        uniform.location = -1;
    }
}

// Reads an object's compiler or linker log into a tracked buffer and writes
// it as one WARNING line; an empty log writes nothing.
void printInfoLog(PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog,
                  GLenum lengthName, GLuint object, const char* line, OrvGpuProgram* program) {
    GLint length = 0;
    getParameter(object, lengthName, &length);
    if (length <= 0) {
        return;
    }
    char* text = ORV_NEW char[length];
    if (text == nullptr) {
        return;
    }
    getLog(object, length, nullptr, text);
    text[length - 1] = '\0';
    OrvLog::getInstance()->write(OrvLog::WARNING, line, program->name, text);
    // Kept for the program's owner to show.
    orvCopyBounded(program->infoLog, sizeof(program->infoLog), text);
    ORV_DELETE_ARRAY(text);
}

}  // namespace

int OrvRendererOpenGL::isGpuProgram(OrvGpuProgram* program) {
    const OrvGpuPath* path = activePath(*this);
    if (path == nullptr || program == nullptr) {
        return 0;
    }
    return path->isProgram(gl(), program->program);
}

void OrvRendererOpenGL::createGpuProgram(OrvGpuProgram* program) {
    if (program == nullptr) {
        return;
    }
    const OrvGpuPath* path = activePath(*this);
    if (path != nullptr) {
        program->program = (gl().*path->createProgram)();
    }
    program->linked = 0;
    program->infoLog[0] = '\0';
    program->refusalLogged = 0;
}

void OrvRendererOpenGL::destroyGpuProgram(OrvGpuProgram* program) {
    if (program == nullptr || program->program == 0) {
        return;
    }
    destroyGpuVertexShader(program);
    destroyGpuPixelShader(program);
    const OrvGpuPath* path = activePath(*this);
    if (path != nullptr) {
        (gl().*path->deleteProgram)(program->program);
        m_cache.forgetProgram(program->program);
        program->program = 0;
        OrvLog::getInstance()->write(OrvLog::DEBUG,
                                     "OrvRendererOpenGL::destroyGpuProgram(): %s - Shader program "
                                     "[%s] successfully deleted.",
                                     path->name, program->name);
    }
    program->linked = 0;
}

int OrvRendererOpenGL::createGpuVertexShader(OrvGpuProgram* program) {
    OrvLogPrinter printLog = m_capabilities.hasGl2Shaders()
                                 ? &OrvRendererOpenGL::_printGpuVertexShaderInfoLog
                                 : &OrvRendererOpenGL::_printGpuVertexShaderInfoLogARB;
    return createShader(*this, kVertexStage, printLog, program);
}

void OrvRendererOpenGL::destroyGpuVertexShader(OrvGpuProgram* program) {
    destroyShader(*this, kVertexStage, program);
}

int OrvRendererOpenGL::createGpuPixelShader(OrvGpuProgram* program) {
    OrvLogPrinter printLog = m_capabilities.hasGl2Shaders()
                                 ? &OrvRendererOpenGL::_printGpuPixelShaderInfoLog
                                 : &OrvRendererOpenGL::_printGpuPixelShaderInfoLogARB;
    return createShader(*this, kPixelStage, printLog, program);
}

void OrvRendererOpenGL::destroyGpuPixelShader(OrvGpuProgram* program) {
    destroyShader(*this, kPixelStage, program);
}

void OrvRendererOpenGL::activeGpuShader(OrvGpuProgram* program) {
    const OrvGpuPath* path = activePath(*this);
    if (path == nullptr) {
        return;
    }
    if (program == nullptr) {
        useProgram(0);
        return;
    }
    // A record without a program object has nothing to link or use.
    if (program->program == 0) {
        return;
    }
    OrvLogPrinter printLog = path == &kGl2Path ? &OrvRendererOpenGL::_printGpuProgramInfoLog
                                               : &OrvRendererOpenGL::_printGpuProgramInfoLogARB;
    if (program->linked == 0 && hasFailedStage(*this, *path, *program)) {
        refuseProgram(*path, program);
        useProgram(0);
        return;
    }
    if (program->linked == 0 && linkProgram(*this, *path, printLog, program) == 0) {
        return;
    }
    useProgram(program->program);
}

void OrvRendererOpenGL::useProgram(GLuint handle) {
    if (m_cache.changeProgram(handle)) {
        (gl().*activePath(*this)->useProgram)(handle);
    }
}

void OrvRendererOpenGL::updateGpuShaderUniforms(OrvGpuProgram* program) {
    if (program == nullptr) {
        return;
    }
    const OrvGpuPath* path = activePath(*this);
    // Until the program links there is nowhere to send the values, so they
    // stay marked for the bind after the link.
    if (path != nullptr && program->linked == 1) {
        for (int i = 0; i < program->uniformCount; i++) {
            OrvGpuUniform& uniform = program->uniforms[i];
            if (uniform.changed != 1) {
                continue;
            }
            // A location holds until the program links again.
            if (uniform.locationKnown != 1) {
                findLocation(*this, *path, *program, uniform);
            }
            const GLint location = uniform.location;
            if (location >= 0) {
                sendUniform(*this, *path, location, uniform);
            }
            uniform.changed = 0;
        }
    }
    bindGpuShaderAttributes(program);
}

void OrvRendererOpenGL::bindGpuShaderAttributes(OrvGpuProgram* program) {
    const OrvGpuPath* path = activePath(*this);
    if (path == nullptr || program == nullptr || program->attributesChanged != 1) {
        return;
    }
    for (int i = 0; i < program->attributeCount; i++) {
        const OrvGpuAttribute& attribute = program->attributes[i];
        (gl().*path->bindAttribLocation)(program->program, static_cast<GLuint>(attribute.location),
                                         attribute.name);
    }
    program->attributesChanged = 0;
}

void OrvRendererOpenGL::_printGpuProgramInfoLog(OrvGpuProgram* program) {
    if (m_capabilities.hasGl2Shaders()) {
        printInfoLog(gl().glGetProgramiv, gl().glGetProgramInfoLog, GL_INFO_LOG_LENGTH,
                     program->program, "OrvRendererOpenGL::_printGpuProgramInfoLog(): [%s] - %s",
                     program);
    }
}

void OrvRendererOpenGL::_printGpuVertexShaderInfoLog(OrvGpuProgram* program) {
    if (m_capabilities.hasGl2Shaders()) {
        printInfoLog(gl().glGetShaderiv, gl().glGetShaderInfoLog, GL_INFO_LOG_LENGTH,
                     program->vertexShader,
                     "OrvRendererOpenGL::_printGpuVertexShaderInfoLog(): [%s] - %s", program);
    }
}

void OrvRendererOpenGL::_printGpuPixelShaderInfoLog(OrvGpuProgram* program) {
    if (m_capabilities.hasGl2Shaders()) {
        printInfoLog(gl().glGetShaderiv, gl().glGetShaderInfoLog, GL_INFO_LOG_LENGTH,
                     program->pixelShader,
                     "OrvRendererOpenGL::_printGpuPixelShaderInfoLog(): [%s] - %s", program);
    }
}

// The ARB printers need the ARB entry points, which are loaded only when the
// GL2 ones are not.
void OrvRendererOpenGL::_printGpuProgramInfoLogARB(OrvGpuProgram* program) {
    if (activePath(*this) == &kArbPath) {
        printInfoLog(gl().glGetObjectParameterivARB, gl().glGetInfoLogARB,
                     GL_OBJECT_INFO_LOG_LENGTH_ARB, program->program,
                     "OrvRendererOpenGL::_printGpuProgramInfoLogARB(): [%s] - %s", program);
    }
}

void OrvRendererOpenGL::_printGpuVertexShaderInfoLogARB(OrvGpuProgram* program) {
    if (activePath(*this) == &kArbPath) {
        printInfoLog(gl().glGetObjectParameterivARB, gl().glGetInfoLogARB,
                     GL_OBJECT_INFO_LOG_LENGTH_ARB, program->vertexShader,
                     "OrvRendererOpenGL::_printGpuVertexShaderInfoLogARB(): [%s] - %s", program);
    }
}

void OrvRendererOpenGL::_printGpuPixelShaderInfoLogARB(OrvGpuProgram* program) {
    if (activePath(*this) == &kArbPath) {
        printInfoLog(gl().glGetObjectParameterivARB, gl().glGetInfoLogARB,
                     GL_OBJECT_INFO_LOG_LENGTH_ARB, program->pixelShader,
                     "OrvRendererOpenGL::_printGpuPixelShaderInfoLogARB(): [%s] - %s", program);
    }
}
