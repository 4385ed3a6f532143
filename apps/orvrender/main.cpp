// orvrender: the demo's scene without a display. It starts the demo on the
// EGL render context (an offscreen frame, no X server), renders the frames
// asked for as the demo's loop does, and writes the last one as a PNG:
//
//   orvrender [--frames N] [--size WxH] out.png
//
// A run that cannot render says why on standard error, in the words of the
// engine's WARNING line, and exits with a non-zero code.
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "orv_demo.h"
#include "orv_frame_rate_counter.h"
#include "orv_png_file.h"
#include "orvane.h"
#include "orvane_opengl.h"

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

// The context's own words when it refused, else the demo's message.
std::string startFailure(const OrvDemo& demo) {
    const auto* context = static_cast<const OrvRenderContextEGL*>(demo.getRenderContext());
    if (context != nullptr && context->getFailure()[0] != '\0') {
        return std::string("OrvRenderContextEGL::create(): ") + context->getFailure();
    }
    return demo.getError();
}

// The finished frame as RGB rows, bottom row first.
std::vector<uint8_t> readFrame(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(3) * width * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

int render(const Options& options) {
    OrvDemo demo;
    demo.setRenderContextKind(OrvMain::KIND_EGL);
    if (demo.init(nullptr, 0, options.width, options.height) != 0) {
        // The context is gone once the engine stops, so its words are taken
        // first.
        const std::string failure = startFailure(demo);
        demo.shutdown();
        std::fprintf(stderr, "orvrender: %s\n", failure.c_str());
        return EXIT_FAILURE;
    }
    OrvFrameRateCounter counter;
    counter.start(demo.elapsedMilliseconds(0));
    for (int frame = 0; frame < options.frames; ++frame) {
        counter.idleFrame(demo.elapsedMilliseconds(0), &demo);
    }
    const std::vector<uint8_t> rgb = readFrame(options.width, options.height);
    demo.shutdown();
    const std::string failure = orvWritePng(options.output, options.width, options.height, rgb);
    if (!failure.empty()) {
        std::fprintf(stderr, "orvrender: cannot write %s: %s\n", options.output.c_str(),
                     failure.c_str());
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
    return render(options);
}
