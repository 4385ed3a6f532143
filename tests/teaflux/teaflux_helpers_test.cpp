// Window-free tests of the teaflux helpers: reading shader text, finding data
// files and the reshape rule.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "teaflux_helpers.h"

namespace fs = std::filesystem;

namespace {

// A fresh directory that the test may fill, removed again afterwards.
class TempDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "teaflux_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path writeFile(const char* name, const std::string& bytes) {
        fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
};

using ReadTextFileTest = TempDirTest;

TEST_F(ReadTextFileTest, GivesTheWholeFileTerminated) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"one_line.vert", "void main() {}"},
        // Line ends stay as they are in the file; GLSL takes a CR as white space.
        {"crlf.frag", "void main()\r\n{\r\n}\r\n"},
        {"one_byte.txt", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path path = writeFile(c.name, c.bytes);
        std::unique_ptr<char[]> text = readTextFile(path.c_str());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text.get()), c.bytes);
    }
}

TEST_F(ReadTextFileTest, GivesNullWhenThereIsNoText) {
    fs::path empty = writeFile("empty.vert", "");
    fs::path missing = dir_ / "missing.vert";
    fs::path directory = dir_ / "a_directory";
    fs::create_directory(directory);

    EXPECT_EQ(readTextFile(nullptr), nullptr);
    EXPECT_EQ(readTextFile(empty.c_str()), nullptr);
    EXPECT_EQ(readTextFile(missing.c_str()), nullptr);
    EXPECT_EQ(readTextFile(directory.c_str()), nullptr);
}

// A FIFO in place of a shader file would hold a blocking open until some
// program writes to it; the reader refuses it at once.
TEST_F(ReadTextFileTest, RefusesAFifoWithoutWaitingForAWriter) {
    fs::path fifo = dir_ / "flatten.vert";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::future<bool> refused =
        std::async(std::launch::async, [&] { return readTextFile(fifo.c_str()) == nullptr; });
    if (refused.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Becoming the writer frees the waiting open, so that the test can end.
        close(open(fifo.c_str(), O_WRONLY));
        ADD_FAILURE() << "readTextFile waited for a writer";
    }
    EXPECT_TRUE(refused.get());
}

// Changes into the temporary directory for the test and back afterwards.
class FindDataFileTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        TempDirTest::TearDown();
    }

    fs::path previous_;
};

TEST_F(FindDataFileTest, PrefersTheCurrentDirectory) {
    writeFile("flatten.vert", "void main() {}");
    EXPECT_EQ(findDataFile("flatten.vert"), "flatten.vert");
}

TEST_F(FindDataFileTest, FallsBackToTheExecutablesDirectory) {
    fs::path executable = fs::canonical("/proc/self/exe");
    EXPECT_EQ(fs::path(findDataFile("flatten.frag")), executable.parent_path() / "flatten.frag");
}

TEST(ReshapeViewTest, KeepsTheSizeAndTakesHeightZeroAsOne) {
    struct Case {
        int width;
        int height;
        ReshapeView expected;
    };
    const Case cases[] = {
        {320, 320, {320, 320, 1.0f}}, {640, 320, {640, 320, 2.0f}}, {320, 640, {320, 640, 0.5f}},
        {320, 0, {320, 1, 320.0f}},   {0, 0, {0, 1, 0.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        ReshapeView view = reshapeView(c.width, c.height);
        EXPECT_EQ(view.width, c.expected.width);
        EXPECT_EQ(view.height, c.expected.height);
        EXPECT_FLOAT_EQ(view.ratio, c.expected.ratio);
    }
}

}  // namespace
