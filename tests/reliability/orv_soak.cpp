// The soak run: the demo scene for many frames in an X window, with a
// glGetError check after every frame, the resident memory sampled every
// thousand frames, and the log raised to level 16 before the engine stops so
// that its leak report is written. It prints what it measured and exits
// non-zero when a goal is missed:
//   - no GL error after any frame;
//   - resident memory at the end within 1 MiB of the value after the first
//     1000 frames (not checked under AddressSanitizer, whose quarantine holds
//     freed memory on purpose);
//   - the leak report says there is no leak.
// Usage: orvane_soak FRAMES DEMO_DATA_FOLDER
#include <GL/gl.h>
#include <X11/Xlib.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "orv_demo.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kSampleEvery = 1000;
constexpr int kReportEvery = 10000;
constexpr long kMemoryTolerance = 1 << 20;
constexpr char kNoLeakLine[] =
    "OrvMemoryAllocator::dumpMemoryLeaks(): Yeah! No memory leak! Congratulations! You're a "
    "smart pointer man ;)";

// AddressSanitizer's quarantine holds freed memory on purpose, so resident
// memory says nothing about leaks under it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kJudgeMemory = false;
#elif defined(__has_feature)
constexpr bool kJudgeMemory = !__has_feature(address_sanitizer);
#else
constexpr bool kJudgeMemory = true;
#endif

// glibc keeps freed memory in its arenas and how much it keeps depends on how
// the driver's threads happened to contend for them; trimming first makes the
// sample count memory in use, in which a leak still shows.
long residentBytes() {
    malloc_trim(0);
    long pages = 0;
    long resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

bool logSays(const std::string& message) {
    std::ifstream in("Orvane.log");
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() >= message.size() &&
            line.compare(line.size() - message.size(), message.size(), message) == 0) {
            return true;
        }
    }
    return false;
}

// A drag of the left button across the window every 500 frames, so the camera
// swings and coasts as it does under a user's hand. Each drag turns the camera
// once round the box and tilts it up or down, so the first thousand frames
// already show every view the run will show and memory taken after them
// cannot be put down to a view not seen before.
void dragNow(OrvDemo& demo, int frame) {
    constexpr int kPeriod = 500;
    constexpr int kMoves = 30;
    constexpr int kStepX = 120;  // 30 moves of 12 degrees: one turn
    const int phase = frame % kPeriod;
    const int stepY = (frame / kPeriod) % 2 == 0 ? 10 : -10;
    if (phase == 0) {
        demo.onLeftButtonDown(OrvDemo::kMouseLeftButton, OrvDemo::packPosition(100, 400));
    } else if (phase <= kMoves) {
        demo.onMouseMove(OrvDemo::kMouseLeftButton,
                         OrvDemo::packPosition(100 + kStepX * phase, 400 + stepY * phase));
    } else if (phase == kMoves + 1) {
        demo.onLeftButtonUp(0, OrvDemo::packPosition(100 + kStepX * kMoves, 400 + stepY * kMoves));
    }
}

// A folder of its own for the log, with the demo's data folder in it.
bool enterRunFolder(const char* dataFolder) {
    char folder[] = "/tmp/orvane-soak-XXXXXX";
    if (mkdtemp(folder) == nullptr || chdir(folder) != 0) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directory_symlink(std::filesystem::absolute(dataFolder), "data", error);
    std::printf("soak: running in %s\n", folder);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) < kSampleEvery) {
        std::fprintf(stderr, "usage: %s FRAMES DEMO_DATA_FOLDER (FRAMES >= %d)\n", argv[0],
                     kSampleEvery);
        return 2;
    }
    const int frames = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || !enterRunFolder(argv[2])) {
        std::fprintf(stderr, "soak: no X display or no run folder\n");
        return 2;
    }
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, kWidth, kHeight, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);

    OrvDemo demo;
    if (demo.init(display, window, kWidth, kHeight) != 0) {
        std::fprintf(stderr, "soak: the demo did not start: %s\n", demo.getError().c_str());
        return 2;
    }
    long glErrors = 0;
    long residentAfterFirst = 0;
    long residentLowest = 0;
    long residentHighest = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        dragNow(demo, frame);
        demo.frame(0.016f);
        for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
            if (++glErrors <= 10) {
                std::printf("soak: GL error 0x%x after frame %d\n", error, frame);
            }
        }
        if (frame % 60 == 0) {
            demo.setFps(frame % 1000);
        }
        if (frame % kSampleEvery == 0) {
            const long resident = residentBytes();
            if (frame % kReportEvery == 0) {
                std::printf(
                    "soak: frame %d: resident %ld KiB, heap in use %zu KiB, %zu tracked "
                    "blocks\n",
                    frame, resident / 1024, mallinfo2().uordblks / 1024,
                    OrvMemoryAllocator::trackedBlockCount());
            }
            residentAfterFirst = frame == kSampleEvery ? resident : residentAfterFirst;
            residentLowest = frame == kSampleEvery ? resident : std::min(residentLowest, resident);
            residentHighest = std::max(residentHighest, resident);
        }
    }
    const long residentAtEnd = residentBytes();
    OrvLog::getInstance()->setLevel(OrvLog::DETAILED_DEBUG);
    demo.shutdown();
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    const bool noLeak = logSays(kNoLeakLine);

    const long growth = residentAtEnd - residentAfterFirst;
    std::printf("soak: %d frames, %ld GL errors\n", frames, glErrors);
    std::printf(
        "soak: resident memory after %d frames %ld KiB, at the end %ld KiB (%+ld KiB), "
        "lowest %ld KiB, highest %ld KiB\n",
        kSampleEvery, residentAfterFirst / 1024, residentAtEnd / 1024, growth / 1024,
        residentLowest / 1024, residentHighest / 1024);
    std::printf("soak: leak report %s\n", noLeak ? "says no leak" : "lists leaks (see Orvane.log)");
    if (!kJudgeMemory) {
        std::printf("soak: memory growth not judged under AddressSanitizer\n");
    }
    const bool met = glErrors == 0 && noLeak && (!kJudgeMemory || growth <= kMemoryTolerance);
    std::printf("soak: %s\n", met ? "all goals met" : "GOALS MISSED");
    return met ? 0 : 1;
}
