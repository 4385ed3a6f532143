// OrvGpuProgram: one GLSL program with its shaders, sources, uniform values
// and attribute locations, in one fixed block owned by the GPU shader node.
// The renderer creates the GL objects and writes their handles and flags back.
#pragma once

#include <cstdint>

enum OrvUniformKind {
    ORV_UNIFORM_FLOAT1 = 0,
    ORV_UNIFORM_FLOAT2 = 1,
    ORV_UNIFORM_FLOAT3 = 2,
    ORV_UNIFORM_FLOAT4 = 3,
    ORV_UNIFORM_INT1 = 4,
    ORV_UNIFORM_INT2 = 5,
    ORV_UNIFORM_INT3 = 6,
    ORV_UNIFORM_INT4 = 7,
    ORV_UNIFORM_MATRIX3 = 8,
    ORV_UNIFORM_MATRIX4 = 9,
};

struct OrvGpuUniform {
    static constexpr int kNameSize = 128;

    int32_t kind;
    // 1 = send at the next bind.
    int32_t changed;
    char name[kNameSize];
    // 0 marks a free entry.
    int32_t nameLength;
    float floatValues[4];
    int32_t intValues[4];
    float matrix4[16];
    float matrix3[9];
    // The location in the linked program, kept by the renderer once looked
    // up; locationKnown 0 = look it up at the next send (cleared at a link).
    // A uniform whose declared type its kind cannot set keeps location -1.
    int32_t location;
    int32_t locationKnown;
};

struct OrvGpuAttribute {
    static constexpr int kNameSize = 128;

    int32_t location;
    char name[kNameSize];
};

struct OrvGpuProgram {
    static constexpr int kMaxUniforms = 512;
    static constexpr int kMaxAttributes = 64;
    static constexpr int kNameSize = 128;
    static constexpr int kInfoLogSize = 4096;

    uint32_t program;
    int32_t linked;
    uint32_t vertexShader;
    uint32_t pixelShader;
    OrvGpuUniform uniforms[kMaxUniforms];
    int32_t uniformCount;
    OrvGpuAttribute attributes[kMaxAttributes];
    int32_t attributeCount;
    int32_t attributesChanged;
    char name[kNameSize];
    // Zero-terminated GLSL text; the lengths count the terminator.
    char* vertexSource;
    int32_t vertexSourceLength;
    char* pixelSource;
    int32_t pixelSourceLength;
    // The compiler's or linker's log of the last compile or link that failed
    // since the program was created, cut to fit; empty when none failed.
    char infoLog[kInfoLogSize];
    // 1 once the refusal of a program with a shader that did not compile
    // has been logged.
    int32_t refusalLogged;
};
