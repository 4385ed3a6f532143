// The demo's frame without the buffer swap, for the demo scene's benchmark
// and the per-frame tests: built only with the demo.
#pragma once

class OrvDemo;

// The box shader's time set to time, the scene updated, begun and rendered
// for seconds, a copy of the demo's overlay text drawn by the current
// renderer, and the frame ended. Unlike OrvDemo::frame it reads no clock,
// lets no camera coast, writes no new overlay text and swaps no buffers, so
// a caller can hold the picture still or time the frame's own work.
void orvDemoFrameWithoutSwap(OrvDemo& demo, float time, float seconds);
