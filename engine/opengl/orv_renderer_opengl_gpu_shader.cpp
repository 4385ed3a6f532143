// GPU program operations of the OpenGL renderer: an OrvGpuProgram record
// becomes a GLSL program on the GL2 codepath (OpenGL 2.0 entry points) or the
// ARB codepath (GL_ARB_shader_objects). The record stays its owner's; these
// operations write back only its handles and flags.
#include "render/orv_gpu_shader_data.h"
#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "opengl/orv_renderer_opengl.h"

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

// Reads an object's compiler or linker log into a tracked buffer and writes
// it as one WARNING line; an empty log writes nothing.
void printInfoLog(PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog,
                  GLenum lengthName, GLuint object, const char* line,
                  const OrvGpuProgram* program) {
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
                uniform.location = (gl().*path->getUniformLocation)(program->program, uniform.name);
                uniform.locationKnown = 1;
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
