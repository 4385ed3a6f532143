#include "orv_frame_rate_counter.h"

#include "orv_demo.h"

OrvFrameRateCounter::OrvFrameRateCounter()
    : m_lastFrameTime(0), m_accumulatedTime(0), m_frameCount(0) {}

void OrvFrameRateCounter::start(uint32_t now) {
    m_lastFrameTime = now;
    m_accumulatedTime = 0;
    m_frameCount = 0;
}

void OrvFrameRateCounter::idleFrame(uint32_t now, OrvDemo* demo) {
    uint32_t dt = now - m_lastFrameTime;
    m_lastFrameTime = now;
    m_accumulatedTime += dt;
    demo->frame(static_cast<float>(dt) * 0.001f);
    ++m_frameCount;
    // The milliseconds beyond the period are dropped, so each period starts
    // from zero.
    if (m_accumulatedTime >= kPeriodMilliseconds) {
        demo->setFps(m_frameCount);
        m_frameCount = 0;
        m_accumulatedTime = 0;
    }
}
