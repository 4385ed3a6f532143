#include "render/orv_texture_data.h"

void OrvTextureData::setDefaults() {
    glName = 0;
    width = 0;
    height = 0;
    mipmaps = 1;
    minFilter = FILTER_LINEAR;
    magFilter = FILTER_LINEAR;
    wrapS = WRAP_REPEAT;
    wrapT = WRAP_REPEAT;
}
