// Pictures in and out of the render layer: every accepted PNG and JPEG kind
// arrives as the same RGBA, from a file and from memory; every bad input
// gives one WARNING line naming the file and the cause, an empty picture and
// no leaked block; a picture written as PNG reads back unchanged.
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_test_images.h"
#include "orv_test_log.h"
#include "orvane.h"

namespace {

using Status = OrvImageDecodeStatus;

const uint8_t kRed[4] = {255, 0, 0, 255};
const uint8_t kBlue[4] = {0, 0, 255, 128};

std::vector<std::string> warnings(const OrvTestLog& log) {
    std::vector<std::string> found;
    const std::string tag = "[WARNING]#";
    std::ifstream in(log.path());
    std::string line;
    while (std::getline(in, line)) {
        if (line.find(tag) != std::string::npos) {
            found.push_back(OrvTestLog::messageOf(line));
        }
    }
    return found;
}

OrvBytes pixelsOf(const OrvImage& image) {
    return OrvBytes(image.pixels, image.pixels + image.byteCount());
}

// Each accepted kind of 2 x 1 picture: a dark and a light pixel, the light
// one half transparent where the kind has alpha.
struct GoodCase {
    const char* name;
    int colorType;
    OrvBytes samples;
    OrvBytes rgba;
};

const GoodCase kGoodCases[] = {
    {"grey", PNG_COLOR_TYPE_GRAY, {10, 200}, {10, 10, 10, 255, 200, 200, 200, 255}},
    {"grey_alpha",
     PNG_COLOR_TYPE_GRAY_ALPHA,
     {10, 255, 200, 128},
     {10, 10, 10, 255, 200, 200, 200, 128}},
    {"rgb", PNG_COLOR_TYPE_RGB, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 255, 4, 5, 6, 255}},
    {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}},
};

TEST(OrvImageLoader, EveryAcceptedPngKindArrivesAsRgbaFromFileAndMemory) {
    OrvTestLog log(OrvLog::DEBUG);
    for (const GoodCase& c : kGoodCases) {
        const OrvBytes png = orvEncodePng(2, 1, c.colorType, 8, c.samples);
        const std::string path = log.dir() + "/" + c.name + ".png";
        ASSERT_TRUE(orvWriteFile(path, png));
        OrvImage fromFile = {};
        OrvImage fromMemory = {};
        EXPECT_EQ(OrvImageLoader::loadFile(path.c_str(), &fromFile), Status::RESULT_OK) << c.name;
        EXPECT_EQ(OrvImageLoader::loadMemory(png.data(), png.size(), c.name, &fromMemory),
                  Status::RESULT_OK)
            << c.name;
        EXPECT_EQ(fromFile.width, 2);
        EXPECT_EQ(fromFile.height, 1);
        EXPECT_EQ(pixelsOf(fromFile), c.rgba) << c.name;
        EXPECT_EQ(pixelsOf(fromMemory), c.rgba) << c.name;
        fromFile.release();
        fromMemory.release();
    }
    EXPECT_TRUE(warnings(log).empty());
}

// JPEG is lossy: flat colours come back within a few steps.
TEST(OrvImageLoader, GreyAndColourJpegsArriveAsOpaqueRgba) {
    OrvTestLog log;
    const struct {
        int components;
        OrvBytes pixel;
        OrvBytes rgba;
    } cases[] = {{1, {90}, {90, 90, 90, 255}}, {3, {200, 40, 60}, {200, 40, 60, 255}}};
    for (const auto& c : cases) {
        OrvBytes samples;
        for (int i = 0; i < 16 * 16; ++i) {
            samples.insert(samples.end(), c.pixel.begin(), c.pixel.end());
        }
        const OrvBytes jpeg = orvEncodeJpeg(16, 16, c.components, samples);
        OrvImage image = {};
        ASSERT_EQ(OrvImageLoader::loadMemory(jpeg.data(), jpeg.size(), "flat.jpg", &image),
                  Status::RESULT_OK);
        ASSERT_EQ(image.width, 16);
        for (int channel = 0; channel < 4; ++channel) {
            EXPECT_NEAR(image.at(7, 9)[channel], c.rgba[channel], 3) << c.components;
        }
        image.release();
    }
    EXPECT_TRUE(warnings(log).empty());
}

TEST(OrvImageLoader, PictureWrittenAsPngReadsBackUnchanged) {
    OrvTestLog log;
    OrvImage image = {};
    ASSERT_TRUE(image.allocate(24, 10));
    const OrvBytes checker = orvCheckerPixels(24, 10, 4, kRed, kBlue);
    std::copy(checker.begin(), checker.end(), image.pixels);
    const std::string path = log.dir() + "/written.png";
    ASSERT_EQ(OrvPngCodec::write(path.c_str(), &image), 0);
    OrvImage back = {};
    ASSERT_EQ(OrvImageLoader::loadFile(path.c_str(), &back), Status::RESULT_OK);
    EXPECT_EQ(pixelsOf(back), checker);
    image.release();
    back.release();
}

TEST(OrvImageLoader, WritingIntoAMissingFolderIsOneWarning) {
    OrvTestLog log;
    OrvImage image = {};
    ASSERT_TRUE(image.allocate(2, 2));
    EXPECT_EQ(OrvPngCodec::write("no/such/folder/x.png", &image), -1);
    EXPECT_EQ(warnings(log), std::vector<std::string>{
                                 "OrvPngCodec::write(): no/such/folder/x.png: No such file or "
                                 "directory."});
    image.release();
}

// The bad inputs: what the file holds (or a special path), the result and
// the cause the WARNING line gives.
struct BadCase {
    const char* file;
    std::function<OrvBytes()> bytes;
    int result;
    const char* cause;
};

OrvBytes smallPng() {
    return orvEncodePngRgba(8, 8, orvCheckerPixels(8, 8, 2, kRed, kBlue));
}

OrvBytes smallJpeg() {
    return orvEncodeJpeg(16, 16, 3, OrvBytes(16 * 16 * 3, 120));
}

OrvBytes firstBytes(const OrvBytes& bytes, size_t count) {
    return OrvBytes(bytes.begin(), bytes.begin() + count);
}

const std::vector<BadCase>& badCases() {
    static const std::vector<BadCase> cases = {
        {"missing.png", nullptr, Status::RESULT_CANNOT_OPEN,
         "cannot open the file (No such file or directory)"},
        {"folder.png", nullptr, Status::RESULT_CANNOT_READ,
         "cannot read the file (Is a directory)"},
        {"empty.png", [] { return OrvBytes(); }, Status::RESULT_NOT_AN_IMAGE,
         "not a PNG or JPEG image"},
        {"text.png", [] { return OrvBytes{'h', 'e', 'l', 'l', 'o', '\n'}; },
         Status::RESULT_NOT_AN_IMAGE, "not a PNG or JPEG image"},
        {"truncated.png", [] { return firstBytes(smallPng(), smallPng().size() / 2); },
         Status::RESULT_TRUNCATED, "truncated PNG data"},
        {"signature_only.png", [] { return firstBytes(smallPng(), 8); }, Status::RESULT_TRUNCATED,
         "truncated PNG data"},
        {"truncated.jpg", [] { return firstBytes(smallJpeg(), smallJpeg().size() / 2); },
         Status::RESULT_TRUNCATED, "truncated JPEG data"},
        {"deep.png", [] { return orvEncodePng(2, 2, PNG_COLOR_TYPE_RGB, 16, OrvBytes(24, 7)); },
         Status::RESULT_UNSUPPORTED, "unsupported PNG format: 16 bits per channel"},
        {"palette.png",
         [] {
             return orvEncodePng(2, 2, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 1, 0});
         },
         Status::RESULT_UNSUPPORTED, "unsupported PNG format: palette colours"},
        {"cmyk.jpg", [] { return orvEncodeJpeg(8, 8, 4, OrvBytes(8 * 8 * 4, 60)); },
         Status::RESULT_UNSUPPORTED, "unsupported JPEG format: 4 colour components of space 4"},
        {"huge.png", [] { return orvWithPngSize(smallPng(), 100000, 100000); },
         Status::RESULT_BAD_SIZE, "size 100000 x 100000 is outside 1 to 16384 pixels a side"},
        {"zero.png", [] { return orvWithPngSize(smallPng(), 0, 0); }, Status::RESULT_BAD_SIZE,
         "size 0 x 0 is outside 1 to 16384 pixels a side"},
        {"huge.jpg", [] { return orvWithJpegSize(smallJpeg(), 60000, 60000); },
         Status::RESULT_BAD_SIZE, "size 60000 x 60000 is outside 1 to 16384 pixels a side"},
        {"zero.jpg", [] { return orvWithJpegSize(smallJpeg(), 0, 0); }, Status::RESULT_BAD_SIZE,
         "size 0 x 0 is outside 1 to 16384 pixels a side"},
        {"bad_crc.png",
         [] {
             OrvBytes png = smallPng();
             png[29] ^= 0xff;
             return png;
         },
         Status::RESULT_CORRUPT, "corrupt PNG data (IHDR: CRC error)"},
    };
    return cases;
}

TEST(OrvImageLoaderBadInput, EachGivesOneWarningNamingTheFileAndTheCause) {
    for (const BadCase& c : badCases()) {
        OrvTestLog log;
        const std::string path = log.dir() + "/" + c.file;
        if (c.bytes) {
            ASSERT_TRUE(orvWriteFile(path, c.bytes()));
        } else if (std::string(c.file) == "folder.png") {
            std::filesystem::create_directory(path);
        }
        const size_t blocks = OrvMemoryAllocator::trackedBlockCount();
        OrvImage image = {};
        EXPECT_EQ(OrvImageLoader::loadFile(path.c_str(), &image), c.result) << c.file;
        EXPECT_TRUE(image.isEmpty()) << c.file;
        image.release();
        EXPECT_EQ(image.width, 0) << c.file;
        EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocks) << c.file;
        EXPECT_EQ(warnings(log), std::vector<std::string>{"OrvImageLoader::load(): " + path + ": " +
                                                          c.cause + "."})
            << c.file;
    }
}

// A decode that cannot have the memory its picture needs, here because the
// budget is set below it, is refused before anything is decoded.
TEST(OrvImageLoaderBadInput, DecodeOutOfMemoryIsOneWarning) {
    OrvTestLog log;
    const size_t limit = OrvImageLoader::memoryLimit();
    OrvImageLoader::setMemoryLimit(100);
    const OrvBytes png = smallPng();
    const OrvBytes jpeg = smallJpeg();
    OrvImage image = {};
    EXPECT_EQ(OrvImageLoader::loadMemory(png.data(), png.size(), "big.png", &image),
              Status::RESULT_OUT_OF_MEMORY);
    EXPECT_EQ(OrvImageLoader::loadMemory(jpeg.data(), jpeg.size(), "big.jpg", &image),
              Status::RESULT_OUT_OF_MEMORY);
    OrvImageLoader::setMemoryLimit(limit);
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(warnings(log),
              (std::vector<std::string>{
                  "OrvImageLoader::load(): big.png: out of memory for 8 x 8 pixels.",
                  "OrvImageLoader::load(): big.jpg: out of memory for 16 x 16 pixels."}));
}

TEST(OrvImageLoaderBadInput, NullDataIsNotAnImage) {
    OrvTestLog log;
    OrvImage image = {};
    EXPECT_EQ(OrvImageLoader::loadMemory(nullptr, 100, "nothing", &image),
              Status::RESULT_NOT_AN_IMAGE);
    EXPECT_EQ(warnings(log), std::vector<std::string>{
                                 "OrvImageLoader::load(): nothing: not a PNG or JPEG image."});
}

}  // namespace
