// OrvFrameRateCounter: the demo loop's frame timing. Each idle frame gets the
// milliseconds since the previous one, and once a period of at least one
// second has gone by, the frames rendered in it (the last one included) become
// the rate the demo shows. Times are unsigned milliseconds that may wrap.
#pragma once

#include <cstdint>

class OrvDemo;

class OrvFrameRateCounter {
  public:
    static constexpr uint32_t kPeriodMilliseconds = 1000;

    OrvFrameRateCounter();

    // Starts timing at now, the demo's elapsed milliseconds.
    void start(uint32_t now);
    // Renders one idle frame of the demo with the time since the previous one
    // and updates the demo's rate when a period is complete.
    void idleFrame(uint32_t now, OrvDemo* demo);

  private:
    uint32_t m_lastFrameTime;
    uint32_t m_accumulatedTime;
    int m_frameCount;
};
