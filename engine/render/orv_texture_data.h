/// @file
/// OrvTextureData, one texture's record shared by the texture node and the renderer.
#pragma once

#include <cstdint>

/// One texture as the renderer sees it, owned by the texture
/// node. The node sets the sampling settings before the upload; the renderer
/// writes back the GL name and the size it uploaded (which may be scaled to a
/// power of two or to the driver's limit).
struct OrvTextureData {
    /// Size of name, the terminating zero included.
    static constexpr int kNameSize = 128;

    /// Filter codes; the renderer takes any other value as FILTER_LINEAR.
    enum Filter {
        FILTER_NEAREST = 0,  ///< The nearest texel, of the nearest level when mipmapped.
        FILTER_LINEAR = 1    ///< A blend of the nearest texels, and of two levels when mipmapped.
    };
    /// Wrap codes; the renderer takes any other value as WRAP_REPEAT.
    enum Wrap {
        WRAP_REPEAT = 0,  ///< Coordinates outside 0 to 1 repeat the picture.
        WRAP_CLAMP = 1    ///< Coordinates outside 0 to 1 take the edge texels.
    };

    /// GL texture name, 0 while not uploaded; written by the renderer.
    uint32_t glName;
    /// The size uploaded; written by the renderer.
    ///@{
    int32_t width;
    int32_t height;
    ///@}
    /// 1: a full mipmap chain is generated and minification reads from it
    /// (blending between levels with the linear filter); 0: one level.
    int32_t mipmaps;
    /// Filter codes for minification and magnification.
    ///@{
    int32_t minFilter;
    int32_t magFilter;
    ///@}
    /// Wrap codes for s and t.
    ///@{
    int32_t wrapS;
    int32_t wrapT;
    ///@}
    /// Copy of the owner node's name (the file's path for loaded textures).
    char name[kNameSize];

    /// Mipmapped, linear filters, repeating; no GL name; the name is kept.
    void setDefaults();
};
