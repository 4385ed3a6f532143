// What the fuzz targets share: a check that an input gave back every tracked
// block it took, a check that stops the run, and a quiet log.
#pragma once

#include <cstddef>

// Stops the run (so that libFuzzer keeps the input) when the tracked block
// count at the end of its scope differs from the count at its start.
class OrvFuzzBlockCheck {
  public:
    OrvFuzzBlockCheck();
    ~OrvFuzzBlockCheck();

    OrvFuzzBlockCheck(const OrvFuzzBlockCheck&) = delete;
    OrvFuzzBlockCheck& operator=(const OrvFuzzBlockCheck&) = delete;

  private:
    size_t m_before;
};

// Stops the run with the message when the condition does not hold.
void orvFuzzCheck(bool condition, const char* message);

// Sends the log nowhere: fuzz inputs would fill the disk with warnings. Lines
// are still composed in full, so the log's buffers are exercised.
void orvFuzzQuietLog();
