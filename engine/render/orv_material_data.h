// OrvMaterialData: the fixed-function surface colours of a material, owned by
// the material node. The renderer takes the first 17 floats (four RGBA colours
// and the shininess) as one block.
#pragma once

#include <cstddef>

struct OrvMaterialData {
    static constexpr int kNameSize = 128;
    static constexpr int kColorBlockFloats = 17;

    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;
    char name[kNameSize];
};

static_assert(offsetof(OrvMaterialData, shininess) ==
                  (OrvMaterialData::kColorBlockFloats - 1) * sizeof(float),
              "the colour block must be 17 contiguous floats");
