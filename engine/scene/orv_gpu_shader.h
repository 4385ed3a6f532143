/// @file
/// OrvGpuShader, the node that holds one GLSL program.
#pragma once

#include <initializer_list>

#include "render/orv_gpu_shader_data.h"
#include "scene/orv_scene_node.h"

// What differs between the vertex and the pixel shader (see the source).
struct OrvGpuShaderStage;

/// The node that holds one GLSL program: its vertex and pixel shader sources, its GL objects,
/// and the named uniform values and attribute locations to feed it. The node owns its
/// OrvGpuProgram record and the sources in it; all GL work goes through the renderer's GPU
/// program operations. A material calls bind before drawing its faces and unbind after.
class OrvGpuShader : public OrvSceneNode {
  public:
    OrvGpuShader();
    ~OrvGpuShader() override;

    /// The program record carries the node's name too, for the renderer's log.
    void setName(const char* newName) override;
    int getTypeId() const override;
    const char* getTypeName() const override;
    /// Empties the record without releasing anything: call release first
    /// when the node holds a program or sources.
    void reset() override;
    /// Deletes the GL program with its shaders and frees both sources.
    void release() override;
    /// Does nothing: the program is used only between bind and unbind.
    void apply() override;
    void update(float dt) override;

    /// Uses the program (linking it the first time) and sends the uniforms
    /// set since the previous bind. A program with a shader that did not
    /// compile is refused with one WARNING line, and drawing goes on without it.
    virtual void bind();
    /// Returns to the fixed-function pipeline.
    virtual void unbind();

    /// Each setter marks the uniform to be sent at the next bind. The first
    /// setter used for a name fixes the kind the uniform is sent as; names
    /// are compared over 127 characters, and once 512 names are in use new
    /// ones are ignored. Null or empty names and null arrays are ignored.
    ///@{
    virtual void setUniform4iv(const char* uniformName, const int v[4]);
    virtual void setUniform4i(const char* uniformName, int x, int y, int z, int w);
    virtual void setUniform3i(const char* uniformName, int x, int y, int z);
    virtual void setUniform2i(const char* uniformName, int x, int y);
    virtual void setUniform1i(const char* uniformName, int x);
    virtual void setUniform4fv(const char* uniformName, const float v[4]);
    virtual void setUniform4f(const char* uniformName, float x, float y, float z, float w);
    virtual void setUniform3f(const char* uniformName, float x, float y, float z);
    virtual void setUniform2f(const char* uniformName, float x, float y);
    virtual void setUniform1f(const char* uniformName, float x);
    virtual void setUniformMatrix4(const char* uniformName, const float m[16]);
    virtual void setUniformMatrix3(const char* uniformName, const float m[9]);
    ///@}
    /// Appends a binding (up to 64; the same name twice makes two entries).
    /// Bindings take effect when the program links. A null or empty name is
    /// ignored.
    virtual void setAttributeLocation(const char* attributeName, int location);

    /// Read a whole file as the shader's source, then load it from memory.
    /// 0 when it compiled and was attached, -1 otherwise (with a WARNING line
    /// when the file cannot be read or is not a regular file).
    ///@{
    int loadVertexShaderFromFile(const char* path);
    int loadPixelShaderFromFile(const char* path);
    ///@}
    /// Keep a copy of @p length bytes of GLSL text, which always ends with a
    /// zero byte, and compile it. A source of a kind the node already holds
    /// replaces the earlier one: its shader is deleted and the program links
    /// again at the next bind. 0 when compiled and attached, else -1 (a null
    /// buffer or a length below 1 gets a WARNING line).
    ///@{
    int loadVertexShaderFromMemory(const char* buffer, int length);
    int loadPixelShaderFromMemory(const char* buffer, int length);
    ///@}

    /// The program record the node owns; null only when it could not be
    /// allocated.
    const OrvGpuProgram* getProgram() const { return program; }
    /// The GLSL compiler's or linker's own text from the last compile or link
    /// of this program that failed; "" when none has.
    const char* getInfoLog() const { return program != nullptr ? program->infoLog : ""; }

  private:
    int _loadFromFile(const OrvGpuShaderStage& stage, const char* path);
    int _loadFromMemory(const OrvGpuShaderStage& stage, const char* buffer, int length);
    void _freeSource(const OrvGpuShaderStage& stage);
    // The entry for the name, added with the kind when it is new; null for a
    // null or empty name or a full table.
    OrvGpuUniform* _uniformFor(const char* uniformName, int kind);
    // Store the values into the entry for the name and mark it changed.
    void _setFloats(const char* uniformName, int kind, std::initializer_list<float> values);
    void _setInts(const char* uniformName, int kind, std::initializer_list<int> values);
    void _setMatrix(const char* uniformName, int kind, const float* m);

    OrvGpuProgram* program;
};
