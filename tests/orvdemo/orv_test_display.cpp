#include "orv_test_display.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

const int kAttempts = 50;
const int kRetryMilliseconds = 100;

Display* open() {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Display* display = XOpenDisplay(nullptr);
        if (display != nullptr) {
            return display;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMilliseconds));
    }
    return nullptr;
}

}  // namespace

_XDisplay* OrvTestDisplay::get() {
    static Display* display = open();
    return display;
}
