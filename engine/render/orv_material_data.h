/// @file
/// OrvMaterialData, the surface colours of one material.
#pragma once

#include <cstddef>

/// The fixed-function surface colours of a material, owned by
/// the material node. The renderer takes the first 17 floats (four RGBA colours
/// and the shininess) as one block.
struct OrvMaterialData {
    /// Size of name, the terminating zero included.
    static constexpr int kNameSize = 128;
    /// The floats from ambient to shininess that the renderer takes as one block.
    static constexpr int kColorBlockFloats = 17;

    /// RGBA reflectance of ambient, diffuse and specular light, and the colour the
    /// surface emits by itself.
    ///@{
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    ///@}
    /// Specular exponent; GL takes 0 to 128.
    float shininess;
    /// Copy of the owner node's name, zero-terminated.
    char name[kNameSize];
};

static_assert(offsetof(OrvMaterialData, shininess) ==
                  (OrvMaterialData::kColorBlockFloats - 1) * sizeof(float),
              "the colour block must be 17 contiguous floats");
