#include "orv_replaced_strings_renderer.h"

const char* OrvReplacedStringsRenderer::queryString(unsigned int name) {
    auto replaced = strings.find(name);
    return replaced != strings.end() ? replaced->second : OrvRendererOpenGL::queryString(name);
}
