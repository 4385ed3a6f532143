// OrvBenchEngine: the engine started once for a benchmark program, and the
// renderer that draws nothing put in place whenever a benchmark asks for it
// (a benchmark that starts the real renderer takes the place over).
#pragma once

class OrvBenchEngine {
  public:
    // Starts the engine root with the log at its normal level.
    static void start();
    // Makes the null renderer the current one, making it when needed.
    static void useNullRenderer();
    // Stops the engine root, then drops the null renderer.
    static void stop();
};
