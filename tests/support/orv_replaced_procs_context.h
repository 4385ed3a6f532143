// A render context that stands in front of a real one and hands out the
// entry points a test chose: a name present in procs returns its value, null
// included; any other name, and everything else, goes to the real context.
// A renderer initialised on it loads the test's entry points, as it would
// from a driver that has them (or lacks them).
#pragma once

#include <map>
#include <string>

#include "render/orv_render_context.h"

class OrvReplacedProcsContext : public OrvRenderContext {
  public:
    explicit OrvReplacedProcsContext(OrvRenderContext* real) : m_real(real) {}

    int create(OrvWindowInfo* window) override { return m_real->create(window); }
    int destroy() override { return m_real->destroy(); }
    void makeCurrent() override { m_real->makeCurrent(); }
    void swapBuffers() override { m_real->swapBuffers(); }
    OrvProc getProcAddress(const char* name) override;
    bool setSwapInterval(int interval) override { return m_real->setSwapInterval(interval); }

    std::map<std::string, OrvProc> procs;

  private:
    OrvRenderContext* m_real;
};
