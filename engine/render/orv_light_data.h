/// @file
/// OrvLightData, the parameters of one fixed-function light.
#pragma once

#include <cstdint>

/// Every parameter of one fixed-function OpenGL light, owned by
/// the light node and handed whole to the renderer, which writes back only the
/// light unit it assigned.
struct OrvLightData {
    /// Size of name, the terminating zero included.
    static constexpr int kNameSize = 128;
    /// The unit of a light that holds no GL light.
    static constexpr int32_t kNoUnit = -1;

    /// How the renderer sends position and direction. Any other value is placed
    /// like a point light but gets no attenuation.
    enum Type {
        POINT = 0,        ///< Shines from position in every direction.
        DIRECTIONAL = 1,  ///< Parallel rays along direction, never attenuated.
        SPOT = 2          ///< Shines from position along direction, within spotCutoff.
    };

    /// Added to GL_LIGHT0; kNoUnit until the renderer assigns one.
    int32_t unit;
    /// Where a point or spot light sits, (x, y, z, 1) in world coordinates.
    float position[4];
    /// RGBA colours the light adds to the diffuse, ambient and specular terms.
    ///@{
    float diffuse[4];
    float ambient[4];
    float specular[4];
    ///@}
    /// The light's Type.
    int32_t type;
    /// A directional light's direction (sent as its position, w = 0) and a spot
    /// light's axis.
    float direction[4];
    /// Point and spot lights fade with distance d by 1 / (constant + linear d +
    /// quadratic d squared); a directional light ignores them.
    ///@{
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
    ///@}
    /// Half-angle of the spot cone in degrees; sent only between 0 and 90, and
    /// outside that range the light keeps the cone it had.
    float spotCutoff;
    /// Copy of the owner node's name, zero-terminated.
    char name[kNameSize];

    /// Writes the default white point light above the origin into every field
    /// but the name, which belongs to the owning node: at (0, 200, 200), ambient
    /// 0.2, no attenuation, a 30-degree cone and no unit.
    void setDefaults();
};
