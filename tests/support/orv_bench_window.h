// OrvBenchWindow: a plain mapped X window on $DISPLAY for the benchmarks that
// need one (the demo scene, real frames). It opens its own display connection
// and closes it again; whatever draws into the window makes its own context.
#pragma once

#include <string>

struct _XDisplay;

class OrvBenchWindow {
  public:
    OrvBenchWindow() = default;
    ~OrvBenchWindow();

    OrvBenchWindow(const OrvBenchWindow&) = delete;
    OrvBenchWindow& operator=(const OrvBenchWindow&) = delete;

    // Maps a width x height window at (x, y) of the default screen. Returns ""
    // on success, else what failed.
    std::string open(int x, int y, int width, int height);

    _XDisplay* display = nullptr;
    unsigned long window = 0;
};
