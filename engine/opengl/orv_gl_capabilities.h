/// @file
/// OrvGlCapabilities, what the OpenGL driver offers, and the table of the entry
/// points the renderer loads by name.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "render/orv_render_context.h"

/// Every entry point loaded by name, in member order, with the group that
/// decides whether it is loaded. X(group, type, name): each member is named
/// exactly as the entry point it holds.
#define ORV_GL_ENTRY_POINTS(X)                                                      \
    X(GROUP_RANGE, PFNGLDRAWRANGEELEMENTSPROC, glDrawRangeElements)                 \
    X(GROUP_BUFFERS, PFNGLGENBUFFERSARBPROC, glGenBuffersARB)                       \
    X(GROUP_BUFFERS, PFNGLBINDBUFFERARBPROC, glBindBufferARB)                       \
    X(GROUP_BUFFERS, PFNGLBUFFERDATAARBPROC, glBufferDataARB)                       \
    X(GROUP_BUFFERS, PFNGLBUFFERSUBDATAARBPROC, glBufferSubDataARB)                 \
    X(GROUP_BUFFERS, PFNGLDELETEBUFFERSARBPROC, glDeleteBuffersARB)                 \
    X(GROUP_BUFFERS, PFNGLMAPBUFFERARBPROC, glMapBufferARB)                         \
    X(GROUP_BUFFERS, PFNGLUNMAPBUFFERARBPROC, glUnmapBufferARB)                     \
    X(GROUP_BUFFERS, PFNGLGETBUFFERPARAMETERIVARBPROC, glGetBufferParameterivARB)   \
    X(GROUP_GL2, PFNGLCREATEPROGRAMPROC, glCreateProgram)                           \
    X(GROUP_GL2, PFNGLDELETEPROGRAMPROC, glDeleteProgram)                           \
    X(GROUP_GL2, PFNGLCREATESHADERPROC, glCreateShader)                             \
    X(GROUP_GL2, PFNGLDELETESHADERPROC, glDeleteShader)                             \
    X(GROUP_GL2, PFNGLATTACHSHADERPROC, glAttachShader)                             \
    X(GROUP_GL2, PFNGLDETACHSHADERPROC, glDetachShader)                             \
    X(GROUP_GL2, PFNGLSHADERSOURCEPROC, glShaderSource)                             \
    X(GROUP_GL2, PFNGLCOMPILESHADERPROC, glCompileShader)                           \
    X(GROUP_GL2, PFNGLLINKPROGRAMPROC, glLinkProgram)                               \
    X(GROUP_GL2, PFNGLUSEPROGRAMPROC, glUseProgram)                                 \
    X(GROUP_GL2, PFNGLGETPROGRAMIVPROC, glGetProgramiv)                             \
    X(GROUP_GL2, PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                   \
    X(GROUP_GL2, PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                 \
    X(GROUP_GL2, PFNGLUNIFORM1FPROC, glUniform1f)                                   \
    X(GROUP_GL2, PFNGLUNIFORM2FPROC, glUniform2f)                                   \
    X(GROUP_GL2, PFNGLUNIFORM3FPROC, glUniform3f)                                   \
    X(GROUP_GL2, PFNGLUNIFORM4FPROC, glUniform4f)                                   \
    X(GROUP_GL2, PFNGLUNIFORM1IPROC, glUniform1i)                                   \
    X(GROUP_GL2, PFNGLUNIFORM2IPROC, glUniform2i)                                   \
    X(GROUP_GL2, PFNGLUNIFORM3IPROC, glUniform3i)                                   \
    X(GROUP_GL2, PFNGLUNIFORM4IPROC, glUniform4i)                                   \
    X(GROUP_GL2, PFNGLUNIFORM1FVPROC, glUniform1fv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM2FVPROC, glUniform2fv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM3FVPROC, glUniform3fv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM4FVPROC, glUniform4fv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM1IVPROC, glUniform1iv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM2IVPROC, glUniform2iv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM3IVPROC, glUniform3iv)                                 \
    X(GROUP_GL2, PFNGLUNIFORM4IVPROC, glUniform4iv)                                 \
    X(GROUP_GL2, PFNGLUNIFORMMATRIX2FVPROC, glUniformMatrix2fv)                     \
    X(GROUP_GL2, PFNGLUNIFORMMATRIX3FVPROC, glUniformMatrix3fv)                     \
    X(GROUP_GL2, PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv)                     \
    X(GROUP_GL2, PFNGLBINDATTRIBLOCATIONPROC, glBindAttribLocation)                 \
    X(GROUP_GL2, PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)               \
    X(GROUP_GL2, PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)       \
    X(GROUP_GL2, PFNGLDISABLEVERTEXATTRIBARRAYPROC, glDisableVertexAttribArray)     \
    X(GROUP_GL2, PFNGLISPROGRAMPROC, glIsProgram)                                   \
    X(GROUP_GL2, PFNGLGETSHADERIVPROC, glGetShaderiv)                               \
    X(GROUP_GL2, PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                     \
    X(GROUP_GL2, PFNGLGETACTIVEUNIFORMPROC, glGetActiveUniform)                     \
    X(GROUP_ARB, PFNGLCREATEPROGRAMOBJECTARBPROC, glCreateProgramObjectARB)         \
    X(GROUP_ARB, PFNGLCREATESHADEROBJECTARBPROC, glCreateShaderObjectARB)           \
    X(GROUP_ARB, PFNGLDELETEOBJECTARBPROC, glDeleteObjectARB)                       \
    X(GROUP_ARB, PFNGLATTACHOBJECTARBPROC, glAttachObjectARB)                       \
    X(GROUP_ARB, PFNGLDETACHOBJECTARBPROC, glDetachObjectARB)                       \
    X(GROUP_ARB, PFNGLSHADERSOURCEARBPROC, glShaderSourceARB)                       \
    X(GROUP_ARB, PFNGLCOMPILESHADERARBPROC, glCompileShaderARB)                     \
    X(GROUP_ARB, PFNGLLINKPROGRAMARBPROC, glLinkProgramARB)                         \
    X(GROUP_ARB, PFNGLUSEPROGRAMOBJECTARBPROC, glUseProgramObjectARB)               \
    X(GROUP_ARB, PFNGLGETOBJECTPARAMETERIVARBPROC, glGetObjectParameterivARB)       \
    X(GROUP_ARB, PFNGLGETINFOLOGARBPROC, glGetInfoLogARB)                           \
    X(GROUP_ARB, PFNGLGETUNIFORMLOCATIONARBPROC, glGetUniformLocationARB)           \
    X(GROUP_ARB, PFNGLGETACTIVEUNIFORMARBPROC, glGetActiveUniformARB)               \
    X(GROUP_ARB, PFNGLUNIFORM1FARBPROC, glUniform1fARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM2FARBPROC, glUniform2fARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM3FARBPROC, glUniform3fARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM4FARBPROC, glUniform4fARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM1IARBPROC, glUniform1iARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM2IARBPROC, glUniform2iARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM3IARBPROC, glUniform3iARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM4IARBPROC, glUniform4iARB)                             \
    X(GROUP_ARB, PFNGLUNIFORM1FVARBPROC, glUniform1fvARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM2FVARBPROC, glUniform2fvARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM3FVARBPROC, glUniform3fvARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM4FVARBPROC, glUniform4fvARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM1IVARBPROC, glUniform1ivARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM2IVARBPROC, glUniform2ivARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM3IVARBPROC, glUniform3ivARB)                           \
    X(GROUP_ARB, PFNGLUNIFORM4IVARBPROC, glUniform4ivARB)                           \
    X(GROUP_ARB, PFNGLUNIFORMMATRIX2FVARBPROC, glUniformMatrix2fvARB)               \
    X(GROUP_ARB, PFNGLUNIFORMMATRIX3FVARBPROC, glUniformMatrix3fvARB)               \
    X(GROUP_ARB, PFNGLUNIFORMMATRIX4FVARBPROC, glUniformMatrix4fvARB)               \
    X(GROUP_ARB, PFNGLBINDATTRIBLOCATIONARBPROC, glBindAttribLocationARB)           \
    X(GROUP_ARB, PFNGLVERTEXATTRIBPOINTERARBPROC, glVertexAttribPointerARB)         \
    X(GROUP_ARB, PFNGLENABLEVERTEXATTRIBARRAYARBPROC, glEnableVertexAttribArrayARB) \
    X(GROUP_ARB, PFNGLDISABLEVERTEXATTRIBARRAYARBPROC, glDisableVertexAttribArrayARB)

/// OrvGlCapabilities: what the OpenGL driver behind the current context offers,
/// read once when the renderer initialises and fixed afterwards: the version,
/// four capability flags and the entry points loaded by name. The renderer
/// reads them through the const getters; nothing else writes them.
class OrvGlCapabilities {
  public:
    /// The groups of the entry-point list: the range draw always, the rest as
    /// the flags allow.
    enum Group {
        GROUP_RANGE = 1,    ///< glDrawRangeElements; always loaded.
        GROUP_BUFFERS = 2,  ///< GL_ARB_vertex_buffer_object; loaded with hasBufferObjects.
        GROUP_GL2 = 4,      ///< The OpenGL 2.0 GLSL functions; loaded with hasGl2Shaders.
        GROUP_ARB = 8       ///< GL_ARB_shader_objects; loaded with hasArbShaders and no GL2 path.
    };

/// Declares the EntryPoints member of one row of ORV_GL_ENTRY_POINTS.
#define ORV_DECLARE_ENTRY_POINT(group, type, name) type name;
    /// The entry points, one member per row of ORV_GL_ENTRY_POINTS with the
    /// row's type and name; null until loaded. Those of a group the flags
    /// leave out stay null; one of a loaded group may still be a stub, since
    /// the driver hands one out for any name.
    struct EntryPoints {
        ORV_GL_ENTRY_POINTS(ORV_DECLARE_ENTRY_POINT)
    };
#undef ORV_DECLARE_ENTRY_POINT

    /// The capabilities of no driver: version 0.0, no flag, every entry point
    /// null.
    OrvGlCapabilities();

    /// Starts from nothing, reads the version and the extension string (either
    /// may be null), writes the renderer's start-up lines and loads the entry
    /// points the flags allow from @p context (none from a null one). Returns
    /// OrvRenderer::RESULT_VERSION_TOO_OLD, with nothing loaded, for OpenGL 1.0
    /// and 1.1 or a version whose major number cannot be read; else RESULT_OK.
    int detect(const char* version, const char* extensions, OrvRenderContext* context);
    /// Scans "major.minor" from the start of version into the numbers, as far
    /// as it gets, and sets the OpenGL-2 flag when both converted. Writes the
    /// version found, or a WARNING line that the string (or a null one) is
    /// malformed; a number it cannot read keeps its earlier value.
    void detectVersion(const char* version);
    /// 1 when name occurs anywhere in extensions (a plain substring test); 0
    /// when it does not or either is null.
    static int hasExtension(const char* extensions, const char* name);

    /// The OpenGL version detect read; 0.0 before detect and for what it could
    /// not read.
    ///@{
    int majorVersion() const {
        return m_majorVersion;
    }
    int minorVersion() const {
        return m_minorVersion;
    }
    ///@}
    /// Major version 2 or later.
    bool hasOpenGL2() const {
        return m_openGL2;
    }
    /// GL_ARB_vertex_buffer_object, with its entry points loaded.
    bool hasBufferObjects() const {
        return m_bufferObjects;
    }
    /// GLSL through GL_ARB_shader_objects and GL_ARB_shading_language_100.
    bool hasArbShaders() const {
        return m_arbShaders;
    }
    /// GLSL through the OpenGL 2.0 functions.
    bool hasGl2Shaders() const {
        return m_gl2Shaders;
    }
    /// The entry points detect loaded, owned by the capabilities.
    const EntryPoints& entryPoints() const {
        return m_entryPoints;
    }

  private:
    void reset();
    void detectBuffers(const char* extensions);
    /// Returns the entry-point groups of the GLSL path chosen.
    unsigned detectShaders(const char* extensions);
    void load(unsigned groups, OrvRenderContext* context);

    int32_t m_majorVersion;
    int32_t m_minorVersion;
    bool m_openGL2;
    bool m_bufferObjects;
    bool m_arbShaders;
    bool m_gl2Shaders;
    EntryPoints m_entryPoints;
};
