// orvrender: the demo's scene without a display. It starts the demo on the
// EGL render context (an offscreen frame, no X server), renders the frames
// asked for as the demo's loop does, and writes the last one as a PNG:
//
//   orvrender [--frames N] [--size WxH] out.png
//
// A run that cannot render or write says why on standard error, in the words
// of the engine's first WARNING line, and exits with a non-zero code.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orv_demo.h"
#include "orv_frame_rate_counter.h"
#include "orvane.h"

namespace {

constexpr int kExitUsage = 2;
const char kUsage[] = "usage: orvrender [--frames N] [--size WxH] out.png\n";

struct Options {
    int frames = 60;
    int width = 1024;
    int height = 768;
    std::string output;
};

// Every argument understood, or false.
bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        char end = 0;
        if (std::strcmp(argv[i], "--frames") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%d%c", &options->frames, &end) != 1 ||
                options->frames < 1) {
                return false;
            }
        } else if (std::strcmp(argv[i], "--size") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d%c", &options->width, &options->height, &end) != 2) {
                return false;
            }
        } else if (argv[i][0] != '-' && options->output.empty()) {
            options->output = argv[i];
        } else {
            return false;
        }
    }
    return !options->output.empty();
}

// The first WARNING line the engine writes while orvrender runs: the words
// it tells the user when it cannot go on.
void keepFirstWarning(int level, const char* text, void* user) {
    auto* warning = static_cast<std::string*>(user);
    if (level == OrvLog::WARNING && warning->empty()) {
        *warning = text;
    }
}

// The finished frame into the PNG, while the engine still runs: the picture
// is a tracked block.
int writeFrame(const std::string& path) {
    OrvImage image = {};
    int result = OrvRenderer::getInstance()->readBackBuffer(&image);
    if (result == 0) {
        result = OrvPngCodec::write(path.c_str(), &image);
    }
    image.release();
    return result;
}

int render(const Options& options, const std::string& warning) {
    OrvDemo demo;
    demo.setRenderContextKind(OrvMain::KIND_EGL);
    if (demo.init(nullptr, 0, options.width, options.height) != 0) {
        demo.shutdown();
        std::fprintf(stderr, "orvrender: %s\n",
                     warning.empty() ? demo.getError().c_str() : warning.c_str());
        return EXIT_FAILURE;
    }
    OrvFrameRateCounter counter;
    counter.start(demo.elapsedMilliseconds(0));
    for (int frame = 0; frame < options.frames; ++frame) {
        counter.idleFrame(demo.elapsedMilliseconds(0), &demo);
    }
    const int written = writeFrame(options.output);
    demo.shutdown();
    if (written != 0) {
        std::fprintf(stderr, "orvrender: %s\n", warning.c_str());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::string warning;
    OrvLog* log = OrvLog::getInstance();
    log->setListener(keepFirstWarning, &warning);
    log->setOutputs(OrvLog::OUTPUT_FILE | OrvLog::OUTPUT_LISTENER | OrvLog::OUTPUT_FORMATTED);
    const int result = render(options, warning);
    log->setListener(nullptr, nullptr);
    return result;
}
