// orvrender as a user runs it on a server: no display, a PNG out, and a
// reason on standard error with a non-zero exit code when it cannot render.
#include <png.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_test_log.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string errors;
};

// Runs orvrender with arguments after the environment settings prefix,
// DISPLAY unset, in the current folder.
ProgramRun runOrvrender(const std::string& arguments, const std::string& prefix = "") {
    const std::string command =
        "env -u DISPLAY " + prefix + " " ORVRENDER_PATH " " + arguments + " 2>&1 >/dev/null";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 256> buffer;
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        run.errors += buffer.data();
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

struct Png {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    const uint8_t* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
};

Png readPng(const std::string& path) {
    Png png;
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return png;
    }
    image.format = PNG_FORMAT_RGB;
    png.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr) != 0) {
        png.width = static_cast<int>(image.width);
        png.height = static_cast<int>(image.height);
    }
    return png;
}

int countColour(const Png& png, int r, int g, int b) {
    int count = 0;
    for (size_t i = 0; i + 2 < png.rgb.size(); i += 3) {
        count += png.rgb[i] == r && png.rgb[i + 1] == g && png.rgb[i + 2] == b ? 1 : 0;
    }
    return count;
}

// The demo scene in the PNG, top row first: the dark clear colour at the
// corners, the white grid and the lit box filling the middle.
TEST(OrvrenderTest, WritesTheDemoSceneWithoutADisplay) {
    OrvTestLog log;
    const ProgramRun run = runOrvrender("--frames 3 --size 320x240 scene.png");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    const Png png = readPng(log.dir() + "/scene.png");
    ASSERT_EQ(png.width, 320);
    ASSERT_EQ(png.height, 240);
    for (const std::array<int, 2>& corner : {std::array<int, 2>{0, 0}, {319, 0}, {0, 239}}) {
        const uint8_t* p = png.at(corner[0], corner[1]);
        EXPECT_EQ(std::vector<int>(p, p + 3), (std::vector<int>{26, 26, 26}));
    }
    EXPECT_GT(countColour(png, 255, 255, 255), 200) << "the white grid";
    // The box stands in the middle, above the grid's centre; lit, it is
    // brighter than the clear colour in every channel.
    const uint8_t* box = png.at(160, 80);
    EXPECT_GT(box[0] + box[1] + box[2], 3 * 100);
    // The frame rate is written at the top left, as in the demo's window.
    int text = 0;
    for (int y = 20; y < 45; ++y) {
        for (int x = 0; x < 60; ++x) {
            text += png.at(x, y)[0] > 128 ? 1 : 0;
        }
    }
    EXPECT_GT(text, 10);
}

TEST(OrvrenderTest, FailuresSayWhyAndExitNonZero) {
    const char kUsage[] = "usage: orvrender [--frames N] [--size WxH] out.png\n";
    const struct {
        const char* arguments;
        const char* prefix;
        int exitCode;
        const char* errors;
    } cases[] = {
        {"", "", 2, kUsage},
        {"--frames 0 x.png", "", 2, kUsage},
        {"--frames x.png", "", 2, kUsage},
        {"--size 320 x.png", "", 2, kUsage},
        {"a.png b.png", "", 2, kUsage},
        {"--size 0x0 x.png", "", 1,
         "orvrender: OrvRenderContextEGL::create(): size 0x0: an offscreen frame needs at least "
         "1x1 pixels.\n"},
        {"--size 100000x100000 x.png", "", 1,
         "orvrender: OrvRenderContextEGL::create(): size 100000x100000 is over the driver's "
         "limit of "},
        // glvnd with no vendor library is EGL without an implementation.
        {"x.png", "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json", 1,
         "orvrender: OrvRenderContextEGL::create(): no EGL implementation: the EGL library "
         "offers no platform displays (EGL_EXT_platform_base).\n"},
        {"--frames 1 --size 8x8 /nonexistent/x.png", "", 1,
         "orvrender: OrvPngCodec::write(): /nonexistent/x.png: No such file or directory.\n"},
    };
    for (const auto& c : cases) {
        OrvTestLog log;
        const ProgramRun run = runOrvrender(c.arguments, c.prefix);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(run.errors.rfind(c.errors, 0), 0u) << c.arguments << ": " << run.errors;
    }
}

}  // namespace
