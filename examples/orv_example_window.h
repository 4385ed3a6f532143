// OrvExampleWindow: what both examples need around the engine and nothing of
// a toolkit. A plain Xlib window that the close button and Escape can end,
// the engine started on it (render context and renderer), a frame-rate
// counter, overlay text in a bitmap font, and an optional frame limit from the command line.
#pragma once

#include <cstdint>

#include "orvane.h"

class OrvExampleWindow {
  public:
    // Reads "--frames N" from the command line: the program then stops after
    // N frames, as the package test runs it. Without it the window stays
    // until it is closed.
    OrvExampleWindow(int argc, char** argv);
    ~OrvExampleWindow();

    OrvExampleWindow(const OrvExampleWindow&) = delete;
    OrvExampleWindow& operator=(const OrvExampleWindow&) = delete;

    // Opens the window, starts the engine and puts an OpenGL context and
    // renderer on the window. Returns 0, or prints why it could not on
    // standard error and returns 1 (the engine then is stopped again).
    int open(const char* title, int width, int height);

    // Handles the window's events and counts the frame; false once the user
    // pressed Escape or closed the window, or the frame limit is reached.
    bool nextFrame();
    // Seconds since the previous frame (0 for the first one).
    float frameSeconds() const { return seconds; }
    // Frames drawn in the last whole second.
    int framesPerSecond() const { return rate; }

    // One white line of overlay text, y pixels from the top; call it between
    // the scene's render and endFrame.
    void drawText(int y, const char* format, ...) __attribute__((format(printf, 3, 4)));

    OrvWindowInfo* windowInfo() { return &info; }

  private:
    int fail(const char* message);
    bool quitRequested();
    void countFrame();

    long frameLimit;
    long frames;
    OrvWindowInfo info;
    OrvTextInfo text;
    unsigned long deleteWindowAtom;
    bool engineStarted;
    uint64_t previousMilliseconds;
    uint64_t rateStartMilliseconds;
    int framesThisSecond;
    int rate;
    float seconds;
};
