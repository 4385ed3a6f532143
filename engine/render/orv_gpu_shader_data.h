/// @file
/// OrvGpuProgram, the GLSL program record of the GPU shader node, with its uniform
/// and attribute entries.
#pragma once

#include <cstdint>

/// What a uniform entry holds, and so which GL call sends it.
enum OrvUniformKind {
    ORV_UNIFORM_FLOAT1 = 0,   ///< One float from floatValues.
    ORV_UNIFORM_FLOAT2 = 1,   ///< Two floats from floatValues.
    ORV_UNIFORM_FLOAT3 = 2,   ///< Three floats from floatValues.
    ORV_UNIFORM_FLOAT4 = 3,   ///< Four floats from floatValues.
    ORV_UNIFORM_INT1 = 4,     ///< One int from intValues; also sets a sampler.
    ORV_UNIFORM_INT2 = 5,     ///< Two ints from intValues.
    ORV_UNIFORM_INT3 = 6,     ///< Three ints from intValues.
    ORV_UNIFORM_INT4 = 7,     ///< Four ints from intValues.
    ORV_UNIFORM_MATRIX3 = 8,  ///< A 3 x 3 matrix from matrix3.
    ORV_UNIFORM_MATRIX4 = 9,  ///< A 4 x 4 matrix from matrix4.
};

/// One named uniform value of a program, kept until the renderer sends it at a bind.
struct OrvGpuUniform {
    /// Size of name, the terminating zero included; longer names are cut.
    static constexpr int kNameSize = 128;

    /// The OrvUniformKind of the value, fixed when the entry is made.
    int32_t kind;
    /// 1 = send at the next bind.
    int32_t changed;
    /// The uniform's name in the GLSL source, zero-terminated.
    char name[kNameSize];
    /// The length of name; 0 marks a free entry.
    int32_t nameLength;
    /// The values of the vector kinds; the kind says how many are sent.
    ///@{
    float floatValues[4];
    int32_t intValues[4];
    ///@}
    /// The values of the matrix kinds, column by column as GL takes them.
    ///@{
    float matrix4[16];
    float matrix3[9];
    ///@}
    /// The location in the linked program, kept by the renderer once looked
    /// up; locationKnown 0 = look it up at the next send (cleared at a link).
    /// A uniform whose declared type its kind cannot set keeps location -1.
    ///@{
    int32_t location;
    int32_t locationKnown;
    ///@}
};

/// A vertex attribute name bound to a location before the program links.
struct OrvGpuAttribute {
    /// Size of name, the terminating zero included; longer names are cut.
    static constexpr int kNameSize = 128;

    /// The generic vertex attribute index the name is bound to.
    int32_t location;
    /// The attribute's name in the GLSL source, zero-terminated.
    char name[kNameSize];
};

/// One GLSL program with its shaders, sources, uniform values
/// and attribute locations, in one fixed block owned by the GPU shader node.
/// The renderer creates the GL objects and writes their handles and flags back.
struct OrvGpuProgram {
    /// The most uniform entries a program holds; values for further names are dropped.
    static constexpr int kMaxUniforms = 512;
    /// The most attribute bindings a program holds; further ones are dropped.
    static constexpr int kMaxAttributes = 64;
    /// Size of name, the terminating zero included.
    static constexpr int kNameSize = 128;
    /// Size of infoLog, the terminating zero included.
    static constexpr int kInfoLogSize = 4096;

    /// GL program object, 0 while none; written by the renderer.
    uint32_t program;
    /// 1 once the program linked with its current shaders; 0 makes the next bind
    /// link it (or refuse it while a shader did not compile).
    int32_t linked;
    /// GL shader objects of the two stages, 0 while none; written by the renderer.
    /// A shader that did not compile keeps its name until its stage is loaded again
    /// or the program is destroyed.
    ///@{
    uint32_t vertexShader;
    uint32_t pixelShader;
    ///@}
    /// The uniform entries in the order their names were first set; the first
    /// uniformCount are in use.
    ///@{
    OrvGpuUniform uniforms[kMaxUniforms];
    int32_t uniformCount;
    ///@}
    /// The attribute bindings in the order they were set; the first attributeCount
    /// are in use.
    ///@{
    OrvGpuAttribute attributes[kMaxAttributes];
    int32_t attributeCount;
    ///@}
    /// 1 = the bindings changed and are handed to GL at the next bind or link;
    /// GL applies them when the program links.
    int32_t attributesChanged;
    /// Copy of the owner node's name, zero-terminated; log lines quote it.
    char name[kNameSize];
    /// Zero-terminated GLSL text; the lengths count the terminator. The node owns
    /// the text; null and 0 while a stage has none.
    ///@{
    char* vertexSource;
    int32_t vertexSourceLength;
    char* pixelSource;
    int32_t pixelSourceLength;
    ///@}
    /// The compiler's or linker's log of the last compile or link that failed
    /// since the program was created, cut to fit; empty when none failed.
    char infoLog[kInfoLogSize];
    /// 1 once the refusal of a program with a shader that did not compile
    /// has been logged.
    int32_t refusalLogged;
};
