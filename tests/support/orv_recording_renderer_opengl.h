// OrvRecordingRendererOpenGL: the OpenGL renderer with its state switches
// written down. enable, disable, setCullFace and setPolygonMode each append
// one line such as "disable(DEPTH_TEST)" or "setPolygonMode(LINES, FRONT)" and
// then do what the OpenGL renderer does, so a test sees the order in which the
// renderer's own operations switch state through these virtual operations.
// Codes outside the renderer's tables are written as numbers.
#pragma once

#include <string>
#include <vector>

#include "opengl/orv_renderer_opengl.h"

class OrvRecordingRendererOpenGL : public OrvRendererOpenGL {
  public:
    // Every switch so far, oldest first.
    std::vector<std::string> calls;

    void enable(int capability) override;
    void disable(int capability) override;
    void setCullFace(int face) override;
    void setPolygonMode(int mode, int face) override;
};
