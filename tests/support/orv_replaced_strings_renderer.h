// OrvReplacedStringsRenderer: an OpenGL renderer whose capability strings
// (GL_VERSION, GL_EXTENSIONS and OrvRendererOpenGL::kGlxExtensions) come from
// the test: a name present in strings returns its value, null included; any
// other name asks the driver.
#pragma once

#include <map>

#include "opengl/orv_renderer_opengl.h"

class OrvReplacedStringsRenderer : public OrvRendererOpenGL {
  public:
    std::map<unsigned int, const char*> strings;

  protected:
    const char* queryString(unsigned int name) override;
};
